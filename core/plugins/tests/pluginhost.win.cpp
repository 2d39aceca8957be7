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
      if (fs::path(host.table().entries[i].path.str()) == lib) return &host.table().entries[i];
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
  const fs::path paths[3] = {host.table().entries[0].path.str(), host.table().entries[1].path.str(),
                             host.table().entries[2].path.str()};
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
  EXPECT_EQ(host.QueryText(fake.string(), "GetVer").value_or("?"), "1.2");
  EXPECT_EQ(host.QueryText(fake.string(), "GetAuthor").value_or("?"), "Tests");
  EXPECT_EQ(host.QueryByte(fake.string(), "IsHaveSettings").value_or(9), 1);
  EXPECT_FALSE(host.QueryText(refusing.string(), "GetVer"));
  EXPECT_FALSE(host.QueryByte(refusing.string(), "IsHaveSettings"));
  EXPECT_FALSE(host.QueryText((plugins / "missing.dll").string(), "GetName"));
  EXPECT_EQ(GetModuleHandleW(fake.wstring().c_str()), nullptr) << "a query frees the library again";
}

TEST_F(PluginHostTest, DisableOfANeverEnabledPluginLoadsItFirst) {
  const auto fake = Add("fakeplugin", "a.dll");
  auto host = Host();
  EXPECT_TRUE(host.DisablePlugin(fake.string(), nullptr));
  EXPECT_EQ(Calls(fake, 1), 1);
  EXPECT_FALSE(host.DisablePlugin((plugins / "missing.dll").string(), nullptr));
}

}  // namespace
