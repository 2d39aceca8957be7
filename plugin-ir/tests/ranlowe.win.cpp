// Ranlowe.dll loaded by a host window of Qorn's class and caption, fed by a fake
// LIRC server on the loopback port the plug-in uses.
// ctest-lock: main-window
// ctest-lock: lirc-port
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Win.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

namespace {

constexpr UINT WM_PLUGINKEY = WM_USER + 360;

std::vector<std::string> g_keys;

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PLUGINKEY && wp == 2) {
    g_keys.emplace_back(reinterpret_cast<const char*>(lp));
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

struct Plugin {
  HMODULE lib = LoadLibraryW(L"plugins\\Ranlowe.dll");
  template <class F>
  F get(const char* name) const { return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name))); }
  BYTE Enable() const { return get<BYTE(__stdcall*)()>("Enable")(); }
  BYTE Disable() const { return get<BYTE(__stdcall*)()>("Disable")(); }
};

// A one-port server: accepts connections and lets the test talk to the latest.
class FakeServer {
 public:
  FakeServer() {
    listen_ = socket(AF_INET, SOCK_STREAM, 0);
    BOOL on = TRUE;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(8765);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ok_ = bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(listen_, 4) == 0;
    if (ok_) acceptor_ = std::thread([this] { Accept(); });
  }
  ~FakeServer() {
    closesocket(listen_);
    if (acceptor_.joinable()) acceptor_.join();
    std::lock_guard<std::mutex> lock(m_);
    for (SOCKET c : clients_) closesocket(c);
  }
  bool ok() const { return ok_; }
  int accepted() const { return accepted_; }
  bool WaitForClient(int n) { return WaitFor([&] { return accepted_ >= n; }, 10s); }
  void Send(const std::string& bytes) {
    SOCKET c = Latest();
    ::send(c, bytes.data(), static_cast<int>(bytes.size()), 0);
  }
  void Drop() {
    std::lock_guard<std::mutex> lock(m_);
    if (!clients_.empty()) {
      closesocket(clients_.back());
      clients_.pop_back();
    }
  }
  // True when the latest client closed its end within the time.
  bool ClientClosed(std::chrono::milliseconds within) {
    SOCKET c = Latest();
    DWORD ms = static_cast<DWORD>(within.count());
    setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    char b;
    return recv(c, &b, 1, 0) == 0;
  }

 private:
  SOCKET Latest() {
    std::lock_guard<std::mutex> lock(m_);
    return clients_.empty() ? INVALID_SOCKET : clients_.back();
  }
  void Accept() {
    for (;;) {
      SOCKET c = accept(listen_, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      std::lock_guard<std::mutex> lock(m_);
      clients_.push_back(c);
      ++accepted_;
    }
  }
  SOCKET listen_ = INVALID_SOCKET;
  bool ok_ = false;
  std::thread acceptor_;
  std::mutex m_;
  std::vector<SOCKET> clients_;
  std::atomic<int> accepted_{0};
};

class RanloweTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TMainForm";
    RegisterClassW(&wc);
    host_ = CreateWindowExW(0, L"TMainForm", L"Qorn", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                            wc.hInstance, nullptr);
    SetEnvironmentVariableW(L"RANLOWE_RETRY_MS", L"200");
  }
  static void TearDownTestSuite() {
    DestroyWindow(host_);
    WSACleanup();
  }
  void SetUp() override {
    g_keys.clear();
    ASSERT_NE(plugin_.lib, nullptr);
  }
  void TearDown() override { plugin_.Disable(); }

  bool WaitForKeys(size_t n) { return WaitFor([&] { return g_keys.size() >= n; }, 10s); }
  static void Pump(std::chrono::milliseconds d) { WaitFor([] { return false; }, d); }

  static inline HWND host_ = nullptr;
  Plugin plugin_;
};

TEST_F(RanloweTest, ExportsItsFixedAnswers) {
  using Text = const char*(__stdcall*)();
  using Flag = BYTE(__stdcall*)();
  EXPECT_STREQ(plugin_.get<Text>("GetName")(), "Ranlowe IRKeys");
  EXPECT_STREQ(plugin_.get<Text>("GetVer")(), "0.5.0.1");
  EXPECT_STREQ(plugin_.get<Text>("GetAuthor")(), "Quillmora");
  EXPECT_STREQ(plugin_.get<Text>("GetInfo")(), "This plugins allow Qorn work with IR devices throught Ranlowe");
  EXPECT_EQ(plugin_.get<Flag>("IsInteractive")(), 0);
  EXPECT_EQ(plugin_.get<Flag>("IsHaveSettings")(), 0);
  EXPECT_EQ(plugin_.Disable(), 1) << "Disable without Enable is harmless";
}

TEST_F(RanloweTest, DeliversEveryLineOfAStreamInOrder) {
  FakeServer server;
  ASSERT_TRUE(server.ok());
  EXPECT_EQ(plugin_.Enable(), 1);
  ASSERT_TRUE(server.WaitForClient(1));
  server.Send("0001 00 A r\n0002 00 B r\n0003 0");  // two lines and a half in one packet
  Pump(100ms);
  server.Send("0 C r\n" + std::string(400, 'x') + "\n0004 03 D r\n0004 06 D r\n");
  server.Send("BEGIN\nSIGHUP\nEND\n0005 00 E r\n");
  ASSERT_TRUE(WaitForKeys(5));
  Pump(200ms);
  const std::vector<std::string> want = {"0001", "0002", "0003", "0004", "0005"};
  EXPECT_EQ(g_keys, want);
}

TEST_F(RanloweTest, ManyPostsInFlightKeepTheirNames) {
  FakeServer server;
  ASSERT_TRUE(server.ok());
  plugin_.Enable();
  ASSERT_TRUE(server.WaitForClient(1));
  std::string burst;
  std::vector<std::string> want;
  for (int i = 0; i < 30; ++i) {
    want.push_back("key" + std::to_string(i));
    burst += want.back() + " 00 b r\n";
  }
  server.Send(burst);
  ASSERT_TRUE(WaitForKeys(30));
  EXPECT_EQ(g_keys, want);
}

TEST_F(RanloweTest, EnableTwiceRunsOneReader) {
  FakeServer server;
  ASSERT_TRUE(server.ok());
  plugin_.Enable();
  plugin_.Enable();
  ASSERT_TRUE(server.WaitForClient(1));
  Pump(500ms);
  EXPECT_EQ(server.accepted(), 1);
  server.Send("0007 00 G r\n");
  ASSERT_TRUE(WaitForKeys(1));
  Pump(200ms);
  EXPECT_EQ(g_keys.size(), 1u) << "one reader posts each key once";
}

TEST_F(RanloweTest, ReconnectsWhenTheServerGoesAway) {
  FakeServer server;
  ASSERT_TRUE(server.ok());
  plugin_.Enable();
  ASSERT_TRUE(server.WaitForClient(1));
  server.Drop();
  ASSERT_TRUE(server.WaitForClient(2)) << "the reader connects again after a dropped connection";
  server.Send("0008 00 H r\n");
  ASSERT_TRUE(WaitForKeys(1));
  EXPECT_EQ(g_keys[0], "0008");
}

TEST_F(RanloweTest, DisableStopsTheReaderAndNothingIsPostedAfter) {
  FakeServer server;
  ASSERT_TRUE(server.ok());
  plugin_.Enable();
  ASSERT_TRUE(server.WaitForClient(1));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(plugin_.Disable(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(server.ClientClosed(2s)) << "Disable closes the connection";
  server.Send("0009 00 I r\n");
  Pump(300ms);
  EXPECT_TRUE(g_keys.empty());
  // A later Enable starts a fresh reader that connects again.
  plugin_.Enable();
  ASSERT_TRUE(server.WaitForClient(2));
  server.Send("0010 00 J r\n");
  ASSERT_TRUE(WaitForKeys(1));
  EXPECT_EQ(g_keys[0], "0010");
}

TEST_F(RanloweTest, DisableDuringTheRetryWaitReturnsPromptly) {
  SetEnvironmentVariableW(L"RANLOWE_RETRY_MS", nullptr);  // the real 30 s wait
  plugin_.Enable();                                       // no server: the reader waits to retry
  Pump(300ms);
  const auto start = std::chrono::steady_clock::now();
  plugin_.Disable();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  SetEnvironmentVariableW(L"RANLOWE_RETRY_MS", L"200");
}

}  // namespace
