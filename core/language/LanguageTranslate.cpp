#include "core/language/LanguageTranslate.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/language/Language.h"
#include "vcl/Classes.h"
#include "vcl/Collection.h"
#include "vcl/StringList.h"

namespace {

constexpr int kRussianCharset = 204;
constexpr int kDefaultCharset = 1;

const TPropInfo* Published(const TObject& obj, std::wstring_view name, TTypeKind kind) {
  const TPropInfo* prop = obj.ClassType().FindProperty(name);
  return prop != nullptr && prop->Kind() == kind ? prop : nullptr;
}

bool DescendsFrom(const TObject& obj, std::initializer_list<std::wstring_view> classNames) {
  for (const TClassInfo* c = &obj.ClassType(); c != nullptr; c = c->Parent()) {
    for (auto name : classNames) {
      if (SameIdent(c->Name(), name)) return true;
    }
  }
  return false;
}

template <class T>
T* PublishedObject(const TObject& obj, std::wstring_view name) {
  const TPropInfo* prop = Published(obj, name, TTypeKind::Class);
  return prop != nullptr ? dynamic_cast<T*>(prop->GetObject(&obj)) : nullptr;
}

void SetFontCharset(TObject& obj, int charset) {
  const TPropInfo* parentFont = Published(obj, L"ParentFont", TTypeKind::Bool);
  const TPropInfo* font = Published(obj, L"Font", TTypeKind::Class);
  if (parentFont == nullptr || font == nullptr || parentFont->GetOrd(&obj) != 0) return;
  TObject* fontObj = font->GetObject(&obj);
  if (fontObj == nullptr) return;
  const TPropInfo* cs = fontObj->ClassType().FindProperty(L"Charset");
  if (cs == nullptr || !cs->Writable()) return;
  if (cs->Kind() == TTypeKind::Integer || cs->Kind() == TTypeKind::Enum) cs->SetOrd(fontObj, charset);
}

void SetCharsetsBelow(TComponent& comp, int charset) {
  SetFontCharset(comp, charset);
  for (int i = 0; i < comp.ComponentCount(); ++i) SetCharsetsBelow(*comp.Components(i), charset);
}

void TranslateCaption(const TLanguage& lang, TComponent& comp, const std::wstring& key) {
  const TPropInfo* caption = Published(comp, L"Caption", TTypeKind::String);
  if (caption == nullptr || !caption->Writable()) return;
  const std::wstring designed = caption->GetString(&comp);
  if (designed.find_first_not_of(L' ') == std::wstring::npos) return;
  if (auto text = lang.TranslateCaption(key)) caption->SetString(&comp, *text);
}

// Items of a combo box by "<owner>.<combo>.Item<n>", the selection kept.
void TranslateComboItems(const TLanguage& lang, TComponent& combo, const std::wstring& prefix) {
  auto* items = PublishedObject<TStrings>(combo, L"Items");
  if (items == nullptr || items->Count() == 0 || !lang.HasKeyWithPrefix(prefix)) return;
  const TPropInfo* index = Published(combo, L"ItemIndex", TTypeKind::Integer);
  const std::int64_t selected = index != nullptr ? index->GetOrd(&combo) : -1;
  for (int n = 0; n < items->Count(); ++n) {
    if (auto text = lang.TranslateCaption(prefix + L".Item" + std::to_wstring(n))) items->Put(n, *text);
  }
  if (index != nullptr && index->Writable()) index->SetOrd(&combo, selected);
}

// Column captions of a list view by "<owner>.<view>.Columns<n>".
void TranslateColumns(const TLanguage& lang, TComponent& view, const std::wstring& prefix) {
  auto* columns = PublishedObject<TCollection>(view, L"Columns");
  if (columns == nullptr) return;
  for (int n = 0; n < columns->Count(); ++n) {
    TCollectionItem* column = columns->Items(n);
    const TPropInfo* caption = Published(*column, L"Caption", TTypeKind::String);
    if (caption == nullptr || !caption->Writable()) continue;
    if (auto text = lang.TranslateCaption(prefix + L".Columns" + std::to_wstring(n))) {
      caption->SetString(column, *text);
    }
  }
}

void TranslateComponent(const TLanguage& lang, TComponent& comp) {
  if (comp.Owner() == nullptr || comp.Name().empty()) return;
  const std::wstring prefix = comp.Owner()->Name() + L"." + comp.Name();
  TranslateCaption(lang, comp, prefix);
  if (DescendsFrom(comp, {L"TFlatComboBox"})) TranslateComboItems(lang, comp, prefix);
  if (DescendsFrom(comp, {L"TVyListView", L"TCustomListView"})) TranslateColumns(lang, comp, prefix);
}

}  // namespace

int LanguageCharset(const TLanguage& lang) { return lang.IsRusLang() ? kRussianCharset : kDefaultCharset; }

void TranslateComponents(const TLanguage& lang, TComponent& window) {
  SetCharsetsBelow(window, LanguageCharset(lang));
  for (int i = 0; i < window.ComponentCount(); ++i) TranslateComponent(lang, *window.Components(i));
}

std::optional<std::wstring> NavigationItemCaption(const TLanguage& lang, int group, int item,
                                                  const std::wstring& current) {
  static constexpr struct {
    int firstKey;
    int items;
  } kGroups[] = {{10, 4}, {20, 10}, {31, 4}};
  if (group < 0 || group >= 3 || item < 0 || item >= kGroups[group].items) return std::nullopt;
  const int number = kGroups[group].firstKey + item;
  const std::wstring key = L"Groups.Group" + std::to_wstring(number);
  return lang.GetLngString(key, number == 29 ? current : std::wstring());
}
