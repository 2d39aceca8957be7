#include "displays/PopupPlacement.h"

#include <algorithm>

namespace Displays {

namespace {
constexpr int kMargin = 2;
bool AtTop(int position) { return position == 1 || position == 3 || position == 5; }
bool AtLeft(int position) { return position == 1 || position == 2; }
bool AtCentre(int position) { return position == 3 || position == 4; }
}  // namespace

bool PopupPositionValid(int position) { return position >= 1 && position <= 6; }

TPopupPoint PopupRestingPlace(int position, const TPopupArea& a, int width, int height) {
  TPopupPoint p;
  p.Top = AtTop(position) ? a.WorkTop + kMargin : a.WorkBottom - height - kMargin;
  if (AtLeft(position)) p.Left = a.WorkLeft + kMargin;
  else if (AtCentre(position)) p.Left = static_cast<int>(a.ScreenWidth / 2.0 - width / 2.0);
  else p.Left = a.WorkRight - width - kMargin;
  return p;
}

TSlideFrom PopupSlideFrom(int position, int slide) {
  if (slide == 2 && !AtCentre(position)) return AtLeft(position) ? TSlideFrom::Left : TSlideFrom::Right;
  return AtTop(position) ? TSlideFrom::Top : TSlideFrom::Bottom;
}

TPopupPoint PopupSlideStart(int position, int slide, const TPopupArea& a, int width, int height) {
  TPopupPoint p = PopupRestingPlace(position, a, width, height);
  // A vertical slide down the middle is centred on the work area.
  if (AtCentre(position)) p.Left = static_cast<int>(a.WorkRight / 2.0 - width / 2.0);
  switch (PopupSlideFrom(position, slide)) {
    case TSlideFrom::Top: p.Top = -height; break;
    case TSlideFrom::Bottom: p.Top = a.ScreenHeight; break;
    case TSlideFrom::Left: p.Left = -width; break;
    case TSlideFrom::Right: p.Left = a.ScreenWidth; break;
  }
  return p;
}

TPopupSlide::TPopupSlide(int position, int slide, const TPopupArea& a, int width, int height, int ticks)
    : from_(PopupSlideFrom(position, slide)), done_(false) {
  const TPopupPoint start = PopupSlideStart(position, slide, a, width, height);
  const TPopupPoint rest = PopupRestingPlace(position, a, width, height);
  const double n = std::max(ticks, 1);
  switch (from_) {
    case TSlideFrom::Top: current_ = start.Top, target_ = rest.Top, step_ = (a.WorkTop + height) / n; break;
    case TSlideFrom::Bottom:
      current_ = start.Top, target_ = rest.Top, step_ = (a.ScreenHeight + height - a.WorkBottom) / n;
      break;
    case TSlideFrom::Left: current_ = start.Left, target_ = rest.Left, step_ = (a.WorkLeft + width) / n; break;
    case TSlideFrom::Right:
      current_ = start.Left, target_ = rest.Left, step_ = (a.ScreenWidth + width - a.WorkRight) / n;
      break;
  }
  // A step of nothing would never arrive (a work area reaching past the screen).
  step_ = std::max(step_, 1.0);
}

int TPopupSlide::Step() {
  if (done_) return target_;
  const int at = static_cast<int>(current_);
  const bool forward = from_ == TSlideFrom::Top || from_ == TSlideFrom::Left;
  const bool arrives = forward ? at + step_ >= target_ : at - step_ <= target_;
  if (arrives) {
    done_ = true;
    current_ = target_;
    return target_;
  }
  current_ += forward ? step_ : -step_;
  return static_cast<int>(current_);
}

}  // namespace Displays
