#include "testing/TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

namespace qorn::testing {

TempDir::TempDir(const std::string& tag) {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("qorn-" + tag + "-" + std::to_string(rd()) + "-" + std::to_string(stamp % 1000000) + "-" +
           std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qorn::testing
