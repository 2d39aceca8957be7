#include "controls/extended/VyTrkBarGeometry.h"

#include <algorithm>
#include <cmath>

namespace Vy {

namespace {
constexpr int m = TTrackLayout::EndMargin;

int Span(const TTrackLayout& l) { return l.Max - l.Min; }

// Pixels per unit of position along the slide range, as a real number.
double Scale(const TTrackLayout& l) { return Span(l) > 0 ? double(l.SlideLength()) / Span(l) : 0.0; }
}  // namespace

TRect TrackRect(const TTrackLayout& l) {
  const int h = l.ThumbLength / 2;
  if (l.Vertical) return Rect(l.TrackOffset, h + m, l.TrackOffset + l.TrackWidth, l.Height - m - h);
  return Rect(h + m, l.TrackOffset, l.Width - m - h, l.TrackOffset + l.TrackWidth);
}

TRect ThumbRect(const TTrackLayout& l, int position) {
  const int along = Span(l) > 0 ? l.SlideLength() * (position - l.Min) / Span(l) + m : m;
  const int across = (l.TrackWidth - l.ThumbThickness) / 2 + l.TrackOffset - l.ThumbShift;
  if (l.Vertical) {
    const int bottom = l.Height - along;
    return Rect(across, bottom - l.ThumbLength, across + l.ThumbThickness, bottom);
  }
  return Rect(along, across, along + l.ThumbLength, across + l.ThumbThickness);
}

std::vector<TTickMark> TickMarks(const TTrackLayout& l, int tickStep) {
  std::vector<TTickMark> out;
  if (tickStep < 1) tickStep = 1;
  const double scale = Scale(l);
  const int h = l.ThumbLength / 2;
  for (int v = l.Min; v <= l.Max; ++v) {
    if (v % tickStep != 0) continue;
    const int offset = int(std::trunc((v - l.Min) * scale));
    out.push_back({v, l.Vertical ? l.Height - l.ThumbLength - offset - m + h : offset + m + h});
  }
  return out;
}

std::optional<int> DragPosition(const TTrackLayout& l, int x, int y, int grabX, int grabY) {
  const TRect track = TrackRect(l);
  const int length = l.Vertical ? track.Height() : track.Width();
  if (length <= 0) return std::nullopt;
  const int d = l.Vertical ? track.Bottom + grabY - y : x - track.Left - grabX;
  const double pos = std::nearbyint(double(d) / length * Span(l) + l.Min);
  return int(std::clamp(pos, double(l.Min), double(l.Max)));
}

bool PagesUp(const TTrackLayout& l, int position, int x, int y) {
  const double scale = Scale(l);
  if (l.Vertical) return y < int(std::trunc((l.Max - position) * scale)) + m;
  return x >= int(std::trunc((position - l.Min) * scale)) + m;
}

}  // namespace Vy
