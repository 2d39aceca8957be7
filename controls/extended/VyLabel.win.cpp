#include "controls/extended/VyLabel.h"

#include "vcl/Filer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Vy {

namespace {

int Round(double v) { return int(std::nearbyint(v)); }

TColor ParentColorOf(const TControl* c) { return c->GetParent() ? c->GetParent()->GetColor() : c->GetColor(); }

}  // namespace

int NormalizeAngle(int angle) { return ((angle % 360) + 360) % 360; }

TSize TurnedExtent(TSize size, int angle) {
  // The bounding box of the turned text: |cos| and |sin| of the real angle, so a text
  // near the vertical gets a tall box in every quadrant.
  const double a = NormalizeAngle(angle) * std::numbers::pi / 180;
  const double c = std::abs(std::cos(a)), s = std::abs(std::sin(a));
  return {Round(size.cx * c + size.cy * s), Round(size.cx * s + size.cy * c)};
}

TVyLabel::TVyLabel(TComponent* AOwner) : TLabel(AOwner) {
  ControlStyle.Include(csOpaque);
  TVyBlinkingControlsList::Join(this);
  FStartColor = true;
  SetColor(clBtnFace);
  SetParentColor(true);
  FStartColor = false;
  FFontColor = FPaintColor = FSavedColor = GetFont()->GetColor();
}

TVyLabel::~TVyLabel() {
  LinkFrameController(this, FFrameController, nullptr);
  TVyBlinkingControlsList::Leave(this);
}

void TVyLabel::Publish(TPublisher<TVyLabel>& p) {
  using T = TVyLabel;
  p.Message(CM_VYISBLINKING, &T::CMIsBlinking);
  p.Message(CM_VYSETBLINKSTATE, &T::CMSetBlinkState);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_TEXTCHANGED, &T::CMTextChanged);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMParentColorChanged);
  p.Property(L"Angle", &T::GetAngle, &T::SetAngle).Default(0);
  p.Property(L"Blinking", &T::GetBlinking, &T::SetBlinking).Default(false);
  p.Property(L"BlinkColor", &T::GetBlinkColor, &T::SetBlinkColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"BlinkIntervalOff", &T::GetBlinkIntervalOff, &T::SetBlinkIntervalOff).Default(500u);
  p.Property(L"BlinkIntervalOn", &T::GetBlinkIntervalOn, &T::SetBlinkIntervalOn).Default(500u);
  p.Property(L"BevelWidth", &T::GetBevelWidth, &T::SetBevelWidth).Default(1);
  p.Property(L"BorderInner", &T::GetBorderInner, &T::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsNone);
  p.Property(L"BorderSides", &T::GetBorderSides, &T::SetBorderSides).Default(AllSides);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"BorderHighlight", &T::GetBorderHighlight, &T::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"BorderShadow", &T::GetBorderShadow, &T::SetBorderShadow).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"BorderWidth", &T::GetBorderWidth, &T::SetBorderWidth).Default(0);
  p.Property(L"CondenseCaption", &T::GetCondenseCaption, &T::SetCondenseCaption)
      .Default(TVyCondenseCaption::ccNone);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
  p.Property(L"FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Property(L"CenterPoint", &T::GetCenterPoint, &T::SetCenterPoint).Default(TCenterPoint::cpCenter);
  p.Property(L"FlyByColor", &T::GetFlyByColor, &T::SetFlyByColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"FlyByEnabled", &T::GetFlyByEnabled, &T::SetFlyByEnabled).Default(false);
  p.Property(L"LightTextStyle", &T::GetLightTextStyle, &T::SetLightTextStyle).Default(false);
  p.Property(L"Rotation", &T::GetRotation, &T::SetRotation).Default(TRotation::roNone);
  p.Property(L"HighlightColor", &T::GetHighlightColor, &T::SetHighlightColor)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"ShadowColor", &T::GetShadowColor, &T::SetShadowColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"ShadowDepth", &T::GetShadowDepth, &T::SetShadowDepth).Default(2);
  p.Property(L"TextStyle", &T::GetTextStyle, &T::SetTextStyle).Default(TTextStyle::tsNormal);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
}

void TVyLabel::DefineProperties(TFiler& Filer) {
  TLabel::DefineProperties(Filer);
  // Older forms held the sides of the frame under this name; they are dropped.
  Filer.DefineProperty(L"FrameSides", SkipOldStrings, nullptr, false);
}

void TVyLabel::Loaded() {
  TLabel::Loaded();
  if (FAngle != 0 && FRotation == TRotation::roNone) FRotation = TRotation::roFlat;
  if (FRotation != TRotation::roNone || FAngle != 0) EnsureTurnableFont();
  FFontColor = FPaintColor = FSavedColor = GetFont()->GetColor();
  AdjustBounds();
}

void TVyLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFrameController) FFrameController = nullptr;
}

void TVyLabel::EnsureTurnableFont() {
  if (!IsTrueTypeFont(GetFont())) GetFont()->SetName(L"Verdana");
}

// --- properties

void TVyLabel::SetAngle(int v) {
  if (v == FAngle) return;
  v = NormalizeAngle(v);
  if (v == FAngle) return;
  FAngle = v;
  if (!Loading() && v != 0) EnsureTurnableFont();
  if (v != 0 && FRotation == TRotation::roNone) FRotation = TRotation::roFlat;
  AdjustBounds();
  Repaint();
}

void TVyLabel::SetRotation(TRotation v) {
  if (v == FRotation) return;
  FRotation = v;
  if (!Loading() && v != TRotation::roNone) EnsureTurnableFont();
  if (v != TRotation::roCurve) FAngle = 0;
  if (v == TRotation::roFlat) FCenterPoint = TCenterPoint::cpCenter;
  AdjustBounds();
  Invalidate();
}

void TVyLabel::SetBlinking(bool v) {
  if (v == FBlinking) return;
  FBlinking = v;
  if (!v) {
    FBlinkOn = false;
    FPaintColor = FFontColor;
    Repaint();
  }
}

unsigned TVyLabel::GetBlinkIntervalOff() const {
  auto* list = TVyBlinkingControlsList::Instance();
  return list ? list->GetIntervalOff() : 500;
}
void TVyLabel::SetBlinkIntervalOff(unsigned v) { TVyBlinkingControlsList::Join(this).SetIntervalOff(v); }
unsigned TVyLabel::GetBlinkIntervalOn() const {
  auto* list = TVyBlinkingControlsList::Instance();
  return list ? list->GetIntervalOn() : 500;
}
void TVyLabel::SetBlinkIntervalOn(unsigned v) { TVyBlinkingControlsList::Join(this).SetIntervalOn(v); }

void TVyLabel::SetCondenseCaption(TVyCondenseCaption v) {
  if (v == FCondenseCaption) return;
  FCondenseCaption = v;
  if (v != TVyCondenseCaption::ccNone) SetAutoSize(false);
  Invalidate();
}

void TVyLabel::SetFrameController(TVyFrameController* v) { LinkFrameController(this, FFrameController, v); }

void TVyLabel::SetFlyByEnabled(bool v) {
  if (v == FFlyByEnabled) return;
  FFlyByEnabled = v;
  // Only a colour fly-by put there goes back; a label never hovered keeps its own.
  if (!v && FHovered) {
    FHovered = false;
    if (GetFont()->GetColor() == FFlyByColor) GetFont()->SetColor(FSavedColor);
  }
}

void TVyLabel::FramingChanged() {
  if (!FFrameController || !FFrameController->GetFrameVisible()) return;
  FBorderOuter = FFrameController->GetFrameStyle();
  FBorderSides = FFrameController->GetFrameSides();
  FFlatColor = FFrameController->GetFrameColor();
  FFlatColorAdjustment = 0;
  SetColor(FFrameController->GetColor());
  SetParentColor(FFrameController->GetParentColor());
  FBorderHighlight = LightenColor(GetColor(), 100);
  FBorderShadow = DarkenColor(GetColor(), 50);
  AdjustBounds();
  Invalidate();
}

void TVyLabel::SetBlinkState(bool on) {
  FBlinkOn = on;
  FPaintColor = on ? FBlinkColor : FFontColor;
  Repaint();
}

// --- messages

void TVyLabel::CMIsBlinking(TMessage& m) {
  QORN_INHERITED(m);
  m.Result = FBlinking ? 1 : 0;
}

void TVyLabel::CMSetBlinkState(TMessage& m) {
  QORN_INHERITED(m);
  if (FBlinking) SetBlinkState(m.WParam != 0);
}

void TVyLabel::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (Loading()) return;
  // The colour is the program's even while blinking: blinking off returns to it.
  FFontColor = GetFont()->GetColor();
  if (!(FBlinking && FBlinkOn)) FPaintColor = FFontColor;
  if (FAngle != 0 && !IsTrueTypeFont(GetFont())) FAngle = 0;
}

void TVyLabel::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Repaint();
}

void TVyLabel::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (FFlyByEnabled && !FHovered) {
    FHovered = true;
    FSavedColor = GetFont()->GetColor();
    GetFont()->SetColor(FFlyByColor);
  }
  MouseEnter();
}

void TVyLabel::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  if (FFlyByEnabled && FHovered) {
    FHovered = false;
    // A colour the program set meanwhile stays.
    if (GetFont()->GetColor() == FFlyByColor) GetFont()->SetColor(FSavedColor);
  }
  MouseLeave();
}

void TVyLabel::CMParentColorChanged(TMessage& m) {
  if (FStartColor) return;
  QORN_INHERITED(m);
}

// --- sizes

TRect TVyLabel::RemoveBorderExtent(TRect r, bool withBorderWidth) const {
  if (withBorderWidth) InflateRect(r, -FBorderWidth, -FBorderWidth);
  for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
    const int by = FrameStyleWidth(style, FBevelWidth);
    if (FBorderSides.Contains(sdLeft)) r.Left += by;
    if (FBorderSides.Contains(sdTop)) r.Top += by;
    if (FBorderSides.Contains(sdRight)) r.Right -= by;
    if (FBorderSides.Contains(sdBottom)) r.Bottom -= by;
  }
  return r;
}

TSize TVyLabel::AddBorderExtent(TSize size) const {
  const int per = FrameStyleWidth(FBorderOuter, FBevelWidth) + FBorderWidth + FrameStyleWidth(FBorderInner, FBevelWidth);
  if (FBorderSides.Contains(sdLeft)) size.cx += per;
  if (FBorderSides.Contains(sdRight)) size.cx += per;
  if (FBorderSides.Contains(sdTop)) size.cy += per;
  if (FBorderSides.Contains(sdBottom)) size.cy += per;
  const bool shadow = FTextStyle == TTextStyle::tsShadow;
  if (FRotation == TRotation::roNone && shadow) {
    size.cx += FShadowDepth;
    size.cy += FShadowDepth;
  }
  if (FRotation == TRotation::roFlat && FAngle != 0 && FAngle != 180) {
    if (shadow) {
      size.cx += FShadowDepth / 2;
      size.cy += FShadowDepth / 2;
    }
    size = TurnedExtent(size, FAngle);
  }
  return size;
}

UINT TVyLabel::DrawFlags() const {
  UINT f = DT_EXPANDTABS;
  if (GetAlignment() == taRightJustify) f |= DT_RIGHT;
  else if (GetAlignment() == taCenter) f |= DT_CENTER;
  if (GetWordWrap()) f |= DT_WORDBREAK;
  if (!GetShowAccelChar()) f |= DT_NOPREFIX;
  if (FCondenseCaption == TVyCondenseCaption::ccAtEnd) f |= DT_END_ELLIPSIS;
  if (FCondenseCaption == TVyCondenseCaption::ccWithinPath) f |= DT_PATH_ELLIPSIS;
  return f;
}

bool TVyLabel::CanAutoSize(int& newWidth, int& newHeight) {
  TRect r = RemoveBorderExtent(Rect(0, 0, GetWidth(), GetHeight()), true);
  std::wstring text = GetLabelText();
  if (text.empty() || (GetShowAccelChar() && text == L"&")) text = L" ";
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  RECT m{0, 0, GetWordWrap() ? std::max(1, r.Width()) : 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &m,
            (DrawFlags() | DT_CALCRECT) & ~UINT(DT_RIGHT | DT_CENTER | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const TSize size = AddBorderExtent({m.right - m.left, m.bottom - m.top});
  newWidth = size.cx;
  newHeight = size.cy;
  return true;
}

// --- painting

std::vector<TVyLabel::TCopy> TVyLabel::TextCopies(int shadow, bool styledWhenDisabled) const {
  std::vector<TCopy> copies;
  if (!GetEnabled() && !styledWhenDisabled) return {{clBtnHighlight, 1, 1}, {clBtnShadow, 0, 0}};
  switch (FTextStyle) {
    case TTextStyle::tsRaised:
      if (!FLightTextStyle) copies.push_back({FShadowColor, 1, 1});
      copies.push_back({FHighlightColor, -1, -1});
      break;
    case TTextStyle::tsRecessed:
      copies.push_back({FHighlightColor, 1, 1});
      if (!FLightTextStyle) copies.push_back({FShadowColor, -1, -1});
      break;
    case TTextStyle::tsShadow: copies.push_back({FShadowColor, shadow, shadow}); break;
    case TTextStyle::tsNormal: break;
  }
  copies.push_back({FPaintColor, 0, 0});
  return copies;
}

void TVyLabel::Paint() {
  TCanvas* c = GetCanvas();
  TBevelBorder b;
  b.Outer = FBorderOuter;
  b.Inner = FBorderInner;
  b.CutCorners = false;
  b.TransparentCorners = GetTransparent();
  b.ParentColor = ParentColorOf(this);
  b.ControlColor = GetColor();
  b.FlatColorAdjustment = FFlatColorAdjustment;
  b.FlatColor = FFlatColor;
  b.ShadowColor = FBorderShadow;
  b.HighlightColor = FBorderHighlight;
  b.BorderColor = FBorderColor;
  b.BevelWidth = FBevelWidth;
  b.Sides = FBorderSides;
  b.BorderWidth = FBorderWidth;
  const TRect inner = PaintBevelBorder(c, Rect(0, 0, GetWidth(), GetHeight()), b);
  if (!GetTransparent() && !inner.IsEmpty()) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(inner);
  }
  c->GetBrush()->SetStyle(bsClear);
  c->SetFont(GetFont());
  const std::wstring text = GetLabelText();
  const TRect box = RemoveBorderExtent(Rect(0, 0, GetWidth(), GetHeight()), true);
  if (FRotation == TRotation::roCurve)
    DrawArcText(c, text);
  else if (FRotation == TRotation::roFlat)
    DrawFlatRotated(c, box, text);
  else
    DrawStyledText(c, box, text);
  c->GetBrush()->SetStyle(bsSolid);
}

void TVyLabel::DrawStyledText(TCanvas* c, const TRect& box, const std::wstring& text) {
  if (text.empty() || box.IsEmpty()) return;
  const UINT flags = DrawFlags();
  TRect r = box;
  if (GetLayout() != tlTop) {
    TRect m = box;
    c->DrawText(text, m, flags | DT_CALCRECT);
    // Measured against the inner rectangle, so bottom text stays clear of a bottom bevel.
    const int room = box.Bottom - m.Bottom;
    r.Top += GetLayout() == tlBottom ? room : room / 2;
  }
  if (FTextStyle == TTextStyle::tsShadow && GetEnabled()) {
    if (GetAlignment() == taRightJustify) r = Rect(r.Left - FShadowDepth, r.Top, r.Right - FShadowDepth, r.Bottom);
    if (GetLayout() == tlBottom) r = Rect(r.Left, r.Top - FShadowDepth, r.Right, r.Bottom - FShadowDepth);
  }
  for (const TCopy& copy : TextCopies(FShadowDepth, false)) {
    TRect at(r.Left + copy.Dx, r.Top + copy.Dy, r.Right + copy.Dx, r.Bottom + copy.Dy);
    c->GetFont()->SetColor(copy.Color);
    c->DrawText(text, at, flags);
  }
}

void TVyLabel::DrawFlatRotated(TCanvas* c, const TRect& R, const std::wstring& text) {
  if (text.empty() || R.IsEmpty()) return;
  const TGdiHandle<HFONT> turned = CreateRotatedFont(GetFont(), FAngle);
  const TColor keep = GetFont()->GetColor();
  c->GetFont()->SetHandle(turned.Get());
  c->GetFont()->SetColor(keep);
  const bool shadow = FTextStyle == TTextStyle::tsShadow;
  const int D = shadow ? FShadowDepth / 2 : 0;
  // Sizes of the upright text.
  TFont upright;
  upright.Assign(GetFont());
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.GetCanvas()->SetFont(&upright);
  const int textWidth = measure.GetCanvas()->TextWidth(text);
  const int textHeight = measure.GetCanvas()->TextHeight(text);
  const int q = measure.GetCanvas()->TextHeight(L"Pp") / 4;
  const int W = textWidth + D;
  const double theta = (FAngle + 90) * std::numbers::pi / 180;
  int x = GetWidth() / 2, y = GetHeight() / 2;
  UINT align = TA_BASELINE;
  const TAlignment a = GetAlignment();
  switch (FAngle) {
    case 0:
      align = a == taCenter ? TA_CENTER | TA_TOP : TA_LEFT | TA_TOP;
      if (a == taRightJustify) x = R.Right - textWidth - 2 * D;
      else if (a == taLeftJustify) x = R.Left + D;
      y -= (textHeight + D) / 2;
      break;
    case 90:
      x -= Round(q * std::cos(theta));
      y = a == taCenter ? R.Bottom - (R.Bottom - W) / 2 : a == taRightJustify ? R.Top + D + W : R.Bottom - D;
      break;
    case 180:
      x = a == taCenter ? R.Right - (R.Right - W) / 2 : a == taRightJustify ? R.Left + W : R.Right - D;
      y -= (textHeight + D) / 4;
      break;
    case 270:
      x -= Round(q * std::cos(theta));
      y = a == taCenter ? (R.Bottom - W) / 2 : a == taRightJustify ? R.Bottom - W - D : R.Top + D;
      break;
    default:
      x -= Round(q * std::cos(theta));
      y += Round(q * std::sin(theta));
      align = TA_BASELINE | TA_CENTER;
      break;
  }
  HDC dc = c->GetHandle();
  // The canvas gives its objects back before the DC state is saved and restored.
  c->Refresh();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  const UINT oldAlign = SetTextAlign(dc, align);
  const std::vector<TCopy> copies = TextCopies(D, false);
  for (size_t i = 0; i < copies.size(); ++i) {
    const bool last = i + 1 == copies.size();
    // A shadowed text moves up-left as far as its shadow moves down-right.
    const int back = last && shadow && GetEnabled() ? -D : 0;
    c->GetFont()->SetColor(copies[i].Color);
    c->TextOut(x + copies[i].Dx + back, y + copies[i].Dy + back, text);
  }
  SetTextAlign(dc, oldAlign);
  c->Refresh();
  RestoreDC(dc, saved);
}

void TVyLabel::DrawArcText(TCanvas* c, const std::wstring& text) {
  if (text.empty()) return;
  const int B = FBorderWidth, W = GetWidth(), H = GetHeight(), A = 2 * B;
  TPoint centre;
  int rx = 0, ry = 0;
  switch (FCenterPoint) {
    case TCenterPoint::cpUpperLeft: centre = {B, B}; rx = W - A; ry = H - A; break;
    case TCenterPoint::cpUpperCenter: centre = {W / 2, B}; rx = W / 2 - A; ry = H - A; break;
    case TCenterPoint::cpUpperRight: centre = {W - B, B}; rx = W - A; ry = H - A; break;
    case TCenterPoint::cpLeftCenter: centre = {B, H / 2}; rx = W - A; ry = H / 2 - A; break;
    case TCenterPoint::cpCenter: centre = {W / 2, H / 2}; rx = W / 2 - A; ry = H / 2 - A; break;
    case TCenterPoint::cpRightCenter: centre = {W - B, H / 2}; rx = W - A; ry = H / 2 - A; break;
    case TCenterPoint::cpLowerLeft: centre = {B, H - B}; rx = W - A; ry = H - A; break;
    case TCenterPoint::cpLowerCenter: centre = {W / 2, H - B}; rx = W / 2 - A; ry = H - A; break;
    case TCenterPoint::cpLowerRight: centre = {W - B, H - B}; rx = W - A; ry = H - A; break;
  }
  const int h = c->TextHeight(L"Yy");
  // A label too small for its arc (or with borders wider than it) shows no arc: the
  // angle step divides by the radius.
  if (rx <= 0 || ry <= h) return;
  const double step = (c->TextWidth(L"w") + 2) / double(rx);
  HDC dc = c->GetHandle();
  c->Refresh();
  const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_CENTER);
  // Along the arc the style copies are drawn for a disabled label too, under its embossing.
  std::vector<TCopy> copies = TextCopies(FShadowDepth, true);
  if (!GetEnabled()) {
    copies.back() = {clBtnHighlight, 1, 1};
    copies.push_back({clBtnShadow, 0, 0});
  }
  double theta = FAngle * std::numbers::pi / 180;
  for (wchar_t ch : text) {
    const int x = centre.X - Round(std::sin(theta) * (rx - h));
    const int y = centre.Y - Round(std::cos(theta) * (ry - h));
    c->GetFont()->SetOrientation(Round(theta * 1800 / std::numbers::pi));
    for (const TCopy& copy : copies) {
      c->GetFont()->SetColor(copy.Color);
      c->TextOut(x + copy.Dx, y + copy.Dy, std::wstring(1, ch));
    }
    theta -= step;
  }
  c->GetFont()->SetOrientation(0);
  SetTextAlign(dc, oldAlign);
}

}  // namespace Vy
