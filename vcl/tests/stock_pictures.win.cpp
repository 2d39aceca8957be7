// The stock pictures the controls load by name: every one is linked into the
// program, has the size its control lays out with and, where the control takes the
// bottom-left pixel as transparent, that colour there. The screenshot shows them
// all, enlarged, for a look.
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Forms.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr TColor olive = 0x008080;

struct Stock {
  std::wstring name;
  int width, height;
  bool oliveTransparent;
};

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::vector<Stock> StockBitmaps() {
  std::vector<Stock> all = {
      {L"FlatUp", 5, 5, true}, {L"FlatDown", 5, 5, true},
      {L"THUMB_UP_ENABLED", 10, 9, false}, {L"THUMB_DOWN_ENABLED", 10, 9, false},
      {L"THUMB_LEFT_ENABLED", 9, 10, false}, {L"THUMB_RIGHT_ENABLED", 9, 10, false},
      {L"THUMB_UP_DISABLED", 10, 9, false}, {L"THUMB_DOWN_DISABLED", 10, 9, false},
      {L"THUMB_LEFT_DISABLED", 9, 10, false}, {L"THUMB_RIGHT_DISABLED", 9, 10, false},
      {L"VYCOMMON_CHECKBOX_UNCHECKED", 13, 13, false}, {L"VYCOMMON_CHECKBOX_CHECKED", 13, 13, false},
      {L"VYCOMMON_CHECKBOX_GRAYED", 13, 13, false},
      {L"VYCOMMON_RADIOBUTTON_CHECKED", 13, 13, true}, {L"VYCOMMON_RADIOBUTTON_UNCHECKED", 13, 13, true},
  };
  for (const wchar_t* kind : {L"OK", L"CANCEL", L"HELP", L"YES", L"NO", L"CLOSE", L"ABORT", L"RETRY", L"IGNORE", L"ALL"})
    all.push_back({std::wstring(L"VYCOMMON_") + kind, 36, 18, true});
  for (const wchar_t* kind : {L"LOOKUP", L"DROPDOWN", L"CALENDAR", L"ACCEPT", L"REJECT", L"FOLDER", L"FIND", L"SEARCH"})
    all.push_back({std::wstring(L"VYBTNEDT_") + kind, 20, 10, true});
  struct Thumb {
    const wchar_t* name;
    int w, h;
  };
  for (const Thumb& t : {Thumb{L"VYTRKBAR_H_BOX", 11, 21}, Thumb{L"VYTRKBAR_V_BOX", 21, 11},
                         Thumb{L"VYTRKBAR_H_PTR", 11, 21}, Thumb{L"VYTRKBAR_V_PTR", 21, 11},
                         Thumb{L"VYTRKBAR_WIN95", 11, 21}, Thumb{L"VYTRKBAR_H_FLAT", 10, 20},
                         Thumb{L"VYTRKBAR_V_FLAT", 20, 10}, Thumb{L"VYTRKBAR_H_MIXER", 21, 16},
                         Thumb{L"VYTRKBAR_V_MIXER", 16, 21}, Thumb{L"VYTRKBAR_H_XPPTR", 11, 21},
                         Thumb{L"VYTRKBAR_V_XPPTR", 21, 11}, Thumb{L"VYTRKBAR_H_XPBOX", 11, 21},
                         Thumb{L"VYTRKBAR_V_XPBOX", 21, 11}}) {
    for (const wchar_t* variant : {L"", L"_HOT", L"_DISABLED", L"_MASK"})
      all.push_back({std::wstring(t.name) + variant, t.w, t.h, false});
  }
  return all;
}

TEST(StockPictures, EveryBitmapIsLinkedWithTheSizeItsControlExpects) {
  for (const Stock& s : StockBitmaps()) {
    TBitmap bitmap;
    try {
      bitmap.LoadFromResourceName(nullptr, s.name);
    } catch (const Exception&) {
      ADD_FAILURE() << "not linked: " << Narrow(s.name);
      continue;
    }
    EXPECT_EQ(bitmap.GetWidth(), s.width) << Narrow(s.name);
    EXPECT_EQ(bitmap.GetHeight(), s.height) << Narrow(s.name);
    if (s.oliveTransparent) {
      EXPECT_EQ(bitmap.GetPixel(0, s.height - 1), olive) << Narrow(s.name);
    }
  }
}

TEST(StockPictures, TheSpinArrowsPointTheirWay) {
  // Row by row from the top, the black part of the up arrow widens and the down one narrows.
  auto blackInRow = [](TBitmap& b, int y) {
    int n = 0;
    for (int x = 0; x < b.GetWidth(); ++x) n += b.GetPixel(x, y) == 0;
    return n;
  };
  TBitmap up, down;
  up.LoadFromResourceName(nullptr, L"FlatUp");
  down.LoadFromResourceName(nullptr, L"FlatDown");
  EXPECT_EQ((std::vector<int>{blackInRow(up, 0), blackInRow(up, 1), blackInRow(up, 2), blackInRow(up, 3), blackInRow(up, 4)}),
            (std::vector<int>{0, 1, 3, 5, 0}));
  EXPECT_EQ((std::vector<int>{blackInRow(down, 1), blackInRow(down, 2), blackInRow(down, 3)}), (std::vector<int>{5, 3, 1}));
}

TEST(StockPictures, TheCursorsAreLinked) {
  for (const wchar_t* name : {L"VYCOMMON_HANDCURSOR", L"VYTRKBAR_H_CURSOR", L"VYTRKBAR_V_CURSOR"}) {
    HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), name);
    EXPECT_NE(cursor, nullptr) << Narrow(name);
    if (cursor) DestroyCursor(cursor);
  }
}

TEST(StockPictures, Screenshot) {
  std::unique_ptr<TForm> form(CreateFormNew<TForm>(nullptr));
  form->SetBounds(20, 20, 760, 640);
  form->SetCaption(L"Stock pictures");
  form->SetColor(clBtnFace);
  std::vector<std::unique_ptr<TBitmap>> bitmaps;
  for (const Stock& s : StockBitmaps()) {
    bitmaps.push_back(std::make_unique<TBitmap>());
    bitmaps.back()->LoadFromResourceName(nullptr, s.name);
  }
  form->OnPaint = [&](TObject*) {
    int x = 8, y = 8, rowHeight = 0;
    for (auto& b : bitmaps) {
      const int w = b->GetWidth() * 3, h = b->GetHeight() * 3;
      if (x + w > 740) {
        x = 8;
        y += rowHeight + 8;
        rowHeight = 0;
      }
      form->GetCanvas()->StretchDraw(Bounds(x, y, w, h), b.get());
      x += w + 8;
      rowHeight = std::max(rowHeight, h);
    }
  };
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  form->Repaint();
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vcl_stock_pictures.png"));
}

}  // namespace
