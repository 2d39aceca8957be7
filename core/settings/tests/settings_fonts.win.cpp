// The font slots as GDI fonts: what a font dialog holds goes back to the file unchanged.
#include <gtest/gtest.h>

#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsFonts.h"

namespace {
struct FontHandle {
  HFONT h;
  ~FontHandle() {
    if (h != nullptr) DeleteObject(h);
  }
};
}  // namespace

TEST(SettingsFonts, SlotsSurviveAGdiFont) {
  TFontSlots fonts{};
  CreateDefaultFonts(fonts, 96);
  TFontSlot odd = fonts[5];
  odd.Font.SetFace("No Such Face Installed");
  odd.Font.Italic = 1;
  odd.Font.CharSet = 204;
  odd.Color = 0x0000FF;
  for (const TFontSlot& slot : {fonts[0], fonts[1], fonts[9], odd}) {
    SCOPED_TRACE(std::string(slot.Font.Face()));
    FontHandle font{CreateSlotFont(slot)};
    ASSERT_NE(font.h, nullptr);
    const TFontSlot back = SlotFromFont(font.h, slot.Color);
    ASSERT_TRUE(back.Present);
    TSettingsRecords a, b;
    a.Fonts[0] = slot;
    b.Fonts[0] = back;
    EXPECT_EQ(StoreSettingsFile(b), StoreSettingsFile(a)) << "the slot's 68 bytes are written as read";
  }
}

TEST(SettingsFonts, AFontThatCannotBeReadIsSavedAsAnEmptySlot) {
  EXPECT_FALSE(SlotFromFont(nullptr, 0).Present);
  EXPECT_EQ(CreateSlotFont(TFontSlot{}), nullptr);
  TSettingsRecords r;
  r.Fonts[3] = SlotFromFont(nullptr, 0);
  const std::string file = StoreSettingsFile(r);
  EXPECT_EQ(file.size(), 5436u + 40 + 20);
  EXPECT_EQ(file.substr(5436 + 12, 4), std::string(4, '\0')) << "slot 3 is tag 0";
}
