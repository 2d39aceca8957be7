// "stg.db" against images made by hand from the documented layout.
#include <gtest/gtest.h>

#include <string>

#include "core/settings/SettingsFile.h"
#include "core/settings/tests/SettingsTestSupport.h"

namespace {
constexpr std::size_t Main = 16, Popup = 216, Strings = 236, Colors = 5356, Fonts = 5436;
constexpr std::size_t SlotSize = 68;

// Every named block at a non-default value; font slots listed in `emptySlots` are tag 0.
std::string GoldenImage(std::initializer_list<int> emptySlots = {}) {
  std::size_t fontBytes = 0;
  for (int i = 0; i < 10; ++i) fontBytes += std::count(emptySlots.begin(), emptySlots.end(), i) ? 4 : SlotSize;
  std::string b(Fonts + fontBytes + 20, '\0');
  PutShort(b, 0, "Stg v0.1");
  b[12] = 'k';  // header bytes past the signature are kept as read
  Put32(b, Main + 0, 123456);       // KeyPressCount
  Put32(b, Main + 4, 0);            // optauto
  Put32(b, Main + 40, 150);         // osdtr2
  Put32(b, Main + 64, 700);         // OsdTextTop
  Put32(b, Main + 84, 600);         // OsdVolWidth
  Put32(b, Main + 116, 1);          // optlrmodif
  Put32(b, Main + 152, 1);          // cb_opt_autorun_ex
  Put32(b, Main + 156, 0x11223344); // reserved, kept
  Put32(b, Main + 196, -7);         // last reserved word
  Put8(b, Popup + 0, 7);            // popupdelay
  Put8(b, Popup + 1, 255);          // popupopauqe
  Put8(b, Popup + 4, 2);            // PopupPosition
  Put8(b, Popup + 12, 45);          // tb_skin_color
  Put8(b, Popup + 19, 9);           // reserved
  PutShort(b, Strings + 0 * 256, "English");
  PutShort(b, Strings + 1 * 256, "Glass");
  PutShort(b, Strings + 2 * 256, "0123456789abcdef");
  PutShort(b, Strings + 3 * 256, "2.0.1");
  PutShort(b, Strings + 19 * 256, "kept");
  for (int i = 0; i < 20; ++i) Put32(b, Colors + 4 * i, -1);
  Put32(b, Colors + 12, 0x00FF00);  // osd2cl
  Put32(b, Colors + 24, 0x0000FF);  // popupcolorground2
  Put32(b, Colors + 76, 5);         // reserved slot 19
  std::size_t at = Fonts;
  for (int i = 0; i < 10; ++i) {
    if (std::count(emptySlots.begin(), emptySlots.end(), i)) {
      at += 4;
      continue;
    }
    Put32(b, at, 60);
    Put32(b, at + 4, 0x100000 + i);   // colour
    Put32(b, at + 8, -(12 + i));      // lfHeight
    Put32(b, at + 8 + 16, i == 0 ? 700 : 400);  // lfWeight
    Put8(b, at + 8 + 20, i == 2 ? 1 : 0);       // lfItalic
    Put8(b, at + 8 + 23, 204);                  // lfCharSet
    PutShort(b, at + 8 + 27, "");               // (zero byte before the face)
    const std::string face = "Face" + std::to_string(i);
    for (std::size_t c = 0; c < face.size(); ++c) b[at + 8 + 28 + c] = face[c];
    at += SlotSize;
  }
  Put16(b, at + 0, 0x4000 + 'P');  // Ctrl+P
  Put16(b, at + 2, 0x2000 + 0x22);
  Put16(b, at + 4, 0);
  Put8(b, at + 19, 3);  // reserved
  return b;
}
}  // namespace

TEST(SettingsFile, AllFontsMakeTheDocumentedSize) {
  EXPECT_EQ(GoldenImage().size(), SettingsFileSizeAllFonts);
  TSettingsRecords r;
  LoadSettingsFile(GoldenImage(), r);
  EXPECT_EQ(StoreSettingsFile(r).size(), 6136u);
}

TEST(SettingsFile, DefaultsSitAtTheirOffsets) {
  // A file of the default records (no fonts yet: ten tag-0 slots).
  const std::string b = StoreSettingsFile(TSettingsRecords{});
  ASSERT_EQ(b.size(), Fonts + 40 + 20);
  EXPECT_EQ(b.substr(0, 9), std::string("\x08Stg v0.1", 9));
  struct Case { std::size_t offset; std::int32_t value; const char* field; };
  const Case ints[] = {
      {Main + 0, 0, "KeyPressCount"},   {Main + 4, 1, "optauto"},        {Main + 8, 1, "opttray"},
      {Main + 12, 1, "optclose"},       {Main + 16, 1, "osdshfs"},       {Main + 20, 0, "optmb"},
      {Main + 28, 1, "osdwa"},          {Main + 36, 1, "osdlim"},        {Main + 40, 200, "osdtr2"},
      {Main + 44, 200, "osdtr"},        {Main + 48, 20, "osdsh2"},       {Main + 52, 20, "osdsh"},
      {Main + 56, 1, "osdshw"},         {Main + 88, 25, "osdvolstep"},   {Main + 92, 1, "osdvolspace"},
      {Main + 132, 1, "rbtn_locks_showastray"}, {Main + 144, 1, "optchecknewver"},
      {Main + 152, 0, "cb_opt_autorun_ex"},     {Main + 196, 0, "reserved"},
      {Colors + 0, -1, "osdclrb"},      {Colors + 24, -1, "popupcolorground2"}, {Colors + 76, -1, "reserved colour"},
      {Fonts + 0, 0, "font slot 0 tag"}, {Fonts + 36, 0, "font slot 9 tag"},
  };
  for (const Case& c : ints) EXPECT_EQ(Get32(b, c.offset), c.value) << c.field;
  const Case bytes[] = {
      {Popup + 0, 15, "popupdelay"},  {Popup + 1, 206, "popupopauqe"}, {Popup + 2, 1, "popupfade"},
      {Popup + 3, 1, "popupanim"},    {Popup + 4, 6, "PopupPosition"}, {Popup + 5, 3, "popupanimdelay"},
      {Popup + 6, 1, "PopupSlide"},   {Popup + 11, 100, "tb_skin_brightness"},
      {Popup + 12, 90, "tb_skin_color (90 = unchanged)"},
  };
  for (const Case& c : bytes) EXPECT_EQ(static_cast<std::uint8_t>(b[c.offset]), c.value) << c.field;
}

TEST(SettingsFile, GoldenImageLoadsIntoTheNamedFields) {
  TSettingsRecords r;
  LoadSettingsFile(GoldenImage(), r);
  EXPECT_EQ(r.Main.KeyPressCount, 123456);
  EXPECT_EQ(r.Main.optauto, 0);
  EXPECT_EQ(r.Main.opttray, 0) << "a field the file holds as 0 is 0, not its default";
  EXPECT_EQ(r.Main.osdtr2, 150);
  EXPECT_EQ(r.Main.OsdTextTop, 700);
  EXPECT_EQ(r.Main.OsdVolWidth, 600);
  EXPECT_EQ(r.Main.optlrmodif, 1);
  EXPECT_EQ(r.Main.cb_opt_autorun_ex, 1);
  EXPECT_EQ(r.Main.Reserved[0], 0x11223344);
  EXPECT_EQ(r.Popup.popupdelay, 7);
  EXPECT_EQ(r.Popup.popupopauqe, 255);
  EXPECT_EQ(r.Popup.PopupPosition, 2);
  EXPECT_EQ(r.Popup.tb_skin_color, 45);
  EXPECT_EQ(r.Strings.LanguageName, "English");
  EXPECT_EQ(r.Strings.PopupSkinName, "Glass");
  EXPECT_EQ(r.Strings.InstallationId, "0123456789abcdef");
  EXPECT_EQ(r.Strings.SkippedVersion, "2.0.1");
  EXPECT_EQ(r.Strings.Reserved[15], "kept");
  EXPECT_EQ(r.Colors.osd2cl, 0x00FF00);
  EXPECT_EQ(r.Colors.popupcolorground2, 0x0000FF);
  EXPECT_EQ(r.Colors.osdclrb, -1);
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(r.Fonts[i].Present);
    EXPECT_EQ(r.Fonts[i].Color, 0x100000 + i);
    EXPECT_EQ(r.Fonts[i].Font.Height, -(12 + i));
    EXPECT_EQ(r.Fonts[i].Font.CharSet, 204);
    EXPECT_EQ(r.Fonts[i].Font.Face(), "Face" + std::to_string(i));
  }
  EXPECT_EQ(r.Fonts[0].Font.Weight, 700);
  EXPECT_EQ(r.Fonts[2].Font.Italic, 1);
  EXPECT_EQ(r.HotKeys.ProgramOnOff, 0x4000 + 'P');
  EXPECT_EQ(r.HotKeys.NextGlobalProfile, 0x2022);
  EXPECT_EQ(r.HotKeys.PrevGlobalProfile, 0);
}

TEST(SettingsFile, RewritesByteForByte) {
  for (const std::string& image : {GoldenImage(), GoldenImage({1, 5}), GoldenImage({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})}) {
    TSettingsRecords r;
    LoadSettingsFile(image, r);
    EXPECT_EQ(StoreSettingsFile(r), image) << "image of " << image.size() << " bytes";
  }
}

TEST(SettingsFile, TagZeroSlotsMoveTheHotKeysForward) {
  const std::string image = GoldenImage({1, 5});
  ASSERT_EQ(image.size(), 6136u - 2 * 64);
  TSettingsRecords r;
  LoadSettingsFile(image, r);
  EXPECT_FALSE(r.Fonts[1].Present);
  EXPECT_FALSE(r.Fonts[5].Present);
  EXPECT_TRUE(r.Fonts[6].Present);
  EXPECT_EQ(r.Fonts[6].Font.Face(), "Face6") << "the slot after a tag-0 slot starts 64 bytes earlier";
  EXPECT_EQ(r.HotKeys.ProgramOnOff, 0x4000 + 'P');
  EXPECT_EQ(r.HotKeys.Reserved[13], 3);
}

TEST(SettingsFile, ShortFilesKeepTheRestAtDefaults) {
  const std::string image = GoldenImage();
  const TSettingsRecords defaults;
  struct Case {
    std::size_t length;
    bool keyCount, optauto, language, osd2cl, font0, font9, hotKeys;
  };
  const Case cases[] = {
      {0, false, false, false, false, false, false, false},
      {16, false, false, false, false, false, false, false},
      {Main + 2, false, false, false, false, false, false, false},   // half of the first integer
      {Main + 6, true, false, false, false, false, false, false},    // half of the second
      {Strings + 100, true, true, false, false, false, false, false},
      {Colors + 14, true, true, true, false, false, false, false},
      {Fonts + 30, true, true, true, true, false, false, false},     // inside slot 0
      {Fonts + 68, true, true, true, true, true, false, false},
      {6136 - 21, true, true, true, true, true, false, false},       // the last byte of slot 9 missing
      {6136 - 20, true, true, true, true, true, true, false},
      {6136 - 1, true, true, true, true, true, true, true},          // only a reserved byte missing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    TSettingsRecords r;
    LoadSettingsFile(std::string_view(image).substr(0, c.length), r);
    EXPECT_EQ(r.Main.KeyPressCount, c.keyCount ? 123456 : defaults.Main.KeyPressCount);
    EXPECT_EQ(r.Main.optauto, c.optauto ? 0 : defaults.Main.optauto);
    EXPECT_EQ(r.Main.opttray, c.optauto ? 0 : defaults.Main.opttray);
    EXPECT_EQ(r.Strings.LanguageName, c.language ? "English" : "");
    EXPECT_EQ(r.Colors.osd2cl, c.osd2cl ? 0x00FF00 : -1);
    EXPECT_EQ(r.Fonts[0].Present, c.font0);
    EXPECT_EQ(r.Fonts[9].Present, c.font9);
    EXPECT_EQ(r.HotKeys.ProgramOnOff, c.hotKeys ? 0x4000 + 'P' : 0);
    EXPECT_EQ(r.Popup.tb_skin_color, c.optauto ? 45 : 90);
  }
}

TEST(SettingsFile, ExtraBytesAfterTheLayoutAreIgnored) {
  std::string image = GoldenImage();
  image += std::string(5000, '\x7f');
  TSettingsRecords r;
  LoadSettingsFile(image, r);
  EXPECT_EQ(r.HotKeys.ProgramOnOff, 0x4000 + 'P');
  EXPECT_EQ(StoreSettingsFile(r), GoldenImage());
}

TEST(SettingsFile, DamagedLengthsAndFaceNamesStayInsideTheirFields) {
  std::string image = GoldenImage();
  Put8(image, Strings, 255);  // the language name claims all 255 characters
  for (std::size_t c = 0; c < 32; ++c) image[Fonts + 8 + 28 + c] = 'X';  // no NUL in the face name
  TSettingsRecords r;
  LoadSettingsFile(image, r);
  EXPECT_EQ(r.Strings.LanguageName.size(), 255u);
  EXPECT_EQ(r.Strings.PopupSkinName, "Glass") << "the next string is read from its own offset";
  EXPECT_EQ(r.Fonts[0].Font.Face(), std::string(31, 'X'));
}

TEST(SettingsFile, HeaderIsKeptWithTheSignatureSetAgain) {
  std::string image = GoldenImage();
  PutShort(image, 0, "Old");  // a wrong header is not checked on reading
  image[15] = 'z';
  TSettingsRecords r;
  LoadSettingsFile(image, r);
  EXPECT_EQ(r.Main.KeyPressCount, 123456);
  const std::string out = StoreSettingsFile(r);
  EXPECT_EQ(out.substr(0, 9), std::string("\x08Stg v0.1", 9));
  EXPECT_EQ(out[12], 'k');
  EXPECT_EQ(out[15], 'z');
}

TEST(SettingsFonts, DefaultFontsWhenNothingWasRead) {
  TFontSlots fonts{};
  FillEmptyFontSlots(fonts, 96);
  EXPECT_EQ(fonts[0].Font.Face(), "Courier New");
  EXPECT_EQ(fonts[0].Font.Height, -19) << "14 points at 96 pixels per inch";
  EXPECT_EQ(fonts[0].Font.Weight, FontWeightBold);
  for (int i = 1; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(fonts[i].Present);
    EXPECT_EQ(fonts[i].Font.Face(), "Microsoft Sans Serif");
    EXPECT_EQ(fonts[i].Font.Height, -11);
    EXPECT_EQ(fonts[i].Font.Weight, i <= 2 ? FontWeightBold : FontWeightNormal);
  }
  EXPECT_EQ(FontHeightForPoints(14, 120), -23);
}

TEST(SettingsFonts, OnlyTheEmptySlotsGetAFontWhenSlotZeroWasRead) {
  TSettingsRecords r;
  LoadSettingsFile(GoldenImage({4}), r);
  FillEmptyFontSlots(r.Fonts, 96);
  EXPECT_EQ(r.Fonts[0].Font.Face(), "Face0");
  EXPECT_EQ(r.Fonts[3].Font.Face(), "Face3");
  EXPECT_TRUE(r.Fonts[4].Present);
  EXPECT_EQ(r.Fonts[4].Font.Face(), "Microsoft Sans Serif");
  EXPECT_EQ(StoreSettingsFile(r).size(), 6136u) << "every slot is saved with its font";
}
