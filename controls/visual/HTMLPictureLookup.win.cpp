#include "controls/visual/HTMLPictureLookup.h"

#include <algorithm>

#include "vcl/Canvas.h"
#include "vcl/Clock.h"
#include "vcl/Win.h"

namespace Flat {

void THTMLPictureLookup::SetContainer(TPictureContainer* container) {
  container_ = container;
  Reset();
}

THTMLPicture* THTMLPictureLookup::Resolve(const THTMLPictureSource& source, bool load) {
  if (source.Kind == THTMLPictureKind::Named) return container_ ? container_->FindPicture(source.Name) : nullptr;
  if (source.Kind != THTMLPictureKind::Url) return nullptr;
  if (THTMLPicture* cached = cache_.FindPicture(source.Name)) return cached;
  if (!load) return nullptr;
  THTMLPicture* picture = cache_.AddPicture();
  picture->LoadFromURL(source.Name);
  return picture;
}

bool THTMLPictureLookup::Find(const THTMLPictureSource& source, THTMLPictureInfo& info) {
  THTMLPicture* picture = Resolve(source, true);
  if (!picture || picture->Empty()) return false;
  info.Width = picture->GetWidth();
  info.Height = picture->GetHeight();
  return true;
}

void THTMLPictureLookup::Draw(TCanvas* canvas, const THTMLPictureSource& source, const TRect& rect,
                              THTMLPictureFit fit) {
  THTMLPicture* picture = Resolve(source, false);
  if (!picture || picture->Empty()) return;
  if (picture->FrameCount() > 1) {
    if (std::find(animated_.begin(), animated_.end(), source) == animated_.end()) animated_.push_back(source);
    picture->StartAnimation(ClockNowMs());  // from the time it first shows
  }
  // A body background is the picture repeated over the rectangle.
  if (fit == THTMLPictureFit::Tile) picture->DrawTiled(*canvas, rect);
  else picture->DrawWhole(*canvas, rect);
}

bool THTMLPictureLookup::Animate(std::uint64_t nowMs) {
  bool changed = false;
  for (const THTMLPictureSource& source : animated_)
    if (THTMLPicture* picture = Resolve(source, false)) changed |= picture->Animate(nowMs);
  return changed;
}

}  // namespace Flat
