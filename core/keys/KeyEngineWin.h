// The key engine on Windows: the hook library's callbacks, the window whose message
// queue runs the engine's work, and the real foreground, lock-key and timer services.
//
// Wiring, as the main form does it:
//   TTimerRepeatTimer repeat(RepeatTimer);          // the form's TTimer, off by default
//   TKeyEngine engine({..., repeat, ..., RecordTextToUi});
//   repeat.ConnectTo(engine);
//   ConnectKeyEngine(engine, Handle);               // work runs from WM_KEYENGINE_RUN
//   SetHookEngine(&engine);
//   SetKeyboardHook(KeyCallback, ModifierCallback); // "Unable to set hook" when 0
// and in the window procedure: if (HandleKeyEngineMessage(engine, Msg)) return 0;
// A plug-in button (WM_PLUGINKEY) is engine.KeyCallback(1, 1, 0, 0, name). On session
// lock, after RemoveKeyboardHook, engine.StopRepeat().
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/keys/KeyEngine.h"
#include "tenvora/Tenvora.h"
#include "vcl/System.h"
#include "vcl/Timer.h"
#include "vcl/Win.h"

// Posted to the engine's window; its handler runs the queued work (a private
// message of the window's class, so WM_APP is ours).
inline constexpr UINT WM_KEYENGINE_RUN = WM_APP + 0x51;

// From now on the engine's work runs from window's message queue.
void ConnectKeyEngine(TKeyEngine& engine, HWND window);

// The hook library's callbacks forward to this engine (nullptr: every key passes).
// With an engine, the hook asks about the keys the engine may take from now on;
// without, about every key again.
void SetHookEngine(TKeyEngine* engine);

extern "C" {
// Given to SetKeyboardHook; run on the thread that installed the hook.
std::int32_t TENVORA_CALL KeyCallback(std::int32_t vk, std::int32_t code2, std::int32_t extra, std::int32_t msg);
void TENVORA_CALL ModifierCallback(std::int32_t code);
}

// The main form's repeat timer (a TTimer) as the engine's repeat timer; its ticks
// go to the engine.
class TTimerRepeatTimer : public IRepeatTimer {
 public:
  explicit TTimerRepeatTimer(TTimer& timer) : timer_(timer) {}
  void Start(unsigned intervalMs) override;
  void Stop() override;
  bool Running() const override { return timer_.GetEnabled(); }
  void ConnectTo(TKeyEngine& engine);

 private:
  TTimer& timer_;
};

// For the window procedure of the engine's window: true when the message was the
// engine's queued work.
bool HandleKeyEngineMessage(TKeyEngine& engine, UINT msg);

class TWinForeground : public IForeground {
 public:
  std::uintptr_t Window() override;
  std::string ExePath(std::uintptr_t window) override;
  bool CoversScreenExactly() override;
  bool CoversScreenAtLeast() override;
};

class TWinLockKeys : public ILockKeys {
 public:
  bool IsToggled(std::uint8_t vk) override;
};

// Record strings are in the system code page.
inline std::wstring RecordTextToUi(std::string_view text) { return AnsiToString(text); }
