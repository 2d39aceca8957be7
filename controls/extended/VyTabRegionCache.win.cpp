#include "controls/extended/VyTabRegionCache.h"

#include "vcl/Exceptions.h"

namespace Vy {

void TVyTabRegionCache::SetCapacity(int capacity) {
  if (capacity == 0 || capacity < -1) throw Exception(L"Capacity must be -1 (to cache all regions) or > 0");
  capacity_ = capacity;
  Trim();
}

HRGN TVyTabRegionCache::Find(const TRect& rect) const {
  for (const TItem& item : items_)
    if (item.Rect == rect) return item.Region;
  return nullptr;
}

HRGN TVyTabRegionCache::Add(const TRect& rect, HRGN region) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->Rect != rect) continue;
    if (it->Region != region) DeleteObject(it->Region);
    items_.erase(it);
    break;
  }
  items_.insert(items_.begin(), {rect, region});
  Trim();
  return region;
}

void TVyTabRegionCache::Trim() {
  if (capacity_ < 0) return;
  while (int(items_.size()) > capacity_) {
    DeleteObject(items_.back().Region);
    items_.pop_back();
  }
}

void TVyTabRegionCache::Clear() {
  for (const TItem& item : items_) DeleteObject(item.Region);
  items_.clear();
}

}  // namespace Vy
