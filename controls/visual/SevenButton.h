// TSevenButton: an owner-drawn push button with five looks (normal, hot, down,
// focused, disabled), each with its own vertical gradient, border colour and
// width, font and picture, and the caption beside the picture.
//
// One user action gives one OnClick: a press and release inside (the second
// press of a double click is a press like the first), Enter or Space on the
// focused button, Enter on the form for the default button, Esc for the cancel
// button. Changes before the window exists only invalidate, so they never
// create it.
#pragma once
#include <memory>

#include "vcl/Font.h"
#include "vcl/Forms.h"
#include "vcl/Picture.h"
#include "vcl/StdCtrls.h"

namespace Flat {

class TSevenButton;

enum class TSevenButtonState { Normal, Hot, Down, Focused, Disabled };
// The index of a state in the parts' tables.
constexpr int StateIndex(TSevenButtonState s) { return static_cast<int>(s); }

using TSevenButtonBorderWidth = int;  // 1..10

// A part of the button's look; setting what the normal look uses redraws the
// button, the rest is used from the next state change on.
class TSevenButtonPart : public TPersistent {
  QORN_CLASS(TSevenButtonPart, TPersistent)
 public:
  explicit TSevenButtonPart(TSevenButton* button = nullptr) : FButton(button) {}

 protected:
  void Redraw() const;
  TSevenButton* FButton;  // the owner, not owned
};

class TSevenButtonBorder : public TSevenButtonPart {
  QORN_CLASS(TSevenButtonBorder, TSevenButtonPart)
 public:
  using TSevenButtonPart::TSevenButtonPart;
  void Assign(const TPersistent* Source) override;
  TColor GetColorNormal() const { return FColors[StateIndex(TSevenButtonState::Normal)]; }
  void SetColorNormal(TColor v);
  TColor GetColorHot() const { return FColors[StateIndex(TSevenButtonState::Hot)]; }
  void SetColorHot(TColor v) { FColors[StateIndex(TSevenButtonState::Hot)] = v; }
  TColor GetColorDown() const { return FColors[StateIndex(TSevenButtonState::Down)]; }
  void SetColorDown(TColor v) { FColors[StateIndex(TSevenButtonState::Down)] = v; }
  TColor GetColorDisabled() const { return FColors[StateIndex(TSevenButtonState::Disabled)]; }
  void SetColorDisabled(TColor v) { FColors[StateIndex(TSevenButtonState::Disabled)] = v; }
  TColor GetColorFocused() const { return FColors[StateIndex(TSevenButtonState::Focused)]; }
  void SetColorFocused(TColor v) { FColors[StateIndex(TSevenButtonState::Focused)] = v; }
  int GetWidthNormal() const { return FWidths[StateIndex(TSevenButtonState::Normal)]; }
  void SetWidthNormal(int v);
  int GetWidthHot() const { return FWidths[StateIndex(TSevenButtonState::Hot)]; }
  void SetWidthHot(int v) { FWidths[StateIndex(TSevenButtonState::Hot)] = Clamp(v); }
  int GetWidthDown() const { return FWidths[StateIndex(TSevenButtonState::Down)]; }
  void SetWidthDown(int v) { FWidths[StateIndex(TSevenButtonState::Down)] = Clamp(v); }
  int GetWidthDisabled() const { return FWidths[StateIndex(TSevenButtonState::Disabled)]; }
  void SetWidthDisabled(int v) { FWidths[StateIndex(TSevenButtonState::Disabled)] = Clamp(v); }
  int GetWidthFocused() const { return FWidths[StateIndex(TSevenButtonState::Focused)]; }
  void SetWidthFocused(int v) { FWidths[StateIndex(TSevenButtonState::Focused)] = Clamp(v); }

  TColor ColorOf(TSevenButtonState s) const { return FColors[StateIndex(s)]; }
  int WidthOf(TSevenButtonState s) const { return FWidths[StateIndex(s)]; }

 private:
  static void Publish(TPublisher<TSevenButtonBorder>& p);
  static int Clamp(int v) { return v < 1 ? 1 : v > 10 ? 10 : v; }
  // By state: normal, hot, down, focused, disabled.
  TColor FColors[5] = {static_cast<TColor>(0x707070), static_cast<TColor>(0xB17F3C), static_cast<TColor>(0x8B622C),
                       static_cast<TColor>(0xB17F3C), static_cast<TColor>(0xB5B2AD)};
  int FWidths[5] = {1, 1, 1, 1, 1};
};

class TSevenButtonColors : public TSevenButtonPart {
  QORN_CLASS(TSevenButtonColors, TSevenButtonPart)
 public:
  using TSevenButtonPart::TSevenButtonPart;
  void Assign(const TPersistent* Source) override;
  TColor GetColorNormalFrom() const { return FFrom[StateIndex(TSevenButtonState::Normal)]; }
  void SetColorNormalFrom(TColor v);
  TColor GetColorNormalTo() const { return FTo[StateIndex(TSevenButtonState::Normal)]; }
  void SetColorNormalTo(TColor v);
  TColor GetColorHotFrom() const { return FFrom[StateIndex(TSevenButtonState::Hot)]; }
  void SetColorHotFrom(TColor v) { FFrom[StateIndex(TSevenButtonState::Hot)] = v; }
  TColor GetColorHotTo() const { return FTo[StateIndex(TSevenButtonState::Hot)]; }
  void SetColorHotTo(TColor v) { FTo[StateIndex(TSevenButtonState::Hot)] = v; }
  TColor GetColorDownFrom() const { return FFrom[StateIndex(TSevenButtonState::Down)]; }
  void SetColorDownFrom(TColor v) { FFrom[StateIndex(TSevenButtonState::Down)] = v; }
  TColor GetColorDownTo() const { return FTo[StateIndex(TSevenButtonState::Down)]; }
  void SetColorDownTo(TColor v) { FTo[StateIndex(TSevenButtonState::Down)] = v; }
  TColor GetColorDisabledFrom() const { return FFrom[StateIndex(TSevenButtonState::Disabled)]; }
  void SetColorDisabledFrom(TColor v) { FFrom[StateIndex(TSevenButtonState::Disabled)] = v; }
  TColor GetColorDisabledTo() const { return FTo[StateIndex(TSevenButtonState::Disabled)]; }
  void SetColorDisabledTo(TColor v) { FTo[StateIndex(TSevenButtonState::Disabled)] = v; }
  TColor GetColorFocusedFrom() const { return FFrom[StateIndex(TSevenButtonState::Focused)]; }
  void SetColorFocusedFrom(TColor v) { FFrom[StateIndex(TSevenButtonState::Focused)] = v; }
  TColor GetColorFocusedTo() const { return FTo[StateIndex(TSevenButtonState::Focused)]; }
  void SetColorFocusedTo(TColor v) { FTo[StateIndex(TSevenButtonState::Focused)] = v; }

  TColor FromOf(TSevenButtonState s) const { return FFrom[StateIndex(s)]; }
  TColor ToOf(TSevenButtonState s) const { return FTo[StateIndex(s)]; }

 private:
  static void Publish(TPublisher<TSevenButtonColors>& p);
  TColor FFrom[5] = {static_cast<TColor>(0xFCFCFC), static_cast<TColor>(0xFCFCFC), static_cast<TColor>(0xFCFCFC),
                     static_cast<TColor>(0xFCFCFC), static_cast<TColor>(0xF4F4F4)};
  TColor FTo[5] = {static_cast<TColor>(0xCFCFCF), static_cast<TColor>(0xF5D9A7), static_cast<TColor>(0xDBB368),
                   static_cast<TColor>(0xCFCFCF), static_cast<TColor>(0xF4F4F4)};
};

class TSevenButtonFonts : public TSevenButtonPart {
  QORN_CLASS(TSevenButtonFonts, TSevenButtonPart)
 public:
  explicit TSevenButtonFonts(TSevenButton* button = nullptr);
  void Assign(const TPersistent* Source) override;
  TFont* GetFontHot() const { return FHot.get(); }
  void SetFontHot(TFont* v) { FHot->Assign(v); }
  TFont* GetFontDown() const { return FDown.get(); }
  void SetFontDown(TFont* v) { FDown->Assign(v); }
  TFont* GetFontDisabled() const { return FDisabled.get(); }
  void SetFontDisabled(TFont* v) { FDisabled->Assign(v); }
  TFont* GetFontFocused() const { return FFocused.get(); }
  void SetFontFocused(TFont* v) { FFocused->Assign(v); }

 private:
  static void Publish(TPublisher<TSevenButtonFonts>& p);
  std::unique_ptr<TFont> FHot, FDown, FDisabled, FFocused;
};

class TSevenButtonPictures : public TSevenButtonPart {
  QORN_CLASS(TSevenButtonPictures, TSevenButtonPart)
 public:
  explicit TSevenButtonPictures(TSevenButton* button = nullptr);
  void Assign(const TPersistent* Source) override;
  TPicture* GetPictureNormal() const { return FPictures[StateIndex(TSevenButtonState::Normal)].get(); }
  void SetPictureNormal(TPicture* v);
  TPicture* GetPictureHot() const { return FPictures[StateIndex(TSevenButtonState::Hot)].get(); }
  void SetPictureHot(TPicture* v) { FPictures[StateIndex(TSevenButtonState::Hot)]->Assign(v); }
  TPicture* GetPictureDown() const { return FPictures[StateIndex(TSevenButtonState::Down)].get(); }
  void SetPictureDown(TPicture* v) { FPictures[StateIndex(TSevenButtonState::Down)]->Assign(v); }
  TPicture* GetPictureDisabled() const { return FPictures[StateIndex(TSevenButtonState::Disabled)].get(); }
  void SetPictureDisabled(TPicture* v) { FPictures[StateIndex(TSevenButtonState::Disabled)]->Assign(v); }
  TPicture* GetPictureFocused() const { return FPictures[StateIndex(TSevenButtonState::Focused)].get(); }
  void SetPictureFocused(TPicture* v) { FPictures[StateIndex(TSevenButtonState::Focused)]->Assign(v); }
  // taLeftJustify or taRightJustify: the side of the picture.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);

  // The state's picture, or the normal one when the state has none.
  TPicture* PictureOf(TSevenButtonState s) const;

 private:
  static void Publish(TPublisher<TSevenButtonPictures>& p);
  std::unique_ptr<TPicture> FPictures[5];
  TAlignment FAlignment = taLeftJustify;
  bool FTransparent = false;
};

class TSevenButton : public TButtonControl {
  QORN_CLASS(TSevenButton, TButtonControl)
 public:
  explicit TSevenButton(TComponent* AOwner);
  ~TSevenButton() override;

  TSevenButtonBorder* GetBorder() const { return FBorder.get(); }
  void SetBorder(TSevenButtonBorder* v) { FBorder->Assign(v); }
  TSevenButtonColors* GetColors() const { return FColors.get(); }
  void SetColors(TSevenButtonColors* v) { FColors->Assign(v); }
  TSevenButtonFonts* GetFonts() const { return FFonts.get(); }
  void SetFonts(TSevenButtonFonts* v) { FFonts->Assign(v); }
  TSevenButtonPictures* GetPictures() const { return FPictures.get(); }
  void SetPictures(TSevenButtonPictures* v) { FPictures->Assign(v); }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v) { FDefault = v; }
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v);
  int GetMarging() const { return FMarging; }
  void SetMarging(int v);

  TSevenButtonState GetState() const { return FState; }

  // Copies ModalResult to the parent form (0 resets it), then OnClick.
  void Click() override;
  void WndProc(TMessage& m) override;
  // Draws now when the window is shown; otherwise only invalidates.
  void DrawNow();

 protected:
  void PaintWindow(HDC dc) override;

 private:
  static void Publish(TPublisher<TSevenButton>& p);
  void Draw(HDC target);
  void SetState(TSevenButtonState s);

  std::unique_ptr<TSevenButtonBorder> FBorder;
  std::unique_ptr<TSevenButtonColors> FColors;
  std::unique_ptr<TSevenButtonFonts> FFonts;
  std::unique_ptr<TSevenButtonPictures> FPictures;
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
  TAlignment FAlignment = taCenter;
  int FSpacing = 5;
  int FMarging = 5;
  TSevenButtonState FState = TSevenButtonState::Normal;
};

}  // namespace Flat
