// The native build's file and locale routines: std::filesystem and fixed rules
// instead of the system's.
#ifndef _WIN32
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "vcl/SysUtils.h"

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const String& s) { return fs::path(StringToUtf8(s)); }

// Simple case mapping of the scripts our texts use (Latin, Greek, Cyrillic).
wchar_t UpperChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if (u >= 'a' && u <= 'z') return static_cast<wchar_t>(u - 32);
  if ((u >= 0xE0 && u <= 0xFE && u != 0xF7)) return static_cast<wchar_t>(u - 32);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x137 && (u & 1)) return static_cast<wchar_t>(u - 1);
  if (u >= 0x139 && u <= 0x148 && !(u & 1)) return static_cast<wchar_t>(u - 1);
  if (u >= 0x14A && u <= 0x177 && (u & 1)) return static_cast<wchar_t>(u - 1);
  if (u >= 0x179 && u <= 0x17E && !(u & 1)) return static_cast<wchar_t>(u - 1);
  if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<wchar_t>(u - 32);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 32);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 80);
  if (u >= 0x460 && u <= 0x4FF && (u & 1) && !(u >= 0x482 && u <= 0x489)) return static_cast<wchar_t>(u - 1);
  return c;
}

wchar_t LowerChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<wchar_t>(u + 32);
  if ((u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<wchar_t>(u + 32);
  if (u == 0x178) return static_cast<wchar_t>(0xFF);
  if (u >= 0x100 && u <= 0x137 && !(u & 1)) return static_cast<wchar_t>(u + 1);
  if (u >= 0x139 && u <= 0x148 && (u & 1)) return static_cast<wchar_t>(u + 1);
  if (u >= 0x14A && u <= 0x177 && !(u & 1)) return static_cast<wchar_t>(u + 1);
  if (u >= 0x179 && u <= 0x17E && (u & 1)) return static_cast<wchar_t>(u + 1);
  if (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) return static_cast<wchar_t>(u + 32);
  if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 32);
  if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 80);
  if (u >= 0x460 && u <= 0x4FF && !(u & 1) && !(u >= 0x482 && u <= 0x489)) return static_cast<wchar_t>(u + 1);
  return c;
}

// Windows wild cards: "*" any run, "?" one character, without regard to case;
// "*.*" matches names without a dot too.
bool WildMatch(const String& mask, const String& name) {
  if (mask == L"*.*") return true;
  std::size_t m = 0, n = 0, starM = String::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == L'?' || UpperChar(mask[m]) == UpperChar(name[n]))) {
      ++m, ++n;
    } else if (m < mask.size() && mask[m] == L'*') {
      starM = m++, starN = n;
    } else if (starM != String::npos) {
      m = starM + 1, n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == L'*') ++m;
  return m == mask.size();
}

constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorNoMoreFiles = 18;

struct Entry {
  String name;
  int attr;
  std::int64_t size;
};

}  // namespace

class TFindHandle {
 public:
  std::vector<Entry> entries;
  std::size_t next = 0;
};

void TFindHandleCloser::operator()(TFindHandle* handle) const { delete handle; }

String AnsiUpperCase(const String& s) {
  String out(s);
  for (auto& c : out) c = UpperChar(c);
  return out;
}
String AnsiLowerCase(const String& s) {
  String out(s);
  for (auto& c : out) c = LowerChar(c);
  return out;
}
int AnsiCompareStr(const String& a, const String& b) { return CompareStr(a, b); }
int AnsiCompareText(const String& a, const String& b) { return CompareStr(AnsiUpperCase(a), AnsiUpperCase(b)); }

bool FileExists(const String& fileName) {
  std::error_code ec;
  return !fileName.empty() && fs::is_regular_file(ToPath(fileName), ec);
}
bool DirectoryExists(const String& dir) {
  std::error_code ec;
  return !dir.empty() && fs::is_directory(ToPath(dir), ec);
}
bool CreateDir(const String& dir) {
  std::error_code ec;
  return !dir.empty() && fs::create_directory(ToPath(dir), ec);
}
bool DeleteFile(const String& fileName) {
  std::error_code ec;
  return FileExists(fileName) && fs::remove(ToPath(fileName), ec);
}
bool RemoveDir(const String& dir) {
  std::error_code ec;
  return DirectoryExists(dir) && fs::is_empty(ToPath(dir), ec) && fs::remove(ToPath(dir), ec);
}
bool RenameFile(const String& oldName, const String& newName) {
  std::error_code ec;
  // The system's MoveFile never replaces an existing file.
  if (fs::exists(ToPath(newName), ec)) return false;
  fs::rename(ToPath(oldName), ToPath(newName), ec);
  return !ec;
}

namespace {
int NextMatch(TSearchRec& rec) {
  TFindHandle* h = rec.FindHandle.get();
  while (h && h->next < h->entries.size()) {
    const Entry& e = h->entries[h->next++];
    if (e.attr & rec.ExcludeAttr) continue;
    rec.Name = e.name;
    rec.Attr = e.attr;
    rec.Size = e.size;
    return 0;
  }
  return kErrorNoMoreFiles;
}
}  // namespace

int FindFirst(const String& path, int attr, TSearchRec& rec) {
  FindClose(rec);
  const String dir = ExtractFilePath(path);
  const String mask = ExtractFileName(path);
  const fs::path folder = ToPath(dir.empty() ? String(L".") : dir);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return kErrorPathNotFound;
  auto handle = std::make_unique<TFindHandle>();
  for (const wchar_t* dot : {L".", L".."})
    if (WildMatch(mask, dot)) handle->entries.push_back({dot, faDirectory, 0});
  std::vector<Entry> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const String name = Utf8ToString(it->path().filename().string());
    if (!WildMatch(mask, name)) continue;
    std::error_code e2;
    const bool isDir = it->is_directory(e2);
    int a = isDir ? faDirectory : faArchive;
    const auto perms = it->status(e2).permissions();
    if ((perms & fs::perms::owner_write) == fs::perms::none) a |= faReadOnly;
    const std::int64_t size = isDir ? 0 : static_cast<std::int64_t>(it->file_size(e2));
    found.push_back({name, a, e2 ? 0 : size});
  }
  // The system lists in no promised order; a sorted listing keeps tests stable.
  std::sort(found.begin(), found.end(), [](const Entry& x, const Entry& y) { return x.name < y.name; });
  handle->entries.insert(handle->entries.end(), found.begin(), found.end());
  rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  rec.FindHandle.reset(handle.release());
  const bool anyMatch = !rec.FindHandle->entries.empty();
  const int r = NextMatch(rec);
  if (r != 0) {
    FindClose(rec);
    return anyMatch ? r : kErrorFileNotFound;
  }
  return 0;
}

int FindNext(TSearchRec& rec) { return NextMatch(rec); }

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }

#endif
