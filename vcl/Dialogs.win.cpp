// The dialog components and routines: each runs its service call inside the
// library's modal set-up (RunModalDialog), through the one dialog service.
#include "vcl/Dialogs.h"

#include "vcl/Thread.h"

namespace {

TDialogService* gService = nullptr;

// Gives back what RunModalDialog took, also when the call throws.
class TModalDialogScope {
 public:
  TModalDialogScope() : FActive(GetActiveWindow()) {
    if (Application) {
      Application->CancelHint();
      Application->NormalizeTopMosts();
    }
  }
  ~TModalDialogScope() {
    if (Application) Application->RestoreTopMosts();
    if (FActive && IsWindow(FActive)) SetActiveWindow(FActive);
  }
  TModalDialogScope(const TModalDialogScope&) = delete;
  TModalDialogScope& operator=(const TModalDialogScope&) = delete;

 private:
  HWND FActive;
};

TModalResult ModalResultOfAnswer(int answer) {
  switch (answer) {
    case IDOK: return mrOk;
    case IDCANCEL: return mrCancel;
    case IDABORT: return mrAbort;
    case IDRETRY: return mrRetry;
    case IDIGNORE: return mrIgnore;
    case IDYES: return mrYes;
    case IDNO: return mrNo;
    default: return mrNone;
  }
}

}  // namespace

TDialogService& DialogService() { return gService ? *gService : SystemDialogService(); }

TDialogService* SetDialogService(TDialogService* service) {
  TDialogService* previous = gService;
  gService = service;
  return previous;
}

HWND DialogOwnerWindow() {
  if (HWND active = GetActiveWindow()) return active;
  return Application ? Application->GetHandle() : nullptr;
}

void RunModalDialog(const std::function<void(HWND owner)>& call) {
  // Windows, hints and topmost state belong to the GUI thread: a worker's dialog
  // runs there, and the worker waits for the answer.
  if (!TThread::IsMainThread()) {
    TThread::Synchronize([&] { RunModalDialog(call); });
    return;
  }
  TModalDialogScope scope;
  HWND owner = DialogOwnerWindow();
  // The dialog is made after this, so it stays enabled itself.
  TTaskWindowsDisabler disabled(nullptr);
  call(owner);
}

// --- components

void TOpenDialog::Publish(TPublisher<TOpenDialog>& p) {
  p.Property(L"DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
  p.Property(L"FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
  p.Property(L"Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
}

bool TOpenDialog::Execute() {
  bool confirmed = false;
  RunModalDialog([&](HWND owner) { confirmed = DialogService().ExecuteFileDialog(owner, *this); });
  return confirmed;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(new TFont) {}

TFontDialog::~TFontDialog() = default;

void TFontDialog::Publish(TPublisher<TFontDialog>& p) {
  p.Property(L"Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
}

bool TFontDialog::Execute() {
  bool confirmed = false;
  RunModalDialog([&](HWND owner) { confirmed = DialogService().ExecuteFontDialog(owner, *this); });
  return confirmed;
}

void TColorDialog::Publish(TPublisher<TColorDialog>& p) {
  p.Property(L"Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Default(clBlack).Idents(ColorIdents);
}

bool TColorDialog::Execute() {
  bool confirmed = false;
  RunModalDialog([&](HWND owner) { confirmed = DialogService().ExecuteColorDialog(owner, *this); });
  return confirmed;
}


// --- message boxes

void ShowMessage(const std::wstring& msg) {
  Application->MessageBox(msg, Application->GetTitle(), MB_OK);
}

std::wstring MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return L"Warning";
    case mtError: return L"Error";
    case mtInformation: return L"Information";
    case mtConfirmation: return L"Confirm";
    case mtCustom: break;
  }
  return Application ? Application->GetTitle() : std::wstring();
}

unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons) {
  unsigned flags = 0;
  switch (type) {
    case mtWarning: flags = MB_ICONWARNING; break;
    case mtError: flags = MB_ICONERROR; break;
    case mtInformation: flags = MB_ICONINFORMATION; break;
    case mtConfirmation: flags = MB_ICONQUESTION; break;
    case mtCustom: break;
  }
  if (buttons.Contains(mbHelp)) flags |= MB_HELP;
  buttons >> mbHelp;
  struct ButtonSet {
    TMsgDlgButtons buttons;
    unsigned flags;
  };
  static const ButtonSet sets[] = {
      {{mbOK}, MB_OK},
      {{mbOK, mbCancel}, MB_OKCANCEL},
      {{mbYes, mbNo}, MB_YESNO},
      {{mbYes, mbNo, mbCancel}, MB_YESNOCANCEL},
      {{mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE},
      {{mbRetry, mbCancel}, MB_RETRYCANCEL},
  };
  for (const ButtonSet& s : sets)
    if (s.buttons == buttons) return flags | s.flags;
  throw EInvalidOperation(L"A message box has no such set of buttons");
}

TModalResult MessageDlg(const std::wstring& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  const unsigned flags = MessageDlgFlags(type, buttons);
  return ModalResultOfAnswer(Application->MessageBox(msg, MessageDlgCaption(type), flags));
}

// --- input

bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
  bool confirmed = false;
  RunModalDialog([&](HWND owner) {
    std::wstring text = value;
    confirmed = DialogService().InputQuery(owner, caption, prompt, text);
    if (confirmed) value = text;
  });
  return confirmed;
}

std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& defaultValue) {
  std::wstring value = defaultValue;
  InputQuery(caption, prompt, value);
  return value;
}
