#include "controls/extended/VyListVw.h"

#include "controls/extended/VyListMetrics.h"
#include "vcl/ImgList.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

namespace Vy {

namespace {
// Posted to itself after the window is made: the header's formats once it stands.
constexpr UINT WM_VYUPDATEHEADER = WM_USER + 100;

int CALLBACK CompareForSort(LPARAM a, LPARAM b, LPARAM data) {
  const int column = static_cast<int>(data >> 1);
  const int order =
      TVyCustomListView::CompareItemText(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b), column);
  return (data & 1) ? -order : order;
}
}  // namespace

TVyCustomListView::TVyCustomListView(TComponent* AOwner) : TCustomListView(AOwner), TVyWindowFrame(this) {}

TVyCustomListView::~TVyCustomListView() { UnlinkFrameController(); }

void TVyCustomListView::Publish(TPublisher<TVyCustomListView>& p) {
  using T = TVyCustomListView;
  p.Message(CN_NOTIFY, &T::CNNotify);
  p.Message(WM_NOTIFY, &T::WMNotify);
  p.Message(WM_CONTEXTMENU, &T::WMContextMenu);
}

void TVyListView::Publish(TPublisher<TVyListView>& p) {
  using T = TVyListView;
  PublishWindowFrame(p);
  p.Property(L"AlphaSortAll", &T::GetAlphaSortAll, &T::SetAlphaSortAll).Default(false);
  p.Property(L"EditOnRowClick", &T::GetEditOnRowClick, &T::SetEditOnRowClick).Default(false);
  p.Property(L"FillLastColumn", &T::GetFillLastColumn, &T::SetFillLastColumn).Default(true);
  p.Property(L"HeaderDefaultDrawing", &T::GetHeaderDefaultDrawing, &T::SetHeaderDefaultDrawing).Default(true);
  p.Property(L"HeaderSortDisplayMode", &T::GetHeaderSortDisplayMode, &T::SetHeaderSortDisplayMode)
      .Default(hsdmRightOfText);
  p.Property(L"OnCheckStateChanging", &T::OnCheckStateChanging);
  p.Property(L"OnCheckStateChange", &T::OnCheckStateChange);
  p.Property(L"OnItemContextMenu", &T::OnItemContextMenu);
}

void TVyCustomListView::DefineProperties(TFiler& Filer) {
  TCustomListView::DefineProperties(Filer);
  DefineObsoleteFrameProperties(Filer);
}

void TVyCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListView::Notification(AComponent, Operation);
  FrameNotification(AComponent, Operation);
}

void TVyCustomListView::CreateWnd() {
  TCustomListView::CreateWnd();
  // Only the window knows the client width its border leaves.
  FillColumn();
  UpdateHeaderItems();
  PostMessageW(WindowHandle(), WM_VYUPDATEHEADER, 0, 0);
}

void TVyCustomListView::Loaded() {
  TCustomListView::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
  FillColumn();
}

void TVyCustomListView::RedrawFrame() {
  if (!Loading()) TVyWindowFrame::RedrawFrame();
}

void TVyCustomListView::WndProc(TMessage& m) {
  if (m.Msg == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (dis && dis->CtlType == ODT_HEADER) {
      DrawHeaderItem(*dis);
      m.Result = 1;
      return;
    }
  }
  if (m.Msg == WM_VYUPDATEHEADER) {
    UpdateHeaderItems();
    return;
  }
  FramedWndProc(m, [&] { TCustomListView::WndProc(m); });
  if (m.Msg == WM_PARENTNOTIFY) UpdateHeaderItems();
}

// --- the last column

void TVyCustomListView::FillColumn() {
  if (!FFillLastColumn || GetViewStyle() != vsReport || ComponentState().Contains(csDestroying) || FFilling) return;
  const int count = GetColumns()->Count();
  if (count == 0) return;
  FFilling = true;
  TOnExit done([this] { FFilling = false; });
  int others = 0;
  for (int i = 0; i < count - 1; ++i) others += Column(i)->GetWidth();
  const bool keepScrollBar = GetItems()->Count() == 0 || Loading();
  const int width = LastColumnWidth(GetClientWidth(), others, keepScrollBar, GetSystemMetrics(SM_CXVSCROLL));
  if (width <= 0 || Column(count - 1)->GetWidth() == width) return;
  Column(count - 1)->SetWidth(width);
  // A column set anew in the window loses its header format.
  UpdateHeaderItems();
}

void TVyCustomListView::SetFillLastColumn(bool v) {
  if (FFillLastColumn == v) return;
  FFillLastColumn = v;
  FillColumn();
}

void TVyCustomListView::SetBounds(int left, int top, int width, int height) {
  const bool changed = left != GetLeft() || top != GetTop() || width != GetWidth() || height != GetHeight();
  TCustomListView::SetBounds(left, top, width, height);
  if (changed) FillColumn();
}

void TVyCustomListView::SetViewStyle(TViewStyle v) {
  TCustomListView::SetViewStyle(v);
  if (v == vsReport) UpdateHeaderItems();
}

// --- sorting

int TVyCustomListView::CompareItemText(TListItem* item1, TListItem* item2, int column) {
  if (!item1 || !item2 || column < 0) return 0;
  auto text = [column](TListItem* item) -> std::wstring {
    if (column == 0) return item->GetCaption();
    TStrings* sub = item->SubItems();
    return column - 1 < sub->Count() ? sub->Get(column - 1) : std::wstring();
  };
  return CompareColumnTexts(text(item1), text(item2));
}

void TVyCustomListView::ColClick(TListColumn* column) {
  if (FAlphaSortAll && column) {
    const int index = column->Index();
    const bool descending = index == FLastSorted;
    SetSortColumn(index);
    SetSortDescending(descending);
    CustomSort(CompareForSort, (LPARAM(index) << 1) | (descending ? 1 : 0));
    FLastSorted = descending ? -1 : index;
  }
  TCustomListView::ColClick(column);
}

void TVyCustomListView::SetSortColumn(int v) {
  if (FSortColumn == v) return;
  HWND header = Header();
  auto invalidate = [header](int index) {
    RECT r{};
    if (header && index >= 0 &&
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
      InvalidateRect(header, &r, TRUE);
  };
  invalidate(FSortColumn);
  FSortColumn = v;
  UpdateHeaderItems();
  invalidate(FSortColumn);
}

void TVyCustomListView::SetSortDescending(bool v) {
  if (FSortDescending == v) return;
  FSortDescending = v;
  if (HWND header = Header()) InvalidateRect(header, nullptr, TRUE);
  Update();
}

// --- header

HWND TVyCustomListView::Header() const {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETHEADER, 0, 0));
}

void TVyCustomListView::SetHeaderDefaultDrawing(bool v) {
  if (FHeaderDefaultDrawing == v) return;
  FHeaderDefaultDrawing = v;
  if (HWND header = Header()) InvalidateRect(header, nullptr, TRUE);
}

void TVyCustomListView::SetHeaderSortDisplayMode(TVyLVHeaderSortDisplayMode v) {
  FHeaderSortDisplayMode = v;
  UpdateHeaderItems();
}

void TVyCustomListView::UpdateHeaderItems() {
  HWND header = Header();
  if (!header || GetViewStyle() != vsReport || FHeaderUpdating > 0) return;
  ++FHeaderUpdating;
  TOnExit done([this] { --FHeaderUpdating; });
  for (int i = GetColumns()->Count() - 1; i >= 0; --i) {
    HDITEMW item{};
    // The width goes along: the list view takes a changed header item's width as the
    // column's.
    item.mask = HDI_FORMAT | HDI_WIDTH;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    const int align = item.fmt & HDF_JUSTIFYMASK;
    if (FHeaderSortDisplayMode != hsdmNone) {
      item.fmt = HDF_OWNERDRAW | align;
    } else {
      item.fmt = HDF_STRING | align;
      if (Column(i)->GetImageIndex() >= 0 && GetSmallImages()) item.fmt |= HDF_IMAGE;
    }
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  InvalidateRect(header, nullptr, TRUE);
}

void TVyCustomListView::DrawHeaderItem(const DRAWITEMSTRUCT& dis) {
  const int saved = SaveDC(dis.hDC);
  TCanvas canvas;
  TOnExit restore([&] {
    canvas.SetHandle(nullptr);
    RestoreDC(dis.hDC, saved);
  });
  canvas.SetHandle(dis.hDC);
  canvas.SetFont(GetFont());
  canvas.GetBrush()->SetColor(clBtnFace);
  TRect rect(dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
  canvas.FillRect(rect);
  // The section keeps the raised edge the system gives a header section.
  RECT edge = dis.rcItem;
  DrawEdge(dis.hDC, &edge, BDR_RAISEDINNER, BF_RECT);
  rect = TRect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
  if (FHeaderDefaultDrawing) DrawHeaderSection(&canvas, static_cast<int>(dis.itemID), rect);
}

void TVyCustomListView::DrawSortArrow(TCanvas* canvas, const TRect& box, int index) {
  if (index != FSortColumn || index < 0 || index >= GetColumns()->Count()) return;
  if (2 * box.Width() >= Column(index)->GetWidth()) return;
  const int d = box.Height() * 3 / 4;
  if (d <= 0) return;
  const int cx = box.Left + box.Width() / 2;
  const int top = box.Bottom - d, bottom = box.Bottom - 1;
  canvas->GetPen()->SetColor(clBtnShadow);
  canvas->GetBrush()->SetColor(clBtnShadow);
  if (FSortDescending) canvas->Polygon({TPoint(cx - d + 1, top), TPoint(cx + d - 1, top), TPoint(cx, bottom)});
  else canvas->Polygon({TPoint(cx, top), TPoint(cx - d + 1, bottom), TPoint(cx + d - 1, bottom)});
}

void TVyCustomListView::DrawHeaderSection(TCanvas* canvas, int index, TRect rect) {
  if (index < 0 || index >= GetColumns()->Count()) return;
  TListColumn* column = Column(index);
  const TRect section = rect;
  TRect text = rect;
  text.Left += 4;
  text.Right -= 4;
  HDC dc = canvas->GetHandle();
  IntersectClipRect(dc, section.Left, section.Top, section.Right, section.Bottom);
  auto arrowBox = [](const TRect& r) {
    const int a = (r.Top + r.Bottom) / 2 - 1;
    const int top = ((r.Top + r.Bottom) - a) / 2 - 1;
    return TRect(r.Left, top, r.Left + a + 1, top + a);
  };
  const bool sorted = index == FSortColumn;
  const TAlignment align = column->GetAlignment();
  UINT flags = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  flags |= align == taRightJustify ? DT_RIGHT : align == taCenter ? DT_CENTER : DT_LEFT;
  TRect box;
  switch (FHeaderSortDisplayMode) {
    case hsdmLeftAlign:
      if (sorted && column->GetWidth() > 15) {
        box = arrowBox(text);
        DrawSortArrow(canvas, box, index);
        text.Left = box.Right + 5;
      }
      break;
    case hsdmRightAlign: {
      const TRect end(text.Right - 5, text.Top, text.Right, text.Bottom);
      box = arrowBox(end);
      box = TRect(box.Left - box.Width(), box.Top, box.Left, box.Bottom);
      DrawSortArrow(canvas, box, index);
      if (sorted) text.Right = box.Left - 5;
      break;
    }
    case hsdmRightOfText:
      if (sorted && align != taLeftJustify) {
        box = arrowBox(TRect(text.Right - 5, text.Top, text.Right, text.Bottom));
        box = TRect(box.Left - box.Width(), box.Top, box.Left, box.Bottom);
        DrawSortArrow(canvas, box, index);
        if (align == taRightJustify) {
          text.Right = box.Left - 5;
        } else {
          text.Left += box.Width() + 5;
          text.Right -= box.Width() + 5;
        }
      }
      break;
    case hsdmNone: break;
  }
  if (column->GetImageIndex() >= 0 && GetSmallImages()) {
    GetSmallImages()->Draw(canvas, text.Left, text.Top + (text.Height() - GetSmallImages()->GetHeight()) / 2,
                           column->GetImageIndex());
    text.Left += GetSmallImages()->GetWidth() + 4;
  }
  canvas->GetBrush()->SetColor(clBtnFace);
  const std::wstring caption = column->GetCaption();
  TRect drawn = text;
  canvas->DrawText(caption, drawn, flags);
  if (FHeaderSortDisplayMode == hsdmRightOfText && sorted && align == taLeftJustify) {
    TRect measured = text;
    canvas->DrawText(caption, measured, flags | DT_CALCRECT);
    box = arrowBox(TRect(text.Left + measured.Width() + 5, text.Top, text.Right, text.Bottom));
    DrawSortArrow(canvas, box, index);
  }
  SelectClipRgn(dc, nullptr);
}

// --- notifications

void TVyCustomListView::CNNotify(TMessage& m) {
  QORN_INHERITED(m);
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (!hdr || !GetCheckboxes()) return;
  if (hdr->code != LVN_ITEMCHANGING && hdr->code != LVN_ITEMCHANGED) return;
  const auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
  if (!(nm->uChanged & LVIF_STATE)) return;
  const UINT newImage = (nm->uNewState & LVIS_STATEIMAGEMASK) >> 12;
  const UINT oldImage = (nm->uOldState & LVIS_STATEIMAGEMASK) >> 12;
  // Only a box that was there and turns: a new line's first state is no change.
  if ((newImage != 1 && newImage != 2) || (oldImage != 1 && oldImage != 2) || newImage == oldImage) return;
  TListItem* item = ItemOfNotify(nm->iItem, nm->lParam);
  if (!item) return;
  if (hdr->code == LVN_ITEMCHANGING) {
    if (m.Result == 0 && !DoCheckStateChanging(item, newImage == 2)) m.Result = 1;
  } else {
    DoCheckStateChange(item);
  }
}

void TVyCustomListView::WMNotify(TMessage& m) {
  QORN_INHERITED(m);
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (!hdr || hdr->hwndFrom != Header()) return;
  switch (hdr->code) {
    case HDN_ENDTRACKW:
    case HDN_DIVIDERDBLCLICKW: FillColumn(); [[fallthrough]];
    case HDN_BEGINTRACKW:
    case HDN_ITEMCHANGEDW:
      UpdateHeaderItems();
      if (GetFrameVisible()) Invalidate();
      break;
    case HDN_ITEMCLICKW:
      if (HWND header = Header()) InvalidateRect(header, nullptr, TRUE);
      break;
  }
}

bool TVyCustomListView::DoCheckStateChanging(TListItem* item, bool newChecked) {
  bool allow = true;
  if (OnCheckStateChanging) OnCheckStateChanging(this, item, newChecked, allow);
  return allow;
}

void TVyCustomListView::DoCheckStateChange(TListItem* item) {
  if (OnCheckStateChange) OnCheckStateChange(this, item);
}

// --- context menus

void TVyCustomListView::DoItemContextMenu(TListItem* item, TPoint point, TPopupMenu*& menu) {
  if (OnItemContextMenu) OnItemContextMenu(this, item, point, menu);
}

void TVyCustomListView::ShowItemMenu(TListItem* item, TPoint point) {
  TPopupMenu* menu = GetPopupMenu();
  DoItemContextMenu(item, point, menu);
  if (!menu) return;
  menu->SetPopupComponent(this);
  const TPoint screen = ClientToScreen(point);
  menu->Popup(screen.X, screen.Y);
}

void TVyCustomListView::ShowSelectionMenu(TPoint point) {
  TListItem* item = GetItemFocused();
  if (!item || !item->GetSelected()) item = GetSelected();
  if (item) {
    const TRect icon = item->DisplayRect(drIcon);
    ShowItemMenu(item, TPoint((icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2));
    return;
  }
  if (TPopupMenu* menu = GetPopupMenu()) {
    menu->SetPopupComponent(this);
    const TPoint screen = ClientToScreen(point);
    menu->Popup(screen.X, screen.Y);
  }
}

void TVyCustomListView::WMContextMenu(TMessage& m) {
  m.Result = 1;
  const TPoint screen{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  if (screen.X == -1 && screen.Y == -1) return ShowSelectionMenu(TPoint(0, 0));
  const TPoint point = ScreenToClient(screen);
  ShowItemMenu(GetItemAt(point.X, point.Y), point);
}

void TVyCustomListView::KeyDown(WORD& key, TShiftState shift) {
  const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  const bool shiftOnly = shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if ((key == VK_APPS && plain) || (key == VK_F10 && shiftOnly)) {
    key = 0;
    ShowSelectionMenu(TPoint(0, 0));
  }
  TCustomListView::KeyDown(key, shift);
}

// --- disabled look and wheel

bool TVyCustomListView::IsCustomDrawn(TCustomDrawTarget target, TCustomDrawStage stage) {
  if (!GetEnabled() && target == dtItem && stage == cdPrePaint) return true;
  return TCustomListView::IsCustomDrawn(target, stage);
}

bool TVyCustomListView::CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage) {
  const bool result = TCustomListView::CustomDrawItem(item, state, stage);
  if (!GetEnabled()) GetCanvas()->GetBrush()->SetColor(GetDisabledColor());
  return result;
}

void TVyCustomListView::WheelScroll(bool down) {
  const int step = GetViewStyle() == vsIcon ? 32 : 16;
  const int pixels = WheelLines(Mouse->WheelScrollLines(), GetClientHeight() / step) * step;
  TCustomListView::Scroll(0, down ? pixels : -pixels);
}

bool TVyCustomListView::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomListView::DoMouseWheelDown(shift, mousePos);
  WheelScroll(true);
  return true;
}

bool TVyCustomListView::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomListView::DoMouseWheelUp(shift, mousePos);
  WheelScroll(false);
  return true;
}

}  // namespace Vy
