#include "services/MacroRecorder.h"

#include "services/MacroJournal.h"
#include "vcl/Clock.h"
#include "vcl/Dialogs.h"
#include "vcl/StringList.h"
#include "vcl/SysUtils.h"
#include "vcl/WindowHost.h"

#include <optional>

namespace {
// Posted to the recorder's window when Ctrl+Break ends a recording: the file is
// written after the hook has returned, not while the system waits for it.
constexpr UINT WM_MACRO_STOP = WM_USER + 1;

// Positions relative to the foreground window (the one the user works in), which
// the hook knows; the program's own active window would be ours.
void ScreenToForeground(std::int32_t& x, std::int32_t& y) {
  POINT p{x, y};
  if (HWND w = GetForegroundWindow()) ScreenToClient(w, &p);
  x = p.x, y = p.y;
}
void ForegroundToScreen(std::int32_t& x, std::int32_t& y) {
  POINT p{x, y};
  if (HWND w = GetForegroundWindow()) ClientToScreen(w, &p);
  x = p.x, y = p.y;
}

TMacroEvent FromRecord(const EVENTMSG& m) {
  return {m.message, m.paramL, m.paramH, m.time, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(m.hwnd))};
}
}  // namespace

// The one session of the process.
struct TMacroRecorder::TSession {
  TMacroRecorder* Recorder = nullptr;
  HHOOK Hook = nullptr;
  std::optional<TJournalRecording> Recording;
  std::optional<TJournalPlayback> Playback;

  static TSession& Get() {
    static TSession session;
    return session;
  }
  bool Busy() const { return Recording || Playback; }
  void Unhook() {
    if (Hook) UnhookWindowsHookEx(std::exchange(Hook, nullptr));
  }
  void End() {
    Unhook();
    Recording.reset();
    Playback.reset();
    Recorder = nullptr;
  }
};

TMacroRecorder::TMacroRecorder(TComponent* AOwner) : TComponent(AOwner) {
  if (!dynamic_cast<TCustomForm*>(AOwner)) throw Exception(L"Control parent must be a form!");
  FPreviousActivate = Application->OnActivate;
  FPreviousDeactivate = Application->OnDeactivate;
  Application->OnActivate = TNotifyEvent(this, &TMacroRecorder::ApplicationActivate);
  Application->OnDeactivate = TNotifyEvent(this, &TMacroRecorder::ApplicationDeactivate);
  FEvents = new TApplicationEvents(this);
  FEvents->OnMessage = TMessageEvent(this, &TMacroRecorder::ApplicationMessage);
  FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TMacroRecorder::~TMacroRecorder() {
  TSession& s = TSession::Get();
  if (s.Recorder == this) s.End();
  Application->OnActivate = FPreviousActivate;
  Application->OnDeactivate = FPreviousDeactivate;
  DeallocateHWnd(FWindow);
}

void TMacroRecorder::Publish(TPublisher<TMacroRecorder>& p) {
  p.Property(L"FileName", &TMacroRecorder::GetFileName, &TMacroRecorder::SetFileName);
  p.Property(L"PlaybackSpeed", &TMacroRecorder::PlaybackSpeed).Default(pbNormal);
  p.Property(L"RecordingRange", &TMacroRecorder::GetRecordingRange, &TMacroRecorder::SetRecordingRange)
      .Default(rrSystem);
  p.Property(L"Options", &TMacroRecorder::Options);
  p.Property(L"OnPlaybackFinished", &TMacroRecorder::OnPlaybackFinished);
  p.Property(L"OnPlaybackCancelled", &TMacroRecorder::OnPlaybackCancelled);
  p.Property(L"OnRecordFinished", &TMacroRecorder::OnRecordFinished);
  p.Property(L"OnRecordCancelled", &TMacroRecorder::OnRecordCancelled);
}

bool TMacroRecorder::Recording() const {
  const TSession& s = TSession::Get();
  return s.Recorder == this && s.Recording.has_value();
}
bool TMacroRecorder::Playing() const {
  const TSession& s = TSession::Get();
  return s.Recorder == this && s.Playback.has_value();
}

bool TMacroRecorder::HookInstalled() { return TSession::Get().Hook != nullptr; }

void TMacroRecorder::SetFileName(const std::wstring& Value) {
  if (Recording()) throw Exception(L"Can not modify file name while recording Macro.");
  FFileName = Value;
}

void TMacroRecorder::SetRecordingRange(TRecordingRange Value) {
  if (Recording()) throw Exception(L"Can not change property while recording macro.");
  FRecordingRange = Value;
}

void TMacroRecorder::StartRecording() {
  TSession& s = TSession::Get();
  if (s.Recording) {
    ShowMessage(L"Mouse is already being Journaled, can not restart");
    return;
  }
  if (FFileName.empty()) throw Exception(L"Invalid FileName");
  if (s.Busy()) return;
  s.Recording.emplace(!Options.Contains(roMouseMove),
                      Options.Contains(roMouseRelative) ? TMacroPointMap(ScreenToForeground) : nullptr);
  s.Recording->SetDropping(FRecordingRange == rrApplication && FInactive);
  s.Recorder = this;
  s.Hook = SetWindowsHookExW(WH_JOURNALRECORD, &TMacroRecorder::RecordHook, GetModuleHandleW(nullptr), 0);
  if (!s.Hook) {
    s.End();
    ShowMessage(L"No Journal Hook available");
  }
}

void TMacroRecorder::StopRecording() {
  TSession& s = TSession::Get();
  if (s.Recorder != this || !s.Recording) return;
  s.Unhook();
  const std::vector<TMacroEvent> events = s.Recording->Events();
  s.End();
  if (!events.empty()) {
    TStringList file;
    for (const std::wstring& line : WriteMacroLines(events)) file.Add(line);
    file.SaveToFile(FFileName);
  }
  if (OnRecordFinished) OnRecordFinished(this);
}

void TMacroRecorder::StartPlayback() {
  if (FFileName.empty()) throw Exception(L"Invalid FileName");
  TSession& s = TSession::Get();
  if (s.Busy() || !FileExists(FFileName)) return;
  TStringList file;
  file.LoadFromFile(FFileName);
  std::vector<std::wstring> lines;
  for (int i = 0; i < file.Count(); ++i) lines.push_back(file.Strings(i));
  // Read in full before anything is held: a malformed file raises and leaves nothing behind.
  std::vector<TMacroEvent> events = ReadMacroLines(lines);
  if (events.empty()) return;
  s.Playback.emplace(std::move(events), PlaybackSpeed == pbFast,
                     Options.Contains(roMouseRelative) ? TMacroPointMap(ForegroundToScreen) : nullptr, ClockNowMs());
  s.Recorder = this;
  s.Hook = SetWindowsHookExW(WH_JOURNALPLAYBACK, &TMacroRecorder::PlaybackHook, GetModuleHandleW(nullptr), 0);
  if (!s.Hook) s.End();
}

void TMacroRecorder::EndPlayback(bool cancelled) {
  TSession::Get().End();
  TNotifyEvent& event = cancelled ? OnPlaybackCancelled : OnPlaybackFinished;
  if (event) event(this);
}

LRESULT CALLBACK TMacroRecorder::RecordHook(int Code, WPARAM WParam, LPARAM LParam) {
  const LRESULT next = CallNextHookEx(nullptr, Code, WParam, LParam);
  if (Code < 0) return next;
  TSession& s = TSession::Get();
  if (!s.Recording) return next;
  TMacroEvent event;
  if (Code == HC_ACTION && LParam) event = FromRecord(*reinterpret_cast<const EVENTMSG*>(LParam));
  if (s.Recording->OnHook(Code, event) == TJournalRecording::rsStop) {
    s.Unhook();
    PostMessageW(s.Recorder->FWindow, WM_MACRO_STOP, 0, 0);
  }
  return next;
}

LRESULT CALLBACK TMacroRecorder::PlaybackHook(int Code, WPARAM WParam, LPARAM LParam) {
  TSession& s = TSession::Get();
  if (Code < 0 || !s.Playback) return CallNextHookEx(nullptr, Code, WParam, LParam);
  TMacroRecorder* recorder = s.Recorder;
  bool ended = false;
  LRESULT result = 0;
  GuardCallback([&] {
    switch (Code) {
      case HC_GETNEXT: {
        TMacroEvent e;
        result = s.Playback->GetNext(e, ClockNowMs());
        if (auto* m = reinterpret_cast<EVENTMSG*>(LParam)) {
          m->message = e.Message;
          m->paramL = e.ParamL;
          m->paramH = e.ParamH;
          m->time = e.Time;
          m->hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(e.Window));
        }
        break;
      }
      case HC_SKIP:
        ended = s.Playback->Skip();
        break;
      case HC_SYSMODALON:
      case HC_SYSMODALOFF:
        ended = s.Playback->SysModal(Code == HC_SYSMODALON);
        result = CallNextHookEx(nullptr, Code, WParam, LParam);
        break;
    }
    if (ended) recorder->EndPlayback(false);
  });
  return result;
}

void TMacroRecorder::ApplicationActivate(TObject* Sender) {
  FInactive = false;
  if (Recording()) TSession::Get().Recording->SetDropping(false);
  if (FPreviousActivate) FPreviousActivate(Sender);
}

void TMacroRecorder::ApplicationDeactivate(TObject* Sender) {
  FInactive = FRecordingRange == rrApplication;
  if (Recording()) TSession::Get().Recording->SetDropping(FInactive);
  if (FPreviousDeactivate) FPreviousDeactivate(Sender);
}

void TMacroRecorder::ApplicationMessage(MSG& Msg, bool&) {
  if (Msg.message != WM_CANCELJOURNAL) return;
  // The system has removed the hook already.
  TSession& s = TSession::Get();
  if (s.Recorder != this) return;
  s.Hook = nullptr;
  if (s.Playback) {
    EndPlayback(true);
  } else if (s.Recording) {
    if (OnRecordCancelled) OnRecordCancelled(this);
    StopRecording();
  }
}

void TMacroRecorder::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MACRO_STOP) {
    StopRecording();
    return;
  }
  DefaultWindowMessage(FWindow, Message);
}

QORN_REGISTER_CLASS(TMacroRecorder);
