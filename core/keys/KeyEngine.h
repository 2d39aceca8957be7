// The key road: the hook's callbacks decide at once whether a key is taken, and
// everything the key sets off (its actions, notices, the key-press count with its
// settings save) runs right after, in order, from the main window's message queue.
// A slow action can therefore never hold up the hook, and a message loop inside an
// action cannot re-enter one that is still running.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/ActionDispatch.h"
#include "core/keys/KeyEngineWorld.h"
#include "core/keys/KeyLookup.h"
#include "core/keys/KeyRecord.h"
#include "core/keys/KeysToAsk.h"

// Answers to the hook library.
inline constexpr std::int32_t KeyTaken = 10;
inline constexpr std::int32_t KeyPassed = 0;
// In the third value of a key the hook library reports after it passed (see
// tenvora/Tenvora.h): the answer no longer matters, so no action runs for it.
inline constexpr std::int32_t KeyAlreadyPassed = 0x1000;

// A repeating plug-in button counts as released when none of its repeats came for this long.
inline constexpr unsigned PluginRepeatGapMs = 300;

struct TKeyEngineWorld {
  IEngineOptions& Options;
  IForeground& Foreground;
  IProgramProfiles& Profiles;
  IRepeatTimer& RepeatTimer;
  ILockKeys& LockKeys;
  ILanguage& Language;
  INoticeDisplays& Displays;
  ICaptureDialog& Capture;
  IKeyTestList& KeyTest;
  IEscTargets& Esc;
  IKeyCounter& Counter;
  TActionExecutors& Executors;
  TRecordTextToUi RecordTextToUi;
};

class TKeyEngine {
 public:
  explicit TKeyEngine(TKeyEngineWorld world);
  TKeyEngine(const TKeyEngine&) = delete;
  TKeyEngine& operator=(const TKeyEngine&) = delete;

  // A key event of the hook library, or a plug-in button (1, 1, 0, 0, its name).
  // Returns KeyTaken or KeyPassed; never runs an action itself, and never reads a
  // file or opens a window. A key marked KeyAlreadyPassed is counted, listed and
  // noticed like any other and ends a repeat, but runs nothing.
  std::int32_t KeyCallback(std::int32_t vk, std::int32_t code2, std::int32_t extra, std::int32_t msg,
                           std::string_view pluginKeyName = {});
  // n*10 + 1 when modifier n (1..8) went down, n*10 when it went up.
  void ModifierCallback(std::int32_t code);

  // Called whenever work was queued; the Windows glue posts a message that ends in
  // RunPending. Without one, the owner drains the queue itself.
  void SetWakeUp(std::function<void()> wakeUp) { wakeUp_ = std::move(wakeUp); }
  // Runs the queued work in order; a call from inside running work returns at once
  // (the outer run goes on with the rest).
  void RunPending();
  bool HasPending() const { return !pending_.empty(); }

  // OnTimer of the repeat timer. A binding with a repeat rate runs at its key-down
  // and then on every tick while the key is held; the keyboard's own repeats of that
  // key are taken without running, and any other key event ends the repeat.
  void RepeatTimerTimer();
  // Stops auto-repeat (session lock: the key-up will never come).
  void StopRepeat();

  // The key capture dialog takes the next event while this is set.
  void SetCaptureMode(bool on);
  bool CaptureMode() const { return captureMode_; }
  const TKeyEvent& CapturedKeyEvent() const { return capturedKeyEvent_; }

  // The key test list of the settings page. Returns the switch button's new caption.
  std::wstring FlatSpeedButton6Click(const std::wstring& caption);
  bool KeyTestActive() const { return keyTestActive_; }

  // The live modifier state; some actions reset it to "00000000".
  const std::string& ModifierStateStr() const { return modifierStateStr_; }
  void ResetModifierState() { modifierStateStr_ = NoModifiers; }

  TKeyTable& GlobalTable() { return globalTable_; }
  TKeyTable& PerProgramTable() { return perProgramTable_; }
  const std::string& ActivePerProgramProfile() const { return activePerProgramProfile_; }
  const std::string& ForegroundExe() const { return foregroundExe_; }
  bool ForegroundIgnored() const { return foregroundIgnored_; }
  // The ignored-programs list became empty.
  void ClearForegroundIgnored() { foregroundIgnored_ = false; }
  // Profiles or ignored programs changed: look at the foreground program again.
  void ForgetForeground() { lastForegroundWindow_ = 0; }

  const TKeyEvent& CurrentKeyEvent() const { return currentKeyEvent_; }
  const TKeyRecord& CurrentAction() const { return currentAction_; }
  bool RepeatPending() const { return repeatPending_; }

  // Refreshes the foreground tracking and the per-program profile.
  void GetExeWnd();
  bool isfullscreen();
  bool isgamemode();
  // Caps, Scroll and Num Lock as three '0'/'1' characters.
  std::string GetCSNstate();

  TActionDispatcher& Dispatcher() { return dispatcher_; }

  // The keys the program may take right now (see KeysToAsk.h).
  TKeysToAsk KeysToAsk();
  // Whoever tells the hook library; called at once and whenever the set changes.
  void SetKeysToAskSink(std::function<void(const TKeysToAsk&)> sink);
  // Bindings or profiles changed: the keys to ask about are worked out again. (The
  // live tables are looked at after every run of the queue too; the per-program
  // profiles only here.)
  void BindingsChanged();

  // Called when a key is taken for bindings, before any of their actions runs
  // (the main window notes a bound Sleep key there).
  void SetOnKeyTaken(std::function<void(const TKeyEvent&, const std::vector<TKeyRecord>&)> onTaken) {
    onKeyTaken_ = std::move(onTaken);
  }

 private:
  void onMatch(const TKeyEvent& event, const TLookupResult& lookup);
  void onNoMatch(const TKeyEvent& event);
  void post(std::function<void()> work);
  void lockKeyNotice(std::uint8_t vk, const TKeyEngineOptions& options);
  void addKeyTestRow(const TKeyEvent& event);
  void escDuties();
  void count();
  void publishKeysToAsk();

  TKeyEngineWorld world_;
  TActionDispatcher dispatcher_;
  std::function<void()> wakeUp_;
  std::deque<std::function<void()>> pending_;
  bool running_ = false;

  std::string modifierStateStr_{NoModifiers};
  TKeyEvent currentKeyEvent_;
  TKeyEvent capturedKeyEvent_;
  bool captureMode_ = false;
  TKeyRecord currentAction_;
  bool repeatPending_ = false;
  std::uint8_t repeatRate_ = 0;
  TKeyEvent repeatEvent_;  // the key-down that started the repeat
  unsigned repeatIntervalMs_ = 0;
  unsigned ticksSinceEvent_ = 0;
  bool keyTestActive_ = false;
  // Repeat runs queued before the repeat ended do not run: each repeat has its number.
  std::uint64_t repeatNumber_ = 0;
  std::function<void(const TKeysToAsk&)> keysToAskSink_;
  std::optional<TKeysToAsk> publishedKeys_;
  std::optional<TKeysToAsk> profileKeys_;  // of every per-program profile, until they change
  std::function<void(const TKeyEvent&, const std::vector<TKeyRecord>&)> onKeyTaken_;

  TKeyTable globalTable_;
  TKeyTable perProgramTable_;
  std::uintptr_t lastForegroundWindow_ = 0;
  std::string foregroundExe_;
  bool foregroundIgnored_ = false;
  std::string activePerProgramProfile_;
};
