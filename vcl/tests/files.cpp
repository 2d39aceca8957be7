#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "testing/TempDir.h"
#include "vcl/SysUtils.h"

namespace {

using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

String S(const std::filesystem::path& p) { return p.wstring(); }

// Name -> attributes of every entry the search gives.
std::map<String, int> Listing(const String& path, int attr, int* firstResult = nullptr) {
  std::map<String, int> out;
  TSearchRec rec;
  int r = FindFirst(path, attr, rec);
  if (firstResult) *firstResult = r;
  while (r == 0) {
    out[rec.Name] = rec.Attr;
    r = FindNext(rec);
  }
  FindClose(rec);
  return out;
}

TEST(Files, ExistsCreateDeleteRename) {
  TempDir dir("files");
  const String file = S(dir / "a.txt");
  const String sub = S(dir / "sub");
  WriteFileBytes(dir / "a.txt", "12345");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(FileExists(S(dir.path())));
  EXPECT_TRUE(DirectoryExists(S(dir.path())));
  EXPECT_TRUE(DirectoryExists(IncludeTrailingPathDelimiter(S(dir.path()))));
  EXPECT_FALSE(FileExists(L""));
  EXPECT_FALSE(DirectoryExists(L""));

  EXPECT_TRUE(CreateDir(sub));
  EXPECT_FALSE(CreateDir(sub)) << "an existing folder is not created again";
  EXPECT_TRUE(DirectoryExists(sub));

  const String moved = S(dir / "b.txt");
  EXPECT_TRUE(RenameFile(file, moved));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(moved));
  WriteFileBytes(dir / "c.txt", "c");
  EXPECT_FALSE(RenameFile(moved, S(dir / "c.txt"))) << "never replaces a file";
  EXPECT_EQ(qorn::testing::ReadFileBytes(dir / "c.txt"), "c");

  EXPECT_FALSE(DeleteFile(sub)) << "DeleteFile removes files only";
  EXPECT_TRUE(DeleteFile(moved));
  EXPECT_FALSE(DeleteFile(moved));
  EXPECT_TRUE(RemoveDir(sub));
  EXPECT_FALSE(DirectoryExists(sub));
}

TEST(Files, ForceDirectoriesMakesEveryParent) {
  TempDir dir("files");
  const String deep = S(dir / "x" / "y" / "z");
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(IncludeTrailingPathDelimiter(deep))) << "an existing folder is fine";
  EXPECT_TRUE(ForceDirectories(S(dir / "x" / "w") + PathDelim));
  EXPECT_TRUE(DirectoryExists(S(dir / "x" / "w")));
  EXPECT_FALSE(ForceDirectories(L""));
  WriteFileBytes(dir / "file", "");
  EXPECT_FALSE(ForceDirectories(S(dir / "file" / "below"))) << "a file in the way";
}

TEST(Files, FindFirstFiltersByMaskAndAttributes) {
  TempDir dir("find");
  WriteFileBytes(dir / "one.txt", "1");
  WriteFileBytes(dir / "TWO.TXT", "22");
  WriteFileBytes(dir / "three.bmp", "333");
  WriteFileBytes(dir / "noext", "");
  std::filesystem::create_directory(dir / "folder.txt");
  const String base = IncludeTrailingPathDelimiter(S(dir.path()));

  EXPECT_EQ(Listing(base + L"*.txt", faAnyFile & ~faDirectory).size(), 2u) << "folders are left out unless asked";
  const auto withDirs = Listing(base + L"*.txt", faAnyFile);
  ASSERT_EQ(withDirs.size(), 3u);
  EXPECT_TRUE(withDirs.at(L"folder.txt") & faDirectory);
  EXPECT_FALSE(withDirs.at(L"one.txt") & faDirectory);

  const auto all = Listing(base + L"*.*", faAnyFile);
  EXPECT_EQ(all.size(), 7u) << "every name, with and without a dot, and . and ..";
  EXPECT_TRUE(all.count(L"noext"));
  EXPECT_TRUE(all.at(L".") & faDirectory);
  EXPECT_TRUE(all.at(L"..") & faDirectory);

  EXPECT_EQ(Listing(base + L"t?o.txt", 0).size(), 1u) << "case does not matter";

  TSearchRec rec;
  ASSERT_EQ(FindFirst(base + L"three.*", 0, rec), 0);
  EXPECT_EQ(rec.Name, L"three.bmp");
  EXPECT_EQ(rec.Size, 3);
  EXPECT_NE(FindNext(rec), 0);
  FindClose(rec);

  int first = 0;
  EXPECT_TRUE(Listing(base + L"*.none", faAnyFile, &first).empty());
  EXPECT_NE(first, 0);
  EXPECT_TRUE(Listing(base + L"missing" + PathDelim + L"*", faAnyFile, &first).empty());
  EXPECT_NE(first, 0);
}

}  // namespace
