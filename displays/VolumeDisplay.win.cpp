#include "displays/VolumeDisplay.h"

#include "core/settings/Settings.h"
#include "displays/DisplayLook.h"
#include "displays/DisplayPlacement.h"
#include "vcl/Clock.h"

using Displays::ColorChosen;
using Displays::HalfFrame;

void TOSDvForm::showw() {
  if (DisplayPlacementMode == 1) return;
  formsh();
  Timer1->SetEnabled(true);
  startMs_ = ClockNowMs();
}

void TOSDvForm::ShowLevel(int percent) {
  if (DisplayPlacementMode == 1) return;
  showw();
  level->SetPercent(percent);
}

void TOSDvForm::ApplyBarSettings() {
  SetAlphaBlendValue(MainSettings.osdtr & 0xFF);
  if (ColorChosen(ColorSettings.osdclrb)) level->GetGradient()->SetFromColor(static_cast<TColor>(ColorSettings.osdclrb));
  if (ColorChosen(ColorSettings.osdclre)) level->GetGradient()->SetToColor(static_cast<TColor>(ColorSettings.osdclre));
  level->SetStep(MainSettings.osdvolstep);
  level->SetInterspace(MainSettings.osdvolspace);
}

void TOSDvForm::formsh() {
  FreeSize();
  ApplyBarSettings();
  const bool placing = DisplayPlacementMode == 1;
  const bool hidden = !WindowHandle() || !IsWindowVisible(WindowHandle());
  if (placing || MainSettings.CB_osd_vol_border_style == vfNormal) {
    // The frame is changed only while hidden: a new window under a shown display
    // would flash.
    if (hidden) {
      SetBorderStyle(bsSingle);
      level->SetBevelBold(true);
      level->SetBevelInner(bvSpace);
      RemoveTitleBar();
    }
  } else if (MainSettings.CB_osd_vol_border_style == vfNone) {
    SetBorderStyle(bsNone);
    level->SetBevelBold(false);
    level->SetBevelInner(bvNone);
  } else {
    SetBorderStyle(bsNone);
    level->SetBevelBold(true);
    level->SetBevelInner(bvSpace);
  }
  SetClientHeight(MainSettings.OsdVolHeight);
  SetClientWidth(MainSettings.OsdVolWidth);
  int top = MainSettings.OsdVolTop;
  int left = MainSettings.OsdVolLeft;
  if (placing) {
    // The client area stays where it will be without the frame.
    top -= HalfFrame(GetHeight(), GetClientHeight());
    left -= HalfFrame(GetWidth(), GetClientWidth());
  }
  if (MainSettings.osdlim == 1) {
    top = Displays::KeepInside(top, GetHeight(), Screen->GetHeight());
    left = Displays::KeepInside(left, GetWidth(), Screen->GetWidth());
  }
  SetBounds(left, top, GetWidth(), GetHeight());
  ShowWithoutActivation();
  if (!placing) FixSize();
}

void TOSDvForm::applynewsettings() {
  if (DisplayPlacementMode != 1) return;
  ApplyBarSettings();
}

void TOSDvForm::BeginPlacement() {
  DisplayPlacementMode = 1;
  level->SetPercent(100);
  formsh();
}

void TOSDvForm::EndPlacement() {
  DisplayPlacementMode = 0;
  RECT r{};
  GetWindowRect(GetHandle(), &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  MainSettings.OsdVolTop = r.top + HalfFrame(height, GetClientHeight());
  MainSettings.OsdVolLeft = r.left + HalfFrame(width, GetClientWidth());
  MainSettings.OsdVolHeight = GetClientHeight();
  MainSettings.OsdVolWidth = GetClientWidth();
  HideDisplay();
}

void TOSDvForm::Timer1Timer(TObject*) {
  const std::uint64_t deadline =
      startMs_ + static_cast<std::uint64_t>(static_cast<std::int64_t>(MainSettings.osdsh)) + 1000;
  if (ClockNowMs() <= deadline) return;
  HideDisplay();
  Timer1->SetEnabled(false);
}

void TOSDvForm::Publish(TPublisher<TOSDvForm>& p) {
  p.Field(L"level", &TOSDvForm::level);
  p.Field(L"Timer1", &TOSDvForm::Timer1);
  p.Handler(L"Timer1Timer", &TOSDvForm::Timer1Timer);
}
