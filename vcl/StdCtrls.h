// Standard controls as thin classes over the system's window classes: label,
// edit and memo, buttons, check and radio boxes, list and combo boxes, scroll bar
// and group box. Their notifications come back reflected
// (CN_COMMAND, CN_DRAWITEM, CN_MEASUREITEM) and become the events.
//
// State that the window holds (a check box's check, a list box's lines) is kept
// in the object too, so RecreateWnd (a font or style change) loses nothing.
//
// A list box speaks to its window line by line (LB_ADDSTRING, LB_INSERTSTRING,
// LB_DELETESTRING; LB_RESETCONTENT only for Clear), following Items' OnLineChange:
// N lines added cost N messages, and a subclass sees every line as it arrives.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/StringList.h"

#include <memory>
#include <string>
#include <vector>

QORN_ENUM(TTextLayout, tlTop, tlCenter, tlBottom);

// True when caption has key as its accelerator ("&K"; "&&" is a plain "&").
bool IsAccel(wchar_t key, const std::wstring& caption);

// A windowless line of text: "&" underlines the next letter ("&&" is one "&"),
// whose Alt+letter focuses FocusControl.
class TLabel : public TGraphicControl {
  QORN_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* AOwner);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  // Where the text sits between the top and the bottom.
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  // The text drawn (the caption; descendants may show another).
  virtual std::wstring GetLabelText() const { return GetCaption(); }
  // With AutoSize the label takes its text's size (the width stays with
  // WordWrap); a right-aligned label keeps its right edge.
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void AdjustSize() override { AdjustBounds(); }
  // Fits the label to its text (with AutoSize, not while loading); a label with
  // borders or turned text measures its own way.
  virtual void AdjustBounds();
  void CMDialogChar(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  UINT TextFormat() const;

 private:
  static void Publish(TPublisher<TLabel>& p);
  TTextLayout FLayout = tlTop;
  TAlignment FAlignment = taLeftJustify;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  TWinControl* FFocusControl = nullptr;
};

QORN_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase);

class TCustomEdit : public TWinControl {
  QORN_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);
  // bsSingle (a sunken edge) or bsNone; a change makes the window anew.
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  // Typed letters are turned to upper or lower case by the window.
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool v);
  // Entering by keyboard or code selects the whole text, ready to be replaced.
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  wchar_t GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t v);
  int GetSelStart();
  void SetSelStart(int v);
  int GetSelLength();
  void SetSelLength(int v);
  std::wstring GetSelText();
  void SetSelText(const std::wstring& v);
  virtual void SelectAll();
  void Clear() { SetText(L""); }
  bool GetModified();
  void SetModified(bool v);
  TNotifyEvent OnChange;
  void CNCommand(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DoEnter() override;
  virtual void Change();

 private:
  static void Publish(TPublisher<TCustomEdit>& p);
  int FMaxLength = 0;
  bool FReadOnly = false;
  wchar_t FPasswordChar = 0;
  TFormBorderStyle FBorderStyle = bsSingle;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  bool FOEMConvert = false;
  bool FAutoSelect = true;
};

class TEdit : public TCustomEdit {
  QORN_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TButtonControl : public TWinControl {
  QORN_CLASS(TButtonControl, TWinControl)
  static void Publish(TPublisher<TButtonControl>& p);
 public:
  explicit TButtonControl(TComponent* AOwner);
  void CNCommand(TMessage& m);
  void CMDialogChar(TMessage& m);
};

class TButton : public TButtonControl {
  QORN_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);
  // Enter clicks the default button of the form, Esc the cancel button.
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  // Sets the form's ModalResult (closing a modal form) before OnClick runs.
  void Click() override;
  void CMDialogKey(TMessage& m);
  // The focused button looks like the default one while it has the focus.
  void CMFocusChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  // Shows the button as the one Enter clicks (or not).
  virtual void SetButtonStyle(bool isDefault);

 private:
  static void Publish(TPublisher<TButton>& p);
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

class TCheckBox : public TButtonControl {
  QORN_CLASS(TCheckBox, TButtonControl)
 public:
  explicit TCheckBox(TComponent* AOwner);
  bool GetChecked() const { return FChecked; }
  // Runs OnClick when the state changes, as a click does.
  void SetChecked(bool v);
  void CNCommand(TMessage& m);
  // Alt + its accelerator focuses and toggles it.
  void CMDialogChar(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  static void Publish(TPublisher<TCheckBox>& p);
  bool FChecked = false;
};

QORN_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw);

enum TOwnerDrawStateKind { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateKind>;
using TDrawItemEvent = TEvent<void(TObject* Sender, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TObject* Sender, int Index, int& Height)>;
using TLBGetDataEvent = TEvent<void(TObject* Sender, int Index, std::wstring& Data)>;
using TLBGetDataObjectEvent = TEvent<void(TObject* Sender, int Index, TObject*& DataObject)>;
using TLBFindDataEvent = TEvent<int(TObject* Sender, const std::wstring& FindString)>;

class TCustomListBox : public TWinControl {
  QORN_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  // The lines with their objects; the window shows them. A list whose lines carry
  // more answers its own strings here; Items, Clear and the drawn text ask this.
  virtual TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* v) { GetItems()->Assign(v); }
  int GetItemIndex() const;
  // Selects from code: no OnClick.
  void SetItemIndex(int v);
  TListBoxStyle GetStyle() const { return FStyle; }
  // Changing between standard and owner-drawn makes the window anew, keeping the lines.
  void SetStyle(TListBoxStyle v);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool v);
  int GetTopIndex();
  void SetTopIndex(int v);
  // The line at a client point (-1 for none unless existing is false: then Count).
  int ItemAtPos(TPoint pos, bool existing);
  TRect ItemRect(int index);
  void Clear() { GetItems()->Clear(); }
  TCanvas* GetCanvas() const { return FCanvas.get(); }
  // Several lines selected at once; ExtendedSelect adds Shift and Ctrl clicks
  // (else each click toggles a line). A change makes the window anew.
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool v);
  bool GetSelected(int index) const;
  void SetSelected(int index, bool v);
  // The number of selected lines of a multi-select list; -1 for a single-select one.
  int GetSelCount() const;
  virtual void SelectAll();
  int GetColumns() const { return FColumns; }
  void SetColumns(int v);
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool v);
  // Tab stops every TabWidth dialog units (0: none).
  int GetTabWidth() const { return FTabWidth; }
  void SetTabWidth(int v);
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  // The number of lines: Items' count, or for the virtual styles the count set
  // here (their lines come from OnData, their objects from OnDataObject).
  int GetCount() const;
  void SetCount(int v);
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TLBGetDataEvent OnData;
  TLBGetDataObjectEvent OnDataObject;
  TLBFindDataEvent OnDataFind;
  void CNCommand(TMessage& m);

 protected:
  // For lists whose lines carry more (a check list's states): items is adopted.
  TCustomListBox(TComponent* AOwner, TStringList* items);
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Paints one line of an owner-drawn list on Canvas: OnDrawItem, else the text.
  virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  virtual void MeasureItem(int index, int& height);
  virtual std::wstring DoGetData(int index);
  virtual TObject* DoGetDataObject(int index);
  virtual int DoFindData(const std::wstring& data);
  void KeyPress(wchar_t& key) override;

 private:
  static void Publish(TPublisher<TCustomListBox>& p);
  void ItemsChanged(TObject* sender);
  void LineChanged(TStringList::TLineChange kind, int index);
  void RefillKeepingSelection();
  void FillWindow();
  std::wstring WindowLine(int index) const;
  void CNDrawItem(TMessage& m);
  void CNMeasureItem(TMessage& m);
  void ApplyColumnsAndTabs();
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FSorted = false;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  int FColumns = 0;
  bool FIntegralHeight = false;
  int FTabWidth = 0;
  TFormBorderStyle FBorderStyle = bsSingle;
  int FCount = 0;       // lines of a virtual list
  int FItemIndex = -1;  // kept while there is no window
  std::vector<bool> FSaved;  // selected lines of a multi-select list while there is no window
};

class TListBox : public TCustomListBox {
  QORN_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// --- memo

QORN_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth);

class TCustomMemo;

// The lines of a memo, read from and written to its text (in the window when it
// has one): no copy that could go stale.
class TMemoStrings : public TStrings {
  QORN_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
  int Count() const override;
  String Get(int index) const override;
  void Put(int index, const String& s) override;
  void Insert(int index, const String& s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetText(const String& text) override;

 private:
  std::vector<std::wstring> Lines() const;
  void SetLines(const std::vector<std::wstring>& lines);
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  QORN_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(TStrings* v) { FLines->Assign(v); }
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v) { FWantTabs = v; }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  void WMGetDlgCode(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void KeyPress(wchar_t& key) override;

 private:
  static void Publish(TPublisher<TCustomMemo>& p);
  std::unique_ptr<TMemoStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TAlignment FAlignment = taLeftJustify;
};

class TMemo : public TCustomMemo {
  QORN_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// --- radio button

// Checking one unchecks the radio buttons beside it (same parent); OnClick runs
// only when it becomes checked, by a click or from code.
class TRadioButton : public TButtonControl {
  QORN_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* AOwner);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);
  void CNCommand(TMessage& m);
  // Alt + its accelerator focuses and checks it.
  void CMDialogChar(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  static void Publish(TPublisher<TRadioButton>& p);
  bool FChecked = false;
};

// --- combo box

QORN_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable);

class TCustomComboBox : public TWinControl {
  QORN_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(TStrings* v) { FItems->Assign(v); }
  int GetItemIndex() const;
  // Selects from code: no OnChange, no OnClick.
  void SetItemIndex(int v);
  TComboBoxStyle GetStyle() const { return FStyle; }
  // A new style makes the window anew, keeping the items, selection and text.
  void SetStyle(TComboBoxStyle v);
  int GetItemHeight() const;
  void SetItemHeight(int v);
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v);
  bool GetDroppedDown() const;
  void SetDroppedDown(bool v);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool v);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  // The inner edit of csDropDown and csSimple (nullptr for the list styles) and
  // the drop-down list.
  HWND GetEditHandle() const { return FEditHandle; }
  HWND GetListHandle() const { return FListHandle; }
  int GetSelStart();
  int GetSelLength();
  virtual void SelectAll();
  void Clear() { FItems->Clear(); SetText(L""); }
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelect;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void CNCommand(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // The messages of the inner edit; call the base for the edit's own handling.
  virtual void ComboWndProc(TMessage& m, HWND wnd, WNDPROC defProc);
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void Select();
  virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  virtual void MeasureItem(int index, int& height);

 private:
  static void Publish(TPublisher<TCustomComboBox>& p);
  static LRESULT CALLBACK EditWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  void ItemsChanged(TObject* sender);
  void FillWindow();
  int ListHeight() const;
  void ApplyDropDownHeight();
  void CNDrawItem(TMessage& m);
  void CNMeasureItem(TMessage& m);
  void WMSetTextList(TMessage& m);
  void WMSetText(TMessage& m);
  void WMCtlColor(TMessage& m);
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TCanvas> FCanvas;
  TComboBoxStyle FStyle = csDropDown;
  int FItemHeight = 16;
  int FDropDownCount = 8;
  bool FSorted = false;
  int FMaxLength = 0;
  int FItemIndex = -1;  // kept while there is no window
  HWND FEditHandle = nullptr;
  HWND FListHandle = nullptr;
  WNDPROC FEditDefProc = nullptr;
};

class TComboBox : public TCustomComboBox {
  QORN_CLASS(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

// --- scroll bar

QORN_ENUM(TScrollBarKind, sbHorizontal, sbVertical);
QORN_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
          scEndScroll);
using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
  QORN_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* AOwner);
  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  int GetMin() const { return FMin; }
  void SetMin(int v) { SetParams(FPosition, v, FMax); }
  int GetMax() const { return FMax; }
  void SetMax(int v) { SetParams(FPosition, FMin, v); }
  int GetPosition() const { return FPosition; }
  // From code too: OnChange when the position moves.
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  int GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v; }
  int GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v; }
  int GetPageSize() const { return FPageSize; }
  void SetPageSize(int v);
  // The position is kept inside min..max (less a page); a range with max < min is refused.
  void SetParams(int position, int min, int max);
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode code, int& pos);

 private:
  static void Publish(TPublisher<TScrollBar>& p);
  void CNScroll(TMessage& m);
  void UpdateWindow();
  int TopPosition() const;
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0;
  int FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
};

// --- group box

// A frame with a caption around other controls; Alt + its accelerator focuses
// the first control inside.
class TCustomGroupBox : public TCustomControl {
  QORN_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void AdjustClientRect(TRect& rect) override;
  void CMDialogChar(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TCustomGroupBox>& p);
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  QORN_CLASS(TGroupBox, TCustomGroupBox)
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};
