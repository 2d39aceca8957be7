#include "controls/extended/VyToolButton.h"

#include "controls/extended/VyButtonRules.h"
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafxGlyphs.h"
#include "vcl/Clock.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/Themes.h"

#include <vssym32.h>

namespace Vy {

TVyToolButton::TVyToolButton(TComponent* AOwner) : TGraphicControl(AOwner), FImageChangeLink(new TChangeLink) {
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks, csSetCaption};
  SetColor(clBtnFace);
  SetBounds(0, 0, 25, 25);
  FImageChangeLink->OnChange = TNotifyEvent(this, &TVyToolButton::ImagesChanged);
}

TVyToolButton::~TVyToolButton() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TVyToolButton::Publish(TPublisher<TVyToolButton>& p) {
  using T = TVyToolButton;
  p.Message(CM_BUTTONPRESSED, &T::CMButtonPressed);
  p.Message(CM_DIALOGCHAR, &T::CMDialogChar);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_TEXTCHANGED, &T::CMTextChanged);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"AllowAllUp", &T::GetAllowAllUp, &T::SetAllowAllUp).Default(false);
  p.Property(L"DisabledIndex", &T::GetDisabledIndex, &T::SetDisabledIndex).Default(-1);
  p.Property(L"DownIndex", &T::GetDownIndex, &T::SetDownIndex).Default(-1);
  p.Property(L"HotIndex", &T::GetHotIndex, &T::SetHotIndex).Default(-1);
  p.Property(L"ImageIndex", &T::GetImageIndex, &T::SetImageIndex).Default(-1).Stored(&T::IsImageIndexStored);
  p.Property(L"GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex).Default(0);
  p.Property(L"Down", &T::GetDown, &T::SetDown).Default(false).Stored(&T::IsDownStored);
  p.Property(L"DropDownMenu", &T::GetDropDownMenu, &T::SetDropDownMenu);
  p.Property(L"Flat", &T::GetFlat, &T::SetFlat).Default(true);
  p.Property(L"Images", &T::GetImages, &T::SetImages);
  p.Property(L"Layout", &T::GetLayout, &T::SetLayout).Default(blGlyphLeft);
  p.Property(L"ShowCaption", &T::GetShowCaption, &T::SetShowCaption).Default(false);
  p.Property(L"Transparent", &T::GetTransparent, &T::SetTransparent).Default(true);
  p.Property(L"ToolStyle", &T::GetToolStyle, &T::SetToolStyle).Default(tsButton);
  p.Property(L"OnDropDown", &T::OnDropDown);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
}

bool TVyToolButton::IsDownStored() const {
  auto* link = dynamic_cast<TVyToolButtonActionLink*>(GetActionLink());
  return !link || !link->IsCheckedLinked();
}

bool TVyToolButton::IsImageIndexStored() const {
  auto* link = dynamic_cast<TVyToolButtonActionLink*>(GetActionLink());
  return !link || !link->IsImageIndexLinked();
}

void TVyToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (AComponent == FImages) FImages = nullptr;
}

void TVyToolButton::SetDropDownMenu(TPopupMenu* v) {
  if (FDropDownMenu == v) return;
  FDropDownMenu = v;
  if (v) v->FreeNotification(this);
}

void TVyToolButton::ImagesChanged(TObject*) {
  if (FImages)
    SetBounds(GetLeft(), GetTop(), std::max(GetWidth(), FImages->GetWidth()),
              std::max(GetHeight(), FImages->GetHeight()));
  Invalidate();
}

void TVyToolButton::SetImages(TCustomImageList* v) {
  if (FImages == v) return;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FImages = v;
  if (v) {
    v->RegisterChanges(FImageChangeLink.get());
    v->FreeNotification(this);
  }
  ImagesChanged(nullptr);
}

void TVyToolButton::SetToolStyle(TVyToolStyle v) {
  if (FToolStyle == v) return;
  FToolStyle = v;
  FGroupIndex = 0;
  if (!ComponentState().Contains(csLoading)) SetWidth(GetWidth() + (v == tsDropDown ? kArrowZone : -kArrowZone));
  Invalidate();
}

void TVyToolButton::SetGroupIndex(int v) {
  if (FToolStyle == tsDropDown) v = 0;
  if (FGroupIndex == v) return;
  FGroupIndex = v;
  BroadcastGroup();
}

void TVyToolButton::BroadcastGroup() { TellGroup(this, CM_BUTTONPRESSED, FGroupIndex); }

void TVyToolButton::SetDown(bool v) {
  if (ComponentState().Contains(csLoading)) {
    FDown = v;  // GroupIndex may come after it
    if (v) FState = TState::Exclusive;
    return;
  }
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  if (v) {
    if (FState == TState::Up) Invalidate();
    FState = TState::Exclusive;
    BroadcastGroup();
  } else {
    FState = TState::Up;
    Repaint();
  }
}

void TVyToolButton::CMButtonPressed(TMessage& m) {
  auto* sender = reinterpret_cast<TVyToolButton*>(m.LParam);
  if (sender == this || static_cast<int>(m.WParam) != FGroupIndex || FGroupIndex == 0) return;
  if (!dynamic_cast<TVyToolButton*>(reinterpret_cast<TObject*>(m.LParam))) return;
  if (sender->GetDown() && FDown) {
    FDown = false;
    FState = TState::Up;
    Invalidate();
  }
  FAllowAllUp = sender->GetAllowAllUp();
}

void TVyToolButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && GetEnabled() && GetVisible() && GetParent() &&
      GetParent()->Showing()) {
    Click();
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TVyToolButton::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (FFlat || ThemeServices().ThemesEnabled()) Invalidate();
}

void TVyToolButton::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FMouseOver = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (FFlat || ThemeServices().ThemesEnabled()) Invalidate();
}

void TVyToolButton::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyToolButton::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyToolButton::CheckHover() {
  const bool over = PointerOver(this);
  if (over != FMouseOver) Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

// --- mouse

void TVyToolButton::PressDrop() {
  const auto now = static_cast<std::uint32_t>(ClockNowMs());
  if (WithinRedropGuard(now, FLastDrop)) {
    FLastDrop = 0;
    SetMouseCapture(false);
    return;
  }
  FState = TState::Dropped;
  Repaint();
  DropDown();
  FLastDrop = static_cast<std::uint32_t>(ClockNowMs());
  if (FLastDrop == 0) FLastDrop = 1;
}

void TVyToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (FToolStyle == tsDropDown && FDropDownMenu && (x >= GetWidth() - kArrowZone || !OnClick)) {
    if (FDropDownMenu->GetItems()->Count() == 0) return;
    FDragging = true;
    PressDrop();
    MouseUp(button, shift, x, y);
    return;
  }
  if (!(FDown && FState != TState::Exclusive)) FState = TState::Down;
  Invalidate();
  FDragging = true;
}

void TVyToolButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) {
    if (!FMouseOver) CheckHover();
    return;
  }
  const TState now =
      Inside(x, y) ? (FDown ? TState::Exclusive : TState::Down) : (FDown ? TState::Exclusive : TState::Up);
  if (now == FState) return;
  FState = now;
  Invalidate();
}

void TVyToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = Inside(x, y);
  bool click = inside && FState != TState::Dropped;
  if (FGroupIndex == 0) {
    FState = TState::Up;
    FMouseOver = false;
    if (inside) Repaint();
  } else if (inside) {
    const bool was = FDown;
    SetDown(!FDown);
    if (FDown == was) click = false;
    if (FDown) FState = TState::Exclusive;
  } else {
    if (FDown) FState = TState::Exclusive;
    Repaint();
  }
  if (click) Click();
  if (FToolStyle == tsDropDown) {
    FState = TState::Up;
    Repaint();
  }
  CheckHover();
}

void TVyToolButton::DoDropDown() {
  if (OnDropDown) OnDropDown(FDropDownMenu);
}

void TVyToolButton::DropDown() {
  if (!FDropDownMenu) return;
  DoDropDown();
  TPoint at = ClientToScreen(TPoint{0, GetHeight()});
  const TRect work = GetParent() ? WindowWorkArea(GetParent()) : TRect{};
  const int menuWidth = 120;  // a fair estimate; the menu keeps itself on the screen
  if (GetParent() && at.X + menuWidth > work.Right) at.X += GetWidth() - menuWidth;
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(at.X, at.Y);
  if (FGroupIndex != 0 && !FDown) Click();
}

// --- actions

TControlActionLink* TVyToolButton::CreateActionLink() { return new TVyToolButtonActionLink(this); }

void TVyToolButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TGraphicControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || !FDown) SetDown(action->GetChecked());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(action->GetImageIndex());
}

bool TVyToolButtonActionLink::IsCheckedLinked() const {
  return TControlActionLink::IsCheckedLinked() && FButton->GetDown() == CustomAction()->GetChecked();
}

bool TVyToolButtonActionLink::IsImageIndexLinked() const {
  return TControlActionLink::IsImageIndexLinked() && FButton->GetImageIndex() == CustomAction()->GetImageIndex();
}

void TVyToolButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FButton->SetDown(Value);
}

void TVyToolButtonActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FButton->SetImageIndex(Value);
}

// --- painting

bool TVyToolButton::Pushed() const {
  return FState == TState::Down || FState == TState::Exclusive || (FState == TState::Dropped && !OnClick);
}

int TVyToolButton::ShownImageIndex() const {
  if (!FImages || FImageIndex < 0) return -1;
  if (FDownIndex >= 0 && Pushed()) return FDownIndex;
  const bool hot = FMouseOver && GetEnabled() && FHotIndex >= 0;
  if (FDisabledIndex >= 0 && !GetEnabled()) return FDisabledIndex;
  return hot ? FHotIndex : FImageIndex;
}

TRect TVyToolButton::ImageRect() {
  TRect r = GetClientRect();
  if (FToolStyle == tsDropDown) r.Right -= kArrowZone;
  InflateRect(r, -2, -2);
  if (!FImages || FImageIndex < 0) return Rect(r.Left, r.Top, r.Left, r.Top);
  const int w = FImages->GetWidth(), h = FImages->GetHeight();
  int textHeight = 0;
  if (FShowCaption && !GetCaption().empty()) {
    GetCanvas()->SetFont(GetFont());
    textHeight = GetCanvas()->TextHeight(GetCaption());
  }
  TRect img;
  switch (FLayout) {
    case blGlyphRight: img = Bounds(r.Right - 2 - w, r.Top + (r.Height() - h) / 2, w, h); break;
    case blGlyphTop:
      img = Bounds(r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h - 4 - textHeight) / 2, w, h);
      break;
    case blGlyphBottom:
      img = Bounds(r.Left + (r.Width() - w) / 2, r.Bottom - (r.Height() - h - 4 - textHeight) / 2 - h, w, h);
      break;
    default:
      img = FShowCaption ? Bounds(r.Left + 2, r.Top + (r.Height() - h) / 2, w, h)
                         : Bounds(r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h) / 2, w, h);
  }
  if (Pushed()) OffsetRect(img, 1, ThemeServices().ThemesEnabled() ? 0 : 1);
  return img;
}

TRect TVyToolButton::CaptionRect(const TRect& image) {
  TRect r = GetClientRect();
  if (FToolStyle == tsDropDown) r.Right -= kArrowZone;
  InflateRect(r, -2, -2);
  if (image.Width() > 0) switch (FLayout) {
      case blGlyphLeft: r.Left = image.Right + 4; break;
      case blGlyphRight: r.Right = image.Left - 4; break;
      case blGlyphTop: r.Top = image.Bottom; break;
      case blGlyphBottom: r.Bottom = image.Top; break;
    }
  if (Pushed()) OffsetRect(r, 1, 1);
  return r;
}

void TVyToolButton::Paint() {
  if (!GetEnabled()) {
    FState = TState::Disabled;
    FDragging = false;
  } else if (FState == TState::Disabled) {
    FState = FDown && FGroupIndex != 0 ? TState::Exclusive : TState::Up;
  }
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  const bool hot = FMouseOver && GetEnabled();
  const bool pressed = FState == TState::Down || FState == TState::Exclusive;
  if (FFlat) {
    if (pressed) r = PaintFrame(canvas, r, fsStatus);
    else if (hot) r = PaintFrame(canvas, r, fsPopup);
  } else {
    r = PaintFrame(canvas, r, pressed ? fsLowered : fsButtonUp);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  if (!FTransparent) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
  }
  if (FState == TState::Exclusive && !(FFlat && hot)) {
    if (FTransparent) FillChecker(canvas, r, clBtnHighlight, clBtnFace);
    else FillChecker(canvas, r, LightenColor(GetColor(), 20), GetColor());
  }
  if (FToolStyle == tsDropDown) {
    const int w = GetWidth(), h = GetHeight();
    TPen* pen = canvas->GetPen();
    if (FState == TState::Dropped) {
      pen->SetColor(clBtnShadow);
      canvas->MoveTo(w - 15, 0);
      canvas->LineTo(w - 15, h);
      PaintFrame(canvas, OnClick ? Rect(w - kArrowZone, 0, w, h) : GetClientRect(), fsStatus);
    } else if (GetEnabled() && (!FFlat || hot) && OnClick) {
      const int shift = FState == TState::Down ? 1 : 0;
      if (FState != TState::Down) {
        pen->SetColor(clBtnHighlight);
        canvas->MoveTo(w - kArrowZone + shift, 0);
        canvas->LineTo(w - kArrowZone + shift, h);
      }
      pen->SetColor(clBtnShadow);
      canvas->MoveTo(w - kArrowZone - 1 + shift, 0);
      canvas->LineTo(w - kArrowZone - 1 + shift, h);
    }
    const int push = FState == TState::Down || FState == TState::Dropped ? 1 : 0;
    const int cx = w - kArrowZone / 2 + push, cy = h / 2 + push;
    const TColor arrow = GetEnabled() ? clWindowText : clBtnShadow;
    canvas->GetBrush()->SetColor(arrow);
    pen->SetColor(arrow);
    canvas->Polygon({{cx - 2, cy - 1}, {cx + 2, cy - 1}, {cx, cy + 1}});
  }
  const TRect image = ImageRect();
  const int index = ShownImageIndex();
  if (index >= 0) {
    const bool greyed = FDisabledIndex < 0 && !GetEnabled();
    FImages->Draw(canvas, image.Left, image.Top, index, !greyed);
  }
  if (FShowCaption && !GetCaption().empty()) {
    TRect text = CaptionRect(image);
    canvas->SetFont(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(!GetEnabled()            ? clBtnShadow
                                : FState == TState::Down ? clHighlightText
                                                         : GetFont()->GetColor());
    TRect measured = text;
    const UINT flags = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
    canvas->DrawText(GetCaption(), measured, flags | DT_CALCRECT);
    OffsetRect(measured, (text.Width() - measured.Width()) / 2, (text.Height() - measured.Height()) / 2);
    measured.Left = text.Left;
    measured.Right = text.Right;
    canvas->DrawText(GetCaption(), measured, flags);
  }
}

}  // namespace Vy
