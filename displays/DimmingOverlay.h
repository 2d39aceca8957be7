// The dimming overlay: while a dialog is open over a window, that window's client
// area is darkened by a borderless, alpha-blended window of one colour laid over
// it. The overlay fades in once when it is shown, watches the dialog, and fades out
// and hides once the dialog is closed or hidden; it is kept for the next use.
//
// The overlay never takes the activation (the dialog does), and its fades run on
// its own 20 ms timer: nothing here waits or runs a message loop of its own, so a
// repaint never restarts a fade and no fade runs inside another.
#pragma once
#include <cstdint>
#include <vector>

#include "displays/FadeSteps.h"
#include "vcl/Forms.h"
#include "vcl/Timer.h"

class TForm_Fog : public TForm {
  QORN_CLASS(TForm_Fog, TForm)
  static void Publish(TPublisher<TForm_Fog>& p);

 public:
  explicit TForm_Fog(TComponent* AOwner) : TForm(AOwner) {}
  ~TForm_Fog() override;

  TTimer* Timer_FogClose = nullptr;  // the fades and the watch of the dialog

  enum class TPhase { Hidden, FadingIn, Shown, FadingOut };

  // Lays the overlay over Over's client area in Color, fades it in to AlphaPercent
  // of full darkness in FadeMs (no fade under 20 ms), and shows Dialog over it:
  // modally (the result is the dialog's modal result) or not (mrNone at once). The
  // dialog's Tag is 1 while the overlay belongs to it, 0 once a modal one returned.
  // Called again while the overlay is up, the new dialog is the one watched (the
  // one before it again once the new one is gone), and the fade goes on.
  TModalResult ShowOver(TCustomForm* Dialog, TCustomForm* Over, bool Modal, TColor Color, std::uint8_t AlphaPercent,
                        std::uint16_t FadeMs);
  void Timer_FogCloseTimer(TObject* Sender);

  TPhase Phase() const { return phase_; }
  // The dialog the overlay stays for; nullptr once none is open.
  TCustomForm* WatchedDialog() const { return dialogs_.empty() ? nullptr : dialogs_.back(); }

  void WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void PlaceOver(TCustomForm* over);
  void ShowWithoutActivation();
  void StartPhase(TPhase phase, int fromStep);
  int StepsSincePhaseStart() const;
  bool DialogOpen();
  void Forget(TCustomForm* dialog);
  void HideOverlay();

  Displays::TFadeSteps fade_{40, 240};
  TPhase phase_ = TPhase::Hidden;
  std::uint64_t phaseStartMs_ = 0;
  int fromStep_ = 0;  // where the running fade started
  int step_ = 0;      // where it is now
  std::vector<TCustomForm*> dialogs_;  // the open ones, the watched one last
};

inline TForm_Fog* Form_Fog = nullptr;

// Shows Dialog over Over through the overlay (made by the application on first
// use and kept): TForm_Fog::ShowOver with the same arguments.
TModalResult ShowFogged(TCustomForm* Dialog, TCustomForm* Over, bool Modal, TColor Color, std::uint8_t AlphaPercent,
                        std::uint16_t FadeMs);
