// Translation of a component tree built in the test: captions by "Owner.Name"
// keys, and the character set of fonts that are not the parent's.
#include <gtest/gtest.h>

#include <string>

#include "core/language/Language.h"
#include "core/language/LanguageTranslate.h"
#include "testing/TempDir.h"
#include "vcl/Classes.h"
#include "vcl/Collection.h"
#include "vcl/StringList.h"

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

// A combo box of the visual component set: items and a selection, no caption.
class TFlatComboBox : public TComponent {
  QORN_CLASS(TFlatComboBox, TComponent)
 public:
  using TComponent::TComponent;
  ~TFlatComboBox() override { delete FItems; }
  TStringList* FItems = new TStringList;
  TStringList* GetItems() const { return FItems; }
  int ItemIndex = -1;

 private:
  static void Publish(TPublisher<TFlatComboBox>& p) {
    p.Property(L"Items", &TFlatComboBox::GetItems);
    p.Property(L"ItemIndex", &TFlatComboBox::ItemIndex).Default(-1);
  }
};

// A list box with the same published items: not translated item by item.
class TTestListBox : public TComponent {
  QORN_CLASS(TTestListBox, TComponent)
 public:
  using TComponent::TComponent;
  ~TTestListBox() override { delete FItems; }
  TStringList* FItems = new TStringList;
  TStringList* GetItems() const { return FItems; }

 private:
  static void Publish(TPublisher<TTestListBox>& p) { p.Property(L"Items", &TTestListBox::GetItems); }
};

class TTestColumn : public TCollectionItem {
  QORN_CLASS(TTestColumn, TCollectionItem)
 public:
  explicit TTestColumn(TCollection* Collection) : TCollectionItem(Collection) {}
  std::wstring Caption;

 private:
  static void Publish(TPublisher<TTestColumn>& p) { p.Property(L"Caption", &TTestColumn::Caption); }
};

class TVyListView : public TComponent {
  QORN_CLASS(TVyListView, TComponent)
 public:
  using TComponent::TComponent;
  ~TVyListView() override { delete FColumns; }
  TCollection* FColumns = new TCollection(TTestColumn::StaticClass(), this);
  TCollection* GetColumns() const { return FColumns; }
  void AddColumn(const wchar_t* caption) { static_cast<TTestColumn*>(FColumns->Add())->Caption = caption; }
  std::wstring Column(int n) const { return static_cast<TTestColumn*>(FColumns->Items(n))->Caption; }

 private:
  static void Publish(TPublisher<TVyListView>& p) { p.Property(L"Columns", &TVyListView::GetColumns); }
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

TEST_F(Translate, ComboItemsAndListColumns) {
  WriteFileBytes(dir / "German.lng",
                 "MainForm.LangList.Item0=Erste\r\nMainForm.LangList.Item2=\r\nMainForm.LangList.Item10=Zehnte\r\n"
                 "MainForm.Other.Item0=Andere\r\nMainForm.ListBox1.Item0=Nein\r\n"
                 "MainForm.testtable.Columns0=Taste\r\nMainForm.testtable.Columns2=\r\n");
  WriteFileBytes(dir / "English.lng", "MainForm.LangList.Item2=Third\r\nMainForm.testtable.Columns2=Name\r\n");
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  auto* combo = new TFlatComboBox(&form);
  combo->SetName(L"LangList");
  for (const wchar_t* item : {L"один", L"два", L"три"}) combo->FItems->AddObject(item, combo);
  combo->ItemIndex = 1;
  auto* noKeys = new TFlatComboBox(&form);
  noKeys->SetName(L"Empty");
  auto* list = new TTestListBox(&form);
  list->SetName(L"ListBox1");
  list->FItems->Add(L"один");
  auto* view = new TVyListView(&form);
  view->SetName(L"testtable");
  for (const wchar_t* col : {L"Клавиша", L"Код", L"Имя", L"Модификаторы"}) view->AddColumn(col);

  TranslateComponents(lang, form);
  EXPECT_EQ(combo->FItems->Strings(0), L"Erste");
  EXPECT_EQ(combo->FItems->Strings(1), L"два") << "an item without a key keeps its text";
  EXPECT_EQ(combo->FItems->Strings(2), L"Third") << "an empty text falls back";
  EXPECT_EQ(combo->FItems->GetObject(0), combo) << "items keep their objects";
  EXPECT_EQ(combo->ItemIndex, 1);
  EXPECT_EQ(noKeys->FItems->Count(), 0);
  EXPECT_EQ(list->FItems->Strings(0), L"один") << "only combo boxes have item keys";
  EXPECT_EQ(view->Column(0), L"Taste");
  EXPECT_EQ(view->Column(1), L"Код");
  EXPECT_EQ(view->Column(2), L"Name");
  EXPECT_EQ(view->Column(3), L"Модификаторы");
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

TEST_F(Translate, NavigationItemsByGroupKeys) {
  WriteFileBytes(dir / "German.lng",
                 "Groups.Group10=Winamp\r\nGroups.Group13=CD\r\nGroups.Group20=Ordner\r\nGroups.Group31=Tasten\r\n"
                 "Groups.Group34=Zeiger\r\nGroups.Group30=Nie\r\nGroups.Group14=Nie\r\n");
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  const struct {
    int group, item;
    std::optional<std::wstring> expected;
  } cases[] = {
      {0, 0, L"Winamp"}, {0, 3, L"CD"},   {1, 0, L"Ordner"}, {2, 0, L"Tasten"}, {2, 3, L"Zeiger"},
      {1, 1, L""},                          // absent: the caption is emptied
      {1, 9, L"Яркость"},                   // absent "Groups.Group29": kept
      {0, 4, std::nullopt}, {1, 10, std::nullopt}, {2, 4, std::nullopt}, {3, 0, std::nullopt}, {-1, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NavigationItemCaption(lang, c.group, c.item, L"Яркость"), c.expected) << c.group << "/" << c.item;
  }
}

}  // namespace
