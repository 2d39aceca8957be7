// The text display: a line or a few lines of large text over everything for a
// short time, optionally with a progress bar under the text. The key road's
// notices, the popup's display route, the date and time and the player's track
// information show here; in placement mode the user drags it to its place.
#pragma once
#include <cstdint>
#include <string>

#include "controls/extended/VyLabel.h"
#include "controls/extended/VyPrgres.h"
#include "displays/DisplayForm.h"
#include "vcl/Timer.h"

// What a call shows, and how it treats the hide clock.
enum TTextKind : std::uint8_t {
  tkPlacement = 1,  // placement mode: shown there too, no hide clock
  tkNotice = 2,     // plain text
  tkTrack = 3,      // as a notice; a change of kind lays the window out again
  tkWithBar = 4,    // the text over the bar; while shown, further calls only change the text
};

class TOSDtForm : public TDisplayForm {
  QORN_CLASS(TOSDtForm, TDisplayForm)
  static void Publish(TPublisher<TOSDtForm>& p);

 public:
  explicit TOSDtForm(TComponent* AOwner) : TDisplayForm(AOwner) {}

  Vy::TVyLabel* VyLabel1 = nullptr;
  Vy::TVyProgressBar* waosd = nullptr;  // its caller sets the percent before a kind-4 call
  TTimer* Timer1 = nullptr;

  // Shows Text as Kind says (from the GUI thread).
  void showing(std::uint8_t Kind, const std::wstring& Text);
  // After an option changed: font, colours, alpha and size again (placement mode only).
  void applynewsettings();
  // The hide clock's tick: hides the window once the display time and a second
  // have passed since the last call that restarted the clock.
  void Timer1Timer(TObject* Sender);

  bool IsShown() const { return shown_; }

 protected:
  void DoCreate() override;

 private:
  void ApplyLabelLook();
  void SetShownText(const std::wstring& text);
  void Layout(std::uint8_t kind, const std::wstring& text);

  bool shown_ = false;
  std::uint8_t lastKind_ = 0;
  bool clockRunning_ = false;
  std::uint64_t startMs_ = 0;
};

inline TOSDtForm* OSDtForm = nullptr;
