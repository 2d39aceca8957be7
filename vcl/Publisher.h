// The declaring side of the published-property table: TPublisher<T>, used by a class's
// static Publish(TPublisher<T>&). Included by vcl/Classes.h; see its top comment.
#pragma once
#include <cstring>
#include <type_traits>

#include "vcl/TypInfo.h"

namespace qorn_detail {

template <class V>
constexpr TTypeKind KindOf() {
  using U = std::remove_cv_t<V>;
  if constexpr (std::is_same_v<U, bool>)
    return TTypeKind::Bool;
  else if constexpr (std::is_same_v<U, std::wstring>)
    return TTypeKind::String;
  else if constexpr (IsEvent<U>::value)
    return TTypeKind::Method;
  else if constexpr (IsSet<U>::value)
    return TTypeKind::Set;
  else if constexpr (NamedEnum<U>)
    return TTypeKind::Enum;
  else if constexpr (std::is_enum_v<U> || std::is_integral_v<U>)
    return TTypeKind::Integer;
  else if constexpr (std::is_floating_point_v<U>)
    return TTypeKind::Float;
  else if constexpr (std::is_pointer_v<U> && std::is_base_of_v<TComponent, std::remove_pointer_t<U>>)
    return TTypeKind::Component;
  else if constexpr (std::is_pointer_v<U> && std::is_base_of_v<TPersistent, std::remove_pointer_t<U>>)
    return TTypeKind::Class;
  else
    static_assert(sizeof(U) == 0, "this type cannot be a published property");
}

// The value type of a getter: a data member or a const member function.
template <class G>
struct GetterTraits;
template <class C, class V>
struct GetterTraits<V C::*> {
  using Class = C;
  using Value = V;
};
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() const noexcept> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};

template <class T, class V, class G>
std::function<V(const T&)> MakeGetter(G g) {
  if constexpr (std::is_member_object_pointer_v<G>)
    return [g](const T& o) -> V { return o.*g; };
  else
    return [g](const T& o) -> V { return (o.*g)(); };
}

template <class T, class V, class S>
std::function<void(T&, const V&)> MakeSetter(S s) {
  if constexpr (std::is_same_v<S, std::nullptr_t>)
    return {};
  else if constexpr (std::is_member_object_pointer_v<S>)
    return [s](T& o, const V& v) { o.*s = v; };
  else
    return [s](T& o, const V& v) { (o.*s)(v); };
}

template <class V>
int64_t ToOrd(const V& v) {
  if constexpr (IsSet<V>::value)
    return static_cast<int64_t>(v.Bits());
  else
    return static_cast<int64_t>(v);
}
template <class V>
V FromOrd(int64_t n) {
  if constexpr (IsSet<V>::value)
    return V::FromBits(static_cast<uint64_t>(n));
  else if constexpr (std::is_same_v<V, bool>)
    return n != 0;
  else
    return static_cast<V>(n);
}

template <class V>
const TClassInfo& PointeeClass() {
  return std::remove_pointer_t<V>::StaticClass();
}

[[noreturn]] void ThrowNotInstance(const TPropInfo& p, const TObject* obj);
[[noreturn]] void ThrowReadOnly(const TPropInfo& p);
[[noreturn]] void ThrowWrongClass(const TPropInfo& p, const TObject* value);
[[noreturn]] void ThrowWrongSignature(const TPropInfo& p);

template <class T, class V>
class TPropInfoOf final : public TPropInfo {
 public:
  std::function<V(const T&)> Get;
  std::function<void(T&, const V&)> Set;

  const T& Self(const TObject* obj) const {
    auto* t = dynamic_cast<const T*>(obj);
    if (!t) ThrowNotInstance(*this, obj);
    return *t;
  }
  T& Self(TObject* obj) const {
    auto* t = dynamic_cast<T*>(obj);
    if (!t) ThrowNotInstance(*this, obj);
    return *t;
  }
  void Put(TObject* obj, const V& v) const {
    if (!Set) ThrowReadOnly(*this);
    Set(Self(obj), v);
  }

  int64_t GetOrd(const TObject* obj) const override {
    if constexpr (IsOrdinal()) return ToOrd(Get(Self(obj)));
    return TPropInfo::GetOrd(obj);
  }
  void SetOrd(TObject* obj, int64_t value) const override {
    if constexpr (IsOrdinal())
      Put(obj, FromOrd<V>(value));
    else
      TPropInfo::SetOrd(obj, value);
  }
  std::wstring GetString(const TObject* obj) const override {
    if constexpr (std::is_same_v<V, std::wstring>) return Get(Self(obj));
    return TPropInfo::GetString(obj);
  }
  void SetString(TObject* obj, const std::wstring& value) const override {
    if constexpr (std::is_same_v<V, std::wstring>)
      Put(obj, value);
    else
      TPropInfo::SetString(obj, value);
  }
  double GetFloat(const TObject* obj) const override {
    if constexpr (std::is_floating_point_v<V>) return static_cast<double>(Get(Self(obj)));
    return TPropInfo::GetFloat(obj);
  }
  void SetFloat(TObject* obj, double value) const override {
    if constexpr (std::is_floating_point_v<V>)
      Put(obj, static_cast<V>(value));
    else
      TPropInfo::SetFloat(obj, value);
  }
  TObject* GetObject(const TObject* obj) const override {
    if constexpr (std::is_pointer_v<V>) {
      auto* p = Get(Self(obj));
      return const_cast<std::remove_const_t<std::remove_pointer_t<V>>*>(p);
    }
    return TPropInfo::GetObject(obj);
  }
  void SetObject(TObject* obj, TObject* value) const override {
    if constexpr (std::is_pointer_v<V>) {
      using P = std::remove_pointer_t<V>;
      P* typed = nullptr;
      if (value) {
        typed = dynamic_cast<P*>(value);
        if (!typed) ThrowWrongClass(*this, value);
      }
      if (Set) {
        Set(Self(obj), typed);
      } else if constexpr (std::is_base_of_v<TPersistent, P> && !std::is_base_of_v<TComponent, P>) {
        // A read-only sub-object takes the value by Assign.
        P* target = Get(Self(obj));
        if (!target) ThrowReadOnly(*this);
        target->Assign(typed);
      } else {
        ThrowReadOnly(*this);
      }
    } else {
      TPropInfo::SetObject(obj, value);
    }
  }
  TMethod GetMethod(const TObject* obj) const override {
    if constexpr (IsEvent<V>::value) return Get(Self(obj)).Method();
    return TPropInfo::GetMethod(obj);
  }
  void SetMethod(TObject* obj, const TMethod& value, std::type_index signature) const override {
    if constexpr (IsEvent<V>::value) {
      if (value && signature != FSignature) ThrowWrongSignature(*this);
      Put(obj, V::FromMethod(value));
    } else {
      TPropInfo::SetMethod(obj, value, signature);
    }
  }

 private:
  static constexpr bool IsOrdinal() {
    return std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value;
  }
};

}  // namespace qorn_detail

// Modifiers of one declared property: `.Default(4)`, `.Stored(false)`,
// `.Stored(&TFoo::IsColorStored)`, `.Idents(ColorIdents)`.
template <class T>
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo& info) : FInfo(info) {}

  template <class D>
  TPropBuilder& Default(const D& value) {
    FInfo.FHasDefault = true;
    if constexpr (std::is_convertible_v<D, std::wstring>) {
      FInfo.FDefaultString = std::wstring(value);
    } else if constexpr (IsSet<D>::value) {
      FInfo.FDefaultOrd = static_cast<int64_t>(value.Bits());
    } else if constexpr (std::is_floating_point_v<D>) {
      FInfo.FDefaultFloat = static_cast<double>(value);
    } else {
      static_assert(std::is_integral_v<D> || std::is_enum_v<D>, "unsupported default value");
      if (FInfo.FKind == TTypeKind::Float)
        FInfo.FDefaultFloat = static_cast<double>(value);
      else
        FInfo.FDefaultOrd = static_cast<int64_t>(value);
    }
    return *this;
  }
  // A set's empty default: `.Default(TSet<TFontStyle>{})` or this.
  TPropBuilder& DefaultEmpty() {
    FInfo.FHasDefault = true;
    FInfo.FDefaultOrd = 0;
    return *this;
  }
  TPropBuilder& Stored(bool stored) {
    FInfo.FStored = stored ? TPropInfo::TStored::Always : TPropInfo::TStored::Never;
    FInfo.FStoredFn = nullptr;
    return *this;
  }
  template <class C>
    requires std::is_base_of_v<C, T>
  TPropBuilder& Stored(bool (C::*fn)() const) {
    FInfo.FStored = TPropInfo::TStored::Function;
    FInfo.FStoredFn = [fn](const TObject* obj) {
      auto* t = dynamic_cast<const T*>(obj);
      return t && (t->*fn)();
    };
    return *this;
  }
  TPropBuilder& Idents(const TIdentMap& map) {
    FInfo.FIdents = &map;
    return *this;
  }

 private:
  TPropInfo& FInfo;
};

template <class T>
class TPublisher {
 public:
  explicit TPublisher(TClassInfo& info) : FInfo(info) {}

  // A published property (see vcl/Classes.h for the accepted getters and setters).
  template <class G, class S = std::nullptr_t>
  TPropBuilder<T> Property(const wchar_t* name, G getter, S setter = nullptr) {
    using Traits = qorn_detail::GetterTraits<G>;
    static_assert(std::is_base_of_v<typename Traits::Class, T>, "the getter is not a member of this class");
    using V = typename Traits::Value;
    auto info = std::make_unique<qorn_detail::TPropInfoOf<T, V>>();
    info->FName = name;
    info->FKind = qorn_detail::KindOf<V>();
    info->Get = qorn_detail::MakeGetter<T, V>(getter);
    if constexpr (std::is_member_object_pointer_v<G> && std::is_same_v<S, std::nullptr_t>) {
      // A data member alone is read and written directly.
      info->Set = qorn_detail::MakeSetter<T, V>(getter);
    } else {
      info->Set = qorn_detail::MakeSetter<T, V>(setter);
    }
    info->FWritable = static_cast<bool>(info->Set);
    if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
      info->FMin = static_cast<int64_t>(std::numeric_limits<V>::min());
      if constexpr (std::is_unsigned_v<V> && sizeof(V) >= sizeof(int64_t))
        info->FMax = std::numeric_limits<int64_t>::max();
      else
        info->FMax = static_cast<int64_t>(std::numeric_limits<V>::max());
    }
    if constexpr (qorn_detail::KindOf<V>() == TTypeKind::Enum) {
      info->FEnum = &EnumInfoOf(V{});
      info->FMin = 0;
      info->FMax = info->FEnum->Count() - 1;
    } else if constexpr (qorn_detail::KindOf<V>() == TTypeKind::Set) {
      using E = typename IsSet<V>::Element;
      static_assert(NamedEnum<E>, "the elements of a published set need QORN_ENUM names");
      info->FEnum = &EnumInfoOf(E{});
    } else if constexpr (qorn_detail::KindOf<V>() == TTypeKind::Class ||
                         qorn_detail::KindOf<V>() == TTypeKind::Component) {
      info->FPropClass = &qorn_detail::PointeeClass<V>;
    } else if constexpr (qorn_detail::KindOf<V>() == TTypeKind::Method) {
      info->FSignature = typeid(typename IsEvent<V>::Signature);
    }
    TPropInfo& ref = *info;
    FInfo.FOwnProps.push_back(std::move(info));
    return TPropBuilder<T>(ref);
  }

  // Removes an inherited property from this class's table.
  void Hide(const wchar_t* name) { FInfo.FHidden.emplace_back(name); }

  // An event handler of a form: "OnClick = Button1Click" finds it by this name.
  template <class C, class R, class... A>
    requires std::is_base_of_v<C, T>
  void Handler(const wchar_t* name, R (C::*method)(A...)) {
    THandlerInfo h;
    h.Name = name;
    h.Signature = typeid(R(A...));
    h.Bind = [method](TObject* self) -> TMethod {
      auto* t = dynamic_cast<T*>(self);
      if (!t) return {};
      return TEvent<R(A...)>(t, method).Method();
    };
    FInfo.FOwnHandlers.push_back(std::move(h));
  }

  // A form's component field, set when the reader creates the component of that name.
  template <class C, class P>
    requires std::is_base_of_v<C, T> && std::is_base_of_v<TComponent, P>
  void Field(const wchar_t* name, P* C::*field) {
    TFieldInfo f;
    f.Name = name;
    f.FieldClass = &P::StaticClass;
    f.Set = [field](TObject* self, TComponent* value) {
      auto* t = dynamic_cast<T*>(self);
      P* typed = value ? dynamic_cast<P*>(value) : nullptr;
      if (!t || (value && !typed)) return false;
      t->*field = typed;
      return true;
    };
    f.Get = [field](TObject* self) -> TComponent* {
      auto* t = dynamic_cast<T*>(self);
      return t ? t->*field : nullptr;
    };
    FInfo.FOwnFields.push_back(std::move(f));
  }

  // A message handler: Dispatch of a record whose first 32 bits are `id` calls it.
  template <class C, class Rec>
    requires std::is_base_of_v<C, T>
  void Message(uint32_t id, void (C::*method)(Rec&)) {
    using Fn = void (C::*)(Rec&);
    static_assert(sizeof(Fn) <= TMethod::CodeSize);
    TClassInfo::TMessageEntry e;
    e.Id = id;
    std::memcpy(e.Code, &method, sizeof(Fn));
    e.Call = [](TObject& self, void* message, const void* code) {
      Fn fn;
      std::memcpy(&fn, code, sizeof(Fn));
      (static_cast<C&>(static_cast<T&>(self)).*fn)(*static_cast<Rec*>(message));
    };
    FInfo.FOwnMessages.push_back(e);
  }

 private:
  TClassInfo& FInfo;
};

struct TClassAccess {
  template <class T>
  static constexpr bool HasOwnPublish() {
    return requires { static_cast<void (*)(TPublisher<T>&)>(&T::Publish); };
  }
  template <class T>
  static void Publish(TPublisher<T>& p) {
    T::Publish(p);
  }
};

template <class T>
void InitClassInfo(TClassInfo& info) {
  if constexpr (TClassAccess::HasOwnPublish<T>()) {
    TPublisher<T> p(info);
    TClassAccess::Publish<T>(p);
  }
}

template <class T>
TClassInfo::TFactory ClassFactoryOf() {
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>)
    return [](TComponent* owner) -> TComponent* { return new T(owner); };
  else
    return nullptr;
}

template <class T>
TClassInfo::TItemFactory ItemFactoryOf() {
  if constexpr (std::is_base_of_v<TCollectionItem, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TCollection*>)
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
  else
    return nullptr;
}
