#include "vcl/SysUtils.h"

#include "vcl/Win.h"

String AnsiUpperCase(const String& s) {
  String out(s);
  if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}
String AnsiLowerCase(const String& s) {
  String out(s);
  if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

namespace {
int Compare(const String& a, const String& b, DWORD flags) {
  const int r = CompareStringW(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                               static_cast<int>(b.size()));
  return r - CSTR_EQUAL;  // CSTR_LESS_THAN (1), CSTR_EQUAL (2), CSTR_GREATER_THAN (3)
}
}  // namespace

int AnsiCompareStr(const String& a, const String& b) { return Compare(a, b, 0); }
int AnsiCompareText(const String& a, const String& b) { return Compare(a, b, NORM_IGNORECASE); }

bool FileExists(const String& fileName) {
  const DWORD a = GetFileAttributesW(fileName.c_str());
  return !fileName.empty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool DirectoryExists(const String& dir) {
  const DWORD a = GetFileAttributesW(dir.c_str());
  return !dir.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
bool CreateDir(const String& dir) { return !dir.empty() && CreateDirectoryW(dir.c_str(), nullptr); }
bool DeleteFile(const String& fileName) { return !fileName.empty() && DeleteFileW(fileName.c_str()); }
bool RemoveDir(const String& dir) { return !dir.empty() && RemoveDirectoryW(dir.c_str()); }
bool RenameFile(const String& oldName, const String& newName) {
  return MoveFileW(oldName.c_str(), newName.c_str()) != 0;
}

class TFindHandle {
 public:
  explicit TFindHandle(HANDLE h) : handle(h) {}
  ~TFindHandle() { ::FindClose(handle); }
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  const HANDLE handle;
};

void TFindHandleCloser::operator()(TFindHandle* handle) const { delete handle; }

namespace {
// Fills rec from the data, or steps on while the entry has an excluded attribute.
int Accept(TSearchRec& rec, WIN32_FIND_DATAW& data) {
  while (data.dwFileAttributes & static_cast<DWORD>(rec.ExcludeAttr)) {
    if (!FindNextFileW(rec.FindHandle->handle, &data)) return static_cast<int>(GetLastError());
  }
  rec.Name = data.cFileName;
  rec.Attr = static_cast<int>(data.dwFileAttributes);
  rec.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return 0;
}
}  // namespace

int FindFirst(const String& path, int attr, TSearchRec& rec) {
  FindClose(rec);
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  WIN32_FIND_DATAW data{};
  const HANDLE h = FindFirstFileW(path.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  rec.FindHandle.reset(new TFindHandle(h));
  const int r = Accept(rec, data);
  if (r != 0) FindClose(rec);
  return r;
}

int FindNext(TSearchRec& rec) {
  if (!rec.FindHandle) return ERROR_NO_MORE_FILES;
  WIN32_FIND_DATAW data{};
  if (!FindNextFileW(rec.FindHandle->handle, &data)) return static_cast<int>(GetLastError());
  return Accept(rec, data);
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }
