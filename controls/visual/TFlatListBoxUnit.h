// The flat list box: a self-drawn list of at most 256 lines (not the platform's
// list box) in rows of one height, with single or multiple selection and, in
// place of a scroll bar, two optional strips with arrows above and below the
// rows. Its height always snaps to a whole number of rows.
//
// Scrolling (the strips, the wheel, Page Up/Down and the arrow keys) moves only
// the first visible line; the selection never follows. Holding an arrow strip
// repeats after 600 ms and then every 100 ms, on one timer all list boxes share;
// a list box that goes while the timer points at it stops it first.
//
// The wheel reads the whole delta: each 120 is a notch of the system's scroll
// lines (what is left over waits for the next message), and page scrolling moves
// a page. Neither the wheel nor Page Down leaves the last page less than full.
#pragma once
#include <bitset>
#include <memory>
#include <vector>

#include "controls/visual/FlatButtonCommon.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Controls.h"
#include "vcl/PaintBuffer.h"
#include "vcl/StringList.h"

class TTimer;

namespace Flat {

inline constexpr int kFlatListMaxItems = 256;

class TFlatListBox : public TCustomControl {
  QORN_CLASS(TFlatListBox, TCustomControl)
 public:
  explicit TFlatListBox(TComponent* AOwner);
  ~TFlatListBox() override;

  TStringList* GetItems() const { return FItems.get(); }
  // A list of more than 256 lines is refused. Otherwise its lines are trimmed (in
  // the given list too) and copied.
  void SetItems(TStrings* v);
  int GetItemIndex() const { return FItemIndex; }
  // Fires OnChangeIndex unless equal. Multiple selection toggles the line's mark;
  // single selection marks only it.
  void SetItemIndex(int v);
  bool GetSelected(int index) const;
  // Ignored for an index outside the lines.
  void SetSelected(int index, bool v);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool v);
  bool GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(bool v);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode v);

  TColor GetColorArrow() const { return FColorArrow; }
  void SetColorArrow(TColor v);
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v);
  TColor GetColorItemsRect() const { return FColorItemsRect; }
  void SetColorItemsRect(TColor v);
  TColor GetColorItemsSelect() const { return FColorItemsSelect; }
  void SetColorItemsSelect(TColor v);
  TAdvColors GetAdvColorBorder() const { return FAdvColorBorder; }
  void SetAdvColorBorder(TAdvColors v);
  bool GetUseAdvColors() const { return FUseAdvColors; }
  void SetUseAdvColors(bool v);

  int TopIndex() const { return FTopIndex; }
  int VisibleCount() const { return FVisibleCount; }
  // Row k of the visible rows, in client coordinates.
  TRect RowRect(int k) const;
  // Whether the shared repeat timer runs for this list box.
  bool Repeating() const;
  // Whether the shared repeat timer runs for any list box.
  static bool AnyRepeating();

  TNotifyEvent OnChangeIndex;

  void WMMouseWheel(TMessage& m);
  void WMSize(TMessage& m);
  void WMGetDlgCode(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void CNKeyDown(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMColorsFollow(TMessage& m);
  void WMRepaintUnlessOpaque(TMessage& m);

 protected:
  void WndProc(TMessage& m) override;
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  static void Publish(TPublisher<TFlatListBox>& p);
  bool ColorStored() const { return !GetParentColor(); }
  void ItemsChanged(TObject* sender);
  void ChangeIndex(int v);
  void Recount();
  void SnapHeight();
  int RowsFor(int height) const;
  int ChromeHeight() const { return FScrollBars ? 24 : 4; }
  bool CanScrollDown() const { return FTopIndex + FVisibleCount + 1 <= FItems->Count(); }
  // The first visible line that keeps the last page full.
  int LastTop() const;
  void ScrollBy(int lines);
  void StartRepeat(bool down);
  void RepeatTick();
  void RecomputeColors();
  void DrawArrows(TCanvas* canvas, const TRect& client);

  std::unique_ptr<TStringList> FItems;
  std::bitset<kFlatListMaxItems> FSelection;
  TPaintBuffer FBuffer;
  TTransparentMode FTransparentMode = tmNone;
  int FItemHeight = 17;
  bool FMultiSelect = false;
  bool FScrollBars = false;
  bool FSorted = false;
  TColor FColorArrow = clBlack;
  TColor FColorBorder = static_cast<TColor>(0x8396A0);
  TColor FColorItemsRect = clWhite;
  TColor FColorItemsSelect = static_cast<TColor>(0x9CDEF7);
  TAdvColors FAdvColorBorder = 40;
  bool FUseAdvColors = false;
  int FTopIndex = 0;
  int FVisibleCount = 0;
  int FItemIndex = -1;
  int FWheelCarry = 0;  // the part of a wheel delta short of a notch
  bool FRepeatDown = false;
  unsigned FWheelRollMsg;  // the older wheel drivers' registered message
};

}  // namespace Flat
