#include "vcl/Buttons.h"
#include "vcl/ScopeGuards.h"

#include "vcl/Forms.h"

#include <algorithm>

// --- layout and glyphs

void CalcButtonLayout(TCanvas* canvas, const TRect& client, TSize glyphSize, const std::wstring& caption,
                      TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds) {
  const int cw = client.Width(), ch = client.Height();
  TSize text{0, 0};
  if (!caption.empty()) {
    TRect r(0, 0, cw, 0);
    canvas->DrawText(caption, r, DT_CALCRECT | DT_SINGLELINE);
    text = {r.Width(), r.Height()};
  }
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  // Across the layout both are centred.
  if (horizontal) {
    glyphPos.Y = (ch - glyphSize.cy + 1) / 2;
    textBounds.Top = (ch - text.cy + 1) / 2;
  } else {
    glyphPos.X = (cw - glyphSize.cx + 1) / 2;
    textBounds.Left = (cw - text.cx + 1) / 2;
  }
  const int along = horizontal ? cw : ch;
  const int glyphAlong = horizontal ? glyphSize.cx : glyphSize.cy;
  const int textAlong = horizontal ? text.cx : text.cy;
  if (textAlong == 0 || glyphAlong == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (along - (glyphAlong + textAlong)) / 3;
      spacing = margin;
    } else {
      margin = (along - (glyphAlong + textAlong + spacing)) / 2;
    }
  } else if (spacing == -1) {
    spacing = (along - (margin + glyphAlong + textAlong)) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textBounds.Left = glyphPos.X + glyphSize.cx + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = cw - margin - glyphSize.cx;
      textBounds.Left = glyphPos.X - spacing - text.cx;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textBounds.Top = glyphPos.Y + glyphSize.cy + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = ch - margin - glyphSize.cy;
      textBounds.Top = glyphPos.Y - spacing - text.cy;
      break;
  }
  glyphPos.X += client.Left;
  glyphPos.Y += client.Top;
  textBounds.Left += client.Left;
  textBounds.Top += client.Top;
  textBounds.Right = textBounds.Left + text.cx;
  textBounds.Bottom = textBounds.Top + text.cy;
}

void DrawButtonGlyph(TCanvas* canvas, TBitmap* glyph, int numGlyphs, int index, int x, int y, bool disabled) {
  if (!glyph || glyph->Empty() || numGlyphs < 1) return;
  const int w = glyph->GetWidth() / numGlyphs, h = glyph->GetHeight();
  if (w <= 0) return;
  index = std::clamp(index, 0, numGlyphs - 1);
  const PixelBuffer all = glyph->ToPixels();
  const bool ownAlpha = glyph->GetPixelFormat() == pf32bit && glyph->GetAlphaFormat() != afIgnored;
  const std::uint32_t transparent = all.at(0, h - 1) & 0x00FFFFFF;
  PixelBuffer part(w, h);
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      std::uint32_t c = all.at(index * w + px, py);
      if (!ownAlpha) c = (c & 0x00FFFFFF) == transparent ? 0 : (c | 0xFF000000);
      part.set(px, py, c);
    }
  if (!disabled) {
    DrawPixelBuffer(canvas->GetHandle(), TRect(x, y, x + w, y + h), part, true);
    return;
  }
  // Embossed: the dark shape of the picture in the highlight colour one pixel
  // down and right, then in the shadow colour.
  PixelBuffer light(w, h), dark(w, h);
  const std::uint32_t hi = static_cast<std::uint32_t>(ColorToRGB(clBtnHighlight));
  const std::uint32_t sh = static_cast<std::uint32_t>(ColorToRGB(clBtnShadow));
  auto argb = [](std::uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  };
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      const std::uint32_t c = part.at(px, py);
      if ((c >> 24) < 128) continue;
      const int lum = (30 * ((c >> 16) & 0xFF) + 59 * ((c >> 8) & 0xFF) + 11 * (c & 0xFF)) / 100;
      if (lum >= 192) continue;
      light.set(px, py, argb(hi));
      dark.set(px, py, argb(sh));
    }
  DrawPixelBuffer(canvas->GetHandle(), TRect(x + 1, y + 1, x + 1 + w, y + 1 + h), light, true);
  DrawPixelBuffer(canvas->GetHandle(), TRect(x, y, x + w, y + h), dark, true);
}

namespace {

void DrawCaption(TCanvas* canvas, const std::wstring& caption, TRect bounds, bool enabled) {
  if (caption.empty()) return;
  canvas->GetBrush()->SetStyle(bsClear);
  if (!enabled) {
    TRect shifted(bounds.Left + 1, bounds.Top + 1, bounds.Right + 1, bounds.Bottom + 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(caption, shifted, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->DrawText(caption, bounds, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  canvas->GetBrush()->SetStyle(bsSolid);
}

}  // namespace

// --- speed button

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(new TBitmap) {
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetParentColor(true);
  SetBounds(0, 0, 23, 22);
  FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
}

TSpeedButton::~TSpeedButton() {
  FGlyph->OnChange = nullptr;
}

void TSpeedButton::Publish(TPublisher<TSpeedButton>& p) {
  p.Message(CM_BUTTONPRESSED, &TSpeedButton::CMButtonPressed);
  p.Message(CM_MOUSEENTER, &TSpeedButton::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TSpeedButton::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &TSpeedButton::CMEnabledChanged);
  p.Message(CM_TEXTCHANGED, &TSpeedButton::CMTextChanged);
  p.Message(CM_DIALOGCHAR, &TSpeedButton::CMDialogChar);
  p.Message(CM_SYSCOLORCHANGE, &TSpeedButton::CMSysColorChange);
  p.Property(L"AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  p.Property(L"GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  p.Property(L"Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
  p.Property(L"Caption", &TSpeedButton::GetCaption, &TSpeedButton::SetCaption);
  p.Property(L"Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
  p.Property(L"Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  p.Property(L"Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  p.Property(L"Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
  p.Property(L"NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  p.Property(L"Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
  p.Property(L"Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent).Default(true);
}

void TSpeedButton::SetGlyph(TBitmap* v) { FGlyph->Assign(v); }

void TSpeedButton::GlyphChanged(TObject*) {
  // A strip as wide as a whole number of its height holds that many pictures.
  if (!FGlyph->Empty() && FGlyph->GetHeight() > 0 && FGlyph->GetWidth() % FGlyph->GetHeight() == 0) {
    const int n = FGlyph->GetWidth() / FGlyph->GetHeight();
    if (n >= 1 && n <= 4) FNumGlyphs = n;
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs v) {
  v = std::clamp(v, 1, 4);
  if (FNumGlyphs == v) return;
  FNumGlyphs = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  // The one down button of a group stays down unless all may be up.
  if (FDown && !FAllowAllUp && !v && !ComponentState().Contains(csLoading)) return;
  FDown = v;
  if (v) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Repaint();
  }
  if (v) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int v) {
  if (FGroupIndex == v) return;
  FGroupIndex = v;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v) {
  if (FAllowAllUp == v) return;
  FAllowAllUp = v;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}

void TSpeedButton::SetMargin(int v) {
  if (FMargin == v || v < -1) return;
  FMargin = v;
  Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
  if (FSpacing == v) return;
  FSpacing = v;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  if (v) ControlStyle.Exclude(csOpaque); else ControlStyle.Include(csOpaque);
  Invalidate();
}

// Tells the group: the other buttons of this GroupIndex go up, and share AllowAllUp.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !GetParent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<uintptr_t>(FGroupIndex), reinterpret_cast<intptr_t>(this), 0};
  GetParent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& m) {
  auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
  if (static_cast<int>(m.WParam) != FGroupIndex || !sender || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  FState = GetEnabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  TButtonState state = FDown ? bsExclusive : bsUp;
  if (GetClientRect().Contains({x, y})) state = bsDown;
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging || button != mbLeft) return;
  FDragging = false;
  const bool inside = GetClientRect().Contains({x, y});
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) FState = bsExclusive;
    else if (FState != bsExclusive) FState = bsUp;
    Invalidate();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& m) {
  TGraphicControl::CMMouseEnter(m);
  if (FMouseInControl || !GetEnabled()) return;
  FMouseInControl = true;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& m) {
  TGraphicControl::CMMouseLeave(m);
  if (!FMouseInControl) return;
  FMouseInControl = false;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& m) {
  TGraphicControl::CMEnabledChanged(m);
  FState = GetEnabled() ? (FDown ? bsExclusive : bsUp) : bsDisabled;
  if (!GetEnabled()) FMouseInControl = false;
  Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& m) {
  TGraphicControl::CMTextChanged(m);
  Invalidate();
}

void TSpeedButton::CMSysColorChange(TMessage& m) {
  TGraphicControl::CMSysColorChange(m);
  Invalidate();
}

void TSpeedButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && GetEnabled() && GetVisible() && GetParent() &&
      GetParent()->Showing()) {
    Click();
    m.Result = 1;
  }
}

void TSpeedButton::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  const bool enabled = GetEnabled();
  const TButtonState state = enabled ? FState : bsDisabled;
  const bool pushed = state == bsDown || state == bsExclusive;
  HDC dc = canvas->GetHandle();
  if (!FTransparent || !FFlat) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  RECT r{client.Left, client.Top, client.Right, client.Bottom};
  if (FFlat) {
    // Flat: an edge only under the mouse or while down.
    if (pushed || (FMouseInControl && enabled)) DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
  }
  if (state == bsExclusive && !FFlat) {
    // Stuck down: the face is lighter than a button being pressed.
    canvas->GetBrush()->SetColor(clBtnHighlight);
    canvas->FillRect(TRect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2));
  }
  const int w = FGlyph->Empty() ? 0 : FGlyph->GetWidth() / FNumGlyphs;
  const TSize glyphSize{w, FGlyph->Empty() ? 0 : FGlyph->GetHeight()};
  canvas->SetFont(GetFont());
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(canvas, client, glyphSize, GetCaption(), FLayout, FMargin, FSpacing, glyphPos, textBounds);
  const int shift = pushed ? 1 : 0;
  int index = 0;
  if (state == bsDisabled && FNumGlyphs > 1) index = 1;
  if (state == bsDown && FNumGlyphs > 2) index = 2;
  if (state == bsExclusive && FNumGlyphs > 3) index = 3;
  else if (state == bsExclusive && FNumGlyphs > 2) index = 2;
  DrawButtonGlyph(canvas, FGlyph.get(), FNumGlyphs, index, glyphPos.X + shift, glyphPos.Y + shift,
                  state == bsDisabled && FNumGlyphs == 1);
  TRect text(textBounds.Left + shift, textBounds.Top + shift, textBounds.Right + shift, textBounds.Bottom + shift);
  DrawCaption(canvas, GetCaption(), text, enabled);
}

// --- bit button

namespace {

struct TKindInfo {
  const wchar_t* Caption;
  TModalResult Result;
};

const TKindInfo& KindInfo(TBitBtnKind kind) {
  static const TKindInfo table[] = {
      {L"", mrNone},          {L"OK", mrOk},        {L"Cancel", mrCancel}, {L"&Help", mrNone},
      {L"&Yes", mrYes},       {L"&No", mrNo},       {L"&Close", mrNone},   {L"Abort", mrAbort},
      {L"&Retry", mrRetry},   {L"&Ignore", mrIgnore}, {L"&All", mrAll},
  };
  return table[static_cast<int>(kind)];
}

}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(new TBitmap) {
  FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() {
  FGlyph->OnChange = nullptr;
}

void TBitBtn::Publish(TPublisher<TBitBtn>& p) {
  p.Message(CM_TEXTCHANGED, &TBitBtn::CMTextChanged);
  p.Message(CM_ENABLEDCHANGED, &TBitBtn::CMEnabledChanged);
  p.Message(CM_FONTCHANGED, &TBitBtn::CMFontChanged);
  p.Message(CN_DRAWITEM, &TBitBtn::CNDrawItem);
  p.Property(L"Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph);
  p.Property(L"Kind", &TBitBtn::GetKind, &TBitBtn::SetKind).Default(bkCustom);
  p.Property(L"Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  p.Property(L"Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin).Default(-1);
  p.Property(L"NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  p.Property(L"Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing).Default(4);
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool isDefault) {
  // An owner-drawn button keeps its style: the look is ours to draw.
  if (FIsFocused == isDefault) return;
  FIsFocused = isDefault;
  Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* v) { FGlyph->Assign(v); }

void TBitBtn::GlyphChanged(TObject*) {
  if (!FGlyph->Empty() && FGlyph->GetHeight() > 0 && FGlyph->GetWidth() % FGlyph->GetHeight() == 0) {
    const int n = FGlyph->GetWidth() / FGlyph->GetHeight();
    if (n >= 1 && n <= 4) FNumGlyphs = n;
  }
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs v) {
  v = std::clamp(v, 1, 4);
  if (FNumGlyphs == v) return;
  FNumGlyphs = v;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind v) {
  if (FKind == v) return;
  if (v != bkCustom) {
    SetDefault(v == bkOK || v == bkYes);
    SetCancel(v == bkCancel || v == bkNo);
    // A caption the form gives (read before or after the kind) wins.
    if (!ComponentState().Contains(csLoading) || GetCaption().empty()) SetCaption(KindInfo(v).Caption);
    SetModalResult(KindInfo(v).Result);
  }
  FKind = v;
  Invalidate();
}

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) form->Close();
  } else if (FKind == bkHelp && Application) {
    // Its own help, else the nearest parent's.
    for (TControl* c = this; c; c = c->GetParent()) {
      if (!c->GetHelpKeyword().empty()) {
        Application->HelpKeyword(c->GetHelpKeyword());
        break;
      }
      if (c->GetHelpContext() != 0) {
        Application->HelpContext(c->GetHelpContext());
        break;
      }
    }
  }
  TButton::Click();
}

void TBitBtn::SetLayout(TButtonLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}

void TBitBtn::SetMargin(int v) {
  if (FMargin == v || v < -1) return;
  FMargin = v;
  Invalidate();
}

void TBitBtn::SetSpacing(int v) {
  if (FSpacing == v) return;
  FSpacing = v;
  Invalidate();
}

// The kinds' own pictures, drawn once: a tick, a cross, a question mark...
TBitmap* TBitBtn::KindGlyph() {
  if (FKind == bkCustom) return nullptr;
  if (FKindGlyph && FKindGlyphOf == FKind) return FKindGlyph.get();
  const int size = 16;
  auto bmp = std::make_unique<TBitmap>(size, size, pf24bit);
  TCanvas* c = bmp->GetCanvas();
  // Olive is the transparent colour (the bottom-left pixel).
  c->GetBrush()->SetColor(clOlive);
  c->FillRect(TRect(0, 0, size, size));
  c->GetPen()->SetWidth(2);
  switch (FKind) {
    case bkOK:
    case bkYes:
    case bkAll:
      c->GetPen()->SetColor(clGreen);
      c->Polyline({TPoint{3, 8}, TPoint{6, 11}, TPoint{12, 4}});
      if (FKind == bkAll) c->Polyline({TPoint{3, 12}, TPoint{6, 15}, TPoint{12, 8}});
      break;
    case bkCancel:
    case bkNo:
    case bkAbort:
      c->GetPen()->SetColor(clRed);
      c->MoveTo(4, 4);
      c->LineTo(12, 12);
      c->MoveTo(12, 4);
      c->LineTo(4, 12);
      break;
    case bkHelp:
    case bkRetry:
    case bkIgnore:
    case bkClose: {
      const wchar_t* mark = FKind == bkHelp ? L"?" : FKind == bkRetry ? L"R" : FKind == bkIgnore ? L"!" : L"X";
      c->GetFont()->SetName(L"Arial");
      c->GetFont()->SetHeight(-13);
      c->GetFont()->SetStyle(TFontStyles{fsBold});
      c->GetFont()->SetColor(FKind == bkClose ? clMaroon : clNavy);
      c->GetBrush()->SetStyle(bsClear);
      TRect r(0, 0, size, size - 1);
      c->DrawText(mark, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      break;
    }
    case bkCustom: break;
  }
  // Keep the transparent corner whatever was drawn.
  bmp->SetPixel(0, size - 1, clOlive);
  FKindGlyph = std::move(bmp);
  FKindGlyphOf = FKind;
  return FKindGlyph.get();
}

void TBitBtn::WndProc(TMessage& m) {
  // An owner-drawn button reports a quick second click as a double click: it is
  // a second press here, as for any push button.
  if (m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
  TButton::WndProc(m);
}

void TBitBtn::CNDrawItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  m.Result = 1;
  const TRect client(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
  TCanvas* canvas = FBuffer.Begin(dis->hDC, client);
  const TOnFailure dropped([this] { FBuffer.Cancel(); });
  DrawButton(canvas, client, (dis->itemState & ODS_SELECTED) != 0, (dis->itemState & ODS_FOCUS) != 0);
  FBuffer.End();
}

void TBitBtn::DrawButton(TCanvas* canvas, const TRect& client, bool pressed, bool focused) {
  HDC dc = canvas->GetHandle();
  TRect r = client;
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(clBtnFace);
  canvas->FillRect(r);
  const bool looksDefault = FIsFocused || focused;
  if (looksDefault) {
    canvas->GetBrush()->SetColor(clWindowFrame);
    canvas->FrameRect(r);
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
  if (pressed) {
    canvas->GetBrush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(r);
  } else {
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (GetEnabled() ? 0 : DFCS_INACTIVE));
  }
  TBitmap* glyph = FKind == bkCustom ? FGlyph.get() : KindGlyph();
  const int numGlyphs = FKind == bkCustom ? FNumGlyphs : 1;
  const bool hasGlyph = glyph && !glyph->Empty();
  const TSize glyphSize{hasGlyph ? glyph->GetWidth() / numGlyphs : 0, hasGlyph ? glyph->GetHeight() : 0};
  canvas->SetFont(GetFont());
  const TRect inner(client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1);
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(canvas, inner, glyphSize, GetCaption(), FLayout, FMargin, FSpacing, glyphPos, textBounds);
  const int shift = pressed ? 1 : 0;
  if (hasGlyph) {
    int index = 0;
    if (!GetEnabled() && numGlyphs > 1) index = 1;
    if (pressed && numGlyphs > 2) index = 2;
    DrawButtonGlyph(canvas, glyph, numGlyphs, index, glyphPos.X + shift, glyphPos.Y + shift,
                    !GetEnabled() && numGlyphs == 1);
  }
  TRect text(textBounds.Left + shift, textBounds.Top + shift, textBounds.Right + shift, textBounds.Bottom + shift);
  DrawCaption(canvas, GetCaption(), text, GetEnabled());
  if (focused && looksDefault) {
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->DrawFocusRect(TRect(client.Left + 4, client.Top + 4, client.Right - 4, client.Bottom - 4));
  }
}

void TBitBtn::CMTextChanged(TMessage& m) {
  TButton::CMTextChanged(m);
  Invalidate();
}

void TBitBtn::CMEnabledChanged(TMessage& m) {
  TButton::CMEnabledChanged(m);
  Invalidate();
}

void TBitBtn::CMFontChanged(TMessage& m) {
  TButton::CMFontChanged(m);
  Invalidate();
}

