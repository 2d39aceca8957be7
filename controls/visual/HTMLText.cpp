#include "controls/visual/HTMLText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>

#include "vcl/PixelBuffer.h"

namespace Flat {

namespace {

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

std::wstring UpperCase(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r) c = Upper(c);
  return r;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Upper(s[i]) != Upper(prefix[i])) return false;
  return true;
}

struct TEntity {
  std::wstring_view Name;
  wchar_t Char;
};
// Decoded in one scan, so "&amp;lt;" shows "&lt;" and never "<".
constexpr TEntity kEntities[] = {
    {L"&amp;", L'&'},     {L"&quot;", L'"'},     {L"&sect;", 0x00A7}, {L"&permil;", 0x2030},
    {L"&reg;", 0x00AE},   {L"&copy;", 0x00A9},   {L"&para;", 0x00B6}, {L"&trade;", 0x2122},
    {L"&euro;", 0x20AC},  {L"&nbsp;", L' '},     {L"&lt;", L'<'},     {L"&gt;", L'>'},
};

std::wstring DecodeEntities(std::wstring_view s) {
  std::wstring r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    if (s[i] == L'&') {
      bool found = false;
      for (const auto& e : kEntities) {
        if (StartsWithNoCase(s.substr(i), e.Name)) {
          r += e.Char;
          i += e.Name.size();
          found = true;
          break;
        }
      }
      if (found) continue;
    }
    r += s[i++];
  }
  return r;
}

// Leading digits as a number ("12px" is 12); `fallback` when there are none.
int LeadingNumber(std::wstring_view s, int fallback) {
  size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  long long n = 0;
  size_t start = i;
  while (i < s.size() && s[i] >= L'0' && s[i] <= L'9' && i - start < 9) n = n * 10 + (s[i++] - L'0');
  return i == start ? fallback : static_cast<int>(n);
}

// The value of an attribute: the text between the first pair of double quotes after
// its name, found in the upper-cased tag; the value keeps its case.
bool Attribute(const std::wstring& tag, const std::wstring& upperTag, std::wstring_view name, std::wstring& value,
               size_t from = 0) {
  size_t at = upperTag.find(name, from);
  if (at == std::wstring::npos) return false;
  size_t q1 = tag.find(L'"', at + name.size());
  if (q1 == std::wstring::npos) return false;
  size_t q2 = tag.find(L'"', q1 + 1);
  if (q2 == std::wstring::npos) return false;
  value = DecodeEntities(std::wstring_view(tag).substr(q1 + 1, q2 - q1 - 1));
  return true;
}

// Carried from line to line; a line's two passes both start from the same copy, so
// a tag on the line acts once whatever the number of passes.
struct TCarried {
  enum class TAlign { Left, Right, Center } Align = TAlign::Left;
  int Indent = 0;
  int ListLevel = 0;
  int LineOffset = 0;
  THTMLFont Font;
  THTMLFont FontSaved;    // <FONT>
  TColor Brush = clNone;
  TColor BrushSaved = clNone;      // <FONT>
  TColor AnchorBrush = clNone;     // <A>
  TColor AnchorColor = clBlack;
  TColor BlinkColor = clBlack;
  TColor HighlightBrush = clNone;
  TColor HighlightColor = clBlack;
  bool Hidden = false;
  bool ParBackground = false;
  TColor ParColor = clNone;
  TColor ParColorTo = clNone;
  bool Anchor = false;
  std::wstring AnchorValue;
  int AnchorCount = 0;
  int PictureCount = 0;
  bool Shadow = false;
  bool Sub = false;
  bool Sup = false;
  bool Error = false;
};

enum class TPass { Layout, HitTest, Draw };

struct TLineResult {
  std::wstring Source;
  int Width = 0;
  int Height = 0;
  int SubExtra = 0;
  int SupExtra = 0;
};

class TEngine {
 public:
  TEngine(const THTMLTextInput& in, THTMLSurface& s, THTMLTextOutput& out) : in_(in), s_(s), out_(out) {}

  void Run();

 private:
  int GhHeight(const THTMLFont& f) { return s_.MeasureText(f, L"gh").cy; }
  // One pass of the line routine over `text` (consumed from the front in the layout pass).
  TLineResult Line(std::wstring& text, TPass pass, const TRect& rect);
  // Acts on the tag at the front of `text`; false when the line ends before it (the
  // tag stays). `ends` is set when the tag ends the line after itself.
  bool Tag(std::wstring& text, TPass pass, const TRect& rect, bool& ends, bool& liSeen);
  void Picture(const std::wstring& tag, const std::wstring& upper, TPass pass, const TRect& rect, bool& fits);
  void Body(const std::wstring& tag, const std::wstring& upper);
  void Gradient(TColor from, TColor to, bool horizontal, const TRect& r, int steps);
  bool Hovered() const { return c_.AnchorCount == in_.HoverLink; }

  const THTMLTextInput& in_;
  THTMLSurface& s_;
  THTMLTextOutput& out_;
  TCarried c_;
  // Line state of the running pass.
  int x_ = 0, lineWidth_ = 0, lineHeight_ = 0, sub_ = 0, sup_ = 0, imageOffset_ = 0;
  int available_ = 0;
  int runBottom_ = 0;
  int anchorLeft_ = 0;
  bool anchorHit_ = false;
  int trailingBlank_ = 0;
  bool hasContent_ = false;  // a run or a picture is on the line
};

void TEngine::Run() {
  c_.Font = in_.Font;
  c_.FontSaved = in_.Font;
  c_.AnchorColor = c_.BlinkColor = c_.HighlightColor = in_.Font.Color;
  std::wstring text;
  // A number sign and a name in angle brackets lose their brackets (first one only).
  std::wstring src = in_.Text;
  size_t hash = src.find(L"<#");
  if (hash != std::wstring::npos) {
    src.erase(hash, 1);
    size_t close = src.find(L'>', hash);
    if (close != std::wstring::npos) src.erase(close, 1);
  }
  text.reserve(src.size());
  for (wchar_t ch : src) {
    if (ch == L'\r')
      text += L"<BR>";
    else if (ch != L'\n')
      text += ch;
  }

  int top = in_.Rect.Top;
  int widest = 0;
  out_.TextHeight = 0;
  while (!text.empty()) {
    TCarried start = c_;
    sub_ = sup_ = 0;
    TLineResult line = Line(text, TPass::Layout, TRect{in_.Rect.Left, top, in_.Rect.Right, top});
    widest = std::max(widest, line.Width);
    int height = line.Height + in_.LineSpacing;
    int lx = in_.Rect.Left;
    if (c_.Align == TCarried::TAlign::Right && in_.Rect.Right - line.Width > lx)
      lx = in_.Rect.Right - line.Width;
    else if (c_.Align == TCarried::TAlign::Center && in_.Rect.Right - in_.Rect.Left - line.Width > 0)
      lx = in_.Rect.Left + (in_.Rect.Right - in_.Rect.Left - line.Width) / 2;
    lx += c_.Indent;
    int full = height + line.SubExtra + line.SupExtra;
    if (!in_.MeasureOnly) {
      TCarried afterLayout = c_;
      c_ = start;
      std::wstring source = line.Source;
      sub_ = line.SubExtra;
      sup_ = line.SupExtra;
      Line(source, in_.HitTestOnly ? TPass::HitTest : TPass::Draw, TRect{lx, top, in_.Rect.Right, top + full});
      (void)afterLayout;
    }
    top += full;
    out_.TextHeight += full;
    if (!in_.MeasureOnly && top + height > in_.Rect.Bottom) break;
  }
  if (out_.TextHeight == 0) out_.TextHeight = GhHeight(in_.Font);
  out_.TextWidth = widest + 2;
  out_.LinkCount = c_.AnchorCount;
}

TLineResult TEngine::Line(std::wstring& text, TPass pass, const TRect& rect) {
  TLineResult res;
  const bool layout = pass == TPass::Layout;
  const bool draw = pass == TPass::Draw;
  int subLine = sub_, supLine = sup_;  // the line's extras, known in the later passes
  sub_ = sup_ = 0;
  imageOffset_ = 0;
  lineHeight_ = GhHeight(c_.Font);
  lineWidth_ = c_.LineOffset;
  x_ = rect.Left + c_.LineOffset;
  available_ = in_.Rect.Right - in_.Rect.Left - c_.Indent;
  trailingBlank_ = 0;
  hasContent_ = false;
  bool liSeen = false;
  bool ends = false;
  const int gh = lineHeight_;
  const int lineBottom = rect.Bottom - subLine;
  runBottom_ = lineBottom;

  if (draw && c_.ParBackground && !in_.Selected) {
    TRect pr{in_.Rect.Left, rect.Top, in_.Rect.Right, rect.Bottom};
    if (c_.ParColorTo != clNone)
      Gradient(c_.ParColor, c_.ParColorTo, true, TRect{pr.Left, pr.Top, pr.Right, pr.Bottom + 2}, 64);
    else
      s_.FillRect(pr, c_.ParColor);
  }

  while (!text.empty() && !ends) {
    // The run: text before the next tag, and when wrapping up to its first blank.
    size_t end = text.find(L'<');
    if (end == std::wstring::npos) end = text.size();
    if (!in_.Ellipsis) {
      size_t blank = text.find(L' ');
      if (blank != std::wstring::npos && blank < end) end = blank + 1;
    }
    if (end > 0) {
      std::wstring run = DecodeEntities(std::wstring_view(text).substr(0, end));
      if (!c_.Hidden) {
        TSize size = s_.MeasureText(c_.Font, run);
        int blankWidth = run.back() == L' ' ? s_.MeasureText(c_.Font, L" ").cx : 0;
        if (layout && !in_.Ellipsis && hasContent_ &&
            lineWidth_ + size.cx - blankWidth > available_)
          break;  // the run waits for the next line
        if (c_.Sub) sub_ = std::max(sub_, size.cy / 4);
        if (c_.Sup) sup_ = std::max(sup_, size.cy / 4);
        lineHeight_ = std::max(lineHeight_, size.cy);
        if (layout) out_.StrippedText += run;
        int bottom = lineBottom;
        if (c_.Sup) bottom -= supLine;
        if (c_.Sub) bottom += subLine;
        bottom -= imageOffset_;
        runBottom_ = bottom;
        if (pass == TPass::HitTest && c_.Anchor && in_.Point.X >= x_ && in_.Point.X <= x_ + size.cx &&
            in_.Point.Y <= bottom && in_.Point.Y >= bottom - gh) {
          anchorHit_ = true;
          out_.OverAnchor = true;
          out_.AnchorValue = c_.AnchorValue;
          out_.LinkUnderPoint = c_.AnchorCount;
        }
        if (draw) {
          bool skip = in_.Ellipsis && x_ >= rect.Right - s_.MeasureText(c_.Font, L"w").cx;
          if (!skip) {
            TRect r{x_, rect.Top, rect.Right, bottom};
            if (c_.Shadow) {
              THTMLFont shadow = c_.Font;
              shadow.Color = in_.ShadowColor;
              s_.DrawText(shadow, clNone,
                          TRect{r.Left + in_.ShadowOffset, r.Top + in_.ShadowOffset, r.Right + in_.ShadowOffset,
                                r.Bottom + in_.ShadowOffset},
                          run, in_.Ellipsis);
            }
            s_.DrawText(c_.Font, in_.Selected ? clNone : c_.Brush, r, run, in_.Ellipsis);
            if (c_.Error) {
              std::vector<TPoint> wave;
              int right = std::min(x_ + size.cx, rect.Right);
              for (int wx = x_ & ~1; wx <= right; wx += 2)
                wave.push_back(TPoint{wx, (wx % 4 == 0) ? bottom + 1 : bottom - 1});
              if (wave.size() > 1) s_.Polyline(wave, clRed);
            }
          }
        }
        x_ += size.cx;
        lineWidth_ += size.cx;
        trailingBlank_ = blankWidth;
        hasContent_ = true;
      }
      if (layout) res.Source.append(text, 0, end);
      text.erase(0, end);
      continue;
    }
    // A tag at the front.
    if (text.size() < 3) {
      text.clear();  // a lone "<" with one character or none after it
      break;
    }
    size_t close = text.find(L'>');
    if (close == std::wstring::npos) {
      text.clear();  // a tag that never ends ends the text
      break;
    }
    std::wstring before = text.substr(0, close + 1);
    if (!Tag(text, pass, rect, ends, liSeen)) break;
    if (layout) res.Source += before;
  }
  lineWidth_ -= trailingBlank_;
  res.Width = lineWidth_;
  res.Height = lineHeight_;
  res.SubExtra = sub_;
  res.SupExtra = sup_;
  return res;
}

bool TEngine::Tag(std::wstring& text, TPass pass, const TRect& rect, bool& ends, bool& liSeen) {
  const bool draw = pass == TPass::Draw;
  size_t close = text.find(L'>');
  std::wstring tag = text.substr(0, close + 1);
  std::wstring up = UpperCase(tag);
  auto at = [&](size_t i) -> wchar_t { return i < up.size() ? up[i] : L'\0'; };
  bool endTag = at(1) == L'/';
  wchar_t c1 = endTag ? at(2) : at(1);
  wchar_t c2 = endTag ? at(3) : at(2);
  std::wstring value;
  THTMLFont& f = c_.Font;

  if (!endTag) {
    switch (c1) {
      case L'B':
        if (c2 == L'>') f.Bold = true;
        else if (c2 == L'L') {
          c_.BlinkColor = f.Color;
          if (!in_.BlinkPhase) f.Color = in_.Brush;
        } else if (c2 == L'R') {
          ends = true;
          if (pass == TPass::Layout) out_.StrippedText += L'\r';
        } else if (c2 == L'O' && draw && !in_.Selected)
          Body(tag, up);
        break;
      case L'I':
        if (c2 == L'>') f.Italic = true;
        else if (c2 == L'N') {
          if (Attribute(tag, up, L"X", value, 3)) {
            int n = LeadingNumber(value, 0);
            if (n > lineWidth_) {
              lineWidth_ = n;
              x_ = rect.Left + n;
            }
          }
        } else if (c2 == L'M') {
          bool fits = true;
          Picture(tag, up, pass, rect, fits);
          if (!fits) return false;
        }
        break;
      case L'U':
        if (c2 == L'>') f.Underline = true;
        else {
          ++c_.ListLevel;
          ends = true;
        }
        break;
      case L'L': {
        if (liSeen) return false;  // a second item starts its own line
        liSeen = true;
        int level = c_.ListLevel;
        lineWidth_ += level * 12;
        x_ += level * 12 - 12;
        if (draw && !c_.Hidden) s_.DrawBullet(f, x_, runBottom_, level % 2 == 1);
        x_ += 12;
        break;
      }
      case L'S':
        if (c2 == L'>') f.StrikeOut = true;
        else if (c2 == L'H') c_.Shadow = true;
        else if (up.starts_with(L"<SUB>")) c_.Sub = true;
        else if (up.starts_with(L"<SUP>")) c_.Sup = true;
        break;
      case L'F': {
        c_.FontSaved = f;
        c_.BrushSaved = c_.Brush;
        if (Attribute(tag, up, L"FACE", value)) f.Name = value;
        if (Attribute(tag, up, L" COLOR", value) && !in_.Selected) f.Color = HTMLColorValue(UpperCase(value), f.Color);
        if (Attribute(tag, up, L"BGCOLOR", value) && draw && !in_.Selected)
          c_.Brush = HTMLColorValue(UpperCase(value), c_.Brush);
        if (Attribute(tag, up, L"SIZE", value)) {
          static constexpr int sizes[] = {8, 10, 12, 14, 16};
          int n = LeadingNumber(value, 0);
          if (n >= 1 && n <= 5) f.Size = sizes[n - 1];
          else if (n > 0) f.Size = std::min(n, 400);
        }
        break;
      }
      case L'H':
        if (c2 == L'I') {
          if (draw) {
            c_.HighlightColor = f.Color;
            c_.HighlightBrush = c_.Brush;
            c_.Brush = clHighlight;
            f.Color = clHighlightText;
          }
        } else if (c2 == L'R') {
          ends = true;
          if (draw) s_.Polyline({TPoint{in_.Rect.Left, runBottom_ + 1}, TPoint{in_.Rect.Right, runBottom_ + 1}}, clBlack);
        }
        break;
      case L'E':
        if (draw) c_.Error = true;
        break;
      case L'P':
        if (Attribute(tag, up, L"ALIGN", value)) {
          std::wstring v = UpperCase(value);
          if (v.find(L"RIGHT") != std::wstring::npos) c_.Align = TCarried::TAlign::Right;
          else if (v.find(L"LEFT") != std::wstring::npos) c_.Align = TCarried::TAlign::Left;
          else if (v.find(L"CENTER") != std::wstring::npos) c_.Align = TCarried::TAlign::Center;
        }
        if (Attribute(tag, up, L"INDENT", value)) c_.Indent = std::clamp(LeadingNumber(value, 0), 0, 10000);
        if (Attribute(tag, up, L"BGCOLOR", value)) {
          c_.ParBackground = true;
          c_.ParColor = HTMLColorValue(UpperCase(value), clNone);
          c_.ParColorTo = Attribute(tag, up, L"BGCOLORTO", value) ? HTMLColorValue(UpperCase(value), clNone) : clNone;
          if (draw && !in_.Selected && c_.ParColor != clNone) {
            TRect pr{in_.Rect.Left, rect.Top, in_.Rect.Right, rect.Bottom};
            if (c_.ParColorTo != clNone)
              Gradient(c_.ParColor, c_.ParColorTo, true, TRect{pr.Left, pr.Top, pr.Right, pr.Bottom + 2}, 64);
            else
              s_.FillRect(pr, c_.ParColor);
          }
          if (c_.ParColor == clNone) c_.ParBackground = false;
        }
        break;
      case L'O':
        if (c2 == L'F' && Attribute(tag, up, L"X", value, 3)) {
          int n = std::clamp(LeadingNumber(value, 0), 0, 10000);
          x_ = rect.Left + n;
          lineWidth_ = n;
          c_.LineOffset = n;
        }
        break;
      case L'R': {
        size_t a = up.find(L'A', 2);
        if (a != std::wstring::npos && Attribute(tag, up, L"A", value, a))
          f.Escapement = (LeadingNumber(value, 0) % 360) * 10;
        break;
      }
      case L'Z':
        c_.Hidden = true;
        break;
      case L'A':
        if (size_t q1 = tag.find(L'"'); q1 != std::wstring::npos) {
          size_t q2 = tag.find(L'"', q1 + 1);
          c_.AnchorValue = q2 == std::wstring::npos ? std::wstring() : DecodeEntities(tag.substr(q1 + 1, q2 - q1 - 1));
        } else {
          c_.AnchorValue.clear();
        }
        ++c_.AnchorCount;
        c_.Anchor = true;
        anchorLeft_ = x_;
        anchorHit_ = false;
        c_.AnchorBrush = c_.Brush;
        c_.AnchorColor = f.Color;
        if (!in_.HoverStyle || Hovered()) f.Underline = true;
        if (draw && Hovered() && in_.HoverColor != clNone) c_.Brush = in_.HoverColor;
        if (!in_.Selected) {
          if (Hovered() && in_.HoverFontColor != clNone) f.Color = in_.HoverFontColor;
          else f.Color = in_.URLColor;
        }
        break;
      default:
        break;
    }
  } else {
    switch (c1) {
      case L'B':
        if (c2 == L'>') f.Bold = false;
        else f.Color = c_.BlinkColor;
        break;
      case L'I':
        f.Italic = false;
        break;
      case L'U':
        if (up.size() > 4 && c_.ListLevel > 0) --c_.ListLevel;
        else f.Underline = false;
        break;
      case L'L':
        ends = true;
        break;
      case L'S':
        if (c2 == L'U') c_.Sub = c_.Sup = false;
        else if (c2 == L'H') c_.Shadow = false;
        else f.StrikeOut = false;
        break;
      case L'F':
        f.Name = c_.FontSaved.Name;
        f.Size = c_.FontSaved.Size;
        if (!in_.Selected) {
          f.Color = c_.FontSaved.Color;
          c_.Brush = c_.BrushSaved;
        }
        break;
      case L'H':
        if (draw) {
          f.Color = c_.HighlightColor;
          c_.Brush = c_.HighlightBrush;
        }
        break;
      case L'E':
        c_.Error = false;
        break;
      case L'P':
        ends = true;
        c_.ParBackground = false;
        break;
      case L'O':
        c_.LineOffset = 0;
        break;
      case L'R':
        f.Escapement = 0;
        break;
      case L'Z':
        c_.Hidden = false;
        break;
      case L'A':
        if (!c_.Anchor) break;
        if (!in_.HoverStyle || Hovered()) f.Underline = false;
        c_.Brush = c_.AnchorBrush;
        f.Color = c_.AnchorColor;
        if (anchorHit_ && pass == TPass::HitTest)
          out_.LinkRect = TRect{anchorLeft_, rect.Top, x_, rect.Bottom};
        if (c_.AnchorCount == in_.FocusLink + 1) {
          out_.FocusAnchor = c_.AnchorValue;
          if (draw) s_.FocusRect(TRect{anchorLeft_ - 1, rect.Top, x_ + 1, rect.Bottom});
        }
        c_.Anchor = false;
        anchorHit_ = false;
        break;
      default:
        break;
    }
  }
  text.erase(0, close + 1);
  return true;
}

void TEngine::Picture(const std::wstring& tag, const std::wstring& up, TPass pass, const TRect& rect, bool& fits) {
  std::wstring src, value;
  Attribute(tag, up, L"SRC", src);
  if (pass == TPass::Draw && c_.Anchor && Hovered() && Attribute(tag, up, L"ALT", value)) src = value;
  // No picture is shown larger than any picture may be: a hostile size must not
  // overflow the line's arithmetic below.
  int width = Attribute(tag, up, L"WIDTH", value) ? std::min(LeadingNumber(value, 0), kMaxPictureSide) : 0;
  int height = Attribute(tag, up, L"HEIGHT", value) ? std::min(LeadingNumber(value, 0), kMaxPictureSide) : 0;
  THTMLPictureSource ps;
  std::wstring usrc = UpperCase(src);
  if (usrc.starts_with(L"IDX:")) {
    ps.Kind = THTMLPictureKind::ImageIndex;
    std::wstring_view n = std::wstring_view(src).substr(4);
    ps.Index = (!n.empty() && n[0] == L'-') ? -1 : LeadingNumber(n, -1);
  } else if (usrc.starts_with(L"SSYS:") || usrc.starts_with(L"LSYS:")) {
    ps.Kind = usrc[0] == L'S' ? THTMLPictureKind::SmallSystemIcon : THTMLPictureKind::LargeSystemIcon;
    std::wstring rest = src.substr(5);
    bool number = !rest.empty() && std::all_of(rest.begin(), rest.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (number) ps.Index = LeadingNumber(rest, -1);
    else ps.Name = rest;
  } else if (src.find(L"://") != std::wstring::npos) {
    ps.Kind = THTMLPictureKind::Url;
    ps.Name = src;
  } else if (src.find(L':') == std::wstring::npos) {
    ps.Kind = THTMLPictureKind::Named;
    ps.Name = src;
  } else {
    return;  // an unknown scheme takes no room
  }
  if (ps.Kind == THTMLPictureKind::ImageIndex && ps.Index < 0) return;
  ++c_.PictureCount;
  THTMLPictureInfo info;
  if (!s_.FindPicture(ps, info)) return;
  bool stretch = width > 0 && height > 0;
  int w = stretch ? width : info.Width;
  int h = stretch ? height : info.Height;
  w = int(std::int64_t(w) * s_.PixelsPerInchX() / 96);
  h = int(std::int64_t(h) * s_.PixelsPerInchY() / 96);
  if (pass == TPass::Layout && w < available_ && hasContent_ && lineWidth_ + w > available_) {
    fits = false;
    return;
  }
  TRect pr{x_, rect.Top, 0, 0};
  pr.Right = pr.Left + w;
  pr.Bottom = pr.Top + h;
  if (pass == TPass::HitTest && c_.Anchor && in_.Point.X >= pr.Left && in_.Point.X < pr.Right &&
      in_.Point.Y >= pr.Top && in_.Point.Y < pr.Bottom) {
    anchorHit_ = true;
    out_.OverAnchor = true;
    out_.AnchorValue = c_.AnchorValue;
    out_.LinkUnderPoint = c_.AnchorCount;
  }
  if (pass == TPass::Draw && !c_.Hidden) s_.DrawPicture(ps, pr, stretch ? THTMLPictureFit::Stretch : THTMLPictureFit::Natural);
  x_ += w;
  lineWidth_ += w;
  trailingBlank_ = 0;
  hasContent_ = true;
  lineHeight_ = std::max(lineHeight_, h);
  int gh = GhHeight(c_.Font);
  if (Attribute(tag, up, L"ALIGN", value)) {
    std::wstring v = UpperCase(value);
    if (v.starts_with(L"TOP")) imageOffset_ = lineHeight_ - gh;
    else if (v.starts_with(L"MIDDLE")) imageOffset_ = (lineHeight_ - gh) / 2;
    else imageOffset_ = 0;
  }
  if (up.find(L"WRAP") != std::wstring::npos) {
    lineHeight_ = gh;
    imageOffset_ = 0;
  }
}

void TEngine::Body(const std::wstring& tag, const std::wstring& up) {
  std::wstring value, to;
  const TRect& r = in_.Rect;
  auto picture = [&](std::wstring_view attr, THTMLPictureFit fit, bool right) {
    size_t at = up.find(attr);
    // "BACKGROUND" must not be found inside BGTOPLEFT and the like: they differ in name.
    if (at == std::wstring::npos || !Attribute(tag, up, attr, value)) return;
    THTMLPictureSource ps;
    ps.Kind = value.find(L"://") != std::wstring::npos ? THTMLPictureKind::Url : THTMLPictureKind::Named;
    ps.Name = value;
    THTMLPictureInfo info;
    if (!s_.FindPicture(ps, info) || info.Width <= 0 || info.Height <= 0) return;
    if (fit == THTMLPictureFit::Tile)
      s_.DrawPicture(ps, r, fit);
    else
      s_.DrawPicture(ps, right ? TRect{r.Right - info.Width, r.Top, r.Right, r.Top + info.Height}
                               : TRect{r.Left, r.Top, r.Left + info.Width, r.Top + info.Height},
                     fit);
  };
  if (Attribute(tag, up, L"BGCOLOR", value)) {
    TColor from = HTMLColorValue(UpperCase(value), clNone);
    if (from != clNone) {
      if (Attribute(tag, up, L"BGCOLORTO", to) && HTMLColorValue(UpperCase(to), clNone) != clNone) {
        bool horizontal = !Attribute(tag, up, L"DIR", value) || UpperCase(value) == L"H";
        Gradient(from, HTMLColorValue(UpperCase(to), clNone), horizontal, r, 64);
      } else {
        s_.FillRect(TRect{r.Left - 2, r.Top, r.Right, r.Bottom}, from);
      }
    }
  }
  picture(L"BACKGROUND", THTMLPictureFit::Tile, false);
  picture(L"BGTOPLEFT", THTMLPictureFit::Natural, false);
  picture(L"BGTOPRIGHT", THTMLPictureFit::Natural, true);
}

void TEngine::Gradient(TColor from, TColor to, bool horizontal, const TRect& r, int steps) {
  for (const auto& band : GradientBands(s_.ToRGB(from), s_.ToRGB(to), horizontal, r, steps)) s_.FillRect(band.Rect, band.Color);
}

}  // namespace

bool LayoutHTMLText(const THTMLTextInput& input, THTMLSurface& surface, THTMLTextOutput& output) {
  output = THTMLTextOutput{};
  TEngine(input, surface, output).Run();
  return output.OverAnchor;
}

std::wstring StripHTMLTags(std::wstring_view text) {
  std::wstring r;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != L'<') {
      r += text[i++];
      continue;
    }
    auto rest = text.substr(i);
    if (StartsWithNoCase(rest, L"<BR>") || StartsWithNoCase(rest, L"<HR>")) {
      r += L"\r\n";
      i += 4;
    } else if (rest.starts_with(L"<z>") || rest.starts_with(L"<Z>")) {
      size_t end = text.find(rest[1] == L'z' ? L"</z>" : L"</Z>", i);
      if (end == std::wstring_view::npos) break;
      i = end + 4;
    } else {
      size_t end = text.find(L'>', i);
      if (end == std::wstring_view::npos) break;
      i = end + 1;
    }
  }
  return r;
}

std::wstring HTMLToPlainText(std::wstring_view text) { return DecodeEntities(StripHTMLTags(text)); }

std::wstring EscapeHTMLText(std::wstring_view text) {
  std::wstring r;
  r.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': r += L"&amp;"; break;
      case L'<': r += L"&lt;"; break;
      case L'>': r += L"&gt;"; break;
      default: r += c;
    }
  }
  return r;
}

TColor HTMLColorByName(std::wstring_view name) {
  struct TNamed {
    std::wstring_view Name;
    TColor Color;
  };
  static constexpr TNamed colours[] = {
      {L"clred", 0x0000FF},       {L"clblack", 0},          {L"clblue", 0xFF0000},    {L"clgreen", 0x008000},
      {L"claqua", 0xFFFF00},      {L"clyellow", 0x00FFFF},  {L"clfuchsia", 0xFF00FF}, {L"clwhite", 0xFFFFFF},
      {L"cllime", 0x00FF00},      {L"clsilver", 0xC0C0C0},  {L"clgray", 0x808080},    {L"clolive", 0x008080},
      {L"clnavy", 0x800000},      {L"clpurple", 0x800080},  {L"clteal", 0x808000},    {L"clmaroon", 0x000080},
  };
  static constexpr std::wstring_view system[] = {
      L"clbackground", L"clactivecaption", L"clinactivecaption", L"clmenu", L"clwindow", L"clwindowframe",
      L"clmenutext", L"clwindowtext", L"clcaptiontext", L"clactiveborder", L"clinactiveborder", L"clappworkspace",
      L"clhighlight", L"clhighlighttext", L"clbtnface", L"clbtnshadow", L"clgraytext", L"clbtntext",
      L"clinactivecaptiontext", L"clbtnhighlight", L"cl3ddkshadow", L"cl3dlight", L"clinfotext", L"clinfobk"};
  for (const auto& c : colours)
    if (c.Name == name) return c.Color;
  for (size_t i = 0; i < std::size(system); ++i)
    if (system[i] == name) return clSystemColor | TColor(i + 1);
  return clBlack;
}

TColor HexToColor(std::wstring_view v, TColor fallback) {
  if (v.size() < 7 || v[0] != L'#') return fallback;
  auto digit = [](wchar_t c) -> int {
    if (c >= L'0' && c <= L'9') return c - L'0';
    c = Upper(c);
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  };
  int bytes[3];
  for (int i = 0; i < 3; ++i) {
    int hi = digit(v[1 + 2 * i]), lo = digit(v[2 + 2 * i]);
    if (hi < 0 || lo < 0) return fallback;
    bytes[i] = hi * 16 + lo;
  }
  return TColor(bytes[0]) | TColor(bytes[1]) << 8 | TColor(bytes[2]) << 16;
}

TColor HTMLColorValue(std::wstring_view value, TColor fallback) {
  if (!value.empty() && value[0] == L'#') return HexToColor(value, fallback);
  std::wstring lower(value);
  for (auto& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return HTMLColorByName(lower);
}

std::vector<TGradientBand> GradientBands(TColor from, TColor to, bool horizontal, const TRect& rect, int steps) {
  std::vector<TGradientBand> bands;
  if (steps <= 0) steps = 1;
  int extent = horizontal ? rect.Right - rect.Left : rect.Bottom - rect.Top;
  if (extent <= 0) return bands;
  steps = std::min(steps, extent);
  double step = double(extent) / steps;
  int origin = horizontal ? rect.Left : rect.Top;
  int far = horizontal ? rect.Right : rect.Bottom;
  auto channel = [](TColor c, int shift) { return int((c >> shift) & 0xFF); };
  for (int i = 0; i < steps; ++i) {
    TColor c = 0;
    for (int shift : {0, 8, 16}) {
      int a = channel(from, shift), b = channel(to, shift);
      c |= TColor(std::clamp(a + int(std::lround(double(i) * (b - a) / steps)), 0, 255)) << shift;
    }
    int start = origin + int(std::lround(i * step));
    int stop = std::min(far, start + int(step) + 1);
    TRect r = rect;
    if (horizontal) { r.Left = start; r.Right = stop; } else { r.Top = start; r.Bottom = stop; }
    bands.push_back({r, c});
  }
  return bands;
}

}  // namespace Flat
