// THTTPGet over wine's WinInet against a small HTTP server of this test on
// loopback. The component always uses port 80, so it reaches the server as its
// proxy (WinInet then sends the whole URL in the request line).
#include <gtest/gtest.h>

#include "services/HTTPGet.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Win.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string Big = [] {
  std::string s(70000, '\0');
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}();

// Answers each request by its path:
//   /big      70 000 bytes with their length     /nolength  a body without a length
//   /empty    an empty body                      /missing   a 404 page
//   /cut      5000 bytes declared, 2000 sent     /slow      a trickle until the client goes
//   /echo     the request's body back
class TTestServer {
 public:
  TTestServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    int len = sizeof(addr);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TTestServer() {
    stopping_ = true;
    closesocket(listener_);
    thread_.join();
    for (auto& t : clients_) t.join();
    WSACleanup();
  }
  std::wstring Proxy() const { return L"127.0.0.1:" + std::to_wstring(port_); }

  struct TRequest {
    std::string head, body;
  };
  std::vector<TRequest> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  std::atomic<bool> slowClientGone{false};
  std::atomic<int> slowSent{0};

 private:
  void Serve() {
    for (;;) {
      SOCKET s = accept(listener_, nullptr, nullptr);
      if (s == INVALID_SOCKET) return;
      clients_.emplace_back([this, s] { Answer(s); });
    }
  }
  static bool SendAll(SOCKET s, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
      const int n = send(s, data.data() + done, static_cast<int>(data.size() - done), 0);
      if (n <= 0) return false;
      done += n;
    }
    return true;
  }
  void Answer(SOCKET s) {
    std::string in;
    char buf[4096];
    size_t headEnd;
    while ((headEnd = in.find("\r\n\r\n")) == std::string::npos) {
      const int n = recv(s, buf, sizeof(buf), 0);
      if (n <= 0) return (void)closesocket(s);
      in.append(buf, n);
    }
    TRequest request{in.substr(0, headEnd), in.substr(headEnd + 4)};
    const size_t cl = request.head.find("Content-Length: ");
    if (cl != std::string::npos) {
      const size_t want = std::stoul(request.head.substr(cl + 16));
      while (request.body.size() < want) {
        const int n = recv(s, buf, sizeof(buf), 0);
        if (n <= 0) break;
        request.body.append(buf, n);
      }
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    const std::string line = request.head.substr(0, request.head.find("\r\n"));
    auto has = [&](const char* path) { return line.find(std::string(path) + " HTTP/") != std::string::npos; };
    const std::string ok = "HTTP/1.0 200 OK\r\nConnection: close\r\n";
    if (has("/big")) {
      SendAll(s, ok + "Content-Length: 70000\r\n\r\n" + Big);
    } else if (has("/nolength")) {
      SendAll(s, ok + "\r\nno length here");
    } else if (has("/empty")) {
      SendAll(s, ok + "Content-Length: 0\r\n\r\n");
    } else if (has("/missing")) {
      const std::string page = "<html>Not Found</html>";
      SendAll(s, "HTTP/1.0 404 Not Found\r\nConnection: close\r\nContent-Length: " + std::to_string(page.size()) +
                     "\r\n\r\n" + page);
    } else if (has("/cut")) {
      SendAll(s, ok + "Content-Length: 5000\r\n\r\n" + std::string(2000, 'c'));
    } else if (has("/slow")) {
      SendAll(s, ok + "Content-Length: 10000000\r\n\r\n");
      // A trickle the client can only stop by going away (or after 30 s).
      for (int i = 0; i < 1500 && !stopping_; ++i) {
        if (!SendAll(s, std::string(1000, 's'))) break;
        ++slowSent;
        std::this_thread::sleep_for(20ms);
      }
      slowClientGone = true;
    } else if (has("/echo")) {
      SendAll(s, ok + "Content-Length: " + std::to_string(request.body.size()) + "\r\n\r\n" + request.body);
    } else {
      SendAll(s, "HTTP/1.0 500 Server Error\r\nConnection: close\r\n\r\nunknown");
    }
    shutdown(s, SD_BOTH);
    closesocket(s);
  }

  SOCKET listener_;
  int port_ = 0;
  std::thread thread_;
  std::vector<std::thread> clients_;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::vector<TRequest> requests_;
};

// What one transfer reported.
struct TReport {
  std::vector<int> progress;
  int errors = 0, doneFiles = 0, doneStrings = 0;
  std::string body;
  std::wstring file;
  int fileSize = -1;
  int Ends() const { return errors + doneFiles + doneStrings; }
};

class HTTPGetTest : public ::testing::Test {
 protected:
  // The component lives on the heap so that a test can destroy it mid-transfer.
  void SetUp() override {
    get = new THTTPGet(nullptr);
    get->Proxy = server.Proxy();
    get->Agent = L"Qorn";
    Watch(*get, report);
  }
  void TearDown() override { delete get; }
  static void Watch(THTTPGet& g, TReport& r) {
    g.OnProgress = [&r](TObject*, int, int readed) { r.progress.push_back(readed); };
    g.OnError = [&r](TObject*) { ++r.errors; };
    g.OnDoneString = [&r](TObject*, const std::string& body) {
      ++r.doneStrings;
      r.body = body;
    };
    g.OnDoneFile = [&r](TObject*, const std::wstring& file, int size) {
      ++r.doneFiles;
      r.file = file;
      r.fileSize = size;
    };
  }
  void Fetch(const std::wstring& path, bool toFile) {
    get->URL = L"http://qorn.test" + path;
    get->WaitThread = true;
    toFile ? get->GetFile() : get->GetString();
  }
  std::vector<fs::path> FolderFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir.path())) files.push_back(e.path().filename());
    return files;
  }

  TTestServer server;
  qorn::testing::TempDir dir{"httpget"};
  THTTPGet* get = nullptr;
  TReport report;
};

TEST_F(HTTPGetTest, SeventyThousandBytesArriveWholeAfterGrowingProgress) {
  Fetch(L"/big", false);
  ASSERT_EQ(report.doneStrings, 1);
  EXPECT_EQ(report.Ends(), 1);
  EXPECT_EQ(report.body, Big);
  ASSERT_GE(report.progress.size(), 3u);
  for (size_t i = 1; i < report.progress.size(); ++i) EXPECT_GT(report.progress[i], report.progress[i - 1]);
  EXPECT_EQ(report.progress.back(), 70000);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].head.rfind("GET http://qorn.test:80/big HTTP/1.0", 0), 0u) << "port 80 always: " << requests[0].head;
  EXPECT_NE(requests[0].head.find("User-Agent: Qorn"), std::string::npos) << requests[0].head;
}

TEST_F(HTTPGetTest, AFileArrivesUnderItsNameAndNothingElseStays) {
  get->FileName = (dir.path() / "update.bin").wstring();
  get->BinaryData = true;
  Fetch(L"/big", true);
  ASSERT_EQ(report.doneFiles, 1);
  EXPECT_EQ(report.Ends(), 1);
  EXPECT_EQ(report.fileSize, 70000);
  EXPECT_EQ(report.file, get->FileName);
  EXPECT_EQ(qorn::testing::ReadFileBytes(dir / "update.bin"), Big);
  EXPECT_EQ(FolderFiles(), std::vector<fs::path>{"update.bin"}) << "no temporary file is left";
}

TEST_F(HTTPGetTest, ABodyWithoutALengthIsATextButNoBinaryFile) {
  Fetch(L"/nolength", false);
  EXPECT_EQ(report.doneStrings, 1);
  EXPECT_EQ(report.body, "no length here");

  TReport second;
  Watch(*get, second);
  get->FileName = (dir.path() / "nolength.bin").wstring();
  get->BinaryData = true;
  Fetch(L"/nolength", true);
  EXPECT_EQ(second.errors, 1);
  EXPECT_EQ(second.Ends(), 1);
  EXPECT_TRUE(second.progress.empty()) << "nothing is read";
  EXPECT_TRUE(FolderFiles().empty());
}

// Every failure ends in one OnError, and a file download leaves the target as it
// was: absent, or the older file.
struct FailCase {
  const char* name;
  const wchar_t* path;
  bool binary;
};

class HTTPGetFails : public HTTPGetTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(HTTPGetFails, WithOneErrorAndNoFileAtTheTarget) {
  const FailCase& c = GetParam();
  Fetch(c.path, false);
  EXPECT_EQ(report.errors, 1) << c.name;
  EXPECT_EQ(report.Ends(), 1) << c.name;

  TReport toFile;
  Watch(*get, toFile);
  get->BinaryData = c.binary;
  get->FileName = (dir.path() / "new.bin").wstring();
  Fetch(c.path, true);
  EXPECT_EQ(toFile.errors, 1) << c.name;
  EXPECT_EQ(toFile.Ends(), 1) << c.name;
  EXPECT_TRUE(FolderFiles().empty()) << c.name;

  TReport over;
  Watch(*get, over);
  qorn::testing::WriteFileBytes(dir / "old.bin", "the older file");
  get->FileName = (dir.path() / "old.bin").wstring();
  Fetch(c.path, true);
  EXPECT_EQ(over.errors, 1) << c.name;
  EXPECT_EQ(qorn::testing::ReadFileBytes(dir / "old.bin"), "the older file") << c.name;
  EXPECT_EQ(FolderFiles(), std::vector<fs::path>{"old.bin"}) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, HTTPGetFails,
                         ::testing::Values(FailCase{"empty body", L"/empty", false},
                                           FailCase{"404 page", L"/missing", false},
                                           FailCase{"cut body", L"/cut", true},
                                           FailCase{"cut body, text", L"/cut", false},
                                           FailCase{"server error", L"/unknown", false}));

TEST_F(HTTPGetTest, AUrlWithoutASlashHasNoHostAndFails) {
  get->URL = L"qorn.test";
  get->WaitThread = true;
  get->GetString();
  EXPECT_EQ(report.errors, 1);
  EXPECT_EQ(report.Ends(), 1);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HTTPGetTest, APostSendsItsBodyAsGiven) {
  get->PostQuery = L"a=1&b=two words&c=%41";
  Fetch(L"/echo", false);
  ASSERT_EQ(report.doneStrings, 1);
  EXPECT_EQ(report.body, "a=1&b=two words&c=%41");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].head.rfind("POST ", 0), 0u);
  EXPECT_NE(requests[0].head.find("Content-Type: application/x-www-form-urlencoded"), std::string::npos);
}

TEST_F(HTTPGetTest, AStartDuringATransferDoesNothing) {
  get->URL = L"http://qorn.test/big";
  get->GetString();
  EXPECT_TRUE(get->Busy());
  get->URL = L"http://qorn.test/missing";
  get->GetString();
  get->GetFile();
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return report.Ends() > 0; }, 20s));
  EXPECT_EQ(report.doneStrings, 1);
  EXPECT_EQ(report.body, Big);
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_FALSE(get->Busy());
}

TEST_F(HTTPGetTest, AnAbortIsFinalAndLeavesNoFile) {
  get->FileName = (dir.path() / "slow.bin").wstring();
  get->URL = L"http://qorn.test/slow";
  get->GetFile();
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return report.progress.size() >= 3; }, 20s));
  get->Abort();
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return report.Ends() > 0; }, 20s));
  EXPECT_EQ(report.errors, 1);
  EXPECT_EQ(report.Ends(), 1);
  EXPECT_TRUE(FolderFiles().empty());
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return server.slowClientGone.load(); }, 20s))
      << "the worker closed its connection";
}

TEST_F(HTTPGetTest, DestroyingTheComponentMidTransferReachesNoEventLater) {
  get->FileName = (dir.path() / "slow.bin").wstring();
  get->URL = L"http://qorn.test/slow";
  get->GetFile();
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return report.progress.size() >= 2; }, 20s));
  const size_t progressBefore = report.progress.size();
  delete std::exchange(get, nullptr);
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return server.slowClientGone.load(); }, 20s));
  qorn::testing::WaitFor([] { return false; }, 300ms);  // the worker's end is handled meanwhile
  EXPECT_EQ(report.Ends(), 0);
  EXPECT_LE(report.progress.size(), progressBefore + 1) << "at most a block already on its way";
  EXPECT_TRUE(FolderFiles().empty());
}

TEST_F(HTTPGetTest, WaitingSleepsInsteadOfSpinning) {
  // While the GUI thread waits for a slow body, it uses little processor time.
  get->URL = L"http://qorn.test/slow";
  get->OnProgress = [&](TObject*, int, int readed) {
    if (readed >= 50000) get->Abort();
  };
  FILETIME c, e, k0, u0, k1, u1;
  GetThreadTimes(GetCurrentThread(), &c, &e, &k0, &u0);
  const auto start = std::chrono::steady_clock::now();
  get->WaitThread = true;
  get->GetString();
  const auto wall = std::chrono::steady_clock::now() - start;
  GetThreadTimes(GetCurrentThread(), &c, &e, &k1, &u1);
  auto ticks = [](FILETIME f) { return (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  const double cpuMs = (ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 10000.0;
  const double wallMs = std::chrono::duration<double, std::milli>(wall).count();
  EXPECT_EQ(report.errors, 1);
  ASSERT_GT(wallMs, 500.0) << "50 trickled pieces take a second";
  EXPECT_LT(cpuMs, wallMs / 2) << "cpu " << cpuMs << " ms in " << wallMs << " ms";
}

}  // namespace
