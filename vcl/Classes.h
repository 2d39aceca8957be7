// The component model: TObject, TPersistent, TComponent, collections, events and the
// published-property table.
//
// How a class declares itself and its published properties (once; descendants inherit
// them, and a descendant may re-declare one to give it another default):
//
//   QORN_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);
//
//   class TFlatButton : public TCustomControl {
//     QORN_CLASS(TFlatButton, TCustomControl)   // first line of the body; leaves `private:`
//    public:
//     explicit TFlatButton(TComponent* AOwner);  // components take their owner
//     int GetRadius() const;  void SetRadius(int Value);
//     TNotifyEvent OnClick;
//     ...
//    private:
//     static void Publish(TPublisher<TFlatButton>& p) {   // or define it in the .cpp
//       p.Property(L"Radius", &TFlatButton::GetRadius, &TFlatButton::SetRadius).Default(4);
//       p.Property(L"Layout", &TFlatButton::FLayout, &TFlatButton::SetLayout).Default(blGlyphLeft);
//       p.Property(L"Caption", &TFlatButton::GetCaption, &TFlatButton::SetCaption);
//       p.Property(L"Font", &TFlatButton::GetFont, &TFlatButton::SetFont);   // sub-object
//       p.Property(L"Images", &TFlatButton::FImages, &TFlatButton::SetImages); // reference
//       p.Property(L"OnClick", &TFlatButton::OnClick);                        // event field
//       p.Property(L"Flat", &TFlatButton::FFlat).Stored(&TFlatButton::IsFlatStored);
//     }
//     TButtonLayout FLayout = blGlyphLeft;
//   };
//   QORN_REGISTER_CLASS(TFlatButton);   // in the .cpp: creatable by name from forms
//
// The kind of a property follows from its C++ type: integers (any integral type), bool,
// enums named with QORN_ENUM / QORN_ENUM_INFO (written as identifiers), TSet<E> (written
// as "[a, b]"), double, std::wstring, a pointer to a TPersistent (an owned sub-object,
// read in place: "Font.Style = [fsBold]"), a pointer to a TComponent (a reference,
// resolved by name once the whole form is read), a TEvent (bound by handler name).
// Getters are `V Get() const` or a data member; setters `void Set(V)` or a data member,
// or omitted (read-only; sub-objects are then read in place). Ordinals without a
// Default(...) are always written; strings are written when not empty.
//
// A form class also declares its handlers and component fields, so "OnClick =
// Button1Click" binds by name and `Button1` points at the component read:
//     p.Handler(L"Button1Click", &TMainForm::Button1Click);
//     p.Field(L"Button1", &TMainForm::Button1);
// and classes that handle window messages map them to methods:
//     p.Message(WM_PAINT, &TMyControl::WMPaint);        // void WMPaint(TMessage& m); it calls
//                                                       // QORN_INHERITED(m) (vcl/Controls.h)
//
// Names: the class library is the platform, and its names are global. Each component
// library and program folder declares its own types and values in its namespace
// (`namespace Flat`, `namespace Vy`, ...), keeping the names its Parts give: a
// library's TTransparentMode or sdLeft never meets the class library's, since inside
// its namespace its own are found first, and others qualify (`Vy::sdLeft`). Class
// names stay unqualified (ClassName, form resources). The form reader looks an enum
// value up only among the values of the property's own type, never in a global list.
//
// Lifetime: `delete` (or Free) runs BeforeDestruction first, while the object is whole
// (forms fire OnDestroy there), then the destructors. ~TComponent then tells the
// free-notified components (opRemove), frees the owned components and leaves its owner,
// whose components all get Notification(opRemove). Owned components therefore still
// exist in a descendant's destructor body, as in the platform library.
//
// Reading forms (vcl/Filer.h, which overriders of DefineProperties include): the reader creates each object by class name, owned by the
// root; `ReadState` calls `SetParentComponent(Reader.Parent())` before the values are
// read, so a control makes itself a child of the enclosing object (TControl overrides
// SetParentComponent to set Parent; the enclosing object passes `GetChildParent()`).
// Writing walks `GetChildren(Proc, Root)`: TComponent lists the root's owned components
// that have no parent (HasParent() false); windowed controls list their child controls.
#pragma once
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Events.h"
#include "vcl/Exceptions.h"
#include "vcl/TypInfo.h"

// GCC 12 takes TObject's destroying operator delete for a plain deallocation function
// and reports every `new T ... delete p` pair as mismatched; the sanitizer build checks
// real mismatches.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

class TFiler;
class TReader;
class TWriter;
template <class T>
class TPublisher;

// Grants the class-info machinery access to a class's private Publish.
struct TClassAccess;
template <class T>
void InitClassInfo(TClassInfo& info);
template <class T>
TClassInfo::TFactory ClassFactoryOf();
template <class T>
TClassInfo::TItemFactory ItemFactoryOf();

// Inside a message handler: the handler the class's ancestors declare for the same
// message, or the default handling when none does (the platform's `inherited;`).
#define QORN_INHERITED(message) DispatchAs(inherited::StaticClass(), &(message))

#define QORN_CLASS(T, Base)                                                                   \
 public:                                                                                      \
  using inherited = Base;                                                                     \
  static const ::TClassInfo& StaticClass() {                                                  \
    static const ::TClassInfo info(L"" #T, &Base::StaticClass(), ::ClassFactoryOf<T>(),       \
                                   ::ItemFactoryOf<T>(), &::InitClassInfo<T>);                \
    return info;                                                                              \
  }                                                                                           \
  const ::TClassInfo& ClassType() const override { return StaticClass(); }                    \
  friend struct ::TClassAccess;                                                               \
                                                                                              \
 private:

// ---------------------------------------------------------------------------------------
// Errors of the component model (Message() is the text shown to the user). A bad index
// raises EListError "List index out of bounds (%d)"; a failed Assign EAssignError.
class EClassesError : public Exception {
 public:
  using Exception::Exception;
};
class EComponentError : public EClassesError {
 public:
  using EClassesError::EClassesError;
};
class EPropertyError : public EClassesError {
 public:
  using EClassesError::EClassesError;
};
class EClassNotFound : public EFilerError {
 public:
  using EFilerError::EFilerError;
};
class EAssignError : public EConvertError {
 public:
  using EConvertError::EConvertError;
};

// ---------------------------------------------------------------------------------------
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const;
  // The declared class name ("TMainForm").
  const std::wstring& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }

  // Runs before any destructor when the object is deleted.
  virtual void BeforeDestruction() {}
  // Deletes the object (nothing for nullptr): `Obj->Free()` reads like the platform code.
  void Free() { delete this; }

  // Message records start with a 32-bit message number. Dispatch calls the handler the
  // class chain declares for it (p.Message), else DefaultHandler.
  virtual void Dispatch(void* message);
  // The same, starting the search at `cls` (an ancestor): what a handler's "inherited" does.
  void DispatchAs(const TClassInfo& cls, void* message);
  virtual void DefaultHandler(void* message);

  // Keeps every delete going through BeforeDestruction with the whole object.
  void operator delete(TObject* p, std::destroying_delete_t);
  static void* operator new(std::size_t size) { return ::operator new(size); }
  static void* operator new(std::size_t, void* place) noexcept { return place; }
  // Frees the memory of an object whose constructor threw.
  static void operator delete(void* p) noexcept { ::operator delete(p); }
  static void operator delete(void*, void*) noexcept {}

 private:
  friend struct TClassAccess;
};

template <class T>
void FreeAndNil(T*& p) {
  T* q = p;
  p = nullptr;
  delete q;
}

// ---------------------------------------------------------------------------------------
class TPersistent : public TObject {
  QORN_CLASS(TPersistent, TObject)
 public:
  // Copies `Source` into this object; throws EAssignError when neither side knows how.
  virtual void Assign(const TPersistent* Source);
  // The object that owns this one (a font's control, an item's collection).
  virtual TPersistent* GetOwner() const { return nullptr; }
  // "Form1.Button1.Font": used in messages.
  virtual std::wstring GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
  // Custom and obsolete values in form resources: call Filer.DefineProperty(...).
  virtual void DefineProperties(TFiler& Filer);
  [[noreturn]] void AssignError(const TPersistent* Source) const;

 private:
  friend class TReader;
  friend class TWriter;
};

// ---------------------------------------------------------------------------------------
enum TComponentStateElem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,  // never set: there is no form designer
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateElem>;
enum TOperation { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  QORN_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Throws EListError "List index out of bounds (%d)".
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  // The owned component of that name (compared without regard to case), or nullptr.
  TComponent* FindComponent(std::wstring_view AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  // Marks this component and the ones it owns csDestroying.
  void Destroying();

  const std::wstring& Name() const { return FName; }
  // Throws EComponentError for a name that is not an identifier or is taken in the owner.
  virtual void SetName(const std::wstring& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  // Asks for Notification(AComponent, opRemove) when AComponent goes, and tells
  // AComponent likewise when this one goes.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks (see the comment at the top).
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent* Child, int Order);
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value);
  // Reads this component's values and children (vcl/Filer.h): SetParentComponent with
  // the reader's Parent, then Reader.ReadData(this).
  virtual void ReadState(TReader& Reader);
  // Called once every component of a form is read and every reference resolved.
  virtual void Loaded();

  TPersistent* GetOwner() const override { return FOwner; }
  std::wstring GetNamePath() const override { return FName; }

  // Used by the reader and by tests that build components by hand.
  void SetComponentState(TComponentStateElem Elem, bool On);

 protected:
  // Every owned component hears about insertions into and removals from its owner.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 private:
  friend class TReader;
  static void Publish(TPublisher<TComponent>& p);
  void RemoveFreeNotifications();
  // Points the owner's field of this component's name (p.Field) at it, or clears it,
  // so a form's field never outlives its component.
  void SetReference(bool Enable);
  void AddNotify(TComponent* AComponent);
  void RemoveNotify(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::wstring FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
  bool FTornDown = false;
};

// Reference-counted objects behind interfaces (abstract classes found by dynamic_cast).
class TInterfacedObject : public TObject {
  QORN_CLASS(TInterfacedObject, TObject)
 public:
  int AddRef() { return ++FRefCount; }
  // Frees the object when the last reference goes.
  int Release() {
    int n = --FRefCount;
    if (n == 0) delete this;
    return n;
  }
  int RefCount() const { return FRefCount; }

 private:
  int FRefCount = 0;
};

#include "vcl/Publisher.h"
#include "vcl/Collection.h"
