#include "controls/extended/VyCtlButton.h"

#include "controls/extended/VyButtonRules.h"
#include "controls/extended/VyGrafxGlyphs.h"
#include "controls/extended/VyTabButtons.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

#include <vssym32.h>

namespace Vy {

TVyControlButton::TVyControlButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(new TBitmap) {
  ControlStyle = TControlStyle{csCaptureMouse};
  SetColor(clBtnFace);
  SetBounds(0, 0, 17, 21);
  FGlyph->OnChange = TNotifyEvent(this, &TVyControlButton::GlyphChanged);
}

TVyControlButton::~TVyControlButton() { FGlyph->OnChange = nullptr; }

void TVyControlButton::Publish(TPublisher<TVyControlButton>& p) {
  using T = TVyControlButton;
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"Flat", &T::GetFlat, &T::SetFlat).Default(false);
  p.Property(L"Glyph", &T::GetGlyph, &T::SetGlyph);
  p.Property(L"NumGlyphs", &T::GetNumGlyphs, &T::SetNumGlyphs).Default(1);
  p.Property(L"Delay", &T::GetDelay, &T::SetDelay).Default(100u);
  p.Property(L"InitialDelay", &T::GetInitialDelay, &T::SetInitialDelay).Default(400u);
  p.Property(L"RepeatClicks", &T::GetRepeatClicks, &T::SetRepeatClicks).Default(false);
  p.Property(L"Style", &T::GetStyle, &T::SetStyle).Default(cbsNone);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
}

void TVyControlButton::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  Invalidate();
}

void TVyControlButton::SetNumGlyphs(TNumGlyphs v) {
  v = std::clamp(v, 1, 4);
  if (FNumGlyphs == v) return;
  FNumGlyphs = v;
  Invalidate();
}

void TVyControlButton::SetStyle(TVyControlButtonStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Invalidate();
}

void TVyControlButton::GlyphChanged(TObject*) {
  FNumGlyphs = GlyphCountFor(FGlyph->GetWidth(), FGlyph->GetHeight());
  Invalidate();
}

bool TVyControlButton::Themed() const { return ThemeServices().ThemesEnabled(); }

bool TVyControlButton::Active() const { return FDown || (FMouseOver && GetEnabled()); }

// --- mouse

void TVyControlButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  {
    // A handler that aborts the press (the pair, when the edit cannot take the focus)
    // leaves the button as it was: up, and no longer holding the mouse.
    TOnFailure released([this] {
      FDown = FDragging = false;
      SetMouseCapture(false);
    });
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  if (button == mbLeft && GetEnabled()) {
    if (!FDown) {
      FDown = true;
      Invalidate();
    }
    FDragging = true;
    FPointerInside = true;
  }
  if (FRepeatClicks) {
    if (!FRepeatTimer) {
      FRepeatTimer = std::make_unique<TTimer>(nullptr);
      FRepeatTimer->SetEnabled(false);
      FRepeatTimer->OnTimer = TNotifyEvent(this, &TVyControlButton::RepeatTick);
    }
    FRepeatTimer->SetInterval(FInitialDelay);
    FRepeatTimer->SetEnabled(true);
  }
}

void TVyControlButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (FDragging) FPointerInside = x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
}

void TVyControlButton::RepeatTick(TObject*) {
  FRepeatTimer->SetInterval(FDelay);
  if (!FDown || !GetMouseCapture() || !FPointerInside) return;
  TOnFailure stopped([this] { FRepeatTimer->SetEnabled(false); });
  Click();
}

void TVyControlButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  const bool wasDragging = FDragging;
  if (wasDragging) {
    FDragging = FDown = FMouseOver = false;
    Repaint();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!wasDragging) return;
  if (x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight()) Click();
  if ((FFlat || Themed()) && GetEnabled()) CheckHover();
}

void TVyControlButton::CheckHover() {
  if (GetParent() && GetParent()->HandleAllocated()) Perform(PointerOver(this) ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TVyControlButton::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = true;
  DoMouseEnter();
  if (FFlat || Themed()) Invalidate();
}

void TVyControlButton::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = false;
  DoMouseLeave();
  if (FFlat || Themed()) Invalidate();
}

void TVyControlButton::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

// --- painting

TRect TVyControlButton::DrawButtonFace(TRect r) {
  TCanvas* canvas = GetCanvas();
  TBrush* brush = canvas->GetBrush();
  if (Themed()) {
    const bool flatIdle = FFlat && !Active();
    if (flatIdle) {
      brush->SetColor(GetColor());
      canvas->FillRect(r);
    } else {
      TThemedElementDetails part;
      const int state = !GetEnabled() ? 4 : FDown ? 3 : Active() ? 2 : 1;  // disabled, pressed, hot, normal
      TRect at = r;
      switch (FStyle) {
        case cbsNone:
          part = ThemeServices().GetElementDetails(L"SCROLLBAR", SBP_THUMBBTNHORZ, state);
          at = Rect(r.Left - 2, r.Top - 1, r.Right + 1, r.Bottom + 1);
          break;
        case cbsDropDown:
          part = ThemeServices().GetElementDetails(L"COMBOBOX", CP_DROPDOWNBUTTON, state);
          InflateRect(at, 1, 1);
          break;
        default: {
          // The arrow parts come four to a direction: up, down, left, right.
          const int base = FStyle == cbsUp ? 0 : FStyle == cbsDown ? 4 : FStyle == cbsLeft ? 8 : 12;
          part = ThemeServices().GetElementDetails(L"SCROLLBAR", SBP_ARROWBTN, base + state);
        }
      }
      ThemeServices().DrawElement(canvas->GetHandle(), part, at, &r);
    }
    InflateRect(r, -2, -2);
    return r;
  }
  if (FFlat) {
    if (Active()) r = PaintFrame(canvas, r, FDown ? fsStatus : fsPopup);
    brush->SetColor(GetColor());
  } else {
    r = FDown ? PaintBevel(canvas, r, clBtnShadow, AllSides, 1, clBtnShadow) : PaintFrame(canvas, r, fsButtonUp);
    brush->SetColor(clBtnFace);
  }
  brush->SetStyle(bsSolid);
  canvas->FillRect(r);
  return r;
}

void TVyControlButton::DrawGlyph(TRect r) {
  if (FGlyph->Empty()) return;
  InflateRect(r, -1, -1);
  const int cellW = FGlyph->GetWidth() / std::max(1, FNumGlyphs), cellH = FGlyph->GetHeight();
  int x = r.Left + (r.Width() - cellW) / 2, y = r.Top + (r.Height() - cellH) / 2;
  if (FDown) {
    x += 1;
    if (!Themed()) y += 1;
  }
  const int cell = FNumGlyphs >= 2 && !GetEnabled() ? 1 : 0;
  DrawButtonGlyph(GetCanvas(), FGlyph.get(), FNumGlyphs, cell, x, y, false);
}

void TVyControlButton::Paint() {
  TRect r = DrawButtonFace(GetClientRect());
  if (Themed() && FStyle != cbsNone) return;  // the themed part carries its arrow
  switch (FStyle) {
    case cbsNone: DrawGlyph(r); break;
    case cbsDropDown: PaintDropDownArrow(GetCanvas(), r, false, GetEnabled(), FDown); break;
    default: {
      const TVyArrowDirection d = FStyle == cbsLeft    ? TVyArrowDirection::adLeft
                                  : FStyle == cbsUp    ? TVyArrowDirection::adUp
                                  : FStyle == cbsRight ? TVyArrowDirection::adRight
                                                       : TVyArrowDirection::adDown;
      PaintDirectionArrow(GetCanvas(), r, GetEnabled(), FDown, d);
    }
  }
}

}  // namespace Vy
