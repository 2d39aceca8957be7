// The volume settings page on a form, over the real binding access of an edit
// list and a live table: what it shows of a binding, what each control stores,
// and that the executor reads back what the page meant.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "testing/RecordedMessages.h"

#include <string>
#include <vector>

#include "actions/VolumeFrame.h"
#include "core/language/Language.h"
#include "core/language/LanguageTranslate.h"
#include "core/settings/ExtSettings.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "services/AudioMixer.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/System.h"

namespace {

using namespace std::chrono_literals;

struct FakeDevice {
  std::wstring name;
  std::vector<std::vector<std::wstring>> destinations;  // each: its own name, then its sources
};

// Two sound cards as the winmm mixer lists them.
class FakeMixerChoice : public IVolumeMixerChoice {
 public:
  std::vector<FakeDevice> devices{
      {L"Onboard HD Audio", {{L"Speakers", L"Wave", L"CD Audio", L"Microphone"}, {L"Recording", L"Line In"}}},
      {L"USB Headset", {{L"Headphones", L"Wave"}}},
  };
  int open = 0;
  std::vector<int> chosen;
  int listings = 0;

  std::vector<std::wstring> DeviceNames() override {
    ++listings;
    std::vector<std::wstring> names;
    for (const auto& d : devices) names.push_back(d.name);
    return names;
  }
  int DeviceCount() override { return static_cast<int>(devices.size()); }
  void ChooseDevice(int id) override {
    chosen.push_back(id);
    open = id;
  }
  std::vector<std::wstring> DestinationNames() override {
    std::vector<std::wstring> names;
    if (open < DeviceCount())
      for (const auto& d : devices[open].destinations) names.push_back(d.front());
    return names;
  }
  std::vector<std::wstring> LineNames(int dest) override {
    if (open >= DeviceCount() || dest < 0 || dest >= static_cast<int>(devices[open].destinations.size())) return {};
    return devices[open].destinations[dest];
  }
};

std::vector<std::wstring> Items(Flat::TFlatComboBox* combo) {
  std::vector<std::wstring> items;
  for (int i = 0; i < combo->GetItems()->Count(); ++i) items.push_back(combo->GetItems()->Strings(i));
  return items;
}

// What the user does: the list's own selection change, as the combo box reports it.
void ChooseItem(Flat::TFlatComboBox* combo, int index) {
  const HWND wnd = combo->GetHandle();
  SendMessageW(wnd, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_SELCHANGE), reinterpret_cast<LPARAM>(wnd));
}

// A mouse click on the button, delivered to its window.
void ClickRadio(Flat::TFlatRadioButton* radio) {
  const LPARAM at = MAKELPARAM(6, radio->GetHeight() / 2);
  SendMessageW(radio->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(radio->GetHandle(), WM_LBUTTONUP, 0, at);
}

void PressKey(TWinControl* control, WORD key) {
  SendMessageW(control->GetHandle(), WM_KEYDOWN, key, 0x00010001);
  SendMessageW(control->GetHandle(), WM_KEYUP, key, 0xC0010001);
}

class VolumeFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<std::uint8_t, const char*> rows[] = {{21, "00010005"}, {51, "exefile:c:\\x.exe;exefile|"}};
    for (const auto& [code, params] : rows) {
      TKeyRecord r;
      r.ActionCode = code;
      r.Params = params;
      editList.Add(r);
      liveGlobal.Add(r);
      keyList.Add("k");
    }
    keyList.selected = 0;
    state.ActiveGlobalProfile = "Main";
    state.EditedProfile = "Main";
    form = CreateFormNew<TForm>(Application);
    form->SetCaption(L"Volume page");
    form->SetBounds(100, 80, 460, 370);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }

  // The page opened on the selected binding, as the main window opens it.
  TFrameVol* Open(TVolumePageServices services = {}) {
    delete frame;
    frame = CreateFrame<TFrameVol>(form);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    if (!services.Mixer && !services.MixerChoice) services.MixerChoice = &mixers;
    frame->Use(services);
    frame->Attach(access);
    frame->check();
    Pump(10ms);
    return frame;
  }

  void SetBinding(std::uint8_t code, const char* params) {
    editList.Slots[0].ActionCode = liveGlobal.Slots[0].ActionCode = code;
    editList.Slots[0].Params = liveGlobal.Slots[0].Params = params;
  }
  std::string Stored() const { return editList.Slots[0].Params.str(); }
  // What the executor will do for the binding as stored.
  TVolumeParams Executed() const {
    return ReadVolumeParams(Stored(), static_cast<TVolumeCode>(editList.Slots[0].ActionCode - 20));
  }
  int CheckedRadio() const {
    Flat::TFlatRadioButton* radios[] = {frame->FlatRadioButton1, frame->FlatRadioButton2, frame->FlatRadioButton3,
                                        frame->FlatRadioButton4};
    for (int i = 0; i < 4; ++i)
      if (radios[i]->GetChecked()) return 21 + i;
    return 0;
  }

  TKeyTable editList, liveGlobal;
  TProfileState state;
  TFakeKeyList keyList;
  TBindingAccess access{editList, liveGlobal, state, keyList};
  FakeMixerChoice mixers;
  TForm* form = nullptr;
  TFrameVol* frame = nullptr;
};

TEST_F(VolumeFrame, ShowsEachVolumeBindingWithoutWritingBack) {
  const struct {
    std::uint8_t code;
    const char* params;
    int device, destination, line, position;
    std::wstring label;
  } cases[] = {
      {21, "00010005", 0, 0, 1, 5, L"5"},
      {22, "00020010", 0, 0, 2, 10, L"10"},
      // The old step repair is shown, not stored: "50" is a step of 6.
      {22, "00030050", 0, 0, 3, 6, L"6"},
      {23, "01010002", 0, 1, 1, 2, L"2"},
      {24, "000001100", 1, 0, 0, 100, L"100"},
      {24, "01000050", 0, 1, 0, 50, L"50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.params);
    SetBinding(c.code, c.params);
    Open();
    EXPECT_EQ(CheckedRadio(), c.code);
    EXPECT_EQ(frame->FlatComboBox3->GetItemIndex(), c.device);
    EXPECT_EQ(frame->FlatComboBox1->GetItemIndex(), c.destination);
    EXPECT_EQ(frame->FlatComboBox2->GetItemIndex(), c.line);
    EXPECT_EQ(Items(frame->FlatComboBox2), mixers.devices[c.device].destinations[c.destination]);
    EXPECT_EQ(frame->stepch->GetPosition(), c.position);
    EXPECT_EQ(frame->Label_vol_step->GetCaption(), c.label);
    const bool level = c.code == 24;
    EXPECT_EQ(frame->stepch->GetMax(), level ? 100 : 10);
    EXPECT_EQ(frame->Label5->GetVisible(), level);
    EXPECT_EQ(frame->Label1->GetVisible(), !level);
    EXPECT_EQ(Stored(), c.params);
    EXPECT_EQ(state.ProfileModified, 0);
    EXPECT_EQ(keyList.saveButtonEnabled, 0);
  }
}

TEST_F(VolumeFrame, ABindingOfAnotherFamilySelectsNothingAndStaysAsItIs) {
  keyList.selected = 1;
  Open();
  EXPECT_EQ(CheckedRadio(), 0);
  EXPECT_EQ(editList.Slots[1].Params.str(), "exefile:c:\\x.exe;exefile|");
  EXPECT_EQ(editList.Slots[1].ActionCode, 51);
  EXPECT_EQ(frame->GetHelpKeyword(), L"volume");
  // The lists still work, and store nothing into that binding.
  ChooseItem(frame->FlatComboBox3, 1);
  PressKey(frame->stepch, VK_RIGHT);
  EXPECT_EQ(editList.Slots[1].Params.str(), "exefile:c:\\x.exe;exefile|");
  EXPECT_EQ(editList.Slots[1].ActionCode, 51);
  EXPECT_EQ(state.ProfileModified, 0);
}

// The key acts on the first device's first destination with a step of 2 for such
// a binding: the page shows just that, and showing it changes nothing.
TEST_F(VolumeFrame, AVolumeBindingTooShortToNameALineShowsWhatTheKeyDoes) {
  for (const char* params : {"", "01020"}) {
    SCOPED_TRACE(params);
    SetBinding(22, params);
    state.ProfileModified = 0;
    Open();
    EXPECT_EQ(Stored(), params);
    EXPECT_EQ(state.ProfileModified, 0);
    EXPECT_EQ(frame->FlatComboBox3->GetItemIndex(), 0);
    EXPECT_EQ(frame->FlatComboBox1->GetItemIndex(), 0);
    EXPECT_EQ(frame->FlatComboBox2->GetItemIndex(), 0);
    EXPECT_EQ(frame->stepch->GetPosition(), 2);
    EXPECT_EQ(CheckedRadio(), 22);
    // The first change stores the whole string.
    PressKey(frame->stepch, VK_RIGHT);
    EXPECT_EQ(Stored(), "00000003");
  }
}

TEST_F(VolumeFrame, EveryControlStoresWhatTheExecutorReadsBack) {
  SetBinding(21, "00000002");
  Open();
  ClickRadio(frame->FlatRadioButton4);  // set the volume
  EXPECT_EQ(editList.Slots[0].ActionCode, 24);
  EXPECT_EQ(Executed(), (TVolumeParams{0, -1, 0, 2}));
  EXPECT_EQ(frame->stepch->GetMax(), 100);
  EXPECT_TRUE(frame->Label5->GetVisible());

  ChooseItem(frame->FlatComboBox1, 1);  // the recording destination
  EXPECT_EQ(Items(frame->FlatComboBox2), (std::vector<std::wstring>{L"Recording", L"Line In"}));
  EXPECT_EQ(Executed(), (TVolumeParams{1, -1, 0, 2}));

  ChooseItem(frame->FlatComboBox2, 1);  // its line in
  EXPECT_EQ(Executed(), (TVolumeParams{1, 0, 0, 2}));

  frame->stepch->SetFocus();
  PressKey(frame->stepch, VK_END);
  EXPECT_EQ(Stored(), "010100100");
  EXPECT_EQ(Executed(), (TVolumeParams{1, 0, 0, 100}));
  EXPECT_EQ(frame->Label_vol_step->GetCaption(), L"100");

  ChooseItem(frame->FlatComboBox3, 1);  // the headset: its lists, its first line
  EXPECT_EQ(Items(frame->FlatComboBox1), (std::vector<std::wstring>{L"Headphones"}));
  EXPECT_EQ(Executed(), (TVolumeParams{0, -1, 1, 100}));

  // Back to a step: the level 100 cannot be a step; the step becomes 10.
  ClickRadio(frame->FlatRadioButton2);
  EXPECT_EQ(editList.Slots[0].ActionCode, 22);
  EXPECT_EQ(Stored(), "00000110");
  EXPECT_EQ(Executed(), (TVolumeParams{0, -1, 1, 10}));
  PressKey(frame->stepch, VK_LEFT);
  EXPECT_EQ(Executed(), (TVolumeParams{0, -1, 1, 9}));
  EXPECT_EQ(liveGlobal.Slots[0].Params.str(), Stored()) << "the edited profile is the active one";
}

TEST_F(VolumeFrame, SettingFiftyPerCentTurnedIntoAStepStoresTheStepTen) {
  SetBinding(24, "00000050");
  Open();
  ClickRadio(frame->FlatRadioButton1);
  EXPECT_EQ(editList.Slots[0].ActionCode, 21);
  EXPECT_EQ(Stored(), "00000010");
  EXPECT_EQ(frame->Label_vol_step->GetCaption(), L"10");
  EXPECT_TRUE(frame->Label1->GetVisible());
  EXPECT_FALSE(frame->Label5->GetVisible());
}

TEST_F(VolumeFrame, ReselectingTheSubActionTheBindingHasChangesNothing) {
  SetBinding(21, "00010005");
  Open();
  ASSERT_TRUE(frame->FlatRadioButton1->GetChecked());
  ClickRadio(frame->FlatRadioButton1);
  EXPECT_EQ(editList.Slots[0].ActionCode, 21);
  EXPECT_EQ(Stored(), "00010005");
  EXPECT_EQ(state.ProfileModified, 0);
  EXPECT_EQ(keyList.saveButtonEnabled, 0);
  // The list's drawing reads the other binding's code meanwhile: still nothing.
  access.getkeybyindex(1);
  ClickRadio(frame->FlatRadioButton1);
  EXPECT_EQ(state.ProfileModified, 0);

  ClickRadio(frame->FlatRadioButton3);
  EXPECT_EQ(editList.Slots[0].ActionCode, 23);
  EXPECT_EQ(state.ProfileModified, 1);
  EXPECT_GE(keyList.saveButtonEnabled, 1);
}

TEST_F(VolumeFrame, TheRunningTableChangesOnlyWhileTheEditedProfileIsTheActiveOne) {
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active);
    SetBinding(21, "00010005");
    state.EditedProfile = active ? "Main" : "Games";
    Open();
    ClickRadio(frame->FlatRadioButton4);
    ChooseItem(frame->FlatComboBox2, 2);
    EXPECT_EQ(editList.Slots[0].ActionCode, 24);
    EXPECT_EQ(Stored(), "00020005");
    EXPECT_EQ(liveGlobal.Slots[0].ActionCode, active ? 24 : 21);
    EXPECT_EQ(liveGlobal.Slots[0].Params.str(), active ? "00020005" : "00010005");
  }
}

TEST_F(VolumeFrame, ChoosingADeviceSwitchesTheProgramsMixerListingDoesNot) {
  SetBinding(21, "00010005");
  Open();
  EXPECT_EQ(mixers.listings, 1);
  mixers.chosen.clear();
  ChooseItem(frame->FlatComboBox3, 1);
  EXPECT_EQ(mixers.chosen, std::vector<int>{1});
  EXPECT_EQ(mixers.open, 1);
  EXPECT_EQ(Executed().Mixer, 1);
}

TEST_F(VolumeFrame, NoMixerShowsTheWarning) {
  mixers.devices.clear();
  TLanguage lang(std::filesystem::path(QORN_SOURCE_DIR) / "data" / "lang");
  ASSERT_TRUE(lang.SetLanguage(L"English"));
  Open({.Language = &lang});
  EXPECT_TRUE(frame->WarningPanel->GetVisible());
  EXPECT_EQ(frame->WarningLabel->GetCaption(), L"No sound mixer was found.");
  EXPECT_TRUE(Items(frame->FlatComboBox1).empty());
  EXPECT_TRUE(Items(frame->FlatComboBox2).empty());
  EXPECT_EQ(Stored(), "00010005") << "nothing to choose: the binding is left as it is";

  mixers.devices = FakeMixerChoice().devices;
  Open({.Language = &lang});
  EXPECT_FALSE(frame->WarningPanel->GetVisible());
}

TEST_F(VolumeFrame, TheSystemMixerIsListedAsItIs) {
  TAudioMixer mixer(nullptr);
  Open({.Mixer = &mixer});
  EXPECT_EQ(frame->FlatComboBox3->GetItems()->Count(), mixer.GetMixerCount());
  EXPECT_EQ(frame->WarningPanel->GetVisible(), mixer.GetMixerCount() == 0);
  EXPECT_EQ(frame->FlatComboBox1->GetItems()->Count(), static_cast<int>(mixer.Destinations().size()));
  EXPECT_EQ(CheckedRadio(), 21);
}

// The picture dialog answered as the user would, and the message boxes read.
using PictureDialogAnswers = qorn::testing::TRecordedMessages;

TEST_F(VolumeFrame, TheUsersMutePicturesAreChosenAndCleared) {
  TExtSettings settings;
  int notified = 0;
  settings.OnValueSet = [&] { ++notified; };
  SetIniStg(settings, &settings.MainSettingsEx, "UserPictMuteOn", "C:\\pictures\\on.png");
  notified = 0;
  Open({.Settings = &settings});
  EXPECT_EQ(frame->E_user_pict_volon_path->GetText(), L"C:\\pictures\\on.png");
  EXPECT_TRUE(frame->user_pict_volon_cancel->GetEnabled());
  EXPECT_EQ(frame->E_user_pict_voloff_path->GetText(), L"");
  EXPECT_FALSE(frame->user_pict_voloff_cancel->GetEnabled());

  PictureDialogAnswers answers;
  TDialogServiceOverride use(answers);
  answers.files = {L"", L"D:\\mine\\muted.bmp"};
  frame->E_user_pict_voloff_path->OnButtonClick(frame->E_user_pict_voloff_path);
  EXPECT_EQ(GetIniStg(&settings.MainSettingsEx, "UserPictMuteOff"), "") << "the dialog was cancelled";
  frame->E_user_pict_voloff_path->OnButtonClick(frame->E_user_pict_voloff_path);
  EXPECT_EQ(GetIniStg(&settings.MainSettingsEx, "UserPictMuteOff"), "D:\\mine\\muted.bmp");
  EXPECT_EQ(frame->E_user_pict_voloff_path->GetText(), L"D:\\mine\\muted.bmp");
  EXPECT_TRUE(frame->user_pict_voloff_cancel->GetEnabled());
  ASSERT_FALSE(answers.filters.empty());
  EXPECT_NE(answers.filters.front().find(L"*.png"), std::wstring::npos);

  frame->user_pict_volon_cancel->Click();
  EXPECT_EQ(GetIniStg(&settings.MainSettingsEx, "UserPictMuteOn"), "");
  EXPECT_EQ(frame->E_user_pict_volon_path->GetText(), L"");
  EXPECT_FALSE(frame->user_pict_volon_cancel->GetEnabled());
  EXPECT_EQ(notified, 2) << "the main window hears of each change (its Save button)";
  EXPECT_EQ(Stored(), "00010005");
  EXPECT_TRUE(answers.texts.empty());
}

// The settings file keeps paths in the system's code page: a name it cannot spell
// is never stored with '?' in place of its letters.
TEST_F(VolumeFrame, APictureNameTheSettingsCannotSpellIsKeptByItsShortNameElseRefused) {
  TExtSettings settings;
  SetIniStg(settings, &settings.MainSettingsEx, "UserPictMuteOn", "C:\\pictures\\on.png");
  Open({.Settings = &settings});
  PictureDialogAnswers answers;
  TDialogServiceOverride use(answers);

  answers.files = {L"C:\\nowhere\\\u97f3\u91cf.png"};  // no such file: no short name either
  frame->E_user_pict_volon_path->OnButtonClick(frame->E_user_pict_volon_path);
  ASSERT_EQ(answers.texts.size(), 1u);
  EXPECT_NE(answers.texts[0].find(L"\u97f3\u91cf.png"), std::wstring::npos) << "the message names the file";
  EXPECT_EQ(GetIniStg(&settings.MainSettingsEx, "UserPictMuteOn"), "C:\\pictures\\on.png") << "kept as it was";

  qorn::testing::TempDir dir("volpict");
  const std::filesystem::path file = dir.path() / L"\u97f3\u91cf-muted.png";
  qorn::testing::WriteFileBytes(file, "picture");
  answers.files = {file.wstring()};
  frame->E_user_pict_volon_path->OnButtonClick(frame->E_user_pict_volon_path);
  const std::string stored = GetIniStg(&settings.MainSettingsEx, "UserPictMuteOn");
  // The file's short name, which the system code page spells.
  EXPECT_EQ(answers.texts.size(), 1u) << "no second message";
  EXPECT_EQ(stored.find('?'), std::string::npos) << stored;
  EXPECT_TRUE(std::filesystem::equivalent(AnsiToString(stored), file)) << stored;
  EXPECT_EQ(frame->E_user_pict_volon_path->GetText(), AnsiToString(stored));
}

TEST_F(VolumeFrame, ScreenshotsOfSetVolumeInEnglishAndRussian) {
  for (const wchar_t* language : {L"English", L"Russian"}) {
    SetBinding(24, "01010065");
    TLanguage lang(std::filesystem::path(QORN_SOURCE_DIR) / "data" / "lang");
    ASSERT_TRUE(lang.SetLanguage(language));
    Open({.Language = &lang});
    TranslateComponents(lang, *frame);
    form->SetCaption(lang.GetLngString(L"Str.Ext_Tabl_24"));
    Pump(50ms);
    EXPECT_EQ(frame->FlatRadioButton4->GetCaption(), lang.GetLngString(L"FrameVol.FlatRadioButton4"));
    EXPECT_EQ(frame->Label5->GetCaption(), lang.GetLngString(L"FrameVol.Label5"));
    EXPECT_EQ(frame->FlatComboBox3->GetText(), L"Onboard HD Audio");
    EXPECT_EQ(frame->FlatComboBox2->GetText(), L"Line In");
    const std::wstring name = std::wstring(L"volume_frame_") + language + L".png";
    EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / name));
  }
}

TEST_F(VolumeFrame, ScreenshotsOfThePicturesPageAndOfNoMixer) {
  TLanguage lang(std::filesystem::path(QORN_SOURCE_DIR) / "data" / "lang");
  ASSERT_TRUE(lang.SetLanguage(L"English"));
  TExtSettings settings;
  SetIniStg(settings, &settings.MainSettingsEx, "UserPictMuteOff", "C:\\Users\\me\\Pictures\\muted.png");
  Open({.Settings = &settings, .Language = &lang});
  TranslateComponents(lang, *frame);
  frame->VyPageControl1->SetActivePage(frame->TabSheet2);
  Pump(50ms);
  EXPECT_TRUE(frame->user_pict_voloff_cancel->GetEnabled());
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "volume_frame_pictures.png"));

  mixers.devices.clear();
  SetBinding(22, "00000004");
  Open({.Language = &lang});
  TranslateComponents(lang, *frame);
  Pump(50ms);
  EXPECT_TRUE(frame->WarningPanel->GetVisible());
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "volume_frame_no_mixer.png"));
}

}  // namespace
