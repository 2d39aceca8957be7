#include <gtest/gtest.h>

#include <chrono>

#include "vcl/Registry.h"
#include "vcl/SysUtils.h"

namespace {

// A private key under HKCU, deleted with everything in it afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = L"Software\\QornTests\\registry-" +
           IntToStr(static_cast<std::int64_t>(GetCurrentProcessId())) + L"-" +
           IntToStr(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    HKEY parent;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QornTests", 0, KEY_READ, &parent) == ERROR_SUCCESS) {
      DWORD subKeys = 1;
      RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
      RegCloseKey(parent);
      if (subKeys == 0) RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QornTests");
    }
  }
  String path;
};

TEST_F(RegistryTest, CreateWriteReadDelete) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.KeyExists(L"\\" + path));
  EXPECT_FALSE(reg.OpenKey(L"\\" + path, false)) << "no key without CanCreate";
  ASSERT_TRUE(reg.OpenKey(L"\\" + path, true));
  EXPECT_EQ(reg.CurrentPath(), path);
  reg.WriteString(L"Qorn", L"\"C:\\Qorn\\Qorn.exe\"");
  reg.WriteString(L"Cyrillic", L"\u041F\u0440\u0438\u0432\u0435\u0442");
  reg.WriteString(L"", L"default value");
  reg.WriteInteger(L"Count", -5);
  reg.WriteBool(L"On", true);
  reg.CloseKey();

  TRegistry reader;
  ASSERT_TRUE(reader.OpenKeyReadOnly(L"\\" + path));
  EXPECT_EQ(reader.ReadString(L"Qorn"), L"\"C:\\Qorn\\Qorn.exe\"");
  EXPECT_EQ(reader.ReadString(L"Cyrillic"), L"\u041F\u0440\u0438\u0432\u0435\u0442");
  EXPECT_EQ(reader.ReadString(L""), L"default value");
  EXPECT_EQ(reader.ReadString(L"absent"), L"");
  EXPECT_EQ(reader.ReadInteger(L"Count"), -5);
  EXPECT_TRUE(reader.ReadBool(L"On"));
  EXPECT_TRUE(reader.ValueExists(L"Qorn"));
  EXPECT_FALSE(reader.ValueExists(L"absent"));
  EXPECT_EQ(reader.GetDataSize(L"Count"), 4);
  EXPECT_EQ(reader.GetDataSize(L"absent"), -1);
  EXPECT_THROW(reader.WriteString(L"x", L"y"), ERegistryException) << "opened read-only";

  ASSERT_TRUE(reg.OpenKey(L"\\" + path, false));
  EXPECT_TRUE(reg.DeleteValue(L"Qorn"));
  EXPECT_FALSE(reg.DeleteValue(L"Qorn"));
  EXPECT_FALSE(reg.ValueExists(L"Qorn"));
}

TEST_F(RegistryTest, WrongTypesAndAbsentValuesRaise) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\" + path, true));
  reg.WriteString(L"text", L"12");
  reg.WriteInteger(L"number", 12);
  const BYTE bytes[] = {1, 2, 3, 4, 5};
  ASSERT_EQ(RegSetValueExW(reg.CurrentKey(), L"blob", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
  struct Case {
    const char* what;
    std::function<void()> call;
    const wchar_t* message;
  };
  const std::vector<Case> cases = {
      {"integer of text", [&] { reg.ReadInteger(L"text"); }, L"Invalid data type for 'text'"},
      {"text of a number", [&] { reg.ReadString(L"number"); }, L"Invalid data type for 'number'"},
      {"absent integer", [&] { reg.ReadInteger(L"none"); }, L"Failed to get data for 'none'"},
      {"integer of binary", [&] { reg.ReadInteger(L"blob"); }, L"Invalid data type for 'blob'"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  BYTE out[8] = {};
  EXPECT_EQ(reg.ReadBinaryData(L"blob", out, sizeof out), 5);
  EXPECT_EQ(out[4], 5);
  EXPECT_EQ(reg.ReadBinaryData(L"blob", out, 2), 2) << "never past the buffer";
  EXPECT_EQ(reg.GetDataSize(L"blob"), 5);
}

TEST_F(RegistryTest, RelativeKeysNamesAndTreeDeletion) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\" + path, true));
  ASSERT_TRUE(reg.OpenKey(L"child\\grandchild", true)) << "relative to the open key";
  EXPECT_EQ(reg.CurrentPath(), path + L"\\child\\grandchild");
  reg.WriteString(L"v", L"1");
  ASSERT_TRUE(reg.OpenKey(L"\\" + path, false));
  ASSERT_TRUE(reg.OpenKey(L"second", true));
  ASSERT_TRUE(reg.OpenKey(L"\\" + path, false));
  reg.WriteString(L"a", L"");
  reg.WriteInteger(L"b", 1);

  TStringList keys, values;
  reg.GetKeyNames(keys);
  keys.Sort();
  EXPECT_EQ(keys.CommaText(), L"child,second");
  reg.GetValueNames(values);
  values.Sort();
  EXPECT_EQ(values.CommaText(), L"a,b");

  EXPECT_TRUE(reg.KeyExists(L"child\\grandchild"));
  EXPECT_TRUE(reg.DeleteKey(L"child")) << "a key with sub-keys goes whole";
  EXPECT_FALSE(reg.KeyExists(L"child"));
  EXPECT_TRUE(reg.KeyExists(L"second"));
  EXPECT_FALSE(reg.DeleteKey(L"child"));
  EXPECT_FALSE(reg.DeleteKey(L"")) << "never the open key itself";
}

TEST_F(RegistryTest, AnotherRootAndTheThirtyTwoBitView) {
  const String key = L"\\Software\\Microsoft\\Windows\\CurrentVersion";
  TRegistry native(KEY_READ | KEY_WOW64_64KEY);
  native.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(native.OpenKeyReadOnly(key));
  const String programs64 = native.ReadString(L"ProgramFilesDir");
  EXPECT_FALSE(programs64.empty());
  // The 32-bit programs' view keeps its own value (or none at all).
  TRegistry wow(KEY_READ | KEY_WOW64_32KEY);
  wow.SetRootKey(HKEY_LOCAL_MACHINE);
  const String programs32 = wow.OpenKeyReadOnly(key) ? wow.ReadString(L"ProgramFilesDir") : String();
  EXPECT_NE(programs32, programs64);
  native.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_EQ(native.CurrentKey(), nullptr) << "changing the root closes the key";
}

}  // namespace
