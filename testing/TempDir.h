// A private temporary folder for one test, removed with everything in it.
#pragma once
#include <filesystem>
#include <string>

namespace qorn::testing {

class TempDir {
 public:
  explicit TempDir(const std::string& tag = "test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace qorn::testing
