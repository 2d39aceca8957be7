#include "core/LanguageTranslate.h"

#include <string>

#include "core/Language.h"
#include "vcl/Classes.h"

namespace {

constexpr int kRussianCharset = 204;
constexpr int kDefaultCharset = 1;

const TPropInfo* Published(const TObject& obj, std::wstring_view name, TTypeKind kind) {
  const TPropInfo* prop = obj.ClassType().FindProperty(name);
  return prop != nullptr && prop->Kind() == kind ? prop : nullptr;
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

void TranslateCaption(const TLanguage& lang, TComponent& comp) {
  const TPropInfo* caption = Published(comp, L"Caption", TTypeKind::String);
  if (caption == nullptr || !caption->Writable() || comp.Owner() == nullptr || comp.Name().empty()) return;
  const std::wstring designed = caption->GetString(&comp);
  if (designed.find_first_not_of(L' ') == std::wstring::npos) return;
  const std::wstring key = comp.Owner()->Name() + L"." + comp.Name();
  if (auto text = lang.TranslateCaption(key)) caption->SetString(&comp, *text);
}

}  // namespace

int LanguageCharset(const TLanguage& lang) { return lang.IsRusLang() ? kRussianCharset : kDefaultCharset; }

void TranslateComponents(const TLanguage& lang, TComponent& window) {
  SetCharsetsBelow(window, LanguageCharset(lang));
  for (int i = 0; i < window.ComponentCount(); ++i) TranslateCaption(lang, *window.Components(i));
}
