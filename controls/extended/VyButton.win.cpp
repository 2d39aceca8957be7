#include "controls/extended/VyButton.h"

#include "controls/extended/VyButtonRules.h"
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafxGlyphs.h"
#include "vcl/Clock.h"
#include "vcl/Filer.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/Themes.h"

#include <vssym32.h>

#include <array>

namespace Vy {

// --- the custom button

TVyCustomButton::TVyCustomButton(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector, csOpaque};
  SetBounds(0, 0, 115, 17);
  SetTabStop(true);
}

void TVyCustomButton::Publish(TPublisher<TVyCustomButton>& p) {
  using T = TVyCustomButton;
  p.Message(WM_SETFOCUS, &T::WMFocusChanged);
  p.Message(WM_KILLFOCUS, &T::WMFocusChanged);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Message(CM_TEXTCHANGED, &T::CMTextChanged);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Property(L"AlignmentVertical", &T::GetAlignmentVertical, &T::SetAlignmentVertical).Default(avCenter);
  p.Property(L"HighlightColor", &T::GetHighlightColor, &T::SetHighlightColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HotTrack", &T::GetHotTrack, &T::SetHotTrack).Default(false);
  p.Property(L"HotTrackColor", &T::GetHotTrackColor, &T::SetHotTrackColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HotTrackColorType", &T::GetHotTrackColorType, &T::SetHotTrackColorType)
      .Default(TVyHotTrackColorType::htctComplement);
  p.Property(L"LightTextStyle", &T::GetLightTextStyle, &T::SetLightTextStyle).Default(false);
  p.Property(L"TextHighlightColor", &T::GetTextHighlightColor, &T::SetTextHighlightColor)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"TextShadowColor", &T::GetTextShadowColor, &T::SetTextShadowColor)
      .Default(clBtnShadow)
      .Idents(ColorIdents);
  p.Property(L"TextShadowDepth", &T::GetTextShadowDepth, &T::SetTextShadowDepth).Default(2);
  p.Property(L"TextStyle", &T::GetTextStyle, &T::SetTextStyle).Default(TTextStyle::tsNormal);
  p.Property(L"ThemeAware", &T::GetThemeAware, &T::SetThemeAware).Default(true);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
}

bool TVyCustomButton::Themed() const { return FThemeAware && ThemeServices().ThemesEnabled(); }

void TVyCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (CanFocus() && !Focused()) SetFocus();
  if (!Focused()) return;
  FShowDown = FDragging = true;
  Repaint();
}

void TVyCustomButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  const bool in = Inside(x, y);
  if (in == FShowDown) return;
  FShowDown = in;
  Repaint();
}

void TVyCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool wasDragging = FDragging && button == mbLeft;
  if (wasDragging) FDragging = FShowDown = false;
  TCustomControl::MouseUp(button, shift, x, y);
  if (!wasDragging) return;
  if (Inside(x, y)) ClickStep();
  Repaint();
}

void TVyCustomButton::WMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyCustomButton::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TVyCustomButton::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (HandleAllocated()) EnableWindow(WindowHandle(), GetEnabled());
  Invalidate();
}

void TVyCustomButton::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyCustomButton::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = true;
  DoMouseEnter();
  if (FHotTrack || Themed()) Invalidate();
}

void TVyCustomButton::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = false;
  DoMouseLeave();
  if (FHotTrack || Themed()) Invalidate();
}

void TVyCustomButton::DrawEffectText(TCanvas* canvas, const TRect& rect, UINT flags) {
  const std::wstring text = GetCaption();
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  TRect box = rect;
  const UINT measure = DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER;
  TRect measured = rect;
  canvas->DrawText(text, measured, measure);
  const int height = measured.Height();
  if (FAlignmentVertical == avCenter) box.Top = (rect.Top + rect.Bottom - height) / 2;
  else if (FAlignmentVertical == avBottom) box.Top = rect.Bottom - height - 1;
  box.Bottom = box.Top + height;
  auto pass = [&](TColor color, int dx, int dy) {
    TRect r = box;
    OffsetRect(r, dx, dy);
    canvas->GetFont()->SetColor(color);
    canvas->DrawText(text, r, flags);
  };
  const bool right = (flags & DT_RIGHT) != 0;
  int dx = 0;
  if (!GetEnabled()) {
    pass(clBtnHighlight, 1, 1);
    pass(clBtnShadow, 0, 0);
    return;
  }
  switch (FTextStyle) {
    case TTextStyle::tsRaised:
      if (!FLightTextStyle) pass(FTextShadowColor, 1, 1);
      pass(FTextHighlightColor, -1, -1);
      break;
    case TTextStyle::tsRecessed:
      pass(FTextHighlightColor, 1, 1);
      if (!FLightTextStyle) pass(FTextShadowColor, -1, -1);
      break;
    case TTextStyle::tsShadow:
      pass(FTextShadowColor, right ? 0 : FTextShadowDepth, FTextShadowDepth);
      if (right) dx = -FTextShadowDepth;
      break;
    default: break;
  }
  pass(GetFont()->GetColor(), dx, 0);
}

// --- the push button

TVyButton::TVyButton(TComponent* AOwner) : TVyCustomButton(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 75, 25);
}

void TVyButton::Publish(TPublisher<TVyButton>& p) {
  using T = TVyButton;
  p.Message(CM_DIALOGKEY, &T::CMDialogKey);
  p.Message(CM_DIALOGCHAR, &T::CMDialogChar);
  p.Message(CM_FOCUSCHANGED, &T::CMFocusChanged);
  p.Message(CM_VYBUTTONPRESSED, &T::CMVyButtonPressed);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"Alignment", &T::GetAlignment, &T::SetAlignment).Default(taCenter);
  p.Property(L"AllowAllUp", &T::GetAllowAllUp, &T::SetAllowAllUp).Default(false);
  p.Property(L"Cancel", &T::GetCancel, &T::SetCancel).Default(false);
  p.Property(L"Default", &T::GetDefault, &T::SetDefault).Default(false);
  p.Property(L"DropDownOnEnter", &T::GetDropDownOnEnter, &T::SetDropDownOnEnter).Default(true);
  p.Property(L"GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex).Default(0);
  p.Property(L"Down", &T::GetDown, &T::SetDown).Default(false);
  p.Property(L"ModalResult", &T::GetModalResult, &T::SetModalResult).Default(mrNone);
  p.Property(L"ShowDownPattern", &T::GetShowDownPattern, &T::SetShowDownPattern).Default(true);
  p.Property(L"ShowFocusRect", &T::GetShowFocusRect, &T::SetShowFocusRect).Default(true);
  p.Property(L"TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  p.Property(L"TabOrder", &T::GetTabOrder, &T::SetTabOrder);
}

void TVyButton::Loaded() {
  TVyCustomButton::Loaded();
  FActive = FDefault;
  if (FGroupIndex == 0) FDown = false;
}

void TVyButton::Click() {
  FClicking = true;
  const TOnExit clicked([this] { FClicking = false; });
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TVyCustomButton::Click();
}

void TVyButton::ClickStep() {
  if (FGroupIndex != 0) SetDown(!FDown);
  else Repaint();
  Click();
}

void TVyButton::KeyDown(WORD& key, TShiftState shift) {
  TVyCustomButton::KeyDown(key, shift);
  if (key == VK_SPACE && !shift.Contains(ssAlt) && !FKeyToggle) {
    FKeyToggle = FShowDown = true;
    Repaint();
  }
}

void TVyButton::KeyUp(WORD& key, TShiftState shift) {
  TVyCustomButton::KeyUp(key, shift);
  if (key != VK_SPACE || !FKeyToggle) return;
  FKeyToggle = FShowDown = false;
  ClickStep();
  Repaint();
}

void TVyButton::CMDialogKey(TMessage& m) {
  const bool enter = m.WParam == VK_RETURN && FActive;
  const bool escape = m.WParam == VK_ESCAPE && FCancel;
  if ((enter || escape) && KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
    FNoDrop = enter && !FDropDownOnEnter;
    const TOnExit dropped([this] { FNoDrop = false; });
    Click();
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TVyButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TVyButton::CMFocusChanged(TMessage& m) {
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  const bool isButton = dynamic_cast<TVyCustomButton*>(focused) || dynamic_cast<TButton*>(focused);
  const bool active = isButton ? focused == this : FDefault;
  if (active != FActive) {
    FActive = active;
    Invalidate();
  }
  QORN_INHERITED(m);
}

void TVyButton::SetDefault(bool v) {
  if (FDefault == v) return;
  FDefault = v;
  FActive = v;
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->GetActiveControl()));
}

void TVyButton::BroadcastGroup() { TellGroup(this, CM_VYBUTTONPRESSED, FGroupIndex); }

void TVyButton::SetDown(bool v) {
  if (ComponentState().Contains(csLoading)) {
    FDown = v;  // GroupIndex may come after it; Loaded checks the pair
    return;
  }
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  Invalidate();
  if (v) BroadcastGroup();
}

void TVyButton::SetGroupIndex(int v) {
  if (FGroupIndex == v) return;
  FGroupIndex = v;
  if (v == 0) FDown = false;
  BroadcastGroup();
  Invalidate();
}

void TVyButton::SetAllowAllUp(bool v) {
  if (FAllowAllUp == v) return;
  FAllowAllUp = v;
  BroadcastGroup();
}

void TVyButton::CMVyButtonPressed(TMessage& m) {
  auto* sender = reinterpret_cast<TVyButton*>(m.LParam);
  if (sender == this || static_cast<int>(m.WParam) != FGroupIndex || FGroupIndex == 0) return;
  if (sender->GetDown() && FDown) {
    FDown = false;
    Invalidate();
  }
  FAllowAllUp = sender->GetAllowAllUp();
}

// --- painting

TRect TVyButton::GetCaptionRect() {
  TRect r = GetClientRect();
  InflateRect(r, -5, -5);
  if (!GetHotTrack() && !Themed() && (DownInGroup() || Pressed())) OffsetRect(r, 1, 1);
  return r;
}

void TVyButton::DrawCaption() {
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetColor(GetColor());
  const UINT align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  DrawEffectText(canvas, GetCaptionRect(), align | DT_EXPANDTABS | DT_WORDBREAK);
}

void TVyButton::PaintDownPattern(TCanvas* canvas, const TRect& r) {
  // Silver dots on the face (grey ones on a silver face).
  const TColor face = ColorToRGB(GetColor());
  FillChecker(canvas, r, face == clSilver ? clGray : clSilver, face);
}

void TVyButton::PaintClassic(TCanvas* canvas, TRect r) {
  const bool grouped = FGroupIndex != 0;
  const bool lowered = DownInGroup() || Pressed();
  if (!grouped && (((FActive || Focused()) && !Pressed()) || FClicking)) {
    canvas->GetBrush()->SetColor(clWindowFrame);
    canvas->FrameRect(r);
    InflateRect(r, -1, -1);
  }
  TRect face;
  if (GetColor() == clBtnFace) {
    face = grouped ? PaintFrame(canvas, r, lowered ? fsLowered : fsButtonUp) : PaintButtonEdge(canvas, r, Pressed());
  } else if (!grouped) {
    face = PaintColorButtonEdge(canvas, r, GetColor(), Pressed());
  } else {
    face =
        FDown ? PaintColorFrame(canvas, r, GetColor(), fsLowered) : PaintColorButtonEdge(canvas, r, GetColor(), false);
  }
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(face);
  if (grouped && FDown && FShowDownPattern) PaintDownPattern(canvas, face);
}

void TVyButton::PaintHotTrack(TCanvas* canvas, TRect r) {
  const int w = GetWidth(), h = GetHeight();
  const TColor color = GetColor();
  const TColor dark = DarkenColor(clBtnFace, 20), light = LightenColor(clBtnFace, 20);
  auto line = [&](TColor c, int x0, int y0, int x1, int y1) {
    canvas->GetPen()->SetColor(c);
    canvas->MoveTo(x0, y0);
    canvas->LineTo(x1, y1);
  };
  // The outer ring without its corners, dark top-left and light bottom-right.
  line(dark, 1, 0, w - 1, 0);
  line(dark, 0, 1, 0, h - 1);
  line(light, w - 1, 1, w - 1, h - 1);
  line(light, 1, h - 1, w - 1, h - 1);
  canvas->SetPixel(1, 1, dark);
  canvas->SetPixel(w - 2, 1, dark);
  canvas->SetPixel(1, h - 2, dark);
  canvas->SetPixel(w - 2, h - 2, light);
  InflateRect(r, -1, -1);
  // One pixel in, a rounded rectangle.
  const TColor rim = !GetEnabled() ? (color == clBtnFace ? LightenColor(clBtnShadow, 30) : DarkenColor(color, 80))
                     : color == clBtnFace ? ColorToRGB(cl3DDkShadow)
                                          : DarkenColor(color, 150);
  PaintRoundedFlatFrame(canvas, r, rim, AllSides);
  InflateRect(r, -1, -1);
  canvas->GetBrush()->SetStyle(bsSolid);
  auto rings = [&](TColor l) {
    const TColor d = DarkenColor(l, 30);
    TRect in = PaintBevel(canvas, r, l, AllSides, 1, d);
    in = PaintBevel(canvas, in, DarkenColor(l, 10), AllSides, 1, LightenColor(d, 10));
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(in);
  };
  const bool pressed = Pressed() || DownInGroup();
  if (!GetEnabled()) {
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(r);
  } else if (pressed) {
    canvas->GetBrush()->SetColor(DarkenColor(color, 10));
    canvas->FillRect(r);
  } else if (FMouseOver) {
    const int hue = HueOfColor(GetHotTrackColor());
    rings(GetHotTrackColorType() == TVyHotTrackColorType::htctActual ? LightenColor(GetHotTrackColor(), 30)
                                                                     : HueSatLumToColor((hue + 120) % 240, 220, 180));
  } else if (FGroupIndex != 0 || !(FActive || Focused())) {
    // A soft shading: light top rows, darker bottom rows and right columns.
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(r);
    const int W = r.Right, H = r.Bottom, L = r.Left, T = r.Top;
    line(LightenColor(color, 20), L, T, W, T);
    line(LightenColor(color, 15), L, T + 1, W, T + 1);
    line(LightenColor(color, 10), L, T + 2, W, T + 2);
    line(DarkenColor(color, 10), L, H - 3, W, H - 3);
    line(DarkenColor(color, 10), W - 3, T, W - 3, H);
    line(DarkenColor(color, 20), L, H - 2, W, H - 2);
    line(DarkenColor(color, 20), W - 2, T, W - 2, H);
    line(DarkenColor(color, 30), L, H - 1, W, H - 1);
  } else {
    rings(HueSatLumToColor(HueOfColor(GetHighlightColor()), 220, 220));
  }
}

void TVyButton::PaintThemed(TCanvas* canvas, const TRect& r) {
  PaintParentBackground(this, canvas->GetHandle(), false);
  int state = PBS_NORMAL;
  if (!GetEnabled()) state = PBS_DISABLED;
  else if (DownInGroup() || Pressed()) state = PBS_PRESSED;
  else if (FMouseOver) state = PBS_HOT;
  else if (FGroupIndex == 0 && (FActive || Focused())) state = FShowDown ? PBS_NORMAL : PBS_DEFAULTED;
  ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(L"BUTTON", BP_PUSHBUTTON, state),
                              r);
}

void TVyButton::Paint() {
  TCanvas* canvas = GetCanvas();
  const TRect client = GetClientRect();
  TRect focus = client;
  InflateRect(focus, GetHotTrack() || Themed() ? -3 : -4, GetHotTrack() || Themed() ? -3 : -4);
  if (DownInGroup() || Pressed()) OffsetRect(focus, 1, 1);
  if (Themed()) PaintThemed(canvas, client);
  else if (GetHotTrack()) PaintHotTrack(canvas, client);
  else PaintClassic(canvas, client);
  DrawCaption();
  if (Focused() && FShowFocusRect) canvas->DrawFocusRect(focus);
}

// --- the bitmap button

namespace {
struct TKindLook {
  const wchar_t* caption;
  TModalResult result;
  const wchar_t* glyph;
};
const TKindLook& KindLook(TBitBtnKind kind) {
  static const TKindLook looks[] = {
      {L"", mrNone, nullptr},
      {L"OK", mrOk, L"VYCOMMON_OK"},
      {L"Cancel", mrCancel, L"VYCOMMON_CANCEL"},
      {L"&Help", mrNone, L"VYCOMMON_HELP"},
      {L"&Yes", mrYes, L"VYCOMMON_YES"},
      {L"&No", mrNo, L"VYCOMMON_NO"},
      {L"&Close", mrNone, L"VYCOMMON_CLOSE"},
      {L"Abort", mrAbort, L"VYCOMMON_ABORT"},
      {L"&Retry", mrRetry, L"VYCOMMON_RETRY"},
      {L"&Ignore", mrIgnore, L"VYCOMMON_IGNORE"},
      {L"&All", mrAll, L"VYCOMMON_ALL"},
  };
  return looks[kind];
}
// Each kind's glyph, loaded once and kept for the program's life.
TBitmap* KindGlyph(TBitBtnKind kind) {
  static std::array<std::unique_ptr<TBitmap>, 11> glyphs;
  auto& slot = glyphs[kind];
  if (!slot && KindLook(kind).glyph) {
    auto glyph = std::make_unique<TBitmap>();
    glyph->LoadFromResourceName(nullptr, KindLook(kind).glyph);
    slot = std::move(glyph);
  }
  return slot.get();
}
}  // namespace

TVyBitBtn::TVyBitBtn(TComponent* AOwner) : TVyButton(AOwner), FGlyph(new TBitmap), FImageChangeLink(new TChangeLink) {
  FGlyph->OnChange = TNotifyEvent(this, &TVyBitBtn::GlyphChanged);
  FImageChangeLink->OnChange = TNotifyEvent(this, &TVyBitBtn::ImagesChanged);
}

TVyBitBtn::~TVyBitBtn() {
  FGlyph->OnChange = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TVyBitBtn::Publish(TPublisher<TVyBitBtn>& p) {
  using T = TVyBitBtn;
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption).Stored(&T::IsCaptionStored);
  p.Property(L"Cancel", &T::GetCancel, &T::SetCancel).Default(false).Stored(&T::IsCancelStored);
  p.Property(L"Glyph", &T::GetGlyph, &T::SetGlyph);
  p.Property(L"DisabledIndex", &T::GetDisabledIndex, &T::SetDisabledIndex).Default(-1);
  p.Property(L"ImageIndex", &T::GetImageIndex, &T::SetImageIndex).Default(-1);
  p.Property(L"Images", &T::GetImages, &T::SetImages);
  p.Property(L"Kind", &T::GetKind, &T::SetKind).Default(::bkCustom);
  p.Property(L"Layout", &T::GetLayout, &T::SetLayout).Default(blGlyphLeft);
  p.Property(L"Margin", &T::GetMargin, &T::SetMargin).Default(2);
  p.Property(L"NumGlyphs", &T::GetNumGlyphs, &T::SetNumGlyphs).Default(1);
  p.Property(L"Spacing", &T::GetSpacing, &T::SetSpacing).Default(4);
}

void TVyBitBtn::GlyphChanged(TObject*) {
  FNumGlyphs = GlyphCountFor(FGlyph->GetWidth(), FGlyph->GetHeight());
  if (!FSettingKind) FModifiedGlyph = true;
  Invalidate();
}

void TVyBitBtn::SetImages(TCustomImageList* v) {
  if (FImages == v) return;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FImages = v;
  if (v) {
    v->RegisterChanges(FImageChangeLink.get());
    v->FreeNotification(this);
  }
  Invalidate();
}

void TVyBitBtn::Notification(TComponent* AComponent, TOperation Operation) {
  TVyButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TVyBitBtn::SetMargin(int v) {
  if (v < -1) return;
  Look(FMargin, v);
}

void TVyBitBtn::ChangeScale(int M, int D) {
  TVyButton::ChangeScale(M, D);
  if (FMargin > 0) FMargin = MulDiv(FMargin, M, D);
  FSpacing = MulDiv(FSpacing, M, D);
}

TBitBtnKind TVyBitBtn::GetKind() const {
  if (FKind == ::bkCustom) return ::bkCustom;
  const TKindLook& look = KindLook(FKind);
  const bool defaultKind = FKind == bkOK || FKind == bkYes;
  const bool cancelKind = FKind == bkCancel || FKind == bkNo;
  if ((defaultKind && !GetDefault()) || (cancelKind && !GetCancel()) || GetModalResult() != look.result ||
      FModifiedGlyph)
    return ::bkCustom;
  return FKind;
}

void TVyBitBtn::SetKind(TBitBtnKind v) {
  if (v == ::bkCustom) {
    FKind = v;
    Invalidate();
    return;
  }
  FKind = v;
  const TKindLook& look = KindLook(v);
  if (v == bkOK || v == bkYes) SetDefault(true);
  if (v == bkCancel || v == bkNo) SetCancel(true);
  const bool loading = ComponentState().Contains(csLoading);
  if (!loading || GetCaption().empty()) SetCaption(look.caption);
  SetModalResult(look.result);
  {
    FSettingKind = true;
    const TOnExit set([this] { FSettingKind = false; });
    FGlyph->Assign(KindGlyph(v));
  }
  FNumGlyphs = 2;
  FModifiedGlyph = false;
  Invalidate();
}

bool TVyBitBtn::IsCaptionStored() const {
  const TBitBtnKind kind = GetKind();
  return kind == ::bkCustom || GetCaption() != KindLook(kind).caption;
}

TSize TVyBitBtn::GetGlyphSize() const {
  if (HasImage()) return {FImages->GetWidth(), FImages->GetHeight()};
  if (FGlyph->Empty()) return {0, 0};
  return {FGlyph->GetWidth() / std::max(1, FNumGlyphs), FGlyph->GetHeight()};
}

void TVyBitBtn::PlaceGlyphAndCaption(TPoint& glyphAt, TRect& caption) {
  TRect base = GetClientRect();
  InflateRect(base, -5, -5);
  base.Right -= RightReserve();
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  CalcButtonLayout(canvas, base, GetGlyphSize(), GetCaption(), FLayout, FMargin, FSpacing, glyphAt, caption);
  if (Pressed() || DownInGroup()) {
    if (Themed()) glyphAt.X += 1;
    else if (!GetHotTrack()) {
      glyphAt.X += 1;
      glyphAt.Y += 1;
      OffsetRect(caption, 1, 1);
    }
  }
}

TRect TVyBitBtn::GetCaptionRect() {
  const TSize size = GetGlyphSize();
  if (size.cx == 0) {
    TRect r = TVyButton::GetCaptionRect();
    r.Right -= RightReserve();
    return r;
  }
  TPoint glyphAt;
  TRect caption;
  PlaceGlyphAndCaption(glyphAt, caption);
  return caption;
}

void TVyBitBtn::Paint() {
  TVyButton::Paint();
  if (GetGlyphSize().cx == 0) return;
  TPoint at;
  TRect caption;
  PlaceGlyphAndCaption(at, caption);
  TCanvas* canvas = GetCanvas();
  if (FKind != ::bkCustom || !HasImage()) {
    const int cell = FNumGlyphs >= 2 && !GetEnabled() ? 1 : 0;
    DrawButtonGlyph(canvas, FGlyph.get(), FNumGlyphs, cell, at.X, at.Y, false);
  } else if (FDisabledIndex < 0) {
    FImages->Draw(canvas, at.X, at.Y, FImageIndex, GetEnabled());
  } else {
    FImages->Draw(canvas, at.X, at.Y, GetEnabled() ? FImageIndex : FDisabledIndex, true);
  }
}

// --- the menu button

TVyMenuButton::TVyMenuButton(TComponent* AOwner) : TVyBitBtn(AOwner) {
  ControlStyle.Exclude(csDoubleClicks);
  SetWidth(110);
}

void TVyMenuButton::Publish(TPublisher<TVyMenuButton>& p) {
  using T = TVyMenuButton;
  p.Message(WM_KEYDOWN, &T::WMKeyDown);
  p.Property(L"DropDownMenu", &T::GetDropDownMenu, &T::SetDropDownMenu);
  p.Property(L"ShowArrow", &T::GetShowArrow, &T::SetShowArrow).Default(true);
  p.Property(L"OnDropDown", &T::OnDropDown);
}

void TVyMenuButton::SetDropDownMenu(TPopupMenu* v) {
  if (FDropDownMenu == v) return;
  FDropDownMenu = v;
  if (v) v->FreeNotification(this);
}

void TVyMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TVyBitBtn::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TVyMenuButton::DoDropDown() {
  if (OnDropDown) OnDropDown(FDropDownMenu);
}

void TVyMenuButton::DropDown() {
  if (!FDropDownMenu) return;
  DoDropDown();
  TPoint at = ClientToScreen(TPoint{0, GetHeight()});
  // As wide as the widest caption in the menu font, and kept on the monitor.
  int widest = 0;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(dc, font);
  TMenuItem* items = FDropDownMenu->GetItems();
  for (int i = 0; i < items->Count(); ++i) {
    const std::wstring caption = StripHotkey(items->Items(i)->GetCaption());
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &size);
    widest = std::max(widest, int(size.cx));
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  const int menuWidth = widest + 56;
  const TRect work = WindowWorkArea(this);
  if (at.X + menuWidth > work.Right) at.X += GetWidth() - menuWidth;
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(at.X, at.Y);
}

void TVyMenuButton::PressDrop() {
  const auto now = static_cast<std::uint32_t>(ClockNowMs());
  if (WithinRedropGuard(now, FLastDrop)) {
    // This press closed the menu: it does not open it again.
    FSkipNextClick = true;
    FLastDrop = 0;
    SetMouseCapture(false);
    return;
  }
  DropDown();
  FSkipNextClick = true;
  FLastDrop = static_cast<std::uint32_t>(ClockNowMs());
  if (FLastDrop == 0) FLastDrop = 1;
}

void TVyMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TVyBitBtn::MouseDown(button, shift, x, y);
  if (button != mbLeft || !FDropDownMenu || !GetEnabled()) return;
  PressDrop();
  // The menu has closed: the button comes up again.
  FDragging = FShowDown = false;
  SetMouseCapture(false);
  Repaint();
}

void TVyMenuButton::Click() {
  if (FSkipNextClick) {
    FSkipNextClick = false;
    return;
  }
  if (!FDropDownMenu || FNoDrop) {
    TVyBitBtn::Click();
    return;
  }
  PressDrop();
  FSkipNextClick = false;
}

void TVyMenuButton::WMKeyDown(TMessage& m) {
  if (m.WParam == VK_F4 && FDropDownMenu) {
    PressDrop();
    FSkipNextClick = false;
    return;
  }
  QORN_INHERITED(m);
}

void TVyMenuButton::Paint() {
  TVyBitBtn::Paint();
  if (!FShowArrow) return;
  const TRect r = GetClientRect();
  const int push = Pressed() ? 1 : 0;
  const int mid = (r.Top + r.Bottom) / 2 + push, right = r.Right + push;
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetEnabled() ? clWindowText : clBtnShadow);
  canvas->GetPen()->SetColor(GetEnabled() ? clWindowText : clBtnShadow);
  canvas->Polygon({{right - 12, mid + 2}, {right - 15, mid - 1}, {right - 9, mid - 1}});
}

}  // namespace Vy
