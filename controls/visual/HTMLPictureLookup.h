// The HTML label's named and address pictures as the tagged text engine looks them
// up: names in the label's picture container, addresses in its picture cache (a
// picture not yet cached is loaded there once, synchronously). It also remembers
// which animated pictures it drew, so the label's timer can move their frames on.
#pragma once
#include <cstdint>
#include <vector>

#include "controls/visual/HTMLDraw.h"
#include "controls/visual/HTMLPicture.h"

namespace Flat {

class THTMLPictureLookup : public THTMLPictureSet {
 public:
  explicit THTMLPictureLookup(THTMLPictureCache& cache) : cache_(cache) {}
  void SetContainer(TPictureContainer* container);
  TPictureContainer* Container() const { return container_; }
  // Forgets the animations drawn (the text or the container changed).
  void Reset() { animated_.clear(); }

  bool Find(const THTMLPictureSource& source, THTMLPictureInfo& info) override;
  void Draw(TCanvas* canvas, const THTMLPictureSource& source, const TRect& rect, THTMLPictureFit fit) override;

  // Whether an animated picture was drawn since the last Reset.
  bool Animating() const { return !animated_.empty(); }
  // Moves the drawn animations to their frames at nowMs; true when one changed.
  bool Animate(std::uint64_t nowMs);

 private:
  // The picture the source names, loading an address not cached yet when load is set.
  THTMLPicture* Resolve(const THTMLPictureSource& source, bool load);
  THTMLPictureCache& cache_;
  TPictureContainer* container_ = nullptr;  // not owned; the label clears it on removal
  std::vector<THTMLPictureSource> animated_;
};

}  // namespace Flat
