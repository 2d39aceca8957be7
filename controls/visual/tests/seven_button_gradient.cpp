// The gradient picture button's band: one line per row, the colours stepping
// from the first colour to the second.
#include <gtest/gtest.h>

#include "controls/visual/SevenButtonGradient.h"

namespace {

using Flat::SevenGradientRows;

TEST(SevenButtonGradient, OneLinePerRowOfTheBand) {
  const auto rows = SevenGradientRows(1, 23, static_cast<TColor>(0xFCFCFC), static_cast<TColor>(0xCFCFCF));
  ASSERT_EQ(rows.size(), 22u);
  for (size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k].Y, 1 + static_cast<int>(k));
  EXPECT_EQ(rows.front().Color, TColor(0xFCFCFC));
  // The last row starts at the first step that reaches it: 21 * 256 / 22 rounded up.
  const int last = (21 * 256 + 21) / 22;
  const int channel = 0xFC + (0xCF - 0xFC) * last / 255;
  EXPECT_EQ(rows.back().Color, TColor(channel * 0x010101));
  for (size_t k = 1; k < rows.size(); ++k) EXPECT_LE(rows[k].Color & 0xFF, rows[k - 1].Color & 0xFF) << k;
}

TEST(SevenButtonGradient, ChannelsStepApartAndBandsOfAnySize) {
  const auto rows = SevenGradientRows(0, 256, static_cast<TColor>(0x0000FF), static_cast<TColor>(0xFF0000));
  ASSERT_EQ(rows.size(), 256u);
  EXPECT_EQ(rows.back().Color, TColor(0xFF0000)) << "red gone, blue full at the last step";
  EXPECT_EQ(rows[128].Color, TColor((128 << 16) | (0xFF - 128)));
  EXPECT_TRUE(SevenGradientRows(5, 5, clWhite, clBlack).empty()) << "an empty band draws nothing";
  const auto tall = SevenGradientRows(0, 600, clBlack, clWhite);
  EXPECT_EQ(tall.size(), 256u) << "never more lines than steps";
}

}  // namespace
