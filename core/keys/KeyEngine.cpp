#include "core/keys/KeyEngine.h"

#include <cmath>

#include "core/keys/KeyNames.h"
#include "core/utils/Trace.h"
#include "vcl/ScopeGuards.h"

namespace {

bool held(const std::string& modifiers, std::size_t position) {
  return position <= modifiers.size() && modifiers[position - 1] == '1';
}

bool isLockKey(std::uint8_t vk) { return vk == 20 || vk == 144 || vk == 145; }

bool sameKey(const TKeyEvent& a, const TKeyEvent& b) {
  return a.Vk == b.Vk && a.Code2 == b.Code2 && a.Msg == b.Msg && a.Modifiers == b.Modifiers &&
         a.PluginKeyName == b.PluginKeyName;
}

}  // namespace

TKeyEngine::TKeyEngine(TKeyEngineWorld world)
    : world_(std::move(world)),
      dispatcher_(world_.Executors, world_.Language, world_.Displays, world_.Options,
                  [this] { return isfullscreen(); }, world_.RecordTextToUi) {}

std::int32_t TKeyEngine::KeyCallback(std::int32_t vk, std::int32_t code2, std::int32_t extra, std::int32_t msg,
                                     std::string_view pluginKeyName) {
  const TKeyEngineOptions options = world_.Options.Options();
  // Off while a full-screen program is in front: not looked up, not counted.
  if (options.optexceptonfullscreen && isfullscreen()) return KeyPassed;

  TKeyEvent event;
  event.Vk = static_cast<std::uint8_t>(vk);
  event.Code2 = static_cast<std::uint8_t>(code2);
  event.Extra = static_cast<std::uint8_t>(extra);
  event.Msg = msg;
  event.Modifiers = modifierStateStr_;
  event.PluginKeyName = std::string(pluginKeyName);
  const bool alreadyPassed = (extra & KeyAlreadyPassed) != 0;
  const std::size_t queuedBefore = pending_.size();
  std::int32_t result = KeyPassed;

  if (captureMode_) {
    captureMode_ = false;
    capturedKeyEvent_ = event;
    result = KeyTaken;
    post([this, event] { world_.Capture.setk(event); });
    // Fewer keys to ask about now: the hook learns it after the key, never before.
    post([this] { publishKeysToAsk(); });
  } else {
    currentKeyEvent_ = event;
    GetExeWnd();
    TLookupResult lookup;
    if (!foregroundIgnored_) {
      const TKeyTable* perProgram = activePerProgramProfile_.empty() ? nullptr : &perProgramTable_;
      lookup = getact(perProgram, globalTable_, event,
                      {options.optlrmodif, options.optmultiact, options.optmb});
    }
    if (lookup.Found && !alreadyPassed) {
      result = KeyTaken;
      onMatch(event, lookup);
    } else if (lookup.Found && world_.RepeatTimer.Running() && sameKey(event, repeatEvent_)) {
      // The held key's own repeat that got through while the main thread was busy:
      // still the same hold.
      ticksSinceEvent_ = 0;
    } else {
      // Any other key event ends a repeat, a late key-up above all, even when it
      // passed already.
      onNoMatch(event);
    }

    if ((options.osdshowlocks || options.trayshowlocks) && isLockKey(event.Vk) && msg == KeyMsgUp)
      post([this, vk = event.Vk, options] { lockKeyNotice(vk, options); });
    if (keyTestActive_) post([this, event] { addKeyTestRow(event); });
    if (event.Vk == 27 && event.Modifiers == NoModifiers) post([this] { escDuties(); });
  }

  if (msg == KeyMsgUp || msg == KeyMsgSysUp) post([this] { count(); });
  // The hook's third value may equal the message; such an event counts once more.
  if (msg == extra) post([this] { count(); });

  if (pending_.size() != queuedBefore && wakeUp_) wakeUp_();
  return result;
}

void TKeyEngine::onMatch(const TKeyEvent& event, const TLookupResult& lookup) {
  const bool repeating = world_.RepeatTimer.Running();
  if (repeating && sameKey(event, repeatEvent_)) {
    // The keyboard's (or the plug-in's) own repeat of the held key: taken, while
    // the timer keeps the rate the user set.
    ticksSinceEvent_ = 0;
    return;
  }
  if (repeating) world_.RepeatTimer.Stop();
  repeatPending_ = false;
  ++repeatNumber_;
  if (onKeyTaken_) onKeyTaken_(event, lookup.Matches);
  if (!lookup.Matches.empty()) {
    currentAction_ = lookup.Matches.back();
    repeatRate_ = currentAction_.RepeatRate;
    repeatPending_ = repeatRate_ != 0;
  }
  // A chord taken without a binding runs nothing, not the previous binding again.
  for (const TKeyRecord& match : lookup.Matches) post([this, match] { dispatcher_.act(match); });
  if (repeatPending_) {
    repeatEvent_ = event;
    ticksSinceEvent_ = 0;
    repeatIntervalMs_ = static_cast<unsigned>(std::lround(1000.0 / repeatRate_));
    world_.RepeatTimer.Start(repeatIntervalMs_);
  }
}

void TKeyEngine::onNoMatch(const TKeyEvent& event) {
  if (world_.RepeatTimer.Running()) world_.RepeatTimer.Stop();
  repeatPending_ = false;
  ++repeatNumber_;
  // Win+L and Ctrl+Alt+Del take the keyboard away before the modifiers' key-ups arrive.
  const bool winHeld = held(modifierStateStr_, 3) || held(modifierStateStr_, 6);
  const bool ctrlOrAltHeld = held(modifierStateStr_, 2) || held(modifierStateStr_, 7) ||
                             held(modifierStateStr_, 4) || held(modifierStateStr_, 5);
  if ((event.Vk == 76 && winHeld) || (event.Vk == 46 && ctrlOrAltHeld)) ResetModifierState();
}

void TKeyEngine::ModifierCallback(std::int32_t code) {
  const std::int32_t position = code / 10;
  const std::int32_t state = code % 10;
  if (code < 0 || position < 1 || position > 8 || state > 1) return;
  modifierStateStr_.resize(8, '0');
  modifierStateStr_[static_cast<std::size_t>(position - 1)] = state == 1 ? '1' : '0';
}

void TKeyEngine::post(std::function<void()> work) { pending_.push_back(std::move(work)); }

void TKeyEngine::RunPending() {
  if (running_) return;
  running_ = true;
  const TOnExit ran([this] { running_ = false; });
  while (!pending_.empty()) {
    std::function<void()> work = std::move(pending_.front());
    pending_.pop_front();
    // A failing display or dialog loses its own step only, never the keys after it.
    try {
      work();
    } catch (...) {
      TraceCurrentException(L"a step of the key road failed");
    }
  }
  // Bindings or options the settings pages changed meanwhile may change the keys to
  // ask about: a cheap check of the live tables after every run of the queue.
  publishKeysToAsk();
}

void TKeyEngine::RepeatTimerTimer() {
  if (!repeatPending_) {
    world_.RepeatTimer.Stop();
    return;
  }
  // A plug-in button has no key-up: its repeat ends when its own repeats stop coming.
  ++ticksSinceEvent_;
  if (!repeatEvent_.PluginKeyName.empty() && ticksSinceEvent_ * repeatIntervalMs_ > PluginRepeatGapMs) {
    StopRepeat();
    return;
  }
  // A run still queued when the key comes up (an action held the main thread) is
  // dropped then: nothing repeats after the release.
  post([this, action = currentAction_, number = repeatNumber_] {
    if (repeatPending_ && number == repeatNumber_) dispatcher_.act(action);
  });
  RunPending();
}

void TKeyEngine::StopRepeat() {
  if (world_.RepeatTimer.Running()) world_.RepeatTimer.Stop();
  repeatPending_ = false;
  ++repeatNumber_;
}

void TKeyEngine::SetCaptureMode(bool on) {
  captureMode_ = on;
  publishKeysToAsk();
}

TKeysToAsk TKeyEngine::KeysToAsk() {
  // The capture dialog takes whatever key comes next.
  if (captureMode_) return TKeysToAsk::Everything();
  TKeysToAsk keys;
  keys.AddBindings(globalTable_);
  keys.AddBindings(perProgramTable_);
  if (!profileKeys_) {
    profileKeys_ = TKeysToAsk{};
    world_.Profiles.AddProgramProfileKeys(*profileKeys_);
  }
  keys.Downs |= profileKeys_->Downs;
  keys.Ups |= profileKeys_->Ups;
  // The clipboard chords of optmb are taken without a binding. Everything else the
  // engine does with a key (counting, notices, the key test, the Esc duties) runs
  // after the answer and needs no wait.
  if (world_.Options.Options().optmb)
    for (std::uint8_t digit = '0'; digit <= '9'; ++digit) keys.AddKey(digit);
  return keys;
}

void TKeyEngine::SetKeysToAskSink(std::function<void(const TKeysToAsk&)> sink) {
  keysToAskSink_ = std::move(sink);
  publishedKeys_.reset();
  publishKeysToAsk();
}

void TKeyEngine::BindingsChanged() {
  profileKeys_.reset();
  publishKeysToAsk();
}

void TKeyEngine::publishKeysToAsk() {
  if (!keysToAskSink_) return;
  TKeysToAsk keys = KeysToAsk();
  if (publishedKeys_ && *publishedKeys_ == keys) return;
  publishedKeys_ = keys;
  keysToAskSink_(keys);
}

void TKeyEngine::lockKeyNotice(std::uint8_t vk, const TKeyEngineOptions& options) {
  static constexpr struct {
    std::uint8_t vk;
    const wchar_t* on;
    const wchar_t* off;
    const char* indicatorOn;
    const char* indicatorOff;
  } notices[] = {{20, L"CAPS LOCK ON", L"CAPS LOCK OFF", "C1", "C0"},
                 {144, L"NUM LOCK ON", L"NUM LOCK OFF", "N1", "N0"},
                 {145, L"SCROLL LOCK ON", L"SCROLL LOCK OFF", "S1", "S0"}};
  for (const auto& n : notices) {
    if (n.vk != vk) continue;
    const bool on = world_.LockKeys.IsToggled(vk);
    const std::string indicator = on ? n.indicatorOn : n.indicatorOff;
    if (options.osdshowlocks && options.locksAsPopup) {
      world_.Displays.ShowPopup(L"", L"", L"", on ? n.on : n.off, 0, 0, 0);
      if (options.trayshowlocks) world_.Displays.IndicateInTrayIcon(indicator, 4000);
    } else {
      world_.Displays.IndicateInTrayIcon(indicator, 4000);
    }
  }
}

void TKeyEngine::addKeyTestRow(const TKeyEvent& event) {
  static constexpr struct {
    std::size_t position;
    const wchar_t* word;
  } words[] = {{1, L"LShift "}, {2, L"LCtrl "}, {3, L"LWin "}, {4, L"LAlt "},
               {8, L"RShift "}, {7, L"RCtrl "}, {6, L"RWin "}, {5, L"RAlt "}};
  std::wstring modifiers;
  for (const auto& w : words)
    if (held(event.Modifiers, w.position)) modifiers += w.word;
  std::vector<std::wstring> columns = {std::to_wstring(event.Vk), std::to_wstring(event.Code2),
                                       keyname(event.Vk, event.Code2, NoModifiers, false), modifiers};
  if (!event.PluginKeyName.empty()) columns.push_back(world_.RecordTextToUi(event.PluginKeyName));
  if (world_.KeyTest.RowCount() > 14) world_.KeyTest.DeleteFirstRow();
  world_.KeyTest.AddRow(columns);
}

void TKeyEngine::escDuties() {
  if (world_.Capture.Showing()) world_.Capture.EscPress();
  if (world_.Esc.UpdateWindowInFront()) world_.Esc.CloseUpdateWindow();
  if (world_.Esc.CountdownLastMinute()) world_.Esc.StopOffTimer();
}

void TKeyEngine::count() {
  world_.Counter.WMCount();
  dispatcher_.KeyUpCounted();
}

std::wstring TKeyEngine::FlatSpeedButton6Click(const std::wstring& caption) {
  const std::wstring activate = world_.Language.GetLngString("Str.ActivateTest", L"");
  if (caption == activate) {
    keyTestActive_ = true;
    while (world_.KeyTest.RowCount() > 0) world_.KeyTest.DeleteFirstRow();
    return world_.Language.GetLngString("Str.CancelTest", L"");
  }
  keyTestActive_ = false;
  return activate;
}

void TKeyEngine::GetExeWnd() {
  const std::uintptr_t window = world_.Foreground.Window();
  if (window == lastForegroundWindow_) return;
  foregroundExe_ = world_.Foreground.ExePath(window);
  lastForegroundWindow_ = window;
  foregroundIgnored_ = world_.Profiles.IsIgnoredProgram(foregroundExe_);
  const std::string profile = world_.Profiles.ProfileForProgram(foregroundExe_);
  if (profile.empty()) {
    activePerProgramProfile_.clear();  // the table keeps its bindings but is not searched
    return;
  }
  if (profile == activePerProgramProfile_) return;
  perProgramTable_.Clear();
  if (!world_.Profiles.LoadPerProgramProfile(profile, perProgramTable_)) {
    // Told from the main loop once the key has its answer, never inside the callback.
    perProgramTable_.Clear();
    post([this, profile] { world_.Profiles.ReportUnreadableProfile(profile); });
  }
  activePerProgramProfile_ = profile;
}

bool TKeyEngine::isfullscreen() {
  const TKeyEngineOptions options = world_.Options.Options();
  if (!options.osdshfs && !options.optexceptonfullscreen) return false;
  return world_.Foreground.CoversScreenExactly();
}

bool TKeyEngine::isgamemode() { return world_.Foreground.CoversScreenAtLeast(); }

std::string TKeyEngine::GetCSNstate() {
  std::string state;
  for (std::uint8_t vk : {std::uint8_t{20}, std::uint8_t{145}, std::uint8_t{144}})
    state += world_.LockKeys.IsToggled(vk) ? '1' : '0';
  return state;
}
