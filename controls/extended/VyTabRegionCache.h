// The outlines of the tabs as regions, kept by their rectangle so that painting and
// hit tests do not build the same polygon again. A handle the cache gives out is
// borrowed: it stays valid only until the next Add or Clear (with the default capacity
// of one, adding another region frees it); a caller that keeps one copies it.
#pragma once
#include "vcl/Types.h"
#include "vcl/Win.h"

#include <vector>

namespace Vy {

class TVyTabRegionCache {
 public:
  TVyTabRegionCache() = default;
  ~TVyTabRegionCache() { Clear(); }
  TVyTabRegionCache(const TVyTabRegionCache&) = delete;
  TVyTabRegionCache& operator=(const TVyTabRegionCache&) = delete;

  int GetCapacity() const { return capacity_; }
  // -1 keeps all; 0 or below -1 raises. A smaller capacity frees the oldest regions.
  void SetCapacity(int capacity);
  int Count() const { return int(items_.size()); }
  // The region kept for exactly this rectangle, or nullptr.
  HRGN Find(const TRect& rect) const;
  // Takes the region; the rectangle's item moves (or is put) in front.
  HRGN Add(const TRect& rect, HRGN region);
  void Clear();

 private:
  struct TItem {
    TRect Rect;
    HRGN Region;
  };
  void Trim();
  std::vector<TItem> items_;  // the most recently used first
  int capacity_ = 1;
};

}  // namespace Vy
