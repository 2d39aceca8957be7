// The dialogs: message boxes, the input box and the common dialogs through the
// dialog service, first with the service replaced (what callers see: flags,
// captions, answers, and the windows disabled and topmost windows lowered meanwhile),
// then the system's own dialogs for real, answered from a second thread with
// the messages a user's typing and clicks would send.
// desktop-input: the real dialogs take the activation.
// ctest-serial: the input box must have the activation to give its edit the focus,
// and a window another test shows meanwhile could take it.
#include <gtest/gtest.h>

#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// --- a service that answers without windows

struct TFakeDialogs : TDialogService {
  struct Box {
    std::wstring text, caption;
    unsigned flags;
  };
  std::vector<Box> boxes;
  int answer = IDOK;
  bool confirm = true;
  std::wstring chosenFile;
  TColor chosenColor = clNone;
  std::wstring typed;
  std::function<void()> during;
  bool throws = false;

  void Run() {
    if (during) during();
    if (throws) throw EInvalidOperation(L"the service failed");
  }
  bool ExecuteFileDialog(HWND, TOpenDialog& dialog) override {
    Run();
    if (confirm) dialog.SetFileName(chosenFile);
    return confirm;
  }
  bool ExecuteFontDialog(HWND, TFontDialog& dialog) override {
    Run();
    if (confirm) dialog.GetFont()->SetSize(dialog.GetFont()->GetSize() + 2);
    return confirm;
  }
  bool ExecuteColorDialog(HWND, TColorDialog& dialog) override {
    Run();
    if (confirm) dialog.SetColor(chosenColor);
    return confirm;
  }
  int MessageBox(HWND, const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    Run();
    boxes.push_back({text, caption, flags});
    return answer;
  }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring& value) override {
    Run();
    if (confirm) value = typed;
    return confirm;
  }
};

struct MessageDlgCase {
  const char* name;
  TMsgDlgType type;
  TMsgDlgButtons buttons;
  unsigned flags;
  const wchar_t* caption;  // nullptr: the application's title
  int answer;
  TModalResult result;
};

class MessageDlgFlagsAndAnswers : public ::testing::TestWithParam<MessageDlgCase> {};

TEST_P(MessageDlgFlagsAndAnswers, TypeAndButtonsMakeTheBoxAndItsAnswerTheResult) {
  const MessageDlgCase& c = GetParam();
  TFakeDialogs fake;
  fake.answer = c.answer;
  TDialogServiceOverride use(fake);
  EXPECT_EQ(MessageDlg(L"Save the changes?", c.type, c.buttons), c.result);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, L"Save the changes?");
  EXPECT_EQ(fake.boxes[0].caption, c.caption ? std::wstring(c.caption) : Application->GetTitle());
  EXPECT_EQ(fake.boxes[0].flags, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageDlgFlagsAndAnswers,
    ::testing::Values(
        MessageDlgCase{"warning_ok", mtWarning, {mbOK}, MB_ICONWARNING | MB_OK, L"Warning", IDOK, mrOk},
        MessageDlgCase{"information_ok_cancel", mtInformation, {mbOK, mbCancel}, MB_ICONINFORMATION | MB_OKCANCEL,
                       L"Information", IDCANCEL, mrCancel},
        MessageDlgCase{"confirm_yes_no", mtConfirmation, {mbYes, mbNo}, MB_ICONQUESTION | MB_YESNO, L"Confirm",
                       IDNO, mrNo},
        MessageDlgCase{"confirm_yes_no_cancel", mtConfirmation, {mbYes, mbNo, mbCancel},
                       MB_ICONQUESTION | MB_YESNOCANCEL, L"Confirm", IDYES, mrYes},
        MessageDlgCase{"error_abort_retry_ignore", mtError, {mbAbort, mbRetry, mbIgnore},
                       MB_ICONERROR | MB_ABORTRETRYIGNORE, L"Error", IDRETRY, mrRetry},
        MessageDlgCase{"custom_with_help", mtCustom, {mbOK, mbHelp}, MB_OK | MB_HELP, nullptr, IDOK, mrOk},
        MessageDlgCase{"box_that_failed", mtWarning, {mbOK}, MB_ICONWARNING | MB_OK, L"Warning", 0, mrNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDlg, ButtonSetsAMessageBoxCannotShowAreRefusedWithoutABox) {
  TFakeDialogs fake;
  TDialogServiceOverride use(fake);
  for (TMsgDlgButtons buttons : {TMsgDlgButtons{}, TMsgDlgButtons{mbYes, mbCancel}, TMsgDlgButtons{mbYesToAll},
                                 TMsgDlgButtons{mbHelp}})
    EXPECT_THROW(MessageDlg(L"?", mtConfirmation, buttons), EInvalidOperation);
  EXPECT_TRUE(fake.boxes.empty());
}

TEST(ShowMessage, TheApplicationTitleAndAnOkButton) {
  TFakeDialogs fake;
  TDialogServiceOverride use(fake);
  ShowMessage(L"Mouse is already being Journaled, can not restart");
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, L"Mouse is already being Journaled, can not restart");
  EXPECT_EQ(fake.boxes[0].caption, Application->GetTitle());
  EXPECT_EQ(fake.boxes[0].flags, static_cast<unsigned>(MB_OK));
}

TEST(ShowMessage, FromAWorkerThreadTheBoxRunsOnTheGuiThread) {
  TFakeDialogs fake;
  const DWORD gui = GetCurrentThreadId();
  DWORD ranOn = 0;
  fake.during = [&] { ranOn = GetCurrentThreadId(); };
  TDialogServiceOverride use(fake);
  std::atomic<bool> done{false};
  TModalResult answer = mrNone;
  std::thread worker([&] {
    answer = MessageDlg(L"From a worker", mtInformation, {mbOK, mbCancel});
    done = true;
  });
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (!done && std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(2ms);
  }
  worker.join();
  EXPECT_EQ(ranOn, gui);
  EXPECT_EQ(answer, mrOk);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, L"From a worker");
}

TEST(DialogComponents, ConfirmedDialogsTakeTheChoiceAndCancelledOnesKeepTheirValues) {
  TFakeDialogs fake;
  TDialogServiceOverride use(fake);
  TOpenDialog open(nullptr);
  TSaveDialog save(nullptr);
  TColorDialog color(nullptr);
  TFontDialog font(nullptr);
  open.SetFileName(L"C:\\old.txt");
  save.SetFileName(L"C:\\old.cfg");
  color.SetColor(clBtnFace);
  font.GetFont()->SetSize(10);

  fake.confirm = false;
  fake.chosenFile = L"C:\\new.txt";
  fake.chosenColor = clRed;
  fake.typed = L"typed";
  EXPECT_FALSE(open.Execute());
  EXPECT_FALSE(save.Execute());
  EXPECT_FALSE(color.Execute());
  EXPECT_FALSE(font.Execute());
  std::wstring value = L"default";
  EXPECT_FALSE(InputQuery(L"Save as", L"Name:", value));
  EXPECT_EQ(open.GetFileName(), L"C:\\old.txt");
  EXPECT_EQ(save.GetFileName(), L"C:\\old.cfg");
  EXPECT_EQ(color.GetColor(), clBtnFace);
  EXPECT_EQ(font.GetFont()->GetSize(), 10);
  EXPECT_EQ(value, L"default");
  EXPECT_EQ(InputBox(L"Save as", L"Name:", L"default"), L"default");

  fake.confirm = true;
  EXPECT_TRUE(open.Execute());
  EXPECT_TRUE(color.Execute());
  EXPECT_TRUE(font.Execute());
  EXPECT_TRUE(InputQuery(L"Save as", L"Name:", value));
  EXPECT_EQ(open.GetFileName(), L"C:\\new.txt");
  EXPECT_EQ(color.GetColor(), clRed);
  EXPECT_EQ(font.GetFont()->GetSize(), 12);
  EXPECT_EQ(value, L"typed");
  EXPECT_EQ(InputBox(L"Save as", L"Name:", L"default"), L"typed");
}

class TTestDialogsForm : public TForm {
  QORN_CLASS(TTestDialogsForm, TForm)
 public:
  explicit TTestDialogsForm(TComponent* AOwner) : TForm(AOwner) {}
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TColorDialog* ColorDialog1 = nullptr;

 private:
  static void Publish(TPublisher<TTestDialogsForm>& p) {
    p.Field(L"OpenDialog1", &TTestDialogsForm::OpenDialog1);
    p.Field(L"SaveDialog1", &TTestDialogsForm::SaveDialog1);
    p.Field(L"FontDialog1", &TTestDialogsForm::FontDialog1);
    p.Field(L"ColorDialog1", &TTestDialogsForm::ColorDialog1);
  }
};
QORN_REGISTER_CLASS(TTestDialogsForm);

TEST(DialogComponents, AreReadFromAFormWithTheirProperties) {
  std::unique_ptr<TTestDialogsForm> form(CreateForm<TTestDialogsForm>(nullptr));
  ASSERT_NE(form->OpenDialog1, nullptr);
  ASSERT_NE(form->SaveDialog1, nullptr);
  ASSERT_NE(form->FontDialog1, nullptr);
  ASSERT_NE(form->ColorDialog1, nullptr);
  EXPECT_EQ(form->OpenDialog1->GetFilter(), L"Application files (*.exe)|*.exe|All files|*.*");
  EXPECT_EQ(form->OpenDialog1->GetDefaultExt(), L"*.exe");
  EXPECT_FALSE(form->OpenDialog1->IsSaveDialog());
  EXPECT_TRUE(form->SaveDialog1->IsSaveDialog());
  EXPECT_EQ(form->SaveDialog1->GetFileName(), L"settings.cfg");
  TFont* font = form->FontDialog1->GetFont();
  EXPECT_EQ(font->GetName(), L"Courier New");
  EXPECT_EQ(font->GetSize(), 14);
  EXPECT_EQ(font->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(font->GetColor(), clNavy);
  EXPECT_EQ(form->ColorDialog1->GetColor(), clRed);
}

// A topmost display and a plain form, both shown, around a dialog.
class DialogScope : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    display = CreateFormNew<TForm>(nullptr);
    display->SetFormStyle(fsStayOnTop);
    display->SetBounds(10, 10, 100, 60);
    display->Show();
    form = CreateFormNew<TForm>(nullptr);
    form->SetBounds(150, 10, 200, 120);
    form->Show();
    SetActiveWindow(form->GetHandle());
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete display;
    delete form;
  }
  static bool TopMost(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  TForm* display = nullptr;
  TForm* form = nullptr;
};

TEST_P(DialogScope, WhileADialogRunsTheWindowsAreDisabledAndLoweredAndAfterItAllComesBack) {
  const bool throws = GetParam();
  ASSERT_TRUE(TopMost(display->GetHandle()));
  ASSERT_EQ(GetActiveWindow(), form->GetHandle());
  TFakeDialogs fake;
  fake.throws = throws;
  bool formEnabled = true, displayEnabled = true, displayTopMost = true;
  fake.during = [&] {
    formEnabled = IsWindowEnabled(form->GetHandle());
    displayEnabled = IsWindowEnabled(display->GetHandle());
    displayTopMost = TopMost(display->GetHandle());
    // A dialog window comes and takes the activation, then goes.
    std::unique_ptr<TForm> dialogWindow(CreateFormNew<TForm>(nullptr));
    dialogWindow->Show();
    SetActiveWindow(dialogWindow->GetHandle());
  };
  TDialogServiceOverride use(fake);
  TColorDialog dialog(nullptr);
  if (throws)
    EXPECT_THROW(dialog.Execute(), EInvalidOperation);
  else
    EXPECT_TRUE(dialog.Execute());
  EXPECT_FALSE(formEnabled);
  EXPECT_FALSE(displayEnabled);
  EXPECT_FALSE(displayTopMost) << "a display would cover the dialog";
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_TRUE(IsWindowEnabled(display->GetHandle()));
  EXPECT_TRUE(TopMost(display->GetHandle()));
  EXPECT_EQ(GetActiveWindow(), form->GetHandle()) << "the window active before is active again";
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogScope, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "service_throws" : "service_answers"; });

// --- the system's dialogs, answered from a second thread

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

std::wstring TextOf(HWND wnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A visible top-level window of that class on the thread.
HWND FindThreadWindow(DWORD thread, const std::wstring& className) {
  struct Search {
    const std::wstring* name;
    HWND found;
  } search{&className, nullptr};
  EnumThreadWindows(
      thread,
      [](HWND wnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (IsWindowVisible(wnd) && ClassOf(wnd) == *s->name) {
          s->found = wnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The texts of a window's children of one class.
std::vector<std::wstring> ChildTexts(HWND parent, const std::wstring& className) {
  struct Collect {
    const std::wstring* name;
    std::vector<std::wstring> texts;
  } collect{&className, {}};
  EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM p) -> BOOL {
        auto* c = reinterpret_cast<Collect*>(p);
        if (ClassOf(wnd) == *c->name) c->texts.push_back(TextOf(wnd));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&collect));
  return collect.texts;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text) {
  for (HWND child = FindWindowExW(parent, nullptr, className.c_str(), nullptr); child;
       child = FindWindowExW(parent, child, className.c_str(), nullptr))
    if (text.empty() || TextOf(child) == text) return child;
  return nullptr;
}

void PressDialogButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Answers the dialog the GUI thread opens next: waits for its window, lets it
// settle, runs the answer from this thread, and closes whatever is still open
// afterwards, so that no test can hang on a dialog.
class TDialogAnswerer {
 public:
  TDialogAnswerer(std::wstring className, std::function<void(HWND)> answer)
      : FThread([this, className = std::move(className), answer = std::move(answer), gui = GetCurrentThreadId()] {
          const auto deadline = std::chrono::steady_clock::now() + 15s;
          HWND dialog = nullptr;
          while (!dialog && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
            dialog = FindThreadWindow(gui, className);
          }
          if (!dialog) return;
          std::this_thread::sleep_for(200ms);
          answer(dialog);
          FAnswered = true;
          for (int i = 0; i < 250 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) std::this_thread::sleep_for(20ms);
          if (IsWindow(dialog) && IsWindowVisible(dialog)) {
            FLeftOpen = true;
            PressDialogButton(dialog, IDCANCEL);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
          }
        }) {}
  ~TDialogAnswerer() { Join(); }
  void Join() {
    if (FThread.joinable()) FThread.join();
  }
  bool Answered() {
    Join();
    return FAnswered;
  }
  bool LeftOpen() {
    Join();
    return FLeftOpen;
  }

 private:
  std::atomic<bool> FAnswered{false};
  std::atomic<bool> FLeftOpen{false};
  std::thread FThread;
};

// Control ids of the system's dialog templates.
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFontFace = 0x470;       // cmb1
constexpr int kFontSize = 0x472;       // cmb3
constexpr int kFontUnderline = 0x411;  // chx2
constexpr int kColorRed = 706, kColorGreen = 707, kColorBlue = 708, kColorAdd = 712;

void TypeFileName(HWND dialog, const std::wstring& name) {
  HWND field = GetDlgItem(dialog, kFileNameCombo);
  if (!field) field = GetDlgItem(dialog, kFileNameEdit);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

std::wstring WindowsPath(const std::filesystem::path& p) {
  std::wstring s = p.wstring();
  for (wchar_t& c : s)
    if (c == L'/') c = L'\\';
  return s;
}

TEST(SystemDialogs, OpenDialogShowsTheFilterAndReturnsTheChosenFile) {
  qorn::testing::TempDir dir("open-dialog");
  qorn::testing::WriteFileBytes(dir / "pick.txt", "x");
  const std::wstring file = WindowsPath(std::filesystem::absolute(dir / "pick.txt"));
  TOpenDialog dialog(nullptr);
  dialog.SetFilter(L"Text files (*.txt)|*.txt|All files|*.*");
  std::vector<std::wstring> filters;
  TDialogAnswerer answerer(L"#32770", [&](HWND dlg) {
    // The file-type list of the dialog shows the filter's texts.
    HWND types = GetDlgItem(dlg, 0x470);
    const int n = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t text[128] = {};
      SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      filters.push_back(text);
    }
    TypeFileName(dlg, file);
    PressDialogButton(dlg, IDOK);
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(answerer.Answered());
  EXPECT_FALSE(answerer.LeftOpen());
  EXPECT_EQ(Lower(dialog.GetFileName()), Lower(file));
  EXPECT_EQ(filters, (std::vector<std::wstring>{L"Text files (*.txt)", L"All files"}));
}

TEST(SystemDialogs, CancelledOpenDialogKeepsTheFileName) {
  TOpenDialog dialog(nullptr);
  dialog.SetFileName(L"C:\\before.txt");
  TDialogAnswerer answerer(L"#32770", [](HWND dlg) { PressDialogButton(dlg, IDCANCEL); });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(dialog.GetFileName(), L"C:\\before.txt");
}

TEST(SystemDialogs, SaveDialogAddsTheDefaultExtensionGivenAsAMask) {
  qorn::testing::TempDir dir("save-dialog");
  const std::wstring base = WindowsPath(std::filesystem::absolute(dir.path())) + L"\\settings";
  TSaveDialog dialog(nullptr);
  // With "*.*" chosen only the default extension can supply one.
  dialog.SetFilter(L"All files|*.*");
  dialog.SetDefaultExt(L"*.cfg");
  TDialogAnswerer answerer(L"#32770", [&](HWND dlg) {
    TypeFileName(dlg, base);
    PressDialogButton(dlg, IDOK);
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(Lower(dialog.GetFileName()), Lower(base + L".cfg"));
}

TEST(SystemDialogs, ColorDialogStartsAtTheColorAndReturnsTheOneSet) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(static_cast<TColor>(RGB(200, 100, 50)));
  std::wstring red, green, blue;
  TDialogAnswerer answerer(L"#32770", [&](HWND dlg) {
    red = TextOf(GetDlgItem(dlg, kColorRed));
    green = TextOf(GetDlgItem(dlg, kColorGreen));
    blue = TextOf(GetDlgItem(dlg, kColorBlue));
    SendMessageW(GetDlgItem(dlg, kColorRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
    SendMessageW(GetDlgItem(dlg, kColorGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
    SendMessageW(GetDlgItem(dlg, kColorBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
    PressDialogButton(dlg, IDOK);
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(red + L"," + green + L"," + blue, L"200,100,50");
  EXPECT_EQ(dialog.GetColor(), static_cast<TColor>(RGB(10, 20, 30)));
}

TEST(SystemDialogs, ColorDialogKeepsTheUsersCustomColorsForTheNextTime) {
  TColorDialog dialog(nullptr);
  TDialogAnswerer first(L"#32770", [&](HWND dlg) {
    SendMessageW(GetDlgItem(dlg, kColorRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
    SendMessageW(GetDlgItem(dlg, kColorGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    SendMessageW(GetDlgItem(dlg, kColorBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3"));
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(kColorAdd, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, kColorAdd)));
    PressDialogButton(dlg, IDOK);
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(first.Answered());
  EXPECT_EQ(dialog.CustomColors()[0], RGB(1, 2, 3));
}

TEST(SystemDialogs, ColorDialogLeftAsItWasKeepsASystemColor) {
  TColorDialog dialog(nullptr);
  dialog.SetColor(clBtnFace);
  TDialogAnswerer answerer(L"#32770", [](HWND dlg) { PressDialogButton(dlg, IDOK); });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.GetColor(), clBtnFace);
}

// A TrueType face the dialog lists under wine.
std::wstring AvailableFace() {
  HDC dc = GetDC(nullptr);
  std::wstring found;
  for (const wchar_t* face : {L"Tahoma", L"Liberation Sans", L"DejaVu Sans", L"Arial"}) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool exists = false;
    EnumFontFamiliesExW(
        dc, &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
          *reinterpret_cast<bool*>(p) = true;
          return 0;
        },
        reinterpret_cast<LPARAM>(&exists), 0);
    if (exists) {
      found = face;
      break;
    }
  }
  ReleaseDC(nullptr, dc);
  return found;
}

TEST(SystemDialogs, FontDialogShowsTheFontAndReturnsSizeAndStyleChosen) {
  const std::wstring face = AvailableFace();
  ASSERT_FALSE(face.empty());
  TFontDialog dialog(nullptr);
  dialog.GetFont()->SetName(face);
  dialog.GetFont()->SetSize(10);
  dialog.GetFont()->SetColor(clWindowText);
  std::wstring shownFace, shownSize;
  TDialogAnswerer answerer(L"#32770", [&](HWND dlg) {
    shownFace = TextOf(GetDlgItem(dlg, kFontFace));
    shownSize = TextOf(GetDlgItem(dlg, kFontSize));
    HWND size = GetDlgItem(dlg, kFontSize);
    SendMessageW(size, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"14"));
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(kFontSize, CBN_SELCHANGE), reinterpret_cast<LPARAM>(size));
    HWND underline = GetDlgItem(dlg, kFontUnderline);
    SendMessageW(underline, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(kFontUnderline, BN_CLICKED), reinterpret_cast<LPARAM>(underline));
    PressDialogButton(dlg, IDOK);
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(shownFace, face);
  EXPECT_EQ(shownSize, L"10");
  EXPECT_EQ(dialog.GetFont()->GetName(), face);
  EXPECT_EQ(dialog.GetFont()->GetSize(), 14);
  EXPECT_TRUE(dialog.GetFont()->GetStyle().Contains(fsUnderline));
  EXPECT_EQ(dialog.GetFont()->GetColor(), clWindowText) << "the colour left as it was stays a system colour";
}

struct BoxAnswerCase {
  const char* name;
  TMsgDlgButtons buttons;
  int press;
  TModalResult result;
};

class SystemMessageBox : public ::testing::TestWithParam<BoxAnswerCase> {};

TEST_P(SystemMessageBox, ShowsTextAndCaptionAndReturnsTheButtonPressed) {
  const BoxAnswerCase& c = GetParam();
  std::wstring caption;
  std::vector<std::wstring> texts;
  TDialogAnswerer answerer(L"#32770", [&](HWND dlg) {
    caption = TextOf(dlg);
    texts = ChildTexts(dlg, L"Static");
    PressDialogButton(dlg, c.press);
  });
  EXPECT_EQ(MessageDlg(L"Overwrite the file?", mtConfirmation, c.buttons), c.result);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(caption, L"Confirm");
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Overwrite the file?"), texts.end());
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemMessageBox,
                         ::testing::Values(BoxAnswerCase{"yes", {mbYes, mbNo}, IDYES, mrYes},
                                           BoxAnswerCase{"no", {mbYes, mbNo}, IDNO, mrNo},
                                           BoxAnswerCase{"cancel", {mbYes, mbNo, mbCancel}, IDCANCEL, mrCancel},
                                           BoxAnswerCase{"ok", {mbOK, mbCancel}, IDOK, mrOk}),
                         [](const auto& info) { return std::string(info.param.name); });

// The input form is a modal form: a click that arrives as a sent message (a
// hook callback, another thread) must end its loop at once, not at the next input.
TEST(ModalForm, AClickSentFromAnotherThreadEndsTheLoopAtOnce) {
  std::unique_ptr<TForm> form(CreateFormNew<TForm>(nullptr));
  form->SetCaption(L"Modal");
  auto* ok = new TButton(form.get());
  ok->SetParent(form.get());
  ok->SetCaption(L"OK");
  ok->SetModalResult(mrOk);
  TDialogAnswerer answerer(L"TForm", [](HWND wnd) { SendMessageW(FindChild(wnd, L"TButton", L"OK"), BM_CLICK, 0, 0); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_FALSE(answerer.LeftOpen()) << "the loop waited for another message";
}

TEST(SystemInputBox, PromptAndDefaultShownTextTypedReturnedOnOk) {
  std::wstring caption, shown;
  bool editFocused = false, defaultSelected = false;
  const DWORD gui = GetCurrentThreadId();
  TDialogAnswerer answerer(L"TInputQueryForm", [&](HWND form) {
    caption = TextOf(form);
    HWND edit = FindChild(form, L"TEdit", L"");
    shown = TextOf(edit);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    editFocused = GetGUIThreadInfo(gui, &info) && info.hwndFocus == edit;
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    defaultSelected = from == 0 && to == shown.size();
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Games"));
    SendMessageW(FindChild(form, L"TButton", L"OK"), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(InputBox(L"Save profile as", L"Profile name:", L"Default"), L"Games");
  EXPECT_TRUE(answerer.Answered());
  EXPECT_FALSE(answerer.LeftOpen());
  EXPECT_EQ(caption, L"Save profile as");
  EXPECT_EQ(shown, L"Default");
  EXPECT_TRUE(editFocused) << "typing goes to the edit at once";
  EXPECT_TRUE(defaultSelected) << "typing replaces the default";
}

TEST(SystemInputBox, ALongPromptWrapsAndTheFormStaysOnTheScreen) {
  std::wstring prompt;
  for (int i = 0; i < 60; ++i) prompt += L"Enter the name of the profile. ";
  RECT bounds{};
  bool okInside = false;
  TDialogAnswerer answerer(L"TInputQueryForm", [&](HWND form) {
    GetWindowRect(form, &bounds);
    HWND ok = FindChild(form, L"TButton", L"OK");
    RECT okRect{};
    GetWindowRect(ok, &okRect);
    okInside = okRect.right <= bounds.right && okRect.bottom <= bounds.bottom;
    qorn::testing::SaveWindowShot(form, qorn::testing::ScreenshotDir() / "vcl-input-box.png");
    SendMessageW(ok, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(InputBox(L"Save profile as", prompt, L"x"), L"x");
  EXPECT_TRUE(answerer.Answered());
  EXPECT_LE(bounds.right - bounds.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(bounds.left, 0);
  EXPECT_GT(bounds.bottom - bounds.top, 100) << "several lines of prompt";
  EXPECT_TRUE(okInside);
}

TEST(SystemInputBox, EscapeOrCancelGivesTheDefault) {
  for (bool escape : {true, false}) {
    TDialogAnswerer answerer(L"TInputQueryForm", [&](HWND form) {
      HWND edit = FindChild(form, L"TEdit", L"");
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"thrown away"));
      if (escape) {
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
      } else {
        SendMessageW(FindChild(form, L"TButton", L"Cancel"), BM_CLICK, 0, 0);
      }
    });
    std::wstring value = L"Default";
    EXPECT_FALSE(InputQuery(L"Save profile as", L"Profile name:", value)) << escape;
    EXPECT_EQ(value, L"Default");
    EXPECT_TRUE(answerer.Answered());
    EXPECT_FALSE(answerer.LeftOpen()) << (escape ? "Esc" : "Cancel") << " closed the form";
  }
}

}  // namespace
