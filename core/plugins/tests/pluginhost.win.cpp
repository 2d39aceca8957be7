// The plug-in host over real libraries in a temporary "plugins" folder.
#include <gtest/gtest.h>

#include "core/plugins/PluginHost.h"
#include "testing/TempDir.h"
#include "vcl/Win.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

namespace {

fs::path TestDll(const char* name) { return fs::current_path() / "testdlls" / (std::string(name) + ".dll"); }

class PluginHostTest : public ::testing::Test {
 protected:
  TempDir dir{"plugins"};
  fs::path plugins = dir / "plugins";
  fs::path settings = dir / "settings";
  int hookRemoved = 0, hookSet = 0;
  std::vector<int> errors;
  std::vector<std::wstring> told;  // what the user was told of plug-ins left out

  void SetUp() override {
    fs::create_directories(plugins);
    fs::create_directories(settings);
  }
  // Copies a test library into the plug-in folder under a name of its own, so
  // each copy is a module with its own call counts.
  fs::path Add(const char* dll, const std::string& as) {
    const fs::path to = plugins / as;
    fs::copy_file(TestDll(dll), to);
    return to;
  }
  TPluginHost Host() {
    TPluginHost::Hooks h;
    h.removeKeyboardHook = [this] { ++hookRemoved; };
    h.setKeyboardHook = [this] { ++hookSet; return true; };
    h.errorMsg = [this](int k) { errors.push_back(k); };
    h.pluginFailed = [this](const std::wstring& text) { told.push_back(text); };
    return TPluginHost(plugins, settings, h);
  }
  static int Calls(const fs::path& lib, int which) {
    HMODULE m = GetModuleHandleW(lib.wstring().c_str());
    if (!m) return -1;  // not loaded at all
    auto count = reinterpret_cast<int(__stdcall*)(int)>(reinterpret_cast<void*>(GetProcAddress(m, "CallCount")));
    return count(which);
  }
  static const TPluginEntry* Find(const TPluginHost& host, const fs::path& lib) {
    for (std::size_t i = 0; i < host.table().count; ++i)
      if (fs::path(host.table().entries[i].path) == lib) return &host.table().entries[i];
    return nullptr;
  }
};

TEST_F(PluginHostTest, WithoutPluginsDbNothingIsEnabled) {
  const auto fake = Add("fakeplugin", "a.dll");
  Add("notaplugin", "b.dll");
  WriteFileBytes(plugins / "readme.txt", "not a library");
  auto host = Host();
  host.loadpluginslist();
  ASSERT_EQ(host.table().count, 1) << "only libraries that export GetName are plug-ins";
  EXPECT_EQ(host.table().entries[0].name.str(), "Fake Plugin");
  EXPECT_EQ(host.table().entries[0].enabled, 0);
  EXPECT_EQ(host.table().entries[0].loaded, 0);
  EXPECT_EQ(Calls(fake, 0), -1) << "a disabled plug-in is not left loaded";
}

TEST_F(PluginHostTest, PluginsDbEnablesByNameAndARefusalStaysOff) {
  const auto fake = Add("fakeplugin", "a.dll");
  const auto refusing = Add("refusingplugin", "r.dll");
  WriteFileBytes(settings / "plugins.db", "Fake Plugin =1\r\nRefusing Plugin =1\r\n");
  auto host = Host();
  host.loadpluginslist();
  ASSERT_EQ(host.table().count, 2);
  const auto* f = Find(host, fake);
  const auto* r = Find(host, refusing);
  ASSERT_TRUE(f && r);
  EXPECT_EQ(f->loaded, 1);
  EXPECT_NE(f->module, nullptr);
  EXPECT_EQ(Calls(fake, 0), 1);
  EXPECT_EQ(r->enabled, 1) << "the user's choice stays";
  EXPECT_EQ(r->loaded, 0) << "an Enable that says false leaves it not loaded";
  EXPECT_EQ(r->module, nullptr);
}

TEST_F(PluginHostTest, HoldsAtMostTwentyOnePlugins) {
  for (int i = 0; i < 25; ++i) Add("fakeplugin", "p" + std::to_string(i) + ".dll");
  auto host = Host();
  host.loadpluginslist();
  EXPECT_EQ(host.table().count, kMaxPlugins);
}

TEST_F(PluginHostTest, UntickingDisablesSavesAndKeepsTheLibraryLoaded) {
  const auto fake = Add("fakeplugin", "a.dll");
  WriteFileBytes(settings / "plugins.db", "Fake Plugin =1\r\n");
  auto host = Host();
  host.loadpluginslist();
  host.SetEnabled(0, false);
  EXPECT_EQ(Calls(fake, 1), 1) << "Disable was called";
  EXPECT_EQ(host.table().entries[0].loaded, 0);
  EXPECT_EQ(ReadFileBytes(settings / "plugins.db"), "Fake Plugin =0\r\n");
  EXPECT_NE(GetModuleHandleW(fake.wstring().c_str()), nullptr) << "a library whose threads may run is never freed";
  host.SetEnabled(0, true);
  EXPECT_EQ(Calls(fake, 0), 2);
  EXPECT_EQ(ReadFileBytes(settings / "plugins.db"), "Fake Plugin =1\r\n");
}

TEST_F(PluginHostTest, UnlockResumesOnlyWhatRanAndIsStillSwitchedOn) {
  const auto one = Add("fakeplugin", "one.dll");
  const auto two = Add("fakeplugin", "two.dll");
  const auto off = Add("fakeplugin", "off.dll");
  auto host = Host();
  host.loadpluginslist();
  // All three carry the same name; switch two of them on by hand.
  host.SetEnabled(0, true);
  host.SetEnabled(1, true);
  host.SetEnabled(2, false);
  const fs::path paths[3] = {host.table().entries[0].path, host.table().entries[1].path,
                             host.table().entries[2].path};
  host.DisableAllPlugins();
  EXPECT_EQ(hookRemoved, 1);
  EXPECT_TRUE(host.suspended());
  host.DisableAllPlugins();  // a second lock without an unlock does nothing
  EXPECT_EQ(hookRemoved, 1);
  EXPECT_EQ(Calls(paths[0], 1), 1);
  EXPECT_EQ(Calls(paths[1], 1), 1);

  host.SetEnabled(1, false);  // the user switches one off while locked
  host.ResumeAllPlugins();
  EXPECT_EQ(hookSet, 1);
  EXPECT_FALSE(host.suspended());
  EXPECT_EQ(Calls(paths[0], 0), 2) << "resumed";
  EXPECT_EQ(Calls(paths[1], 0), 1) << "switched off by the user: stays off after the unlock";
  EXPECT_EQ(host.table().entries[0].loaded, 1);
  EXPECT_EQ(host.table().entries[1].loaded, 0);
  EXPECT_EQ(host.table().entries[2].loaded, 0);
  (void)one, (void)two, (void)off;
}

TEST_F(PluginHostTest, QueriesReportMissingExports) {
  const auto fake = Add("fakeplugin", "a.dll");
  const auto refusing = Add("refusingplugin", "r.dll");
  auto host = Host();
  EXPECT_EQ(host.QueryText(fake, "GetVer").value_or("?"), "1.2");
  EXPECT_EQ(host.QueryText(fake, "GetAuthor").value_or("?"), "Tests");
  EXPECT_EQ(host.QueryByte(fake, "IsHaveSettings").value_or(9), 1);
  EXPECT_FALSE(host.QueryText(refusing, "GetVer"));
  EXPECT_FALSE(host.QueryByte(refusing, "IsHaveSettings"));
  EXPECT_FALSE(host.QueryText(plugins / "missing.dll", "GetName"));
  EXPECT_EQ(GetModuleHandleW(fake.wstring().c_str()), nullptr) << "a query frees the library again";
}

TEST_F(PluginHostTest, DisableOfANeverEnabledPluginLoadsItFirst) {
  const auto fake = Add("fakeplugin", "a.dll");
  auto host = Host();
  EXPECT_TRUE(host.DisablePlugin(fake, nullptr));
  EXPECT_EQ(Calls(fake, 1), 1);
  EXPECT_FALSE(host.DisablePlugin(plugins / "missing.dll", nullptr));
}

// Every way of being a bad plug-in: the host lives on, lists the library as left
// out, records it beside "plugins.db" and tells the user, once, which and why.
TEST_F(PluginHostTest, ABadPluginIsLeftOutRecordedAndToldOnce) {
  struct Case {
    const char* dll;
    const char* exportName;
    const char* what;
    const wchar_t* why;
  } cases[] = {
      {"crashingname", "GetName", "crash", L"GetName crashed"},
      {"crashingenable", "Enable", "crash", L"Enable crashed"},
      {"hangingname", "GetName", "hang", L"GetName did not return within 5 seconds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dll);
    // A folder pair each: a library that crashed stays loaded, so its file stays.
    plugins = dir / (std::string("plugins_") + c.dll);
    settings = dir / (std::string("settings_") + c.dll);
    fs::create_directories(plugins);
    fs::create_directories(settings);
    told.clear();
    const std::string file = std::string("bad_") + c.dll + ".dll";
    Add(c.dll, file);
    const auto fake = Add("fakeplugin", "good.dll");
    WriteFileBytes(settings / "plugins.db", "Crashing Enable =1\r\nFake Plugin =1\r\n");
    {
      auto host = Host();
      host.loadpluginslist();
      ASSERT_EQ(host.table().count, 2);
      const auto* bad = Find(host, plugins / file);
      ASSERT_NE(bad, nullptr);
      EXPECT_EQ(bad->failed, 1);
      EXPECT_EQ(bad->loaded, 0);
      EXPECT_EQ(bad->module, nullptr);
      EXPECT_EQ(Find(host, fake)->loaded, 1) << "the good plug-in beside it works";
      ASSERT_EQ(told.size(), 1u);
      EXPECT_NE(told[0].find(L"Can`t load plugin"), std::wstring::npos);
      EXPECT_NE(told[0].find(std::wstring(file.begin(), file.end()) + L": " + c.why), std::wstring::npos) << told[0];
      EXPECT_EQ(ReadFileBytes(settings / "pluginsfailed.db"), file + "\t" + c.exportName + "\t" + c.what + "\ttold\r\n");
      host.savepluginslist();
      EXPECT_EQ(ReadFileBytes(settings / "plugins.db"), "Fake Plugin =1\r\n") << "the format of the good ones stays";
    }
    told.clear();
    auto again = Host();
    again.loadpluginslist();
    EXPECT_EQ(again.table().count, 2);
    EXPECT_EQ(Find(again, plugins / file)->failed, 1) << "the next start leaves it out";
    EXPECT_TRUE(told.empty()) << "and does not tell again";
    again.UnloadPluginList();
  }
}

TEST_F(PluginHostTest, AnOverrunRecordedByTheWatchdogIsToldAtTheNextStart) {
  Add("fakeplugin", "slow.dll");
  WriteFileBytes(settings / "pluginsfailed.db", "slow.dll\tDisable\thang\tnew\r\n");
  auto host = Host();
  host.loadpluginslist();
  ASSERT_EQ(host.table().count, 1);
  EXPECT_EQ(host.table().entries[0].failed, 1);
  EXPECT_EQ(Calls(plugins / "slow.dll", 0), -1) << "never even loaded";
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(L"slow.dll: Disable did not return within 5 seconds"), std::wstring::npos) << told[0];
  EXPECT_EQ(ReadFileBytes(settings / "pluginsfailed.db"), "slow.dll\tDisable\thang\ttold\r\n");
}

TEST_F(PluginHostTest, SwitchingALeftOutPluginOnAgainGivesItAFreshTry) {
  const auto fake = Add("fakeplugin", "a.dll");
  Add("crashingenable", "c.dll");
  WriteFileBytes(settings / "pluginsfailed.db", "A.DLL\tEnable\tcrash\ttold\r\nc.dll\tGetName\thang\ttold\r\n");
  auto host = Host();
  host.loadpluginslist();
  ASSERT_EQ(host.table().count, 2);
  const auto i = static_cast<std::size_t>(Find(host, fake) - &host.table().entries[0]);
  host.SetEnabled(i, true);
  EXPECT_EQ(host.table().entries[i].failed, 0);
  EXPECT_EQ(host.table().entries[i].name.str(), "Fake Plugin");
  EXPECT_EQ(host.table().entries[i].loaded, 1);
  EXPECT_EQ(Calls(fake, 0), 1);
  EXPECT_NE(ReadFileBytes(settings / "plugins.db").find("Fake Plugin =1\r\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(settings / "pluginsfailed.db"), "c.dll\tGetName\thang\ttold\r\n");

  // One that is still bad fails again and says so again.
  const auto j = 1 - i;
  host.SetEnabled(j, true);
  EXPECT_EQ(host.table().entries[j].failed, 1);
  EXPECT_EQ(host.table().entries[j].loaded, 0);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(L"c.dll: Enable crashed"), std::wstring::npos) << told[0];
}

}  // namespace
