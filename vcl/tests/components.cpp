// Ownership, names, notifications and destruction order of components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vcl/Classes.h"

namespace {

// Records every notification it hears, and keeps a reference it must drop.
class TWatcher : public TComponent {
  QORN_CLASS(TWatcher, TComponent)
 public:
  using TComponent::TComponent;
  ~TWatcher() override {
    if (Log) Log->push_back(L"free " + Name());
  }
  void SetLinked(TComponent* c) {
    if (Linked) Linked->RemoveFreeNotification(this);
    Linked = c;
    if (c) c->FreeNotification(this);
  }
  std::vector<std::wstring>* Log = nullptr;
  TComponent* Linked = nullptr;
  std::vector<std::pair<TComponent*, TOperation>> Heard;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    Heard.emplace_back(AComponent, Operation);
    if (Operation == opRemove && AComponent == Linked) Linked = nullptr;
  }
};

// Checks in its destructor that BeforeDestruction ran first with the whole object.
class TDying : public TComponent {
  QORN_CLASS(TDying, TComponent)
 public:
  using TComponent::TComponent;
  void BeforeDestruction() override {
    SawWholeObject = ClassName() == L"TDying";
    inherited::BeforeDestruction();
  }
  ~TDying() override { *Flag = SawWholeObject && ComponentState().Contains(csDestroying); }
  bool SawWholeObject = false;
  bool* Flag = nullptr;
};

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<std::wstring> log;
  auto* owner = new TWatcher(nullptr);
  owner->SetName(L"Owner");
  owner->Log = &log;
  for (const wchar_t* n : {L"A", L"B", L"C"}) {
    auto* w = new TWatcher(owner);
    w->SetName(n);
    w->Log = &log;
  }
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1)->Name(), L"B");
  EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
  delete owner;
  // The owner's own destructor body runs first; its components outlive it, as in the
  // platform library, then go last first.
  EXPECT_EQ(log, (std::vector<std::wstring>{L"free Owner", L"free C", L"free B", L"free A"}));
}

TEST(Component, FindComponentIgnoresCaseAndEmptyNames) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName(L"OkButton");
  new TComponent(&owner);  // unnamed
  EXPECT_EQ(owner.FindComponent(L"okbutton"), a);
  EXPECT_EQ(owner.FindComponent(L"OKBUTTON"), a);
  EXPECT_EQ(owner.FindComponent(L""), nullptr);
  EXPECT_EQ(owner.FindComponent(L"Other"), nullptr);
}

TEST(Component, BadNamesAndIndicesThrow) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName(L"Edit1");
  auto* b = new TComponent(&owner);
  struct Case {
    const wchar_t* name;
    const wchar_t* message;
  };
  const Case cases[] = {
      {L"edit1", L"A component named edit1 already exists"},
      {L"1Edit", L"'1Edit' is not a valid component name"},
      {L"Edit 2", L"'Edit 2' is not a valid component name"},
      {L"Ok.Button", L"'Ok.Button' is not a valid component name"},
  };
  for (const auto& c : cases) {
    try {
      b->SetName(c.name);
      ADD_FAILURE() << "no error for name";
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(b->Name(), L"");
  }
  a->SetName(L"EDIT1");  // renaming itself in another case is no clash
  EXPECT_EQ(a->Name(), L"EDIT1");
  b->SetName(L"_Edit2");
  EXPECT_EQ(b->Name(), L"_Edit2");
  try {
    owner.Components(2);
    ADD_FAILURE() << "no error for index 2";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (2)");
  }
  EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(Component, FreedReferenceIsClearedInAnotherOwner) {
  TComponent formA(nullptr), formB(nullptr);
  auto* images = new TComponent(&formA);
  auto* user = new TWatcher(&formB);
  user->SetLinked(images);
  delete images;
  EXPECT_EQ(user->Linked, nullptr);
  ASSERT_FALSE(user->Heard.empty());
  EXPECT_EQ(user->Heard.back().second, opRemove);
}

TEST(Component, FreedReferenceIsClearedInTheSameOwner) {
  TComponent form(nullptr);
  auto* images = new TComponent(&form);
  auto* user = new TWatcher(&form);
  user->SetLinked(images);
  delete images;
  EXPECT_EQ(user->Linked, nullptr);
}

TEST(Component, FreeNotificationWorksBothWays) {
  // Whichever of the two goes first, the other hears of it and forgets it, so the
  // survivor later reaches nothing freed (ASan would see it).
  TWatcher images(nullptr);
  const TComponent* gone = nullptr;
  {
    TWatcher user(nullptr);
    user.SetLinked(&images);
    gone = &user;
  }
  ASSERT_EQ(images.Heard.size(), 1u) << "the linked one hears of the user's end";
  EXPECT_EQ(images.Heard[0], std::make_pair(const_cast<TComponent*>(gone), opRemove));

  TWatcher user(nullptr);
  {
    auto* list = new TWatcher(nullptr);
    user.SetLinked(list);
    gone = list;
    delete list;
  }
  ASSERT_EQ(user.Heard.size(), 1u) << "the user hears of the linked one's end";
  EXPECT_EQ(user.Heard[0], std::make_pair(const_cast<TComponent*>(gone), opRemove));
  EXPECT_EQ(user.Linked, nullptr);

  // Taken back, the link tells nobody anything at either end.
  auto* other = new TWatcher(nullptr);
  other->SetLinked(&images);
  other->SetLinked(nullptr);
  images.Heard.clear();
  delete other;
  EXPECT_TRUE(images.Heard.empty());
  {
    auto* list = new TWatcher(nullptr);
    user.SetLinked(list);
    user.SetLinked(nullptr);
    user.Heard.clear();
    delete list;
  }
  EXPECT_TRUE(user.Heard.empty());
}

TEST(Component, OwnedComponentsHearOfInsertAndRemove) {
  TComponent form(nullptr);
  auto* watcher = new TWatcher(&form);
  auto* c = new TComponent(&form);
  ASSERT_EQ(watcher->Heard.size(), 1u);
  EXPECT_EQ(watcher->Heard[0], std::make_pair(c, opInsert));
  TComponent other(nullptr);
  other.InsertComponent(c);  // moving to another owner removes it from the first
  EXPECT_EQ(c->Owner(), &other);
  EXPECT_EQ(form.ComponentCount(), 1);
  ASSERT_EQ(watcher->Heard.size(), 2u);
  EXPECT_EQ(watcher->Heard[1], std::make_pair(c, opRemove));
}

TEST(Component, InsertingADuplicateNameIsRefused) {
  TComponent a(nullptr), b(nullptr);
  auto* x = new TComponent(&a);
  x->SetName(L"Same");
  auto* y = new TComponent(&b);
  y->SetName(L"same");
  EXPECT_THROW(a.InsertComponent(y), EComponentError);
  EXPECT_EQ(y->Owner(), &b);
}

TEST(Component, DeleteRunsBeforeDestructionOnTheWholeObject) {
  bool ok = false;
  auto* d = new TDying(nullptr);
  d->Flag = &ok;
  delete d;
  EXPECT_TRUE(ok);
  // The owner frees its components by delete too.
  bool okOwned = false;
  auto* owner = new TComponent(nullptr);
  auto* owned = new TDying(owner);
  owned->Flag = &okOwned;
  delete owner;
  EXPECT_TRUE(okOwned);
}

TEST(Component, OwnerMarksOwnedComponentsDestroying) {
  auto* owner = new TComponent(nullptr);
  auto* child = new TComponent(owner);
  auto* grandchild = new TComponent(child);
  owner->Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
  EXPECT_TRUE(grandchild->ComponentState().Contains(csDestroying));
  delete owner;
}

TEST(Object, ClassNameAndTypeTests) {
  TWatcher w(nullptr);
  TObject* o = &w;
  EXPECT_EQ(o->ClassName(), L"TWatcher");
  EXPECT_TRUE(o->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TComponent(nullptr).InheritsFrom(TWatcher::StaticClass()));
  EXPECT_NE(dynamic_cast<TComponent*>(o), nullptr);
  EXPECT_EQ(FindClass(L"twatcher"), &TWatcher::StaticClass());
  EXPECT_EQ(TWatcher::StaticClass().Parent(), &TComponent::StaticClass());
}

class TCounted : public TInterfacedObject {
 public:
  explicit TCounted(bool* freed) : Freed(freed) {}
  ~TCounted() override { *Freed = true; }
  bool* Freed;
};

TEST(Object, InterfacedObjectsGoWithTheirLastReference) {
  bool freed = false;
  auto* o = new TCounted(&freed);
  EXPECT_EQ(o->AddRef(), 1);
  EXPECT_EQ(o->AddRef(), 2);
  EXPECT_EQ(o->Release(), 1);
  EXPECT_FALSE(freed);
  EXPECT_EQ(o->Release(), 0);
  EXPECT_TRUE(freed);
}

TEST(Object, FreeAndNilClearsThePointer) {
  auto* c = new TComponent(nullptr);
  FreeAndNil(c);
  EXPECT_EQ(c, nullptr);
  FreeAndNil(c);  // nothing for nullptr
}

}  // namespace
