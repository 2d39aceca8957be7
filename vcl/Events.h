// Events: method pointers with the sender first.
//
// An event is an object plus one of its member functions (`TMethod`), so two events
// compare equal when they name the same method of the same object; that is what lets a
// form's handler be found again by name when a form is written, and a linked control
// check whether a callback is still its own. A lambda can be assigned too (tests,
// glue code); it compares equal only to copies of itself.
//
//   TNotifyEvent OnClick;                          // a field of the control
//   OnClick = TNotifyEvent(this, &TMyForm::Button1Click);
//   OnClick = [](TObject* Sender) { ... };
//   if (OnClick) OnClick(this);                    // done in the control's DoClick()
//
// Typed events take their arguments by reference where the handler may change them:
//   using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
#pragma once
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <utility>

class TObject;

// The type-erased form of every event: object, member-function bytes, and the
// trampoline that knows the real types. `Signature` tells events of different
// parameter lists apart when one is bound by name.
struct TMethod {
  static constexpr std::size_t CodeSize = 2 * sizeof(void*);
  void* Data = nullptr;
  alignas(void*) unsigned char Code[CodeSize] = {};
  void (*Thunk)() = nullptr;

  explicit operator bool() const { return Thunk != nullptr; }
  friend bool operator==(const TMethod& a, const TMethod& b) {
    return a.Data == b.Data && a.Thunk == b.Thunk && std::memcmp(a.Code, b.Code, CodeSize) == 0;
  }
};

template <class Sig>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
 public:
  using Signature = R(A...);
  using Invoker = R (*)(void* data, const unsigned char* code, A... args);

  TEvent() = default;
  TEvent(std::nullptr_t) {}

  // A method of an object: `TNotifyEvent(this, &TMyForm::Button1Click)`.
  template <class C, class M>
    requires std::is_base_of_v<M, C>
  TEvent(C* object, R (M::*method)(A...)) {
    using Fn = R (M::*)(A...);
    static_assert(sizeof(Fn) <= TMethod::CodeSize, "member function pointer too large");
    if (!object || !method) return;
    M* self = object;
    FMethod.Data = self;
    std::memcpy(FMethod.Code, &method, sizeof(Fn));
    FMethod.Thunk = reinterpret_cast<void (*)()>(static_cast<Invoker>(&CallMember<M>));
  }

  // Any callable (a lambda): kept alive by the event and its copies.
  template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
             std::is_invocable_r_v<R, F&, A...>)
  TEvent(F&& f) {
    auto holder = std::make_shared<std::decay_t<F>>(std::forward<F>(f));
    FMethod.Data = holder.get();
    FMethod.Thunk = reinterpret_cast<void (*)()>(static_cast<Invoker>(&CallClosure<std::decay_t<F>>));
    FKeep = std::move(holder);
  }

  // Rebuilds an event from its erased form; the caller has checked the signature.
  static TEvent FromMethod(const TMethod& m) {
    TEvent e;
    e.FMethod = m;
    return e;
  }

  const TMethod& Method() const { return FMethod; }
  void* Data() const { return FMethod.Data; }

  explicit operator bool() const { return FMethod.Thunk != nullptr; }
  friend bool operator==(const TEvent& a, const TEvent& b) { return a.FMethod == b.FMethod; }
  friend bool operator==(const TEvent& a, std::nullptr_t) { return !a; }

  R operator()(A... args) const {
    auto invoke = reinterpret_cast<Invoker>(FMethod.Thunk);
    return invoke(FMethod.Data, FMethod.Code, std::forward<A>(args)...);
  }

 private:
  template <class M>
  static R CallMember(void* data, const unsigned char* code, A... args) {
    R (M::*method)(A...);
    std::memcpy(&method, code, sizeof(method));
    return (static_cast<M*>(data)->*method)(std::forward<A>(args)...);
  }
  template <class F>
  static R CallClosure(void* data, const unsigned char*, A... args) {
    return (*static_cast<F*>(data))(std::forward<A>(args)...);
  }

  TMethod FMethod;
  std::shared_ptr<void> FKeep;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

// True when an event type is a TEvent (the property table binds those by handler name).
template <class T>
struct IsEvent : std::false_type {};
template <class Sig>
struct IsEvent<TEvent<Sig>> : std::true_type {
  using Signature = Sig;
};
