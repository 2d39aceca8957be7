#include "controls/visual/HTMLabel.h"

#include <shellapi.h>

#include "vcl/Bitmap.h"
#include "vcl/Canvas.h"

namespace Flat {

namespace {
THTMLShellOpen& ShellOpen() {
  static THTMLShellOpen open = [](const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  return open;
}
bool StartsWithNoCase(const std::wstring& s, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return s.size() >= n && _wcsnicmp(s.c_str(), prefix, n) == 0;
}
}  // namespace

void SetHTMLShellOpen(THTMLShellOpen open) { ShellOpen() = std::move(open); }

bool IsShellOpenableAnchor(const std::wstring& anchor) {
  return StartsWithNoCase(anchor, L"http://") || StartsWithNoCase(anchor, L"https://") ||
         StartsWithNoCase(anchor, L"mailto:");
}

void THTMLabel::Publish(TPublisher<THTMLabel>& p) {
  p.Message(CM_HINTSHOW, &THTMLabel::CMHintShow);
  p.Message(CM_MOUSEENTER, &THTMLabel::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &THTMLabel::CMMouseLeave);
  p.Property(L"AnchorHint", &THTMLabel::GetAnchorHint, &THTMLabel::SetAnchorHint).Default(false);
  p.Property(L"AutoSizing", &THTMLabel::GetAutoSizing, &THTMLabel::SetAutoSizing).Default(false);
  p.Property(L"AutoSizeType", &THTMLabel::GetAutoSizeType, &THTMLabel::SetAutoSizeType).Default(asVertical);
  p.Property(L"BevelInner", &THTMLabel::GetBevelInner, &THTMLabel::SetBevelInner).Default(bvNone);
  p.Property(L"BevelOuter", &THTMLabel::GetBevelOuter, &THTMLabel::SetBevelOuter).Default(bvNone);
  p.Property(L"BevelWidth", &THTMLabel::GetBevelWidth, &THTMLabel::SetBevelWidth).Default(1);
  p.Property(L"BorderWidth", &THTMLabel::GetBorderWidth, &THTMLabel::SetBorderWidth).Default(0);
  p.Property(L"BorderStyle", &THTMLabel::GetBorderStyle, &THTMLabel::SetBorderStyle).Default(bsNone);
  p.Property(L"BorderColor", &THTMLabel::GetBorderColor, &THTMLabel::SetBorderColor).Default(clBlack).Idents(ColorIdents);
  p.Property(L"ColorTo", &THTMLabel::GetColorTo, &THTMLabel::SetColorTo).Default(clNone).Idents(ColorIdents);
  p.Property(L"Ellipsis", &THTMLabel::GetEllipsis, &THTMLabel::SetEllipsis).Default(false);
  p.Property(L"GradientType", &THTMLabel::GetGradientType, &THTMLabel::SetGradientType).Default(gtFullHorizontal);
  p.Property(L"HintShowFull", &THTMLabel::GetHintShowFull, &THTMLabel::SetHintShowFull).Default(false);
  p.Property(L"HTMLHint", &THTMLabel::GetHTMLHint, &THTMLabel::SetHTMLHint).Default(false);
  p.Property(L"Hover", &THTMLabel::GetHover, &THTMLabel::SetHover).Default(false);
  p.Property(L"HoverColor", &THTMLabel::GetHoverColor, &THTMLabel::SetHoverColor).Default(clNone).Idents(ColorIdents);
  p.Property(L"HoverFontColor", &THTMLabel::GetHoverFontColor, &THTMLabel::SetHoverFontColor)
      .Default(clNone)
      .Idents(ColorIdents);
  p.Property(L"HTMLText", &THTMLabel::GetHTMLText, &THTMLabel::SetHTMLText);
  p.Property(L"Images", &THTMLabel::GetImages, &THTMLabel::SetImages);
  p.Property(L"LineWidth", &THTMLabel::GetLineWidth, &THTMLabel::SetLineWidth).Default(2);
  p.Property(L"LineSpacing", &THTMLabel::GetLineSpacing, &THTMLabel::SetLineSpacing).Default(0);
  p.Property(L"ShadowColor", &THTMLabel::GetShadowColor, &THTMLabel::SetShadowColor).Default(clGray).Idents(ColorIdents);
  p.Property(L"ShadowOffset", &THTMLabel::GetShadowOffset, &THTMLabel::SetShadowOffset).Default(2);
  p.Property(L"Transparent", &THTMLabel::GetTransparent, &THTMLabel::SetTransparent).Default(false);
  p.Property(L"URLColor", &THTMLabel::GetURLColor, &THTMLabel::SetURLColor).Default(clBlue).Idents(ColorIdents);
  p.Property(L"VAlignment", &THTMLabel::GetVAlignment, &THTMLabel::SetVAlignment).Default(tvaTop);
  p.Property(L"Version", &THTMLabel::GetVersion, &THTMLabel::SetVersion);
  p.Property(L"OnAnchorClick", &THTMLabel::OnAnchorClick);
  p.Property(L"OnAnchorEnter", &THTMLabel::OnAnchorEnter);
  p.Property(L"OnAnchorExit", &THTMLabel::OnAnchorExit);
  p.Property(L"OnAnchorHint", &THTMLabel::OnAnchorHint);
  p.Property(L"OnMouseEnter", &THTMLabel::OnMouseEnter);
  p.Property(L"OnMouseLeave", &THTMLabel::OnMouseLeave);
}

THTMLabel::THTMLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FHTMLText(std::make_unique<TStringList>()), FImagesLink(std::make_unique<TChangeLink>()) {
  FHTMLText->OnChange = TNotifyEvent(this, &THTMLabel::HTMLTextChanged);
  FImagesLink->OnChange = [this](TObject*) { Invalidate(); };
  SetColor(clWindow);
  SetWidth(120);
  SetHeight(17);
}

THTMLabel::~THTMLabel() {
  if (FImages) FImages->UnRegisterChanges(FImagesLink.get());
}

void THTMLabel::HTMLTextChanged(TObject*) { HTMLChanged(); }

void THTMLabel::SetHTMLText(TStrings* v) {
  std::wstring text;
  if (v) {
    // A line break between two lines must not glue their words together.
    for (wchar_t c : v->Text()) text += (c == L'\r' || c == L'\n') ? L' ' : c;
    while (!text.empty() && text.back() == L' ') text.pop_back();
  }
  FHTMLText->Clear();
  FHTMLText->Add(text);
  HTMLChanged();
}

void THTMLabel::SetAutoSizing(bool v) {
  FAutoSizing = v;
  if (v) {
    if (GetAlign() == alLeft || GetAlign() == alRight) SetWidth(6);
    if (GetAlign() == alTop || GetAlign() == alBottom) SetHeight(6);
  }
  Invalidate();
}

void THTMLabel::SetAutoSizeType(TAutoSizeType v) {
  FAutoSizeType = v;
  SetAutoSizing(FAutoSizing);
}

void THTMLabel::SetImages(TCustomImageList* v) {
  if (FImages == v) return;
  if (FImages) FImages->UnRegisterChanges(FImagesLink.get());
  FImages = v;
  if (FImages) {
    FImages->RegisterChanges(FImagesLink.get());
    FImages->FreeNotification(this);
  }
  Invalidate();
}

void THTMLabel::Loaded() {
  TGraphicControl::Loaded();
  SetCaption(L"");
}

void THTMLabel::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Invalidate();
  }
  TGraphicControl::Notification(AComponent, Operation);
}

std::wstring THTMLabel::GetJoinedHTMLText() const {
  std::wstring r;
  for (int i = 0; i < FHTMLText->Count(); ++i) {
    if (i) r += L' ';
    r += FHTMLText->Strings(i);
  }
  return r;
}

THTMLTextInput THTMLabel::BaseInput() const {
  THTMLTextInput in;
  in.Text = GetJoinedHTMLText();
  in.URLColor = FURLColor;
  in.HoverColor = FHoverColor;
  in.HoverFontColor = FHoverFontColor;
  in.ShadowColor = FShadowColor;
  in.ShadowOffset = FShadowOffset;
  in.HoverStyle = FHover;
  in.HoverLink = FHoverLink;
  in.LineSpacing = FLineSpacing;
  in.Ellipsis = FEllipsis;
  return in;
}

bool THTMLabel::RenderHTML(TCanvas* canvas, const TRect& rect, THTMLTextInput in, THTMLTextOutput& out) {
  in.Rect = rect;
  bool r = DrawHTMLText(canvas, in, THTMLPictureSources{FImages, FPictures}, out);
  FTextWidth = out.TextWidth;
  FLineTextHeight = out.TextHeight;
  return r;
}

TRect THTMLabel::TextRect() const {
  TRect r = GetClientRect();
  int inset = 0;
  if (FBevelInner != bvNone || FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBorderStyle == bsSingle) inset += FBorderWidth;
  r.Left += inset;
  r.Top += inset;
  r.Right -= inset;
  r.Bottom -= inset;
  return r;
}

void THTMLabel::Paint() {
  TRect client = GetClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return;
  const int bands = client.Width() / 4;
  TCanvas* target = GetCanvas();
  TBitmap buffer;
  TCanvas* canvas = target;
  if (!FTransparent) {
    buffer.SetSize(client.Width(), client.Height());
    canvas = buffer.GetCanvas();
    if (FColorTo == clNone || FGradientType > gtFullVertical) {
      canvas->GetBrush()->SetColor(GetColor());
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->FillRect(client);
    } else {
      DrawGradientBands(canvas, GetColor(), FColorTo, FGradientType == gtFullHorizontal, client, bands);
    }
  }
  if (FGradientType >= gtBottomLine && FColorTo != clNone) {
    TRect strip = client;
    if (FGradientType == gtBottomLine) strip.Top = client.Bottom - FLineWidth;
    else if (FGradientType == gtCenterLine) strip.Top = (client.Height() - FLineWidth) / 2;
    strip.Bottom = strip.Top + FLineWidth;
    DrawGradientBands(canvas, GetColor(), FColorTo, true, strip, bands);
  }
  canvas->SetFont(GetFont());
  TRect r = client;
  auto bevel = [&](TPanelBevel b) {
    if (b == bvNone) return;
    TColor topLeft = b == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottomRight = b == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(canvas, r, topLeft, bottomRight, FBevelWidth);
  };
  bevel(FBevelOuter);
  if (FBorderWidth > 0 && !FTransparent) Frame3D(canvas, r, GetColor(), GetColor(), FBorderWidth);
  bevel(FBevelInner);
  if (FBorderStyle == bsSingle && FBorderWidth > 0 && FBorderColor != clNone) {
    int c = (FBorderWidth + 1) / 2, d = FBorderWidth / 2;
    canvas->GetPen()->SetColor(FBorderColor);
    canvas->GetPen()->SetWidth(FBorderWidth);
    canvas->GetBrush()->SetStyle(bsClear);
    TRect b = client;
    b.Left += c;
    b.Top += c;
    b.Right -= d + 1;
    b.Bottom -= d + 1;
    canvas->Polyline({TPoint{b.Left, b.Top}, TPoint{b.Right, b.Top}, TPoint{b.Right, b.Bottom},
                      TPoint{b.Left, b.Bottom}, TPoint{b.Left, b.Top}});
    canvas->GetPen()->SetWidth(1);
  }
  r = TextRect();
  canvas->GetBrush()->SetStyle(bsClear);
  const bool horizontal = (GetAlign() == alNone || GetAlign() == alLeft || GetAlign() == alRight) &&
                          (FAutoSizeType == asHorizontal || FAutoSizeType == asBoth);
  const bool vertical = (GetAlign() == alNone || GetAlign() == alTop || GetAlign() == alBottom) &&
                        (FAutoSizeType == asVertical || FAutoSizeType == asBoth);
  TRect layout = r;
  if (FAutoSizing) {
    if (horizontal) layout.Right += 65535;
    if (vertical) layout.Bottom += 65535;
  }
  TPoint mouse{-1, -1};
  if (POINT pt; GetCursorPos(&pt)) mouse = ScreenToClient(TPoint{pt.x, pt.y});
  THTMLTextInput in = BaseInput();
  in.Point = mouse;
  THTMLTextOutput out;
  if (FAutoSizing || FVAlignment != tvaTop) {
    in.HitTestOnly = true;
    RenderHTML(canvas, layout, in, out);
    in.HitTestOnly = false;
  }
  if (FAutoSizing) {
    int inset = client.Width() - r.Width();
    int h = FLineTextHeight + 6 + inset, w = FTextWidth + 6 + inset;
    if ((vertical && h != GetHeight()) || (horizontal && w != GetWidth())) {
      // Taking the text's size repaints the label at that size.
      SetBounds(GetLeft(), GetTop(), horizontal ? w : GetWidth(), vertical ? h : GetHeight());
      return;
    }
    if (FVAlignment == tvaCenter) r.Top += 3;
    else if (FVAlignment == tvaBottom) r.Top += 6;
  } else if (FVAlignment == tvaCenter) {
    r.Top += std::max(0, (r.Height() - FLineTextHeight) / 2);
  } else if (FVAlignment == tvaBottom) {
    r.Top = std::max(r.Top, r.Bottom - FLineTextHeight);
  }
  if (GetVisible()) RenderHTML(canvas, r, in, out);
  if (!FTransparent) BitBlt(target->GetHandle(), 0, 0, client.Width(), client.Height(), canvas->GetHandle(), 0, 0, SRCCOPY);
}

void THTMLabel::RedrawNow() {
  if (!GetParent() || !GetParent()->HandleAllocated()) return;
  Paint();
  GetCanvas()->FreeHandle();
}

void THTMLabel::PaintToCanvas(TCanvas* canvas, const TRect& rect) {
  THTMLTextInput in = BaseInput();
  in.ShadowColor = clGray;
  in.HoverColor = in.HoverFontColor = clNone;
  in.HoverStyle = false;
  in.HoverLink = -1;
  in.Print = true;
  in.ShadowOffset = 1;
  in.Point = TPoint{0, 0};
  THTMLTextOutput out;
  canvas->GetBrush()->SetStyle(bsClear);
  RenderHTML(canvas, rect, in, out);
}

std::wstring THTMLabel::AnchorAt(int x, int y, TRect& rect) {
  rect = TRect{-1, -1, -1, -1};
  TRect r = TextRect();
  TBitmap measure;
  measure.SetSize(1, 1);
  TCanvas* canvas = measure.GetCanvas();
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  THTMLTextInput in = BaseInput();
  in.HitTestOnly = true;
  THTMLTextOutput out;
  if (FVAlignment != tvaTop) {
    RenderHTML(canvas, r, in, out);
    if (FLineTextHeight < GetHeight()) {
      if (FVAlignment == tvaCenter) r.Top += (r.Height() - FLineTextHeight) / 2;
      else r.Top = r.Bottom - FLineTextHeight;
    }
  }
  in.Point = TPoint{x, y};
  if (RenderHTML(canvas, r, in, out)) {
    rect = out.LinkRect;
    FHoverLink = out.LinkUnderPoint;
    return out.AnchorValue;
  }
  FHoverLink = -1;
  return L"";
}

void THTMLabel::InvalidateOnParent(const TRect& r) {
  if (!GetParent() || !GetParent()->HandleAllocated()) return;
  if (r.Left == -1) {
    Invalidate();
    return;
  }
  RECT pr{r.Left + GetLeft(), r.Top + GetTop(), r.Right + GetLeft(), r.Bottom + GetTop()};
  InvalidateRect(GetParent()->GetHandle(), &pr, TRUE);
}

void THTMLabel::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  TRect rect;
  std::wstring anchor = AnchorAt(x, y, rect);
  if (!anchor.empty()) {
    if ((anchor != FLastAnchor || !(rect == FHoverRect) || FHoverLink == -1) && FHover && rect.Left != -1)
      InvalidateOnParent(FHoverRect);
    if (GetCursor() == crDefault || anchor != FLastAnchor || FLastHoverLink != FHoverLink) {
      if (FAnchorHint) Application->CancelHint();
      SetCursor(crHandPoint);
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
      if (FHover) InvalidateOnParent(FHoverRect);
    }
    FLastAnchor = anchor;
    FLastHoverLink = FHoverLink;
    FHoverRect = rect;
    if (FHover) InvalidateOnParent(FHoverRect);
  } else if (GetCursor() == crHandPoint) {
    SetCursor(crDefault);
    if (OnAnchorExit) OnAnchorExit(this, L"");
    if (FHover) InvalidateOnParent(FHoverRect);
    FHoverRect = TRect{-1, -1, -1, -1};
    FLastAnchor.clear();
  }
}

void THTMLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;  // anchors follow the left button only
  TRect rect;
  std::wstring anchor = AnchorAt(x, y, rect);
  if (anchor.empty()) return;
  if (OnAnchorClick) OnAnchorClick(this, anchor);
  if (IsShellOpenableAnchor(anchor) && ShellOpen()) ShellOpen()(anchor);
}

void THTMLabel::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseEnter) OnMouseEnter(this);
}

void THTMLabel::CMMouseLeave(TMessage& m) {
  if (FHover && FHoverLink != -1) InvalidateOnParent(FHoverRect);
  FHoverLink = -1;
  QORN_INHERITED(m);
  if (OnMouseLeave) OnMouseLeave(this);
}

void THTMLabel::CMHintShow(TMessage& m) {
  auto* info = reinterpret_cast<THintInfo*>(m.LParam);
  m.Result = 0;  // the hint may always show
  if (!info) return;
  std::wstring anchor;
  if (FAnchorHint) {
    TRect rect;
    anchor = AnchorAt(info->CursorPos.X, info->CursorPos.Y, rect);
    if (!anchor.empty()) {
      if (OnAnchorHint) OnAnchorHint(this, anchor);
      TPoint at = ClientToScreen(info->CursorPos);
      info->HintPos = TPoint{at.X + 10, at.Y - 10};
      info->HintStr = anchor;
      return;
    }
  }
  if (FHintShowFull) info->HintStr = FHTMLHint ? GetJoinedHTMLText() : StripHTMLTags(GetJoinedHTMLText());
}

}  // namespace Flat
