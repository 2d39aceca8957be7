// ctest-lock: keyboard
// Tenvora.dll end to end: the library is loaded like the program loads it, another
// process injects input with SendInput and records, with hooks installed before
// ours, what the system lets through after our hook.
#include <gtest/gtest.h>

#include "vcl/Win.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tenvora/Tenvora.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace {

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

using SetHookFn = int32_t(TENVORA_CALL*)(TKeyCallback, TModifierCallback);
using RemoveHookFn = void(TENVORA_CALL*)();
using DisableMouseFn = void(TENVORA_CALL*)(int32_t);

struct Library {
  HMODULE module = nullptr;
  SetHookFn setHook = nullptr;
  RemoveHookFn removeHook = nullptr;
  DisableMouseFn disableMouse = nullptr;
};

std::filesystem::path BinDir() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

const Library& Tenvora() {
  static const Library lib = [] {
    Library l;
    l.module = LoadLibraryW((BinDir() / L"Tenvora.dll").c_str());
    if (l.module) {
      // Exported by their plain names, as the program imports them.
      l.setHook = reinterpret_cast<SetHookFn>(reinterpret_cast<void*>(GetProcAddress(l.module, "SetKeyboardHook")));
      l.removeHook =
          reinterpret_cast<RemoveHookFn>(reinterpret_cast<void*>(GetProcAddress(l.module, "RemoveKeyboardHook")));
      l.disableMouse =
          reinterpret_cast<DisableMouseFn>(reinterpret_cast<void*>(GetProcAddress(l.module, "DisableMouse")));
    }
    return l;
  }();
  return lib;
}

// What the callbacks were called with. `set` tells which of two callback pairs ran.
struct Call {
  char kind;  // 'K' key callback, 'M' modifier callback
  int set;
  int32_t vk, code2, extra, message, code;
  DWORD thread;
};

std::mutex g_mutex;
std::vector<Call> g_calls;
std::set<int32_t> g_takenVks;
int32_t g_slowVk = -1;  // the key callback sleeps 2 s on this key's key-down

std::vector<Call> Calls() {
  std::lock_guard lock(g_mutex);
  return g_calls;
}

template <int Set>
int32_t TENVORA_CALL OnKey(int32_t vk, int32_t code2, int32_t extra, int32_t message) {
  bool take;
  {
    std::lock_guard lock(g_mutex);
    g_calls.push_back({'K', Set, vk, code2, extra, message, 0, GetCurrentThreadId()});
    take = g_takenVks.count(vk) != 0;
  }
  if (vk == g_slowVk && message == WM_KEYDOWN) Sleep(2000);
  return take ? TENVORA_TAKE : TENVORA_PASS;
}

template <int Set>
void TENVORA_CALL OnModifier(int32_t code) {
  std::lock_guard lock(g_mutex);
  g_calls.push_back({'M', Set, 0, 0, 0, 0, code, GetCurrentThreadId()});
}

// One key event as the injector's own hook saw it, after ours.
struct SeenKey {
  uint32_t vk, scan, flags, message;
};

// The injector's exit code when its marker never came through its own hook.
constexpr long InjectorSawNothing = 6;

struct InjectorLog {
  std::vector<SeenKey> keys;
  int mouseEvents = 0;
  std::vector<std::pair<std::string, int>> sent;  // token, milliseconds SendInput took
  long exitCode = -1;
  std::string text;  // the injector's whole record, for a failure message

  std::vector<uint32_t> vks() const {
    std::vector<uint32_t> v;
    for (const auto& k : keys) v.push_back(k.vk);
    return v;
  }
  int sentMs(const std::string& token) const {
    for (const auto& [t, ms] : sent)
      if (t == token) return ms;
    return -1;
  }
};

// The injecting process: started with its hooks in place before ours, so that its
// hooks see only what ours passes on.
class Injector {
 public:
  explicit Injector(const std::vector<std::wstring>& tokens) : dir_("tenvora-hook") {
    static int counter = 0;
    const std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    const std::wstring readyName = L"TenvoraTestReady-" + tag, goName = L"TenvoraTestGo-" + tag;
    ready_ = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    go_ = CreateEventW(nullptr, TRUE, FALSE, goName.c_str());
    out_ = dir_ / "seen.txt";
    std::wstring args = readyName + L" " + goName + L" \"" + out_.wstring() + L"\"";
    for (const auto& t : tokens) args += L" " + t;
    process_ = qorn::testing::Process(BinDir() / L"tenvora_injector.exe", args);
    const HANDLE waits[] = {ready_, process_.handle()};
    started_ = process_.handle() && WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
  }
  ~Injector() {
    CloseHandle(ready_);
    CloseHandle(go_);
  }
  bool started() const { return started_; }
  HANDLE process() const { return process_.handle(); }
  void Go() { SetEvent(go_); }
  // Waits for the injector to end; pumping lets the callbacks run meanwhile.
  InjectorLog Finish(bool pump = true) {
    InjectorLog log;
    if (pump)
      WaitFor([&] { return !process_.running(); }, 30s);
    log.exitCode = process_.wait(30s);
    std::ifstream in(out_);
    std::string line;
    while (std::getline(in, line)) {
      log.text += line + "\n";
      std::istringstream words(line);
      std::string kind;
      words >> kind;
      if (kind == "key") {
        SeenKey k{};
        words >> k.vk >> k.scan >> k.flags >> k.message;
        log.keys.push_back(k);
      } else if (kind == "mouse") {
        ++log.mouseEvents;
      } else if (kind == "sent") {
        std::string token;
        int ms = 0;
        words >> token >> ms;
        log.sent.emplace_back(token, ms);
      }
    }
    return log;
  }

 private:
  qorn::testing::TempDir dir_;
  std::filesystem::path out_;
  HANDLE ready_ = nullptr;
  HANDLE go_ = nullptr;
  qorn::testing::Process process_;
  bool started_ = false;
};

class TenvoraHook : public ::testing::Test {
 protected:
  void SetUp() override {
    const Library& lib = Tenvora();
    ASSERT_TRUE(lib.module) << "Tenvora.dll does not load";
    ASSERT_TRUE(lib.setHook && lib.removeHook && lib.disableMouse) << "an export is missing";
    std::lock_guard lock(g_mutex);
    g_calls.clear();
    g_takenVks.clear();
    g_slowVk = -1;
  }
  void TearDown() override {
    Tenvora().removeHook();
    Tenvora().disableMouse(0);
  }

  static bool SetHook(int set = 1) {
    return set == 1 ? Tenvora().setHook(&OnKey<1>, &OnModifier<1>) != 0
                    : Tenvora().setHook(&OnKey<2>, &OnModifier<2>) != 0;
  }
  static void Take(std::initializer_list<int32_t> vks) {
    std::lock_guard lock(g_mutex);
    g_takenVks.insert(vks);
  }

  // Starts the injector, sets our hook after its hooks, and sends the tokens.
  // An injector whose hooks saw nothing at all, not even the marker it sends last
  // and that every hook lets through, could not watch: a loaded machine was seen to
  // do that about once in twenty runs. Such a run is made once more from the start;
  // a hook that keeps the marker back fails both. Without pumping, no callback runs
  // meanwhile.
  static InjectorLog Run(const std::vector<std::wstring>& tokens, bool setHook = true, bool pump = true) {
    InjectorLog log;
    const std::size_t callsBefore = Calls().size();
    for (int attempt = 1; attempt <= 2; ++attempt) {
      if (attempt == 2) {
        std::lock_guard lock(g_mutex);
        g_calls.resize(callsBefore);
      }
      Injector injector(tokens);
      EXPECT_TRUE(injector.started()) << "the injector did not start";
      if (!injector.started()) return {};
      if (setHook) {
        EXPECT_TRUE(SetHook());
      }
      injector.Go();
      log = injector.Finish(pump);
      if (log.exitCode != InjectorSawNothing || attempt == 2) break;
      std::printf("the injector saw nothing, not even its marker: made once more\n");
    }
    EXPECT_EQ(log.exitCode, 0) << "the injector failed";
    return log;
  }
};

std::vector<Call> KeyCalls(const std::vector<Call>& calls) {
  std::vector<Call> keys;
  for (const auto& c : calls)
    if (c.kind == 'K') keys.push_back(c);
  return keys;
}

TEST_F(TenvoraHook, TakenKeysAreSwallowedAndPassedKeysArriveUnchanged) {
  Take({'A'});
  const InjectorLog log = Run({L"d65:30", L"u65:30", L"d66:48", L"u66:48"});
  // Only B gets past our hook.
  ASSERT_EQ(log.keys.size(), 2u);
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'B', 'B'}));

  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 4u);
  const int32_t vks[] = {'A', 'A', 'B', 'B'};
  const int32_t messages[] = {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP};
  const int32_t code2s[] = {30, 30, 48, 48};
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].kind, 'K');
    EXPECT_EQ(calls[i].vk, vks[i]);
    EXPECT_EQ(calls[i].message, messages[i]);
    EXPECT_EQ(calls[i].code2, code2s[i]);
    // On the thread that set the hook.
    EXPECT_EQ(calls[i].thread, GetCurrentThreadId());
  }
  // What passed is what the callback saw: the same message and flags.
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(static_cast<int32_t>(log.keys[i].message), calls[2 + i].message);
    EXPECT_EQ(static_cast<int32_t>(log.keys[i].flags & 0xFF), calls[2 + i].extra);
  }
}

TEST_F(TenvoraHook, SecondCodeTellsKeysApartThatShareAVirtualKey) {
  struct Case {
    const wchar_t* down;
    const wchar_t* up;
    int32_t vk, code2;
    bool extended;
  } cases[] = {
      {L"d13:28", L"u13:28", 13, 28, false},       // Enter
      {L"d13:28x", L"u13:28x", 13, 156, true},     // keypad Enter
      {L"d179:34x", L"u179:34x", 179, 162, true},  // Play/Pause
      {L"d255:101", L"u255:101", 255, 101, false},  // two multimedia keys without a code of their own
      {L"d255:102", L"u255:102", 255, 102, false},
      {L"d255:101x", L"u255:101x", 255, 229, true},
  };
  std::vector<std::wstring> tokens;
  for (const auto& c : cases) {
    tokens.push_back(c.down);
    tokens.push_back(c.up);
  }
  Take({13, 179, 255});
  const InjectorLog log = Run(tokens);
  EXPECT_TRUE(log.keys.empty()) << "a taken key got through";
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), std::size(cases) * 2);
  for (size_t i = 0; i < std::size(cases); ++i) {
    for (int half = 0; half < 2; ++half) {
      const Call& c = calls[i * 2 + half];
      SCOPED_TRACE(testing::Message() << "case " << i << (half ? " up" : " down"));
      EXPECT_EQ(c.vk, cases[i].vk);
      EXPECT_EQ(c.code2, cases[i].code2);
      // Extra: the flags' low byte: injected, extended as sent, up on the key-up.
      EXPECT_EQ(c.extra & 0x10, 0x10);
      EXPECT_EQ((c.extra & 0x01) != 0, cases[i].extended);
      EXPECT_EQ((c.extra & 0x80) != 0, half == 1);
      EXPECT_TRUE(c.extra >= 0 && c.extra < 256) << "Extra could pass for a key message";
    }
  }
}

TEST_F(TenvoraHook, ModifierKeysReportTheirPositionBeforeTheirKeyEvent) {
  struct Case {
    int vk, scan;
    bool extended;
    int position;
  } cases[] = {
      {VK_LSHIFT, 0x2A, false, 1}, {VK_LCONTROL, 0x1D, false, 2}, {VK_LWIN, 0x5B, true, 3},
      {VK_LMENU, 0x38, false, 4},  {VK_RMENU, 0x38, true, 5},     {VK_RWIN, 0x5C, true, 6},
      {VK_RCONTROL, 0x1D, true, 7}, {VK_RSHIFT, 0x36, false, 8},
      // Sideless codes, as injected input may carry them.
      {VK_SHIFT, 0x36, false, 8},  {VK_SHIFT, 0x2A, false, 1},    {VK_CONTROL, 0x1D, true, 7},
      {VK_MENU, 0x38, false, 4},
  };
  std::vector<std::wstring> tokens;
  std::set<int32_t> vks;
  for (const auto& c : cases) {
    const std::wstring key = std::to_wstring(c.vk) + L":" + std::to_wstring(c.scan) + (c.extended ? L"x" : L"");
    tokens.push_back(L"d" + key);
    tokens.push_back(L"u" + key);
    vks.insert(c.vk);
  }
  {
    // Taken, so that no program in the session sees stray modifiers.
    std::lock_guard lock(g_mutex);
    g_takenVks = vks;
  }
  const InjectorLog log = Run(tokens);
  EXPECT_TRUE(log.keys.empty());
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), std::size(cases) * 4);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    const Call* c = &calls[i * 4];
    EXPECT_EQ(c[0].kind, 'M');
    EXPECT_EQ(c[0].code, cases[i].position * 10 + 1);
    EXPECT_EQ(c[1].kind, 'K');
    EXPECT_EQ(c[1].vk, cases[i].vk);
    EXPECT_EQ(c[2].kind, 'M');
    EXPECT_EQ(c[2].code, cases[i].position * 10);
    EXPECT_EQ(c[3].kind, 'K');
    EXPECT_EQ(c[3].thread, GetCurrentThreadId());
  }
}

TEST_F(TenvoraHook, QornsOwnInputPassesWithoutCallbacks) {
  Take({'A', VK_LCONTROL});
  const InjectorLog log = Run({L"d162:29o", L"d65:30o", L"u65:30o", L"u162:29o", L"d65:30", L"u65:30"});
  // The marked keys reach the system although 'A' and LCtrl are taken; the unmarked
  // 'A' does not.
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{VK_LCONTROL, 'A', 'A', VK_LCONTROL}));
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, 'K');
  EXPECT_EQ(calls[0].vk, 'A');
  EXPECT_EQ(calls[1].message, WM_KEYUP);
}

TEST_F(TenvoraHook, SettingTheHookAgainReplacesTheCallbacksAndOneRemoveEndsIt) {
  Take({'A'});
  Injector first({L"d65:30", L"u65:30"});
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(SetHook(1));
  ASSERT_TRUE(SetHook(2));
  first.Go();
  InjectorLog log = first.Finish();
  EXPECT_TRUE(log.keys.empty());
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].set, 2);
  EXPECT_EQ(calls[1].set, 2);

  Tenvora().removeHook();
  log = Run({L"d65:30", L"u65:30"}, /*setHook=*/false);
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'A', 'A'})) << "a hook is left after one remove";
  EXPECT_EQ(Calls().size(), 2u);
}

TEST_F(TenvoraHook, CallbacksRunOnTheThreadThatSetTheHook) {
  Take({'A'});
  Injector injector({L"d65:30", L"u65:30"});
  ASSERT_TRUE(injector.started());
  std::atomic<int> state{0};  // 1 hook set, 2 asked to stop, 3 removed
  std::atomic<DWORD> ownerId{0};
  std::thread owner([&] {
    ownerId = GetCurrentThreadId();
    state = SetHook() ? 1 : -1;
    WaitFor([&] { return state == 2; }, 30s);
    Tenvora().removeHook();
    state = 3;
  });
  ASSERT_TRUE(WaitFor([&] { return state != 0; }, 10s));
  ASSERT_EQ(state.load(), 1);
  injector.Go();
  // This thread pumps too: the callbacks must still go to the owner thread.
  const InjectorLog log = injector.Finish();
  state = 2;
  owner.join();
  EXPECT_TRUE(log.keys.empty());
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  for (const auto& call : calls) EXPECT_EQ(call.thread, ownerId.load());
}

TEST_F(TenvoraHook, RemoveWithoutAHookIsHarmless) {
  Tenvora().removeHook();
  Tenvora().removeHook();
  Take({'A'});
  const InjectorLog log = Run({L"d65:30", L"u65:30"});
  EXPECT_TRUE(log.keys.empty());
  EXPECT_EQ(Calls().size(), 2u);
}

// A key that waits in vain waits at most the hook's bound (150 ms), and only the
// first of a row: the owner then counts as stuck. The rest is room for a machine
// ten times slower. Waiting for an answer that never comes, or for a callback that
// sleeps 2 s, still fails it.
constexpr int BoundedWaitMs = 1500;

// Pumps until the key callback has seen `vk`: every event of before has been
// handed over by then, as the events go in order.
bool PumpUntilKey(int32_t vk) {
  return WaitFor(
      [vk] {
        for (const auto& c : Calls())
          if (c.kind == 'K' && c.vk == vk) return true;
        return false;
      },
      30s);
}

// While the owner thread does not retrieve messages, keys pass without waiting for
// it (after the first, which waits its bound). Once it pumps again, the callbacks
// hear of every event, in order, the keys marked as passed; nothing once the hook
// was removed in between.
TEST_F(TenvoraHook, KeysThatWaitedInVainPassAndAreReportedAsPassed) {
  struct Case {
    bool removeBeforePumping;
    std::vector<std::pair<char, int32_t>> expected;  // callback kind and code or vk
  } cases[] = {{false, {{'M', 11}, {'K', VK_LSHIFT}, {'K', 'A'}, {'K', 'A'}, {'M', 10}, {'K', VK_LSHIFT}}},
               {true, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.removeBeforePumping ? "removed before pumping" : "pumping again");
    {
      std::lock_guard lock(g_mutex);
      g_calls.clear();
    }
    Take({'A', VK_LSHIFT});
    Injector injector({L"d160:42", L"d65:30", L"u65:30", L"u160:42"});
    ASSERT_TRUE(injector.started());
    ASSERT_TRUE(SetHook());
    injector.Go();
    // Not pumping: the injector ends once all four keys went their way.
    const InjectorLog log = injector.Finish(/*pump=*/false);
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_EQ(log.vks(), (std::vector<uint32_t>{VK_LSHIFT, 'A', 'A', VK_LSHIFT}));
    for (const auto& [token, ms] : log.sent) EXPECT_LT(ms, BoundedWaitMs) << token << " waited too long";
    if (c.removeBeforePumping) {
      Tenvora().removeHook();
      // A marker key through a new hook: whatever the old one still held would come first.
      const InjectorLog marker = Run({L"d90:44", L"u90:44"});
      ASSERT_TRUE(PumpUntilKey('Z'));
    } else {
      ASSERT_TRUE(WaitFor([&] { return Calls().size() >= c.expected.size(); }, 30s));
    }
    std::vector<std::pair<char, int32_t>> seen;
    for (const auto& call : Calls()) {
      if (call.kind == 'K' && call.vk == 'Z') break;
      seen.emplace_back(call.kind, call.kind == 'K' ? call.vk : call.code);
      if (call.kind == 'K') {
        EXPECT_NE(call.extra & TENVORA_PASSED, 0) << "a key that passed came as if waited for";
      }
    }
    EXPECT_EQ(seen, c.expected);
    Tenvora().removeHook();
  }
}

TEST_F(TenvoraHook, ASlowCallbackCostsOneKeyNotTheHook) {
  Take({'A', 'C'});
  g_slowVk = 'C';
  // C's callback sleeps 2 s; the keys sent meanwhile must not wait for it either.
  const InjectorLog log = Run({L"d67:46", L"u67:46", L"d65:30", L"u65:30", L"w2500", L"d65:30", L"u65:30"});
  // C passed although it is taken, and so did the keys sent while its callback slept.
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'C', 'C', 'A', 'A'}));
  for (const auto& [token, ms] : log.sent) EXPECT_LT(ms, BoundedWaitMs) << token << " waited for the slow callback";
  // Every key is reported once, in order; the ones that got through marked so. The
  // hook is still in place and working after the sleep: the last A is swallowed.
  ASSERT_TRUE(WaitFor([] { return KeyCalls(Calls()).size() >= 6; }, 30s));
  const auto calls = KeyCalls(Calls());
  ASSERT_EQ(calls.size(), 6u);
  const struct {
    int32_t vk, message;
    bool passed;
  } expected[] = {{'C', WM_KEYDOWN, false}, {'C', WM_KEYUP, true},  {'A', WM_KEYDOWN, true},
                  {'A', WM_KEYUP, true},    {'A', WM_KEYDOWN, false}, {'A', WM_KEYUP, false}};
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].vk, expected[i].vk);
    EXPECT_EQ(calls[i].message, expected[i].message);
    EXPECT_EQ((calls[i].extra & TENVORA_PASSED) != 0, expected[i].passed);
  }
}

TEST_F(TenvoraHook, KeysNotAskedAboutPassAtOnceAndAreStillReported) {
  using SetKeysToAskFn = void(TENVORA_CALL*)(const uint8_t*, const uint8_t*);
  const auto setKeysToAsk =
      reinterpret_cast<SetKeysToAskFn>(reinterpret_cast<void*>(GetProcAddress(Tenvora().module, "SetKeysToAsk")));
  ASSERT_TRUE(setKeysToAsk) << "SetKeysToAsk is not exported";
  struct Forget {
    SetKeysToAskFn set;
    ~Forget() { set(nullptr, nullptr); }
  } forget{setKeysToAsk};
  // The callback would take A and B, but only A's key-down is asked about.
  Take({'A', 'B'});
  uint8_t downs[TENVORA_KEY_SET_BYTES] = {}, ups[TENVORA_KEY_SET_BYTES] = {};
  downs['A' / 8] |= 1 << ('A' % 8);
  setKeysToAsk(downs, ups);
  const InjectorLog log = Run({L"d65:30", L"u65:30", L"d66:48", L"u66:48"});
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'A', 'B', 'B'}));
  ASSERT_TRUE(PumpUntilKey('B'));
  ASSERT_TRUE(WaitFor([] { return KeyCalls(Calls()).size() >= 4; }, 30s));
  const auto calls = KeyCalls(Calls());
  ASSERT_EQ(calls.size(), 4u);
  const bool passed[] = {false, true, true, true};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ((calls[i].extra & TENVORA_PASSED) != 0, passed[i]) << i;
}

// A program about to close has the keys that passed reported at once, on its own
// thread, without waiting for the wake that would bring them a moment later.
TEST_F(TenvoraHook, PassedKeysAreReportedAtOnceWhenTheOwnerAsks) {
  using SetKeysToAskFn = void(TENVORA_CALL*)(const uint8_t*, const uint8_t*);
  using ReportFn = void(TENVORA_CALL*)();
  const auto setKeysToAsk =
      reinterpret_cast<SetKeysToAskFn>(reinterpret_cast<void*>(GetProcAddress(Tenvora().module, "SetKeysToAsk")));
  const auto report =
      reinterpret_cast<ReportFn>(reinterpret_cast<void*>(GetProcAddress(Tenvora().module, "ReportPassedKeys")));
  ASSERT_TRUE(setKeysToAsk && report) << "an export is missing";
  struct Forget {
    SetKeysToAskFn set;
    ~Forget() { set(nullptr, nullptr); }
  } forget{setKeysToAsk};
  const uint8_t none[TENVORA_KEY_SET_BYTES] = {};
  setKeysToAsk(none, none);
  const InjectorLog log = Run({L"d65:30", L"u65:30", L"d66:48", L"u66:48"}, true, /*pump=*/false);
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'A', 'A', 'B', 'B'})) << "keys nobody asked about pass";
  ASSERT_TRUE(KeyCalls(Calls()).empty()) << "the owner took no message, so nothing was reported yet";
  std::thread([report] { report(); }).join();
  EXPECT_TRUE(KeyCalls(Calls()).empty()) << "only the thread that set the hook is reported to";
  report();
  const auto calls = KeyCalls(Calls());
  ASSERT_EQ(calls.size(), 4u);
  const int32_t messages[] = {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP};
  const int32_t vks[] = {'A', 'A', 'B', 'B'};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i].vk, vks[i]) << i;
    EXPECT_EQ(calls[i].message, messages[i]) << i;
    EXPECT_NE(calls[i].extra & TENVORA_PASSED, 0) << i;
  }
}

// The owner thread waits inside SendMessage for another thread's window: the callbacks
// must still run, on the owner thread, and answer in time. The other thread keeps
// the owner waiting until the injector has sent every key and ended.
constexpr UINT WM_BE_BUSY = WM_APP + 7;

LRESULT CALLBACK BusyWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_BE_BUSY) return WaitForSingleObject(reinterpret_cast<HANDLE>(lParam), 60000) == WAIT_OBJECT_0;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST_F(TenvoraHook, CallbacksRunWhileTheOwnerThreadWaitsInSendMessage) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = BusyWindowProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"TenvoraTestBusy";
  RegisterClassExW(&cls);
  std::atomic<HWND> busy{nullptr};
  std::atomic<bool> stop{false};
  std::thread other([&] {
    HWND wnd = CreateWindowExW(0, L"TenvoraTestBusy", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    busy = wnd;
    MSG msg;
    while (!stop) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
    DestroyWindow(wnd);
  });
  WaitFor([&] { return busy.load() != nullptr; }, 5s);
  ASSERT_TRUE(busy.load());

  Take({'A'});
  Injector injector({L"d65:30", L"u65:30", L"d66:48", L"u66:48"});
  ASSERT_TRUE(injector.started());
  ASSERT_TRUE(SetHook());
  injector.Go();
  EXPECT_EQ(SendMessageW(busy, WM_BE_BUSY, 0, reinterpret_cast<LPARAM>(injector.process())), 1)
      << "the injector did not end while we waited";
  const auto callsDuringTheWait = Calls();
  const InjectorLog log = injector.Finish();
  stop = true;
  other.join();
  // Every key was answered inside the wait: none of them came marked as passed.
  ASSERT_EQ(callsDuringTheWait.size(), 4u);
  for (const auto& call : callsDuringTheWait) {
    EXPECT_EQ(call.thread, GetCurrentThreadId());
    EXPECT_EQ(call.extra & TENVORA_PASSED, 0) << "key " << call.vk << " waited in vain";
  }
  EXPECT_EQ(log.vks(), (std::vector<uint32_t>{'B', 'B'}));
}

TEST_F(TenvoraHook, DisableMouseSwallowsMouseInputUntilReleased) {
  struct Case {
    int32_t disable;
    bool mouseArrives;
  } cases[] = {{1, false}, {0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.disable);
    Injector injector({L"m", L"b", L"m"});
    ASSERT_TRUE(injector.started());
    Tenvora().disableMouse(c.disable);
    injector.Go();
    const InjectorLog log = injector.Finish();
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_EQ(log.mouseEvents, c.mouseArrives ? 4 : 0) << "what the injector saw:\n" << log.text;
  }
}

}  // namespace
