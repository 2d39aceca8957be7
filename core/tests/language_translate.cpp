// Translation of a component tree built in the test: captions by "Owner.Name"
// keys, and the character set of fonts that are not the parent's.
#include <gtest/gtest.h>

#include <string>

#include "core/Language.h"
#include "core/LanguageTranslate.h"
#include "testing/TempDir.h"
#include "vcl/Classes.h"

namespace {

using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

class TTestFont : public TPersistent {
  QORN_CLASS(TTestFont, TPersistent)
 public:
  int Charset = 0;

 private:
  static void Publish(TPublisher<TTestFont>& p) { p.Property(L"Charset", &TTestFont::Charset).Default(1); }
};

// Stands for a label or button: a caption and its own font.
class TTestCaptioned : public TComponent {
  QORN_CLASS(TTestCaptioned, TComponent)
 public:
  using TComponent::TComponent;
  ~TTestCaptioned() override { delete FFont; }
  std::wstring Caption;
  bool ParentFont = true;
  TTestFont* FFont = new TTestFont;
  TTestFont* GetFont() const { return FFont; }

 private:
  static void Publish(TPublisher<TTestCaptioned>& p) {
    p.Property(L"Caption", &TTestCaptioned::Caption);
    p.Property(L"ParentFont", &TTestCaptioned::ParentFont).Default(true);
    p.Property(L"Font", &TTestCaptioned::GetFont);
  }
};

// Stands for an edit: it publishes Text, not Caption.
class TTestEdit : public TComponent {
  QORN_CLASS(TTestEdit, TComponent)
 public:
  using TComponent::TComponent;
  std::wstring Text;

 private:
  static void Publish(TPublisher<TTestEdit>& p) { p.Property(L"Text", &TTestEdit::Text); }
};

TTestCaptioned* Captioned(TComponent* owner, const wchar_t* name, const wchar_t* caption, bool parentFont = true) {
  auto* c = new TTestCaptioned(owner);
  c->SetName(name);
  c->Caption = caption;
  c->ParentFont = parentFont;
  return c;
}

class Translate : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir / "English.lng",
                   "MainForm.Label1=Settings\r\nMainForm.Empty=\r\nMainForm.Fallback=From English\r\n");
    WriteFileBytes(dir / "German.lng",
                   "MainForm.Label10=Zehn\r\nMainForm.Label1=Einstellungen\r\nMainForm.Blank=Leer\r\n"
                   "MainForm.Spaced=Mit Abstand\r\nMainForm.Edit1=Nein\r\nMainForm.Fallback=\r\n"
                   "MainForm.Empty=\r\nFrameOff.Button=Aus\r\nMainForm.Button=Falsch\r\n");
    WriteFileBytes(dir / "Russian.lng", "LngCodePage=1251\r\nMainForm.Label1=\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n");
    form.SetName(L"MainForm");
    frame = new TComponent(&form);
    frame->SetName(L"FrameOff");
  }

  TempDir dir{"translate"};
  TLanguage lang{dir.path()};
  TTestCaptioned form{nullptr};
  TComponent* frame = nullptr;
};

TEST_F(Translate, CaptionsByOwnerAndName) {
  const struct {
    const wchar_t* name;
    const wchar_t* designed;
    std::wstring expected;
  } cases[] = {
      {L"Label1", L"Настройки", L"Einstellungen"},      // not the text of Label10
      {L"Label10", L"Десять", L"Zehn"},
      {L"Label2", L"Без ключа", L"Без ключа"},          // no key: designed text stays
      {L"Blank", L"   ", L"   "},                       // blank captions are kept
      {L"Spaced", L"  Текст", L"Mit Abstand"},
      {L"Fallback", L"Запасной", L"From English"},      // empty text: English file
      {L"Empty", L"Пусто", L"[No translation]"},        // empty in both files
      {L"Button", L"Кнопка", L"Falsch"},                // the main window's own key
  };
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  for (const auto& c : cases) Captioned(&form, c.name, c.designed);
  auto* edit = new TTestEdit(&form);
  edit->SetName(L"Edit1");
  edit->Text = L"Текст";
  auto* unnamed = Captioned(&form, L"", L"Безымянный");
  auto* inFrame = Captioned(frame, L"Button", L"Кнопка");

  TranslateComponents(lang, form);
  for (const auto& c : cases) {
    auto* comp = static_cast<TTestCaptioned*>(form.FindComponent(c.name));
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->Caption, c.expected) << c.name;
  }
  EXPECT_EQ(edit->Text, L"Текст") << "an edit has no caption to translate";
  EXPECT_EQ(unnamed->Caption, L"Безымянный");
  EXPECT_EQ(inFrame->Caption, L"Кнопка") << "a frame's controls are translated with the frame";
  EXPECT_EQ(form.Caption, L"") << "the window's own caption is the caller's";

  TranslateComponents(lang, *frame);
  EXPECT_EQ(inFrame->Caption, L"Aus");
}

TEST_F(Translate, OwnFontsFollowTheLanguagesCharset) {
  auto* own = Captioned(&form, L"Own", L"x", /*parentFont=*/false);
  auto* parents = Captioned(&form, L"Parents", L"x", /*parentFont=*/true);
  auto* deep = Captioned(frame, L"Deep", L"x", /*parentFont=*/false);
  form.ParentFont = false;
  const struct {
    const wchar_t* language;
    int charset;
  } steps[] = {{L"Russian", 204}, {L"German", 1}, {L"Russian", 204}};
  for (const auto& s : steps) {
    ASSERT_TRUE(lang.SetLanguage(s.language));
    TranslateComponents(lang, form);
    EXPECT_EQ(own->FFont->Charset, s.charset);
    EXPECT_EQ(deep->FFont->Charset, s.charset) << "controls inside the window, at any depth";
    EXPECT_EQ(form.FFont->Charset, s.charset) << "the window itself";
    EXPECT_EQ(parents->FFont->Charset, 0) << "a font taken from the parent is left alone";
  }
}

}  // namespace
