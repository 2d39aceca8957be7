#include "vcl/StdCtrls.h"

#include "vcl/Forms.h"

#include <windowsx.h>

// --- label

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TLabel::Publish(TPublisher<TLabel>& p) {
  p.Property(L"Caption", &TLabel::GetCaption, &TLabel::SetCaption);
  p.Property(L"Alignment", &TLabel::GetAlignment, &TLabel::SetAlignment).Default(taLeftJustify);
  p.Property(L"WordWrap", &TLabel::GetWordWrap, &TLabel::SetWordWrap).Default(false);
  p.Property(L"ShowAccelChar", &TLabel::GetShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  p.Property(L"Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent).Default(false);
  p.Property(L"FocusControl", &TLabel::GetFocusControl, &TLabel::SetFocusControl);
}

void TLabel::SetAlignment(TAlignment v) { FAlignment = v; Invalidate(); }
void TLabel::SetWordWrap(bool v) { FWordWrap = v; Invalidate(); }
void TLabel::SetShowAccelChar(bool v) { FShowAccelChar = v; Invalidate(); }
void TLabel::SetTransparent(bool v) {
  FTransparent = v;
  if (v) ControlStyle.Exclude(csOpaque); else ControlStyle.Include(csOpaque);
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* v) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::CMTextChanged(TMessage& m) {
  TGraphicControl::CMTextChanged(m);
  Invalidate();
}

void TLabel::CMDialogChar(TMessage& m) {
  if (!FShowAccelChar || !FFocusControl || !GetEnabled() || !Showing()) return;
  const std::wstring caption = GetCaption();
  const wchar_t key = towupper(static_cast<wchar_t>(m.WParam));
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    if (towupper(caption[i + 1]) == key && FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      m.Result = 1;
    }
    return;
  }
}

void TLabel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect rect = GetClientRect();
  if (!FTransparent) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(rect);
  }
  canvas->SetFont(GetFont());
  UINT format = DT_EXPANDTABS;
  if (FWordWrap) format |= DT_WORDBREAK;
  else format |= DT_SINGLELINE;
  if (!FShowAccelChar) format |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) format |= DT_RIGHT;
  if (FAlignment == taCenter) format |= DT_CENTER;
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  if (!GetEnabled()) {
    // Embossed: a light copy one pixel down and right under a grey one.
    TRect shifted(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(GetCaption(), shifted, format);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->DrawText(GetCaption(), rect, format);
}

// --- edit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
}

void TCustomEdit::Publish(TPublisher<TCustomEdit>& p) {
  p.Property(L"Text", &TCustomEdit::GetText, &TCustomEdit::SetText);
  p.Property(L"MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  p.Property(L"ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  p.Property(L"TabStop", &TCustomEdit::GetTabStop, &TCustomEdit::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomEdit::GetTabOrder, &TCustomEdit::SetTabOrder);
  p.Property(L"OnChange", &TCustomEdit::OnChange);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
  params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FReadOnly) params.Style |= ES_READONLY;
  if (FPasswordChar) params.Style |= ES_PASSWORD;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageW(wnd, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) SendMessageW(wnd, EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  FMaxLength = v < 0 ? 0 : v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  FReadOnly = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t v) {
  if (FPasswordChar == v) return;
  FPasswordChar = v;
  if (HandleAllocated()) {
    SendMessageW(WindowHandle(), EM_SETPASSWORDCHAR, v, 0);
    Invalidate();
  }
}

int TCustomEdit::GetSelStart() {
  DWORD start = 0;
  SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int v) { SendMessageW(GetHandle(), EM_SETSEL, v, v); }

int TCustomEdit::GetSelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int v) {
  int start = GetSelStart();
  SendMessageW(GetHandle(), EM_SETSEL, start, start + v);
}

std::wstring TCustomEdit::GetSelText() {
  std::wstring text = GetText();
  size_t start = static_cast<size_t>(GetSelStart());
  if (start > text.size()) return L"";
  return text.substr(start, static_cast<size_t>(GetSelLength()));
}

void TCustomEdit::SetSelText(const std::wstring& v) {
  SendMessageW(GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageW(GetHandle(), EM_SETSEL, 0, -1); }

bool TCustomEdit::GetModified() { return SendMessageW(GetHandle(), EM_GETMODIFY, 0, 0) != 0; }
void TCustomEdit::SetModified(bool v) { SendMessageW(GetHandle(), EM_SETMODIFY, v, 0); }

void TCustomEdit::CNCommand(TMessage& m) {
  // EN_CHANGE also comes when code sets the text: callers rely on OnChange then.
  if (HIWORD(m.WParam) == EN_CHANGE && !ComponentState().Contains(csLoading)) {
    int length = GetWindowTextLengthW(WindowHandle());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(WindowHandle(), text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    SetTextSilently(text);
    Change();
  }
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

// --- buttons

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  // The window class says when it was clicked (BN_CLICKED), not the mouse handlers.
  ControlStyle.Exclude(csClickEvents);
  SetTabStop(true);
}

void TButtonControl::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == BN_CLICKED) Click();
}

// Alt+letter of "&Letter" in the caption clicks the button.
void TButtonControl::CMDialogChar(TMessage& m) {
  const std::wstring caption = GetCaption();
  const wchar_t key = towupper(static_cast<wchar_t>(m.WParam));
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    if (towupper(caption[i + 1]) == key && GetEnabled() && Showing()) {
      if (CanFocus()) SetFocus();
      Click();
      m.Result = 1;
    }
    return;
  }
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::Publish(TPublisher<TButton>& p) {
  p.Property(L"Caption", &TButton::GetCaption, &TButton::SetCaption);
  p.Property(L"Default", &TButton::GetDefault, &TButton::SetDefault).Default(false);
  p.Property(L"Cancel", &TButton::GetCancel, &TButton::SetCancel).Default(false);
  p.Property(L"ModalResult", &TButton::GetModalResult, &TButton::SetModalResult).Default(mrNone);
  p.Property(L"TabStop", &TButton::GetTabStop, &TButton::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TButton::GetTabOrder, &TButton::SetTabOrder);
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool v) {
  if (FDefault == v) return;
  FDefault = v;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& m) {
  const bool enter = m.WParam == VK_RETURN && FDefault;
  const bool escape = m.WParam == VK_ESCAPE && FCancel;
  if ((enter || escape) && KeyDataToShiftState(m.LParam).Empty() && GetEnabled() && Showing()) {
    Click();
    m.Result = 1;
    return;
  }
  TButtonControl::CMDialogKey(m);
}

// --- check box

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  // Its box sits on the parent's background, not on a window-coloured patch.
  SetParentColor(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::Publish(TPublisher<TCheckBox>& p) {
  p.Property(L"Caption", &TCheckBox::GetCaption, &TCheckBox::SetCaption);
  p.Property(L"Checked", &TCheckBox::GetChecked, &TCheckBox::SetChecked).Default(false);
  p.Property(L"TabStop", &TCheckBox::GetTabStop, &TCheckBox::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCheckBox::GetTabOrder, &TCheckBox::SetTabOrder);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  // Not BS_AUTOCHECKBOX: the state changes here, once, whether clicked or set.
  params.Style |= WS_TABSTOP | BS_CHECKBOX;
}

void TCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool v) {
  if (FChecked == v) return;
  FChecked = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(!FChecked);
}

// --- list box

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TStringList), FCanvas(new TCanvas) {
  ControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  FItems->OnChange = TNotifyEvent(this, &TCustomListBox::ItemsChanged);
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
  delete FCanvas;
  delete FItems;
}

void TCustomListBox::Publish(TPublisher<TCustomListBox>& p) {
  p.Property(L"Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  p.Property(L"Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle).Default(lbStandard);
  p.Property(L"ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight).Default(16);
  p.Property(L"Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted).Default(false);
  p.Property(L"TabStop", &TCustomListBox::GetTabStop, &TCustomListBox::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomListBox::GetTabOrder, &TCustomListBox::SetTabOrder);
  p.Property(L"OnDrawItem", &TCustomListBox::OnDrawItem);
  p.Property(L"OnMeasureItem", &TCustomListBox::OnMeasureItem);
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  params.Style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  params.ExStyle |= WS_EX_CLIENTEDGE;
  // The lines live in the object; the window keeps none of its own text.
  if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FStyle != lbStandard) params.Style |= LBS_HASSTRINGS;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (FStyle == lbOwnerDrawFixed) SendMessageW(WindowHandle(), LB_SETITEMHEIGHT, 0, FItemHeight);
  FillWindow();
  SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
}

void TCustomListBox::DestroyWnd() {
  FItemIndex = GetItemIndex();
  TWinControl::DestroyWnd();
}

void TCustomListBox::FillWindow() {
  HWND wnd = WindowHandle();
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(wnd, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < FItems->Count(); ++i) {
    const std::wstring line = FItems->Get(i);
    SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(wnd, nullptr, TRUE);
}

void TCustomListBox::ItemsChanged(TObject*) {
  if (!HandleAllocated()) return;
  // The selected line stays selected when it is still there (by its text).
  const int index = GetItemIndex();
  std::wstring text;
  if (index >= 0) {
    const LRESULT length = SendMessageW(WindowHandle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length > 0) {
      text.resize(static_cast<size_t>(length) + 1);
      SendMessageW(WindowHandle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(length));
    }
  }
  FillWindow();
  int again = -1;
  if (index >= 0)
    for (int i = 0; i < FItems->Count() && again < 0; ++i)
      if (FItems->Get(i) == text) again = i;
  SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(again), 0);
}

int TCustomListBox::GetItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return static_cast<int>(SendMessageW(WindowHandle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v) {
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListBox::SetItemHeight(int v) {
  if (v <= 0 || FItemHeight == v) return;
  FItemHeight = v;
  if (HandleAllocated() && FStyle != lbStandard) RecreateWnd();
}

void TCustomListBox::SetSorted(bool v) {
  FSorted = v;
  FItems->SetSorted(v);
}

int TCustomListBox::GetTopIndex() { return static_cast<int>(SendMessageW(GetHandle(), LB_GETTOPINDEX, 0, 0)); }
void TCustomListBox::SetTopIndex(int v) { SendMessageW(GetHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(v), 0); }

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) {
  const int count = FItems->Count();
  const TRect client = GetClientRect();
  if (pos.X >= client.Left && pos.X < client.Right && pos.Y >= client.Top && pos.Y < client.Bottom) {
    const LRESULT r = SendMessageW(GetHandle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.X, pos.Y));
    // The high word says the point is below the last line.
    if (HIWORD(r) == 0 && LOWORD(r) < count) return LOWORD(r);
  }
  return existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index) {
  RECT r{};
  if (index >= 0 && index < FItems->Count())
    SendMessageW(GetHandle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return TRect(r.left, r.top, r.right, r.bottom);
}

void TCustomListBox::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == LBN_SELCHANGE) {
    FItemIndex = GetItemIndex();
    Click();
  } else if (HIWORD(m.WParam) == LBN_DBLCLK) {
    DblClick();
  }
}

void TCustomListBox::DispatchHandlers(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM: CNDrawItem(m); return;
    case CN_MEASUREITEM: CNMeasureItem(m); return;
    default: TWinControl::DispatchHandlers(m); return;
  }
}

void TCustomListBox::CNDrawItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  m.Result = 1;
  if (dis->itemID == static_cast<UINT>(-1) || static_cast<int>(dis->itemID) >= FItems->Count()) return;
  TOwnerDrawState state;
  if (dis->itemState & ODS_SELECTED) state.Include(odSelected);
  if (dis->itemState & ODS_FOCUS) state.Include(odFocused);
  if (dis->itemState & ODS_DISABLED) state.Include(odDisabled);
  const int saved = SaveDC(dis->hDC);
  FCanvas->SetHandle(dis->hDC);
  FCanvas->SetFont(GetFont());
  FCanvas->GetBrush()->SetColor(state.Contains(odSelected) ? clHighlight : GetColor());
  if (state.Contains(odSelected)) FCanvas->GetFont()->SetColor(clHighlightText);
  const TRect rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
  DrawItem(static_cast<int>(dis->itemID), rect, state);
  if (state.Contains(odFocused)) DrawFocusRect(dis->hDC, &dis->rcItem);
  FCanvas->SetHandle(nullptr);
  RestoreDC(dis->hDC, saved);
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas->FillRect(rect);
  FCanvas->TextRect(rect, rect.Left + 2, rect.Top, FItems->Get(index));
}

void TCustomListBox::CNMeasureItem(TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  int height = FItemHeight;
  if (FStyle == lbOwnerDrawVariable) MeasureItem(static_cast<int>(mis->itemID), height);
  mis->itemHeight = static_cast<UINT>(height);
  m.Result = 1;
}

void TCustomListBox::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

QORN_REGISTER_CLASS(TLabel);
QORN_REGISTER_CLASS(TEdit);
QORN_REGISTER_CLASS(TButton);
QORN_REGISTER_CLASS(TCheckBox);
QORN_REGISTER_CLASS(TListBox);
