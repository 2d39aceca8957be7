// The framed list view (the ignored programs, the profile and statistics tables, the
// base of the shell list): the frame and state colours of TVyWindowFrame; in report
// view a last column that reaches the right edge; click-to-sort by a column's texts
// with a sort arrow in the owner-drawn header; check-box changes the program may
// refuse; a context menu chosen per item (OnItemContextMenu), from the mouse and from
// the keyboard; a grey look while disabled; the wheel by pixels.
#pragma once
#include "controls/extended/VyWindowFrame.h"
#include "vcl/ComCtrls.h"
#include "vcl/Menus.h"

namespace Vy {

QORN_ENUM(TVyLVHeaderSortDisplayMode, hsdmNone, hsdmLeftAlign, hsdmRightOfText, hsdmRightAlign);

using TVyLVCheckStateChanging = TEvent<void(TObject* Sender, TListItem* Item, bool NewChecked, bool& AllowChange)>;
using TVyLVOnItemContextMenuEvent = TEvent<void(TObject* Sender, TListItem* Item, TPoint Point, TPopupMenu*& Menu)>;

class TVyCustomListView : public TCustomListView, public TVyWindowFrame {
  QORN_CLASS(TVyCustomListView, TCustomListView)
 public:
  explicit TVyCustomListView(TComponent* AOwner);
  ~TVyCustomListView() override;
  using TVyWindowFrame::GetColor;
  using TVyWindowFrame::SetColor;

  bool GetAlphaSortAll() const { return FAlphaSortAll; }
  void SetAlphaSortAll(bool v) { FAlphaSortAll = v; }
  bool GetEditOnRowClick() const { return FEditOnRowClick; }
  void SetEditOnRowClick(bool v) { FEditOnRowClick = v; }
  bool GetFillLastColumn() const { return FFillLastColumn; }
  void SetFillLastColumn(bool v);
  bool GetHeaderDefaultDrawing() const { return FHeaderDefaultDrawing; }
  void SetHeaderDefaultDrawing(bool v);
  TVyLVHeaderSortDisplayMode GetHeaderSortDisplayMode() const { return FHeaderSortDisplayMode; }
  void SetHeaderSortDisplayMode(TVyLVHeaderSortDisplayMode v);
  // The column whose header shows the arrow (-1: none), and its direction.
  int GetSortColumn() const { return FSortColumn; }
  void SetSortColumn(int v);
  bool GetSortDescending() const { return FSortDescending; }
  void SetSortDescending(bool v);

  // Column 0 is the caption, column c the subitem c-1 (missing ones are empty).
  static int CompareItemText(TListItem* item1, TListItem* item2, int column);
  // The last column takes what the others leave of the client width.
  virtual void FillColumn();
  void SetBounds(int left, int top, int width, int height) override;
  void SetViewStyle(TViewStyle v) override;

  TVyLVCheckStateChanging OnCheckStateChanging;
  TLVNotifyEvent OnCheckStateChange;
  TVyLVOnItemContextMenuEvent OnItemContextMenu;

  void CNNotify(TMessage& m);
  void WMNotify(TMessage& m);
  void WMContextMenu(TMessage& m);

 protected:
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler& Filer) override;
  void WndProc(TMessage& m) override;
  void ColClick(TListColumn* column) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  bool IsCustomDrawn(TCustomDrawTarget target, TCustomDrawStage stage) override;
  bool CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void FrameVisibleChanged() override { RecreateWnd(); }
  void RedrawFrame() override;
  virtual bool DoCheckStateChanging(TListItem* item, bool newChecked);
  virtual void DoCheckStateChange(TListItem* item);
  // The keyboard's menu: at the middle of the focused (or selected) item's icon, else
  // PopupMenu at the point.
  virtual void ShowSelectionMenu(TPoint point);
  virtual void ShowItemMenu(TListItem* item, TPoint point);
  virtual void DoItemContextMenu(TListItem* item, TPoint point, TPopupMenu*& menu);
  // One header section, on a canvas that holds the header's DC.
  virtual void DrawHeaderSection(TCanvas* canvas, int index, TRect rect);

 private:
  static void Publish(TPublisher<TVyCustomListView>& p);
  HWND Header() const;
  void UpdateHeaderItems();
  void DrawHeaderItem(const DRAWITEMSTRUCT& dis);
  void DrawSortArrow(TCanvas* canvas, const TRect& box, int index);
  void WheelScroll(bool down);

  bool FAlphaSortAll = false;
  bool FEditOnRowClick = false;
  bool FFillLastColumn = true;
  bool FHeaderDefaultDrawing = true;
  TVyLVHeaderSortDisplayMode FHeaderSortDisplayMode = hsdmRightOfText;
  int FLastSorted = -1;
  int FSortColumn = -1;
  bool FSortDescending = false;
  int FHeaderUpdating = 0;
  bool FFilling = false;
};

class TVyListView : public TVyCustomListView {
  QORN_CLASS(TVyListView, TVyCustomListView)
 public:
  explicit TVyListView(TComponent* AOwner) : TVyCustomListView(AOwner) {}

 private:
  static void Publish(TPublisher<TVyListView>& p);
};

}  // namespace Vy
