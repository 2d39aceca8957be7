#include "core/settings/SafeFile.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Win.h"

bool WriteSafeFileTemporary(const std::filesystem::path& target, std::string_view bytes) {
  const std::filesystem::path tmp = SafeFileTemporaryPath(target);
  bool ok = true;
  {
    const TUniqueHandle f(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f.get() == INVALID_HANDLE_VALUE) return false;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
      const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!WriteFile(f.get(), p, chunk, &written, nullptr) || written == 0) {
        ok = false;
        break;
      }
      p += written;
      left -= written;
    }
    if (ok && !FlushFileBuffers(f.get())) ok = false;
  }
  if (!ok) DeleteFileW(tmp.c_str());
  return ok;
}

bool CommitSafeFileTemporary(const std::filesystem::path& target) {
  const std::filesystem::path tmp = SafeFileTemporaryPath(target);
  return MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
