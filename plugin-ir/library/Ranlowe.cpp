// Ranlowe: hands the buttons of an infrared remote, as a LIRC-protocol server on
// this machine reports them, to Qorn as named keys (WM_PLUGINKEY).
//
// One reader thread per Enable..Disable. It owns its Winsock start-up and
// clean-up, and a fresh socket per connect attempt. Disable never terminates it:
// it sets the reader's stop event and closes its socket, which wakes a waiting
// receive, and waits a bounded time for the thread to leave.
#include "plugin-ir/LircLines.h"
#include "vcl/Win.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr UINT WM_PLUGINKEY = WM_USER + 360;
constexpr u_short kServerPort = 8765;
constexpr DWORD kRetryInterval = 30000;  // ms between two connect attempts
constexpr DWORD kStopWait = 3000;        // ms Disable waits for the reader

// Each post gets its own slot. A slot is taken again only once the main window
// has handled the post that used it: behind every WM_PLUGINKEY the reader posts
// a note to a small window of ours on the main window's thread, which handles
// posted messages in order, so the note arrives only after the key was read.
// With all slots in flight the reader waits (the server's lines wait in the
// socket meanwhile): a stalled main window never reads a name overwritten.
constexpr int kSlots = 32;
constexpr UINT WM_SLOTREAD = WM_APP + 1;  // to the note window: wParam the slot
char g_posted[kSlots][ranlowe::kMaxKeyName + 1];
std::atomic<bool> g_inFlight[kSlots];
unsigned g_nextSlot = 0;  // the reader's only
HANDLE g_slotRead = CreateEventW(nullptr, FALSE, FALSE, nullptr);

std::atomic<HWND> g_mainWindow{nullptr};
// The note window and its thread (the host's GUI thread, where Enable runs).
std::atomic<HWND> g_noteWindow{nullptr};
std::atomic<DWORD> g_noteThread{0};

HWND FindMainWindow() { return FindWindowA("TMainForm", "Qorn"); }

LRESULT CALLBACK NoteProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SLOTREAD) {
    if (wp < kSlots) g_inFlight[wp] = false;
    SetEvent(g_slotRead);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

// Made once, on the thread of the first Enable, and kept while the library is
// loaded (which is for good): notes still queued must find it.
void MakeNoteWindow() {
  if (g_noteWindow.load()) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = NoteProc;
  wc.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
  wc.lpszClassName = L"RanloweSlotNotes";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (!w) return;
  g_noteThread = GetCurrentThreadId();
  g_noteWindow = w;
}

// The state one reader thread shares with Disable.
struct Reader {
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::mutex socketLock;  // guards sock against the close from Disable
  SOCKET sock = INVALID_SOCKET;
  std::atomic<bool> stopping{false};
  ~Reader() { CloseHandle(stop); }

  bool Stopped() const { return stopping.load(); }
  void CloseSocket() {
    std::lock_guard<std::mutex> lock(socketLock);
    if (sock != INVALID_SOCKET) {
      shutdown(sock, SD_BOTH);
      closesocket(sock);
      sock = INVALID_SOCKET;
    }
  }
};

std::mutex g_readerLock;  // Enable and Disable run on the host's GUI thread; the lock keeps them honest
std::shared_ptr<Reader> g_reader;
HANDLE g_readerThread = nullptr;

DWORD RetryInterval() {
  // Tests shorten the wait between connect attempts.
  char v[16];
  const DWORD n = GetEnvironmentVariableA("RANLOWE_RETRY_MS", v, sizeof v);
  if (n > 0 && n < sizeof v) {
    const long ms = std::strtol(v, nullptr, 10);
    if (ms > 0) return static_cast<DWORD>(ms);
  }
  return kRetryInterval;
}

// Hands one key to the main window; false when the reader was stopped meanwhile.
bool Post(Reader& r, const std::string& key) {
  HWND wnd = g_mainWindow.load();
  if (!wnd || !IsWindow(wnd)) {
    wnd = FindMainWindow();
    g_mainWindow = wnd;
  }
  if (!wnd) return true;  // no main window: nothing to hand the key to
  // Notes tell of reads only from the main window's own thread.
  HWND notes = g_noteWindow.load();
  if (notes && GetWindowThreadProcessId(wnd, nullptr) != g_noteThread.load()) notes = nullptr;
  const unsigned index = g_nextSlot++ % kSlots;
  // The oldest post in flight is this slot's: wait for the main window to read it.
  while (notes && g_inFlight[index].load()) {
    HANDLE wake[2] = {r.stop, g_slotRead};
    if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) == WAIT_OBJECT_0) return false;
  }
  char* slot = g_posted[index];
  const std::size_t n = std::min(key.size(), ranlowe::kMaxKeyName);
  std::memcpy(slot, key.data(), n);
  slot[n] = '\0';
  if (notes) g_inFlight[index] = true;
  if (!PostMessageA(wnd, WM_PLUGINKEY, 2, reinterpret_cast<LPARAM>(slot))) {
    g_inFlight[index] = false;
    return true;
  }
  if (notes && !PostMessageW(notes, WM_SLOTREAD, index, 0)) g_inFlight[index] = false;
  return true;
}

// Connects a fresh socket; false when the server is not there.
bool Connect(Reader& r) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(kServerPort);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  {
    std::lock_guard<std::mutex> lock(r.socketLock);
    if (r.Stopped()) {
      closesocket(s);
      return false;
    }
    r.sock = s;
  }
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return true;
  r.CloseSocket();
  return false;
}

// Reads lines until the server goes away or the reader is stopped.
void ReadLines(Reader& r) {
  ranlowe::LineSplitter lines;
  ranlowe::KeyFilter filter;
  char buf[1024];
  for (;;) {
    SOCKET s;
    {
      std::lock_guard<std::mutex> lock(r.socketLock);
      s = r.sock;
    }
    if (s == INVALID_SOCKET || r.Stopped()) return;
    const int got = recv(s, buf, sizeof buf, 0);
    if (got <= 0 || r.Stopped()) return;  // closed, failed or stopped: never reuse old bytes
    lines.Feed(std::string_view(buf, static_cast<std::size_t>(got)), [&](std::string_view line) {
      if (auto key = filter.KeyOf(line)) Post(r, *key);
    });
  }
}

DWORD WINAPI ReaderThread(LPVOID param) {
  std::shared_ptr<Reader> r(*static_cast<std::shared_ptr<Reader>*>(param));
  delete static_cast<std::shared_ptr<Reader>*>(param);
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 0;
  const DWORD interval = RetryInterval();
  while (!r->Stopped()) {
    if (Connect(*r)) {
      ReadLines(*r);
      r->CloseSocket();
    }
    // The server is not there or went away: try again after a while, unless stopped.
    if (WaitForSingleObject(r->stop, interval) == WAIT_OBJECT_0) break;
  }
  r->CloseSocket();
  WSACleanup();
  return 0;
}

void StopReader() {
  std::shared_ptr<Reader> r;
  HANDLE thread;
  {
    std::lock_guard<std::mutex> lock(g_readerLock);
    r = std::move(g_reader);
    thread = g_readerThread;
    g_readerThread = nullptr;
  }
  if (!r) return;
  r->stopping = true;
  SetEvent(r->stop);
  r->CloseSocket();
  if (thread) {
    // The reader holds its own reference to its state, so if it has not left in
    // time it still finishes safely on its own.
    WaitForSingleObject(thread, kStopWait);
    CloseHandle(thread);
  }
}

}  // namespace

extern "C" {

__declspec(dllexport) const char* __stdcall GetName() { return "Ranlowe IRKeys"; }
__declspec(dllexport) const char* __stdcall GetInfo() {
  return "This plugins allow Qorn work with IR devices throught Ranlowe";
}
__declspec(dllexport) const char* __stdcall GetVer() { return "0.5.0.1"; }
__declspec(dllexport) const char* __stdcall GetAuthor() { return "Quillmora"; }
__declspec(dllexport) BYTE __stdcall IsInteractive() { return 0; }
__declspec(dllexport) BYTE __stdcall IsHaveSettings() { return 0; }

__declspec(dllexport) BYTE __stdcall Enable() {
  MakeNoteWindow();
  {
    std::lock_guard<std::mutex> lock(g_readerLock);
    // A reader that ended on its own (it never does while not stopped) is reaped here.
    if (g_readerThread && WaitForSingleObject(g_readerThread, 0) == WAIT_OBJECT_0) {
      CloseHandle(g_readerThread);
      g_readerThread = nullptr;
      g_reader.reset();
    }
    if (!g_readerThread) {
      auto reader = std::make_shared<Reader>();
      auto* param = new std::shared_ptr<Reader>(reader);
      HANDLE thread = CreateThread(nullptr, 0, ReaderThread, param, 0, nullptr);
      if (thread) {
        g_reader = std::move(reader);
        g_readerThread = thread;
      } else {
        delete param;
      }
    }
  }
  g_mainWindow = FindMainWindow();
  return 1;
}

__declspec(dllexport) BYTE __stdcall Disable() {
  StopReader();
  return 1;
}

}  // extern "C"
