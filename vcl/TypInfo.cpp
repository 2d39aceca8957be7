#include "vcl/TypInfo.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "vcl/Classes.h"

namespace {

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring Trimmed(std::wstring_view s) {
  while (!s.empty() && (s.front() == L' ' || s.front() == L'\t' || s.front() == L'\n' || s.front() == L'\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\n' || s.back() == L'\r'))
    s.remove_suffix(1);
  return std::wstring(s);
}

std::wstring KindName(TTypeKind k) {
  switch (k) {
    case TTypeKind::Integer: return L"integer";
    case TTypeKind::Bool: return L"boolean";
    case TTypeKind::Enum: return L"enumeration";
    case TTypeKind::Set: return L"set";
    case TTypeKind::Float: return L"float";
    case TTypeKind::String: return L"string";
    case TTypeKind::Class: return L"object";
    case TTypeKind::Component: return L"component reference";
    case TTypeKind::Method: return L"event";
  }
  return L"?";
}

struct IdentLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return AsciiLower(x) < AsciiLower(y); });
  }
};

// The registry is filled from static initialisers and class-info constructors, which may
// run on any thread that first touches a class; lookups happen while forms are read.
struct Registry {
  std::mutex Lock;
  std::map<std::wstring, const TClassInfo*, IdentLess> ByName;
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

bool SameIdent(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// ---------------------------------------------------------------------------------------
TEnumInfo::TEnumInfo(const wchar_t* typeName, const wchar_t* names) : FTypeName(typeName) {
  std::wstring_view all(names);
  while (!all.empty()) {
    size_t comma = all.find(L',');
    std::wstring name = Trimmed(all.substr(0, comma));
    // Enums with explicit values cannot be named by position.
    if (name.find(L'=') != std::wstring::npos)
      throw std::logic_error("QORN_ENUM: values must run from 0 without initialisers");
    if (!name.empty()) FNames.push_back(std::move(name));
    if (comma == std::wstring_view::npos) break;
    all.remove_prefix(comma + 1);
  }
}

std::wstring TEnumInfo::NameOf(int64_t value) const {
  if (value < 0 || value >= static_cast<int64_t>(FNames.size())) return {};
  return FNames[static_cast<size_t>(value)];
}

int TEnumInfo::ValueOf(std::wstring_view name) const {
  for (size_t i = 0; i < FNames.size(); ++i)
    if (SameIdent(FNames[i], name)) return static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------------------------------
bool TPropInfo::StoredRule(const TObject* obj) const {
  switch (FStored) {
    case TStored::Always: return true;
    case TStored::Never: return false;
    case TStored::Function: return FStoredFn && FStoredFn(obj);
  }
  return true;
}

bool TPropInfo::IsStored(const TObject* obj) const {
  if (!StoredRule(obj)) return false;
  switch (FKind) {
    case TTypeKind::Integer:
    case TTypeKind::Bool:
    case TTypeKind::Enum:
    case TTypeKind::Set:
      return !FHasDefault || GetOrd(obj) != FDefaultOrd;
    case TTypeKind::Float:
      return !FHasDefault || GetFloat(obj) != FDefaultFloat;
    case TTypeKind::String:
      return GetString(obj) != FDefaultString;
    case TTypeKind::Component:
      return GetObject(obj) != nullptr;
    case TTypeKind::Method:
      return static_cast<bool>(GetMethod(obj));
    case TTypeKind::Class:
      return GetObject(obj) != nullptr;
  }
  return true;
}

void TPropInfo::WrongKind(const char* access) const {
  std::wstring a(access, access + std::char_traits<char>::length(access));
  throw EPropertyError(L"Property " + FName + L" is of type " + KindName(FKind) + L", not " + a);
}

int64_t TPropInfo::GetOrd(const TObject*) const { WrongKind("ordinal"); }
void TPropInfo::SetOrd(TObject*, int64_t) const { WrongKind("ordinal"); }
std::wstring TPropInfo::GetString(const TObject*) const { WrongKind("string"); }
void TPropInfo::SetString(TObject*, const std::wstring&) const { WrongKind("string"); }
double TPropInfo::GetFloat(const TObject*) const { WrongKind("float"); }
void TPropInfo::SetFloat(TObject*, double) const { WrongKind("float"); }
TObject* TPropInfo::GetObject(const TObject*) const { WrongKind("object"); }
void TPropInfo::SetObject(TObject*, TObject*) const { WrongKind("object"); }
TMethod TPropInfo::GetMethod(const TObject*) const { WrongKind("event"); }
void TPropInfo::SetMethod(TObject*, const TMethod&, std::type_index) const { WrongKind("event"); }

namespace qorn_detail {
void ThrowNotInstance(const TPropInfo& p, const TObject* obj) {
  throw EPropertyError(L"Property " + p.Name() + L" does not belong to " +
                       (obj ? obj->ClassName() : std::wstring(L"nil")));
}
void ThrowReadOnly(const TPropInfo& p) { throw EPropertyError(L"Property " + p.Name() + L" is read-only"); }
void ThrowWrongClass(const TPropInfo& p, const TObject* value) {
  throw EPropertyError(L"Property " + p.Name() + L" cannot take a " + value->ClassName() + L" (" +
                       (p.PropClass() ? p.PropClass()->Name() : std::wstring(L"?")) + L" expected)");
}
void ThrowWrongSignature(const TPropInfo& p) {
  throw EPropertyError(L"Property " + p.Name() + L" cannot take a handler of another parameter list");
}
}  // namespace qorn_detail

// ---------------------------------------------------------------------------------------
TClassInfo::TClassInfo(const wchar_t* name, const TClassInfo* parent, TFactory factory,
                       TItemFactory itemFactory, TInit init)
    : FName(name), FParent(parent), FFactory(factory), FItemFactory(itemFactory) {
  if (init) init(*this);

  // Flatten the chain once, so lookups need no walk: the ancestors' entries first, a
  // re-declared name replacing the ancestor's in place.
  if (FParent) {
    FAll = FParent->FAll;
    FAllHandlers = FParent->FAllHandlers;
    FAllFields = FParent->FAllFields;
    FAllMessages = FParent->FAllMessages;
  }
  for (const auto& hidden : FHidden)
    std::erase_if(FAll, [&](const TPropInfo* p) { return SameIdent(p->Name(), hidden); });
  for (const auto& own : FOwnProps) {
    auto it = std::find_if(FAll.begin(), FAll.end(), [&](const TPropInfo* p) { return SameIdent(p->Name(), own->Name()); });
    if (it != FAll.end())
      *it = own.get();
    else
      FAll.push_back(own.get());
  }
  for (const auto& h : FOwnHandlers) {
    auto it = std::find_if(FAllHandlers.begin(), FAllHandlers.end(),
                           [&](const THandlerInfo* x) { return SameIdent(x->Name, h.Name); });
    if (it != FAllHandlers.end())
      *it = &h;
    else
      FAllHandlers.push_back(&h);
  }
  for (const auto& f : FOwnFields) {
    auto it = std::find_if(FAllFields.begin(), FAllFields.end(),
                           [&](const TFieldInfo* x) { return SameIdent(x->Name, f.Name); });
    if (it != FAllFields.end())
      *it = &f;
    else
      FAllFields.push_back(&f);
  }
  for (const auto& m : FOwnMessages) {
    auto it = std::find_if(FAllMessages.begin(), FAllMessages.end(), [&](const TMessageEntry& x) { return x.Id == m.Id; });
    if (it != FAllMessages.end())
      *it = m;
    else
      FAllMessages.push_back(m);
  }
  std::sort(FAllMessages.begin(), FAllMessages.end(),
            [](const TMessageEntry& a, const TMessageEntry& b) { return a.Id < b.Id; });
  RegisterClassInfo(*this);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::wstring_view name) const {
  for (const TPropInfo* p : FAll)
    if (SameIdent(p->Name(), name)) return p;
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(std::wstring_view name) const {
  for (const THandlerInfo* h : FAllHandlers)
    if (SameIdent(h->Name, name)) return h;
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandlerOf(TObject* self, const TMethod& m) const {
  if (!m) return nullptr;
  for (const THandlerInfo* h : FAllHandlers)
    if (h->Bind(self) == m) return h;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::wstring_view name) const {
  for (const TFieldInfo* f : FAllFields)
    if (SameIdent(f->Name, name)) return f;
  return nullptr;
}

const TClassInfo::TMessageEntry* TClassInfo::FindMessage(uint32_t id) const {
  auto it = std::lower_bound(FAllMessages.begin(), FAllMessages.end(), id,
                             [](const TMessageEntry& e, uint32_t v) { return e.Id < v; });
  return (it != FAllMessages.end() && it->Id == id) ? &*it : nullptr;
}

// ---------------------------------------------------------------------------------------
void RegisterClassInfo(const TClassInfo& info) {
  auto& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.Lock);
  r.ByName.emplace(info.Name(), &info);  // the first class of a name stays
}

const TClassInfo* FindClass(std::wstring_view name) {
  auto& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.Lock);
  auto it = r.ByName.find(std::wstring(name));
  return it == r.ByName.end() ? nullptr : it->second;
}

TComponent* CreateComponent(std::wstring_view className, TComponent* owner) {
  const TClassInfo* info = FindClass(className);
  if (!info) throw EClassNotFound(L"Class " + std::wstring(className) + L" not found");
  if (!info->Factory()) throw EClassNotFound(L"Class " + std::wstring(className) + L" cannot be created by name");
  return info->Factory()(owner);
}
