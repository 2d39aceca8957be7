// Standard controls as thin classes over the system's window classes: edit,
// button, check box and list box. Their notifications come back reflected
// (CN_COMMAND, CN_DRAWITEM, CN_MEASUREITEM) and become the events.
//
// State that the window holds (a check box's check, a list box's lines) is kept
// in the object too, so RecreateWnd (a font or style change) loses nothing.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/StringList.h"

#include <string>

QORN_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);

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
  void CMDialogChar(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  static void Publish(TPublisher<TLabel>& p);
  TAlignment FAlignment = taLeftJustify;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = false;
  TWinControl* FFocusControl = nullptr;
};

class TCustomEdit : public TWinControl {
  QORN_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);
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
  void SelectAll();
  void Clear() { SetText(L""); }
  bool GetModified();
  void SetModified(bool v);
  TNotifyEvent OnChange;
  void CNCommand(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change();

 private:
  static void Publish(TPublisher<TCustomEdit>& p);
  int FMaxLength = 0;
  bool FReadOnly = false;
  wchar_t FPasswordChar = 0;
};

class TEdit : public TCustomEdit {
  QORN_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TButtonControl : public TWinControl {
  QORN_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);
  void CNCommand(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
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
  void CMDialogKey(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;

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
  void CNCommand(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  static void Publish(TPublisher<TCheckBox>& p);
  bool FChecked = false;
};

QORN_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable);

enum TOwnerDrawStateKind { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateKind>;
using TDrawItemEvent = TEvent<void(TObject* Sender, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TObject* Sender, int Index, int& Height)>;

class TCustomListBox : public TWinControl {
  QORN_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  // The lines with their objects; the window shows them.
  TStrings* GetItems() const { return FItems; }
  void SetItems(TStrings* v) { FItems->Assign(v); }
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
  void Clear() { FItems->Clear(); }
  TCanvas* GetCanvas() const { return FCanvas; }
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  void CNCommand(TMessage& m) override;
  void DispatchHandlers(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // Paints one line of an owner-drawn list on Canvas: OnDrawItem, else the text.
  virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  virtual void MeasureItem(int index, int& height);

 private:
  static void Publish(TPublisher<TCustomListBox>& p);
  void ItemsChanged(TObject* sender);
  void FillWindow();
  void CNDrawItem(TMessage& m);
  void CNMeasureItem(TMessage& m);
  TStringList* FItems;
  TCanvas* FCanvas;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  bool FSorted = false;
  int FItemIndex = -1;  // kept while there is no window
};

class TListBox : public TCustomListBox {
  QORN_CLASS(TListBox, TCustomListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
