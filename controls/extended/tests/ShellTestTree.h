// A private folder tree under C:\ for tests of the real shell (wine's shell32): the
// shell is asked only about it, never about the Linux tree behind Z:. Removed with
// everything in it.
#pragma once
#include <gtest/gtest.h>

#include "controls/extended/VyShellUtils.h"
#include "testing/TempDir.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace Vy::testing {

class TShellTestTree {
 public:
  explicit TShellTestTree(const std::string& tag) : dir_(tag) {
    EXPECT_EQ(Root().substr(0, 3), L"C:\\") << "the temporary tree must lie under C:\\";
  }
  std::wstring Root() const { return dir_.path().wstring(); }
  std::wstring Path(const std::wstring& relative) const { return (dir_.path() / relative).wstring(); }
  std::wstring Folder(const std::wstring& relative) const {
    std::filesystem::create_directories(dir_.path() / relative);
    return Path(relative);
  }
  std::wstring File(const std::wstring& relative, const std::string& bytes = "x") const {
    std::filesystem::create_directories((dir_.path() / relative).parent_path());
    std::ofstream(dir_.path() / relative, std::ios::binary) << bytes;
    return Path(relative);
  }
  TIdList IdList(const std::wstring& relative) const {
    TIdList list;
    EXPECT_EQ(PathToIdList(Path(relative), list), S_OK) << Path(relative);
    return list;
  }
  // The list of a child of the root, relative to the root folder.
  TIdList Child(const std::wstring& name) const {
    const TIdList root = IdList(L""), absolute = IdList(name);
    if (!root || !absolute) return nullptr;
    return CopyIdList(reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const std::uint8_t*>(absolute.get()) +
                                                          IdListSize(root.get()) - 2));
  }

 private:
  qorn::testing::TempDir dir_;
};

}  // namespace Vy::testing
