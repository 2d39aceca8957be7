// The volume display: the output volume as a segmented gradient bar for a short
// time after a volume key. Size, place, colours, segments, opacity and frame come
// from the settings; in placement mode the user drags and sizes it.
#pragma once
#include <cstdint>

#include "controls/visual/GlProgress.h"
#include "displays/DisplayForm.h"
#include "vcl/Timer.h"

// The frame styles of the settings' list.
enum TVolumeFrame : std::int32_t { vfNormal = 0, vfNone = 1, vfThin = 2 };

class TOSDvForm : public TDisplayForm {
  QORN_CLASS(TOSDvForm, TDisplayForm)
  static void Publish(TPublisher<TOSDvForm>& p);

 public:
  explicit TOSDvForm(TComponent* AOwner) : TDisplayForm(AOwner) {}

  Flat::TglProgress* level = nullptr;  // the caller sets its percent after showw
  TTimer* Timer1 = nullptr;

  // Shows the display and restarts its clock; nothing in placement mode.
  void showw();
  // A volume key's display: showw, then the bar at percent (0..100). While the user
  // places the display it stays as placed, at 100 %.
  void ShowLevel(int percent);
  // Lays the window out from the settings and shows it.
  void formsh();
  // Gap, segment width, opacity and colours again (placement mode only).
  void applynewsettings();
  // Placement mode: entering shows the display at 100 %, framed and sizeable;
  // leaving stores where its client area is and how large, and hides it.
  void BeginPlacement();
  void EndPlacement();
  void Timer1Timer(TObject* Sender);

 private:
  void ApplyBarSettings();
  std::uint64_t startMs_ = 0;
};

inline TOSDvForm* OSDvForm = nullptr;
