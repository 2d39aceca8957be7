// The pair of arrow buttons inside a flat spin edit's right edge.
//
// TSpinArrowButton is one small flat button with an arrow glyph that repeats
// while held: a press steps once on release, and holding it steps after 400 ms
// and then every 100 ms (on the program's clock, vcl/Clock.h, so tests move it).
// TSpinButton holds an up and a down one side by side and reports their clicks
// as OnUpClick and OnDownClick; a press hands the focus to FocusControl.
#pragma once
#include <memory>

#include "vcl/Bitmap.h"
#include "vcl/Controls.h"
#include "vcl/Timer.h"

namespace Flat {

class TSpinArrowButton : public TGraphicControl {
  QORN_CLASS(TSpinArrowButton, TGraphicControl)
 public:
  static constexpr unsigned kFirstRepeatMs = 400;
  static constexpr unsigned kRepeatMs = 100;

  TSpinArrowButton(TComponent* AOwner, bool up);
  ~TSpinArrowButton() override;
  bool IsUp() const { return FUp; }
  bool IsDown() const { return FPressed; }
  // nullptr restores the stock arrow.
  void SetGlyph(TBitmap* glyph);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  bool Repeating() const { return FTimer && FTimer->GetEnabled(); }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void RepeatTick();
  bool FUp;
  bool FPressed = false;
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TTimer> FTimer;  // made on the first press
};

class TSpinButton : public TCustomControl {
  QORN_CLASS(TSpinButton, TCustomControl)
 public:
  explicit TSpinButton(TComponent* AOwner);
  ~TSpinButton() override;

  TSpinArrowButton* UpButton() const { return FUpButton; }
  TSpinArrowButton* DownButton() const { return FDownButton; }
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  TBitmap* GetUpGlyph() const { return FUpButton->GetGlyph(); }
  void SetUpGlyph(TBitmap* v) { FUpButton->SetGlyph(v); }
  TBitmap* GetDownGlyph() const { return FDownButton->GetGlyph(); }
  void SetDownGlyph(TBitmap* v) { FDownButton->SetGlyph(v); }
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  void WMGetDlgCode(TMessage& m);

 protected:
  void KeyDown(WORD& key, TShiftState shift) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 private:
  friend class TSpinArrowButton;
  static void Publish(TPublisher<TSpinButton>& p);
  void ArrowClicked(TSpinArrowButton* button);
  void ArrowPressed(TSpinArrowButton* button);
  void LayoutArrows();
  TSpinArrowButton* FUpButton;
  TSpinArrowButton* FDownButton;
  TSpinArrowButton* FFocusedButton;
  TWinControl* FFocusControl = nullptr;
};

}  // namespace Flat
