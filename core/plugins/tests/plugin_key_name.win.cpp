// Reading a plug-in's button name from a posted address: only our own readable
// memory, never past its end, at most 255 characters.
#include <gtest/gtest.h>

#include "core/mainwindow/MainForm.h"

#include <cstring>
#include <string>

namespace {
// Two pages: the first readable, the second not; text placed against the border.
struct Pages {
  char* base = nullptr;
  SYSTEM_INFO si{};
  Pages() {
    GetSystemInfo(&si);
    base = static_cast<char*>(VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(base + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old);
  }
  ~Pages() { VirtualFree(base, 0, MEM_RELEASE); }
  char* border() const { return base + si.dwPageSize; }
};
}  // namespace

TEST(PluginKeyName, ReadsNamesOfOurOwnMemory) {
  const char* text = "KEY_POWER";
  EXPECT_EQ(ReadPluginKeyName(reinterpret_cast<LPARAM>(text)), std::string("KEY_POWER"));
  std::string empty;
  EXPECT_EQ(ReadPluginKeyName(reinterpret_cast<LPARAM>(empty.c_str())), std::string());
  const std::string longName(400, 'x');
  EXPECT_EQ(ReadPluginKeyName(reinterpret_cast<LPARAM>(longName.c_str())), std::string(255, 'x'));
}

TEST(PluginKeyName, ForeignOrUnreadableAddressesAreIgnored) {
  Pages pages;
  ASSERT_NE(pages.base, nullptr);
  // Not our memory at all: null, the first page, a kernel address, a freed block.
  EXPECT_FALSE(ReadPluginKeyName(0));
  EXPECT_FALSE(ReadPluginKeyName(0x10));
  EXPECT_FALSE(ReadPluginKeyName(static_cast<LPARAM>(-4096)));
  EXPECT_FALSE(ReadPluginKeyName(reinterpret_cast<LPARAM>(pages.border())));
  // A text ending exactly at the border is read; one running into it is not.
  std::memcpy(pages.border() - 4, "abc", 4);
  EXPECT_EQ(ReadPluginKeyName(reinterpret_cast<LPARAM>(pages.border() - 4)), std::string("abc"));
  std::memset(pages.border() - 8, 'z', 8);
  EXPECT_FALSE(ReadPluginKeyName(reinterpret_cast<LPARAM>(pages.border() - 8)));
  char* freed = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  std::strcpy(freed, "gone");
  VirtualFree(freed, 0, MEM_RELEASE);
  EXPECT_FALSE(ReadPluginKeyName(reinterpret_cast<LPARAM>(freed)));
}

TEST(MainFormServices, FileSizeAndInstallationId) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring file = std::wstring(dir) + L"qorn_filesize_test.bin";
  HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, "12345", 5, &written, nullptr);
  CloseHandle(f);
  EXPECT_EQ(GetFileSize(file), 5);
  DeleteFileW(file.c_str());
  EXPECT_EQ(GetFileSize(file), -1);
  const std::string id = F_Genuid();
  ASSERT_EQ(id.size(), 35u);
  EXPECT_EQ(id.substr(0, 3), "01x");
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef", 3), std::string::npos) << id;
  EXPECT_EQ(F_Genuid(), id) << "the same machine gives the same id";
  EXPECT_GT(GetSystemFontSize(), 0);
}
