// The native build's file stream: POSIX file descriptors.
#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "vcl/Exceptions.h"
#include "vcl/Streams.h"

TFileStream::TFileStream(const String& fileName, unsigned mode) : fileName_(fileName), handle_(-1) {
  const std::string path = StringToUtf8(fileName);
  int fd;
  if ((mode & fmCreate) == fmCreate) {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError(SFCreateError, {fileName, SysErrorMessage(static_cast<std::uint32_t>(errno))});
  } else {
    const unsigned access = mode & 3;
    const int flags = access == fmOpenWrite ? O_WRONLY : (access == fmOpenReadWrite ? O_RDWR : O_RDONLY);
    fd = ::open(path.c_str(), flags | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      fd = -1;
      errno = EISDIR;
    }
    if (fd < 0) throw EFOpenError(SFOpenError, {fileName, SysErrorMessage(static_cast<std::uint32_t>(errno))});
  }
  handle_ = fd;
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(static_cast<int>(handle_), static_cast<char*>(buffer) + done,
                             static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(static_cast<int>(handle_), static_cast<const char*>(buffer) + done,
                              static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : (origin == soCurrent ? SEEK_CUR : SEEK_END);
  return ::lseek(static_cast<int>(handle_), offset, whence);
}

void TFileStream::SetSize(std::int64_t size) {
  if (::ftruncate(static_cast<int>(handle_), size) != 0) RaiseLastOSError();
  if (Position() > size) Seek(size, soBeginning);
}
#endif
