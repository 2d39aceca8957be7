// The rules between the settings pages' controls and the stored settings: slider
// positions and their bytes, the value labels, and the priority of each list item.
#include <gtest/gtest.h>

#include <set>

#include "core/mainwindow/OptionRules.h"

TEST(OptionRules, PopupSlidersStoreTheirBytesAndComeBackFromThem) {
  struct Case {
    int position;
    std::uint8_t stored;
  };
  for (const Case& c : {Case{0, 1}, Case{9, 10}, Case{49, 50}}) {
    EXPECT_EQ(PopupDelayByte(c.position), c.stored);
    EXPECT_EQ(PopupDelayPosition(c.stored), c.position);
  }
  EXPECT_EQ(TenthsLabel(0), L"100");
  EXPECT_EQ(TenthsLabel(49), L"5000");
  EXPECT_EQ(PopupAnimDelayByte(0), 1);
  EXPECT_EQ(PopupAnimDelayByte(9), 10);
  // A stored byte out of the slider's range puts the slider at its end.
  EXPECT_EQ(PopupDelayPosition(0), 0);
  EXPECT_EQ(PopupDelayPosition(200), 49);
  EXPECT_EQ(PopupAnimDelayPosition(3), 2);
}

TEST(OptionRules, OpacityIs255WithoutTransparencyAndItsLabelIsAPerCent) {
  EXPECT_EQ(PopupOpacityByte(false, 10), 255);
  EXPECT_EQ(PopupOpacityByte(true, 10), 10);
  EXPECT_EQ(OpacityLabel(255), L"100 %");
  EXPECT_EQ(OpacityLabel(206), L"80 %");
  EXPECT_EQ(OpacityLabel(0), L"0 %");
}

TEST(OptionRules, SkinSlidersStoreTheirOffsetsAndTheHueShiftIsTwiceThePosition) {
  EXPECT_EQ(SkinBrightnessByte(-100), 0);
  EXPECT_EQ(SkinBrightnessByte(150), 250);
  EXPECT_EQ(SkinBrightnessPosition(100), 0);
  EXPECT_EQ(SkinColorByte(-90), 0);
  EXPECT_EQ(SkinColorByte(90), 180);
  EXPECT_EQ(SkinColorLabel(-90), L"-180");
  EXPECT_EQ(SkinColorPosition(90), 0) << "90 is the unchanged colour";
  EXPECT_EQ(SkinColorPosition(255), 90);
}

TEST(OptionRules, HighestPriorityIsTheHighClassNeverRealTime) {
  constexpr std::uint32_t idle = 0x40, below = 0x4000, normal = 0x20, above = 0x8000, high = 0x80, realTime = 0x100;
  const std::uint32_t expected[] = {idle, below, normal, above, high, high};
  for (int i = 0; i < PriorityItemCount; ++i) {
    ASSERT_TRUE(PriorityClassOfItem(i)) << i;
    EXPECT_EQ(*PriorityClassOfItem(i), expected[i]) << i;
    EXPECT_NE(*PriorityClassOfItem(i), realTime);
  }
  EXPECT_FALSE(PriorityClassOfItem(-1));
  EXPECT_FALSE(PriorityClassOfItem(6));
  EXPECT_EQ(PriorityItemOfStored(3), 2) << "\"Normal\" is stored as 3";
  EXPECT_FALSE(PriorityItemOfStored(0)) << "0 means never chosen: the priority is left alone";
  EXPECT_FALSE(PriorityItemOfStored(7));
}

TEST(OptionRules, EveryControlHasOneEntryAndRadioPairsShareTheirField) {
  std::set<std::wstring_view> names;
  for (const auto& c : MainFlagControls) EXPECT_TRUE(names.insert(c.Control).second) << c.Control.data();
  for (const auto& c : PopupFlagControls) EXPECT_TRUE(names.insert(c.Control).second);
  for (const auto& c : MainValueControls) EXPECT_TRUE(names.insert(c.Control).second);
  for (const auto& c : ColorControls) EXPECT_TRUE(names.insert(c.Control).second);
  const TMainFlagControl* popup = FindControl(MainFlagControls, L"washowpopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Field, &TMainSettings::washowosd);
  EXPECT_TRUE(popup->Inverted);
  EXPECT_EQ(FindControl(MainFlagControls, L"nothing"), nullptr);
}
