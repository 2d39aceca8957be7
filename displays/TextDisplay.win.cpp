#include "displays/TextDisplay.h"

#include <algorithm>

#include "core/settings/Settings.h"
#include "displays/DisplayLook.h"
#include "displays/DisplayPlacement.h"
#include "vcl/Clock.h"

namespace {
// The form's colour and the colour key: where it shows, the screen below shows.
constexpr TColor kSeeThrough = 0xFEFFFF;
}  // namespace

using Displays::ColorChosen;

void TOSDtForm::DoCreate() {
  ApplyLabelLook();
  inherited::DoCreate();
}

void TOSDtForm::ApplyLabelLook() {
  Displays::ApplyTextDisplayFont(VyLabel1->GetFont());
  if (ColorChosen(ColorSettings.osd2cl)) VyLabel1->GetFont()->SetColor(static_cast<TColor>(ColorSettings.osd2cl));
}

void TOSDtForm::showing(std::uint8_t Kind, const std::wstring& Text) {
  const bool placing = DisplayPlacementMode == 1;
  if (placing && Kind != tkPlacement) return;
  if (!shown_) {
    if (MainSettings.osd2sf == 1) {
      if (ColorChosen(ColorSettings.osd2fc)) {
        SetColor(static_cast<TColor>(ColorSettings.osd2fc));
        waosd->SetBackColor(static_cast<TColor>(ColorSettings.osd2fc));
      }
    } else {
      SetColor(kSeeThrough);
      waosd->SetBackColor(kSeeThrough);
    }
    if (ColorChosen(ColorSettings.osd2cl)) {
      const auto color = static_cast<TColor>(ColorSettings.osd2cl);
      VyLabel1->GetFont()->SetColor(color);
      waosd->SetBarColor(color);
      waosd->SetBorderColor(color);
      waosd->SetFlatColor(color);
    }
    SetAlphaBlendValue(MainSettings.osdtr2 & 0xFF);
    Layout(Kind, Text);
  } else if (Kind == tkWithBar && lastKind_ == tkWithBar) {
    // A running track display: the size stays, only the text follows.
    SetShownText(Text);
  } else {
    Layout(Kind, Text);
  }
  if (Kind != tkPlacement) {
    if (!clockRunning_) Timer1->SetEnabled(true);
    clockRunning_ = true;
    startMs_ = ClockNowMs();
  }
  if (!placing) shown_ = true;
  lastKind_ = Kind;
}

void TOSDtForm::SetShownText(const std::wstring& text) {
  VyLabel1->SetCaption(text);
  // The window says what it shows, to screen readers and whatever else reads windows.
  SetCaption(text);
}

void TOSDtForm::Layout(std::uint8_t kind, const std::wstring& text) {
  ApplyLabelLook();
  SetShownText(text);
  int width = 0;
  int height = 0;
  if (kind == tkWithBar) {
    waosd->SetTop(VyLabel1->GetHeight() + 20);
    waosd->SetVisible(true);
    width = std::max(VyLabel1->GetWidth(), waosd->GetWidth()) + 20;
    height = VyLabel1->GetHeight() + waosd->GetHeight() + 30;
  } else {
    waosd->SetVisible(false);
    width = VyLabel1->GetWidth() + 20;
    height = VyLabel1->GetHeight() + 20;
  }
  SetClientWidth(width);
  SetClientHeight(height);
  int left = MainSettings.OsdTextLeft;
  int top = MainSettings.OsdTextTop;
  if (MainSettings.osdlim == 1) {
    top = Displays::KeepInside(top, GetHeight(), Screen->GetHeight());
    left = Displays::KeepInside(left, GetWidth(), Screen->GetWidth());
  }
  SetBounds(left, top, GetWidth(), GetHeight());
  ShowWithoutActivation();
}

void TOSDtForm::applynewsettings() {
  if (DisplayPlacementMode != 1) return;
  ApplyLabelLook();
  if (MainSettings.osd2sf == 1) {
    if (ColorChosen(ColorSettings.osd2fc)) {
      SetColor(static_cast<TColor>(ColorSettings.osd2fc));
      waosd->SetBackColor(static_cast<TColor>(ColorSettings.osd2fc));
    }
  } else {
    SetColor(kSeeThrough);
    waosd->SetBackColor(kSeeThrough);
  }
  if (ColorChosen(ColorSettings.osd2cl)) {
    const auto color = static_cast<TColor>(ColorSettings.osd2cl);
    waosd->SetBarColor(color);
    waosd->SetBorderColor(color);
    waosd->SetFlatColor(color);
  }
  SetAlphaBlendValue(MainSettings.osdtr2 & 0xFF);
  SetClientWidth(VyLabel1->GetWidth() + 20);
  SetClientHeight(VyLabel1->GetHeight() + 20);
}

void TOSDtForm::Timer1Timer(TObject*) {
  const std::uint64_t deadline =
      startMs_ + static_cast<std::uint64_t>(static_cast<std::int64_t>(MainSettings.osdsh2)) + 1000;
  if (!clockRunning_ || ClockNowMs() <= deadline) return;
  HideDisplay();
  Timer1->SetEnabled(false);
  shown_ = false;
  SetShownText(L"");
  clockRunning_ = false;
}

void TOSDtForm::Publish(TPublisher<TOSDtForm>& p) {
  p.Field(L"VyLabel1", &TOSDtForm::VyLabel1);
  p.Field(L"waosd", &TOSDtForm::waosd);
  p.Field(L"Timer1", &TOSDtForm::Timer1);
  p.Handler(L"Timer1Timer", &TOSDtForm::Timer1Timer);
}
