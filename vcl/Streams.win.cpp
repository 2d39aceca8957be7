#include <algorithm>

#include "vcl/SysUtils.h"
#include "vcl/Exceptions.h"
#include "vcl/Streams.h"
#include "vcl/Win.h"

namespace {
HANDLE H(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

DWORD ShareOf(unsigned mode) {
  switch (mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0;  // the compatibility mode shares nothing
  }
}
}  // namespace

TFileStream::TFileStream(const String& fileName, unsigned mode)
    : fileName_(fileName), handle_(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE)) {
  HANDLE h;
  if ((mode & fmCreate) == fmCreate) {
    h = CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFCreateError(SFCreateError, {fileName, SysErrorMessage(GetLastError())});
  } else {
    const unsigned access = mode & 3;
    const DWORD rights = access == fmOpenWrite ? GENERIC_WRITE
                         : access == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                     : GENERIC_READ;
    h = CreateFileW(fileName.c_str(), rights, ShareOf(mode), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    if (h == INVALID_HANDLE_VALUE) throw EFOpenError(SFOpenError, {fileName, SysErrorMessage(GetLastError())});
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
}

TFileStream::~TFileStream() {
  if (H(handle_) != INVALID_HANDLE_VALUE) CloseHandle(H(handle_));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(count - done, 1 << 30));
    if (!ReadFile(H(handle_), static_cast<char*>(buffer) + done, want, &n, nullptr) || n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(count - done, 1 << 30));
    if (!WriteFile(H(handle_), static_cast<const char*>(buffer) + done, want, &n, nullptr) || n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  LARGE_INTEGER d, r;
  d.QuadPart = offset;
  const DWORD method = origin == soBeginning ? FILE_BEGIN : (origin == soCurrent ? FILE_CURRENT : FILE_END);
  if (!SetFilePointerEx(H(handle_), d, &r, method)) return -1;
  return r.QuadPart;
}

void TFileStream::SetSize(std::int64_t size) {
  const std::int64_t here = Position();
  Seek(size, soBeginning);
  if (!SetEndOfFile(H(handle_))) RaiseLastOSError();
  Seek(std::min(here, size), soBeginning);
}

TResourceStream::TResourceStream(void* instance, const wchar_t* resName, const wchar_t* resType) {
  const auto module = static_cast<HMODULE>(instance);
  HRSRC info = FindResourceW(module, resName, resType);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  if (!data) {
    const String name = IS_INTRESOURCE(resName) ? IntToStr(reinterpret_cast<std::uintptr_t>(resName)) : resName;
    throw EResNotFound(SResNotFound, {name});
  }
  SetPointer(LockResource(data), SizeofResource(module, info));
}

std::int64_t TResourceStream::Write(const void*, std::int64_t) {
  throw EStreamError(L"Can't write to a read-only resource stream");
}

void TResourceStream::SetSize(std::int64_t) { throw EStreamError(L"Can't write to a read-only resource stream"); }
