// Names that cannot clash: each component library declares its names in its own
// namespace, so the Parts' names (TTransparentMode of the flat controls, sdLeft and
// sdRight of the extended library's TSide) live beside the class library's own, and
// a form resource finds each enum value through its property's own type.
#include <gtest/gtest.h>

#include "vcl/Bitmap.h"
#include "vcl/ComCtrls.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

namespace Flat {

QORN_ENUM(TTransparentMode, tmAlways, tmNotFocused, tmNone);

class TFlatProbe : public TGraphicControl {
  QORN_CLASS(TFlatProbe, TGraphicControl)
 public:
  explicit TFlatProbe(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TTransparentMode FTransparentMode = tmNone;

 private:
  static void Publish(TPublisher<TFlatProbe>& p) {
    p.Property(L"TransparentMode", &TFlatProbe::FTransparentMode).Default(tmNone);
  }
};

}  // namespace Flat

namespace Vy {

QORN_ENUM(TSide, sdLeft, sdTop, sdRight, sdBottom);
using TSides = TSet<TSide>;

class TVyProbe : public TCustomControl {
  QORN_CLASS(TVyProbe, TCustomControl)
 public:
  explicit TVyProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
  TSide FSide = sdLeft;
  TSides FSides{sdLeft, sdTop, sdRight, sdBottom};

 private:
  static void Publish(TPublisher<TVyProbe>& p) {
    p.Property(L"Side", &TVyProbe::FSide).Default(sdLeft);
    p.Property(L"Sides", &TVyProbe::FSides);
  }
};

}  // namespace Vy

QORN_REGISTER_CLASS(Flat::TFlatProbe);
QORN_REGISTER_CLASS(Vy::TVyProbe);

namespace {

class TNamesForm : public TForm {
  QORN_CLASS(TNamesForm, TForm)
 public:
  explicit TNamesForm(TComponent* AOwner) : TForm(AOwner) {}
};

TEST(Names, TheLibrariesNamesLiveBesideTheClassLibrarysOwn) {
  // The class library's values of the same spelling keep their own types.
  static_assert(std::is_same_v<decltype(tmFixed), TTransparentMode>);
  static_assert(std::is_same_v<decltype(sdRight), TSearchDirection>);
  static_assert(!std::is_same_v<Flat::TTransparentMode, TTransparentMode>);
  static_assert(static_cast<int>(Vy::sdRight) == 2 && static_cast<int>(sdRight) == 1);
  EXPECT_EQ(Flat::TFlatProbe::StaticClass().Name(), L"TFlatProbe");
  EXPECT_EQ(FindClass(L"TVyProbe"), &Vy::TVyProbe::StaticClass());
}

TEST(Names, AFormFindsEachValueThroughItsPropertysType) {
  TBitmap bitmap;
  bitmap.SetTransparentMode(tmFixed);
  auto* form = CreateFormNew<TNamesForm>(nullptr);
  ReadComponentFromText(form, R"(object NamesForm: TNamesForm
  object Flat1: TFlatProbe
    TransparentMode = tmNotFocused
  end
  object Vy1: TVyProbe
    Side = sdRight
    Sides = [sdLeft, sdBottom]
  end
end
)", L"NAMESFORM");
  auto* flat = dynamic_cast<Flat::TFlatProbe*>(form->FindComponent(L"Flat1"));
  auto* vy = dynamic_cast<Vy::TVyProbe*>(form->FindComponent(L"Vy1"));
  ASSERT_NE(flat, nullptr);
  ASSERT_NE(vy, nullptr);
  EXPECT_EQ(flat->FTransparentMode, Flat::tmNotFocused);
  EXPECT_EQ(vy->FSide, Vy::sdRight);
  EXPECT_EQ(vy->FSides, (Vy::TSides{Vy::sdLeft, Vy::sdBottom}));
  // Written back, each value keeps its own name.
  const std::string text = WriteComponentToText(form);
  EXPECT_NE(text.find("TransparentMode = tmNotFocused"), std::string::npos) << text;
  EXPECT_NE(text.find("Side = sdRight"), std::string::npos) << text;
  EXPECT_EQ(bitmap.GetTransparentMode(), tmFixed);
  delete form;
}

TEST(Names, AValueOfAnotherTypeIsRefused) {
  auto* form = CreateFormNew<TNamesForm>(nullptr);
  // sdAbove is the class library's search direction, no TSide.
  EXPECT_THROW(ReadComponentFromText(form, R"(object NamesForm: TNamesForm
  object Vy1: TVyProbe
    Side = sdAbove
  end
end
)", L"NAMESFORM"), EFilerError);
  delete form;
}

}  // namespace
