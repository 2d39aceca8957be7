// TVyButtonEdit: the framed edit (VyEdit.h) with up to two small buttons inside its
// right edge, the main button and the alternate one. Each shows the stock glyph of its
// kind (or the caller's), is clicked with the mouse or by its short-cut key, and raises
// its own event; the program's path boxes open a file or folder dialog from them.
//
// Rules:
// - The buttons live in a child control, TVyButtonPair, that is never streamed.
// - A click on a button of an unfocused edit focuses the edit first; when the edit
//   cannot take the focus the press is dropped (the button stays up, no click).
// - With AllowKeyEdit off the text cannot change by the keyboard, the clipboard, the
//   context menu's Delete or undo; the short-cuts still click their buttons.
// - The text never runs under the buttons: the right margin follows the pair's width.
#pragma once
#include "controls/extended/VyCtlButton.h"
#include "controls/extended/VyEdit.h"
#include "vcl/ShortCuts.h"

namespace Vy {

QORN_ENUM(TButtonKind, bkCustom, bkLookup, bkDropDown, bkCalendar, bkAccept, bkReject, bkFolder, bkFind, bkSearch);

// The stock glyph of a kind (two 10 x 10 pictures: normal, disabled), loaded once;
// nullptr for bkCustom.
TBitmap* ButtonKindGlyph(TButtonKind kind);

class TVyButtonPair : public TWinControl {
  QORN_CLASS(TVyButtonPair, TWinControl)
 public:
  explicit TVyButtonPair(TComponent* AOwner);

  TVyControlButton* MainButton() const { return FMainButton; }
  TVyControlButton* SecondButton() const { return FSecondButton; }
  // The pair's colour and both buttons'.
  void SetColor(TColor v);
  void SetEnabled(bool v) override;
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v) { FFocusControl = v; }
  void SetBounds(int left, int top, int width, int height) override;
  // The visible buttons side by side, the main one first.
  virtual void LayoutButtons();

  TNotifyEvent OnAltBtnClick;
  TNotifyEvent OnButtonClick;

  void WMSize(TMessage& m);

 protected:
  virtual TVyControlButton* CreatePairButton();
  virtual void PairButtonClick(TObject* Sender);
  virtual void PairButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

 private:
  static void Publish(TPublisher<TVyButtonPair>& p);
  // Focuses control when it is the one to have the focus; Abort when it cannot take it.
  static void TakeFocus(TWinControl* control);

  TVyControlButton* FMainButton;    // owned and parented by the pair
  TVyControlButton* FSecondButton;  // owned and parented by the pair
  bool FFlat = false;
  TWinControl* FFocusControl = nullptr;
};

class TVyCustomButtonEdit : public TVyEdit {
  QORN_CLASS(TVyCustomButtonEdit, TVyEdit)
 public:
  explicit TVyCustomButtonEdit(TComponent* AOwner);

  // The buttons: index 1 the alternate one, 2 the main one.
  static constexpr int kAltButton = 1;
  static constexpr int kMainButton = 2;
  TVyControlButton* GetButton(int index) const;
  TVyButtonPair* Buttons() const { return FButtons; }

  TButtonKind GetButtonKind() const { return FKinds[kMainButton]; }
  void SetButtonKind(TButtonKind v) { SetKind(kMainButton, v); }
  TButtonKind GetAltBtnKind() const { return FKinds[kAltButton]; }
  void SetAltBtnKind(TButtonKind v) { SetKind(kAltButton, v); }
  // Setting a glyph makes the kind bkCustom.
  TBitmap* GetButtonGlyph() const { return GetButton(kMainButton)->GetGlyph(); }
  void SetButtonGlyph(TBitmap* v) { SetGlyph(kMainButton, v); }
  TBitmap* GetAltBtnGlyph() const { return GetButton(kAltButton)->GetGlyph(); }
  void SetAltBtnGlyph(TBitmap* v) { SetGlyph(kAltButton, v); }
  TNumGlyphs GetButtonNumGlyphs() const { return GetButton(kMainButton)->GetNumGlyphs(); }
  void SetButtonNumGlyphs(TNumGlyphs v) { GetButton(kMainButton)->SetNumGlyphs(v); }
  TNumGlyphs GetAltBtnNumGlyphs() const { return GetButton(kAltButton)->GetNumGlyphs(); }
  void SetAltBtnNumGlyphs(TNumGlyphs v) { GetButton(kAltButton)->SetNumGlyphs(v); }
  std::wstring GetButtonHint() const { return GetButton(kMainButton)->GetHint(); }
  void SetButtonHint(const std::wstring& v) { GetButton(kMainButton)->SetHint(v); }
  std::wstring GetAltBtnHint() const { return GetButton(kAltButton)->GetHint(); }
  void SetAltBtnHint(const std::wstring& v) { GetButton(kAltButton)->SetHint(v); }
  TShortCut GetButtonShortCut() const { return FShortCuts[kMainButton]; }
  void SetButtonShortCut(TShortCut v) { FShortCuts[kMainButton] = v; }
  TShortCut GetAltBtnShortCut() const { return FShortCuts[kAltButton]; }
  void SetAltBtnShortCut(TShortCut v) { FShortCuts[kAltButton] = v; }
  bool GetButtonVisible() const { return GetButton(kMainButton)->GetVisible(); }
  void SetButtonVisible(bool v) { SetButtonVisibleAt(kMainButton, v); }
  bool GetAltBtnVisible() const { return GetButton(kAltButton)->GetVisible(); }
  void SetAltBtnVisible(bool v) { SetButtonVisibleAt(kAltButton, v); }
  int GetButtonWidth() const { return GetButton(kMainButton)->GetWidth(); }
  void SetButtonWidth(int v) { SetButtonWidthAt(kMainButton, v); }
  int GetAltBtnWidth() const { return GetButton(kAltButton)->GetWidth(); }
  void SetAltBtnWidth(int v) { SetButtonWidthAt(kAltButton, v); }
  bool GetAllowKeyEdit() const { return FAllowKeyEdit; }
  void SetAllowKeyEdit(bool v) { FAllowKeyEdit = v; }

  void SetAlignment(TAlignment v) override;
  void SetFrameStyle(TFrameStyle v) override;
  void SetFrameVisible(bool v) override;
  void SetFlatButtons(bool v) override;

  // Places the pair inside the right edge and keeps the text clear of it.
  virtual void ResizeButtons();
  virtual void SetEditMargins();
  // The client rectangle less the pair.
  TRect GetTextRect() const;

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnAltBtnClick;

  // The pair is part of the edit, never a child of its own in a form.
  void GetChildren(const TGetChildProc&, TComponent*) override {}

  void CMEnter(TMessage& m);
  void CMExit(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void WMSize(TMessage& m);
  void WMEditOnly(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void DefineProperties(TFiler& Filer) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void NoteActivity(bool viaMouse, bool active) override;
  virtual void ButtonClick(TObject*) { FireButtonClick(); }
  virtual void AltBtnClick(TObject*) { FireAltBtnClick(); }
  virtual void FireButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
  }
  virtual void FireAltBtnClick() {
    if (OnAltBtnClick) OnAltBtnClick(this);
  }

 private:
  static void Publish(TPublisher<TVyCustomButtonEdit>& p);
  void SetKind(int index, TButtonKind kind);
  void SetGlyph(int index, TBitmap* glyph);
  void ShowKindGlyph(int index);
  void SetButtonVisibleAt(int index, bool v);
  void SetButtonWidthAt(int index, int v);
  bool IsButtonGlyphStored() const { return FKinds[kMainButton] == bkCustom; }
  bool IsAltBtnGlyphStored() const { return FKinds[kAltButton] == bkCustom; }
  bool IsFramingStored() const { return !FramedByController(); }
  // Whether the text may change other than by the program.
  bool TextEditable() const { return FAllowKeyEdit && !GetReadOnly(); }

  TVyButtonPair* FButtons;  // owned and parented by the edit
  TButtonKind FKinds[3] = {bkCustom, bkLookup, bkLookup};
  TShortCut FShortCuts[3] = {0, 0, 115};
  bool FAllowKeyEdit = true;
  bool FSwallowKey = false;
};

class TVyButtonEdit : public TVyCustomButtonEdit {
  QORN_CLASS(TVyButtonEdit, TVyCustomButtonEdit)
 public:
  explicit TVyButtonEdit(TComponent* AOwner) : TVyCustomButtonEdit(AOwner) {}
};

}  // namespace Vy
