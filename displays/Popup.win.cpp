#include "displays/Popup.h"

#include <algorithm>

#include "core/settings/Settings.h"
#include "displays/DisplayLook.h"
#include "displays/OnScreenDisplays.h"
#include "displays/PopupSkin.h"
#include "displays/PopupText.h"
#include "displays/TextDisplay.h"
#include "vcl/Clock.h"
#include "vcl/DateUtils.h"
#include "vcl/ScopeGuards.h"

using Displays::ColorChosen;

namespace {
constexpr TColor kPlainColor = 0xC0C0C0;
constexpr TColor kSkinKey = 0xFF00FF;  // the popup under its skin is all key colour: invisible
constexpr int kOffScreen = -1024;

int Opacity() { return PopupSettings.popupopauqe; }
bool Fade() { return PopupSettings.popupfade == 1; }
bool Animate() { return PopupSettings.popupanim == 1; }
// Ticks of a fade or slide.
int AnimationTicks() { return std::max<int>(PopupSettings.popupanimdelay, 1) * 10; }
}  // namespace

TPopupForm::TPopupForm(TComponent* AOwner) : TDisplayForm(AOwner), skin_(std::make_unique<TPopupSkin>()) {}
TPopupForm::~TPopupForm() = default;

TForm* TPopupForm::SkinWindow() const { return skin_->Window(); }

void TPopupForm::DoCreate() {
  popuptext1->SetShowAccelChar(false);
  popuptext2->SetShowAccelChar(false);
  popupcaption->SetShowAccelChar(false);
  inherited::DoCreate();
}

void TPopupForm::Activate() {
  // The skin window first, so that the skin stays over the popup.
  if (TForm* w = SkinWindow(); w && w->WindowHandle())
    SetWindowPos(w->WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  inherited::Activate();
}

std::wstring TPopupForm::Text(const char* key, const wchar_t* fallback) const {
  return LanguageText ? LanguageText(key, fallback) : std::wstring(fallback);
}

Displays::TPopupArea TPopupForm::Area() const {
  const TRect work = Screen->GetWorkAreaRect();
  return {work.Left, work.Top, work.Right, work.Bottom, Screen->GetWidth(), Screen->GetHeight()};
}

bool TPopupForm::Gate() const { return MainSettings.osdwa == 1 && !(FullScreenInFront && FullScreenInFront()); }

bool TPopupForm::SkinOn() {
  if (PopupSettings.popupuseskin != 1) return false;
  if (previewing_) return skin_->Usable();
  const std::string_view name = StringSettings.PopupSkinName.view();
  if (name.empty()) return false;
  return skin_->Load(SkinsFolder + AnsiToString(name) + L"\\");
}

void TPopupForm::ApplyFonts() {
  Displays::ApplyFontSlot(popupcaption->GetFont(), 1);
  for (Vy::TVyLabel* label : {popuptext1, popuptext2}) Displays::ApplyFontSlot(label->GetFont(), 2);
  Displays::ApplyFontSlot(popuptext3->GetFont(), 2);
  popuptext3->GetFont()->SetStyle({});
}

void TPopupForm::ApplyColours() {
  if (ColorChosen(ColorSettings.popupcolorcaption))
    FlatPanel2->SetColor(static_cast<TColor>(ColorSettings.popupcolorcaption));
  if (ColorChosen(ColorSettings.popupcolorground))
    FlatPanel1->SetColor(static_cast<TColor>(ColorSettings.popupcolorground));
}

void TPopupForm::gradientset() {
  if (PopupSettings.popupuseskin == 1 && skin_->Usable()) return;
  popupvol->SetOptions(PopupSettings.popuptranspvolumebar == 1 ? Flat::TglProgressOptions{Flat::fpoTransparent}
                                                               : Flat::TglProgressOptions{});
  if (PopupSettings.popupgradient != 1) {
    if (popupbacgradient->GetActive()) {
      popupbacgradient->SetEnabled(false);
      popupbacgradient->SetVisible(false);
      popupbacgradient->SetActive(false);
    }
    return;
  }
  const auto from = static_cast<TColor>(ColorSettings.popupcolorground);
  const auto to = static_cast<TColor>(ColorSettings.popupcolorground2);
  if (ColorChosen(ColorSettings.popupcolorground) && popupbacgradient->GetGradientColorStart() != from)
    popupbacgradient->SetGradientColorStart(from);
  if (ColorChosen(ColorSettings.popupcolorground2) && popupbacgradient->GetGradientColorStop() != to)
    popupbacgradient->SetGradientColorStop(to);
  static constexpr Vy::TGradientDirection directions[] = {Vy::gdHorizontalEnd, Vy::gdHorizontalCenter,
                                                          Vy::gdVerticalEnd,   Vy::gdVerticalCenter,
                                                          Vy::gdDiagonalDown,  Vy::gdDiagonalUp};
  popupbacgradient->SetGradientDirection(directions[std::min<int>(PopupSettings.popupcolorgroundgradientdirection, 5)]);
  if (!popupbacgradient->GetActive()) {
    popupbacgradient->SetEnabled(true);
    popupbacgradient->SetVisible(true);
    popupbacgradient->SetActive(true);
  }
}

void TPopupForm::SetBody(const std::wstring& text) {
  TStringList lines;
  lines.SetText(Displays::PopupBodyMarkup(text));
  popuptext3->SetHTMLText(&lines);
  // The label sizes itself as it paints, which needs its parent's window.
  popuptext3->GetParent()->HandleNeeded();
  popuptext3->RedrawNow();
}

void TPopupForm::SizeFor(int width, int height) {
  // Moved away first, so that nobody sees the window change its size.
  if (width != lastWidth_ || height != lastHeight_) SetBounds(kOffScreen, kOffScreen, GetWidth(), GetHeight());
  SetBounds(GetLeft(), GetTop(), width, height);
}

void TPopupForm::PlainLayout(bool withTrackBar) {
  DoubleBuffered = true;
  SetColor(kPlainColor);
  SetTransparentColor(false);
  for (TControl* panel : std::initializer_list<TControl*>{TitlePanel, FlatPanel1, FlatPanel2}) panel->SetVisible(true);
  popupcaption->SetParent(TitlePanel);
  popupcaption->SetBounds(40, 3, popupcaption->GetWidth(), popupcaption->GetHeight());
  for (TControl* label : std::initializer_list<TControl*>{popuptext1, popuptext2, popuptext3, popupbar, popupvol})
    label->SetParent(FlatPanel1);
  popuptext1->SetBounds(8, 29, popuptext1->GetWidth(), popuptext1->GetHeight());
  popuptext2->SetBounds(240, 29, popuptext2->GetWidth(), popuptext2->GetHeight());
  popuptext3->SetBounds(8, 50, popuptext3->GetWidth(), popuptext3->GetHeight());
  for (TControl* label : std::initializer_list<TControl*>{popupcaption, popuptext1, popuptext2, popuptext3})
    label->SetVisible(true);
  const int width = std::max(popuptext3->GetWidth() + 16, 286);
  const int height = popuptext3->GetHeight() > 30 ? popuptext3->GetHeight() + 70 : 100;
  popuptext2->SetLeft(width - popuptext2->GetWidth() - 10);
  SizeFor(width, height);
  if (withTrackBar) popupbar->SetBounds(2, 87, GetClientWidth() - 4, popupbar->GetHeight());
}

void TPopupForm::PutLabelsOnForm() {
  DoubleBuffered = true;
  SetColor(kSkinKey);
  SetTransparentColorValue(kSkinKey);
  SetTransparentColor(true);
  for (TControl* c :
       std::initializer_list<TControl*>{popupcaption, popuptext1, popuptext2, popuptext3, popupbar, popupvol})
    c->SetParent(this);
  for (TControl* panel : std::initializer_list<TControl*>{TitlePanel, FlatPanel1, FlatPanel2}) panel->SetVisible(false);
  popupbacgradient->SetVisible(false);
}

void TPopupForm::SkinLayout() {
  PutLabelsOnForm();
  auto box = [](TControl* c) { return Displays::TLabelBox{c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight()}; };
  Displays::TSkinLayout l;
  l.Width = GetWidth(), l.Height = GetHeight();
  l.Title = box(popupcaption), l.Pos = box(popuptext1), l.Time = box(popuptext2), l.Text = box(popuptext3);
  l.TrackBar = box(popupbar), l.VolumeBar = box(popupvol);
  l = Displays::LayoutSkinLabels(skin_->Config(), l);
  auto place = [](TControl* c, const Displays::TLabelBox& b) { c->SetBounds(b.Left, b.Top, b.Width, b.Height); };
  place(popupcaption, l.Title), place(popuptext1, l.Pos), place(popuptext2, l.Time), place(popuptext3, l.Text);
  place(popupbar, l.TrackBar), place(popupvol, l.VolumeBar);
  SizeFor(l.Width, l.Height);
}

void TPopupForm::PlaceResting() {
  const int position = PopupSettings.PopupPosition;
  if (!Displays::PopupPositionValid(position)) return;
  const auto at = Displays::PopupRestingPlace(position, Area(), GetWidth(), GetHeight());
  SetBounds(at.Left, at.Top, GetWidth(), GetHeight());
}

void TPopupForm::ApplyBlend(int value) {
  SetAlphaBlend(true);
  SetAlphaBlendValue(value);
  // The popup under a skin is invisible anyway; the skin window carries the alpha.
  MoveSkinWindow();
}

void TPopupForm::MoveSkinWindow() {
  if (!skin_->Window() || PopupSettings.popupuseskin != 1 || !skin_->Usable()) return;
  skin_->Blend(GetLeft(), GetTop(), GetAlphaBlend() ? GetAlphaBlendValue() : 255);
}

void TPopupForm::ShowWindowNow() {
  if (PopupSettings.popupuseskin == 1 && skin_->Usable()) skin_->Show();
  ShowWithoutActivation();
}

void TPopupForm::HideAll() {
  Timer1->SetEnabled(false);
  HideDisplay();
  skin_->Hide();
  shown_ = volumeShown_ = trackShown_ = skinLayoutDone_ = holding_ = false;
  state_ = psHidden;
}

void TPopupForm::StartHolding() {
  state_ = psHolding;
  holding_ = true;
  startMs_ = ClockNowMs();
  Timer1->SetEnabled(true);
}

void TPopupForm::PrepareSkin() {
  skin_->Prepare(GetWidth(), GetHeight(), PopupSettings.tb_skin_brightness, PopupSettings.tb_skin_color);
}

// The labels stay hidden on the invisible popup: their texts are drawn into the skin.
void TPopupForm::DrawSkin(bool reblend) {
  for (TControl* c : std::initializer_list<TControl*>{popupcaption, popuptext1, popuptext2, popuptext3})
    c->SetVisible(false);
  skin_->DrawTexts([&](TCanvas& canvas) {
    canvas.GetBrush()->SetStyle(bsClear);
    for (Vy::TVyLabel* label : {popupcaption, popuptext1, popuptext2}) {
      const std::wstring text = label->GetCaption();
      if (text.empty()) continue;
      canvas.GetFont()->Assign(label->GetFont());
      const int width = canvas.TextWidth(text);
      TRect r{label->GetLeft(), label->GetTop(), 0, 0};
      r.Right = r.Left + width + (r.Left + width) / 10;
      r.Bottom = r.Top + canvas.TextHeight(text);
      canvas.DrawText(text, r, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (popuptext3->GetJoinedHTMLText().empty()) return;
    canvas.GetFont()->Assign(popuptext3->GetFont());
    canvas.GetFont()->SetStyle({});
    const int left = popuptext3->GetLeft(), top = popuptext3->GetTop(), width = popuptext3->GetWidth();
    popuptext3->PaintToCanvas(&canvas,
                              TRect{left, top, left + width + (left + width) / 10, top + popuptext3->GetHeight()});
  });
  if (reblend) MoveSkinWindow();
}

void TPopupForm::showing(const std::wstring& Caption, const std::wstring& Pos, const std::wstring& Time,
                         const std::wstring& Text, std::uint8_t Spare, std::uint8_t Kind, std::uint8_t Percent) {
  if (!Gate()) return;
  if (MainSettings.washowosd == 1 && !Displays::IsPopupPreview(Caption, Text, this->Text("OSD.TestMsg", L""))) {
    OnScreenDisplays().ShowText(tkNotice, Displays::PopupNoticeAsOsdText(Caption, Pos, Time, Text));
    return;
  }
  if (Kind == 2) {
    showingff(Caption, Pos, Time, Text, Spare, Kind, Percent);
    return;
  }
  // Nothing could be seen: no window, and no clock left running for it.
  if (Opacity() == 0) return;
  volumeShown_ = trackShown_ = false;
  popupcaption->SetCaption(Caption);
  ApplyFonts();
  ApplyColours();
  gradientset();
  popuptext1->SetCaption(Pos);
  popuptext2->SetCaption(Time);
  SetBody(Text);
  popupvol->SetVisible(false);
  popupbar->SetVisible(false);
  const bool skinned = SkinOn();
  if (skinned) SkinLayout();
  else PlainLayout(false);

  if (shown_ && GetWidth() == lastWidth_ && GetHeight() == lastHeight_) {
    // The same size while up: the hold starts again; a popup fading out comes back.
    startMs_ = ClockNowMs();
    holding_ = true;
    if (skinned) DrawSkin(true);
    if (Fade()) {
      state_ = Opacity() > alpha_ ? psAppearing : psHolding;
      Timer1->SetEnabled(true);
    }
    return;
  }

  if (Opacity() == 255 || Fade()) SetAlphaBlend(false);
  else ApplyBlend(Opacity());
  const int position = PopupSettings.PopupPosition;
  if (Displays::PopupPositionValid(position)) {
    if (Animate()) {
      slide_ =
          Displays::TPopupSlide(position, PopupSettings.PopupSlide, Area(), GetWidth(), GetHeight(), AnimationTicks());
      const auto start = Displays::PopupSlideStart(position, PopupSettings.PopupSlide, Area(), GetWidth(), GetHeight());
      SetBounds(start.Left, start.Top, GetWidth(), GetHeight());
    } else {
      slide_ = {};
      PlaceResting();
    }
  }
  if (skinned) {
    PrepareSkin();
    DrawSkin(false);
  }
  if (Fade()) {
    ApplyBlend(0);
    alpha_ = 0;
    holding_ = false;
  } else if (Animate()) {
    if (Opacity() < 255) ApplyBlend(Opacity());
    alpha_ = Opacity();
    startMs_ = ClockNowMs();
  }
  MoveSkinWindow();
  ShowWindowNow();
  if (Fade() || Animate()) {
    state_ = psAppearing;
    Timer1->SetEnabled(true);
  } else {
    StartHolding();
  }
  shown_ = true;
  lastWidth_ = GetWidth();
  lastHeight_ = GetHeight();
}

void TPopupForm::ShowHolding(bool skinned) {
  StartHolding();
  if (skinned) {
    PrepareSkin();
    DrawSkin(false);
    MoveSkinWindow();
  }
  ShowWindowNow();
  lastWidth_ = GetWidth();
  lastHeight_ = GetHeight();
}

void TPopupForm::PrimeOnce() {
  if (!firstUse_) return;
  firstUse_ = false;
  SetBounds(kOffScreen, kOffScreen, GetWidth(), GetHeight());
  ShowWindowNow();
}

void TPopupForm::showingff(const std::wstring& Caption, const std::wstring& Pos, const std::wstring& Time,
                           const std::wstring& Text, std::uint8_t, std::uint8_t, std::uint8_t Percent) {
  if (!Gate()) return;
  if (MainSettings.washowosd == 1) {
    OnScreenDisplays().ShowText(tkWithBar, Displays::PopupTrackAsOsdText(Caption, Pos, Time, Text), Percent);
    return;
  }
  if (Opacity() == 0) return;
  shown_ = volumeShown_ = false;
  PrimeOnce();
  const bool skinned = SkinOn();
  if (trackShown_) {
    popupbar->SetPosition(Percent);
    popuptext1->SetCaption(Pos);
    popuptext2->SetCaption(Time);
    if (Text != lastTrackText_) {
      SetBody(Text);
      lastTrackText_ = Text;
    }
    if (skinned) DrawSkin(true);
    startMs_ = ClockNowMs();
    return;
  }
  popupcaption->SetCaption(Caption);
  popuptext1->SetCaption(Pos);
  popuptext2->SetCaption(Time);
  SetBody(Text);
  lastTrackText_ = Text;
  popupvol->SetVisible(false);
  ApplyFonts();
  ApplyColours();
  if (skinned) {
    if (!IsWindowVisible(GetHandle())) SkinLayout();
  } else {
    PlainLayout(true);
  }
  popupbar->SetPosition(Percent);
  // Under a skin the bars show on the see-through popup, which lies over the skin.
  popupbar->SetVisible(true);
  if (Opacity() == 255) SetAlphaBlend(false);
  else ApplyBlend(Opacity());
  ApplyColours();
  gradientset();
  slide_ = {};
  PlaceResting();
  alpha_ = Opacity();
  trackShown_ = true;
  ShowHolding(skinned);
}

void TPopupForm::showingvol(std::uint8_t Kind, std::int32_t Percent) {
  if (Opacity() == 0) return;
  shown_ = trackShown_ = false;
  PrimeOnce();
  const bool skinned = SkinOn();
  popupcaption->SetVisible(!skinned);
  static constexpr const char* keys[] = {"OSD.VolumeUp", "OSD.VolumeDown", "OSD.Mute", "OSD.VolumeSet"};
  static constexpr const wchar_t* fallbacks[] = {L"Volume up", L"Volume down", L"Sound off", L"Volume set"};
  if (Kind >= 1 && Kind <= 4) popupcaption->SetCaption(Text(keys[Kind - 1], fallbacks[Kind - 1]));
  const std::wstring volumeText = Text("OSD.Volume", L"Volume") + L": " + std::to_wstring(Percent) + L"%";
  if (volumeShown_) {
    popupvol->SetVisible(true);
    popupvol->SetPercent(Percent);
    popuptext1->SetCaption(volumeText);
    if (skinned) DrawSkin(true);
    startMs_ = ClockNowMs();
    return;
  }
  ApplyFonts();
  ApplyColours();
  popuptext1->SetCaption(volumeText);
  popuptext1->SetVisible(true);
  popuptext2->SetCaption(L"");
  popuptext2->SetVisible(false);
  SetBody(L"");
  popuptext3->SetVisible(false);
  popuptext3->SetBounds(popuptext3->GetLeft(), popuptext3->GetTop(), 10, 10);
  popupbar->SetVisible(false);
  if (skinned) {
    if (!skinLayoutDone_) SkinLayout();
    skinLayoutDone_ = true;
  } else {
    PlainLayout(false);
    popuptext3->SetVisible(false);
    popuptext2->SetVisible(false);
    SizeFor(278, 87);
    popupvol->SetBounds(2, 49, 274, 36);
    if (ColorChosen(ColorSettings.osdclrb))
      popupvol->GetGradient()->SetFromColor(static_cast<TColor>(ColorSettings.osdclrb));
    if (ColorChosen(ColorSettings.osdclre))
      popupvol->GetGradient()->SetToColor(static_cast<TColor>(ColorSettings.osdclre));
    gradientset();
  }
  popupvol->SetStep(MainSettings.osdvolstep);
  popupvol->SetVisible(true);
  popupvol->SetPercent(Percent);
  if (Opacity() < 255) ApplyBlend(Opacity());
  else if (Fade()) ApplyBlend(255);
  else SetAlphaBlend(false);
  ApplyColours();
  slide_ = {};
  PlaceResting();
  volumeShown_ = true;
  alpha_ = Opacity();
  ShowHolding(skinned);
}

void TPopupForm::ShowSkinPreview(const std::wstring& SkinFolder) {
  skin_->Load(SkinFolder);
  // The preview shows the skin of its folder, whatever the settings name.
  previewing_ = true;
  TOnExit done([&] { previewing_ = false; });
  showing(L"Test", DateToStr(Now()), TimeToStr(Now()), L"Preview PopUp window", 0, 0, 0);
}

void TPopupForm::Timer1Timer(TObject*) {
  const double n = AnimationTicks();
  switch (state_) {
    case psAppearing: {
      if (alpha_ == 0) ShowWindowNow();
      if (Fade()) ApplyBlend(static_cast<int>(alpha_));
      if (Opacity() > alpha_) {
        alpha_ = std::min<double>(alpha_ + Opacity() / n, Opacity());
        if (alpha_ == Opacity()) ApplyBlend(Opacity());
      }
      if (Animate() && !slide_.Done()) {
        const int at = slide_.Step();
        if (slide_.Vertical()) SetBounds(GetLeft(), at, GetWidth(), GetHeight());
        else SetBounds(at, GetTop(), GetWidth(), GetHeight());
        Repaint();
      }
      // With fade and slide together, the hold begins when both are done.
      if (alpha_ >= Opacity() && slide_.Done()) StartHolding();
      MoveSkinWindow();
      break;
    }
    case psHolding: {
      if (!holding_ || ClockNowMs() <= startMs_ + std::uint64_t(PopupSettings.popupdelay) * 100) break;
      GetCursorPos(&savedCursor_);
      holding_ = false;
      volumeShown_ = trackShown_ = false;
      if (Fade()) {
        if (!shown_) alpha_ = Opacity();
        state_ = psFadingOut;
      } else {
        HideAll();
      }
      break;
    }
    case psFadingOut: {
      POINT cursor{};
      GetCursorPos(&cursor);
      const bool inside = cursor.x > GetLeft() && cursor.x < GetLeft() + GetWidth() && cursor.y > GetTop() &&
                          cursor.y < GetTop() + GetHeight();
      // The user reads it: the fade waits while the mouse moves over the popup.
      if (inside && cursor.x != savedCursor_.x && cursor.y != savedCursor_.y) break;
      ApplyBlend(static_cast<int>(alpha_));
      if (alpha_ > 0) alpha_ -= Opacity() / n;
      if (alpha_ <= 0) {
        alpha_ = 0;
        HideAll();
      }
      break;
    }
    case psHidden: Timer1->SetEnabled(false); break;
  }
}

void TPopupForm::Publish(TPublisher<TPopupForm>& p) {
  p.Field(L"FlatPanel1", &TPopupForm::FlatPanel1);
  p.Field(L"FlatPanel2", &TPopupForm::FlatPanel2);
  p.Field(L"TitlePanel", &TPopupForm::TitlePanel);
  p.Field(L"Image1", &TPopupForm::Image1);
  p.Field(L"popupcaption", &TPopupForm::popupcaption);
  p.Field(L"popuptext1", &TPopupForm::popuptext1);
  p.Field(L"popuptext2", &TPopupForm::popuptext2);
  p.Field(L"popuptext3", &TPopupForm::popuptext3);
  p.Field(L"popupbar", &TPopupForm::popupbar);
  p.Field(L"popupvol", &TPopupForm::popupvol);
  p.Field(L"popupbacgradient", &TPopupForm::popupbacgradient);
  p.Field(L"Timer1", &TPopupForm::Timer1);
  p.Handler(L"Timer1Timer", &TPopupForm::Timer1Timer);
}
