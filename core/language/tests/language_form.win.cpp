// Translation of a real window: a form read from its resource, shown, translated,
// and read back from the windows themselves.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/language/Language.h"
#include "core/language/LanguageTranslate.h"
#include "testing/TempDir.h"
#include "vcl/Forms.h"
#include "vcl/Win.h"
#include "testing/PumpApplication.h"

namespace {

using namespace std::chrono_literals;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

// A static text control: its caption is the window's text.
class TLanguageTestLabel : public TWinControl {
  QORN_CLASS(TLanguageTestLabel, TWinControl)
 public:
  explicit TLanguageTestLabel(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"STATIC");
  }

 private:
  static void Publish(TPublisher<TLanguageTestLabel>& p) {
    p.Property(L"Caption", &TLanguageTestLabel::GetCaption, &TLanguageTestLabel::SetCaption);
  }
};

class TLanguageTestPanel : public TCustomControl {
  QORN_CLASS(TLanguageTestPanel, TCustomControl)
 public:
  explicit TLanguageTestPanel(TComponent* AOwner) : TCustomControl(AOwner) { ControlStyle << csAcceptsControls; }
};

class TLanguageTestForm : public TForm {
  QORN_CLASS(TLanguageTestForm, TForm)
 public:
  explicit TLanguageTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TLanguageTestLabel* Label1 = nullptr;
  TLanguageTestLabel* Label10 = nullptr;
  TLanguageTestLabel* Blank = nullptr;
  TLanguageTestLabel* Untranslated = nullptr;
  TLanguageTestLabel* OwnFont = nullptr;

 private:
  static void Publish(TPublisher<TLanguageTestForm>& p) {
    p.Field(L"Label1", &TLanguageTestForm::Label1);
    p.Field(L"Label10", &TLanguageTestForm::Label10);
    p.Field(L"Blank", &TLanguageTestForm::Blank);
    p.Field(L"Untranslated", &TLanguageTestForm::Untranslated);
    p.Field(L"OwnFont", &TLanguageTestForm::OwnFont);
  }
};

QORN_REGISTER_CLASS(TLanguageTestLabel);
QORN_REGISTER_CLASS(TLanguageTestPanel);
QORN_REGISTER_CLASS(TLanguageTestForm);

std::wstring WindowText(TWinControl* control) {
  wchar_t buf[256] = {};
  GetWindowTextW(control->GetHandle(), buf, 256);
  return buf;
}

// The character set of the font the control's window draws with.
int WindowCharset(TWinControl* control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control->GetHandle(), WM_GETFONT, 0, 0));
  LOGFONTW lf = {};
  if (font == nullptr || GetObjectW(font, sizeof lf, &lf) == 0) return -1;
  return lf.lfCharSet;
}

class LanguageForm : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir / "English.lng",
                   "LanguageTestForm.Label1=Settings\r\nLanguageTestForm.Label10=Ten\r\nLanguageTestForm.Blank=Blank\r\n"
                   "LanguageTestForm.OwnFont=Own font\r\n");
    WriteFileBytes(dir / "Russian.lng",
                   "LngCodePage=1251\r\nLanguageTestForm.Label1=\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB\r\n"
                   "LanguageTestForm.Label10=\r\nLanguageTestForm.OwnFont=\xD8\xF0\xE8\xF4\xF2\r\n");
    form = CreateForm<TLanguageTestForm>(Application);
    form->Show();
    Pump(50ms);
  }
  void TearDown() override {
    delete form;
    Pump(20ms);
  }

  TempDir dir{"langform"};
  TLanguage lang{dir.path()};
  TLanguageTestForm* form = nullptr;
};

TEST_F(LanguageForm, WindowsShowTheTranslatedTexts) {
  ASSERT_NE(form->Label1, nullptr);
  EXPECT_EQ(WindowText(form->Label1), L"Настройки") << "the designed text before any language";

  ASSERT_TRUE(lang.SetLanguage(L"English"));
  TranslateComponents(lang, *form);
  Pump(20ms);
  EXPECT_EQ(WindowText(form->Label1), L"Settings");
  EXPECT_EQ(WindowText(form->Label10), L"Ten");
  EXPECT_EQ(WindowText(form->Blank), L"  ") << "a blank caption keeps its designed text";
  EXPECT_EQ(WindowText(form->Untranslated), L"Без перевода");
  EXPECT_EQ(WindowText(form->OwnFont), L"Own font") << "controls inside a panel belong to the form";
  EXPECT_EQ(WindowCharset(form->OwnFont), DEFAULT_CHARSET);

  ASSERT_TRUE(lang.SetLanguage(L"Russian"));
  TranslateComponents(lang, *form);
  Pump(20ms);
  EXPECT_EQ(WindowText(form->Label1), L"Параметры") << "CP1251 text reaches the window as Unicode";
  EXPECT_EQ(WindowText(form->Label10), L"[Нет перевода]") << "empty in the file and in its fallback";
  EXPECT_EQ(WindowText(form->OwnFont), L"Шрифт");
  EXPECT_EQ(WindowCharset(form->OwnFont), RUSSIAN_CHARSET);
  EXPECT_EQ(form->GetCaption(), L"Тест перевода") << "the window's own caption is the caller's";
}

}  // namespace
