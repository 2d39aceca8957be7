#include "displays/DimmingOverlay.h"

#include <algorithm>

#include "vcl/Clock.h"

namespace {
// A window drawn without a frame still keeps its content off its very edge.
constexpr int kBorderlessInset = 6;
}  // namespace

TForm_Fog::~TForm_Fog() {
  if (Form_Fog == this) Form_Fog = nullptr;
}

void TForm_Fog::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  // The dialog takes the keyboard, never the overlay; and it has no taskbar button.
  p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

TModalResult TForm_Fog::ShowOver(TCustomForm* Dialog, TCustomForm* Over, bool Modal, TColor Color,
                                 std::uint8_t AlphaPercent, std::uint16_t FadeMs) {
  if (!Dialog || !Over) throw EInvalidOperation(L"The overlay needs a dialog and a window to lie over");
  const bool fresh = phase_ == TPhase::Hidden;
  if (fresh) {
    fade_ = Displays::TFadeSteps(AlphaPercent, FadeMs);
    SetAlphaBlendValue(0);
  }
  SetColor(Color);
  Dialog->SetTag(1);
  Forget(Dialog);
  dialogs_.push_back(Dialog);
  FreeNotification(Dialog);

  const TFormStyle style = Over->GetFormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal;
  SetFormStyle(style);
  Dialog->SetFormStyle(style);
  PlaceOver(Over);
  ShowWithoutActivation();
  if (fresh) {
    StartPhase(TPhase::FadingIn, 0);
    if (fade_.Immediate()) {
      step_ = fade_.Count();
      SetAlphaBlendValue(fade_.Full());
      phase_ = TPhase::Shown;
    }
  } else if (phase_ == TPhase::FadingOut) {
    // Closing when a new dialog came: darken again from where it is.
    StartPhase(TPhase::FadingIn, step_);
  }
  if (!Timer_FogClose->GetEnabled()) Timer_FogClose->SetEnabled(true);

  if (!Modal) {
    Dialog->Show();
    return mrNone;
  }
  // Also when the dialog could not run: the overlay must not stay for it.
  const TOnExit returned([&] {
    Dialog->SetTag(0);
    Timer_FogCloseTimer(this);
  });
  return Dialog->ShowModal();
}

void TForm_Fog::PlaceOver(TCustomForm* over) {
  if (over->GetBorderStyle() == bsNone) {
    SetBounds(over->GetLeft() + kBorderlessInset, over->GetTop() + kBorderlessInset,
              std::max(over->GetClientWidth() - 2 * kBorderlessInset, 0),
              std::max(over->GetClientHeight() - 2 * kBorderlessInset, 0));
    return;
  }
  // The frame is as wide on every side; the title bar is what the top has more.
  const int frame = (over->GetWidth() - over->GetClientWidth()) / 2;
  SetBounds(over->GetLeft() + frame, over->GetTop() + over->GetHeight() - over->GetClientHeight() - frame,
            over->GetClientWidth(), over->GetClientHeight());
}

void TForm_Fog::ShowWithoutActivation() {
  const HWND top = GetFormStyle() == fsStayOnTop ? HWND_TOPMOST : HWND_TOP;
  SetWindowPos(GetHandle(), top, GetLeft(), GetTop(), GetWidth(), GetHeight(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // The window is on the screen already: the form only takes note.
  SetVisible(true);
  // A dialog already on the screen stays over the overlay (one about to be shown
  // comes over it anyway).
  if (TCustomForm* dialog = WatchedDialog(); dialog && dialog->Showing())
    SetWindowPos(dialog->GetHandle(), top, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm_Fog::StartPhase(TPhase phase, int fromStep) {
  phase_ = phase;
  phaseStartMs_ = ClockNowMs();
  fromStep_ = fromStep;
  step_ = fromStep;
}

int TForm_Fog::StepsSincePhaseStart() const {
  const std::uint64_t steps = (ClockNowMs() - phaseStartMs_) / Displays::TFadeSteps::StepMs;
  return static_cast<int>(std::min<std::uint64_t>(steps, static_cast<std::uint64_t>(fade_.Count())));
}

void TForm_Fog::Timer_FogCloseTimer(TObject*) {
  // A dialog gone in the middle of the fade in turns it back from where it is.
  if ((phase_ == TPhase::FadingIn || phase_ == TPhase::Shown) && !DialogOpen()) {
    if (fade_.Immediate()) {
      HideOverlay();
      return;
    }
    StartPhase(TPhase::FadingOut, step_);
  }
  if (phase_ == TPhase::FadingIn) {
    step_ = std::min(fromStep_ + StepsSincePhaseStart(), fade_.Count());
    SetAlphaBlendValue(fade_.AlphaAt(step_));
    if (fade_.DoneAt(step_)) phase_ = TPhase::Shown;
  }
  if (phase_ == TPhase::FadingOut) {
    step_ = std::max(fromStep_ - StepsSincePhaseStart(), 0);
    SetAlphaBlendValue(fade_.AlphaAt(step_));
    if (step_ == 0) HideOverlay();
  }
}

bool TForm_Fog::DialogOpen() {
  while (TCustomForm* dialog = WatchedDialog()) {
    if (dialog->Tag() == 1 && dialog->GetVisible()) return true;
    Forget(dialog);
  }
  return false;
}

void TForm_Fog::Forget(TCustomForm* dialog) {
  const auto at = std::find(dialogs_.begin(), dialogs_.end(), dialog);
  if (at == dialogs_.end()) return;
  dialogs_.erase(at);
  RemoveFreeNotification(dialog);
}

void TForm_Fog::HideOverlay() {
  Timer_FogClose->SetEnabled(false);
  if (HWND wnd = WindowHandle()) ShowWindow(wnd, SW_HIDE);
  SetVisible(false);
  SetAlphaBlendValue(0);
  phase_ = TPhase::Hidden;
  step_ = 0;
  while (TCustomForm* dialog = WatchedDialog()) Forget(dialog);
}

void TForm_Fog::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    // A dialog freed while watched: as good as closed.
    const auto at = std::find(dialogs_.begin(), dialogs_.end(), AComponent);
    if (at != dialogs_.end()) dialogs_.erase(at);
  }
  inherited::Notification(AComponent, Operation);
}

TModalResult ShowFogged(TCustomForm* Dialog, TCustomForm* Over, bool Modal, TColor Color, std::uint8_t AlphaPercent,
                        std::uint16_t FadeMs) {
  // Owned by the application, never its main form.
  if (!Form_Fog) Form_Fog = CreateForm<TForm_Fog>(Application);
  return Form_Fog->ShowOver(Dialog, Over, Modal, Color, AlphaPercent, FadeMs);
}

void TForm_Fog::Publish(TPublisher<TForm_Fog>& p) {
  p.Field(L"Timer_FogClose", &TForm_Fog::Timer_FogClose);
  p.Handler(L"Timer_FogCloseTimer", &TForm_Fog::Timer_FogCloseTimer);
  p.Message(WM_MOUSEACTIVATE, &TForm_Fog::WMMouseActivate);
}
