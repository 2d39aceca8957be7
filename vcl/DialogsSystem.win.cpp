// The system's dialog service: the Win32 common dialogs, MessageBoxW, and the
// library's own small input form.
#include "vcl/Dialogs.h"

#include "vcl/DialogsText.h"
#include "vcl/StdCtrls.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A dialog that failed to show is an error to report, not a cancel to ignore.
[[noreturn]] void RaiseDialogError(const wchar_t* dialog, DWORD code) {
  wchar_t text[96];
  swprintf(text, std::size(text), L"The %ls dialog could not be shown (error 0x%04lX)", dialog,
           static_cast<unsigned long>(code));
  throw EInvalidOperation(text);
}

// A colour the user left as it was keeps its form (a system colour stays one).
TColor ChosenColor(TColor before, COLORREF chosen) {
  return ColorToRGB(before) == static_cast<TColor>(chosen) ? before : static_cast<TColor>(chosen);
}

// The input form: the prompt, an edit with the value, OK and Cancel.
class TInputQueryForm : public TForm {
  QORN_CLASS(TInputQueryForm, TForm)
 public:
  explicit TInputQueryForm(TComponent* AOwner) : TForm(AOwner) {}

  void Build(const std::wstring& caption, const std::wstring& prompt, const std::wstring& value) {
    SetCaption(caption);
    SetBorderStyle(bsDialog);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    const int margin = 8;
    const int buttonWidth = 75, buttonHeight = 25, gap = 6;
    // A long prompt wraps: the form stays within two thirds of the screen.
    const int widest = std::max(240, GetSystemMetrics(SM_CXSCREEN) * 2 / 3 - 2 * margin);
    const TSize text = MeasureText(prompt.empty() ? L"M" : prompt, widest);
    const int editHeight = MeasureText(L"M", widest).cy + 8;
    const int width = std::max({text.cx, 2 * buttonWidth + gap, 240}) + 2 * margin;

    Prompt = new TLabel(this);
    Prompt->SetParent(this);
    Prompt->SetWordWrap(true);
    Prompt->SetCaption(prompt);
    Prompt->SetBounds(margin, margin, text.cx, text.cy);

    Edit = new TEdit(this);
    Edit->SetParent(this);
    Edit->SetBounds(margin, margin + text.cy + 4, width - 2 * margin, editHeight);
    Edit->SetText(value);
    Edit->SetTabOrder(0);

    const int buttonsTop = Edit->GetTop() + editHeight + 2 * margin;
    OkButton = new TButton(this);
    OkButton->SetParent(this);
    OkButton->SetCaption(L"OK");
    OkButton->SetModalResult(mrOk);
    OkButton->SetDefault(true);
    OkButton->SetBounds(width - margin - 2 * buttonWidth - gap, buttonsTop, buttonWidth, buttonHeight);
    OkButton->SetTabOrder(1);

    CancelButton = new TButton(this);
    CancelButton->SetParent(this);
    CancelButton->SetCaption(L"Cancel");
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    CancelButton->SetBounds(width - margin - buttonWidth, buttonsTop, buttonWidth, buttonHeight);
    CancelButton->SetTabOrder(2);

    SetClientWidth(width);
    SetClientHeight(buttonsTop + buttonHeight + margin);
    // The edit is first in tab order: it takes the focus when the form is activated.
  }

  TLabel* Prompt = nullptr;
  TEdit* Edit = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;

 protected:
  void DoShow() override {
    TForm::DoShow();
    // The default is offered selected, so typing replaces it.
    Edit->SelectAll();
  }

 private:
  // The size of the text as the label draws it, wrapped at maxWidth.
  TSize MeasureText(const std::wstring& text, int maxWidth) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {static_cast<int>(r.right), static_cast<int>(r.bottom)};
  }
  static void Publish(TPublisher<TInputQueryForm>&) {}
};

class TSystemDialogService : public TDialogService {
 public:
  bool ExecuteFileDialog(HWND owner, TOpenDialog& dialog) override {
    const bool save = dialog.IsSaveDialog();
    const std::wstring filter = FileDialogFilterList(dialog.GetFilter());
    const std::wstring defaultExt = FileDialogDefaultExt(dialog.GetDefaultExt());
    // Room for long paths; the dialog fails rather than cut a name.
    std::vector<wchar_t> buffer(32768, L'\0');
    auto run = [&](const std::wstring& initialName) {
      std::fill(buffer.begin(), buffer.end(), L'\0');
      std::copy_n(initialName.begin(), std::min(initialName.size(), buffer.size() - 1), buffer.begin());
      OPENFILENAMEW ofn{};
      ofn.lStructSize = sizeof ofn;
      ofn.hwndOwner = owner;
      ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
      ofn.nFilterIndex = 1;
      ofn.lpstrFile = buffer.data();
      ofn.nMaxFile = static_cast<DWORD>(buffer.size());
      ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
      // The program's current folder stays where it was: relative paths keep working.
      ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
      if (!save) ofn.Flags |= OFN_FILEMUSTEXIST;
      return save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    };
    BOOL confirmed = run(dialog.GetFileName());
    DWORD error = confirmed ? 0 : CommDlgExtendedError();
    // A name the dialog refuses to start with (bad characters) must not keep the
    // user from choosing another one.
    if (!confirmed && error == FNERR_INVALIDFILENAME && !dialog.GetFileName().empty()) {
      confirmed = run(L"");
      error = confirmed ? 0 : CommDlgExtendedError();
    }
    if (error != 0) RaiseDialogError(save ? L"save" : L"open", error);
    if (!confirmed) return false;
    dialog.SetFileName(buffer.data());
    return true;
  }

  bool ExecuteFontDialog(HWND owner, TFontDialog& dialog) override {
    TFont* font = dialog.GetFont();
    LOGFONTW lf = font->GetLogFont();
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    const TColor before = font->GetColor();
    cf.rgbColors = static_cast<COLORREF>(ColorToRGB(before));
    if (!ChooseFontW(&cf)) {
      if (const DWORD error = CommDlgExtendedError()) RaiseDialogError(L"font", error);
      return false;
    }
    font->SetLogFont(lf);
    font->SetColor(ChosenColor(before, cf.rgbColors));
    return true;
  }

  bool ExecuteColorDialog(HWND owner, TColorDialog& dialog) override {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    const TColor before = dialog.GetColor();
    cc.rgbResult = static_cast<COLORREF>(ColorToRGB(before));
    cc.lpCustColors = dialog.CustomColors().data();
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorW(&cc)) {
      if (const DWORD error = CommDlgExtendedError()) RaiseDialogError(L"colour", error);
      return false;
    }
    dialog.SetColor(ChosenColor(before, cc.rgbResult));
    return true;
  }

  int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
  }

  bool InputQuery(HWND, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override {
    std::unique_ptr<TInputQueryForm> form(CreateFormNew<TInputQueryForm>(nullptr));
    form->Build(caption, prompt, value);
    if (form->ShowModal() != mrOk) return false;
    value = form->Edit->GetText();
    return true;
  }
};

}  // namespace

TDialogService& SystemDialogService() {
  static TSystemDialogService service;
  return service;
}
