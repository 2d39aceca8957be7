// What a component library overrides, the class library itself calls through the
// override: alignment, bringing a child into view, visibility, a list box's lines,
// a label's fitting, the bidi setter, and an image list that keeps its images in a
// form of its own.
#include <gtest/gtest.h>

#include "vcl/ExtCtrls.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"
#include "testing/PumpApplication.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Stacks its children top to bottom, whatever their Align: a layout of its own.
class TStackPanel : public TCustomControl {
  QORN_CLASS(TStackPanel, TCustomControl)
 public:
  explicit TStackPanel(TComponent* AOwner) : TCustomControl(AOwner) { ControlStyle << csAcceptsControls; }
  int Aligned = 0;
  std::vector<TControl*> Shown;
  void AlignControls(TControl*, TRect& rect) override {
    ++Aligned;
    int top = rect.Top;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->GetVisible()) continue;
      c->SetBounds(rect.Left, top, rect.Width(), c->GetHeight());
      top += c->GetHeight();
    }
  }
  // Shows one child at a time, as a page control shows its pages.
  void ShowControl(TControl* control) override {
    Shown.push_back(control);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(Controls(i) == control);
    TCustomControl::ShowControl(control);
  }
};

// A page whose visibility follows a tab of its own, as a tab sheet's does.
class TTabbedPage : public TCustomControl {
  QORN_CLASS(TTabbedPage, TCustomControl)
 public:
  explicit TTabbedPage(TComponent* AOwner) : TCustomControl(AOwner) {}
  bool TabVisible = true;
  bool GetVisible() const override { return TabVisible && TCustomControl::GetVisible(); }
  void SetTabVisible(bool v) {
    TabVisible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (GetParent()) GetParent()->Realign();
  }
};

TEST(Overrides, AContainersOwnLayoutIsWhatResizingAndNewChildrenUse) {
  auto* form = CreateFormNew<TForm>(nullptr);
  std::unique_ptr<TForm> guard(form);
  form->SetBounds(100, 100, 300, 300);
  auto* stack = new TStackPanel(form);
  stack->SetParent(form);
  stack->SetBounds(0, 0, 120, 200);
  auto* a = new TPanel(form);
  a->SetBounds(50, 50, 10, 30);
  a->SetAlign(alLeft);
  a->SetParent(stack);
  auto* b = new TPanel(form);
  b->SetBounds(70, 90, 10, 40);
  b->SetAlign(alRight);
  b->SetParent(stack);
  form->Show();
  const int before = stack->Aligned;
  stack->SetWidth(150);
  EXPECT_GT(stack->Aligned, before);
  // Placed by the override, not by their Align.
  EXPECT_EQ(a->GetBoundsRect(), Bounds(0, 0, 150, 30));
  EXPECT_EQ(b->GetBoundsRect(), Bounds(0, 30, 150, 40));
}

TEST(Overrides, ShowAsksEveryParentToBringTheControlIntoView) {
  auto* form = CreateFormNew<TForm>(nullptr);
  std::unique_ptr<TForm> guard(form);
  auto* pages = new TStackPanel(form);
  pages->SetParent(form);
  auto* first = new TPanel(form);
  first->SetParent(pages);
  auto* second = new TPanel(form);
  second->SetParent(pages);
  auto* edit = new TEdit(form);
  edit->SetParent(second);
  edit->SetVisible(false);
  edit->Show();
  // The page holding the edit was asked for, through the page's own ShowControl.
  ASSERT_EQ(pages->Shown.size(), 1u);
  EXPECT_EQ(pages->Shown[0], second);
  EXPECT_TRUE(edit->GetVisible());
  EXPECT_TRUE(second->GetVisible());
  EXPECT_FALSE(first->GetVisible());
}

TEST(Overrides, AHiddenTabHidesThePageFromLayoutHitTestsAndShowing) {
  auto* form = CreateFormNew<TForm>(nullptr);
  std::unique_ptr<TForm> guard(form);
  form->SetBounds(100, 100, 300, 300);
  auto* page = new TTabbedPage(form);
  page->SetAlign(alTop);
  page->SetHeight(50);
  page->SetParent(form);
  auto* below = new TPanel(form);
  below->SetAlign(alTop);
  below->SetHeight(20);
  below->SetTop(100);
  below->SetParent(form);
  auto* label = new TLabel(form);
  label->SetBounds(5, 5, 40, 15);
  label->SetParent(page);
  form->Show();
  ASSERT_TRUE(page->Showing());
  EXPECT_EQ(below->GetTop(), 50);
  EXPECT_EQ(page->ControlAtPos(TPoint{10, 10}, false), label);

  page->SetTabVisible(false);
  EXPECT_FALSE(page->Showing());
  EXPECT_FALSE(label->Showing());
  EXPECT_EQ(below->GetTop(), 0) << "the hidden page takes no room";
  EXPECT_EQ(form->ControlAtPos(TPoint{10, 10}, false, true), below);
  // The published property, which a form is written from, says what the page answers.
  EXPECT_EQ(page->ClassType().FindProperty(L"Visible")->GetOrd(page), 0);
}

// A list whose lines live in strings of its own: Items, Clear and the form reach them.
class TOwnLinesListBox : public TListBox {
  QORN_CLASS(TOwnLinesListBox, TListBox)
 public:
  explicit TOwnLinesListBox(TComponent* AOwner) : TListBox(AOwner) {}
  TStringList Own;
  TStrings* GetItems() const override { return const_cast<TStringList*>(&Own); }
};

// Counts the library's calls of what a label with borders and turned text overrides.
class TFittingLabel : public TLabel {
  QORN_CLASS(TFittingLabel, TLabel)
 public:
  explicit TFittingLabel(TComponent* AOwner) : TLabel(AOwner) {}
  int Fitted = 0;
  std::vector<TBiDiMode> BiDi;
  void AdjustBounds() override {
    ++Fitted;
    TLabel::AdjustBounds();
  }
  void SetBiDiMode(TBiDiMode v) override {
    BiDi.push_back(v);
    TLabel::SetBiDiMode(v);
  }
};

}  // namespace

QORN_REGISTER_CLASS(TOwnLinesListBox);
QORN_REGISTER_CLASS(TFittingLabel);

namespace {

class TOverridesForm : public TForm {
  QORN_CLASS(TOverridesForm, TForm)
 public:
  explicit TOverridesForm(TComponent* AOwner) : TForm(AOwner) {}
};

TEST(Overrides, AFormAndTheLibraryReachTheOverridesOfItemsFittingAndBiDi) {
  auto* form = CreateFormNew<TOverridesForm>(nullptr);
  std::unique_ptr<TForm> guard(form);
  ReadComponentFromText(form, R"(object OverridesForm: TOverridesForm
  object List1: TOwnLinesListBox
    Items.Strings = (
      'one'
      'two')
  end
  object Label1: TFittingLabel
    AutoSize = True
    BiDiMode = bdRightToLeft
    Caption = 'Fit me'
  end
end
)", L"OVERRIDESFORM");
  auto* list = dynamic_cast<TOwnLinesListBox*>(form->FindComponent(L"List1"));
  auto* label = dynamic_cast<TFittingLabel*>(form->FindComponent(L"Label1"));
  ASSERT_NE(list, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(list->Own.Text(), L"one\r\ntwo\r\n");
  list->Clear();
  EXPECT_EQ(list->Own.Count(), 0);
  EXPECT_EQ(label->BiDi, std::vector<TBiDiMode>{bdRightToLeft});
  const int fitted = label->Fitted;
  EXPECT_GT(fitted, 0) << "Loaded fits the label";
  label->SetCaption(L"A longer caption");
  EXPECT_GT(label->Fitted, fitted);
}

// Keeps each image's source colour beside the pixels, as a PNG list keeps its
// pictures: the operations are its own, the pixel store is kept in step.
class TSourceImageList : public TImageList {
  QORN_CLASS(TSourceImageList, TImageList)
 public:
  explicit TSourceImageList(TComponent* AOwner) : TImageList(AOwner) {
    SetWidth(4);
    SetHeight(4);
  }
  std::vector<TColor> Sources;
  int Updates = 0, Depth = 0, MaxDepth = 0;

  static PixelBuffer Solid(TColor c, int w = 4, int h = 4) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        std::uint8_t* px = p.row(y) + x * 4;
        px[0] = GetBValue(c), px[1] = GetGValue(c), px[2] = GetRValue(c), px[3] = 255;
      }
    return p;
  }
  void Insert(int Index, TBitmap* Image, TBitmap*) override {
    const TColor c = Image->GetPixel(0, 0);
    Sources.insert(Sources.begin() + Index, c);
    StoreInsert(Index, Solid(c, 8, 8));  // scaled to the list's size by the store
  }
  int Add(TBitmap* Image, TBitmap* Mask) override {
    const int index = GetCount();
    Insert(index, Image, Mask);
    return index;
  }
  void Move(int CurIndex, int NewIndex) override {
    const TColor c = Sources[CurIndex];
    Sources.erase(Sources.begin() + CurIndex);
    Sources.insert(Sources.begin() + NewIndex, c);
    StoreMove(CurIndex, NewIndex);
  }
  void Replace(int Index, TBitmap* Image, TBitmap*) override {
    Sources[Index] = Image->GetPixel(0, 0);
    StoreReplace(Index, Solid(Sources[Index]));
  }
  void Delete(int Index) override {
    Sources.erase(Sources.begin() + Index);
    StoreDelete(Index);
  }
  void BeginUpdate() override {
    ++Updates;
    MaxDepth = std::max(MaxDepth, ++Depth);
    TImageList::BeginUpdate();
  }
  void EndUpdate() override {
    --Depth;
    TImageList::EndUpdate();
  }
};

TColor PixelColor(const PixelBuffer& p) {
  const std::uint8_t* px = p.row(0);
  return RGB(px[2], px[1], px[0]);
}

TEST(Overrides, AnImageListKeepsItsOwnImagesAndThePixelStoreInStep) {
  TSourceImageList list(nullptr);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  TBitmap red, green, blue;
  for (auto [bitmap, colour] : {std::pair{&red, clRed}, {&green, clLime}, {&blue, clBlue}}) {
    bitmap->SetSize(4, 4);
    bitmap->GetCanvas()->GetBrush()->SetColor(colour);
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 4, 4));
  }
  TCustomImageList& base = list;  // the calls a control or a menu makes
  base.Add(&red, nullptr);
  base.Add(&blue, nullptr);
  base.Insert(1, &green, nullptr);
  ASSERT_EQ(base.GetCount(), 3);
  EXPECT_EQ(list.Sources, (std::vector<TColor>{clRed, clLime, clBlue}));
  EXPECT_EQ(PixelColor(base.GetPixels(1)), clLime);
  EXPECT_EQ(base.GetPixels(1).width, 4) << "the store fits an image to the list";

  base.Move(0, 2);
  EXPECT_EQ(list.Sources, (std::vector<TColor>{clLime, clBlue, clRed}));
  EXPECT_EQ(PixelColor(base.GetPixels(2)), clRed);
  base.Replace(0, &red, nullptr);
  EXPECT_EQ(PixelColor(base.GetPixels(0)), clRed);
  base.Delete(1);
  EXPECT_EQ(list.Sources, (std::vector<TColor>{clRed, clRed}));
  EXPECT_EQ(base.GetCount(), 2);
  EXPECT_EQ(ImageList_GetImageCount(base.GetHandle()), 2);
  EXPECT_EQ(changes, 6);

  // The library's own batch goes through the list's update calls.
  TSourceImageList copy(nullptr);
  copy.AddImages(&list);
  EXPECT_EQ(copy.Updates, 1);
  EXPECT_EQ(copy.Depth, 0);
  EXPECT_EQ(copy.GetCount(), 2);
}

}  // namespace
