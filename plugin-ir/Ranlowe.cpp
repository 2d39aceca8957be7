// Placeholder exports until the reader is written.
extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Ranlowe"; }
__declspec(dllexport) const char* __stdcall GetVer() { return "0.1"; }
__declspec(dllexport) const char* __stdcall GetInfo() { return ""; }
__declspec(dllexport) const char* __stdcall GetAuthor() { return ""; }
__declspec(dllexport) int __stdcall IsInteractive() { return 0; }
__declspec(dllexport) int __stdcall IsHaveSettings() { return 0; }
__declspec(dllexport) int __stdcall Enable() { return 0; }
__declspec(dllexport) int __stdcall Disable() { return 0; }
}
