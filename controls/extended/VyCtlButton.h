// TVyControlButton: the small windowless button an edit places beside its text (the
// button edit's pair, Part of VyBtnEdt.h): a glyph, an arrow or a drop-down arrow on a
// flat or raised face, with clicks that repeat while it is held.
//
// Rules: only the release point decides the click; a held button repeats only while
// the pointer is over it (sliding off pauses the repeats, coming back resumes them);
// a press that its OnMouseDown aborts (Abort()) leaves the button up, without the
// capture and without a click.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Bitmap.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/Timer.h"

#include <memory>

namespace Vy {

QORN_ENUM(TVyControlButtonStyle, cbsNone, cbsLeft, cbsUp, cbsRight, cbsDown, cbsDropDown);

class TVyControlButton : public TGraphicControl {
  QORN_CLASS(TVyControlButton, TGraphicControl)
 public:
  explicit TVyControlButton(TComponent* AOwner);
  ~TVyControlButton() override;

  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v) { FGlyph->Assign(v); }
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  unsigned GetDelay() const { return FDelay; }
  void SetDelay(unsigned v) { FDelay = v; }
  unsigned GetInitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(unsigned v) { FInitialDelay = v; }
  bool GetRepeatClicks() const { return FRepeatClicks; }
  void SetRepeatClicks(bool v) { FRepeatClicks = v; }
  TVyControlButtonStyle GetStyle() const { return FStyle; }
  void SetStyle(TVyControlButtonStyle v);

  // Drawn pressed: from a left press to its release.
  bool IsDown() const { return FDown; }
  bool IsMouseOver() const { return FMouseOver; }
  // The repeat timer, made by the first press with RepeatClicks (tests fire it).
  TTimer* RepeatTimer() const { return FRepeatTimer.get(); }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual TRect DrawButtonFace(TRect rect);
  virtual void DrawGlyph(TRect rect);
  virtual void DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void DoMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }

 private:
  static void Publish(TPublisher<TVyControlButton>& p);
  void GlyphChanged(TObject*);
  void RepeatTick(TObject*);
  bool Active() const;
  bool Themed() const;
  // After a release: tell the button whether the pointer is still over it.
  void CheckHover();

  bool FFlat = false;
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  unsigned FDelay = 100;
  unsigned FInitialDelay = 400;
  bool FRepeatClicks = false;
  TVyControlButtonStyle FStyle = cbsNone;
  bool FDown = false;
  bool FDragging = false;
  bool FMouseOver = false;
  bool FPointerInside = false;  // while dragging: the pointer is over the button
  std::unique_ptr<TTimer> FRepeatTimer;
};

}  // namespace Vy
