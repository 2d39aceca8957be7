// Run-time class information: class names, the registry of classes by name, and the
// published-property table every class declares once.
//
// The form reader and writer, the translation of captions and the tests all read
// properties through this one table (see vcl/Classes.h for how a class declares it).
//
// Values pass through the table in a few shapes: ordinals (integers, bools, enums,
// sets as a bit mask) as int64_t, strings, floats, objects (a sub-object such as a
// font, or a reference to another component) and methods (events).
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "vcl/Events.h"

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TClassInfo;

// ASCII case-insensitive comparison of identifiers (names of classes, properties,
// components and enum values are compared this way everywhere).
bool SameIdent(std::wstring_view a, std::wstring_view b);

// ---------------------------------------------------------------------------------------
// Sets of enum values: `TSet<TFontStyle>{fsBold, fsItalic}`. Up to 64 elements.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) Include(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet& operator<<(E e) { return Include(e); }
  constexpr TSet& operator>>(E e) { return Exclude(e); }
  constexpr TSet& operator+=(TSet o) {
    FBits |= o.FBits;
    return *this;
  }
  constexpr TSet& operator-=(TSet o) {
    FBits &= ~o.FBits;
    return *this;
  }
  constexpr TSet& operator*=(TSet o) {
    FBits &= o.FBits;
    return *this;
  }
  friend constexpr TSet operator+(TSet a, TSet b) { return a += b; }
  friend constexpr TSet operator-(TSet a, TSet b) { return a -= b; }
  friend constexpr TSet operator*(TSet a, TSet b) { return a *= b; }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

 private:
  static constexpr uint64_t Bit(E e) {
    auto n = static_cast<unsigned>(e);
    return n < 64 ? uint64_t{1} << n : 0;
  }
  uint64_t FBits = 0;
};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
  using Element = E;
};

// ---------------------------------------------------------------------------------------
// Names of enum values, in order from 0. Declare an enum with its names at once:
//   QORN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient);
// or give names to an enum declared elsewhere (values must run 0, 1, 2, ...):
//   QORN_ENUM_INFO(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
class TEnumInfo {
 public:
  // `names` is the comma-separated list as written in the enum.
  TEnumInfo(const wchar_t* typeName, const wchar_t* names);
  const std::wstring& TypeName() const { return FTypeName; }
  int Count() const { return static_cast<int>(FNames.size()); }
  // Empty for a value outside the enum.
  std::wstring NameOf(int64_t value) const;
  // -1 when no value has that name (compared without regard to case).
  int ValueOf(std::wstring_view name) const;

 private:
  std::wstring FTypeName;
  std::vector<std::wstring> FNames;
};

#define QORN_ENUM_INFO(Name, ...)                                       \
  inline const ::TEnumInfo& EnumInfoOf(Name) {                          \
    static const ::TEnumInfo info(L"" #Name, L"" #__VA_ARGS__);          \
    return info;                                                        \
  }
#define QORN_ENUM(Name, ...)  \
  enum Name { __VA_ARGS__ };  \
  QORN_ENUM_INFO(Name, __VA_ARGS__)

template <class E>
concept NamedEnum = std::is_enum_v<E> && requires(E e) {
  { EnumInfoOf(e) } -> std::same_as<const TEnumInfo&>;
};

// Integers that are also written as identifiers (colours: clBtnFace; cursors).
struct TIdentMap {
  bool (*ToIdent)(int64_t value, std::wstring& ident) = nullptr;
  bool (*FromIdent)(std::wstring_view ident, int64_t& value) = nullptr;
};

// ---------------------------------------------------------------------------------------
enum class TTypeKind {
  Integer,    // any integral type; `Idents` may name some values
  Bool,
  Enum,       // `Enum` names the values
  Set,        // `Enum` names the elements; the value is the bit mask
  Float,
  String,     // std::wstring
  Class,      // an owned sub-object (TPersistent: font, strings, collection)
  Component,  // a reference to another component, resolved by name after loading
  Method,     // an event
};

class TPropInfo {
 public:
  virtual ~TPropInfo() = default;

  const std::wstring& Name() const { return FName; }
  TTypeKind Kind() const { return FKind; }
  const TEnumInfo* Enum() const { return FEnum; }
  const TIdentMap* Idents() const { return FIdents; }
  // The declared class of a Class or Component property.
  const TClassInfo* PropClass() const { return FPropClass ? &FPropClass() : nullptr; }
  // The parameter list of a Method property.
  std::type_index Signature() const { return FSignature; }
  int64_t MinValue() const { return FMin; }
  int64_t MaxValue() const { return FMax; }
  bool Writable() const { return FWritable; }

  bool HasDefault() const { return FHasDefault; }
  int64_t DefaultOrd() const { return FDefaultOrd; }
  const std::wstring& DefaultString() const { return FDefaultString; }
  double DefaultFloat() const { return FDefaultFloat; }

  // The stored rule alone (a stored function or flag), not the comparison with the default.
  bool StoredRule(const TObject* obj) const;
  // Whether a writer stores the value: the stored rule holds and the value differs from
  // its default. Ordinals without a declared default are always stored; strings are
  // stored when not equal to their default (empty unless declared).
  bool IsStored(const TObject* obj) const;

  // Accessors; each throws EPropertyError when the kind does not match.
  virtual int64_t GetOrd(const TObject* obj) const;
  virtual void SetOrd(TObject* obj, int64_t value) const;
  virtual std::wstring GetString(const TObject* obj) const;
  virtual void SetString(TObject* obj, const std::wstring& value) const;
  virtual double GetFloat(const TObject* obj) const;
  virtual void SetFloat(TObject* obj, double value) const;
  // Class: the sub-object; Component: the referenced component (or nullptr).
  virtual TObject* GetObject(const TObject* obj) const;
  // Class: the setter (usually Assign); Component: set the reference.
  virtual void SetObject(TObject* obj, TObject* value) const;
  virtual TMethod GetMethod(const TObject* obj) const;
  // `signature` must equal Signature(): handlers of another parameter list are refused.
  virtual void SetMethod(TObject* obj, const TMethod& value, std::type_index signature) const;

  // The fields below are filled by TPublisher; read them through the members above.
  std::wstring FName;
  TTypeKind FKind = TTypeKind::Integer;
  const TEnumInfo* FEnum = nullptr;
  const TIdentMap* FIdents = nullptr;
  const TClassInfo& (*FPropClass)() = nullptr;
  std::type_index FSignature = typeid(void);
  int64_t FMin = std::numeric_limits<int64_t>::min();
  int64_t FMax = std::numeric_limits<int64_t>::max();
  bool FWritable = false;
  bool FHasDefault = false;
  int64_t FDefaultOrd = 0;
  std::wstring FDefaultString;
  double FDefaultFloat = 0;
  enum class TStored { Always, Never, Function } FStored = TStored::Always;
  std::function<bool(const TObject*)> FStoredFn;

 protected:
  [[noreturn]] void WrongKind(const char* access) const;
};

// A form's event handler, bound to `OnXxx = Name` lines by name.
struct THandlerInfo {
  std::wstring Name;
  std::type_index Signature = typeid(void);
  // The handler as an event of the given object (an instance of the declaring class).
  std::function<TMethod(TObject* self)> Bind;
};

// A form's component field (`TButton* Button1`), set when a component of that name is read.
struct TFieldInfo {
  std::wstring Name;
  const TClassInfo& (*FieldClass)() = nullptr;
  std::function<bool(TObject* self, TComponent* value)> Set;  // false: wrong class
  std::function<TComponent*(TObject* self)> Get;
};

// ---------------------------------------------------------------------------------------
class TClassInfo {
 public:
  using TFactory = TComponent* (*)(TComponent* owner);
  using TItemFactory = TCollectionItem* (*)(TCollection* collection);
  using TInit = void (*)(TClassInfo& info);

  TClassInfo(const wchar_t* name, const TClassInfo* parent, TFactory factory, TItemFactory itemFactory,
             TInit init);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::wstring& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& other) const;

  // Creates an instance of a component class (nullptr for abstract or non-component classes).
  TFactory Factory() const { return FFactory; }
  TItemFactory ItemFactory() const { return FItemFactory; }

  // Every published property, the ancestors' first, in declaration order. A class that
  // declares a property of an ancestor's name replaces it in place (a new default).
  const std::vector<const TPropInfo*>& Properties() const { return FAll; }
  const TPropInfo* FindProperty(std::wstring_view name) const;
  const THandlerInfo* FindHandler(std::wstring_view name) const;
  // The handler whose method on `self` equals `m`, or nullptr.
  const THandlerInfo* FindHandlerOf(TObject* self, const TMethod& m) const;
  const std::vector<const TFieldInfo*>& Fields() const { return FAllFields; }
  const TFieldInfo* FindField(std::wstring_view name) const;

  // Message handlers (see TObject::Dispatch); nullptr when the class chain has none.
  using TMessageHandler = void (*)(TObject& self, void* message, const void* code);
  struct TMessageEntry {
    uint32_t Id = 0;
    TMessageHandler Call = nullptr;
    alignas(void*) unsigned char Code[TMethod::CodeSize] = {};
  };
  const TMessageEntry* FindMessage(uint32_t id) const;

  // Used by TPublisher while the class is being declared.
  std::vector<std::unique_ptr<TPropInfo>> FOwnProps;
  std::vector<std::wstring> FHidden;
  std::vector<THandlerInfo> FOwnHandlers;
  std::vector<TFieldInfo> FOwnFields;
  std::vector<TMessageEntry> FOwnMessages;

 private:
  std::wstring FName;
  const TClassInfo* FParent;
  TFactory FFactory;
  TItemFactory FItemFactory;
  std::vector<const TPropInfo*> FAll;
  std::vector<const THandlerInfo*> FAllHandlers;
  std::vector<const TFieldInfo*> FAllFields;
  std::vector<TMessageEntry> FAllMessages;  // sorted by Id
};

// The registry of classes by name. A library's classes are listed in its registration
// function (vcl/ClassRegistry.h), which every program runs at start-up; a class whose
// StaticClass() has been reached is registered too.
void RegisterClassInfo(const TClassInfo& info);
const TClassInfo* FindClass(std::wstring_view name);
template <class T>
void RegisterClass() {
  RegisterClassInfo(T::StaticClass());
}
template <class... T>
void RegisterClasses() {
  (RegisterClassInfo(T::StaticClass()), ...);
}
// Creates a component by class name; throws EClassNotFound for an unknown or
// non-creatable class.
TComponent* CreateComponent(std::wstring_view className, TComponent* owner);

#define QORN_CONCAT_INNER(a, b) a##b
#define QORN_CONCAT(a, b) QORN_CONCAT_INNER(a, b)
// Registers a class declared in a program's own source (a test form); libraries list
// theirs in their registration function instead (vcl/ClassRegistry.h). T may be qualified.
#define QORN_REGISTER_CLASS(T) \
  [[maybe_unused]] static const bool QORN_CONCAT(qornRegistered_, __COUNTER__) = (::RegisterClass<T>(), true)
