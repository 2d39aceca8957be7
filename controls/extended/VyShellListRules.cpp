#include "controls/extended/VyShellListRules.h"

#include <algorithm>
#include <cwctype>

namespace Vy {

namespace {

std::wstring Trim(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

bool MatchAt(const wchar_t* name, const wchar_t* mask) {
  // Iterative with one back-up point: a "*" retried one character further each time.
  const wchar_t* starMask = nullptr;
  const wchar_t* starName = nullptr;
  while (*name) {
    if (*mask == L'*') {
      starMask = ++mask;
      starName = name;
    } else if (*mask == L'?' || (*mask && Fold(*mask) == Fold(*name))) {
      ++mask;
      ++name;
    } else if (starMask) {
      mask = starMask;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*mask == L'*') ++mask;
  return *mask == 0;
}

int Sign(long long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

std::uint32_t ReadU32(const std::vector<std::uint8_t>& data, std::size_t at) {
  return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 | std::uint32_t(data[at + 2]) << 16 |
         std::uint32_t(data[at + 3]) << 24;
}

}  // namespace

std::vector<std::wstring> SplitFileMasks(const std::wstring& text) {
  std::vector<std::wstring> masks;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L';', start), text.size());
    std::wstring mask = Trim(text.substr(start, end - start));
    if (!mask.empty()) masks.push_back(std::move(mask));
    start = end + 1;
  }
  return masks;
}

bool IsEveryFileMask(const std::wstring& mask) {
  const std::wstring m = Trim(mask);
  return m.empty() || m == L"*" || m == L"*.*";
}

bool IsUsableFileMask(const std::wstring& mask) {
  if (mask.empty()) return false;
  return std::none_of(mask.begin(), mask.end(),
                      [](wchar_t c) { return c < 32 || std::wstring(L"<>:\"/\\|").find(c) != std::wstring::npos; });
}

bool MatchesFileMask(const std::wstring& name, const std::wstring& mask) {
  if (name.empty() || !IsUsableFileMask(mask)) return false;
  if (IsEveryFileMask(mask)) return true;
  if (MatchAt(name.c_str(), mask.c_str())) return true;
  if (mask.size() > 2 && mask.compare(mask.size() - 2, 2, L".*") == 0 && name.find(L'.') == std::wstring::npos)
    return MatchAt(name.c_str(), mask.substr(0, mask.size() - 2).c_str());
  return false;
}

bool MatchesAnyFileMask(const std::wstring& name, const std::vector<std::wstring>& masks) {
  return std::any_of(masks.begin(), masks.end(), [&](const std::wstring& mask) { return MatchesFileMask(name, mask); });
}

int CompareFileNames(const std::wstring& a, const std::wstring& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::iswdigit(a[i]) && std::iswdigit(b[j])) {
      // Digit runs by value: skip leading zeros, then the longer run is the larger.
      std::size_t si = i, sj = j;
      while (si < a.size() && a[si] == L'0') ++si;
      while (sj < b.size() && b[sj] == L'0') ++sj;
      std::size_t ei = si, ej = sj;
      while (ei < a.size() && std::iswdigit(a[ei])) ++ei;
      while (ej < b.size() && std::iswdigit(b[ej])) ++ej;
      if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
      if (const int c = a.compare(si, ei - si, b, sj, ej - sj)) return c < 0 ? -1 : 1;
      i = ei;
      j = ej;
      continue;
    }
    const wchar_t ca = Fold(a[i]), cb = Fold(b[j]);
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

int CompareShellSortKeys(const TShellSortKey& a, const TShellSortKey& b, TShellColumnKind kind, bool descending,
                         int otherOrder) {
  if (a.Folder != b.Folder) return a.Folder ? -1 : 1;
  int order = 0;
  switch (kind) {
    case TShellColumnKind::Name: order = CompareFileNames(a.Name, b.Name); break;
    // Folders have no size: among themselves they stay in name order.
    case TShellColumnKind::Size:
      order = a.Folder ? CompareFileNames(a.Name, b.Name) : a.Size < b.Size ? -1 : a.Size > b.Size ? 1 : 0;
      break;
    case TShellColumnKind::Type: order = CompareFileNames(a.Type, b.Type); break;
    case TShellColumnKind::Modified: order = a.Modified < b.Modified ? -1 : a.Modified > b.Modified ? 1 : 0; break;
    case TShellColumnKind::Other: order = Sign(otherOrder); break;
  }
  if (descending) order = -order;
  if (order) return order;
  return Sign(static_cast<long long>(a.Position) - b.Position);
}

std::optional<std::array<int, 4>> ParseDirectoryCols(const std::vector<std::uint8_t>& data) {
  if (data.size() < 8) return std::nullopt;
  std::array<int, 4> widths{};
  for (int i = 0; i < 4; ++i) widths[i] = data[2 * i] | data[2 * i + 1] << 8;
  return widths;
}

std::vector<std::uint8_t> StoreColumnWidths(const std::vector<int>& widths) {
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(v >> shift));
  };
  put(std::uint32_t(widths.size()));
  for (int w : widths) put(std::uint32_t(w));
  return out;
}

std::vector<int> ApplyStoredWidths(const std::vector<std::uint8_t>& stored, std::vector<int> widths) {
  if (stored.size() < 4) return widths;
  const std::size_t count = ReadU32(stored, 0);
  const std::size_t present = (stored.size() - 4) / 4;
  const std::size_t n = std::min({count, present, widths.size()});
  for (std::size_t i = 0; i < n; ++i) widths[i] = static_cast<int>(ReadU32(stored, 4 + 4 * i));
  return widths;
}

bool IsNetworkPath(const std::wstring& path) { return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\'; }

bool NameFitsFolder(const std::wstring& folderPath, const std::wstring& name) {
  if (name.empty() || name.size() > kMaxNameChars) return false;
  if (folderPath.empty()) return true;
  const bool slash = folderPath.back() == L'\\';
  // The full name and its terminating zero.
  return folderPath.size() + (slash ? 0 : 1) + name.size() + 1 <= kMaxPathChars;
}

}  // namespace Vy
