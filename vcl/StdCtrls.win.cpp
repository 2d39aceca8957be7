#include "vcl/StdCtrls.h"

#include "vcl/Forms.h"
#include "vcl/WindowHost.h"

#include <windowsx.h>

#include <algorithm>

bool IsAccel(wchar_t key, const std::wstring& caption) {
  const wchar_t upper = towupper(key);
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return towupper(caption[i + 1]) == upper;
  }
  return false;
}

// --- label

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TLabel::Publish(TPublisher<TLabel>& p) {
  p.Message(CM_DIALOGCHAR, &TLabel::CMDialogChar);
  p.Message(CM_TEXTCHANGED, &TLabel::CMTextChanged);
  p.Message(CM_FONTCHANGED, &TLabel::CMFontChanged);
  p.Property(L"Caption", &TLabel::GetCaption, &TLabel::SetCaption);
  p.Property(L"Alignment", &TLabel::GetAlignment, &TLabel::SetAlignment).Default(taLeftJustify);
  p.Property(L"WordWrap", &TLabel::GetWordWrap, &TLabel::SetWordWrap).Default(false);
  p.Property(L"ShowAccelChar", &TLabel::GetShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  p.Property(L"Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent).Default(false);
  p.Property(L"FocusControl", &TLabel::GetFocusControl, &TLabel::SetFocusControl);
  p.Property(L"Layout", &TLabel::GetLayout, &TLabel::SetLayout).Default(tlTop);
}

void TLabel::SetAlignment(TAlignment v) { FAlignment = v; Invalidate(); }
void TLabel::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetShowAccelChar(bool v) {
  if (FShowAccelChar == v) return;
  FShowAccelChar = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
  if (FLayout == v) return;
  FLayout = v;
  Invalidate();
}

UINT TLabel::TextFormat() const {
  UINT format = DT_EXPANDTABS;
  if (FWordWrap) format |= DT_WORDBREAK;
  else format |= DT_SINGLELINE;
  if (!FShowAccelChar) format |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) format |= DT_RIGHT;
  if (FAlignment == taCenter) format |= DT_CENTER;
  return format;
}

bool TLabel::CanAutoSize(int& newWidth, int& newHeight) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  std::wstring text = GetLabelText();
  // An empty line still has the font's height.
  if (text.empty() || (FShowAccelChar && text == L"&")) text = L" ";
  RECT r{0, 0, FWordWrap ? std::max(1, newWidth) : 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, (TextFormat() | DT_CALCRECT) & ~static_cast<UINT>(DT_RIGHT | DT_CENTER));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  if (!FWordWrap) newWidth = r.right - r.left;
  newHeight = r.bottom - r.top;
  return true;
}

void TLabel::AdjustBounds() {
  if (!GetAutoSize() || ComponentState().Contains(csLoading)) return;
  int w = GetWidth(), h = GetHeight();
  CanAutoSize(w, h);
  int left = GetLeft();
  if (FAlignment == taRightJustify && !FWordWrap) left = GetLeft() + GetWidth() - w;
  SetBounds(left, GetTop(), w, h);
}

void TLabel::CMFontChanged(TMessage& m) {
  TGraphicControl::CMFontChanged(m);
  AdjustBounds();
}
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
  AdjustBounds();
  Invalidate();
}

void TLabel::CMDialogChar(TMessage& m) {
  if (!FShowAccelChar || !FFocusControl || !GetEnabled() || !Showing()) return;
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    m.Result = 1;
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
  const UINT format = TextFormat();
  const std::wstring text = GetLabelText();
  if (FLayout != tlTop) {
    // Measure first, then move the text down by the room left over.
    TRect measured = rect;
    canvas->DrawText(text, measured, format | DT_CALCRECT);
    const int room = rect.Height() - measured.Height();
    rect.Top += FLayout == tlCenter ? room / 2 : room;
  }
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  if (!GetEnabled()) {
    // Embossed: a light copy one pixel down and right under a grey one.
    TRect shifted(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(text, shifted, format);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->DrawText(text, rect, format);
}

// --- edit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
}

void TCustomEdit::Publish(TPublisher<TCustomEdit>& p) {
  p.Message(CN_COMMAND, &TCustomEdit::CNCommand);
  p.Property(L"Text", &TCustomEdit::GetText, &TCustomEdit::SetText);
  p.Property(L"MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength).Default(0);
  p.Property(L"ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  p.Property(L"BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
  p.Property(L"CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  p.Property(L"HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection).Default(true);
  p.Property(L"OEMConvert", &TCustomEdit::GetOEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
  p.Property(L"AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  p.Property(L"TabStop", &TCustomEdit::GetTabStop, &TCustomEdit::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomEdit::GetTabOrder, &TCustomEdit::SetTabOrder);
  p.Property(L"OnChange", &TCustomEdit::OnChange);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FReadOnly) params.Style |= ES_READONLY;
  if (FPasswordChar) params.Style |= ES_PASSWORD;
  if (FCharCase == ecUpperCase) params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) params.Style |= ES_LOWERCASE;
  if (!FHideSelection) params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) params.Style |= ES_OEMCONVERT;
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle v) {
  if (v != bsNone) v = bsSingle;
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  RecreateWnd();
  Perform(CM_BORDERCHANGED);
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  if (FCharCase == v) return;
  FCharCase = v;
  RecreateWnd();
  if (v == ecNormal) return;
  // The window turns what is typed; the text it already holds is turned here.
  std::wstring text = GetText();
  for (wchar_t& c : text) c = v == ecUpperCase ? towupper(c) : towlower(c);
  if (HandleAllocated())
    SetText(text);
  else
    SetTextSilently(text);
}

void TCustomEdit::SetHideSelection(bool v) {
  if (FHideSelection == v) return;
  FHideSelection = v;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool v) {
  if (FOEMConvert == v) return;
  FOEMConvert = v;
  RecreateWnd();
}

void TCustomEdit::DoEnter() {
  // A click places the caret where it lands; only keyboard and code select all.
  if (FAutoSelect && HandleAllocated() && !(GetKeyState(VK_LBUTTON) & 0x8000) && !(GetWindowLongW(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  TWinControl::DoEnter();
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
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && GetEnabled() && Showing()) {
    if (CanFocus()) SetFocus();
    Click();
    m.Result = 1;
  }
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::Publish(TPublisher<TButton>& p) {
  p.Message(CM_DIALOGKEY, &TButton::CMDialogKey);
  p.Message(CM_FOCUSCHANGED, &TButton::CMFocusChanged);
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
  if (!HandleAllocated()) return;
  // Every button of the form decides again which one looks like the default.
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->GetActiveControl()));
  else
    SetButtonStyle(v);
}

void TButton::CMFocusChanged(TMessage& m) {
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  auto* button = dynamic_cast<TButton*>(focused);
  SetButtonStyle(button ? button == this : FDefault);
  TButtonControl::CMFocusChanged(m);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  const LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & BS_TYPEMASK;
  const LONG_PTR wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (style != wanted) SendMessageW(WindowHandle(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
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
  p.Message(CN_COMMAND, &TCheckBox::CNCommand);
  p.Message(CM_DIALOGCHAR, &TCheckBox::CMDialogChar);
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

void TCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    SetChecked(!FChecked);
    m.Result = 1;
  }
}

// --- list box

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomListBox(AOwner, new TStringList) {}

TCustomListBox::TCustomListBox(TComponent* AOwner, TStringList* items)
    : TWinControl(AOwner), FItems(items), FCanvas(new TCanvas) {
  ControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  FItems->OnChange = TNotifyEvent(this, &TCustomListBox::ItemsChanged);
  FItems->OnLineChange = [this](TStringList::TLineChange kind, int index) { LineChanged(kind, index); };
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
  FItems->OnLineChange = nullptr;
}

void TCustomListBox::Publish(TPublisher<TCustomListBox>& p) {
  p.Message(CN_COMMAND, &TCustomListBox::CNCommand);
  p.Message(CN_DRAWITEM, &TCustomListBox::CNDrawItem);
  p.Message(CN_MEASUREITEM, &TCustomListBox::CNMeasureItem);
  p.Property(L"Items", &TCustomListBox::GetItems, &TCustomListBox::SetItems);
  p.Property(L"Style", &TCustomListBox::GetStyle, &TCustomListBox::SetStyle).Default(lbStandard);
  p.Property(L"ItemHeight", &TCustomListBox::GetItemHeight, &TCustomListBox::SetItemHeight).Default(16);
  p.Property(L"Sorted", &TCustomListBox::GetSorted, &TCustomListBox::SetSorted).Default(false);
  p.Property(L"MultiSelect", &TCustomListBox::GetMultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  p.Property(L"ExtendedSelect", &TCustomListBox::GetExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  p.Property(L"Columns", &TCustomListBox::GetColumns, &TCustomListBox::SetColumns).Default(0);
  p.Property(L"IntegralHeight", &TCustomListBox::GetIntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  p.Property(L"TabWidth", &TCustomListBox::GetTabWidth, &TCustomListBox::SetTabWidth).Default(0);
  p.Property(L"BorderStyle", &TCustomListBox::GetBorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
  p.Property(L"OnData", &TCustomListBox::OnData);
  p.Property(L"OnDataFind", &TCustomListBox::OnDataFind);
  p.Property(L"OnDataObject", &TCustomListBox::OnDataObject);
  p.Property(L"TabStop", &TCustomListBox::GetTabStop, &TCustomListBox::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomListBox::GetTabOrder, &TCustomListBox::SetTabOrder);
  p.Property(L"OnDrawItem", &TCustomListBox::OnDrawItem);
  p.Property(L"OnMeasureItem", &TCustomListBox::OnMeasureItem);
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  params.Style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY;
  if (!FIntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FMultiSelect) params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FColumns > 0) params.Style |= LBS_MULTICOLUMN | WS_HSCROLL;
  if (FTabWidth > 0) params.Style |= LBS_USETABSTOPS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
  if (FBorderStyle == bsNone) params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
  if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable) params.Style |= LBS_HASSTRINGS;
  // A virtual list holds only a count; its lines come from OnData when drawn.
  if (IsVirtual()) params.Style |= LBS_NODATA | LBS_OWNERDRAWFIXED;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (FStyle == lbOwnerDrawFixed || IsVirtual()) SendMessageW(WindowHandle(), LB_SETITEMHEIGHT, 0, FItemHeight);
  ApplyColumnsAndTabs();
  if (IsVirtual())
    SendMessageW(WindowHandle(), LB_SETCOUNT, static_cast<WPARAM>(FCount), 0);
  else
    FillWindow();
  if (FMultiSelect) {
    for (size_t i = 0; i < FSaved.size() && i < static_cast<size_t>(GetCount()); ++i)
      if (FSaved[i]) SendMessageW(WindowHandle(), LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (FItemIndex >= 0) SendMessageW(WindowHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(FItemIndex), FALSE);
  } else {
    SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  }
  FSaved.clear();
}

void TCustomListBox::DestroyWnd() {
  FItemIndex = GetItemIndex();
  FSaved.clear();
  // The selection lives in the window: keep it for the next one.
  const int count = static_cast<int>(SendMessageW(WindowHandle(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    FSaved.push_back(SendMessageW(WindowHandle(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
  TWinControl::DestroyWnd();
}

void TCustomListBox::ApplyColumnsAndTabs() {
  HWND wnd = WindowHandle();
  if (FColumns > 0) SendMessageW(wnd, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, GetWidth() / FColumns)), 0);
  if (FTabWidth > 0) {
    int stop = FTabWidth;
    SendMessageW(wnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
  }
}

std::wstring TCustomListBox::WindowLine(int index) const {
  const LRESULT length = SendMessageW(WindowHandle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(WindowHandle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

namespace {
// Puts every line into a list or combo window at once, drawn once at the end.
void FillLines(HWND wnd, const TStrings& lines, UINT resetMessage, UINT addMessage) {
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(wnd, resetMessage, 0, 0);
  for (int i = 0; i < lines.Count(); ++i) {
    const std::wstring line = lines.Get(i);
    SendMessageW(wnd, addMessage, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(wnd, nullptr, TRUE);
}
}  // namespace

void TCustomListBox::FillWindow() {
  FillLines(WindowHandle(), *FItems, LB_RESETCONTENT, LB_ADDSTRING);
}

void TCustomListBox::ItemsChanged(TObject*) {
  if (!HandleAllocated() && FItemIndex >= FItems->Count()) FItemIndex = -1;
}

// The window follows the lines one by one, as the platform's list box does: a
// framed or check list box sees each line it gets, and adding N lines costs N.
void TCustomListBox::LineChanged(TStringList::TLineChange kind, int index) {
  if (IsVirtual() || !HandleAllocated()) return;
  HWND wnd = WindowHandle();
  using K = TStringList::TLineChange;
  switch (kind) {
    case K::Insert: {
      const std::wstring line = FItems->Get(index);
      const auto count = static_cast<int>(SendMessageW(wnd, LB_GETCOUNT, 0, 0));
      if (index >= count)
        SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      else
        SendMessageW(wnd, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.c_str()));
      break;
    }
    case K::Delete: SendMessageW(wnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0); break;
    case K::Put: {
      // A line replaced in place keeps its selection.
      const bool selected = SendMessageW(wnd, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
      const std::wstring line = FItems->Get(index);
      SendMessageW(wnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
      SendMessageW(wnd, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.c_str()));
      if (selected) {
        if (FMultiSelect)
          SendMessageW(wnd, LB_SETSEL, TRUE, index);
        else
          SendMessageW(wnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      }
      break;
    }
    case K::Clear: SendMessageW(wnd, LB_RESETCONTENT, 0, 0); break;
    case K::Reset: RefillKeepingSelection(); break;
  }
}

// After a sort: every line anew; selected lines stay selected where they went.
void TCustomListBox::RefillKeepingSelection() {
  HWND wnd = WindowHandle();
  const int oldCount = static_cast<int>(SendMessageW(wnd, LB_GETCOUNT, 0, 0));
  std::vector<int> selected;
  if (FMultiSelect) {
    for (int i = 0; i < oldCount; ++i)
      if (SendMessageW(wnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) selected.push_back(i);
  } else if (const int index = GetItemIndex(); index >= 0) {
    selected.push_back(index);
  }
  std::vector<std::wstring> texts;
  for (int i : selected) texts.push_back(WindowLine(i));
  FillWindow();
  std::vector<bool> taken(static_cast<size_t>(FItems->Count()), false);
  for (size_t k = 0; k < selected.size(); ++k) {
    int again = -1;
    for (int i = 0; i < FItems->Count() && again < 0; ++i)
      if (!taken[static_cast<size_t>(i)] && FItems->Get(i) == texts[k]) again = i;
    if (again < 0) continue;
    taken[static_cast<size_t>(again)] = true;
    if (FMultiSelect)
      SendMessageW(wnd, LB_SETSEL, TRUE, again);
    else
      SendMessageW(wnd, LB_SETCURSEL, static_cast<WPARAM>(again), 0);
  }
}

int TCustomListBox::GetItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  // A multi-select list's current line is the one with the focus frame.
  if (FMultiSelect) {
    if (SendMessageW(WindowHandle(), LB_GETCOUNT, 0, 0) <= 0) return -1;
    return static_cast<int>(SendMessageW(WindowHandle(), LB_GETCARETINDEX, 0, 0));
  }
  return static_cast<int>(SendMessageW(WindowHandle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v) {
  if (v < -1 || v >= GetCount()) v = -1;
  FItemIndex = v;
  if (!HandleAllocated()) return;
  if (FMultiSelect) {
    if (v >= 0) SendMessageW(WindowHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(v), FALSE);
  } else {
    SendMessageW(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
  }
}

void TCustomListBox::SetMultiSelect(bool v) {
  if (FMultiSelect == v) return;
  FMultiSelect = v;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool v) {
  if (FExtendedSelect == v) return;
  FExtendedSelect = v;
  if (FMultiSelect) RecreateWnd();
}

bool TCustomListBox::GetSelected(int index) const {
  if (index < 0 || index >= GetCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
  if (!HandleAllocated()) {
    if (FMultiSelect) return static_cast<size_t>(index) < FSaved.size() && FSaved[static_cast<size_t>(index)];
    return index == FItemIndex;
  }
  return SendMessageW(WindowHandle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= GetCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
  if (!FMultiSelect) {
    if (v) SetItemIndex(index);
    else if (GetItemIndex() == index) SetItemIndex(-1);
    return;
  }
  HandleNeeded();
  SendMessageW(WindowHandle(), LB_SETSEL, v ? TRUE : FALSE, index);
}

int TCustomListBox::GetSelCount() const {
  if (!FMultiSelect) return -1;
  if (!HandleAllocated()) return static_cast<int>(std::count(FSaved.begin(), FSaved.end(), true));
  return static_cast<int>(SendMessageW(WindowHandle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SelectAll() {
  if (FMultiSelect) SendMessageW(GetHandle(), LB_SETSEL, TRUE, -1);
}

void TCustomListBox::SetColumns(int v) {
  if (v < 0) v = 0;
  if (FColumns == v) return;
  // Between one and several columns the window's style changes.
  const bool restyle = (FColumns == 0) != (v == 0);
  FColumns = v;
  if (restyle) RecreateWnd();
  else if (HandleAllocated()) ApplyColumnsAndTabs();
}

void TCustomListBox::SetIntegralHeight(bool v) {
  if (FIntegralHeight == v) return;
  FIntegralHeight = v;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(int v) {
  if (v < 0) v = 0;
  if (FTabWidth == v) return;
  FTabWidth = v;
  RecreateWnd();
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
  const int count = GetCount();
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
  if (index >= 0 && index < GetCount())
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

void TCustomListBox::CNDrawItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  m.Result = 1;
  if (dis->itemID == static_cast<UINT>(-1) || static_cast<int>(dis->itemID) >= GetCount()) return;
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
  if (OnDrawItem && FStyle != lbVirtual) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas->FillRect(rect);
  FCanvas->TextRect(rect, rect.Left + 2, rect.Top, IsVirtual() ? DoGetData(index) : GetItems()->Get(index));
}

int TCustomListBox::GetCount() const { return IsVirtual() ? FCount : FItems->Count(); }

void TCustomListBox::SetCount(int v) {
  if (!IsVirtual()) throw EInvalidOperation(L"Operation not allowed on a list box that is not virtual");
  if (v < 0) v = 0;
  FCount = v;
  if (FItemIndex >= v) FItemIndex = -1;
  if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETCOUNT, static_cast<WPARAM>(v), 0);
}

std::wstring TCustomListBox::DoGetData(int index) {
  std::wstring data;
  if (OnData) OnData(this, index, data);
  return data;
}

TObject* TCustomListBox::DoGetDataObject(int index) {
  TObject* object = nullptr;
  if (OnDataObject) OnDataObject(this, index, object);
  return object;
}

int TCustomListBox::DoFindData(const std::wstring& data) {
  return OnDataFind ? OnDataFind(this, data) : -1;
}

void TCustomListBox::KeyPress(wchar_t& key) {
  TWinControl::KeyPress(key);
  // The window cannot search lines it does not hold: a virtual list asks.
  if (!IsVirtual() || key < L' ' || !OnDataFind) return;
  const int found = DoFindData(std::wstring(1, key));
  if (found >= 0 && found < FCount) {
    SetItemIndex(found);
    Click();
  }
  key = 0;
}

void TCustomListBox::SetBorderStyle(TFormBorderStyle v) {
  if (v != bsNone) v = bsSingle;
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  RecreateWnd();
  Perform(CM_BORDERCHANGED);
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

// --- memo

std::vector<std::wstring> TMemoStrings::Lines() const {
  std::vector<std::wstring> lines;
  const std::wstring text = FMemo->GetText();
  if (text.empty()) return lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    size_t cut = end > start && text[end - 1] == L'\r' ? end - 1 : end;
    lines.push_back(text.substr(start, cut - start));
    start = end + 1;
    if (start == text.size()) break;  // a final line break ends the last line
  }
  return lines;
}

void TMemoStrings::SetLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += L"\r\n";
    text += lines[i];
  }
  FMemo->SetText(text);
}

int TMemoStrings::Count() const { return static_cast<int>(Lines().size()); }

String TMemoStrings::Get(int index) const {
  const auto lines = Lines();
  CheckIndex(index, static_cast<int>(lines.size()));
  return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Put(int index, const String& s) {
  auto lines = Lines();
  CheckIndex(index, static_cast<int>(lines.size()));
  lines[static_cast<size_t>(index)] = s;
  SetLines(lines);
}

void TMemoStrings::Insert(int index, const String& s) {
  auto lines = Lines();
  CheckIndex(index, static_cast<int>(lines.size()) + 1);
  lines.insert(lines.begin() + index, s);
  SetLines(lines);
}

void TMemoStrings::Delete(int index) {
  auto lines = Lines();
  CheckIndex(index, static_cast<int>(lines.size()));
  lines.erase(lines.begin() + index);
  SetLines(lines);
}

void TMemoStrings::Clear() { FMemo->SetText(L""); }

void TMemoStrings::SetText(const String& text) {
  // Split by the list's own rules (CR, LF or CR LF), then kept with CR LF.
  TStringList parsed;
  parsed.SetText(text);
  std::vector<std::wstring> lines;
  for (int i = 0; i < parsed.Count(); ++i) lines.push_back(parsed.Get(i));
  SetLines(lines);
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this)) {
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::Publish(TPublisher<TCustomMemo>& p) {
  p.Message(WM_GETDLGCODE, &TCustomMemo::WMGetDlgCode);
  // The lines are the memo's text: stored once, as Lines.
  p.Hide(L"Text");
  p.Property(L"Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines);
  p.Property(L"ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
  p.Property(L"WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap).Default(true);
  p.Property(L"WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns).Default(true);
  p.Property(L"WantTabs", &TCustomMemo::GetWantTabs, &TCustomMemo::SetWantTabs).Default(false);
  p.Property(L"Alignment", &TCustomMemo::GetAlignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (FWordWrap) params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  // A wrapping memo has no line wider than itself to scroll to.
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !FWordWrap) params.Style |= WS_HSCROLL;
  if (FAlignment == taRightJustify) params.Style |= ES_RIGHT;
  if (FAlignment == taCenter) params.Style |= ES_CENTER;
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (FScrollBars == v) return;
  FScrollBars = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (FWordWrap == v) return;
  FWordWrap = v;
  RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  RecreateWnd();
}

void TCustomMemo::WMGetDlgCode(TMessage& m) {
  TCustomEdit::WMGetDlgCode(m);
  if (FWantTabs)
    m.Result |= DLGC_WANTTAB;
  else
    m.Result &= ~static_cast<intptr_t>(DLGC_WANTTAB);
  // Enter then belongs to the form (its default button).
  if (!FWantReturns) m.Result &= ~static_cast<intptr_t>(DLGC_WANTALLKEYS);
}

void TCustomMemo::KeyPress(wchar_t& key) {
  TCustomEdit::KeyPress(key);
  if (key == L'\r' && !FWantReturns) key = 0;
  if (key == L'\t' && !FWantTabs) key = 0;
}

// --- radio button

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 113, 17);
  // Only the checked button of a group is a tab stop: arrows move inside the group.
  SetTabStop(false);
}

void TRadioButton::Publish(TPublisher<TRadioButton>& p) {
  p.Message(CN_COMMAND, &TRadioButton::CNCommand);
  p.Message(CM_DIALOGCHAR, &TRadioButton::CMDialogChar);
  p.Property(L"Caption", &TRadioButton::GetCaption, &TRadioButton::SetCaption);
  p.Property(L"Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked).Default(false);
  p.Property(L"TabStop", &TRadioButton::GetTabStop, &TRadioButton::SetTabStop).Default(false);
  p.Property(L"TabOrder", &TRadioButton::GetTabOrder, &TRadioButton::SetTabOrder);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  // Not BS_AUTORADIOBUTTON: the group is kept here, among our siblings.
  params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (FChecked == v) return;
  FChecked = v;
  SetTabStop(v);
  if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (TWinControl* parent = GetParent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
        other->SetChecked(false);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    SetChecked(true);
    m.Result = 1;
  }
}

void TRadioButton::CNCommand(TMessage& m) {
  switch (HIWORD(m.WParam)) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
  }
}

// --- combo box

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(new TStringList), FCanvas(new TCanvas) {
  ControlStyle.Exclude(csClickEvents);
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  FItems->OnChange = TNotifyEvent(this, &TCustomComboBox::ItemsChanged);
}

TCustomComboBox::~TCustomComboBox() {
  FItems->OnChange = nullptr;
  if (FEditHandle && IsWindow(FEditHandle)) {
    RemovePropW(FEditHandle, L"QornComboBox");
    SetWindowLongPtrW(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditDefProc));
  }
}

void TCustomComboBox::Publish(TPublisher<TCustomComboBox>& p) {
  p.Message(CN_COMMAND, &TCustomComboBox::CNCommand);
  p.Message(CN_DRAWITEM, &TCustomComboBox::CNDrawItem);
  p.Message(CN_MEASUREITEM, &TCustomComboBox::CNMeasureItem);
  p.Message(WM_SETTEXT, &TCustomComboBox::WMSetText);
  p.Message(WM_CTLCOLOREDIT, &TCustomComboBox::WMCtlColor);
  p.Message(WM_CTLCOLORLISTBOX, &TCustomComboBox::WMCtlColor);
  p.Message(WM_CTLCOLORSTATIC, &TCustomComboBox::WMCtlColor);
  p.Property(L"Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle).Default(csDropDown);
  p.Property(L"ItemHeight", &TCustomComboBox::GetItemHeight, &TCustomComboBox::SetItemHeight).Default(16);
  p.Property(L"DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  p.Property(L"Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted).Default(false);
  p.Property(L"MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength).Default(0);
  p.Property(L"Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems);
  // After the items, so that a form's index finds its line.
  p.Property(L"ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
  p.Property(L"Text", &TCustomComboBox::GetText, &TCustomComboBox::SetText);
  p.Property(L"TabStop", &TCustomComboBox::GetTabStop, &TCustomComboBox::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomComboBox::GetTabOrder, &TCustomComboBox::SetTabOrder);
  p.Property(L"OnChange", &TCustomComboBox::OnChange);
  p.Property(L"OnDropDown", &TCustomComboBox::OnDropDown);
  p.Property(L"OnCloseUp", &TCustomComboBox::OnCloseUp);
  p.Property(L"OnSelect", &TCustomComboBox::OnSelect);
  p.Property(L"OnDrawItem", &TCustomComboBox::OnDrawItem);
  p.Property(L"OnMeasureItem", &TCustomComboBox::OnMeasureItem);
}

int TCustomComboBox::ListHeight() const {
  int item = FItemHeight;
  if (HandleAllocated() && FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable)
    item = static_cast<int>(SendMessageW(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
  return std::max(1, FDropDownCount) * item + 2;
}

void TCustomComboBox::ApplyDropDownHeight() {
  if (!HandleAllocated() || FStyle == csSimple) return;
  // A window taller than its field keeps the extra height for the list.
  RECT r;
  GetWindowRect(WindowHandle(), &r);
  ::SetWindowPos(WindowHandle(), nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + ListHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"COMBOBOX");
  params.Style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT;
  switch (FStyle) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
    case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS; break;
  }
  // A drop-down combo's window height is its field and its list together.
  if (FStyle != csSimple) params.Height = GetHeight() + ListHeight();
}

void TCustomComboBox::CreateWnd() {
  const std::wstring text = FText;
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
    SendMessageW(wnd, CB_SETITEMHEIGHT, 0, FItemHeight);
  }
  SendMessageW(wnd, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  // The lines' height is the window's own only now.
  ApplyDropDownHeight();
  FillWindow();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  FEditHandle = nullptr;
  FListHandle = nullptr;
  if (GetComboBoxInfo(wnd, &info)) {
    FListHandle = info.hwndList;
    if (FStyle == csDropDown || FStyle == csSimple) FEditHandle = info.hwndItem;
  }
  if (FEditHandle) {
    // The inner edit is the window that really has the focus and the keys.
    SetPropW(FEditHandle, L"QornComboBox", this);
    FEditDefProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::EditWndProc)));
  }
  if (FItemIndex < 0 && !FEditHandle && !text.empty()) {
    // A list-only combo box shows the line its text names.
    for (int i = 0; i < FItems->Count() && FItemIndex < 0; ++i)
      if (FItems->Get(i) == text) FItemIndex = i;
  }
  SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  if (FItemIndex < 0 && FEditHandle) SetWindowTextW(wnd, text.c_str());
}

void TCustomComboBox::DestroyWnd() {
  FItemIndex = GetItemIndex();
  if (FEditHandle && IsWindow(FEditHandle)) {
    RemovePropW(FEditHandle, L"QornComboBox");
    SetWindowLongPtrW(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditDefProc));
  }
  FEditHandle = nullptr;
  FListHandle = nullptr;
  TWinControl::DestroyWnd();
}

LRESULT CALLBACK TCustomComboBox::EditWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* combo = static_cast<TCustomComboBox*>(GetPropW(wnd, L"QornComboBox"));
  if (!combo) return DefWindowProcW(wnd, msg, wp, lp);
  WNDPROC defProc = combo->FEditDefProc;
  TMessage m{msg, wp, lp, 0};
  GuardCallback([&] { combo->ComboWndProc(m, wnd, defProc); });
  if (msg == WM_NCDESTROY) {
    RemovePropW(wnd, L"QornComboBox");
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc));
    if (combo->FEditHandle == wnd) combo->FEditHandle = nullptr;
  }
  return m.Result;
}

void TCustomComboBox::ComboWndProc(TMessage& m, HWND wnd, WNDPROC defProc) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      m.Result = CallWindowProcW(defProc, wnd, m.Msg, m.WParam, m.LParam);
      // The form tracks the combo box, not its inner window.
      if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
      m.Result = CallWindowProcW(defProc, wnd, m.Msg, m.WParam, m.LParam);
      // The mouse events of the combo box, in its own coordinates.
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      MapWindowPoints(wnd, WindowHandle(), &p, 1);
      const TShiftState shift = MouseKeysToShiftState(m.WParam);
      if (m.Msg == WM_MOUSEMOVE) MouseMove(shift, p.x, p.y);
      else if (m.Msg == WM_LBUTTONDOWN) MouseDown(mbLeft, shift, p.x, p.y);
      else if (m.Msg == WM_LBUTTONUP) MouseUp(mbLeft, shift, p.x, p.y);
      else if (m.Msg == WM_RBUTTONDOWN) MouseDown(mbRight, shift, p.x, p.y);
      else MouseUp(mbRight, shift, p.x, p.y);
      return;
    }
    case WM_CONTEXTMENU:
      // The combo box's popup menu, not the edit's own.
      m.Result = Perform(WM_CONTEXTMENU, reinterpret_cast<uintptr_t>(WindowHandle()), m.LParam);
      if (m.Result == 0 && !GetPopupMenu()) m.Result = CallWindowProcW(defProc, wnd, m.Msg, m.WParam, m.LParam);
      return;
    default:
      m.Result = CallWindowProcW(defProc, wnd, m.Msg, m.WParam, m.LParam);
  }
}

void TCustomComboBox::FillWindow() {
  FillLines(WindowHandle(), *FItems, CB_RESETCONTENT, CB_ADDSTRING);
}

void TCustomComboBox::ItemsChanged(TObject*) {
  if (!HandleAllocated()) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    return;
  }
  // The selected line stays selected where it still is (by its text), or in its
  // place when it was replaced; typed text stays.
  HWND wnd = WindowHandle();
  const int oldCount = static_cast<int>(SendMessageW(wnd, CB_GETCOUNT, 0, 0));
  const int index = GetItemIndex();
  const std::wstring selected = index >= 0 && index < oldCount ? GetText() : std::wstring();
  const std::wstring typed = FEditHandle ? GetText() : std::wstring();
  FillWindow();
  int again = -1;
  for (int i = 0; index >= 0 && i < FItems->Count() && again < 0; ++i)
    if (FItems->Get(i) == selected) again = i;
  if (again < 0 && index >= 0 && oldCount == FItems->Count()) again = index;
  SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(again), 0);
  FItemIndex = again;
  if (again < 0 && FEditHandle) SetWindowTextW(wnd, typed.c_str());
}

int TCustomComboBox::GetItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return static_cast<int>(SendMessageW(WindowHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  if (HandleAllocated()) {
    SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(v), 0);
    FText = GetText();
  } else {
    FText = v >= 0 ? FItems->Get(v) : std::wstring();
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  RecreateWnd();
}

int TCustomComboBox::GetItemHeight() const {
  if (HandleAllocated() && (FStyle == csDropDown || FStyle == csSimple || FStyle == csDropDownList))
    return static_cast<int>(SendMessageW(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int v) {
  if (v <= 0 || FItemHeight == v) return;
  FItemHeight = v;
  if (HandleAllocated() && (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)) RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int v) {
  if (v < 1) v = 1;
  if (FDropDownCount == v) return;
  FDropDownCount = v;
  ApplyDropDownHeight();
}

bool TCustomComboBox::GetDroppedDown() const {
  return HandleAllocated() && SendMessageW(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool v) { SendMessageW(GetHandle(), CB_SHOWDROPDOWN, v, 0); }

void TCustomComboBox::SetSorted(bool v) {
  FSorted = v;
  FItems->SetSorted(v);
}

void TCustomComboBox::SetMaxLength(int v) {
  FMaxLength = v < 0 ? 0 : v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

int TCustomComboBox::GetSelStart() {
  DWORD start = 0;
  SendMessageW(GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomComboBox::GetSelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomComboBox::SelectAll() { SendMessageW(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF)); }

// A list-only combo box has no edit to take a text: it picks the line instead.
void TCustomComboBox::WMSetText(TMessage& m) {
  if (HandleAllocated() && !FEditHandle) {
    WMSetTextList(m);
    return;
  }
  TWinControl::WMSetText(m);
}

// The inner edit and the drop-down list wear the combo box's colours.
void TCustomComboBox::WMCtlColor(TMessage& m) {
  HWND child = reinterpret_cast<HWND>(m.LParam);
  if (child && (child == FEditHandle || child == FListHandle)) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(GetColor()));
    m.Result = reinterpret_cast<intptr_t>(BrushHandle());
    return;
  }
  TWinControl::WMReflected(m);
}

// A list-only combo box shows one of its lines: a text sets the line it names.
void TCustomComboBox::WMSetTextList(TMessage& m) {
  const wchar_t* text = reinterpret_cast<const wchar_t*>(m.LParam);
  const std::wstring value = text ? text : L"";
  int index = -1;
  for (int i = 0; i < FItems->Count() && index < 0; ++i)
    if (FItems->Get(i) == value) index = i;
  SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  FItemIndex = index;
  FText = index >= 0 ? value : std::wstring();
  m.Result = index >= 0 || value.empty() ? TRUE : CB_ERR;
  Perform(CM_TEXTCHANGED);
}

void TCustomComboBox::CNCommand(TMessage& m) {
  switch (HIWORD(m.WParam)) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE:
      FText = GetText();
      Change();
      break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    case CBN_SELCHANGE: {
      // The new line is in the field only after this notification: take it from the list.
      const int index = GetItemIndex();
      FItemIndex = index;
      FText = index >= 0 && index < FItems->Count() ? FItems->Get(index) : GetText();
      if (FEditHandle) SetWindowTextW(FEditHandle, FText.c_str());
      Click();
      Select();
      Change();
      break;
    }
  }
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}

void TCustomComboBox::CNDrawItem(TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  m.Result = 1;
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
  const int index = static_cast<int>(dis->itemID);
  if (index >= 0 && index < FItems->Count())
    DrawItem(index, rect, state);
  else
    FCanvas->FillRect(rect);
  if (state.Contains(odFocused)) DrawFocusRect(dis->hDC, &dis->rcItem);
  FCanvas->SetHandle(nullptr);
  RestoreDC(dis->hDC, saved);
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas->FillRect(rect);
  FCanvas->TextRect(rect, rect.Left + 2, rect.Top, FItems->Get(index));
}

void TCustomComboBox::CNMeasureItem(TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  int height = FItemHeight;
  if (FStyle == csOwnerDrawVariable && static_cast<int>(mis->itemID) >= 0)
    MeasureItem(static_cast<int>(mis->itemID), height);
  mis->itemHeight = static_cast<UINT>(height);
  m.Result = 1;
}

void TCustomComboBox::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

// --- scroll bar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::Publish(TPublisher<TScrollBar>& p) {
  p.Message(CN_HSCROLL, &TScrollBar::CNScroll);
  p.Message(CN_VSCROLL, &TScrollBar::CNScroll);
  p.Property(L"Kind", &TScrollBar::GetKind, &TScrollBar::SetKind).Default(sbHorizontal);
  p.Property(L"Min", &TScrollBar::GetMin, &TScrollBar::SetMin).Default(0);
  p.Property(L"Max", &TScrollBar::GetMax, &TScrollBar::SetMax).Default(100);
  p.Property(L"PageSize", &TScrollBar::GetPageSize, &TScrollBar::SetPageSize).Default(0);
  p.Property(L"Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition).Default(0);
  p.Property(L"SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange).Default(1);
  p.Property(L"LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange).Default(1);
  p.Property(L"TabStop", &TScrollBar::GetTabStop, &TScrollBar::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TScrollBar::GetTabOrder, &TScrollBar::SetTabOrder);
  p.Property(L"OnChange", &TScrollBar::OnChange);
  p.Property(L"OnScroll", &TScrollBar::OnScroll);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SCROLLBAR");
  params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMin = FMin;
  si.nMax = FMax;
  si.nPage = static_cast<UINT>(FPageSize);
  si.nPos = FPosition;
  SetScrollInfo(WindowHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (FKind == v) return;
  FKind = v;
  // A bar turned on its side keeps its place, with width and height swapped.
  if (!ComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  RecreateWnd();
}

int TScrollBar::TopPosition() const {
  return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

void TScrollBar::SetPageSize(int v) {
  if (v < 0 || FPageSize == v) return;
  FPageSize = v;
  UpdateWindow();
  SetParams(FPosition, FMin, FMax);
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw EInvalidOperation(L"Scroll bar property out of range");
  FMin = min;
  FMax = max;
  // While a form is read, the range may come after the position.
  if (!ComponentState().Contains(csLoading)) position = std::clamp(position, FMin, std::max(FMin, TopPosition()));
  const bool moved = position != FPosition;
  FPosition = position;
  UpdateWindow();
  if (moved && !ComponentState().Contains(csLoading)) Change();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& pos) {
  if (OnScroll) OnScroll(this, code, pos);
}

void TScrollBar::CNScroll(TMessage& m) {
  int pos = FPosition;
  TScrollCode code = scEndScroll;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: code = scLineUp; pos -= FSmallChange; break;
    case SB_LINEDOWN: code = scLineDown; pos += FSmallChange; break;
    case SB_PAGEUP: code = scPageUp; pos -= FLargeChange; break;
    case SB_PAGEDOWN: code = scPageDown; pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The message carries 16 bits only; the bar knows the whole position.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(WindowHandle(), SB_CTL, &si);
      code = LOWORD(m.WParam) == SB_THUMBTRACK ? scTrack : scPosition;
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP: code = scTop; pos = FMin; break;
    case SB_BOTTOM: code = scBottom; pos = FMax; break;
    case SB_ENDSCROLL: code = scEndScroll; break;
    default: return;
  }
  pos = std::clamp(pos, FMin, std::max(FMin, TopPosition()));
  Scroll(code, pos);
  SetPosition(pos);
  m.Result = 0;
}

// --- group box

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csAcceptsControls;
  ControlStyle.Include(csOpaque);
  SetParentColor(true);
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Publish(TPublisher<TCustomGroupBox>& p) {
  p.Message(CM_DIALOGCHAR, &TCustomGroupBox::CMDialogChar);
  p.Message(CM_TEXTCHANGED, &TCustomGroupBox::CMTextChanged);
  p.Message(CM_FONTCHANGED, &TCustomGroupBox::CMFontChanged);
  p.Property(L"Caption", &TCustomGroupBox::GetCaption, &TCustomGroupBox::SetCaption);
  p.Property(L"TabStop", &TCustomGroupBox::GetTabStop, &TCustomGroupBox::SetTabStop).Default(false);
  p.Property(L"TabOrder", &TCustomGroupBox::GetTabOrder, &TCustomGroupBox::SetTabOrder);
}

int TCustomGroupBox::CaptionHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
  // Children sit below the caption and inside the frame.
  rect.Top += CaptionHeight();
  rect.Left += 2;
  rect.Right -= 2;
  rect.Bottom -= 2;
  if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
  if (rect.Right < rect.Left) rect.Right = rect.Left;
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = GetCanvas();
  const TRect client = GetClientRect();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->FillRect(client);
  canvas->SetFont(GetFont());
  const int h = CaptionHeight();
  RECT frame{client.Left, client.Top + h / 2, client.Right, client.Bottom};
  DrawEdge(canvas->GetHandle(), &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring caption = GetCaption();
  if (caption.empty()) return;
  TRect text(0, 0, client.Width() - 16, h);
  canvas->DrawText(caption, text, DT_CALCRECT | DT_SINGLELINE);
  text = TRect(8, client.Top, 8 + text.Width() + 4, client.Top + h);
  canvas->FillRect(text);
  SetBkMode(canvas->GetHandle(), TRANSPARENT);
  TRect inner(text.Left + 2, text.Top, text.Right, text.Bottom);
  if (!GetEnabled()) {
    TRect shifted(inner.Left + 1, inner.Top + 1, inner.Right + 1, inner.Bottom + 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(caption, shifted, DT_SINGLELINE);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->DrawText(caption, inner, DT_SINGLELINE);
}

void TCustomGroupBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && GetEnabled() && Showing()) {
    SelectFirst();
    m.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(m);
}

void TCustomGroupBox::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& m) {
  TCustomControl::CMFontChanged(m);
  Realign();
  Invalidate();
}

void TButtonControl::Publish(TPublisher<TButtonControl>& p) {
  p.Message(CN_COMMAND, &TButtonControl::CNCommand);
  p.Message(CM_DIALOGCHAR, &TButtonControl::CMDialogChar);
}
