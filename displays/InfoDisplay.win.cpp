#include "displays/InfoDisplay.h"

#include "core/settings/Settings.h"
#include "displays/VolumeDisplay.h"
#include "vcl/Clock.h"

namespace {
constexpr int kBlinking = 2;
}

int TOSDinfo::FindPicture(const std::wstring& name) const {
  auto* items = InfoImages->GetItems();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Items(i)->GetName() == name) return i;
  return -1;
}

void TOSDinfo::showinfoosd(const std::wstring& Text, const std::wstring& BigText, bool BigFont,
                           const std::wstring& PictName, std::uint8_t Flag, std::int32_t TimeMs) {
  if (TimeMs >= 0) deadlineMs_ = ClockNowMs() + static_cast<std::uint64_t>(TimeMs);
  InfoLabel->GetFont()->SetSize(BigFont ? 48 : 16);
  InfoLabel->SetCaption(BigFont ? BigText : Text);
  const int index = FindPicture(PictName);
  if (index >= 0)
    InfoPict->GetPicture()->SetGraphic(InfoImages->GetItems()->Items(index)->GetPngImage());
  else
    InfoPict->GetPicture()->SetGraphic(nullptr);
  if (Flag == 1 && index >= 0) {
    InfoPict->SetTag(kBlinking);
  } else {
    InfoPict->SetTag(0);
    InfoPict->SetVisible(true);
  }
  const bool visible = WindowHandle() && IsWindowVisible(WindowHandle());
  if (shownOnce_ && visible && PictName == lastPict_ && Flag == lastFlag_ && TimeMs == lastTime_) return;
  lastPict_ = PictName;
  lastFlag_ = Flag;
  lastTime_ = TimeMs;
  shownOnce_ = true;
  LayoutAndShow();
  Timer1->SetEnabled(true);
}

void TOSDinfo::LayoutAndShow() {
  ++layouts_;
  SetAlphaBlendValue(MainSettings.osdtr & 0xFF);
  FreeSize();
  if (MainSettings.CB_osd_vol_border_style == vfNone) {
    SetBorderStyle(bsNone);
  } else {
    SetBorderStyle(bsSingle);
    RemoveTitleBar();
  }
  SetClientHeight(144);
  SetClientWidth(495);
  SetBounds(50, Screen->GetHeight() - GetHeight() - 50, GetWidth(), GetHeight());
  ShowWithoutActivation();
  FixSize();
}

void TOSDinfo::closeosd() {
  HideDisplay();
  Timer1->SetEnabled(false);
}

void TOSDinfo::Timer1Timer(TObject*) {
  const std::uint64_t close =
      deadlineMs_ + static_cast<std::uint64_t>(static_cast<std::int64_t>(MainSettings.osdsh)) + 1000;
  if (ClockNowMs() > close) {
    closeosd();
    return;
  }
  if (InfoPict->Tag() == kBlinking) InfoPict->SetVisible(!InfoPict->GetVisible());
}

void TOSDinfo::Publish(TPublisher<TOSDinfo>& p) {
  p.Field(L"Border", &TOSDinfo::Border);
  p.Field(L"InfoLabel", &TOSDinfo::InfoLabel);
  p.Field(L"InfoPict", &TOSDinfo::InfoPict);
  p.Field(L"Timer1", &TOSDinfo::Timer1);
  p.Field(L"InfoImages", &TOSDinfo::InfoImages);
  p.Handler(L"Timer1Timer", &TOSDinfo::Timer1Timer);
}
