// Small component classes for the form reader and writer tests: a control that nests,
// a font-like sub-object, a string list kept as custom data, a collection, a form with
// handlers and fields.
#pragma once
#include <string>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Filer.h"

QORN_ENUM(TTestAlign, alNone, alTop, alBottom, alClient);
QORN_ENUM(TTestFontStyle, fsBold, fsItalic, fsUnderline);
using TTestFontStyles = TSet<TTestFontStyle>;

namespace testcomp {

// What happened while loading, in order.
inline std::vector<std::wstring>& Log() {
  static std::vector<std::wstring> log;
  return log;
}

inline bool ColorToIdent(int64_t v, std::wstring& s) {
  if (v == 0x0000FF) s = L"clRed";
  else if (v == 0xFF0000) s = L"clBlue";
  else return false;
  return true;
}
inline bool IdentToColor(std::wstring_view s, int64_t& v) {
  if (SameIdent(s, L"clRed")) v = 0x0000FF;
  else if (SameIdent(s, L"clBlue")) v = 0xFF0000;
  else return false;
  return true;
}
inline const TIdentMap ColorIdents{&ColorToIdent, &IdentToColor};

class TTestFont : public TPersistent {
  QORN_CLASS(TTestFont, TPersistent)
 public:
  int Size = 8;
  std::wstring FaceName = L"Tahoma";
  TTestFontStyles Style;

 private:
  static void Publish(TPublisher<TTestFont>& p) {
    p.Property(L"Name", &TTestFont::FaceName).Default(L"Tahoma");
    p.Property(L"Size", &TTestFont::Size).Default(8);
    p.Property(L"Style", &TTestFont::Style).DefaultEmpty();
  }
};

// Lines kept as custom data "Strings", as a string list keeps them.
class TTestStrings : public TPersistent {
  QORN_CLASS(TTestStrings, TPersistent)
 public:
  std::vector<std::wstring> Lines;

 protected:
  void DefineProperties(TFiler& Filer) override {
    Filer.DefineProperty(
        L"Strings",
        [this](TReader& r) {
          Lines.clear();
          r.ReadListBegin();
          while (!r.EndOfList()) Lines.push_back(r.ReadString());
          r.ReadListEnd();
        },
        [this](TWriter& w) {
          w.WriteListBegin();
          for (const auto& l : Lines) w.WriteString(l);
          w.WriteListEnd();
        },
        !Lines.empty());
  }
};

class TTestItem : public TCollectionItem {
  QORN_CLASS(TTestItem, TCollectionItem)
 public:
  explicit TTestItem(TCollection* c) : TCollectionItem(c) {}
  int Width = 50;
  std::wstring Caption;
  void Assign(const TPersistent* Source) override {
    if (auto* o = dynamic_cast<const TTestItem*>(Source)) {
      Width = o->Width;
      Caption = o->Caption;
      return;
    }
    TCollectionItem::Assign(Source);
  }

 private:
  static void Publish(TPublisher<TTestItem>& p) {
    p.Property(L"Caption", &TTestItem::Caption);
    p.Property(L"Width", &TTestItem::Width).Default(50);
  }
};

class TTestControl : public TComponent {
  QORN_CLASS(TTestControl, TComponent)
 public:
  explicit TTestControl(TComponent* AOwner) : TComponent(AOwner) { Columns.SetPropName(L"Columns"); }
  ~TTestControl() override {
    SetParent(nullptr);
    for (auto* c : Children) c->FParent = nullptr;
  }

  TTestControl* Parent() const { return FParent; }
  void SetParent(TTestControl* p) {
    if (FParent) std::erase(FParent->Children, this);
    FParent = p;
    if (p) p->Children.push_back(this);
  }
  bool HasParent() const override { return FParent != nullptr; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override { SetParent(dynamic_cast<TTestControl*>(Value)); }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
    if (Root == this)
      for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) Proc(Components(i));
    for (auto* c : Children)
      if (c->Owner() == Root) Proc(c);
  }

  const std::wstring& GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v) {
    ParentWhenCaptionSet = FParent;
    FCaption = v;
    if (OnChange) OnChange(this);
  }
  TTestControl* GetBuddy() const { return FBuddy; }
  void SetBuddy(TTestControl* v) {
    if (FBuddy) FBuddy->RemoveFreeNotification(this);
    FBuddy = v;
    if (v) v->FreeNotification(this);
  }
  TTestFont* GetFont() const { return const_cast<TTestFont*>(&FFont); }
  TTestStrings* GetItems() const { return const_cast<TTestStrings*>(&FItems); }
  TCollection* GetColumns() const { return const_cast<TCollection*>(&Columns); }
  bool IsColorStored() const { return !ParentColor; }

  void Loaded() override {
    Log().push_back(L"Loaded " + Name() + (ComponentState().Contains(csLoading) ? L"" : L" (not loading)") +
                    (FBuddy ? L" buddy " + FBuddy->Name() : L""));
    inherited::Loaded();
  }

  int Left = 0, Top = 0, Width = 0;
  TTestAlign Align = alNone;
  bool Visible = true;
  bool Flat = false;
  int Color = 0xFFFFFF;
  bool ParentColor = true;
  double Ratio = 1.0;
  int64_t Big = 0;
  std::vector<uint8_t> Glyph;
  TNotifyEvent OnClick, OnChange;
  TEvent<void(TObject*, int&)> OnKey;
  TTestControl* ParentWhenCaptionSet = nullptr;
  std::vector<TTestControl*> Children;
  TCollection Columns{TTestItem::StaticClass(), this};

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
  }
  void DefineProperties(TFiler& Filer) override {
    inherited::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        L"Glyph", [this](const std::vector<uint8_t>& d) { Glyph = d; },
        [this](std::vector<uint8_t>& d) { d = Glyph; }, !Glyph.empty());
    // An old name: read and mapped, never written.
    Filer.DefineProperty(L"OldFlat", [this](TReader& r) { Flat = r.ReadBoolean(); }, nullptr, false);
  }

 private:
  static void Publish(TPublisher<TTestControl>& p) {
    p.Property(L"Left", &TTestControl::Left);
    p.Property(L"Top", &TTestControl::Top);
    p.Property(L"Width", &TTestControl::Width).Default(0);
    p.Property(L"Align", &TTestControl::Align).Default(alNone);
    p.Property(L"Caption", &TTestControl::GetCaption, &TTestControl::SetCaption);
    p.Property(L"Visible", &TTestControl::Visible).Default(true);
    p.Property(L"Flat", &TTestControl::Flat).Default(false);
    p.Property(L"Color", &TTestControl::Color).Idents(ColorIdents).Stored(&TTestControl::IsColorStored);
    p.Property(L"ParentColor", &TTestControl::ParentColor).Default(true);
    p.Property(L"Ratio", &TTestControl::Ratio).Default(1.0);
    p.Property(L"Big", &TTestControl::Big).Default(0);
    p.Property(L"Font", &TTestControl::GetFont);
    p.Property(L"Items", &TTestControl::GetItems);
    p.Property(L"Columns", &TTestControl::GetColumns);
    p.Property(L"Buddy", &TTestControl::GetBuddy, &TTestControl::SetBuddy);
    p.Property(L"OnClick", &TTestControl::OnClick);
    p.Property(L"OnChange", &TTestControl::OnChange);
    p.Property(L"OnKey", &TTestControl::OnKey);
  }

  TTestControl* FParent = nullptr;
  std::wstring FCaption;
  TTestControl* FBuddy = nullptr;
  TTestFont FFont;
  TTestStrings FItems;
};

// A non-visual component: no parent, written among the root's own children.
class TTestTimer : public TComponent {
  QORN_CLASS(TTestTimer, TComponent)
 public:
  using TComponent::TComponent;
  int Interval = 1000;

 private:
  static void Publish(TPublisher<TTestTimer>& p) { p.Property(L"Interval", &TTestTimer::Interval).Default(1000); }
};

class TTestForm : public TTestControl {
  QORN_CLASS(TTestForm, TTestControl)
 public:
  using TTestControl::TTestControl;
  void ButtonClick(TObject* Sender) { Clicks.push_back(Sender); }
  void CaptionChanged(TObject*) { ++Changes; }
  void EditKey(TObject*, int& Key) { Key = 0; }
  TTestControl* Button1 = nullptr;
  TTestControl* Panel1 = nullptr;
  TTestTimer* Timer1 = nullptr;
  std::vector<TObject*> Clicks;
  int Changes = 0;

 private:
  static void Publish(TPublisher<TTestForm>& p) {
    p.Handler(L"ButtonClick", &TTestForm::ButtonClick);
    p.Handler(L"CaptionChanged", &TTestForm::CaptionChanged);
    p.Handler(L"EditKey", &TTestForm::EditKey);
    p.Field(L"Button1", &TTestForm::Button1);
    p.Field(L"Panel1", &TTestForm::Panel1);
    p.Field(L"Timer1", &TTestForm::Timer1);
  }
};

}  // namespace testcomp
