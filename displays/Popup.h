// The popup: a small notice window at an edge of the work area (one of six
// places) that fades in and out and slides in from outside the screen, holds for
// the configured time (longer while the user moves the mouse over it as it fades)
// and goes. It shows a caption, a position and a time text over a tagged body
// text, or a volume bar, or a live track-position bar. With a skin its look is
// the skin's picture in a window of per-pixel alpha laid exactly over it.
//
// The body is tagged text (the HTML label's markup): callers escape outside
// texts (titles, file names) with Flat::EscapeHTMLText before they put them in.
// Caption, position and time are plain text. Like every display it never takes
// the focus. An opacity of 0 shows nothing.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/extended/VyBckgnd.h"
#include "controls/extended/VyLabel.h"
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"
#include "controls/visual/HTMLabel.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "displays/DisplayForm.h"
#include "displays/PopupPlacement.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Timer.h"

class TPopupSkin;

// What the popup does on a tick: 1 appearing, 2 holding, 3 fading out.
enum TPopupState : std::uint8_t { psHidden = 0, psAppearing = 1, psHolding = 2, psFadingOut = 3 };

class TPopupForm : public TDisplayForm {
  QORN_CLASS(TPopupForm, TDisplayForm)
  static void Publish(TPublisher<TPopupForm>& p);

 public:
  explicit TPopupForm(TComponent* AOwner);
  ~TPopupForm() override;

  Flat::TFlatPanel* FlatPanel1 = nullptr;
  Flat::TFlatPanel* FlatPanel2 = nullptr;
  Flat::TFlatPanel* TitlePanel = nullptr;
  TImage* Image1 = nullptr;
  Vy::TVyLabel* popupcaption = nullptr;
  Vy::TVyLabel* popuptext1 = nullptr;
  Vy::TVyLabel* popuptext2 = nullptr;
  Flat::THTMLabel* popuptext3 = nullptr;
  Flat::TFlatProgressBar* popupbar = nullptr;
  Flat::TglProgress* popupvol = nullptr;
  Vy::TVyBackground* popupbacgradient = nullptr;
  TTimer* Timer1 = nullptr;

  // The general popup; Kind 2 is the track popup. Text is tagged text.
  void showing(const std::wstring& Caption, const std::wstring& Pos, const std::wstring& Time, const std::wstring& Text,
               std::uint8_t Spare, std::uint8_t Kind, std::uint8_t Percent);
  // The track popup with its position bar at Percent (0..100); while it is up,
  // further calls update it in place.
  void showingff(const std::wstring& Caption, const std::wstring& Pos, const std::wstring& Time,
                 const std::wstring& Text, std::uint8_t Spare1, std::uint8_t Spare2, std::uint8_t Percent);
  // The volume popup: Kind 1 up, 2 down, 3 mute, 4 set; Percent 0..100.
  void showingvol(std::uint8_t Kind, std::int32_t Percent);
  // Loads the skin of that folder (ending in a backslash) and shows a test popup in it.
  void ShowSkinPreview(const std::wstring& SkinFolder);
  // The gradient and the continuous volume bar from the settings.
  void gradientset();
  // The animation clock's tick.
  void Timer1Timer(TObject* Sender);

  // What the popup asks of the program around it (the main window sets them):
  // language texts, and whether a full-screen program is in front.
  std::function<std::wstring(const std::string& key, const std::wstring& fallback)> LanguageText;
  std::function<bool()> FullScreenInFront;
  // The folder holding the skin folders ("skins\Popup\" beside the program).
  std::wstring SkinsFolder;

  TPopupState State() const { return state_; }
  bool Shown() const { return shown_; }
  int CurrentAlpha() const { return static_cast<int>(alpha_); }
  // The skin window, or nullptr while no skin shows.
  TForm* SkinWindow() const;
  // Where the popup shows and slides from: the work area and the screen.
  Displays::TPopupArea Area() const;

 protected:
  void DoCreate() override;
  void Activate() override;

 private:
  bool Gate() const;
  bool SkinOn();
  void ApplyFonts();
  void ApplyColours();
  void PlainLayout(bool withTrackBar);
  void SkinLayout();
  void PutLabelsOnForm();
  void SetBody(const std::wstring& text);
  void SizeFor(int width, int height);
  void PlaceResting();
  void ShowWindowNow();
  void StartHolding();
  void HideAll();
  void ApplyBlend(int value);
  void MoveSkinWindow();
  void PrepareSkin();
  void DrawSkin(bool reblend);
  // The first volume or track popup shows the window off the screen once.
  void PrimeOnce();
  // A volume or track popup shown afresh: at its place, holding.
  void ShowHolding(bool skinned);
  std::wstring Text(const char* key, const wchar_t* fallback) const;

  std::unique_ptr<TPopupSkin> skin_;
  TPopupState state_ = psHidden;
  double alpha_ = 0;
  Displays::TPopupSlide slide_;
  std::uint64_t startMs_ = 0;
  bool holding_ = false;  // the hold clock runs (startMs_ is its start)
  bool shown_ = false;
  bool volumeShown_ = false;
  bool trackShown_ = false;
  bool skinLayoutDone_ = false;
  bool firstUse_ = true;
  bool previewing_ = false;
  int lastWidth_ = 0, lastHeight_ = 0;
  POINT savedCursor_{};
  std::wstring lastTrackText_;
};

inline TPopupForm* PopupForm = nullptr;
