// A library without GetName: not a plug-in, skipped by the host.
extern "C" __declspec(dllexport) int __stdcall Something() { return 1; }
