// Placeholder exports until the hook is written.
#define TENVORA_BUILD
#include "tenvora/Tenvora.h"

extern "C" {
TENVORA_API int32_t TENVORA_CALL SetKeyboardHook(TKeyCallback, TModifierCallback) { return 0; }
TENVORA_API void TENVORA_CALL RemoveKeyboardHook() {}
TENVORA_API void TENVORA_CALL DisableMouse(int32_t) {}
}
