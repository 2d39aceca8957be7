// The push buttons of the extended library: TVyCustomButton (mouse tracking, the hot
// state, three-dimensional caption text), TVyButton (default and cancel roles,
// ModalResult, grouping like a speed button, classic, hot-track and themed looks),
// TVyBitBtn (a glyph or an image-list image, and the standard kinds) and TVyMenuButton
// (drops down its popup menu).
//
// Rules:
// - A click needs the press and the release inside the button; sliding off and back
//   in still clicks.
// - Grouped buttons tell their siblings through the parent, control by control; no
//   window outside the library hears of it.
// - A press on a menu button that closes its own menu (within 100 ms of the menu
//   closing, by the program's clock) does not drop the menu again.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "controls/extended/VyPanel.h"
#include "vcl/Bitmap.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

#include <memory>

class TPopupMenu;

namespace Vy {

// Grouped buttons' broadcast: WParam the group, LParam the button that went down.
inline constexpr unsigned CM_VYBUTTONPRESSED = 0x2421;

class TVyCustomButton : public TCustomControl {
  QORN_CLASS(TVyCustomButton, TCustomControl)
 public:
  explicit TVyCustomButton(TComponent* AOwner);

  TAlignmentVertical GetAlignmentVertical() const { return FAlignmentVertical; }
  void SetAlignmentVertical(TAlignmentVertical v) { Look(FAlignmentVertical, v); }
  TColor GetHighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor v) { Look(FHighlightColor, v); }
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v) { Look(FHotTrack, v); }
  TColor GetHotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor v) { Look(FHotTrackColor, v); }
  TVyHotTrackColorType GetHotTrackColorType() const { return FHotTrackColorType; }
  void SetHotTrackColorType(TVyHotTrackColorType v) { Look(FHotTrackColorType, v); }
  bool GetLightTextStyle() const { return FLightTextStyle; }
  void SetLightTextStyle(bool v) { Look(FLightTextStyle, v); }
  TColor GetTextHighlightColor() const { return FTextHighlightColor; }
  void SetTextHighlightColor(TColor v) { Look(FTextHighlightColor, v); }
  TColor GetTextShadowColor() const { return FTextShadowColor; }
  void SetTextShadowColor(TColor v) { Look(FTextShadowColor, v); }
  int GetTextShadowDepth() const { return FTextShadowDepth; }
  void SetTextShadowDepth(int v) { Look(FTextShadowDepth, v); }
  TTextStyle GetTextStyle() const { return FTextStyle; }
  void SetTextStyle(TTextStyle v) { Look(FTextStyle, v); }
  bool GetThemeAware() const { return FThemeAware; }
  void SetThemeAware(bool v) { Look(FThemeAware, v); }

  bool IsMouseOver() const { return FMouseOver; }
  // Drawn pressed (a press being held inside it, or Space held).
  bool IsShowingDown() const { return FShowDown; }
  bool Themed() const;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void WMFocusChanged(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual void RefreshButtonLook() {}
  // The caption in the chosen text style, placed by AlignmentVertical inside rect.
  virtual void DrawEffectText(TCanvas* canvas, const TRect& rect, UINT flags);
  // What a click does (the button's own step: toggling a group, then Click).
  virtual void ClickStep() = 0;
  virtual void DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void DoMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }
  template <class T>
  void Look(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight(); }

  bool FMouseOver = false;
  bool FDragging = false;
  bool FShowDown = false;
  bool FKeyToggle = false;

 private:
  static void Publish(TPublisher<TVyCustomButton>& p);
  TAlignmentVertical FAlignmentVertical = avCenter;
  TColor FHighlightColor = clHighlight;
  bool FHotTrack = false;
  TColor FHotTrackColor = clHighlight;
  TVyHotTrackColorType FHotTrackColorType = TVyHotTrackColorType::htctComplement;
  bool FLightTextStyle = false;
  TColor FTextHighlightColor = clBtnHighlight;
  TColor FTextShadowColor = clBtnShadow;
  int FTextShadowDepth = 2;
  TTextStyle FTextStyle = TTextStyle::tsNormal;
  bool FThemeAware = true;
};

class TVyButton : public TVyCustomButton {
  QORN_CLASS(TVyButton, TVyCustomButton)
 public:
  explicit TVyButton(TComponent* AOwner);

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { Look(FAlignment, v); }
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetDropDownOnEnter() const { return FDropDownOnEnter; }
  void SetDropDownOnEnter(bool v) { FDropDownOnEnter = v; }
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool GetDown() const { return FDown; }
  // Only in a group; a down button stays down unless AllowAllUp.
  void SetDown(bool v);
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }
  bool GetShowDownPattern() const { return FShowDownPattern; }
  void SetShowDownPattern(bool v) { Look(FShowDownPattern, v); }
  bool GetShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool v) { Look(FShowFocusRect, v); }
  // Whether Enter clicks it now: the focused button, or the Default one while no
  // button has the focus.
  bool IsActive() const { return FActive; }

  // The form's ModalResult becomes the button's, then OnClick.
  void Click() override;

  void CMDialogKey(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMFocusChanged(TMessage& m);
  void CMVyButtonPressed(TMessage& m);

 protected:
  void Paint() override;
  void Loaded() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void ClickStep() override;
  void RefreshButtonLook() override { Invalidate(); }
  virtual TRect GetCaptionRect();
  virtual void DrawCaption();
  // The pressed look: the mouse or Space holds it, or a grouped button is down.
  bool Pressed() const { return FShowDown; }
  bool DownInGroup() const { return FGroupIndex != 0 && FDown; }
  // Clicks from the keyboard that should not drop a menu (Enter with DropDownOnEnter off).
  bool FNoDrop = false;

 private:
  static void Publish(TPublisher<TVyButton>& p);
  void PaintClassic(TCanvas* canvas, TRect r);
  void PaintHotTrack(TCanvas* canvas, TRect r);
  void PaintThemed(TCanvas* canvas, const TRect& r);
  void PaintDownPattern(TCanvas* canvas, const TRect& r);
  void BroadcastGroup();

  TAlignment FAlignment = taCenter;
  bool FAllowAllUp = false;
  bool FCancel = false;
  bool FDefault = false;
  bool FDropDownOnEnter = true;
  int FGroupIndex = 0;
  bool FDown = false;
  TModalResult FModalResult = mrNone;
  bool FShowDownPattern = true;
  bool FShowFocusRect = true;
  bool FActive = false;
  bool FClicking = false;
};

class TVyBitBtn : public TVyButton {
  QORN_CLASS(TVyBitBtn, TVyButton)
 public:
  explicit TVyBitBtn(TComponent* AOwner);
  ~TVyBitBtn() override;

  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v) { FGlyph->Assign(v); }
  int GetDisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int v) { Look(FDisabledIndex, v); }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { Look(FImageIndex, v); }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* v);
  // bkCustom as soon as Default, Cancel, ModalResult or the glyph no longer match the kind.
  TBitBtnKind GetKind() const;
  void SetKind(TBitBtnKind v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v) { Look(FLayout, v); }
  int GetMargin() const { return FMargin; }
  // Values below -1 are ignored.
  void SetMargin(int v);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v) { Look(FNumGlyphs, std::clamp(v, 1, 4)); }
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v) { Look(FSpacing, v); }

  void ChangeScale(int M, int D) override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TRect GetCaptionRect() override;
  virtual TSize GetGlyphSize() const;
  // Where the glyph goes (its top-left) and the caption's rectangle.
  void PlaceGlyphAndCaption(TPoint& glyphAt, TRect& caption);
  // Room kept free at the right (a menu button's arrow).
  virtual int RightReserve() const { return 0; }
  bool HasImage() const { return FImages && FImageIndex >= 0; }

 private:
  static void Publish(TPublisher<TVyBitBtn>& p);
  void GlyphChanged(TObject*);
  void ImagesChanged(TObject*) { Invalidate(); }
  bool IsCaptionStored() const;
  bool IsCancelStored() const { return GetKind() == ::bkCustom; }

  std::unique_ptr<TBitmap> FGlyph;
  int FDisabledIndex = -1;
  int FImageIndex = -1;
  TCustomImageList* FImages = nullptr;  // not owned; cleared when it goes
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TBitBtnKind FKind = ::bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = 2;
  TNumGlyphs FNumGlyphs = 1;
  int FSpacing = 4;
  bool FModifiedGlyph = false;
  bool FSettingKind = false;
};

class TVyMenuButton : public TVyBitBtn {
  QORN_CLASS(TVyMenuButton, TVyBitBtn)
 public:
  explicit TVyMenuButton(TComponent* AOwner);

  TPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* v);
  bool GetShowArrow() const { return FShowArrow; }
  void SetShowArrow(bool v) { Look(FShowArrow, v); }
  // Shows the menu under the button (kept on the monitor's work area); returns once it closed.
  virtual void DropDown();
  void Click() override;

  TNotifyEvent OnDropDown;

  void WMKeyDown(TMessage& m);

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  int RightReserve() const override { return FShowArrow ? 14 : 0; }
  // OnDropDown, with the menu as its sender.
  virtual void DoDropDown();

 private:
  static void Publish(TPublisher<TVyMenuButton>& p);
  // A press or F4: drops the menu, unless this press is the one that closed it.
  void PressDrop();

  TPopupMenu* FDropDownMenu = nullptr;  // not owned; cleared when it goes
  bool FShowArrow = true;
  bool FSkipNextClick = false;
  std::uint32_t FLastDrop = 0;
};

}  // namespace Vy
