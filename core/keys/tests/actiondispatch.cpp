#include "core/keys/ActionDispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/keys/tests/EngineFakes.h"

namespace {

using F = TActionFamily;

struct Dispatch : ::testing::Test {
  TActionExecutors executors;
  TRecordingExecutors recorder;
  fakes::Language language;
  fakes::Displays displays;
  fakes::EngineOptions options;
  bool fullScreen = false;
  TActionDispatcher dispatcher{executors, language, displays, options, [this] { return fullScreen; },
                               fakes::widen};

  Dispatch() {
    recorder.InstallInto(executors);
    options.value.osdkeyspressed = true;
  }

  static TKeyRecord binding(int code, std::string_view params = "Xparams", std::string_view name = "Bound") {
    TKeyRecord r;
    r.ActionCode = static_cast<TActionCode>(code);
    r.Params = params;
    r.Name = name;
    return r;
  }
};

// The families as the key bindings define them; the sub-code is the code minus base.
struct FamilyRange {
  int first;
  int last;
  F family;
  int base;
};
constexpr FamilyRange families[] = {
    {10, 20, F::Winamp, 10},        {21, 24, F::Volume, 20},        {31, 37, F::MediaPlayers, 30},
    {41, 48, F::Folders, 40},       {51, 59, F::Programs, 50},      {61, 68, F::Power, 60},
    {71, 79, F::Web, 70},           {80, 89, F::Windows, 0},        {91, 99, F::AudioCd, 0},
    {101, 109, F::OtherTools, 100}, {110, 120, F::Documents, 110},  {121, 129, F::KeysLayouts, 120},
    {131, 139, F::Scrolling, 130},  {141, 149, F::QuickMacros, 140}, {151, 159, F::Network, 150},
    {161, 169, F::Cursor, 160},     {171, 179, F::Wallpaper, 170},  {181, 189, F::Brightness, 180},
};

const FamilyRange* familyOf(int code) {
  for (const auto& f : families)
    if (code >= f.first && code <= f.last) return &f;
  return nullptr;
}

int silentCount() {
  int n = 0;
  for (int code = 0; code < 256; ++code) n += IsSilentCode(static_cast<TActionCode>(code));
  return n;
}

TEST_F(Dispatch, EveryCodeReachesItsFamilyWithItsSubCode) {
  for (int code = 0; code < 256; ++code) {
    if (code == 12 || code == 13) continue;  // tap-or-hold, below
    recorder.ClearLog();
    dispatcher.act(binding(code));
    const FamilyRange* f = familyOf(code);
    if (!f) {
      EXPECT_TRUE(recorder.Log().empty()) << "code " << code << " must run nothing";
      continue;
    }
    const int sub = code - f->base;
    ASSERT_EQ(recorder.Log().size(), 1u) << "code " << code;
    EXPECT_EQ(recorder.Log()[0], (TRecordedAction{f->family, sub, 0, "Xparams"})) << "code " << code;
  }
}

TEST_F(Dispatch, SubCodesOfTheRangeEdges) {
  struct Case {
    int code;
    F family;
    int sub;
  };
  const Case cases[] = {{10, F::Winamp, 0},     {20, F::Winamp, 10},      {21, F::Volume, 1},
                        {31, F::MediaPlayers, 1}, {37, F::MediaPlayers, 7}, {41, F::Folders, 1},
                        {48, F::Folders, 8},    {80, F::Windows, 80},     {89, F::Windows, 89},
                        {91, F::AudioCd, 91},   {110, F::Documents, 0},   {120, F::Documents, 10},
                        {101, F::OtherTools, 1}, {189, F::Brightness, 9}};
  for (const auto& c : cases) {
    recorder.ClearLog();
    dispatcher.act(binding(c.code));
    ASSERT_EQ(recorder.Log().size(), 1u) << c.code;
    EXPECT_EQ(recorder.Log()[0].Family, c.family) << c.code;
    EXPECT_EQ(recorder.Log()[0].SubCode, c.sub) << c.code;
  }
}

TEST_F(Dispatch, FortyThreeCodesAreSilentAndTheRestShowTheirNotice) {
  EXPECT_EQ(silentCount(), 43);
  for (int code = 0; code < 256; ++code) {
    if (code == 12 || code == 13) continue;
    displays.shown.clear();
    dispatcher.act(binding(code));
    const bool silent = (code >= 10 && code <= 24) || (code >= 31 && code <= 37) || code == 102 ||
                        code == 121 || code == 122 || (code >= 131 && code <= 139) ||
                        (code >= 161 && code <= 169);
    EXPECT_EQ(displays.shown.size(), silent ? 0u : 1u) << "code " << code;
  }
}

TEST_F(Dispatch, NoticeTexts) {
  struct Case {
    int code;
    std::string params;
    std::wstring notice;
  };
  const Case cases[] = {
      {41, "1C:\\Music", L"[Groups.Group20]\rC:\\Music"},
      {41, std::string("1C:\\a\0junk", 10), L"[Groups.Group20]\rC:\\a"},
      {41, "", L"[Groups.Group20]\r"},
      {45, "x", L"[Groups.Group20]\r[Str.Ext_Tabl_45]"},
      {51, "exefile:c:\\x.exe;exefile|", L"[Groups.Group21]\rc:\\x.exe"},
      {51, "args:-q;args|", L"[Groups.Group21]\r-nil-"},
      {51, "1c:\\x.exe", L"[Groups.Group21]\rc:\\x.exe"},
      {52, "", L"[Groups.Group21]\r[Str.Ext_Tabl_52]"},
      {54, "", L"[Groups.Group21]"},
      {57, "", L"[Groups.Group21]\r[Str.Ext_Tabl_57]"},
      {58, "", L"[Str.Ext_Tabl_58]"},
      {75, "", L"[Groups.Group21]\r[Str.Ext_Tabl_75]"},
      {83, "", L"[Str.Ext_Tabl_83]"},
      {95, "", L"CD-ROM [Str.Ext_Tabl_95]"},
      {115, "", L"[Str.Ext_Tabl_115]"},
      {61, "", L""},
      {0, "", L""},
      {200, "", L""},
  };
  for (const auto& c : cases) {
    displays.shown.clear();
    dispatcher.act(binding(c.code, c.params));
    EXPECT_EQ(dispatcher.ActionNotice(), c.notice) << c.code << " " << c.params;
    ASSERT_EQ(displays.shown.size(), 1u) << c.code;
    EXPECT_EQ(displays.shown[0], (fakes::Shown{"text2", L"", c.notice})) << c.code;
  }
}

struct NoticeCase {
  const char* what;
  bool osdkeyspressed;
  bool washowpopup;
  bool fullScreen;
  std::vector<fakes::Shown> shown;
};

TEST_F(Dispatch, OwnTextAndWhereTheNoticeGoes) {
  const NoticeCase cases[] = {
      {"text display", true, false, false, {{"text2", L"", L"Hello"}}},
      {"popup captioned with the name", true, true, false, {{"popup", L"Bound", L"Hello"}}},
      {"notices off", false, false, false, {}},
      {"full-screen program in front", true, true, true, {}},
  };
  for (const auto& c : cases) {
    options.value.osdkeyspressed = c.osdkeyspressed;
    options.value.washowpopup = c.washowpopup;
    fullScreen = c.fullScreen;
    displays.shown.clear();
    recorder.ClearLog();
    TKeyRecord r = binding(83);
    r.OsdText = "Hello";
    dispatcher.act(r);
    EXPECT_EQ(displays.shown, c.shown) << c.what;
    EXPECT_EQ(recorder.Log().size(), 1u) << c.what << ": the action runs regardless";
  }
}

TEST_F(Dispatch, CodeZeroRunsNothingAndShowsItsOwnText) {
  TKeyRecord r = binding(0, "");
  r.OsdText = "Hello";
  dispatcher.act(r);
  EXPECT_TRUE(recorder.Log().empty());
  EXPECT_EQ(displays.shown, (std::vector<fakes::Shown>{{"text2", L"", L"Hello"}}));
}

TEST_F(Dispatch, MuteShowsNoNoticeOfItsOwn) {
  TKeyRecord r = binding(23);
  r.OsdText = "Hello";
  dispatcher.act(r);
  EXPECT_TRUE(displays.shown.empty());
  EXPECT_EQ(recorder.Log().size(), 1u);
}

TEST_F(Dispatch, TapChangesTheTrackAtKeyUp) {
  for (int code : {12, 13}) {
    recorder.ClearLog();
    dispatcher.act(binding(code, "tap"));
    EXPECT_TRUE(recorder.Log().empty()) << code << ": nothing runs at key-down";
    dispatcher.KeyUpCounted();
    EXPECT_EQ(recorder.Log(), (std::vector<TRecordedAction>{{F::Winamp, code - 10, 0, "tap"}})) << code;
    dispatcher.KeyUpCounted();
    EXPECT_EQ(recorder.Log().size(), 1u) << code << ": one key-up, one track change";
  }
}

TEST_F(Dispatch, HoldSeeksOnEveryRepeatAndChangesNoTrack) {
  for (int i = 0; i < 4; ++i) dispatcher.act(binding(12, "hold"));
  dispatcher.KeyUpCounted();
  const TRecordedAction seek{F::Winamp, 2, 1, "hold"};
  EXPECT_EQ(recorder.Log(), (std::vector<TRecordedAction>{seek, seek, seek}));
}

TEST_F(Dispatch, AnotherBindingInBetweenVoidsTheTap) {
  dispatcher.act(binding(12, "tap"));
  dispatcher.act(binding(21, "vol"));
  dispatcher.KeyUpCounted();
  EXPECT_EQ(recorder.Log(), (std::vector<TRecordedAction>{{F::Volume, 1, 0, "vol"}}));

  recorder.ClearLog();
  dispatcher.act(binding(12, "next"));
  dispatcher.act(binding(13, "prev"));  // the other tap code starts its own tap
  dispatcher.KeyUpCounted();
  EXPECT_EQ(recorder.Log(), (std::vector<TRecordedAction>{{F::Winamp, 3, 0, "prev"}}));
}

struct Throwing : IActionExecutor {
  int calls = 0;
  void Execute(int, int, TActionContext&) override {
    ++calls;
    throw std::runtime_error("device not ready");
  }
};

TEST_F(Dispatch, AFailingExecutorCostsOnlyItsOwnAction) {
  Throwing failing;
  executors.Set(F::Folders, &failing);
  EXPECT_NO_THROW(dispatcher.act(binding(42)));
  EXPECT_EQ(failing.calls, 1);
  EXPECT_TRUE(displays.shown.empty()) << "no notice for an action that failed";
  dispatcher.act(binding(42));
  EXPECT_EQ(failing.calls, 2) << "the family still runs";
  dispatcher.act(binding(83));
  EXPECT_EQ(recorder.Log().size(), 1u);
}

struct SettingNotice : IActionExecutor {
  void Execute(int, int, TActionContext& context) override { context.Notice = L"Volume 40%"; }
};

TEST_F(Dispatch, AnExecutorMaySetTheNoticeOfItsFamily) {
  SettingNotice setter;
  executors.Set(F::Network, &setter);
  dispatcher.act(binding(151));
  EXPECT_EQ(displays.shown, (std::vector<fakes::Shown>{{"text2", L"", L"Volume 40%"}}));
}

TEST_F(Dispatch, ExecutorsGetTheirOwnCopyOfTheParameters) {
  dispatcher.act(binding(83, "first"));
  dispatcher.act(binding(83, "second"));
  EXPECT_EQ(recorder.Log()[0].Params, "first");
  EXPECT_EQ(recorder.Log()[1].Params, "second");
  EXPECT_EQ(dispatcher.CurrentActionParams(), "second");
}

}  // namespace
