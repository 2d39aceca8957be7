// The published-property table: kinds, defaults, stored rules, inheritance, enums,
// sets, sub-objects, references, events, handlers and message dispatch.
#include <gtest/gtest.h>

#include <string>

#include "vcl/Classes.h"

QORN_ENUM(TTestAlign, taNone, taTop, taBottom, taClient);
QORN_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline);
using TTestStyles = TSet<TTestStyle>;

namespace {

class TTestFont : public TPersistent {
  QORN_CLASS(TTestFont, TPersistent)
 public:
  void Assign(const TPersistent* Source) override {
    if (auto* f = dynamic_cast<const TTestFont*>(Source)) {
      Size = f->Size;
      Styles = f->Styles;
      ++Changes;
      return;
    }
    TPersistent::Assign(Source);
  }
  int Size = 8;
  TTestStyles Styles;
  int Changes = 0;

 private:
  static void Publish(TPublisher<TTestFont>& p) {
    p.Property(L"Size", &TTestFont::Size).Default(8);
    p.Property(L"Style", &TTestFont::Styles).DefaultEmpty();
  }
};

class TBase : public TComponent {
  QORN_CLASS(TBase, TComponent)
 public:
  using TComponent::TComponent;
  ~TBase() override { delete FFont; }
  int GetWidth() const { return FWidth; }
  void SetWidth(int v) {
    FWidth = v;
    ++WidthSets;
  }
  const std::wstring& GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v) { FCaption = v; }
  TTestFont* GetFont() const { return FFont; }
  TBase* GetBuddy() const { return FBuddy; }
  void SetBuddy(TBase* v) { FBuddy = v; }
  bool IsColorStored() const { return !ParentColor; }

  int FWidth = 0;
  int WidthSets = 0;
  std::wstring FCaption;
  TTestFont* FFont = new TTestFont;
  TBase* FBuddy = nullptr;
  TTestAlign Align = taNone;
  bool Visible = true;
  uint8_t Small = 0;
  int Color = 0;
  bool ParentColor = true;
  double Ratio = 1.5;
  TNotifyEvent OnClick;
  TEvent<void(TObject*, int&)> OnKey;

 private:
  static void Publish(TPublisher<TBase>& p) {
    p.Property(L"Width", &TBase::GetWidth, &TBase::SetWidth);
    p.Property(L"Caption", &TBase::GetCaption, &TBase::SetCaption);
    p.Property(L"Align", &TBase::Align).Default(taNone);
    p.Property(L"Visible", &TBase::Visible).Default(true);
    p.Property(L"Small", &TBase::Small).Default(0);
    p.Property(L"Color", &TBase::Color).Stored(&TBase::IsColorStored);
    p.Property(L"ParentColor", &TBase::ParentColor).Default(true);
    p.Property(L"Ratio", &TBase::Ratio).Default(1.5);
    p.Property(L"Font", &TBase::GetFont);
    p.Property(L"Buddy", &TBase::GetBuddy, &TBase::SetBuddy);
    p.Property(L"OnClick", &TBase::OnClick);
    p.Property(L"OnKey", &TBase::OnKey);
  }
};

// Re-declares Align with another default, hides Ratio, adds its own.
class TDerived : public TBase {
  QORN_CLASS(TDerived, TBase)
 public:
  TDerived(TComponent* AOwner) : TBase(AOwner) { Align = taClient; }
  std::wstring Extra;

 private:
  static void Publish(TPublisher<TDerived>& p) {
    p.Property(L"Align", &TDerived::Align).Default(taClient);
    p.Hide(L"Ratio");
    p.Property(L"Extra", &TDerived::Extra);
  }
};

// Declares nothing: inherits the table unchanged.
class TPlain : public TDerived {
  QORN_CLASS(TPlain, TDerived)
 public:
  using TDerived::TDerived;
};

std::vector<std::wstring> Names(const TClassInfo& c) {
  std::vector<std::wstring> out;
  for (auto* p : c.Properties()) out.push_back(p->Name());
  return out;
}

TEST(Properties, InheritedInDeclarationOrderWithRedeclarationInPlace) {
  EXPECT_EQ(Names(TBase::StaticClass()),
            (std::vector<std::wstring>{L"Name", L"Tag", L"Width", L"Caption", L"Align", L"Visible", L"Small",
                                       L"Color", L"ParentColor", L"Ratio", L"Font", L"Buddy", L"OnClick",
                                       L"OnKey"}));
  auto derived = Names(TDerived::StaticClass());
  EXPECT_EQ(derived, (std::vector<std::wstring>{L"Name", L"Tag", L"Width", L"Caption", L"Align", L"Visible",
                                                L"Small", L"Color", L"ParentColor", L"Font", L"Buddy",
                                                L"OnClick", L"OnKey", L"Extra"}));
  EXPECT_EQ(Names(TPlain::StaticClass()), derived);
  EXPECT_EQ(TDerived::StaticClass().FindProperty(L"align")->DefaultOrd(), taClient);
  EXPECT_EQ(TBase::StaticClass().FindProperty(L"ALIGN")->DefaultOrd(), taNone);
  EXPECT_EQ(TDerived::StaticClass().FindProperty(L"Ratio"), nullptr);
}

TEST(Properties, KindsFollowTheTypes) {
  struct Case {
    const wchar_t* name;
    TTypeKind kind;
  };
  const Case cases[] = {
      {L"Width", TTypeKind::Integer},   {L"Caption", TTypeKind::String}, {L"Align", TTypeKind::Enum},
      {L"Visible", TTypeKind::Bool},    {L"Ratio", TTypeKind::Float},    {L"Font", TTypeKind::Class},
      {L"Buddy", TTypeKind::Component}, {L"OnClick", TTypeKind::Method}, {L"Tag", TTypeKind::Integer},
  };
  for (const auto& c : cases) {
    const TPropInfo* p = TBase::StaticClass().FindProperty(c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->Kind(), c.kind) << c.name;
  }
  const TPropInfo* style = TTestFont::StaticClass().FindProperty(L"Style");
  EXPECT_EQ(style->Kind(), TTypeKind::Set);
  EXPECT_EQ(style->Enum()->NameOf(tsUnderline), L"tsUnderline");
  EXPECT_EQ(TBase::StaticClass().FindProperty(L"Small")->MaxValue(), 255);
  EXPECT_EQ(TBase::StaticClass().FindProperty(L"Align")->MaxValue(), 3);
  EXPECT_FALSE(TBase::StaticClass().FindProperty(L"Font")->Writable());
  EXPECT_EQ(TBase::StaticClass().FindProperty(L"Buddy")->PropClass(), &TBase::StaticClass());
}

TEST(Properties, GetAndSetByName) {
  TBase b(nullptr);
  const TClassInfo& c = b.ClassType();
  c.FindProperty(L"Width")->SetOrd(&b, 120);
  c.FindProperty(L"Caption")->SetString(&b, L"Привет");
  c.FindProperty(L"Align")->SetOrd(&b, taBottom);
  c.FindProperty(L"Visible")->SetOrd(&b, 0);
  c.FindProperty(L"Ratio")->SetFloat(&b, 0.25);
  EXPECT_EQ(b.FWidth, 120);
  EXPECT_EQ(b.WidthSets, 1);
  EXPECT_EQ(b.FCaption, L"Привет");
  EXPECT_EQ(b.Align, taBottom);
  EXPECT_FALSE(b.Visible);
  EXPECT_EQ(b.Ratio, 0.25);
  EXPECT_EQ(c.FindProperty(L"Caption")->GetString(&b), L"Привет");
  EXPECT_EQ(c.FindProperty(L"Font")->GetObject(&b), b.FFont);

  // A read-only sub-object takes a value by Assign.
  TTestFont other;
  other.Size = 12;
  c.FindProperty(L"Font")->SetObject(&b, &other);
  EXPECT_EQ(b.FFont->Size, 12);
  EXPECT_EQ(b.FFont->Changes, 1);

  TBase buddy(nullptr);
  c.FindProperty(L"Buddy")->SetObject(&b, &buddy);
  EXPECT_EQ(b.FBuddy, &buddy);
  TComponent notABase(nullptr);
  EXPECT_THROW(c.FindProperty(L"Buddy")->SetObject(&b, &notABase), EPropertyError);
  EXPECT_EQ(b.FBuddy, &buddy);
}

TEST(Properties, WrongKindAndWrongObjectAreErrors) {
  TBase b(nullptr);
  TComponent plain(nullptr);
  const TClassInfo& c = TBase::StaticClass();
  EXPECT_THROW(c.FindProperty(L"Width")->SetString(&b, L"1"), EPropertyError);
  EXPECT_THROW(c.FindProperty(L"Caption")->GetOrd(&b), EPropertyError);
  EXPECT_THROW(c.FindProperty(L"OnClick")->SetOrd(&b, 1), EPropertyError);
  EXPECT_THROW(c.FindProperty(L"Width")->SetOrd(&plain, 1), EPropertyError);
  TTestFont f;
  EXPECT_THROW(f.Assign(&b), EAssignError);
  try {
    f.Assign(nullptr);
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), L"Cannot assign a nil to a TTestFont");
  }
}

TEST(Properties, StoredOnlyWhenDifferentFromDefault) {
  TDerived d(nullptr);
  const TClassInfo& c = TDerived::StaticClass();
  auto stored = [&](const wchar_t* n) { return c.FindProperty(n)->IsStored(&d); };
  // Ordinals without a default are always stored; strings when not empty.
  EXPECT_TRUE(stored(L"Width"));
  EXPECT_FALSE(stored(L"Caption"));
  EXPECT_FALSE(stored(L"Align"));  // the constructor's taClient is the re-declared default
  EXPECT_FALSE(stored(L"Visible"));
  EXPECT_FALSE(stored(L"Buddy"));
  EXPECT_FALSE(stored(L"OnClick"));
  EXPECT_FALSE(stored(L"Name"));  // written in the object line instead
  EXPECT_FALSE(stored(L"Color"));  // the stored function says no while ParentColor
  d.FCaption = L"x";
  d.Align = taNone;
  d.Visible = false;
  d.ParentColor = false;
  d.OnClick = [](TObject*) {};
  EXPECT_TRUE(stored(L"Caption"));
  EXPECT_TRUE(stored(L"Align"));
  EXPECT_TRUE(stored(L"Visible"));
  EXPECT_TRUE(stored(L"Color"));
  EXPECT_TRUE(stored(L"ParentColor"));
  EXPECT_TRUE(stored(L"OnClick"));
  TTestFont f;
  EXPECT_FALSE(TTestFont::StaticClass().FindProperty(L"Style")->IsStored(&f));
  f.Styles << tsItalic;
  EXPECT_TRUE(TTestFont::StaticClass().FindProperty(L"Style")->IsStored(&f));
}

TEST(Properties, EnumNames) {
  const TEnumInfo& e = EnumInfoOf(taNone);
  EXPECT_EQ(e.TypeName(), L"TTestAlign");
  EXPECT_EQ(e.Count(), 4);
  EXPECT_EQ(e.ValueOf(L"TACLIENT"), taClient);
  EXPECT_EQ(e.ValueOf(L"taLeft"), -1);
  EXPECT_EQ(e.NameOf(1), L"taTop");
  EXPECT_EQ(e.NameOf(4), L"");
  EXPECT_EQ(e.NameOf(-1), L"");
}

TEST(Properties, SetOperations) {
  TTestStyles s{tsBold};
  s << tsUnderline;
  EXPECT_TRUE(s.Contains(tsUnderline));
  EXPECT_FALSE(s.Contains(tsItalic));
  EXPECT_EQ(s.Bits(), 0b101u);
  EXPECT_EQ(s - TTestStyles{tsBold}, TTestStyles{tsUnderline});
  EXPECT_EQ(s * (TTestStyles{tsItalic, tsBold}), TTestStyles{tsBold});
  EXPECT_EQ((TTestStyles{tsItalic} + s).Bits(), 0b111u);
  s >> tsBold >> tsUnderline;
  EXPECT_TRUE(s.Empty());
}

// A form with handlers and component fields.
class TTestForm : public TComponent {
  QORN_CLASS(TTestForm, TComponent)
 public:
  using TComponent::TComponent;
  void ButtonClick(TObject* Sender) { Clicked = Sender; }
  void KeyDown(TObject*, int& Key) { Key = 0; }
  TBase* Button1 = nullptr;
  TObject* Clicked = nullptr;

 private:
  static void Publish(TPublisher<TTestForm>& p) {
    p.Handler(L"ButtonClick", &TTestForm::ButtonClick);
    p.Handler(L"KeyDown", &TTestForm::KeyDown);
    p.Field(L"Button1", &TTestForm::Button1);
  }
};

TEST(Properties, HandlersBindByNameAndCompareByObjectAndCode) {
  TTestForm form(nullptr);
  TBase button(nullptr);
  const THandlerInfo* h = TTestForm::StaticClass().FindHandler(L"buttonclick");
  ASSERT_NE(h, nullptr);
  const TPropInfo* onClick = TBase::StaticClass().FindProperty(L"OnClick");
  onClick->SetMethod(&button, h->Bind(&form), h->Signature);
  ASSERT_TRUE(button.OnClick);
  button.OnClick(&button);
  EXPECT_EQ(form.Clicked, &button);
  EXPECT_TRUE(button.OnClick == TNotifyEvent(&form, &TTestForm::ButtonClick));
  TTestForm otherForm(nullptr);
  EXPECT_FALSE(button.OnClick == TNotifyEvent(&otherForm, &TTestForm::ButtonClick));
  EXPECT_EQ(TTestForm::StaticClass().FindHandlerOf(&form, onClick->GetMethod(&button)), h);
  EXPECT_EQ(TTestForm::StaticClass().FindHandlerOf(&otherForm, onClick->GetMethod(&button)), nullptr);

  // A handler of another parameter list is refused.
  const THandlerInfo* key = TTestForm::StaticClass().FindHandler(L"KeyDown");
  EXPECT_THROW(onClick->SetMethod(&button, key->Bind(&form), key->Signature), EPropertyError);
  TBase::StaticClass().FindProperty(L"OnKey")->SetMethod(&button, key->Bind(&form), key->Signature);
  int k = 13;
  button.OnKey(&button, k);
  EXPECT_EQ(k, 0);

  const TFieldInfo* f = TTestForm::StaticClass().FindField(L"button1");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->Set(&form, &button));
  EXPECT_EQ(form.Button1, &button);
  TComponent wrong(nullptr);
  EXPECT_FALSE(f->Set(&form, &wrong));
}

TEST(Properties, FieldsFollowTheirComponentsNameAndLife) {
  TTestForm form(nullptr);
  auto* b = new TBase(&form);
  EXPECT_EQ(form.Button1, nullptr);
  b->SetName(L"Button1");  // named: the field points at it
  EXPECT_EQ(form.Button1, b);
  b->SetName(L"Other");  // renamed: the field lets go
  EXPECT_EQ(form.Button1, nullptr);
  b->SetName(L"button1");
  EXPECT_EQ(form.Button1, b);
  delete b;  // freed: no dangling field
  EXPECT_EQ(form.Button1, nullptr);

  auto* wrong = new TComponent(&form);
  wrong->SetName(L"Button1");  // not a TBase: the field stays empty
  EXPECT_EQ(form.Button1, nullptr);
  TBase elsewhere(nullptr);
  form.Button1 = &elsewhere;  // set by hand: freeing a namesake leaves it
  delete wrong;
  EXPECT_EQ(form.Button1, &elsewhere);
  form.Button1 = nullptr;
}

TEST(Events, LambdasAndEmptyEvents) {
  TNotifyEvent e;
  EXPECT_FALSE(e);
  EXPECT_TRUE(e == nullptr);
  int calls = 0;
  e = [&](TObject*) { ++calls; };
  TNotifyEvent copy = e;
  copy(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(copy == e);
  TNotifyEvent another = [&](TObject*) { ++calls; };
  EXPECT_FALSE(another == e);
  e = nullptr;
  EXPECT_FALSE(e);
}

// Message records: the first 32 bits name the message.
struct TTestMsg {
  uint32_t Msg;
  intptr_t Result;
};
class TReceiver : public TObject {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info(L"TReceiver", &TObject::StaticClass(), nullptr, nullptr, &InitClassInfo<TReceiver>);
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void WMOne(TTestMsg& m) { m.Result = 1; }
  void WMTwo(TTestMsg& m) { m.Result = 2; }
  void DefaultHandler(void* m) override { static_cast<TTestMsg*>(m)->Result = -1; }
  static void Publish(TPublisher<TReceiver>& p) {
    p.Message(0x401, &TReceiver::WMOne);
    p.Message(0x402, &TReceiver::WMTwo);
  }
};
class TOverrider : public TReceiver {
  QORN_CLASS(TOverrider, TReceiver)
 public:
  void WMTwoAgain(TTestMsg& m) {
    DispatchAs(TReceiver::StaticClass(), &m);  // inherited
    m.Result *= 10;
  }

 private:
  static void Publish(TPublisher<TOverrider>& p) { p.Message(0x402, &TOverrider::WMTwoAgain); }
};

TEST(Dispatch, MessagesReachTheirHandlersAlongTheClassChain) {
  TOverrider o;
  struct Case {
    uint32_t msg;
    intptr_t result;
  };
  const Case cases[] = {{0x401, 1}, {0x402, 20}, {0x403, -1}, {0, -1}};
  for (const auto& c : cases) {
    TTestMsg m{c.msg, 0};
    o.Dispatch(&m);
    EXPECT_EQ(m.Result, c.result) << c.msg;
  }
  TReceiver r;
  TTestMsg m{0x402, 0};
  r.Dispatch(&m);
  EXPECT_EQ(m.Result, 2);
}

}  // namespace
