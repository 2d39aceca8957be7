// The settings pages of the main window in this process, over a settings folder
// of its own: every option control writes its field and, after a save, its bytes
// in "stg.db"; nothing is stored while the settings load; the edge cases of the
// popup sliders, the volume spin edits' arrow keys, the skin list, the text
// display's placement and the process priority; the stored values shown at start;
// and a screenshot of each page in English and in Russian.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/Win.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyTrkBar.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatColorComboBoxUnit.h"
#include "controls/visual/TFlatComboBoxUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "controls/visual/TFlatScrollbarUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "controls/visual/TFlatSpinEditUnit.h"
#include "core/mainwindow/MainWindow.h"
#include "core/mainwindow/PopupConnection.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsFolder.h"
#include "displays/OnScreenDisplays.h"
#include "displays/Popup.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Where each block of "stg.db" starts.
constexpr std::size_t MainAt = 16, PopupAt = 216, ColorsAt = 5356;

std::int64_t FileValue(const std::string& bytes, std::size_t offset, int width) {
  if (offset + static_cast<std::size_t>(width) > bytes.size()) return -999;
  if (width == 1) return static_cast<std::uint8_t>(bytes[offset]);
  std::int32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

struct SettingsPages : ::testing::Test {
  qorn::testing::TempDir dir{"settingspages"};
  TMainForm* form = nullptr;

  // Starts the window, over the records given as an earlier run saved them.
  void Start(const TSettingsRecords* saved = nullptr) {
    SettingsFolder = FolderText(dir.path());
    if (saved) qorn::testing::WriteFileBytes(dir.path() / "stg.db", StoreSettingsFile(*saved));
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
  }
  void MakeDisplays() {
    OSDtForm = CreateForm<TOSDtForm>(Application);
    OSDvForm = CreateForm<TOSDvForm>(Application);
    PopupForm = CreateForm<TPopupForm>(Application);
    ConnectPopup(*PopupForm, *form);
  }
  void TearDown() override {
    for (TForm** display : {reinterpret_cast<TForm**>(&PopupForm), reinterpret_cast<TForm**>(&OSDtForm),
                            reinterpret_cast<TForm**>(&OSDvForm)}) {
      delete *display;
      *display = nullptr;
    }
    delete form;
    SettingsFolder.clear();
    SettingsLoading = 0;
    DisplayPlacementMode = 0;
    SettingsRecords = TSettingsRecords{};
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  }

  template <class T>
  T& Control(const wchar_t* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    if (!c) throw std::runtime_error("no control " + StringToAnsi(name));
    return *c;
  }
  // As the user's click does: the box changes and its handler runs.
  void Box(const wchar_t* name, bool on) {
    auto& box = Control<Flat::TFlatCheckBox>(name);
    if (box.GetChecked() == on) box.SetChecked(!on);
    box.SetChecked(on);
  }
  void Choose(const wchar_t* name) { Control<Flat::TFlatRadioButton>(name).SetChecked(true); }
  void Scroll(const wchar_t* name, int position) {
    auto& bar = Control<Flat::TFlatScrollbar>(name);
    bar.SetPosition(position);
    bar.DoScroll();
  }
  // An edit tells of a change once its window exists, as it does under the user's hand.
  void Spin(const wchar_t* name, int value) {
    auto& edit = Control<Flat::TFlatSpinEditInteger>(name);
    edit.HandleNeeded();
    edit.SetValue(value);
  }
  void Pick(const wchar_t* name, int index) {
    auto& list = Control<TCustomComboBox>(name);
    list.SetItemIndex(index);
    if (list.OnChange) list.OnChange(&list);
  }
  void Colour(const wchar_t* name, TColor colour) {
    auto& list = Control<Flat::TFlatColorComboBox>(name);
    if (list.GetValue() == colour) list.SetValue(clBlack);
    list.SetValue(colour);
  }
  void Slide(const wchar_t* name, int position) { Control<Vy::TVyTrackBar>(name).SetPosition(position); }
  void Press(const wchar_t* name) {
    auto& button = Control<Flat::TFlatSpeedButton>(name);
    button.OnClick(&button);
  }
  std::wstring Caption(const wchar_t* name) { return Control<TLabel>(name).GetCaption(); }

  std::string Saved() {
    EXPECT_TRUE(form->Settings().saveprogramsetting(form->KeyPressCount()));
    return qorn::testing::ReadFileBytes(dir.path() / "stg.db");
  }
};

struct OptionCase {
  const char* what;
  std::function<void(SettingsPages&)> set;
  std::size_t offset;  // in "stg.db"
  int width;           // 4 or 1 bytes
  std::int64_t expected;
};

std::vector<OptionCase> EveryOption() {
  std::vector<OptionCase> cases;
  struct Flag {
    const wchar_t* box;
    std::size_t field;
  };
  const Flag flags[] = {{L"optauto", 4},         {L"opttray", 8},          {L"optclose", 12},
                        {L"osdshfs", 16},        {L"optmb", 20},           {L"osdwa", 28},
                        {L"osd2sf", 32},         {L"osdlim", 36},          {L"osdshw", 56},
                        {L"optnotrayicon", 100}, {L"osdkeyspressed", 108}, {L"osdshowlocks", 112},
                        {L"optlrmodif", 116},    {L"optmultiact", 120},    {L"optexceptonfullscreen", 124},
                        {L"trayshowlocks", 136}, {L"optchecknewver", 144}};
  for (const Flag& f : flags)
    for (bool on : {true, false})
      cases.push_back({"check box", [f, on](SettingsPages& t) { t.Box(f.box, on); }, MainAt + f.field, 4, on});
  // optauto's alternative method needs optauto on.
  cases.push_back({"cb_opt_autorun_ex",
                   [](SettingsPages& t) { t.Box(L"optauto", true), t.Box(L"cb_opt_autorun_ex", true); }, MainAt + 152,
                   4, 1});
  cases.push_back(
      {"optauto off clears the alternative", [](SettingsPages& t) { t.Box(L"optauto", false); }, MainAt + 152, 4, 0});
  struct Radio {
    const wchar_t* button;
    std::size_t field;
    int value;
  };
  const Radio radios[] = {{L"washowosd", 24, 1},
                          {L"washowpopup", 24, 0},
                          {L"volshowosd", 60, 1},
                          {L"volshowpopup", 60, 0},
                          {L"rbtn_locks_showaspopup", 132, 0},
                          {L"rbtn_locks_showastray", 132, 1},
                          {L"rbtn_trayshowlocks_multi", 140, 1},
                          {L"rbtn_trayshowlocks_single", 140, 0}};
  for (const Radio& r : radios)
    cases.push_back({"radio", [r](SettingsPages& t) { t.Choose(r.button); }, MainAt + r.field, 4, r.value});
  cases.push_back({"osdtr2", [](SettingsPages& t) { t.Scroll(L"osdtr2", 77); }, MainAt + 40, 4, 77});
  cases.push_back({"osdtr", [](SettingsPages& t) { t.Scroll(L"osdtr", 150); }, MainAt + 44, 4, 150});
  cases.push_back({"osdsh2", [](SettingsPages& t) { t.Scroll(L"osdsh2", 2500); }, MainAt + 48, 4, 2500});
  cases.push_back({"osdsh", [](SettingsPages& t) { t.Scroll(L"osdsh", 0); }, MainAt + 52, 4, 0});
  cases.push_back({"osdvolstep", [](SettingsPages& t) { t.Spin(L"osdvolstep", 50); }, MainAt + 88, 4, 50});
  cases.push_back({"osdvolspace", [](SettingsPages& t) { t.Spin(L"osdvolspace", 0); }, MainAt + 92, 4, 0});
  cases.push_back({"border", [](SettingsPages& t) { t.Pick(L"CB_osd_vol_border_style", 2); }, MainAt + 96, 4, 2});
  cases.push_back({"priority Normal", [](SettingsPages& t) { t.Pick(L"optsetpriority", 2); }, MainAt + 104, 4, 3});
  struct ColourCase {
    const wchar_t* list;
    int slot;
  };
  for (const ColourCase& c : {ColourCase{L"osdclrb", 0},
                              {L"osdclre", 1},
                              {L"osd2fc", 2},
                              {L"osd2cl", 3},
                              {L"popupcolorcaption", 4},
                              {L"popupcolorground", 5},
                              {L"popupcolorground2", 6}})
    cases.push_back({"colour", [c](SettingsPages& t) { t.Colour(c.list, clRed); }, ColorsAt + 4 * c.slot, 4, 0x0000FF});
  cases.push_back({"popupdelay 0", [](SettingsPages& t) { t.Scroll(L"popupdelay", 0); }, PopupAt + 0, 1, 1});
  cases.push_back({"popupdelay 49", [](SettingsPages& t) { t.Scroll(L"popupdelay", 49); }, PopupAt + 0, 1, 50});
  cases.push_back({"opacity", [](SettingsPages& t) { t.Box(L"popuptransparent", true), t.Scroll(L"popupopauqe", 100); },
                   PopupAt + 1, 1, 100});
  for (bool on : {true, false}) {
    cases.push_back({"popupfade", [on](SettingsPages& t) { t.Box(L"popupfade", on); }, PopupAt + 2, 1, on});
    cases.push_back({"popupanim", [on](SettingsPages& t) { t.Box(L"popupanim", on); }, PopupAt + 3, 1, on});
    cases.push_back({"popupgradient", [on](SettingsPages& t) { t.Box(L"popupgradient", on); }, PopupAt + 7, 1, on});
    cases.push_back(
        {"popuptranspvolumebar", [on](SettingsPages& t) { t.Box(L"popuptranspvolumebar", on); }, PopupAt + 9, 1, on});
  }
  for (int position = 1; position <= 6; ++position) {
    const std::wstring name = L"popuppos" + std::to_wstring(position);
    cases.push_back({"popuppos", [name](SettingsPages& t) { t.Choose(name.c_str()); }, PopupAt + 4, 1, position});
  }
  cases.push_back({"animation time", [](SettingsPages& t) { t.Scroll(L"popupanimdelay", 9); }, PopupAt + 5, 1, 10});
  cases.push_back({"horizontal", [](SettingsPages& t) { t.Choose(L"popuphorizont"); }, PopupAt + 6, 1, 2});
  cases.push_back({"vertical", [](SettingsPages& t) { t.Choose(L"popupvertical"); }, PopupAt + 6, 1, 1});
  cases.push_back({"gradient direction", [](SettingsPages& t) { t.Pick(L"popupcolorgroundgradientdirection", 5); },
                   PopupAt + 8, 1, 5});
  cases.push_back(
      {"brightness -100", [](SettingsPages& t) { t.Slide(L"tb_skin_brightness", -100); }, PopupAt + 11, 1, 0});
  cases.push_back(
      {"brightness 150", [](SettingsPages& t) { t.Slide(L"tb_skin_brightness", 150); }, PopupAt + 11, 1, 250});
  cases.push_back({"skin colour -90", [](SettingsPages& t) { t.Slide(L"tb_skin_color", -90); }, PopupAt + 12, 1, 0});
  cases.push_back({"skin colour 90", [](SettingsPages& t) { t.Slide(L"tb_skin_color", 90); }, PopupAt + 12, 1, 180});
  return cases;
}

TEST_F(SettingsPages, EveryOptionStoresItsFieldAndItsBytesAfterASave) {
  Start();
  for (const OptionCase& c : EveryOption()) {
    SCOPED_TRACE(::testing::Message() << c.what << " at " << c.offset);
    c.set(*this);
    EXPECT_EQ(FileValue(Saved(), c.offset, c.width), c.expected);
  }
}

TEST_F(SettingsPages, NothingIsStoredWhileTheSettingsLoad) {
  Start();
  const std::string before = StoreSettingsFile(SettingsRecords);
  SettingsLoading = 1;
  for (const OptionCase& c : EveryOption()) c.set(*this);
  Box(L"popupuseskin", true);
  SettingsLoading = 0;
  const std::string after = StoreSettingsFile(SettingsRecords);
  const auto differ = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
  EXPECT_EQ(differ.first, before.end()) << "the stored settings changed at byte " << (differ.first - before.begin());
}

TEST_F(SettingsPages, PopupOpacityIsOpaqueWithoutTransparencyWhateverTheSliderShows) {
  Start();
  Box(L"popuptransparent", false);
  EXPECT_EQ(PopupSettings.popupopauqe, 255);
  Scroll(L"popupopauqe", 51);
  EXPECT_EQ(PopupSettings.popupopauqe, 255) << "the slider alone does not make the popup transparent";
  EXPECT_EQ(Caption(L"Label17"), L"20 %");
  Box(L"popuptransparent", true);
  EXPECT_EQ(PopupSettings.popupopauqe, 51);
  Scroll(L"popupdelay", 0);
  EXPECT_EQ(Caption(L"Label16"), L"100");
  Scroll(L"popupanimdelay", 9);
  EXPECT_EQ(Caption(L"Label19"), L"1000");
  Slide(L"tb_skin_color", -90);
  EXPECT_EQ(Caption(L"L_skin_color_val"), L"-180");
  Slide(L"tb_skin_brightness", 150);
  EXPECT_EQ(Caption(L"L_skin_brightness_val"), L"150");
}

TEST_F(SettingsPages, TheArrowKeysLeaveTheVolumeSegmentsAsTheyAre) {
  Start();
  for (const wchar_t* name : {L"osdvolstep", L"osdvolspace"}) {
    SCOPED_TRACE(StringToAnsi(name));
    auto& edit = Control<Flat::TFlatSpinEditInteger>(name);
    Spin(name, 5);
    const HWND window = edit.GetHandle();
    for (WPARAM key : {VK_UP, VK_DOWN}) {
      SendMessageW(window, WM_KEYDOWN, key, 1);
      SendMessageW(window, WM_KEYUP, key, 0xC0000001);
      EXPECT_EQ(edit.GetValue(), 5);
    }
    // The spin buttons still step.
    edit.UpClick();
    EXPECT_EQ(edit.GetValue(), 6);
  }
  EXPECT_EQ(MainSettings.osdvolstep, 6);
  EXPECT_EQ(MainSettings.osdvolspace, 6);
  // Typed beyond its bounds, the value stands for the bound.
  Control<Flat::TFlatSpinEditInteger>(L"osdvolstep").SetText(L"999");
  EXPECT_EQ(MainSettings.osdvolstep, 50);
}

TEST_F(SettingsPages, HighestPriorityIsTheHighClass) {
  Start();
  struct Case {
    int item;
    DWORD priority;
  };
  for (const Case& c : {Case{5, HIGH_PRIORITY_CLASS},
                        {0, IDLE_PRIORITY_CLASS},
                        {3, ABOVE_NORMAL_PRIORITY_CLASS},
                        {2, NORMAL_PRIORITY_CLASS}}) {
    Pick(L"optsetpriority", c.item);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), c.priority) << c.item;
    EXPECT_EQ(MainSettings.optsetpriority, c.item + 1);
  }
}

struct SkinFolders {
  fs::path root;
  explicit SkinFolders(const fs::path& at) : root(at / "skins") { fs::create_directories(root / "Popup"); }
  void AddShippedSkins() {
    fs::copy(fs::path(QORN_BINARY_DIR) / "generated" / "skins" / "Popup", root / "Popup", fs::copy_options::recursive);
  }
};

TEST_F(SettingsPages, UsingSkinsWithoutASkinFolderUnchecksTheBoxAgain) {
  Start();
  SkinFolders skins(dir.path());
  form->SkinFolder = skins.root;
  qorn::testing::WriteFileBytes(skins.root / "Popup" / "not-a-skin.txt", "x");
  form->SettingsPages().PageShown(2);
  Box(L"popupuseskin", true);
  EXPECT_FALSE(Control<Flat::TFlatCheckBox>(L"popupuseskin").GetChecked());
  EXPECT_EQ(PopupSettings.popupuseskin, 0);
}

TEST_F(SettingsPages, TheSkinListOffersEachSkinFolderAndKeepsTheChosenOne) {
  Start();
  MakeDisplays();
  SkinFolders skins(dir.path());
  skins.AddShippedSkins();
  qorn::testing::WriteFileBytes(skins.root / "Popup" / "not-a-skin.txt", "x");
  form->SkinFolder = skins.root;
  form->SettingsPages().PageShown(2);
  auto& list = Control<Vy::TVyListBox>(L"PopupSkinList");
  ASSERT_EQ(list.GetItems()->Count(), 2);
  EXPECT_GE(list.IndexOf(L"Glass"), 0);
  EXPECT_GE(list.IndexOf(L"Paper"), 0);

  Box(L"popupuseskin", true);
  EXPECT_EQ(PopupSettings.popupuseskin, 1);
  ASSERT_EQ(list.GetItemIndex(), 0);
  EXPECT_EQ(AnsiToString(StringSettings.PopupSkinName.str()), list.SelectedItem());
  EXPECT_TRUE(PumpUntil([] { return PopupForm->Shown(); }, 5s)) << "choosing a skin shows its preview";

  list.SetItemIndex(1);
  list.OnClick(&list);
  const std::wstring second = list.SelectedItem();
  EXPECT_EQ(AnsiToString(StringSettings.PopupSkinName.str()), second);
  // Opened again, the page shows the stored skin.
  list.SetItemIndex(-1);
  form->SettingsPages().PageShown(2);
  EXPECT_EQ(list.SelectedItem(), second);

  Box(L"popupuseskin", false);
  EXPECT_EQ(PopupSettings.popupuseskin, 0);
  EXPECT_EQ(list.GetItemIndex(), -1);
}

TEST_F(SettingsPages, PlacingADisplayTwiceStoresItsPlaceAndHidesIt) {
  Start();
  MakeDisplays();
  form->Language() = TLanguage(fs::path(QORN_SOURCE_DIR) / "data" / "lang");
  ASSERT_TRUE(form->SetLanguage(L"English"));
  auto& button = Control<Flat::TFlatSpeedButton>(L"FlatSpeedButton3");
  Press(L"FlatSpeedButton3");
  EXPECT_EQ(button.GetCaption(), L"OK");
  EXPECT_EQ(DisplayPlacementMode, 1);
  EXPECT_TRUE(IsWindowVisible(OSDtForm->GetHandle()));
  OSDtForm->SetBounds(123, 77, OSDtForm->GetWidth(), OSDtForm->GetHeight());
  Press(L"FlatSpeedButton3");
  EXPECT_EQ(DisplayPlacementMode, 0);
  EXPECT_FALSE(IsWindowVisible(OSDtForm->GetHandle()));
  EXPECT_EQ(MainSettings.OsdTextLeft, 123);
  EXPECT_EQ(MainSettings.OsdTextTop, 77);
  EXPECT_EQ(button.GetCaption(), L"Set position");
  EXPECT_EQ(button.Tag(), 0);

  // The volume display likewise, with its size.
  auto& volume = Control<Flat::TFlatSpeedButton>(L"FlatSpeedButton5");
  Press(L"FlatSpeedButton5");
  EXPECT_EQ(volume.GetCaption(), L"OK");
  EXPECT_TRUE(IsWindowVisible(OSDvForm->GetHandle()));
  OSDvForm->SetBounds(40, 50, 300, 60);
  Press(L"FlatSpeedButton5");
  EXPECT_FALSE(IsWindowVisible(OSDvForm->GetHandle()));
  EXPECT_EQ(DisplayPlacementMode, 0);
  EXPECT_EQ(MainSettings.OsdVolWidth, OSDvForm->GetClientWidth());
  EXPECT_GE(MainSettings.OsdVolLeft, 40);
  EXPECT_EQ(volume.GetCaption(), L"Set position");
}

struct RecordingDisplays : IOnScreenDisplays {
  std::vector<std::wstring> shown;
  void ShowText(std::uint8_t kind, const std::wstring& text, int) override {
    shown.push_back(L"text " + std::to_wstring(kind) + L" " + text);
  }
  void ShowVolume(int) override {}
  void ShowMute(std::uint8_t) override {}
  void ShowInfo(const std::wstring&, const std::wstring&, bool, const std::wstring&, std::uint8_t,
                std::int32_t) override {}
  void CloseInfo() override {}
  void ShowPopup(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                 const std::wstring& text, std::uint8_t, std::uint8_t) override {
    shown.push_back(L"popup " + caption + L" " + text + (pos.empty() || time.empty() ? L" (no date)" : L""));
  }
  void ShowPopupTrack(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&,
                      std::uint8_t) override {}
  void ShowPopupVolume(std::uint8_t, std::int32_t) override {}
};

TEST_F(SettingsPages, TheTestButtonsShowTheTestMessageInTheTextDisplayAndThePopup) {
  Start();
  form->Language() = TLanguage(fs::path(QORN_SOURCE_DIR) / "data" / "lang");
  ASSERT_TRUE(form->SetLanguage(L"English"));
  RecordingDisplays recorder;
  SetOnScreenDisplays(&recorder);
  Press(L"FlatSpeedButton4");
  Press(L"preview");
  SetOnScreenDisplays(nullptr);
  EXPECT_EQ(recorder.shown,
            (std::vector<std::wstring>{L"text 2 Qorn: test message", L"popup Test Qorn: test message"}));
}

TEST_F(SettingsPages, TheStoredValuesAreShownAtStart) {
  TSettingsRecords saved;
  saved.Main.washowosd = 1;
  saved.Main.osdvolstep = 7;
  saved.Main.osdtr2 = 99;
  saved.Main.optmb = 1;
  saved.Main.osdshowlocks = 0;
  saved.Main.optsetpriority = 5;  // "Even Higher"
  saved.Main.CB_osd_vol_border_style = 1;
  saved.Popup.popupdelay = 20;
  saved.Popup.popupopauqe = 255;
  saved.Popup.PopupPosition = 3;
  saved.Popup.popupgradient = 1;
  saved.Popup.tb_skin_color = 30;
  saved.Colors.osd2fc = 0x0000FF;
  Start(&saved);
  EXPECT_TRUE(Control<Flat::TFlatRadioButton>(L"washowosd").GetChecked());
  EXPECT_FALSE(Control<Flat::TFlatRadioButton>(L"washowpopup").GetChecked());
  EXPECT_EQ(Control<Flat::TFlatSpinEditInteger>(L"osdvolstep").GetValue(), 7);
  EXPECT_EQ(Control<Flat::TFlatScrollbar>(L"osdtr2").GetPosition(), 99);
  EXPECT_TRUE(Control<Flat::TFlatCheckBox>(L"optmb").GetChecked());
  EXPECT_FALSE(Control<Flat::TFlatRadioButton>(L"rbtn_locks_showastray").GetEnabled())
      << "lock changes are not shown: how they would be is not offered";
  EXPECT_EQ(Control<TCustomComboBox>(L"optsetpriority").GetItemIndex(), 4);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(Control<TCustomComboBox>(L"CB_osd_vol_border_style").GetItemIndex(), 1);
  EXPECT_EQ(Control<Flat::TFlatScrollbar>(L"popupdelay").GetPosition(), 19);
  EXPECT_EQ(Caption(L"Label16"), L"2000");
  EXPECT_FALSE(Control<Flat::TFlatCheckBox>(L"popuptransparent").GetChecked());
  EXPECT_EQ(Caption(L"Label17"), L"100 %");
  EXPECT_TRUE(Control<Flat::TFlatRadioButton>(L"popuppos3").GetChecked());
  EXPECT_TRUE(Control<TControl>(L"popupcolorground2").GetEnabled());
  EXPECT_EQ(Control<Vy::TVyTrackBar>(L"tb_skin_color").GetPosition(), -60);
  EXPECT_EQ(Caption(L"L_skin_color_val"), L"-120");
  EXPECT_EQ(static_cast<std::int32_t>(Control<Flat::TFlatColorComboBox>(L"osd2fc").GetValue()), 0x0000FF);
  // Applying stored nothing new: the records are as they were read.
  TSettingsRecords now = SettingsRecords;
  now.Strings.InstallationId = saved.Strings.InstallationId;
  now.Fonts = saved.Fonts;
  EXPECT_EQ(StoreSettingsFile(now), StoreSettingsFile(saved));
}

TEST_F(SettingsPages, AFirstRunShowsTheDefaultsAndLeavesThePriorityAlone) {
  Start();
  EXPECT_EQ(Control<TCustomComboBox>(L"optsetpriority").GetItemIndex(), 2) << "the priority a program starts with";
  EXPECT_EQ(MainSettings.optsetpriority, 0);
  EXPECT_TRUE(Control<Flat::TFlatCheckBox>(L"optauto").GetChecked());
  EXPECT_FALSE(Control<Flat::TFlatCheckBox>(L"osdshowlocks").GetChecked());
  EXPECT_FALSE(Control<TControl>(L"rbtn_locks_showastray").GetEnabled());
  EXPECT_FALSE(Control<TControl>(L"rbtn_trayshowlocks_multi").GetEnabled());
  EXPECT_TRUE(Control<TControl>(L"osd2fc").GetEnabled());
  EXPECT_FALSE(Control<TControl>(L"popupcolorground2").GetEnabled());
  EXPECT_TRUE(Control<Flat::TFlatRadioButton>(L"popuppos6").GetChecked());
  EXPECT_EQ(Control<Vy::TVyTrackBar>(L"tb_skin_color").GetPosition(), 0) << "the neutral skin colour";
  EXPECT_EQ(Caption(L"Label17"), L"80 %");
  EXPECT_EQ(Caption(L"Label16"), L"1500");
}

TEST_F(SettingsPages, ScreenshotsOfEachPageInEnglishAndRussian) {
  Start();
  form->SkinFolder = fs::path(QORN_BINARY_DIR) / "generated" / "skins";
  form->Language() = TLanguage(fs::path(QORN_SOURCE_DIR) / "data" / "lang");
  form->SetPosition(poDesigned);
  form->SetBounds(0, 0, form->GetWidth(), form->GetHeight());
  form->Show();
  form->VyPageControl1->SetActivePage(form->TabSheet2);
  for (const wchar_t* language : {L"English", L"Russian"}) {
    ASSERT_TRUE(form->SetLanguage(language));
    for (int page = 0; page < 3; ++page) {
      form->VyPageControl2->SetActivePageIndex(page);
      form->SettingsPages().PageShown(page);
      Pump(200ms);
      const fs::path shot = qorn::testing::ScreenshotDir() /
                            ("settings_page" + std::to_string(page) + "_" + StringToAnsi(language) + ".png");
      EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), shot)) << shot;
    }
  }
}

}  // namespace
