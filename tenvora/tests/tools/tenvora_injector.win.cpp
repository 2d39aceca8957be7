// Injects keyboard and mouse input with SendInput and records, with low-level hooks of
// its own installed before the hook under test, what comes out after that hook.
//
//   tenvora_injector READY-EVENT GO-EVENT OUT-FILE TOKEN...
// It sets READY-EVENT once its hooks are in, waits for GO-EVENT, sends the tokens and
// writes OUT-FILE. Tokens: dVK:SCAN / uVK:SCAN key down / up (suffix x: extended key,
// o: marked as Qorn's own input), wMS wait, m mouse move, b left click.
// OUT-FILE lines: "key VK SCAN FLAGS MSG", "mouse MSG MILLISECONDS-LATE", "sent TOKEN MILLISECONDS".
// The system may call the hooks after SendInput has returned: the file is written
// once a marker key sent last (Qorn's own input, so the hook under test lets it
// through untouched) has come out, so everything sent before it has come out too;
// exit code 6 says it never did.
#include "vcl/Win.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "tenvora/Tenvora.h"

namespace {

std::mutex g_mutex;
std::vector<std::string> g_lines;

void Record(std::string line) {
  std::lock_guard lock(g_mutex);
  g_lines.push_back(std::move(line));
}

// An unassigned key code, sent as a key-up only.
constexpr WORD MarkerVk = 0xE8;
HANDLE g_markerSeen = nullptr;

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (k->vkCode == MarkerVk && k->dwExtraInfo == TENVORA_OWN_INPUT) {
      SetEvent(g_markerSeen);
      return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    Record("key " + std::to_string(k->vkCode) + " " + std::to_string(k->scanCode) + " " +
           std::to_string(k->flags) + " " + std::to_string(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  // How long the event waited for this hook tells a starved machine from a lost event.
  if (code == HC_ACTION)
    Record("mouse " + std::to_string(wParam) + " " +
           std::to_string(GetTickCount() - reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->time));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HANDLE g_hooked = nullptr;

constexpr UINT WM_IN_THE_LOOP = WM_APP + 1;

DWORD WINAPI HookThread(void*) {
  // As high as the hook thread under test, so that a loaded machine starves neither.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  const bool ok = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, GetModuleHandleW(nullptr), 0) &&
                  SetWindowsHookExW(WH_MOUSE_LL, MouseProc, GetModuleHandleW(nullptr), 0);
  if (!ok) return 1;
  // Ready only once this thread takes its messages: the hooks are called through
  // them, and the first events sent before the loop ran were seen to be lost.
  PostThreadMessageW(GetCurrentThreadId(), WM_IN_THE_LOOP, 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_IN_THE_LOOP) SetEvent(g_hooked);
    DispatchMessageW(&msg);
  }
  return 0;
}

bool KeyInput(const std::wstring& token, INPUT& in) {
  unsigned vk = 0, scan = 0;
  wchar_t rest[8] = {};
  if (swscanf(token.c_str() + 1, L"%u:%u%7ls", &vk, &scan, rest) < 2) return false;
  const std::wstring suffix = rest;
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = static_cast<WORD>(vk);
  in.ki.wScan = static_cast<WORD>(scan);
  if (token[0] == L'u') in.ki.dwFlags |= KEYEVENTF_KEYUP;
  if (suffix.find(L'x') != std::wstring::npos) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (suffix.find(L'o') != std::wstring::npos) in.ki.dwExtraInfo = TENVORA_OWN_INPUT;
  return true;
}

bool Send(const std::wstring& token) {
  std::vector<INPUT> inputs;
  INPUT in{};
  switch (token.empty() ? L'?' : token[0]) {
    case L'd':
    case L'u':
      if (!KeyInput(token, in)) return false;
      inputs.push_back(in);
      break;
    case L'w':
      Sleep(static_cast<DWORD>(_wtoi(token.c_str() + 1)));
      return true;
    case L'm':
      in.type = INPUT_MOUSE;
      in.mi.dx = 3;
      in.mi.dy = 3;
      in.mi.dwFlags = MOUSEEVENTF_MOVE;
      inputs.push_back(in);
      break;
    case L'b':
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
      inputs.push_back(in);
      in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
      inputs.push_back(in);
      break;
    default:
      return false;
  }
  const ULONGLONG start = GetTickCount64();
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  std::string narrow(token.begin(), token.end());
  Record("sent " + narrow + " " + std::to_string(GetTickCount64() - start));
  return true;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 4) return 2;
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
  if (!ready || !go) return 2;
  g_hooked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_markerSeen = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, nullptr);
  const HANDLE started[] = {g_hooked, thread};
  if (WaitForMultipleObjects(2, started, FALSE, 10000) != WAIT_OBJECT_0) return 4;
  SetEvent(ready);
  if (WaitForSingleObject(go, 20000) != WAIT_OBJECT_0) return 3;
  for (int i = 4; i < argc; ++i)
    if (!Send(argv[i])) return 2;
  INPUT marker{};
  marker.type = INPUT_KEYBOARD;
  marker.ki.wVk = MarkerVk;
  marker.ki.dwFlags = KEYEVENTF_KEYUP;
  marker.ki.dwExtraInfo = TENVORA_OWN_INPUT;
  SendInput(1, &marker, sizeof marker);
  if (WaitForSingleObject(g_markerSeen, 30000) != WAIT_OBJECT_0) return 6;
  FILE* out = _wfopen(argv[3], L"w");
  if (!out) return 5;
  {
    std::lock_guard lock(g_mutex);
    for (const auto& line : g_lines) fprintf(out, "%s\n", line.c_str());
  }
  fclose(out);
  return 0;
}
