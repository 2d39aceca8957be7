// The frame controller pushing its settings: by name to controls that publish them, through
// FramingChanged to those that draw their own border, in update brackets, and from old forms.
#include <gtest/gtest.h>

#include "controls/extended/VyCommon.h"
#include "controls/extended/VyLabel.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/WinVersion.h"

#include <string>
#include <vector>

using namespace Vy;

namespace {

// Publishes only some of the controller's names and records each one set.
class TFramedProbe : public TControl {
  QORN_CLASS(TFramedProbe, TControl)
 public:
  explicit TFramedProbe(TComponent* AOwner) : TControl(AOwner) {}
  std::vector<std::wstring> Sets;
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v) { FFrameStyle = v, Sets.push_back(L"FrameStyle"); }
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { FFocusColor = v, Sets.push_back(L"FocusColor"); }
  TSides GetFrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides v) { FFrameSides = v, Sets.push_back(L"FrameSides"); }
  bool GetFrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool v) { FFrameVisible = v, Sets.push_back(L"FrameVisible"); }
  TColor GetProbeColor() const { return GetColor(); }
  void SetProbeColor(TColor v) { SetColor(v), Sets.push_back(L"Color"); }
  bool GetProbeParentColor() const { return GetParentColor(); }
  void SetProbeParentColor(bool v) { SetParentColor(v), Sets.push_back(L"ParentColor"); }

 private:
  static void Publish(TPublisher<TFramedProbe>& p) {
    using T = TFramedProbe;
    p.Property(L"Color", &T::GetProbeColor, &T::SetProbeColor);
    p.Property(L"ParentColor", &T::GetProbeParentColor, &T::SetProbeParentColor);
    p.Property(L"FocusColor", &T::GetFocusColor, &T::SetFocusColor);
    p.Property(L"FrameSides", &T::GetFrameSides, &T::SetFrameSides);
    p.Property(L"FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle);
    p.Property(L"FrameVisible", &T::GetFrameVisible, &T::SetFrameVisible);
  }
  TFrameStyle FFrameStyle = fsNone;
  TColor FFocusColor = clNone;
  TSides FFrameSides;
  bool FFrameVisible = false;
};
QORN_REGISTER_CLASS(TFramedProbe);

using TNames = std::vector<std::wstring>;

TEST(VyFrameController, JoiningPushesEverySettingTheControlPublishes) {
  TVyFrameController controller(nullptr);
  TFramedProbe probe(nullptr);
  controller.AddControl(&probe);
  EXPECT_EQ(probe.Sets, (TNames{L"ParentColor", L"Color", L"FocusColor", L"FrameSides", L"FrameStyle", L"FrameVisible"}));
  EXPECT_EQ(probe.GetColor(), clWindow);
  EXPECT_EQ(probe.GetFrameStyle(), fsFlat);
  EXPECT_EQ(probe.GetFrameSides(), AllSides);
  probe.Sets.clear();
  controller.AddControl(&probe);
  EXPECT_TRUE(probe.Sets.empty()) << "a second join changes nothing";
  EXPECT_EQ(controller.ControlCount(), 1);
}

TEST(VyFrameController, UpdatesPushOnlyAtTheLastEnd) {
  TVyFrameController controller(nullptr);
  TFramedProbe probe(nullptr);
  controller.AddControl(&probe);
  probe.Sets.clear();
  controller.BeginUpdate();
  controller.BeginUpdate();
  controller.SetFrameStyle(fsGroove);
  controller.EndUpdate();
  EXPECT_TRUE(probe.Sets.empty());
  controller.EndUpdate();
  EXPECT_EQ(probe.Sets.size(), 6u) << "everything, once";
  EXPECT_EQ(probe.GetFrameStyle(), fsGroove);
  probe.Sets.clear();
  controller.EndUpdate();  // one too many: counts as 0
  probe.Sets.clear();
  controller.SetFrameStyle(fsBump);
  EXPECT_EQ(probe.Sets, TNames{L"FrameStyle"}) << "one change pushes the one setting";
}

TEST(VyFrameController, ColourTakesFocusColourAlongAndTheControlsHearOfBoth) {
  TVyFrameController controller(nullptr);
  TFramedProbe probe(nullptr);
  controller.SetParentColor(true);
  controller.AddControl(&probe);
  EXPECT_EQ(std::count(probe.Sets.begin(), probe.Sets.end(), L"Color"), 0)
      << "no Color while the controller takes its parent's";
  probe.Sets.clear();
  controller.SetColor(clYellow);
  EXPECT_EQ(controller.GetFocusColor(), clYellow);
  EXPECT_FALSE(controller.GetParentColor());
  EXPECT_EQ(probe.Sets, (TNames{L"ParentColor", L"Color", L"FocusColor"}));
  EXPECT_EQ(probe.GetFocusColor(), clYellow);
  EXPECT_FALSE(probe.GetParentColor());
  probe.Sets.clear();
  controller.SetFocusColor(clAqua);
  controller.SetColor(clRed);
  EXPECT_EQ(controller.GetFocusColor(), clAqua) << "a focus colour of its own stays";
  EXPECT_EQ(probe.Sets, (TNames{L"FocusColor", L"Color"}));
}

TEST(VyFrameController, HotTrackingShowsTheFrameOnEverySide) {
  TVyFrameController controller(nullptr);
  TFramedProbe probe(nullptr);
  controller.SetFrameSides(TSides{sdLeft});
  controller.AddControl(&probe);
  probe.Sets.clear();
  controller.SetFrameHotTrack(true);
  EXPECT_TRUE(probe.GetFrameVisible());
  EXPECT_EQ(probe.GetFrameSides(), AllSides);
  EXPECT_EQ(probe.Sets, (TNames{L"FrameVisible", L"FrameSides"}));
}

TEST(VyFrameController, OldFormsMapTheirFrameNames) {
  TVyFrameController c(nullptr), d(nullptr);
  ReadComponentFromText(&c, R"(object C: TVyFrameController
  FrameFlat = True
  FrameFlatStyle = fsGroove
end
)",
                        L"TEST");
  ReadComponentFromText(&d, R"(object D: TVyFrameController
  FrameFocusStyle = fsRaised
end
)",
                        L"TEST");
  EXPECT_TRUE(c.GetFrameHotTrack());
  EXPECT_EQ(c.GetFrameStyle(), fsStatus);
  EXPECT_EQ(c.GetFrameHotStyle(), fsLowered);
  EXPECT_EQ(d.GetFrameHotStyle(), fsRaised);
  const std::string text = WriteComponentToText(&c);
  for (const char* old : {"FrameFlat ", "FrameFocusStyle", "FrameFlatStyle"})
    EXPECT_EQ(text.find(old), std::string::npos) << text;
  EXPECT_NE(text.find("FrameHotTrack = True"), std::string::npos) << text;
}

TEST(VyFrameController, ALabelTakesAVisibleFrameThroughItsNotification) {
  TVyFrameController controller(nullptr);
  TVyLabel label(nullptr);
  controller.SetFrameStyle(fsGroove);
  controller.SetColor(clYellow);
  label.SetFrameController(&controller);
  EXPECT_EQ(label.GetBorderOuter(), fsNone) << "a frame that is not visible is not taken";
  controller.SetFrameVisible(true);
  EXPECT_EQ(label.GetBorderOuter(), fsGroove);
  EXPECT_EQ(label.GetColor(), clYellow);
  EXPECT_EQ(label.GetFlatColorAdjustment(), 0);
  EXPECT_EQ(label.GetBorderHighlight(), LightenColor(clYellow, 100));
  EXPECT_EQ(label.GetBorderShadow(), DarkenColor(clYellow, 50));
  EXPECT_EQ(controller.ControlCount(), 1);
  label.SetFrameController(nullptr);
  EXPECT_EQ(controller.ControlCount(), 0);
}

TEST(VyFrameController, EitherSideMayGoFirst) {
  auto* controller = new TVyFrameController(nullptr);
  auto* label = new TVyLabel(nullptr);
  label->SetFrameController(controller);
  delete controller;
  EXPECT_EQ(label->GetFrameController(), nullptr);
  controller = new TVyFrameController(nullptr);
  label->SetFrameController(controller);
  delete label;
  EXPECT_EQ(controller->ControlCount(), 0);
  controller->SetFrameStyle(fsBump);  // pushes to nobody
  delete controller;
}

TEST(VyRegIniFile, ChangesAskForNewObjectsMadeFromTheSettings) {
  TVyRegIniFile place(nullptr);
  EXPECT_TRUE(place.NeedsReopen());
  place.SetPathType(ptRegistry);
  place.SetRegKey(hkeyLocalMachine);
  place.SetRegAccess(TVyRegAccess{keyRead, keyNotify});
  place.SetPath(L"C:\\settings.ini");
  EXPECT_EQ(place.Registry().RootKey(), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(place.Registry().Access(), REGSAM(KEY_READ | KEY_NOTIFY));
  EXPECT_EQ(place.IniFile().FileName(), L"C:\\settings.ini");
  EXPECT_FALSE(place.NeedsReopen());
  TRegistry* made = &place.Registry();
  EXPECT_EQ(&place.Registry(), made) << "kept while nothing changed";
  place.SetRegKey(hkeyUsers);
  EXPECT_TRUE(place.NeedsReopen());
  EXPECT_EQ(place.Registry().RootKey(), HKEY_USERS);
  const std::string text = WriteComponentToText(&place);
  EXPECT_NE(text.find("RegAccess = [keyNotify, keyRead]"), std::string::npos) << text;
  TVyRegIniFile fresh(nullptr);
  const std::string plain = WriteComponentToText(&fresh);
  for (const char* name : {"PathType", "RegKey", "RegAccess"}) EXPECT_EQ(plain.find(name), std::string::npos) << plain;
}

TEST(VyRegIniFile, AControllerForgetsAFreedSettingsPlace) {
  TVyFrameController controller(nullptr);
  auto* place = new TVyRegIniFile(nullptr);
  controller.SetRegIniFile(place);
  EXPECT_EQ(controller.GetRegIniFile(), place);
  delete place;
  EXPECT_EQ(controller.GetRegIniFile(), nullptr);
}

TEST(VyPlatform, WindowsVersionsByIndex) {
  struct Case {
    TWindowsVersion version;
    int yes;  // the one index that holds, -1 for none
  } cases[] = {
      {{4, 0, 950, Win32PlatformWindows}, 0},
      {{4, 0, 1381, Win32PlatformNT}, 1},
      {{3, 51, 1057, Win32PlatformNT}, 1},
      {{4, 10, 1998, Win32PlatformWindows}, 2},
      {{4, 90, 3000, Win32PlatformWindows}, 3},
      {{5, 0, 2195, Win32PlatformNT}, 4},
      {{5, 1, 2600, Win32PlatformNT}, 5},
      {{5, 2, 3790, Win32PlatformNT}, 6},
      {{6, 1, 7601, Win32PlatformNT}, -1},
      {{10, 0, 19045, Win32PlatformNT}, -1},
  };
  for (const Case& c : cases) {
    TWindowsVersionOverride use(c.version);
    for (int i = -1; i <= 7; ++i)
      EXPECT_EQ(IsWindowsVersion(i), c.yes >= 0 && i == c.yes) << c.version.Major << "." << c.version.Minor << " index " << i;
  }
}

}  // namespace
