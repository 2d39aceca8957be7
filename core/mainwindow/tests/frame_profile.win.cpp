// The profile manager page on a test form, over real profile files in a temporary
// settings folder: what the table shows, what each button asks and writes, and
// binding a profile to a program from the file dialog and from the running programs.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>

#include "core/language/Language.h"
#include "core/mainwindow/FrameProfile.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/System.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using qorn::testing::ReadFileBytes;

const fs::path LangFolder = fs::path(QORN_SOURCE_DIR) / "data" / "lang";
const fs::path HelperProgram = fs::path(QORN_BINARY_DIR) / "bin" / "typing_window.exe";

struct TAnswers final : TDialogService {
  std::deque<int> boxes;  // IDYES, IDNO, IDCANCEL, IDOK in the order asked
  std::deque<std::optional<std::wstring>> names;
  std::wstring chosenFile;
  std::vector<std::wstring> texts;

  bool ExecuteFileDialog(HWND, TOpenDialog& dialog) override {
    texts.push_back(L"file dialog " + dialog.GetFilter());
    if (chosenFile.empty()) return false;
    dialog.SetFileName(chosenFile);
    return true;
  }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog&) override { return false; }
  int MessageBox(HWND, const std::wstring& text, const std::wstring&, unsigned) override {
    texts.push_back(text);
    if (boxes.empty()) return IDCANCEL;
    const int answer = boxes.front();
    boxes.pop_front();
    return answer;
  }
  bool InputQuery(HWND, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override {
    texts.push_back(caption + L" / " + prompt);
    if (names.empty() || !names.front()) return false;
    value = *names.front();
    names.pop_front();
    return true;
  }
};

struct TTestHost final : IProfileFrameHost {
  TProfileStore& store;
  TLanguage& language;
  int profilesChanged = 0, editListSaved = 0, pageClosed = 0;
  TTestHost(TProfileStore& s, TLanguage& l) : store(s), language(l) {}
  TProfileStore& ProfileStore() override { return store; }
  const TLanguage& Language() override { return language; }
  void ProfilesChanged() override { ++profilesChanged; }
  void EditListSaved() override { ++editListSaved; }
  void ClosePage() override { ++pageClosed; }
};

TKeyRecord Binding(std::string_view name) {
  TKeyRecord r;
  r.Name = name;
  return r;
}

struct FrameProfileTest : ::testing::Test {
  qorn::testing::TempDir dir{"frameprofile"};
  TKeyTable liveGlobal, livePerProgram, editList;
  TFakeKeyList keyList;
  TRecordingReporter reporter;
  TProfileStore store{dir.path(), {liveGlobal, livePerProgram, editList}, ProfileState, keyList, reporter};
  TLanguage language{LangFolder};
  TTestHost host{store, language};
  TAnswers answers;
  std::optional<TDialogServiceOverride> useAnswers;
  TForm* form = nullptr;
  TFrameProfile* frame = nullptr;

  void SetUp() override {
    ProfileState = TProfileState{};
    fs::create_directories(dir / "profiles");
    ASSERT_TRUE(language.SetLanguage(L"English"));
    // Three profiles: two global ("main" active), one for a program.
    saveProfile("main", "-", {"Play", "Stop"});
    saveProfile("games", "-", {"Jump"});
    saveProfile("player", "c:\\program files\\player\\player.exe", {"Next"});
    store.loadpfl("main", 1, 0);
    store.loadpfl("main", 1, 1);
    useAnswers.emplace(answers);
    form = CreateFormNew<TForm>(Application);
    form->SetCaption(L"Profiles");
    form->SetBounds(80, 60, 580, 430);
    frame = CreateFrame<TFrameProfile>(form);
    frame->Attach(host);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    frame->FillTable();
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
    useAnswers.reset();
    ProfileState = TProfileState{};
  }
  void saveProfile(const std::string& name, const std::string& kind, std::initializer_list<std::string_view> keys) {
    editList.Clear();
    for (auto k : keys) editList.Add(Binding(k));
    ASSERT_TRUE(store.savepfl(name, kind, 2));
  }
  fs::path File(const std::string& name) const { return dir / "profiles" / name; }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    TListItems* items = frame->pfltable->GetItems();
    for (int i = 0; i < items->Count(); ++i)
      rows.push_back(items->Item(i)->GetCaption() + L" | " + items->Item(i)->SubItems()->Get(0));
    return rows;
  }
  void Select(const std::wstring& name) {
    TListItems* items = frame->pfltable->GetItems();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->GetCaption() == name) frame->pfltable->SetItemIndex(i);
    Pump(10ms);
  }
  void Shot(const std::string& name) {
    Pump(50ms);
    EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / name));
  }
};

TEST_F(FrameProfileTest, TheTableShowsEveryProfileWithItsProgram) {
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"main | Global profile", L"games | Global profile",
                                               L"player | c:\\program files\\player\\player.exe"}));
  EXPECT_EQ(frame->L_ActivePfl->GetCaption(), L"Current profile: main");
  EXPECT_FALSE(frame->B_Save->GetEnabled()) << "nothing to save";
  EXPECT_FALSE(frame->B_Delete->GetEnabled()) << "no row selected";
  Select(L"player");
  EXPECT_EQ(frame->SelectedProfile(), "player");
  EXPECT_EQ(frame->VyButtonEdit1->GetText(), L"c:\\program files\\player\\player.exe");
  EXPECT_FALSE(frame->B_SetActive->GetEnabled()) << "a program's profile is never the global one";
  EXPECT_TRUE(frame->B_Delete->GetEnabled());
  Select(L"games");
  EXPECT_TRUE(frame->B_SetActive->GetEnabled());
  EXPECT_EQ(frame->VyButtonEdit1->GetText(), L"");
  Shot("frame_profile_English.png");

  ASSERT_TRUE(language.SetLanguage(L"Russian"));
  frame->FillTable();
  const std::wstring globalText = language.GetLngString(std::wstring_view(L"Str.GlobalProfile"));
  EXPECT_EQ(Rows()[0], L"main | " + globalText);
  EXPECT_EQ(frame->B_SetToApp->GetCaption(), language.GetLngString(std::wstring_view(L"FrameProfile.B_SetToApp")));
  Shot("frame_profile_Russian.png");
}

// The global kind comes from the entry, never from the comment's text: a program
// path that reads like the translated text is still a program.
TEST_F(FrameProfileTest, AProgramNamedLikeTheGlobalTextIsStillAProgramsProfile) {
  saveProfile("odd", "Global profile", {"X"});
  frame->FillTable();
  Select(L"odd");
  EXPECT_FALSE(frame->B_SetActive->GetEnabled());
  EXPECT_EQ(frame->VyButtonEdit1->GetText(), L"Global profile");
}

TEST_F(FrameProfileTest, CancelInTheSaveQuestionKeepsTheEdits) {
  ProfileState.ProfileModified = 1;
  editList.Slots[0].Name = "Changed";
  frame->FillTable();
  EXPECT_TRUE(frame->B_Save->GetEnabled());

  answers.boxes = {IDCANCEL};
  frame->B_Create->Click();
  ASSERT_EQ(answers.texts.size(), 1u);
  EXPECT_EQ(answers.texts[0], L"Save the changes of the profile \"main\"?");
  EXPECT_EQ(host.pageClosed, 0);
  EXPECT_EQ(ProfileState.EditedProfile, "main");
  EXPECT_EQ(ProfileState.ProfileModified, 1);

  answers.boxes = {IDYES};
  frame->B_Create->Click();
  Pump(20ms);
  EXPECT_EQ(ReadFileBytes(File("main.gpf")).substr(1, 7), "Changed");
  EXPECT_EQ(ProfileState.EditedProfile, "newprofile1");
  EXPECT_EQ(host.pageClosed, 1);
  EXPECT_GE(host.editListSaved, 1);
}

TEST_F(FrameProfileTest, SaveAsAddsAGlobalProfileAndAsksBeforeWritingOverOne) {
  answers.names = {std::wstring(L"evening")};
  frame->B_SaveAs->Click();
  EXPECT_EQ(answers.texts.at(0), L"Save profile as / Enter the profile name:");
  EXPECT_EQ(Rows().back(), L"evening | Global profile");
  EXPECT_TRUE(fs::exists(File("evening.gpf")));

  answers.texts.clear();
  answers.names = {std::wstring(L"player")};
  answers.boxes = {IDNO};
  frame->B_SaveAs->Click();
  ASSERT_EQ(answers.texts.size(), 2u);
  EXPECT_NE(answers.texts[1].find(L"player"), std::wstring::npos) << "the question names the profile";
  EXPECT_FALSE(fs::exists(File("player.gpf")));
  EXPECT_EQ(ReadFileBytes(File("player.lpf")).substr(1, 4), "Next");
}

TEST_F(FrameProfileTest, DeleteTakesTheRowAndItsFileButNeverTheActiveProfile) {
  Select(L"main");
  frame->B_Delete->Click();
  ASSERT_EQ(answers.texts.size(), 1u);
  EXPECT_EQ(answers.texts[0], L"The active profile cannot be deleted.");
  EXPECT_TRUE(fs::exists(File("main.gpf")));

  Select(L"player");
  frame->B_Delete->Click();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"main | Global profile", L"games | Global profile"}));
  EXPECT_FALSE(fs::exists(File("player.lpf")));
  EXPECT_EQ(host.profilesChanged, 1) << "the key road forgets the program's profile";
}

// The program box holds the path as the user chose it; the table keeps the
// lower-cased full long path, the form the key road compares.
TEST_F(FrameProfileTest, BindingFromTheFileDialogStoresThePathTheKeyRoadMatches) {
  ASSERT_TRUE(fs::exists(HelperProgram));
  std::wstring chosen = HelperProgram.wstring();
  for (wchar_t& c : chosen) c = c == L'/' ? L'\\' : static_cast<wchar_t>(towupper(c));
  answers.chosenFile = chosen;

  Select(L"games");
  frame->B_SetToApp->Click();
  EXPECT_TRUE(frame->BindingMode());
  EXPECT_EQ(frame->B_SetToApp->GetCaption(), L"OK");
  EXPECT_FALSE(frame->pfltable->GetEnabled());
  EXPECT_FALSE(frame->B_Delete->GetEnabled());
  EXPECT_TRUE(frame->VyButtonEdit1->GetEnabled());
  frame->VyButtonEdit1ButtonClick(nullptr);
  EXPECT_EQ(answers.texts.at(0), L"file dialog Executable|*.exe");
  EXPECT_EQ(frame->VyButtonEdit1->GetText(), chosen);
  Shot("frame_profile_binding.png");
  frame->B_SetToApp->Click();

  EXPECT_FALSE(frame->BindingMode());
  const std::optional<std::string> expected = ProgramPathForProfile(chosen);
  ASSERT_TRUE(expected);
  std::wstring lower = chosen;
  CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  EXPECT_EQ(AnsiToString(*expected), lower);
  EXPECT_EQ(store.getprofiletipe("games"), *expected);
  EXPECT_EQ(store.ProfileForProgram(*expected), "games");
  EXPECT_TRUE(fs::exists(File("games.lpf")));
  EXPECT_FALSE(fs::exists(File("games.gpf")));
  EXPECT_EQ(host.profilesChanged, 1);
  EXPECT_EQ(Rows()[1], L"games | " + lower);
  // The next start reads the same.
  EXPECT_EQ(LoadProfileTable(ReadFileBytes(dir / "profile.db")).Entries[2].Kind.str(), *expected);
}

TEST_F(FrameProfileTest, AProgramBoxThatNamesNoFileChangesNothing) {
  Select(L"games");
  frame->B_SetToApp->Click();
  frame->VyButtonEdit1->SetText((dir.path() / "missing.exe").wstring());
  frame->B_Close->Click();
  Pump(20ms);
  EXPECT_FALSE(frame->BindingMode());
  EXPECT_EQ(store.getprofiletipe("games"), "-");
  EXPECT_TRUE(fs::exists(File("games.gpf")));
  EXPECT_EQ(host.profilesChanged, 0);
  EXPECT_EQ(host.pageClosed, 1);
}

// The host frees the page when it closes, as the main window does: never while the
// page's own button is still in its click.
TEST_F(FrameProfileTest, TheHostMayFreeThePageWhenItCloses) {
  struct TFreeingHost final : IProfileFrameHost {
    TTestHost& inner;
    TFrameProfile*& frame;
    bool clicking = false;
    bool freedInClick = false;
    TFreeingHost(TTestHost& i, TFrameProfile*& f) : inner(i), frame(f) {}
    TProfileStore& ProfileStore() override { return inner.store; }
    const TLanguage& Language() override { return inner.language; }
    void ProfilesChanged() override {}
    void EditListSaved() override {}
    void ClosePage() override {
      freedInClick = clicking;
      delete frame;
      frame = nullptr;
    }
  } freeing{host, frame};
  frame->Attach(freeing);
  freeing.clicking = true;
  frame->B_Create->Click();
  freeing.clicking = false;
  EXPECT_TRUE(PumpUntil([&] { return frame == nullptr; }));
  EXPECT_FALSE(freeing.freedInClick);
  EXPECT_EQ(ProfileState.EditedProfile, "newprofile1");
}

TEST_F(FrameProfileTest, TheRunningProgramsMenuOffersAHelperProgram) {
  qorn::testing::Process helper(HelperProgram);
  ASSERT_TRUE(helper.running());
  ASSERT_TRUE(qorn::testing::WaitForWindow(L"QornTypingWindow", nullptr, 10s));
  Select(L"games");
  frame->B_SetToApp->Click();
  frame->FillRunningProgramsMenu();
  const std::optional<std::string> helperPath = ProgramPathForProfile(HelperProgram.wstring());
  ASSERT_TRUE(helperPath);
  TMenuItem* found = nullptr;
  int copies = 0;
  for (int i = 0; i < frame->AddExceptProgMenuTasks->Count(); ++i) {
    TMenuItem* item = frame->AddExceptProgMenuTasks->Items(i);
    if (ProgramPathForProfile(item->GetCaption()) == helperPath) {
      found = item;
      ++copies;
    }
  }
  ASSERT_NE(found, nullptr) << "the helper program is not offered";
  EXPECT_EQ(copies, 1);
  found->Click();
  EXPECT_EQ(ProgramPathForProfile(frame->VyButtonEdit1->GetText()), helperPath);
  frame->B_SetToApp->Click();
  EXPECT_EQ(store.ProfileForProgram(*helperPath), "games");
}
}  // namespace
