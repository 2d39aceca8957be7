// The about page of the main window in this process, over a settings folder of its
// own: its texts in both languages, the links opened through the page's shell seam
// (no browser or mail program starts), the address on the clipboard, the tray's
// "About" item, and the donation button.
// ctest-lock: main-window
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/mainwindow/DonateForm.h"
#include "core/mainwindow/MainWindow.h"
#include "core/settings/SettingsFolder.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path LangFolder = fs::path(QORN_SOURCE_DIR) / "data" / "lang";
const TAboutContacts Example{L"https://qorn.example.org/", L"Qorn", L"feedback@qorn.example.org"};

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

struct AboutPageForm : ::testing::Test {
  qorn::testing::TempDir dir{"aboutpage"};
  TMainForm* form = nullptr;
  std::vector<std::wstring> opened;

  void SetUp() override {
    SettingsFolder = FolderText(dir.path());
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    // The test program has no "lang" folder beside it: the shipped files are used.
    form->Language() = TLanguage(LangFolder);
    form->AboutPage().SetShellOpen([this](const std::wstring& address) { opened.push_back(address); });
  }
  void TearDown() override {
    delete form;
    SettingsFolder.clear();
  }
  void ShowAboutPage() {
    form->VyPageControl1->SetActivePage(form->TabSheet3);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
    Pump(100ms);
  }
};

TEST_F(AboutPageForm, ThePageShowsTheVersionTheDateAndTheThanksInTheLanguage) {
  for (const wchar_t* language : {L"English", L"Russian"}) {
    SCOPED_TRACE(StringToAnsi(language));
    ASSERT_TRUE(form->SetLanguage(language));
    const bool russian = std::wstring(language) == L"Russian";
    EXPECT_EQ(form->L_AboutVer->GetCaption(), L"Qorn v1.3.5 Public Edition");
    EXPECT_EQ(form->L_BuldDate->GetCaption(), L"23.11.2015");
    EXPECT_EQ(form->L_MainVersion->GetCaption(), L"Qorn v1.3.5");
    EXPECT_EQ(form->AboutMemo->GetText(), AboutText(russian));
    EXPECT_EQ(form->B_Donate->GetCaption(), russian ? L"Пожертвование" : L"Donate");
    // No address is published: no link that leads nowhere.
    EXPECT_FALSE(form->wwww->GetVisible());
    EXPECT_FALSE(form->mail->GetVisible());
    ShowAboutPage();
    EXPECT_TRUE(qorn::testing::SaveWindowShot(
        form->GetHandle(), qorn::testing::ScreenshotDir() / ("about_page_" + StringToAnsi(language) + ".png")));
  }
}

TEST_F(AboutPageForm, TheLinksOpenTheWebSiteAndAFeedbackMail) {
  ASSERT_TRUE(form->SetLanguage(L"English"));
  form->AboutPage().SetContacts(Example);
  EXPECT_TRUE(form->wwww->GetVisible());
  EXPECT_EQ(form->wwww->GetCaption(), L"https://qorn.example.org/");
  EXPECT_TRUE(form->mail->GetVisible());
  EXPECT_EQ(form->mail->GetCaption(), L"feedback@qorn.example.org");
  ShowAboutPage();
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "about_page_with_links.png"));

  form->wwww->Click();
  form->EmailPopupMenuWrite->Click();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], L"https://qorn.example.org/");
  const std::wstring& mail = opened[1];
  EXPECT_TRUE(
      mail.starts_with(L"mailto:Qorn%20%3Cfeedback@qorn.example.org%3E?Subject=Message%20from%20a%20user%20of"
                       L"%20Qorn%20v1.3.5&body=Qorn%20Version:%20Qorn%20v1.3.5%0A%0AOS%20version:%20"))
      << StringToAnsi(mail);
  // A 64-bit program is never a WOW64 process.
  EXPECT_TRUE(mail.ends_with(L"%0A%0AWOW64:%200")) << StringToAnsi(mail);
}

TEST_F(AboutPageForm, CopyPutsTheFeedbackAddressOnTheClipboard) {
  form->AboutPage().SetContacts(Example);
  form->EmailPopupMenuCopy->Click();
  EXPECT_EQ(ClipboardText(form->GetHandle()), L"feedback@qorn.example.org");
  EXPECT_TRUE(opened.empty());
}

// (Showing the window is the tray's, for the application's main window: that is
// Qorn.exe's, not this test's.)
TEST_F(AboutPageForm, TheTrayAboutItemTurnsToTheAboutPage) {
  form->VyPageControl1->SetActivePage(form->TabSheet1);
  form->N8Click(nullptr);
  EXPECT_EQ(form->VyPageControl1->GetActivePage(), form->TabSheet3);
}

TEST_F(AboutPageForm, TheDonateButtonShowsTheDonationWindow) {
  DonateForm = CreateForm<TDonateForm>(Application);
  form->B_Donate->Click();
  EXPECT_TRUE(PumpUntil([] { return IsWindowVisible(DonateForm->GetHandle()) != 0; }));
  delete DonateForm;
  DonateForm = nullptr;
}
}  // namespace
