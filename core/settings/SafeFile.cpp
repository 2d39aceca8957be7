#include "core/settings/SafeFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#endif

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::size_t maxBytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[16384];
  while (bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
    in.read(buffer, static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got > 0) bytes.append(buffer, static_cast<std::size_t>(got));
    if (!in) break;
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::filesystem::path SafeFileTemporaryPath(const std::filesystem::path& target) {
  std::filesystem::path tmp = target;
  tmp += ".new";
  return tmp;
}

bool WriteWholeFileSafely(const std::filesystem::path& target, std::string_view bytes) {
  return WriteSafeFileTemporary(target, bytes) && CommitSafeFileTemporary(target);
}

#ifndef _WIN32
// Windows has its own pair in SafeFile.win.cpp (MoveFileExW with write-through).

bool WriteSafeFileTemporary(const std::filesystem::path& target, std::string_view bytes) {
  const std::filesystem::path tmp = SafeFileTemporaryPath(target);
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool CommitSafeFileTemporary(const std::filesystem::path& target) {
  const std::filesystem::path tmp = SafeFileTemporaryPath(target);
  if (std::rename(tmp.c_str(), target.c_str()) != 0) return false;
  // The rename itself is durable only once the folder entry is on the disk.
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}
#endif
