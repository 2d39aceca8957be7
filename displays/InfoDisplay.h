// The information display: a picture and a large centred text in the lower left
// corner of the screen, for the countdown before a power command. A picture can
// blink. It takes the volume display's opacity, frame and time.
#pragma once
#include <cstdint>
#include <string>

#include "controls/extended/VyBorder.h"
#include "controls/extended/VyLabel.h"
#include "controls/visual/PngImageList.h"
#include "displays/DisplayForm.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Timer.h"

class TOSDinfo : public TDisplayForm {
  QORN_CLASS(TOSDinfo, TDisplayForm)
  static void Publish(TPublisher<TOSDinfo>& p);

 public:
  explicit TOSDinfo(TComponent* AOwner) : TDisplayForm(AOwner) {}

  Vy::TVyBorder* Border = nullptr;
  Vy::TVyLabel* InfoLabel = nullptr;
  TImage* InfoPict = nullptr;  // Tag 2: blinking
  TTimer* Timer1 = nullptr;
  Flat::TPngImageCollection* InfoImages = nullptr;

  // Shows BigText at 48 points (BigFont) or Text at 16, the named picture of
  // InfoImages (blinking with Flag 1), until TimeMs from now and the volume
  // display's time and a second more; a negative TimeMs keeps the deadline.
  void showinfoosd(const std::wstring& Text, const std::wstring& BigText, bool BigFont, const std::wstring& PictName,
                   std::uint8_t Flag, std::int32_t TimeMs);
  void closeosd();
  // Every 500 ms: the close deadline and the blinking.
  void Timer1Timer(TObject* Sender);

  // The index of the first picture of that exact name; -1 when there is none.
  int FindPicture(const std::wstring& name) const;
  // How often the window was laid out and shown (a repeated call only updates).
  int LayoutCount() const { return layouts_; }

 private:
  void LayoutAndShow();
  std::uint64_t deadlineMs_ = 0;
  std::wstring lastPict_;
  std::uint8_t lastFlag_ = 0;
  std::int32_t lastTime_ = 0;
  bool shownOnce_ = false;
  int layouts_ = 0;
};

inline TOSDinfo* OSDinfo = nullptr;
