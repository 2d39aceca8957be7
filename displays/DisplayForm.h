// What every on-screen display has in common. A display shows over whatever the
// user works in and must never take the keyboard from it: it is a topmost tool
// window that cannot be activated, shown with SW_SHOWNA, and it hides only by
// its own code (the system's hide requests, such as the owner being minimized,
// are refused). While the user positions a display (placement mode) it can be
// dragged by any point.
#pragma once
#include <cstdint>

#include "vcl/Forms.h"

// 1 while the settings window lets the user place a display.
inline std::uint8_t DisplayPlacementMode = 0;

class TDisplayForm : public TForm {
  QORN_CLASS(TDisplayForm, TForm)
  static void Publish(TPublisher<TDisplayForm>& p);

 public:
  explicit TDisplayForm(TComponent* AOwner) : TForm(AOwner) {}

  // Shows the window at its bounds, topmost, without activating it, and keeps the
  // application's taskbar button away while the main window is hidden.
  void ShowWithoutActivation();
  // Hides the window (the displays' own hide).
  void HideDisplay();
  // A resizable frame without a title bar (the framed look of a display and its
  // look while the user places and sizes it). A display never shows a title bar,
  // so the frame stays without one through later changes of the border style.
  void RemoveTitleBar();
  // Takes the size constraints off, or fixes the size to the present one.
  void FreeSize();
  void FixSize();

  void WMShowWindow(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Activate() override;

 private:
  bool noTitleBar_ = false;
};

// Whether the topmost windows were normalised on the first display activation
// (one flag for the process; tests read it).
bool DisplayTopMostsNormalized();
