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

namespace {

constexpr UINT WM_PLUGINKEY = WM_USER + 360;
constexpr u_short kServerPort = 8765;
constexpr DWORD kRetryInterval = 30000;  // ms between two connect attempts
constexpr DWORD kStopWait = 3000;        // ms Disable waits for the reader

// Each post gets its own slot, reused only 32 posts later: the main window reads
// the name long before that, even with several posts in flight.
constexpr int kSlots = 32;
char g_posted[kSlots][ranlowe::kMaxKeyName + 1];
std::atomic<unsigned> g_nextSlot{0};

std::atomic<HWND> g_mainWindow{nullptr};

HWND FindMainWindow() { return FindWindowA("TMainForm", "Qorn"); }

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

void Post(const std::string& key) {
  HWND wnd = g_mainWindow.load();
  if (!wnd || !IsWindow(wnd)) {
    wnd = FindMainWindow();
    g_mainWindow = wnd;
  }
  if (!wnd) return;  // no main window: nothing to hand the key to
  char* slot = g_posted[g_nextSlot++ % kSlots];
  const std::size_t n = std::min(key.size(), ranlowe::kMaxKeyName);
  std::memcpy(slot, key.data(), n);
  slot[n] = '\0';
  PostMessageA(wnd, WM_PLUGINKEY, 2, reinterpret_cast<LPARAM>(slot));
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
      if (auto key = filter.KeyOf(line)) Post(*key);
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
