// TVyEdit: a single-line edit that draws its own frame in its non-client area in one
// of the shared frame styles, takes its background from its state (DisabledColor while
// disabled, FocusColor while focused, Color otherwise), can light its frame while the
// mouse is over it or it has the focus, and can keep a drop-down button strip at its
// right edge (the date/time edit's).
//
// Rules:
// - Color is the colour of the idle edit: setting it in any state keeps the state's
//   colour on screen, and the idle edit shows it once the state ends. FocusColor
//   follows a Color it equalled.
// - It is a masked edit without a mask engine (vcl/Mask.h): the text is plain.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "controls/extended/VyLifeToken.h"
#include "vcl/Buttons.h"
#include "vcl/Canvas.h"
#include "vcl/Mask.h"

namespace Vy {

using TInvalidInputEvent = TEvent<void(TObject* Sender, std::wstring& Message)>;

class TVyCustomEdit : public TCustomMaskEdit {
  QORN_CLASS(TVyCustomEdit, TCustomMaskEdit)
 public:
  explicit TVyCustomEdit(TComponent* AOwner);
  ~TVyCustomEdit() override;

  TAlignment GetAlignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment v);
  // The idle colour (what forms store); the window shows the state's colour.
  TColor GetColor() const { return FPlainColor; }
  virtual void SetColor(TColor v);
  TColor GetDisabledColor() const { return FDisabledColor; }
  virtual void SetDisabledColor(TColor v);
  TColor GetFocusColor() const { return FFocusColor; }
  virtual void SetFocusColor(TColor v);
  TColor GetFrameColor() const { return FFrameColor; }
  virtual void SetFrameColor(TColor v);
  TVyFrameController* GetFrameController() const { return FFrameController; }
  virtual void SetFrameController(TVyFrameController* v) { LinkFrameController(this, FFrameController, v); }
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  virtual void SetFrameHotColor(TColor v);
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  // On: the frame shows, on every side (outside loading).
  virtual void SetFrameHotTrack(bool v);
  TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
  virtual void SetFrameHotStyle(TFrameStyle v);
  TSides GetFrameSides() const { return FFrameSides; }
  virtual void SetFrameSides(TSides v);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  virtual void SetFrameStyle(TFrameStyle v);
  bool GetFrameVisible() const { return FFrameVisible; }
  virtual void SetFrameVisible(bool v);
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  virtual void SetFramingPreference(TFramingPreference v);
  bool GetTabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool v) { FTabOnEnter = v; }
  bool GetDropButtonVisible() const { return FDropButtonVisible; }
  virtual void SetDropButtonVisible(bool v);
  bool GetFlatButtons() const { return FFlatButtons; }
  virtual void SetFlatButtons(bool v);
  TColor GetFlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor v);

  // The platform's themes draw the frame (fpXPThemes with themes on): no own frame then.
  virtual bool UsesThemedFrame() const;
  virtual void RedrawFrame();
  void RequestNCPaint();
  // The colour the window shows now (the state's).
  TColor ShownColor() const { return TControl::GetColor(); }
  bool HasFocusLook() const { return FHasFocus; }
  bool IsHot() const { return FIsHot; }
  TButtonState DropButtonState() const { return FDropButtonState; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TInvalidInputEvent OnInvalidInput;

  void WMNCCalcSize(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMLButtonDown(TMessage& m);
  void WMLButtonUp(TMessage& m);
  void WMRButtonDown(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMSize(TMessage& m);
  void CMEnter(TMessage& m);
  void CMExit(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMParentColorChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void DefineProperties(TFiler& Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void ValidateError() override;
  TAlignment GetControlsAlignment() const override { return FAlignment; }

  virtual void ApplyStateColor();
  virtual void NoteActivity(bool viaMouse, bool active);
  virtual void DrawButtonArea(TCanvas* canvas, TRect rect);
  virtual void SetDropButtonState(TButtonState state);
  virtual void FireMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void FireMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }
  virtual void FireDropDown() {
    if (OnDropDown) OnDropDown(this);
  }
  virtual void FireCloseUp() {
    if (OnCloseUp) OnCloseUp(this);
  }
  void RunDropDown();
  void ReleaseDropButton();
  bool Loading() const { return ComponentState().Contains(csLoading); }
  // Whether the controller supplies the frame settings (then they are not stored).
  bool FramedByController() const { return FFrameController != nullptr; }
  // Whether the edit is still there after a drop-down's loop (its form may close meanwhile).
  std::weak_ptr<const bool> WatchLife() const { return FLife.Watch(); }

 private:
  static void Publish(TPublisher<TVyCustomEdit>& p);
  bool IsFocusColorStored() const;
  bool IsFramingStored() const { return !FramedByController(); }
  int DropStripWidth() const;

  TAlignment FAlignment = taLeftJustify;
  TColor FPlainColor = clWindow;
  TColor FDisabledColor = clBtnFace;
  TColor FFocusColor = clWindow;
  TColor FFrameColor = clBtnShadow;
  TColor FFrameHotColor = clBtnShadow;
  bool FFrameHotTrack = false;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  TSides FFrameSides = AllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
  bool FTabOnEnter = false;
  bool FDropButtonVisible = false;
  bool FFlatButtons = false;
  TColor FFlatButtonColor = clBtnFace;
  TVyFrameController* FFrameController = nullptr;  // not owned; cleared when it goes

  bool FApplyingColor = false;
  bool FHasFocus = false;
  bool FIsHot = false;
  bool FOverDropButton = false;
  bool FDropping = false;
  TButtonState FDropButtonState = bsUp;
  TVyLifeToken FLife;
};

class TVyEdit : public TVyCustomEdit {
  QORN_CLASS(TVyEdit, TVyCustomEdit)
 public:
  explicit TVyEdit(TComponent* AOwner) : TVyCustomEdit(AOwner) {}
};

}  // namespace Vy
