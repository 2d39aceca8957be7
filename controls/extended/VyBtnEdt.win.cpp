#include "controls/extended/VyBtnEdt.h"

#include "vcl/Filer.h"
#include "vcl/Themes.h"

#include <array>
#include <memory>

namespace Vy {

TBitmap* ButtonKindGlyph(TButtonKind kind) {
  static const wchar_t* const names[] = {nullptr,
                                         L"VYBTNEDT_LOOKUP",
                                         L"VYBTNEDT_DROPDOWN",
                                         L"VYBTNEDT_CALENDAR",
                                         L"VYBTNEDT_ACCEPT",
                                         L"VYBTNEDT_REJECT",
                                         L"VYBTNEDT_FOLDER",
                                         L"VYBTNEDT_FIND",
                                         L"VYBTNEDT_SEARCH"};
  static std::array<std::unique_ptr<TBitmap>, std::size(names)> cache;
  if (kind <= bkCustom || kind >= int(std::size(names))) return nullptr;
  auto& slot = cache[kind];
  if (!slot) {
    auto glyph = std::make_unique<TBitmap>();
    glyph->LoadFromResourceName(nullptr, names[kind]);
    slot = std::move(glyph);
  }
  return slot.get();
}

// --- the pair

TVyButtonPair::TVyButtonPair(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle.Exclude(csAcceptsControls);
  ControlStyle.Exclude(csSetCaption);
  SetParentColor(true);
  FMainButton = CreatePairButton();
  FMainButton->SetVisible(true);
  FSecondButton = CreatePairButton();
  SetBounds(0, 0, 34, 21);
}

void TVyButtonPair::Publish(TPublisher<TVyButtonPair>& p) {
  using T = TVyButtonPair;
  p.Message(WM_SIZE, &T::WMSize);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"Flat", &T::GetFlat, &T::SetFlat).Default(false);
  p.Property(L"FocusControl", &T::GetFocusControl, &T::SetFocusControl);
  p.Property(L"OnAltBtnClick", &T::OnAltBtnClick);
  p.Property(L"OnButtonClick", &T::OnButtonClick);
}

TVyControlButton* TVyButtonPair::CreatePairButton() {
  auto* button = new TVyControlButton(this);
  button->SetParent(this);
  button->ControlStyle.Include(csNoDesignVisible);
  button->OnClick = TNotifyEvent(this, &TVyButtonPair::PairButtonClick);
  button->OnMouseDown = TMouseEvent(this, &TVyButtonPair::PairButtonMouseDown);
  button->SetVisible(false);
  button->SetWidth(ThemeServices().ThemesEnabled() ? 15 : 17);
  return button;
}

void TVyButtonPair::TakeFocus(TWinControl* control) {
  if (!control->GetTabStop() || !control->CanFocus()) return;
  if (control->HandleAllocated() && control->WindowHandle() == GetFocus()) return;
  control->SetFocus();
  // A control that refuses the focus (a handler moved it on) keeps the press from clicking.
  if (!control->Focused()) Abort();
}

void TVyButtonPair::PairButtonMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  if (FFocusControl) TakeFocus(FFocusControl);
  if (GetTabStop()) TakeFocus(this);
}

void TVyButtonPair::PairButtonClick(TObject* Sender) {
  if (Sender == FSecondButton) {
    if (OnAltBtnClick) OnAltBtnClick(this);
  } else if (OnButtonClick) {
    OnButtonClick(this);
  }
}

void TVyButtonPair::SetColor(TColor v) {
  TControl::SetColor(v);
  FMainButton->SetColor(v);
  FSecondButton->SetColor(v);
}

void TVyButtonPair::SetEnabled(bool v) {
  if (v == GetEnabled()) return;
  TWinControl::SetEnabled(v);
  FMainButton->SetEnabled(v);
  FSecondButton->SetEnabled(v);
}

void TVyButtonPair::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  FMainButton->SetFlat(v);
  FSecondButton->SetFlat(v);
}

void TVyButtonPair::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  LayoutButtons();
}

void TVyButtonPair::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  LayoutButtons();
  m.Result = 0;
}

void TVyButtonPair::LayoutButtons() {
  if (ComponentState().Contains(csLoading)) return;
  const int h = GetHeight() - 1;
  int x = 0;
  for (TVyControlButton* b : {FMainButton, FSecondButton}) {
    if (!b->GetVisible()) continue;
    b->SetBounds(x, 0, b->GetWidth(), h);
    x += b->GetWidth();
  }
}

// --- the edit

TVyCustomButtonEdit::TVyCustomButtonEdit(TComponent* AOwner) : TVyEdit(AOwner) {
  FButtons = new TVyButtonPair(this);
  FButtons->SetParent(this);
  FButtons->SetBounds(0, 0, 17, 10);
  FButtons->SetVisible(true);
  FButtons->SetFocusControl(this);
  FButtons->OnAltBtnClick = TNotifyEvent(this, &TVyCustomButtonEdit::AltBtnClick);
  FButtons->OnButtonClick = TNotifyEvent(this, &TVyCustomButtonEdit::ButtonClick);
  ControlStyle.Exclude(csSetCaption);
  SetWidth(121);
  for (int i : {kAltButton, kMainButton}) ShowKindGlyph(i);
  FButtons->SecondButton()->SetVisible(false);
}

void TVyCustomButtonEdit::Publish(TPublisher<TVyCustomButtonEdit>& p) {
  using T = TVyCustomButtonEdit;
  p.Message(CM_ENTER, &T::CMEnter);
  p.Message(CM_EXIT, &T::CMExit);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(WM_SIZE, &T::WMSize);
  for (unsigned msg : {unsigned(WM_PASTE), unsigned(WM_CUT), unsigned(WM_CLEAR), unsigned(WM_UNDO), unsigned(EM_UNDO)})
    p.Message(msg, &T::WMEditOnly);
  p.Property(L"AllowKeyEdit", &T::GetAllowKeyEdit, &T::SetAllowKeyEdit).Default(true);
  p.Property(L"ButtonKind", &T::GetButtonKind, &T::SetButtonKind).Default(bkLookup);
  p.Property(L"AltBtnKind", &T::GetAltBtnKind, &T::SetAltBtnKind).Default(bkLookup);
  p.Property(L"ButtonGlyph", &T::GetButtonGlyph, &T::SetButtonGlyph).Stored(&T::IsButtonGlyphStored);
  p.Property(L"AltBtnGlyph", &T::GetAltBtnGlyph, &T::SetAltBtnGlyph).Stored(&T::IsAltBtnGlyphStored);
  p.Property(L"ButtonNumGlyphs", &T::GetButtonNumGlyphs, &T::SetButtonNumGlyphs).Default(2);
  p.Property(L"AltBtnNumGlyphs", &T::GetAltBtnNumGlyphs, &T::SetAltBtnNumGlyphs).Default(2);
  p.Property(L"ButtonHint", &T::GetButtonHint, &T::SetButtonHint);
  p.Property(L"AltBtnHint", &T::GetAltBtnHint, &T::SetAltBtnHint);
  p.Property(L"ButtonShortCut", &T::GetButtonShortCut, &T::SetButtonShortCut).Default(TShortCut(115));
  p.Property(L"AltBtnShortCut", &T::GetAltBtnShortCut, &T::SetAltBtnShortCut).Default(TShortCut(0));
  p.Property(L"ButtonVisible", &T::GetButtonVisible, &T::SetButtonVisible).Default(true);
  p.Property(L"AltBtnVisible", &T::GetAltBtnVisible, &T::SetAltBtnVisible).Default(false);
  p.Property(L"ButtonWidth", &T::GetButtonWidth, &T::SetButtonWidth).Default(17);
  p.Property(L"AltBtnWidth", &T::GetAltBtnWidth, &T::SetAltBtnWidth).Default(17);
  p.Property(L"FlatButtons", &T::GetFlatButtons, &T::SetFlatButtons).Default(false).Stored(&T::IsFramingStored);
  p.Property(L"FlatButtonColor", &T::GetFlatButtonColor, &T::SetFlatButtonColor)
      .Default(clBtnFace)
      .Stored(&T::IsFramingStored)
      .Idents(ColorIdents);
  p.Property(L"OnButtonClick", &T::OnButtonClick);
  p.Property(L"OnAltBtnClick", &T::OnAltBtnClick);
}

void TVyCustomButtonEdit::DefineProperties(TFiler& Filer) {
  TVyEdit::DefineProperties(Filer);
  Filer.DefineProperty(
      L"ButtonShortCutText", [this](TReader& r) { SetButtonShortCut(TextToShortCut(r.ReadString())); }, nullptr, false);
  Filer.DefineProperty(
      L"AltBtnShortCutText", [this](TReader& r) { SetAltBtnShortCut(TextToShortCut(r.ReadString())); }, nullptr, false);
  Filer.DefineProperty(L"FlatButtonParentColor", SkipOldBoolean, nullptr, false);
}

TVyControlButton* TVyCustomButtonEdit::GetButton(int index) const {
  return index == kAltButton ? FButtons->SecondButton() : FButtons->MainButton();
}

void TVyCustomButtonEdit::ShowKindGlyph(int index) {
  TVyControlButton* button = GetButton(index);
  if (FKinds[index] == bkDropDown) {
    TBitmap none;
    button->SetGlyph(&none);
    button->SetStyle(cbsDropDown);
    return;
  }
  button->SetStyle(cbsNone);
  if (TBitmap* glyph = ButtonKindGlyph(FKinds[index])) {
    button->SetGlyph(glyph);
    button->SetNumGlyphs(2);
  }
}

void TVyCustomButtonEdit::SetKind(int index, TButtonKind kind) {
  if (FKinds[index] == kind) return;
  FKinds[index] = kind;
  if (kind == bkDropDown || (kind != bkCustom && !Loading())) ShowKindGlyph(index);
}

void TVyCustomButtonEdit::SetGlyph(int index, TBitmap* glyph) {
  GetButton(index)->SetGlyph(glyph);
  FKinds[index] = bkCustom;
  GetButton(index)->SetStyle(cbsNone);
}

void TVyCustomButtonEdit::SetButtonVisibleAt(int index, bool v) {
  GetButton(index)->SetVisible(v);
  ResizeButtons();
}

void TVyCustomButtonEdit::SetButtonWidthAt(int index, int v) {
  GetButton(index)->SetWidth(v);
  ResizeButtons();
}

void TVyCustomButtonEdit::Loaded() {
  TVyEdit::Loaded();
  for (int i : {kMainButton, kAltButton})
    if (FKinds[i] != bkCustom) ShowKindGlyph(i);
  ResizeButtons();
}

void TVyCustomButtonEdit::CreateParams(TCreateParams& params) {
  TVyEdit::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TVyCustomButtonEdit::CreateWnd() {
  TVyEdit::CreateWnd();
  SetEditMargins();
}

void TVyCustomButtonEdit::ResizeButtons() {
  if (Loading()) return;
  TBitmap measure(1, 1);
  measure.GetCanvas()->SetFont(GetFont());
  const int lineHeight = FontLineHeight(measure.GetCanvas());
  if (GetHeight() < lineHeight) {
    SetHeight(lineHeight);  // WM_SIZE places the pair again
    return;
  }
  int w = 0;
  for (int i : {kMainButton, kAltButton})
    if (GetButton(i)->GetVisible()) w += GetButton(i)->GetWidth();
  // The pair lies in the client area, which a frame or 3D edge keeps 2 pixels in.
  const bool edged = GetFrameVisible() || GetCtl3D();
  const int inset = HandleAllocated() ? GetWidth() - GetClientWidth() : (edged ? 4 : 2);
  if (edged) FButtons->SetBounds(GetWidth() - w - inset, 0, w, GetHeight() - 3);
  else FButtons->SetBounds(GetWidth() - w - inset + 1, 1, w, GetHeight() - 3);
  SetEditMargins();
  Invalidate();
}

void TVyCustomButtonEdit::SetEditMargins() {
  if (!HandleAllocated()) return;
  SendMessageW(WindowHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, FButtons->GetWidth() + 2));
}

TRect TVyCustomButtonEdit::GetTextRect() const {
  TRect r = GetClientRect();
  r.Right -= FButtons->GetWidth() + 2;
  return r;
}

void TVyCustomButtonEdit::SetAlignment(TAlignment v) {
  TVyEdit::SetAlignment(v);
  SetEditMargins();
}

void TVyCustomButtonEdit::SetFrameStyle(TFrameStyle v) {
  TVyEdit::SetFrameStyle(v);
  ResizeButtons();
}

void TVyCustomButtonEdit::SetFrameVisible(bool v) {
  TVyEdit::SetFrameVisible(v);
  NoteActivity(false, false);
}

void TVyCustomButtonEdit::SetFlatButtons(bool v) {
  TVyEdit::SetFlatButtons(v);
  FButtons->SetFlat(v);
  ResizeButtons();
}

void TVyCustomButtonEdit::NoteActivity(bool viaMouse, bool active) {
  TVyEdit::NoteActivity(viaMouse, active);
  if (!GetFlatButtons()) return;
  const bool lit = HasFocusLook() || IsHot();
  if (ThemeServices().ThemesEnabled()) {
    FButtons->SetFlat(!lit);
    FButtons->SetColor(ShownColor());
  } else {
    FButtons->SetColor(lit ? GetFlatButtonColor() : ShownColor());
  }
}

// --- messages and keys

void TVyCustomButtonEdit::CMEnter(TMessage& m) {
  SetEditMargins();
  if (GetAutoSelect() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  QORN_INHERITED(m);
}

void TVyCustomButtonEdit::CMExit(TMessage& m) {
  QORN_INHERITED(m);
  SetEditMargins();
}

void TVyCustomButtonEdit::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  SetEditMargins();
  FButtons->SetEnabled(GetEnabled());
  if (GetFlatButtons()) FButtons->SetColor(ShownColor());
}

void TVyCustomButtonEdit::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  SetEditMargins();
  FButtons->SetEnabled(GetEnabled());
}

void TVyCustomButtonEdit::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  ResizeButtons();
}

void TVyCustomButtonEdit::WMEditOnly(TMessage& m) {
  // Paste, cut, the context menu's Delete and undo change the text: only where it may change.
  if (TextEditable()) QORN_INHERITED(m);
}

void TVyCustomButtonEdit::KeyDown(WORD& key, TShiftState shift) {
  TVyEdit::KeyDown(key, shift);
  if (!FAllowKeyEdit && key == VK_DELETE) {
    MessageBeep(0);
    key = 0;
    return;
  }
  FSwallowKey = false;
  if (key == 0) return;
  TShortCut pressed = TShortCut(key & 0xFF);
  if (shift.Contains(ssShift)) pressed |= scShift;
  if (shift.Contains(ssCtrl)) pressed |= scCtrl;
  if (shift.Contains(ssAlt)) pressed |= scAlt;
  for (int i : {kMainButton, kAltButton}) {
    TVyControlButton* button = GetButton(i);
    if (!button->GetVisible() || !button->GetEnabled() || pressed != FShortCuts[i]) continue;
    FSwallowKey = true;
    button->Click();
    return;
  }
}

void TVyCustomButtonEdit::KeyPress(wchar_t& key) {
  TVyEdit::KeyPress(key);
  if (!FAllowKeyEdit && (key >= 32 || key == 8)) {
    MessageBeep(0);
    key = 0;
  }
  if (FSwallowKey) {
    key = 0;
    FSwallowKey = false;
  }
}

}  // namespace Vy
