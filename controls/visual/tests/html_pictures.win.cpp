// Pictures in the HTML label: named ones from its picture container, address ones
// through its picture cache, GIF frames at their places and moved on by the clock,
// and data that is no picture refused without harm.
#include <gtest/gtest.h>

#include "controls/visual/HTMLPicture.h"
#include "controls/visual/HTMLabel.h"
#include "testing/GifWriter.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

#include <chrono>

using namespace std::chrono_literals;
using Flat::THTMLabel;
using Flat::THTMLPicture;
using Bytes = std::vector<std::uint8_t>;

namespace {

class TTestHTMLPictureForm : public TForm {
  QORN_CLASS(TTestHTMLPictureForm, TForm)
 public:
  explicit TTestHTMLPictureForm(TComponent* AOwner) : TForm(AOwner) {}
  Flat::TPictureContainer* Pictures1 = nullptr;
  THTMLabel* Label1 = nullptr;

 private:
  static void Publish(TPublisher<TTestHTMLPictureForm>& p) {
    p.Field(L"Pictures1", &TTestHTMLPictureForm::Pictures1);
    p.Field(L"Label1", &TTestHTMLPictureForm::Label1);
  }
};
QORN_REGISTER_CLASS(TTestHTMLPictureForm);

// The logical screen behind the frames is white (palette index 3).
Bytes WriteGif(int screenW, int screenH, const std::vector<qorn::testing::TGifFrame>& frames) {
  return qorn::testing::WriteAnimatedGif(screenW, screenH, frames, 3);
}

// A 12 x 10 lime logo, and a 20 x 16 animation: a red frame, a lime one at (4, 3),
// a blue one at (10, 8), showing 100, 200 and 100 ms.
const Bytes& Logo() {
  static const Bytes b = WriteGif(12, 10, {{0, 0, 12, 10, 1, 0}});
  return b;
}
const Bytes& Animation() {
  static const Bytes b = WriteGif(20, 16, {{0, 0, 20, 16, 0, 10}, {4, 3, 6, 5, 1, 20}, {10, 8, 3, 3, 2, 10}});
  return b;
}

class HTMLPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestHTMLPictureForm>(Application);
    form->Show();
    Pump(50ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  THTMLPicture* AddPicture(const wchar_t* name, const Bytes& data) {
    Flat::TPictureItem* item = form->Pictures1->GetItems()->Add();
    item->SetName(name);
    try {
      item->GetPicture()->LoadFromBytes(data);
    } catch (const EInvalidGraphic&) {
    }
    return item->GetPicture();
  }
  TTestHTMLPictureForm* form = nullptr;
};

void SetText(THTMLabel* label, const std::wstring& text) {
  TStringList lines;
  lines.SetText(text);
  label->SetHTMLText(&lines);
}

std::unique_ptr<TBitmap> Render(THTMLabel* label, int w = 200, int h = 40) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(w, h);
  bmp->GetCanvas()->GetBrush()->SetColor(clWhite);
  bmp->GetCanvas()->FillRect(TRect{0, 0, w, h});
  bmp->GetCanvas()->GetFont()->SetColor(clBlack);
  label->PaintToCanvas(bmp->GetCanvas(), TRect{0, 0, w, h});
  return bmp;
}

// The smallest rectangle holding every pixel of the colour, and how many there are.
struct Found {
  TRect box{-1, -1, -1, -1};
  int count = 0;
};
Found FindColour(TCanvas* canvas, TColor c, int w, int h) {
  Found f;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (canvas->GetPixel(x, y) != c) continue;
      if (f.count++ == 0) f.box = TRect{x, y, x + 1, y + 1};
      f.box.Left = std::min(f.box.Left, x);
      f.box.Top = std::min(f.box.Top, y);
      f.box.Right = std::max(f.box.Right, x + 1);
      f.box.Bottom = std::max(f.box.Bottom, y + 1);
    }
  return f;
}

// What the label's window shows now, copied from the screen.
std::unique_ptr<TBitmap> Shot(THTMLabel* label) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(label->GetWidth(), label->GetHeight());
  HWND parent = label->GetParent()->GetHandle();
  HDC dc = GetDC(parent);
  BitBlt(bmp->GetCanvas()->GetHandle(), 0, 0, label->GetWidth(), label->GetHeight(), dc, label->GetLeft(),
         label->GetTop(), SRCCOPY);
  ReleaseDC(parent, dc);
  return bmp;
}

}  // namespace

TEST_F(HTMLPictures, NamedPictureTakesItsRoomAndShows) {
  THTMLabel* l = form->Label1;
  ASSERT_EQ(l->GetPictureContainer(), form->Pictures1);  // the reference streamed by name
  AddPicture(L"Logo", Logo());
  SetText(l, L"AB");
  Render(l);
  const int plain = l->GetTextWidth();
  SetText(l, L"A<IMG src=\"logo\">B");  // names ignore case
  auto bmp = Render(l);
  EXPECT_EQ(l->GetTextWidth(), plain + 12);
  const Found lime = FindColour(bmp->GetCanvas(), clLime, 200, 40);
  EXPECT_EQ(lime.count, 12 * 10);
  EXPECT_EQ(lime.box.Width(), 12);
  EXPECT_EQ(lime.box.Height(), 10);
  EXPECT_GT(lime.box.Left, 0);  // after the "A"

  // A name the container lacks takes no room and draws nothing.
  SetText(l, L"A<IMG src=\"nosuch\">B");
  bmp = Render(l);
  EXPECT_EQ(l->GetTextWidth(), plain);
  EXPECT_EQ(FindColour(bmp->GetCanvas(), clLime, 200, 40).count, 0);
}

TEST_F(HTMLPictures, GifFrameShowsAtItsPlace) {
  THTMLabel* l = form->Label1;
  THTMLPicture* anim = AddPicture(L"anim", Animation());
  ASSERT_EQ(anim->FrameCount(), 3);
  EXPECT_EQ(anim->GetWidth(), 20);
  SetText(l, L"<IMG src=\"anim\">x");
  auto bmp = Render(l);
  const Found red = FindColour(bmp->GetCanvas(), clRed, 200, 40);
  EXPECT_EQ(red.count, 20 * 16);
  const int width = l->GetTextWidth();
  anim->SetFrame(2);
  bmp = Render(l);
  const Found lime = FindColour(bmp->GetCanvas(), clLime, 200, 40);
  EXPECT_EQ(FindColour(bmp->GetCanvas(), clRed, 200, 40).count, 0);
  EXPECT_EQ(lime.count, 6 * 5);
  EXPECT_EQ(lime.box.Left, red.box.Left + 4);
  EXPECT_EQ(lime.box.Top, red.box.Top + 3);
  // The animation keeps its whole room whatever frame shows: the text beside it
  // does not move as frames change.
  EXPECT_EQ(l->GetTextWidth(), width);

  // Stretched, the frame keeps its place and share of the picture.
  SetText(l, L"<IMG src=\"anim\" width=\"40\" height=\"32\">");
  bmp = Render(l, 200, 40);
  const Found big = FindColour(bmp->GetCanvas(), clLime, 200, 40);
  EXPECT_EQ(big.box.Left, red.box.Left + 8);
  EXPECT_EQ(big.box.Top, red.box.Top + 6);
  EXPECT_EQ(big.box.Width(), 12);
  EXPECT_EQ(big.box.Height(), 10);
  // Animating goes on from a chosen frame, not from the first.
  anim->SetFrame(2);
  anim->StartAnimation(5000);
  EXPECT_FALSE(anim->Animate(5199));
  EXPECT_TRUE(anim->Animate(5200));
  EXPECT_EQ(anim->GetFrame(), 3);
  anim->SetFrame(7);  // kept within the frames
  EXPECT_EQ(anim->GetFrame(), 3);
  EXPECT_EQ(anim->FrameLeft(), 10);
  EXPECT_EQ(anim->FrameTop(), 8);
}

TEST_F(HTMLPictures, AnimationMovesWithTheClockAlone) {
  TManualClock clock;
  TClockOverride useClock(clock);
  // The frames are read from the screen: keep the form above the windows of tests
  // running beside this one.
  SetWindowPos(form->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  THTMLabel* l = form->Label1;
  THTMLPicture* anim = AddPicture(L"anim", Animation());
  int changes = 0;
  anim->OnFrameChange = [&](TObject*) { ++changes; };
  SetText(l, L"<IMG src=\"anim\">");
  l->Invalidate();
  auto shows = [&](TColor c, int pixels) {
    return PumpUntil([&] { return FindColour(Shot(l)->GetCanvas(), c, l->GetWidth(), l->GetHeight()).count == pixels; },
                     5s);
  };
  ASSERT_TRUE(shows(clRed, 20 * 16));
  Pump(100ms);  // real time passing moves nothing: only the program's clock does
  EXPECT_EQ(anim->GetFrame(), 1);
  EXPECT_EQ(changes, 0);

  clock.Advance(100);
  EXPECT_TRUE(shows(clLime, 6 * 5));
  EXPECT_EQ(anim->GetFrame(), 2);
  clock.Advance(199);
  Pump(60ms);
  PumpDueTimers();
  EXPECT_EQ(anim->GetFrame(), 2);  // the second frame shows for its own 200 ms
  clock.Advance(21);               // past the end of its 200 ms and the label's next look
  EXPECT_TRUE(shows(clBlue, 3 * 3));
  clock.Advance(100);  // and round to the first again
  EXPECT_TRUE(shows(clRed, 20 * 16));
  EXPECT_EQ(changes, 3);
}

// Outside text may ask for pictures of any size, or tiny ones over a label of any
// size: what is drawn stays within the label's arithmetic and its visible part.
TEST_F(HTMLPictures, HostileSizesStayBounded) {
  THTMLabel* l = form->Label1;
  AddPicture(L"logo", Logo());
  // A frame reaching past the picture's edge is cut there, not drawn over the text.
  AddPicture(L"stray", WriteGif(20, 16, {{15, 12, 10, 10, 1, 0}}));
  SetText(l, L"<IMG src=\"stray\">");
  auto bmp = Render(l);
  EXPECT_EQ(FindColour(bmp->GetCanvas(), clLime, 200, 40).count, 5 * 4);

  SetText(l, L"<IMG src=\"logo\" width=\"999999999\" height=\"999999999\">");
  bmp = Render(l);
  EXPECT_EQ(l->GetTextWidth(), 16384 + 2);  // the largest picture there may be
  EXPECT_EQ(bmp->GetCanvas()->GetPixel(100, 20), clLime);

  // A one-pixel background, over a rectangle far larger than the canvas it is drawn
  // on: only the cells the canvas can show are drawn, and the call returns at once.
  AddPicture(L"dot", WriteGif(1, 1, {{0, 0, 1, 1, 2, 0}}));
  SetText(l, L"<BODY background=\"dot\"><BR><BR>Tiled over all of it");
  TBitmap huge;
  huge.SetSize(200, 40);
  huge.GetCanvas()->GetBrush()->SetColor(clWhite);
  huge.GetCanvas()->FillRect(TRect{0, 0, 200, 40});
  l->PaintToCanvas(huge.GetCanvas(), TRect{0, 0, 200 + 65535, 40 + 65535});
  for (TPoint p : {TPoint{0, 0}, TPoint{199, 0}, TPoint{0, 39}, TPoint{199, 39}})
    EXPECT_EQ(huge.GetCanvas()->GetPixel(p.X, p.Y), clBlue) << p.X << "," << p.Y;

  // And the same over an auto-sizing label, on the screen.
  SetWindowPos(form->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  l->SetAutoSizeType(Flat::asBoth);
  l->SetAutoSizing(true);
  l->RedrawNow();
  ASSERT_TRUE(PumpUntil(
      [&] {
        auto shot = Shot(l);
        const int w = l->GetWidth(), h = l->GetHeight();
        TCanvas* c = shot->GetCanvas();
        return w > 0 && h > 0 && c->GetPixel(0, 0) == clBlue && c->GetPixel(w - 1, 0) == clBlue &&
               c->GetPixel(0, h - 1) == clBlue && c->GetPixel(w - 1, h - 1) == clBlue;
      },
      5s));
}

TEST_F(HTMLPictures, DataThatIsNoPictureIsRefused) {
  const Bytes& good = Animation();
  const Bytes truncated(good.begin(), good.begin() + std::ptrdiff_t(good.size() * 2 / 3));
  const Bytes garbage = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 0x04};
  const Bytes notPicture = {'h', 'e', 'l', 'l', 'o'};
  struct Case {
    const char* name;
    const Bytes* data;
  } cases[] = {
      {"truncated GIF", &truncated}, {"GIF header only", &garbage}, {"text", &notPicture}, {"nothing", nullptr}};
  THTMLabel* l = form->Label1;
  SetText(l, L"AB");
  Render(l);
  const int plain = l->GetTextWidth();
  for (const Case& c : cases) {
    THTMLPicture p;
    const Bytes empty;
    EXPECT_THROW(p.LoadFromBytes(c.data ? *c.data : empty), EInvalidGraphic) << c.name;
    EXPECT_TRUE(p.Empty()) << c.name;
    EXPECT_EQ(p.GetWidth(), 0) << c.name;
    EXPECT_TRUE(p.SaveToBytes().empty()) << c.name;

    form->Pictures1->GetItems()->Clear();
    AddPicture(L"bad", c.data ? *c.data : empty);
    SetText(l, L"A<IMG src=\"bad\">B");
    Render(l);
    EXPECT_EQ(l->GetTextWidth(), plain) << c.name;
  }
  // A good picture loaded over a bad one's failure is whole again.
  THTMLPicture p;
  EXPECT_THROW(p.LoadFromBytes(truncated), EInvalidGraphic);
  p.LoadFromBytes(good);
  EXPECT_EQ(p.FrameCount(), 3);
}

TEST_F(HTMLPictures, AddressesLoadFilesAndResourcesOnly) {
  qorn::testing::TempDir dir("htmlpic");
  const auto goodFile = dir / "logo.gif";
  const auto badFile = dir / "bad.gif";
  qorn::testing::WriteFileBytes(goodFile, std::string(Logo().begin(), Logo().end()));
  qorn::testing::WriteFileBytes(badFile, "GIF89a not really");

  struct Case {
    std::wstring address;
    bool loads;
  } cases[] = {
      {L"file://" + goodFile.wstring(), true}, {L"FILE://" + goodFile.wstring(), true},
      {L"file://" + badFile.wstring(), false}, {L"file://" + (dir / "missing.gif").wstring(), false},
      {L"http://example.org/logo.gif", false}, {L"res://NOSUCHPICTURE", false},
      {L"res://TESTHTMLPICTUREFORM", false},  // a resource that is no picture
  };
  for (const Case& c : cases) {
    THTMLPicture p;
    p.LoadFromURL(c.address);  // never throws
    EXPECT_EQ(!p.Empty(), c.loads) << std::string(c.address.begin(), c.address.end());
    EXPECT_EQ(p.GetID(), c.address);
  }

  // The label loads an address once into its cache and forgets it with its text.
  THTMLabel* l = form->Label1;
  const std::wstring address = L"file://" + goodFile.wstring();
  SetText(l, L"<IMG src=\"" + address + L"\"> <IMG src=\"" + address + L"\"> <IMG src=\"http://example.org/x.gif\">");
  auto bmp = Render(l);
  EXPECT_EQ(l->GetPictureCache()->Count(), 2);
  EXPECT_EQ(FindColour(bmp->GetCanvas(), clLime, 200, 40).count, 2 * 12 * 10);
  SetText(l, L"none");
  EXPECT_EQ(l->GetPictureCache()->Count(), 0);
}

// Resource pictures: a copy of this program with RCDATA pictures added, opened as data.
TEST_F(HTMLPictures, ResourcePicturesLoadFromTheirModule) {
  qorn::testing::TempDir dir("htmlres");
  wchar_t self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  const auto copy = dir / "pictures.exe";
  ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
  const Bytes& good = Animation();
  const Bytes broken(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2));
  HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  auto add = [&](const wchar_t* name, const Bytes& data) {
    EXPECT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(10) /* RT_RCDATA */, name,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), const_cast<std::uint8_t*>(data.data()),
                                DWORD(data.size())));
  };
  add(L"ANIM", good);
  add(L"BROKEN", broken);
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
  HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);

  THTMLPicture p;
  p.LoadFromResourceName(module, L"anim");  // resource names ignore case
  EXPECT_EQ(p.FrameCount(), 3);
  EXPECT_EQ(p.GetWidth(), 20);
  p.LoadFromResourceName(module, L"BROKEN");
  EXPECT_TRUE(p.Empty());
  p.LoadFromResourceName(module, L"NOSUCH");
  EXPECT_TRUE(p.Empty());
  FreeLibrary(module);
}

TEST_F(HTMLPictures, ContainerFindsIgnoringCaseAndLeavesWithItsRemoval) {
  SetText(form->Label1, L"");
  Render(form->Label1);
  const int empty = form->Label1->GetTextWidth();
  THTMLPicture* logo = AddPicture(L"Logo", Logo());
  EXPECT_EQ(form->Pictures1->FindPicture(L"logo"), logo);
  EXPECT_EQ(form->Pictures1->FindPicture(L"LOGO"), logo);
  EXPECT_EQ(form->Pictures1->FindPicture(L"Log"), nullptr);
  EXPECT_EQ(form->Pictures1->GetVersion(), L"1.0.0.0");
  delete form->Pictures1;
  EXPECT_EQ(form->Label1->GetPictureContainer(), nullptr);
  SetText(form->Label1, L"<IMG src=\"logo\">");
  Render(form->Label1);  // draws nothing, touches nothing freed
  EXPECT_EQ(form->Label1->GetTextWidth(), empty);
}

TEST_F(HTMLPictures, Screenshot) {
  qorn::testing::TempDir dir("htmlshot");
  const auto file = dir / "logo.gif";
  qorn::testing::WriteFileBytes(file, std::string(Logo().begin(), Logo().end()));
  AddPicture(L"logo", Logo());
  // The program's clock stands still: the frames chosen here are the ones shown.
  TManualClock clock;
  TClockOverride useClock(clock);
  AddPicture(L"anim", Animation())->SetFrame(2);
  AddPicture(L"anim1", Animation());
  form->Label1->SetHeight(100);
  SetText(
      form->Label1,
      L"<B>Pictures</B>: a logo <IMG src=\"logo\"> between words, from a file <IMG src=\"file://" + file.wstring() +
          L"\">, a frame of an animation <IMG src=\"anim\"> in its room, another stretched "
          L"<IMG src=\"anim1\" width=\"40\" height=\"32\" align=\"middle\"> and a <FONT color=\"clRed\">missing</FONT> "
          L"one <IMG src=\"nosuch\">here.");
  form->Repaint();
  Pump(50ms);
  ASSERT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "html_pictures.png"));
}
