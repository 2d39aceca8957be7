// The one way for the program to put something on the screen through its
// displays: the key road's notices and the actions (volume, mute, power
// countdown, track and date displays) call these, never the forms themselves, so
// that a test can install a recorder in their place.
//
// The program's own displays are the forms it makes at start (OSDtForm, OSDvForm,
// OSDmForm, OSDinfo, PopupForm); a call before one is made, or after it is gone, shows nothing.
// Every call comes from the GUI thread, from the main loop: never from a hook
// callback, since each may lay out and show a window.
#pragma once
#include <cstdint>
#include <string>

class IOnScreenDisplays {
 public:
  virtual ~IOnScreenDisplays() = default;
  // The text display (TTextKind: 1 placement, 2 notice, 3 track, 4 text over the
  // bar, whose percent is barPercent).
  virtual void ShowText(std::uint8_t kind, const std::wstring& text, int barPercent = 0) = 0;
  // The volume display at percent (0..100); nothing while the user places it.
  virtual void ShowVolume(int percent) = 0;
  // The mute picture: state 1 the mute-on picture (the sound is on: the volume
  // action passes 1 when the line plays), any other the mute-off picture.
  virtual void ShowMute(std::uint8_t state) = 0;
  // The information display (TOSDinfo::showinfoosd) and its close.
  virtual void ShowInfo(const std::wstring& text, const std::wstring& bigText, bool bigFont,
                        const std::wstring& pictName, std::uint8_t flag, std::int32_t timeMs) = 0;
  virtual void CloseInfo() = 0;
  // The popup (TPopupForm::showing, showingff, showingvol). Its body text is
  // tagged text: outside texts in it are escaped (Flat::EscapeHTMLText).
  virtual void ShowPopup(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                         const std::wstring& text, std::uint8_t kind, std::uint8_t percent) = 0;
  virtual void ShowPopupTrack(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                              const std::wstring& text, std::uint8_t percent) = 0;
  virtual void ShowPopupVolume(std::uint8_t kind, std::int32_t percent) = 0;
};

// The program's displays unless a test installed its recorder.
IOnScreenDisplays& OnScreenDisplays();
// Installs a recorder (nullptr: the program's displays again).
void SetOnScreenDisplays(IOnScreenDisplays* displays);
