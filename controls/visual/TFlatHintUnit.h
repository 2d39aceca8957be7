// TFlatHint: placed on a form, it makes the application show its hints in
// TFlatHintWindow, a borderless flat box with a strip whose small arrow points at
// the cursor, and sets the application's hint pauses. The hint window takes its
// colours and font from the first TFlatHint of the screen's forms; without one
// no hint shows.
//
// Freed, a component whose class and OnShowHint are the application's hands
// them to another flat hint still on a form, or else gives back what the
// application had before any flat hint; either way the current hint window is
// dropped, so that no hint runs into a component that is gone.
#pragma once
#include <memory>

#include "controls/visual/FlatHintPlacement.h"
#include "vcl/Font.h"
#include "vcl/Forms.h"
#include "vcl/HintWindow.h"

namespace Flat {

class TFlatHint : public TComponent {
  QORN_CLASS(TFlatHint, TComponent)
 public:
  explicit TFlatHint(TComponent* AOwner);
  ~TFlatHint() override;

  TColor GetColorBackground() const { return FColorBackground; }
  void SetColorBackground(TColor v) { FColorBackground = v; }
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v) { FColorBorder = v; }
  TColor GetColorArrowBackground() const { return FColorArrowBackground; }
  void SetColorArrowBackground(TColor v) { FColorArrowBackground = v; }
  TColor GetColorArrow() const { return FColorArrow; }
  void SetColorArrow(TColor v) { FColorArrow = v; }
  int GetMaxHintWidth() const { return FMaxHintWidth; }
  void SetMaxHintWidth(int v) { FMaxHintWidth = v; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }

  TShowHintEvent OnShowHint;

  // The TFlatHint that supplies the look: the first one of the screen's forms.
  static TFlatHint* Find();
  // The same, passing over except.
  static TFlatHint* FindOther(const TFlatHint* except);

 private:
  static void Publish(TPublisher<TFlatHint>& p);
  // Makes this component's window class and OnShowHint the application's.
  void Install();
  void ApplicationShowHint(std::wstring& hintStr, bool& canShow, THintInfo& hintInfo);
  TShowHintEvent OwnShowHint() { return TShowHintEvent(this, &TFlatHint::ApplicationShowHint); }

  TColor FColorBackground = clWhite;
  TColor FColorBorder = clBlack;
  TColor FColorArrowBackground = static_cast<TColor>(0x53D2FF);
  TColor FColorArrow = clBlack;
  int FMaxHintWidth = 200;
  std::unique_ptr<TFont> FFont;
  bool FInstalled = false;
  std::function<THintWindow*(TComponent*)> FPreviousWindowClass;
  TShowHintEvent FPreviousShowHint;
};

class TFlatHintWindow : public THintWindow {
  QORN_CLASS(TFlatHintWindow, THintWindow)
 public:
  explicit TFlatHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  // Sizes the box for text at the component's MaxHintWidth and places it by the
  // cursor (rect's size is not used); nothing shows without a TFlatHint.
  void ActivateHint(TRect rect, const std::wstring& hint) override;
  THintCorner GetCorner() const { return FCorner; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  THintCorner FCorner = THintCorner::TopLeft;
  // The look of the hint shown, copied at ActivateHint: the component may go first.
  TColor FBackground = clWhite, FBorder = clBlack, FArrowBackground = clBlack, FArrow = clBlack;
};

}  // namespace Flat
