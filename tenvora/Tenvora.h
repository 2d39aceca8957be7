// Tenvora.dll: Qorn's keyboard-hook library, as its callers see it.
//
// SetKeyboardHook installs a system-wide low-level keyboard hook on a thread of the
// library. Every key event is handed to the thread that called SetKeyboardHook and
// answered there: both callbacks run on that thread, one event at a time, from a sent
// window message, so any message loop of that thread serves them (its main loop, a
// modal dialog or menu, a wait inside SendMessage). The thread must not block without
// retrieving messages for long: the hook waits for an answer only a bounded time, well
// under the system's LowLevelHooksTimeout (which would otherwise remove the hook).
//
// The values a key callback receives:
//   vk      the virtual-key code the system reports (0..255).
//   code2   the scan code's low seven bits, plus 0x80 for an extended key (one sent with
//           the E0 prefix). Keys that share a virtual-key code come apart here: Enter 28
//           and keypad Enter 156, and multimedia keys with the same code but their own
//           scan codes (Play/Pause, E0 22, gives 162).
//   extra   the low byte of the hook's flags: 0x01 extended, 0x02 injected from a lower
//           integrity level, 0x10 injected (SendInput, keybd_event), 0x20 Alt held,
//           0x80 key up; TENVORA_PASSED (0x1000) on a key that has passed already.
//           It is never one of the key messages.
//   message 256 key down, 257 key up, 260 system key down, 261 system key up.
// A result of TENVORA_TAKE swallows the key; any other result lets it through.
//
// A modifier key (LShift, LCtrl, LWin, LAlt, RAlt, RWin, RCtrl, RShift: positions 1..8)
// first calls the modifier callback with n*10+1 on each key-down, the keyboard's own
// repeats included, and n*10 on its key-up; then its key event goes to the key
// callback like any other key. Sideless codes (Shift, Ctrl, Alt), as injected input may
// carry them, count as the right-hand key when the scan code says so (right Shift's
// 0x36) or the key is extended (right Ctrl, right Alt), else as the left-hand key.
//
// Which keys wait for an answer. SetKeysToAsk names the keys the program may take
// right now, key-downs and key-ups apart; only those wait for the owner thread's
// answer. Every other key passes at once and is reported afterwards. Until the
// program names its keys, every key is asked about. While the owner thread has not
// answered for a short while (it is stuck in a long piece of work), no key waits: all
// of them pass at once and are reported once it drains again.
//
// A key reported after it has already passed carries TENVORA_PASSED in its extra
// value (the flags' low byte stays as it is, and the value still never equals a key
// message); the callback's result is then ignored. This is how a key whose answer
// did not come in time is reported too: every key event, a late key-up above all,
// reaches the key callback exactly once, in order with the others, so that the
// program's view of held keys and repeats stays right. A key callback that is still
// running when the time is up has its answer dropped. Input that Qorn emulates
// itself carries TENVORA_OWN_INPUT as its extra information (dwExtraInfo of
// keybd_event or SendInput): it goes straight through without either callback, so
// emulating a key never fires a binding or disturbs the modifier state of the keys
// the user really holds.
//
// SetKeyboardHook again replaces the callbacks (and installs the system hook afresh);
// RemoveKeyboardHook without a hook does nothing; once RemoveKeyboardHook has returned,
// no callback runs (called from another thread, it waits for a callback running at
// that moment). DisableMouse(1) swallows all mouse input until DisableMouse(0).
#pragma once
#include <cstdint>

#ifdef _WIN32
#define TENVORA_CALL __stdcall
#else
#define TENVORA_CALL
#endif

// Answer of a key callback: take the key (the system never sees it) or pass it on.
enum : int32_t { TENVORA_PASS = 0, TENVORA_TAKE = 10 };

// Set in the extra value of a key reported after it passed.
enum : int32_t { TENVORA_PASSED = 0x1000 };

// The bytes of a set of keys for SetKeysToAsk: bit (vk % 8) of byte vk / 8.
inline constexpr int TENVORA_KEY_SET_BYTES = 32;

// The extra information Qorn's own emulated input carries ("QORN").
inline constexpr uintptr_t TENVORA_OWN_INPUT = 0x51524F4E;

extern "C" {
// (virtual-key code, second code, extra value, keyboard message) -> TENVORA_TAKE or TENVORA_PASS.
typedef int32_t(TENVORA_CALL* TKeyCallback)(int32_t vk, int32_t code2, int32_t extra, int32_t message);
// n*10 + 1 when modifier n (1..8) is pressed, n*10 when released.
typedef void(TENVORA_CALL* TModifierCallback)(int32_t code);

#ifdef _WIN32
#ifdef TENVORA_BUILD
#define TENVORA_API __declspec(dllexport)
#else
#define TENVORA_API __declspec(dllimport)
#endif
// Non-zero when the hook is installed.
TENVORA_API int32_t TENVORA_CALL SetKeyboardHook(TKeyCallback key, TModifierCallback modifier);
TENVORA_API void TENVORA_CALL RemoveKeyboardHook();
TENVORA_API void TENVORA_CALL DisableMouse(int32_t disable);
// The keys the program may take: key-downs (messages 256, 260) and key-ups (257, 261)
// as two sets of TENVORA_KEY_SET_BYTES bytes. Both null: every key is asked about
// again. The sets stay until the next call, across SetKeyboardHook.
TENVORA_API void TENVORA_CALL SetKeysToAsk(const uint8_t* downs, const uint8_t* ups);
// Called on the thread that set the hook: the keys that passed and wait to be
// reported reach the callbacks now, before it returns, instead of at the next wake a
// moment later (a program about to close counts them). Elsewhere it does nothing.
TENVORA_API void TENVORA_CALL ReportPassedKeys();
#endif
}
