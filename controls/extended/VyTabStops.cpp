#include "controls/extended/VyTabStops.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace Vy {

namespace {
int ClampToInt(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

std::vector<int> Scaled(const std::vector<int>& stops, int64_t factor) {
  const size_t n = std::min<size_t>(stops.size(), kMaxTabStops);
  std::vector<int> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = ClampToInt(int64_t(stops[i]) * factor);
  return out;
}
}  // namespace

std::vector<int> TabStopsInDialogUnits(const std::vector<int>& stops) { return Scaled(stops, 4); }

std::vector<int> TabStopsInPixels(const std::vector<int>& stops, int baseUnits) {
  return Scaled(stops, SafeBaseUnits(baseUnits));
}

int SafeBaseUnits(int averageCharWidth) { return std::max(1, averageCharWidth); }

int TabCount(const std::wstring& line) { return int(std::count(line.begin(), line.end(), L'\t')); }

std::vector<std::wstring> ColumnTexts(const std::wstring& line, int columns) {
  std::vector<std::wstring> out;
  std::wstring rest = line;
  for (int c = 0; c < columns; ++c) {
    const size_t tab = rest.find(L'\t');
    out.push_back(rest.substr(0, tab));
    if (tab != std::wstring::npos) rest.erase(0, tab + 1);
  }
  return out;
}

std::vector<int> AutomaticTabStops(const std::vector<int>& widestPerColumn, int baseUnits) {
  const int base = SafeBaseUnits(baseUnits);
  std::vector<int> stops;
  int64_t last = 0;
  for (int width : widestPerColumn) {
    last = std::clamp<int64_t>(last + width / base + 4, INT_MIN, INT_MAX);
    stops.push_back(int(last));
  }
  return stops;
}

bool FindCell(const std::wstring& line, int col, size_t& start, size_t& end) {
  if (col < 0) return false;
  start = 0;
  for (int c = 0; c < col; ++c) {
    const size_t tab = line.find(L'\t', start);
    if (tab == std::wstring::npos) return false;
    start = tab + 1;
  }
  end = line.find(L'\t', start);
  if (end == std::wstring::npos) end = line.size();
  return true;
}

std::vector<int> HeaderTabStops(const std::vector<int>& stops, const std::vector<int>& sectionWidths, int baseUnits,
                                int sectionsBeyond, int listWidth) {
  const int base = SafeBaseUnits(baseUnits);
  std::vector<int> out = stops;
  const int last = std::min(int(sectionWidths.size()) - 1 - sectionsBeyond, int(stops.size()) - 1);
  int64_t sum = 0;
  for (int i = 0; i <= last; ++i) {
    sum += sectionWidths[size_t(i)];
    if (out[size_t(i)] >= 0) {
      out[size_t(i)] = ClampToInt(sum / base + 1);
    } else {
      const int64_t edge = size_t(i) + 1 < sectionWidths.size() ? sectionWidths[size_t(i) + 1] + sum : listWidth;
      out[size_t(i)] = ClampToInt(1 - edge / base);
    }
  }
  return out;
}

}  // namespace Vy
