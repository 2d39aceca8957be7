// Tenvora.dll: Qorn's keyboard-hook library, as its callers see it.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define TENVORA_CALL __stdcall
#else
#define TENVORA_CALL
#endif

// Answer of a key callback: take the key (the system never sees it) or pass it on.
enum : int32_t { TENVORA_PASS = 0, TENVORA_TAKE = 10 };

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
TENVORA_API int32_t TENVORA_CALL SetKeyboardHook(TKeyCallback key, TModifierCallback modifier);
TENVORA_API void TENVORA_CALL RemoveKeyboardHook();
TENVORA_API void TENVORA_CALL DisableMouse(int32_t disable);
#endif
}
