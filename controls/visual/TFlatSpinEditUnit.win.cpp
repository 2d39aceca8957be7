#include "controls/visual/TFlatSpinEditUnit.h"

#include <climits>
#include <cwchar>
#include <string>

#include "vcl/SysUtils.h"

namespace Flat {

namespace {

// The whole text as a decimal int (an optional sign, then digits), or false.
bool ParseDecimal(const std::wstring& text, int& out) {
  if (text.empty()) return false;
  size_t i = (text[0] == L'+' || text[0] == L'-') ? 1 : 0;
  if (i == text.size()) return false;
  long long v = 0;
  for (size_t k = i; k < text.size(); ++k) {
    if (text[k] < L'0' || text[k] > L'9') return false;
    v = v * 10 + (text[k] - L'0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (text[0] == L'-') v = -v;
  if (v < INT_MIN || v > INT_MAX) return false;
  out = static_cast<int>(v);
  return true;
}

wchar_t DecimalSeparator() {
  wchar_t buf[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 4) > 0 && buf[0]) return buf[0];
  return L'.';
}

}  // namespace

TFlatSpinEditInteger::TFlatSpinEditInteger(TComponent* AOwner) : TCustomFlatEdit(AOwner) {
  FButton = new TSpinButton(this);
  FButton->SetBounds(0, 0, 22, 10);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnUpClick = [this](TObject*) { UpClick(); };
  FButton->OnDownClick = [this](TObject*) { DownClick(); };
  SetValue(0);
}

int TFlatSpinEditInteger::GetValue() const {
  int v = 0;
  return ParseDecimal(GetText(), v) ? v : FMinValue;
}

int TFlatSpinEditInteger::CheckValue(long long v) const {
  if (FMinValue != FMaxValue) {
    if (v < FMinValue) return FMinValue;
    if (v > FMaxValue) return FMaxValue;
  }
  if (v < INT_MIN) return INT_MIN;
  if (v > INT_MAX) return INT_MAX;
  return static_cast<int>(v);
}

void TFlatSpinEditInteger::SetValue(int v) {
  const std::wstring text = std::to_wstring(CheckValue(v));
  if (text != GetText()) SetText(text);
}

void TFlatSpinEditInteger::Step(long long by) {
  if (GetReadOnly()) {
    MessageBeep(0);
    return;
  }
  // Summed wide and clamped, so stepping past the range of an int stops at its end.
  const int v = CheckValue(static_cast<long long>(GetValue()) + by);
  SetValue(v);
}

void TFlatSpinEditInteger::UpClick() { Step(FIncrement); }
void TFlatSpinEditInteger::DownClick() { Step(-static_cast<long long>(FIncrement)); }

bool TFlatSpinEditInteger::IsValidChar(wchar_t key) const {
  bool valid = key == L'+' || key == L'-' || (key >= L'0' && key <= L'9') || key == DecimalSeparator() ||
               (key < 32 && key != L'\r');
  if (!FEditorEnabled && valid && (key == L'\b' || key >= 32)) valid = false;
  return valid;
}

void TFlatSpinEditInteger::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_UP)
    UpClick();
  else if (key == VK_DOWN)
    DownClick();
  TCustomFlatEdit::KeyDown(key, shift);
}

void TFlatSpinEditInteger::KeyPress(wchar_t& key) {
  if (!IsValidChar(key)) {
    key = 0;
    MessageBeep(0);
  }
  if (key != 0) TCustomFlatEdit::KeyPress(key);
}

void TFlatSpinEditInteger::WMCutOrPaste(TMessage& m) {
  if (!FEditorEnabled || GetReadOnly()) return;
  QORN_INHERITED(m);
}

void TFlatSpinEditInteger::DoEnter() {
  // The platform edit selects nothing when multi-line: the spin edit is, to narrow
  // its text area, and selects on entering by keyboard or code itself.
  if (GetAutoSelect() && HandleAllocated() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  TCustomFlatEdit::DoEnter();
}

void TFlatSpinEditInteger::DoExit() {
  TCustomFlatEdit::DoExit();
  // Whatever was typed or pasted ("1.5", "abc", "25" above the bound), the text
  // left behind is the value it stands for.
  const int v = CheckValue(GetValue());
  if (GetText() != std::to_wstring(v)) SetValue(v);
}

void TFlatSpinEditInteger::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (WindowHandle() && !ComponentState().Contains(csLoading)) Change();
}

void TFlatSpinEditInteger::CreateParams(TCreateParams& params) {
  TCustomFlatEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TFlatSpinEditInteger::CreateWnd() {
  TCustomFlatEdit::CreateWnd();
  SetEditRect();
  PlaceButton();
}

void TFlatSpinEditInteger::Loaded() {
  SetEditRect();
  PlaceButton();
  TCustomFlatEdit::Loaded();
}

void TFlatSpinEditInteger::PlaceButton() {
  if (!FButton) return;
  FButton->SetBounds(GetWidth() - FButton->GetWidth() - 5, 0, FButton->GetWidth(),
                     GetHeight() - 2 * kFlatEditBorder);
}

void TFlatSpinEditInteger::SetEditRect() {
  if (!HandleAllocated() || !FButton) return;
  RECT client{};
  ::GetClientRect(WindowHandle(), &client);
  RECT r{0, 0, client.right - FButton->GetWidth() - 3, client.bottom};
  SendMessageW(WindowHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TFlatSpinEditInteger::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  const int minHeight = GetFontTextMetrics(GetFont()).tmHeight + 7;
  if (GetHeight() < minHeight) {
    SetHeight(minHeight);
    return;
  }
  PlaceButton();
  SetEditRect();
}

void TFlatSpinEditInteger::Publish(TPublisher<TFlatSpinEditInteger>& p) {
  p.Message(WM_CUT, &TFlatSpinEditInteger::WMCutOrPaste);
  p.Message(WM_PASTE, &TFlatSpinEditInteger::WMCutOrPaste);
  p.Message(WM_SIZE, &TFlatSpinEditInteger::WMSize);
  p.Message(CM_TEXTCHANGED, &TFlatSpinEditInteger::CMTextChanged);
  p.Property(L"MinValue", &TFlatSpinEditInteger::GetMinValue, &TFlatSpinEditInteger::SetMinValue).Default(0);
  p.Property(L"MaxValue", &TFlatSpinEditInteger::GetMaxValue, &TFlatSpinEditInteger::SetMaxValue).Default(0);
  p.Property(L"Increment", &TFlatSpinEditInteger::GetIncrement, &TFlatSpinEditInteger::SetIncrement).Default(1);
  p.Property(L"EditorEnabled", &TFlatSpinEditInteger::GetEditorEnabled, &TFlatSpinEditInteger::SetEditorEnabled)
      .Default(true);
  // The text is the value: it is stored once, as Value.
  p.Property(L"Text", &TFlatSpinEditInteger::GetText, &TFlatSpinEditInteger::SetText).Stored(false);
  p.Property(L"Value", &TFlatSpinEditInteger::GetValue, &TFlatSpinEditInteger::SetValue);
}

}  // namespace Flat
