// Where the popup shows and how it slides in: plain geometry over the work area
// and the screen size, so the position and direction table is tested natively.
//
// Positions: 1 top-left, 2 bottom-left, 3 top-centre, 4 bottom-centre,
// 5 top-right, 6 bottom-right, 2 pixels in from the work area's edges. A slide
// starts just outside the screen: vertical (slide 1) from above or below,
// horizontal (slide 2) from the left or right; the centre positions always
// slide vertically.
#pragma once

namespace Displays {

struct TPopupArea {
  int WorkLeft = 0, WorkTop = 0, WorkRight = 0, WorkBottom = 0;
  int ScreenWidth = 0, ScreenHeight = 0;
};

struct TPopupPoint {
  int Left = 0, Top = 0;
  friend bool operator==(const TPopupPoint&, const TPopupPoint&) = default;
};

enum class TSlideFrom { Top, Bottom, Left, Right };

bool PopupPositionValid(int position);
// Where the popup rests (positions outside 1..6 have no place: the caller leaves
// the window where it is).
TPopupPoint PopupRestingPlace(int position, const TPopupArea& area, int width, int height);
TSlideFrom PopupSlideFrom(int position, int slide);
// Where a slide starts.
TPopupPoint PopupSlideStart(int position, int slide, const TPopupArea& area, int width, int height);

// One slide in progress, moved a step per animation tick; `ticks` steps cover
// the way from outside the screen to the resting place.
class TPopupSlide {
 public:
  TPopupSlide() = default;
  TPopupSlide(int position, int slide, const TPopupArea& area, int width, int height, int ticks);
  // Moves one step; the new Top (vertical) or Left (horizontal). Done() once it
  // has reached its place.
  int Step();
  bool Done() const { return done_; }
  bool Vertical() const { return from_ == TSlideFrom::Top || from_ == TSlideFrom::Bottom; }
  int Current() const { return static_cast<int>(current_); }

 private:
  TSlideFrom from_ = TSlideFrom::Top;
  double current_ = 0;
  double step_ = 0;
  int target_ = 0;
  bool done_ = true;
};

}  // namespace Displays
