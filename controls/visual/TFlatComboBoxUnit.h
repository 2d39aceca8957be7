// The flat combo box: the platform's combo window repainted flat. A 1-pixel
// border and a 2-pixel band in the control's Color replace the 3D edge, and an
// 11-pixel arrow button of its own colours covers the native one; between the
// text and the button a 5-pixel strip shows the focus (list styles only).
//
// TCustomFlatComboBox holds the look and the colours; the flat colour combo box
// (TFlatColorComboBoxUnit.h) shares it and draws the focus in a colour of its own.
//
// Setters do nothing on an equal value. The drop-down list is painted with one
// brush of the control's Color, kept by the control and freed with it.
#pragma once
#include "controls/visual/FlatUtilitys.h"
#include "vcl/StdCtrls.h"

namespace Flat {

inline constexpr int kFlatComboButtonWidth = 11;
inline constexpr TColor kFlatComboArrowBackground = static_cast<TColor>(0xC5D6D9);
inline constexpr TColor kFlatComboBorder = static_cast<TColor>(0x8396A0);
inline constexpr TColor kFlatComboColor = static_cast<TColor>(0xE1EAEB);

class TCustomFlatComboBox : public TCustomComboBox {
  QORN_CLASS(TCustomFlatComboBox, TCustomComboBox)
 public:
  explicit TCustomFlatComboBox(TComponent* AOwner);

  TColor GetColorArrow() const { return FColorArrow; }
  void SetColorArrow(TColor v);
  TColor GetColorArrowBackground() const { return FColorArrowBackground; }
  void SetColorArrowBackground(TColor v);
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v);
  TAdvColors GetAdvColorBorder() const { return FAdvColorBorder; }
  void SetAdvColorBorder(TAdvColors v);
  TAdvColors GetAdvColorArrowBackground() const { return FAdvColorArrowBackground; }
  void SetAdvColorArrowBackground(TAdvColors v);
  bool GetUseAdvColors() const { return FUseAdvColors; }
  void SetUseAdvColors(bool v);

  // Dropped down, or the focus on the combo box or its inner edit.
  bool IsActive() const { return FActive; }
  bool IsListShown() const { return FListShown; }
  // The arrow button in window coordinates, before its 1-pixel widening.
  TRect ButtonRect() const;

  void WMPaint(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMFocusChanged(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMWindowPosChanging(TMessage& m);
  void WMCtlColorListBox(TMessage& m);
  void CNCommand(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMColorsFollow(TMessage& m);

 protected:
  // The colour of the focus strip and frame.
  virtual TColor FocusColor() const { return clHighlight; }
  // With UseAdvColors, the derived colours from the parent's Color.
  virtual void RecomputeColors();
  void ComboWndProc(TMessage& m, HWND wnd, WNDPROC defProc) override;
  void DrawBorders(HDC dc);
  void DrawButton(HDC dc);
  void DrawFocusArea(HDC dc);
  void UpdateActive();
  // The colour the recomputation starts from: the parent's, else the control's own.
  TColor ParentColorOrOwn() const;

  TColor FColorArrow = clBlack;
  TColor FColorArrowBackground = kFlatComboArrowBackground;
  TColor FColorBorder = kFlatComboBorder;
  TAdvColors FAdvColorBorder = 50;
  TAdvColors FAdvColorArrowBackground = 10;
  bool FUseAdvColors = false;

 private:
  static void Publish(TPublisher<TCustomFlatComboBox>& p);
  bool ColorStored() const { return !GetParentColor(); }
  bool HasFocusStrip() const { return GetStyle() > csSimple; }
  void PaintClient(HDC dc, RECT update);
  // Draws on the window's own DC now (outside a paint cycle); nothing without a window.
  template <class F>
  void OnWindowDC(F draw);
  int FSysBtnWidth;
  bool FActive = false;
  bool FListShown = false;
};

class TFlatComboBox : public TCustomFlatComboBox {
  QORN_CLASS(TFlatComboBox, TCustomFlatComboBox)
 public:
  explicit TFlatComboBox(TComponent* AOwner) : TCustomFlatComboBox(AOwner) {}
};

}  // namespace Flat
