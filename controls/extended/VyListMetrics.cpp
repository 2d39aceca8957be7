#include "controls/extended/VyListMetrics.h"

#include "vcl/SysUtils.h"

#include <algorithm>

namespace Vy {

int WheelLines(int setting, int pageLines) {
  if (setting < 0) return std::max(1, pageLines);
  return setting;
}

int ClampExtent(int64_t width) { return int(std::clamp<int64_t>(width, 0, 65535)); }

bool HasGroupPrefix(std::wstring_view text, std::wstring_view prefix) { return text.starts_with(prefix); }

int IndexAfterDelete(int selected, int count) {
  if (selected < 0 || count <= 0) return -1;
  return selected < count ? selected : count - 1;
}

int LastColumnWidth(int clientWidth, int otherColumns, bool keepScrollBar, int scrollBarWidth) {
  const int width = clientWidth - (keepScrollBar ? scrollBarWidth : 0);
  if (otherColumns >= width) return -1;
  const int left = width - otherColumns;
  return left <= 4 ? 5 : left;
}

int CompareColumnTexts(const std::wstring& a, const std::wstring& b) {
  const int order = CompareText(a, b);
  if (order > 0 && b.empty()) return -1;
  if (order < 0 && a.empty()) return 1;
  return order;
}

}  // namespace Vy
