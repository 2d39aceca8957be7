// The mute picture: a 128 x 128 picture near the lower left corner of the screen
// when the volume action switches mute on or off, the built-in one or the user's
// picture for that state. White is see-through.
#pragma once
#include <cstdint>
#include <string>

#include "core/settings/ExtSettings.h"
#include "displays/DisplayForm.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Timer.h"

class TOSDmForm : public TDisplayForm {
  QORN_CLASS(TOSDmForm, TDisplayForm)
  static void Publish(TPublisher<TOSDmForm>& p);

 public:
  explicit TOSDmForm(TComponent* AOwner) : TDisplayForm(AOwner) {}

  TImage* imon = nullptr;
  TImage* imoff = nullptr;
  TImage* userpict = nullptr;
  TTimer* Timer1 = nullptr;
  // Where the user's pictures are named ("UserPictMuteOn", "UserPictMuteOff" of
  // the "QornMain" list); none: the built-in pictures. Not owned.
  const TExtSettings* Settings = nullptr;

  // State 1: the mute-on picture, any other: mute off; shows it and restarts the
  // clock. A user picture that cannot be read is reported once and the call shows
  // nothing; nothing thrown leaves this call (it runs from a key's action).
  void showw(std::uint8_t State) noexcept;
  void Timer1Timer(TObject* Sender);

 private:
  bool ShowPicture(std::uint8_t state);
  std::uint64_t startMs_ = 0;
  std::wstring reportedPath_;  // the last unreadable picture, reported already
};

inline TOSDmForm* OSDmForm = nullptr;
