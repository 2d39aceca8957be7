#include "controls/extended/VyClockGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Vy {

namespace {
constexpr double kPi = std::numbers::pi;

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The direction of the point from the centre, 0..2pi, clockwise from 3 o'clock (the
// y axis points down).
double Direction(int dx, int dy) {
  double a = std::atan(double(dy) / double(dx));
  if (dx < 0) a += kPi;
  else if (dy < 0) a += 2 * kPi;
  return a;
}
}  // namespace

TVyClockLayout ComputeClockLayout(TRect client, int width, int height, int lineHeight, int amWidth, int pmWidth) {
  TVyClockLayout out;
  out.TimeBox = Rect(client.Left, client.Top, client.Right, client.Top + lineHeight + 4);
  const int top = height - lineHeight - 9, bottom = top + lineHeight + 4;
  out.AmButton = Rect(5, top, 5 + amWidth + 14, bottom);
  out.PmButton = Rect(out.AmButton.Right + 5, top, out.AmButton.Right + 5 + pmWidth + 14, bottom);
  out.SetButton = Rect(out.PmButton.Right + (width - out.PmButton.Right - 5) / 3, top, width - 5, bottom);
  const int space = top - out.TimeBox.Bottom - 10;
  out.Centre = Point((width - 10) / 2 + 5, out.TimeBox.Bottom + space / 2 + 3);
  out.Radius = std::min((width - 10) / 2, space / 2);
  out.Clock =
      Rect(out.Centre.X - out.Radius, out.Centre.Y - out.Radius, out.Centre.X + out.Radius, out.Centre.Y + out.Radius);
  return out;
}

TSize ClockAutoSize(int charWidth, int charHeight, int setCaptionLength) {
  const int forSet = setCaptionLength > 0 ? 12 * charWidth + 2 * charWidth * (setCaptionLength + 2) : 24 * charWidth;
  return {std::max(13 * charWidth + 78, forSet), 14 * charHeight + 8};
}

int ClockHourAt(int dx, int dy) {
  if (dx == 0) return dy < 1 ? 12 : 6;
  // Hour h's sector runs from half an hour before it to half an hour after; the first
  // half of 1's lies just below a full turn, so the turn wraps there, not at 2 pi
  // (where the points just before 1 o'clock would read 12).
  double a = Direction(dx, dy) + kPi / 3;
  if (a >= 2 * kPi - kPi / 12) a -= 2 * kPi;
  for (int h = 1; h <= 12; ++h)
    if (a < h * kPi / 6 - kPi / 12) return h;
  return 12;
}

int ClockMinuteAt(int dx, int dy, bool restrict) {
  int minute = 0;
  if (dx == 0) {
    minute = dy < 1 ? 0 : 30;
  } else {
    double a = Direction(dx, dy) + kPi / 2;
    if (a > 2 * kPi) a -= 2 * kPi;
    for (int m = 1; m <= 60; ++m)
      if (a < m * kPi / 30 - kPi / 60) {
        minute = m - 1;
        break;
      }
  }
  if (restrict) minute = RoundEven(minute / 60.0 * 12) * 5 % 60;
  return minute;
}

TPoint ClockPoint(TPoint centre, double sixtieths, int distance) {
  const double a = sixtieths * kPi / 30 - kPi / 2;
  return Point(centre.X + RoundEven(distance * std::cos(a)), centre.Y + RoundEven(distance * std::sin(a)));
}

std::array<TPoint, 4> ClockHand(TPoint centre, int radius, double sixtieths, bool hourHand) {
  const double a = sixtieths * kPi / 30 - kPi / 2;
  const int tip = RoundEven((hourHand ? 0.5 : 0.8) * radius);
  const int along = RoundEven((hourHand ? 0.15 : 0.25) * radius);
  const int across = RoundEven(0.04 * radius);
  const double c = std::cos(a), s = std::sin(a);
  auto at = [&](int forward, int sideways) {
    return Point(centre.X + RoundEven(forward * c - sideways * s), centre.Y + RoundEven(forward * s + sideways * c));
  };
  return {centre, at(along, across), at(tip, 0), at(along, -across)};
}

}  // namespace Vy
