#include "vcl/ComCtrls.h"

#include "vcl/Canvas.h"
#include "vcl/Filer.h"
#include "vcl/SysUtils.h"

#include <algorithm>

namespace {

constexpr UINT kCheckedImage = 2;  // state image of a checked box; 1 is unchecked

int ColumnFormat(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return LVCFMT_RIGHT;
    case taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

// Copies text into a buffer the control gave, cut to fit and always terminated.
void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
  if (!buffer || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::copy_n(text.data(), n, buffer);
  buffer[n] = L'\0';
}

TCustomDrawState DrawState(UINT itemState) {
  TCustomDrawState state;
  if (itemState & CDIS_SELECTED) state.Include(cdsSelected);
  if (itemState & CDIS_GRAYED) state.Include(cdsGrayed);
  if (itemState & CDIS_DISABLED) state.Include(cdsDisabled);
  if (itemState & CDIS_CHECKED) state.Include(cdsChecked);
  if (itemState & CDIS_FOCUS) state.Include(cdsFocused);
  if (itemState & CDIS_DEFAULT) state.Include(cdsDefault);
  if (itemState & CDIS_HOT) state.Include(cdsHot);
  return state;
}

}  // namespace

// --- columns

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::Publish(TPublisher<TListColumn>& p) {
  p.Property(L"Caption", &TListColumn::GetCaption, &TListColumn::SetCaption);
  p.Property(L"Width", &TListColumn::GetWidth, &TListColumn::SetWidth).Default(50);
  p.Property(L"MinWidth", &TListColumn::GetMinWidth, &TListColumn::SetMinWidth).Default(0);
  p.Property(L"MaxWidth", &TListColumn::GetMaxWidth, &TListColumn::SetMaxWidth).Default(0);
  p.Property(L"Alignment", &TListColumn::GetAlignment, &TListColumn::SetAlignment).Default(taLeftJustify);
  p.Property(L"ImageIndex", &TListColumn::GetImageIndex, &TListColumn::SetImageIndex).Default(-1);
}

TCustomListView* TListColumn::ListView() const {
  auto* columns = dynamic_cast<TListColumns*>(Collection());
  return columns ? columns->Owner() : nullptr;
}

int TListColumn::GetWidth() const {
  TCustomListView* view = ListView();
  if (view && view->HandleAllocated() && view->GetViewStyle() == vsReport)
    return static_cast<int>(SendMessageW(view->WindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
  return FWidth;
}

int TListColumn::Limited(int width) const {
  if (FMinWidth > 0 && width < FMinWidth) width = FMinWidth;
  if (FMaxWidth > 0 && width > FMaxWidth) width = FMaxWidth;
  return std::max(width, 0);
}

void TListColumn::SetWidth(int v) {
  FWidth = Limited(v);
  Changed(false);
}

// The other setters keep a width the user dragged.
void TListColumn::SetCaption(const std::wstring& v) {
  FWidth = GetWidth();
  FCaption = v;
  Changed(false);
}

void TListColumn::SetMinWidth(int v) {
  FWidth = GetWidth();
  FMinWidth = std::max(v, 0);
  FWidth = Limited(FWidth);
  Changed(false);
}

void TListColumn::SetMaxWidth(int v) {
  FWidth = GetWidth();
  FMaxWidth = std::max(v, 0);
  FWidth = Limited(FWidth);
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment v) {
  FWidth = GetWidth();
  FAlignment = v;
  Changed(false);
}

void TListColumn::SetImageIndex(int v) {
  FWidth = GetWidth();
  FImageIndex = v;
  Changed(false);
}

std::wstring TListColumn::GetDisplayName() const {
  return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

void TListColumn::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TListColumn*>(Source);
  if (!other) {
    TCollectionItem::Assign(Source);
    return;
  }
  FCaption = other->FCaption;
  FWidth = other->GetWidth();
  FMinWidth = other->FMinWidth;
  FMaxWidth = other->FMaxWidth;
  FAlignment = other->FAlignment;
  FImageIndex = other->FImageIndex;
  Changed(false);
}

TListColumns::TListColumns(TCustomListView* owner)
    : TCollection(TListColumn::StaticClass(), owner), FListView(owner) {
  SetPropName(L"Columns");
}

void TListColumns::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  FListView->ColumnsChanged(static_cast<TListColumn*>(Item));
}

// --- items

TListItem::TListItem(TListItems* owner) : FOwner(owner), FSubItems(new TStringList) {
  FSubItems->OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListItem::~TListItem() {
  TCustomListView* view = ListView();
  const int index = Index();
  if (index >= 0) {
    // The program hears of the item while it is still whole.
    view->Delete(this);
    if (view->HandleAllocated() && !FDeleting)
      SendMessageW(view->WindowHandle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    FOwner->FItems.erase(FOwner->FItems.begin() + index);
  }
  FSubItems->OnChange = nullptr;
}

TCustomListView* TListItem::ListView() const { return FOwner->Owner(); }
int TListItem::Index() const { return FOwner->IndexOf(this); }

void TListItem::Redraw() const {
  TCustomListView* view = ListView();
  const int index = Index();
  if (!view->HandleAllocated() || index < 0) return;
  SendMessageW(view->WindowHandle(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

void TListItem::SetCaption(const std::wstring& v) {
  if (FCaption == v) return;
  FCaption = v;
  TCustomListView* view = ListView();
  const int index = Index();
  if (view->HandleAllocated() && index >= 0) {
    // Handing the callback again makes the control measure and draw the new text.
    LVITEMW li{};
    li.iSubItem = 0;
    li.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(view->WindowHandle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&li));
  }
}

void TListItem::SubItemsChanged(TObject*) {
  TCustomListView* view = ListView();
  const int index = Index();
  if (!view->HandleAllocated() || index < 0) return;
  const int count = std::max(FSubItems->Count(), view->GetColumns()->Count() - 1);
  for (int sub = 1; sub <= count; ++sub) {
    LVITEMW li{};
    li.iSubItem = sub;
    li.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(view->WindowHandle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&li));
  }
  Redraw();
}

void TListItem::SetImageIndex(int v) {
  if (FImageIndex == v) return;
  FImageIndex = v;
  Redraw();
}

void TListItem::SetOverlayIndex(int v) {
  if (FOverlayIndex == v) return;
  FOverlayIndex = v;
  TCustomListView* view = ListView();
  const int index = Index();
  if (!view->HandleAllocated() || index < 0) return;
  LVITEMW li{};
  li.stateMask = LVIS_OVERLAYMASK;
  li.state = v >= 0 ? INDEXTOOVERLAYMASK(v + 1) : 0;
  SendMessageW(view->WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&li));
}

bool TListItem::State(UINT mask, bool stored) const {
  TCustomListView* view = ListView();
  const int index = Index();
  if (!view->HandleAllocated() || index < 0) return stored;
  const UINT state = static_cast<UINT>(
      SendMessageW(view->WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
  if (mask == LVIS_STATEIMAGEMASK) return (state & LVIS_STATEIMAGEMASK) >> 12 == kCheckedImage;
  return (state & mask) != 0;
}

void TListItem::SetState(UINT mask, bool on, bool& stored) {
  stored = on;
  TCustomListView* view = ListView();
  const int index = Index();
  if (!view->HandleAllocated() || index < 0) return;
  LVITEMW li{};
  li.stateMask = mask;
  if (mask == LVIS_STATEIMAGEMASK) li.state = INDEXTOSTATEIMAGEMASK(on ? kCheckedImage : 1);
  else li.state = on ? mask : 0;
  SendMessageW(view->WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&li));
}

bool TListItem::GetSelected() const { return State(LVIS_SELECTED, FSelected); }
void TListItem::SetSelected(bool v) { SetState(LVIS_SELECTED, v, FSelected); }
bool TListItem::GetFocused() const { return State(LVIS_FOCUSED, FFocused); }
void TListItem::SetFocused(bool v) { SetState(LVIS_FOCUSED, v, FFocused); }
bool TListItem::GetCut() const { return State(LVIS_CUT, FCut); }
void TListItem::SetCut(bool v) { SetState(LVIS_CUT, v, FCut); }
bool TListItem::GetChecked() const {
  return ListView()->GetCheckboxes() ? State(LVIS_STATEIMAGEMASK, FChecked) : FChecked;
}
void TListItem::SetChecked(bool v) {
  if (ListView()->GetCheckboxes()) SetState(LVIS_STATEIMAGEMASK, v, FChecked);
  else FChecked = v;
}

TRect TListItem::DisplayRect(TDisplayCode code) const {
  TCustomListView* view = ListView();
  const int index = Index();
  RECT r{};
  if (view->HandleAllocated() && index >= 0) {
    static constexpr int kCodes[] = {LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL, LVIR_SELECTBOUNDS};
    r.left = kCodes[code];
    if (!SendMessageW(view->WindowHandle(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
      r = {};
  }
  return TRect(r.left, r.top, r.right, r.bottom);
}

void TListItem::MakeVisible(bool partialOK) {
  TCustomListView* view = ListView();
  const int index = Index();
  if (view->HandleAllocated() && index >= 0)
    SendMessageW(view->WindowHandle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOK ? FALSE : TRUE);
}

void TListItem::Delete() { delete this; }

void TListItem::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TListItem*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  SetCaption(other->FCaption);
  FSubItems->Assign(other->FSubItems.get());
  SetImageIndex(other->FImageIndex);
  SetOverlayIndex(other->FOverlayIndex);
  FData = other->FData;
}

TListItems::~TListItems() {
  for (TListItem* item : FItems) item->FDeleting = true;
  while (!FItems.empty()) delete FItems.back();
}

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(SListIndexError, {index});
  return FItems[static_cast<size_t>(index)];
}

int TListItems::IndexOf(const TListItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError(SListIndexError, {index});
  auto* item = new TListItem(this);
  FItems.insert(FItems.begin() + index, item);
  if (FOwner->HandleAllocated()) InsertInWindow(index, item);
  FOwner->InsertItem(item);
  return item;
}

void TListItems::InsertInWindow(int index, TListItem* item) {
  HWND wnd = FOwner->WindowHandle();
  LVITEMW li{};
  li.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  li.iItem = index;
  li.pszText = LPSTR_TEXTCALLBACKW;
  li.iImage = I_IMAGECALLBACK;
  li.lParam = reinterpret_cast<LPARAM>(item);
  li.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_OVERLAYMASK;
  if (item->FSelected) li.state |= LVIS_SELECTED;
  if (item->FFocused) li.state |= LVIS_FOCUSED;
  if (item->FCut) li.state |= LVIS_CUT;
  if (item->FOverlayIndex >= 0) li.state |= INDEXTOOVERLAYMASK(item->FOverlayIndex + 1);
  const bool filling = FOwner->FFilling;
  FOwner->FFilling = true;
  const int at = static_cast<int>(SendMessageW(wnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&li)));
  if (at >= 0 && FOwner->GetCheckboxes()) {
    // The box appears with the extended style; its state is set after the insert.
    LVITEMW check{};
    check.stateMask = LVIS_STATEIMAGEMASK;
    check.state = INDEXTOSTATEIMAGEMASK(item->FChecked ? kCheckedImage : 1);
    SendMessageW(wnd, LVM_SETITEMSTATE, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&check));
  }
  FOwner->FFilling = filling;
  if (at >= 0) item->SubItemsChanged(nullptr);
}

void TListItems::Delete(int index) { delete Item(index); }

void TListItems::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  if (FOwner->HandleAllocated()) {
    SendMessageW(FOwner->WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
    for (TListItem* item : FItems) item->FDeleting = true;
  }
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

void TListItems::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageW(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FOwner->HandleAllocated()) return;
  SendMessageW(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FOwner->WindowHandle(), nullptr, TRUE);
}

void TListItems::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TListItems*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  Clear();
  for (TListItem* item : other->FItems) Add()->Assign(item);
  EndUpdate();
}

// Rows in forms: per item its caption, image index, the number of sub-items and
// the sub-items: Items.ItemData = ('Notepad' 0 1 'notepad.exe' ...).
void TListItems::DefineProperties(TFiler& Filer) {
  Filer.DefineProperty(
      L"ItemData",
      [this](TReader& r) {
        Clear();
        r.ReadListBegin();
        while (!r.EndOfList()) {
          TListItem* item = Add();
          item->SetCaption(r.ReadString());
          item->SetImageIndex(r.ReadInteger());
          const int subItems = r.ReadInteger();
          for (int i = 0; i < subItems; ++i) item->SubItems()->Add(r.ReadString());
        }
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (TListItem* item : FItems) {
          w.WriteString(item->GetCaption());
          w.WriteInteger(item->GetImageIndex());
          w.WriteInteger(item->SubItems()->Count());
          for (int i = 0; i < item->SubItems()->Count(); ++i) w.WriteString(item->SubItems()->Get(i));
        }
        w.WriteListEnd();
      },
      !FItems.empty());
}

// --- icon options

void TIconOptions::Publish(TPublisher<TIconOptions>& p) {
  p.Property(L"Arrangement", &TIconOptions::GetArrangement, &TIconOptions::SetArrangement).Default(iaTop);
  p.Property(L"AutoArrange", &TIconOptions::GetAutoArrange, &TIconOptions::SetAutoArrange).Default(false);
  p.Property(L"WrapText", &TIconOptions::GetWrapText, &TIconOptions::SetWrapText).Default(true);
}

void TIconOptions::Changed() { FListView->RecreateIfAllocated(); }

void TIconOptions::SetArrangement(TIconArrangement v) {
  if (FArrangement == v) return;
  FArrangement = v;
  Changed();
}

void TIconOptions::SetAutoArrange(bool v) {
  if (FAutoArrange == v) return;
  FAutoArrange = v;
  Changed();
}

void TIconOptions::SetWrapText(bool v) {
  if (FWrapText == v) return;
  FWrapText = v;
  Changed();
}

void TIconOptions::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TIconOptions*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  FArrangement = other->FArrangement;
  FAutoArrange = other->FAutoArrange;
  FWrapText = other->FWrapText;
  Changed();
}

// --- list view

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      FColumns(new TListColumns(this)),
      FItems(new TListItems(this)),
      FIconOptions(new TIconOptions(this)),
      FCanvas(new TCanvas),
      FImageLink(new TChangeLink) {
  // The control reports clicks itself (NM_CLICK) and takes the mouse itself: its
  // own loop eats the button-up, so a capture taken here would never end.
  ControlStyle.Exclude(csClickEvents);
  ControlStyle.Exclude(csCaptureMouse);
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  FImageLink->OnChange = TNotifyEvent(this, &TCustomListView::ImagesChanged);
}

TCustomListView::~TCustomListView() {
  // The window goes while the items it points at are still here.
  DestroyHandle();
  SetSmallImages(nullptr);
  SetLargeImages(nullptr);
}

void TCustomListView::Publish(TPublisher<TCustomListView>& p) {
  p.Message(CN_NOTIFY, &TCustomListView::CNNotify);
  p.Message(WM_NOTIFY, &TCustomListView::WMNotify);
  p.Message(CM_COLORCHANGED, &TCustomListView::CMColorChanged);
  p.Message(CM_FONTCHANGED, &TCustomListView::CMFontChanged);
  p.Property(L"Columns", &TCustomListView::GetColumns, &TCustomListView::SetColumns);
  p.Property(L"Items", &TCustomListView::GetItems, &TCustomListView::SetItems);
  p.Property(L"ViewStyle", &TCustomListView::GetViewStyle, &TCustomListView::SetViewStyle).Default(vsIcon);
  p.Property(L"RowSelect", &TCustomListView::GetRowSelect, &TCustomListView::SetRowSelect).Default(false);
  p.Property(L"ReadOnly", &TCustomListView::GetReadOnly, &TCustomListView::SetReadOnly).Default(false);
  p.Property(L"GridLines", &TCustomListView::GetGridLines, &TCustomListView::SetGridLines).Default(false);
  p.Property(L"ColumnClick", &TCustomListView::GetColumnClick, &TCustomListView::SetColumnClick).Default(true);
  p.Property(L"Checkboxes", &TCustomListView::GetCheckboxes, &TCustomListView::SetCheckboxes).Default(false);
  p.Property(L"FlatScrollBars", &TCustomListView::GetFlatScrollBars, &TCustomListView::SetFlatScrollBars)
      .Default(false);
  p.Property(L"MultiSelect", &TCustomListView::GetMultiSelect, &TCustomListView::SetMultiSelect).Default(false);
  p.Property(L"HideSelection", &TCustomListView::GetHideSelection, &TCustomListView::SetHideSelection)
      .Default(true);
  p.Property(L"ShowColumnHeaders", &TCustomListView::GetShowColumnHeaders, &TCustomListView::SetShowColumnHeaders)
      .Default(true);
  p.Property(L"AllocBy", &TCustomListView::GetAllocBy, &TCustomListView::SetAllocBy).Default(0);
  p.Property(L"SmallImages", &TCustomListView::GetSmallImages, &TCustomListView::SetSmallImages);
  p.Property(L"LargeImages", &TCustomListView::GetLargeImages, &TCustomListView::SetLargeImages);
  p.Property(L"IconOptions", &TCustomListView::GetIconOptions, &TCustomListView::SetIconOptions);
  p.Property(L"TabStop", &TCustomListView::GetTabStop, &TCustomListView::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomListView::GetTabOrder, &TCustomListView::SetTabOrder);
}

void TListView::Publish(TPublisher<TListView>& p) {
  p.Property(L"OnSelectItem", &TListView::OnSelectItem);
  p.Property(L"OnChange", &TListView::OnChange);
  p.Property(L"OnChanging", &TListView::OnChanging);
  p.Property(L"OnColumnClick", &TListView::OnColumnClick);
  p.Property(L"OnGetImageIndex", &TListView::OnGetImageIndex);
  p.Property(L"OnDeletion", &TListView::OnDeletion);
  p.Property(L"OnEditing", &TListView::OnEditing);
  p.Property(L"OnEdited", &TListView::OnEdited);
  p.Property(L"OnCompare", &TListView::OnCompare);
  p.Property(L"OnCustomDraw", &TListView::OnCustomDraw);
  p.Property(L"OnCustomDrawItem", &TListView::OnCustomDrawItem);
  p.Property(L"OnCustomDrawSubItem", &TListView::OnCustomDrawSubItem);
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_LISTVIEWW);
  static constexpr DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  // The image lists belong to their components, never to the control.
  params.Style |= WS_TABSTOP | LVS_SHAREIMAGELISTS | kViews[FViewStyle];
  if (!FMultiSelect) params.Style |= LVS_SINGLESEL;
  if (!FHideSelection) params.Style |= LVS_SHOWSELALWAYS;
  if (!FReadOnly) params.Style |= LVS_EDITLABELS;
  if (!FColumnClick) params.Style |= LVS_NOSORTHEADER;
  if (!FShowColumnHeaders) params.Style |= LVS_NOCOLUMNHEADER;
  if (FIconOptions->GetArrangement() == iaLeft) params.Style |= LVS_ALIGNLEFT;
  if (FIconOptions->GetAutoArrange()) params.Style |= LVS_AUTOARRANGE;
  if (!FIconOptions->GetWrapText()) params.Style |= LVS_NOLABELWRAP;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  const bool filling = FFilling;
  FFilling = true;
  ApplyExtendedStyle();
  ApplyColors();
  ApplyImages();
  FillColumns();
  HWND wnd = WindowHandle();
  SendMessageW(wnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::max(FItems->Count(), FAllocBy)), 0);
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < FItems->Count(); ++i) FItems->InsertInWindow(i, FItems->FItems[static_cast<size_t>(i)]);
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  FFilling = filling;
}

void TCustomListView::DestroyWnd() {
  ReadStatesFromWindow();
  TWinControl::DestroyWnd();
}

void TCustomListView::ReadStatesFromWindow() {
  if (!HandleAllocated()) return;
  for (TListItem* item : FItems->FItems) {
    item->FSelected = item->GetSelected();
    item->FFocused = item->GetFocused();
    item->FCut = item->GetCut();
    item->FChecked = item->GetChecked();
  }
  for (int i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->FWidth = FColumns->Items(i)->GetWidth();
}

void TCustomListView::FillColumns() {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  while (SendMessageW(wnd, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < FColumns->Count(); ++i) SetColumnInWindow(i, true);
  // Columns added after the items need the items' texts asked for too.
  for (TListItem* item : FItems->FItems) item->SubItemsChanged(nullptr);
}

void TCustomListView::SetColumnInWindow(int index, bool insert) {
  TListColumn* column = FColumns->Items(index);
  LVCOLUMNW lc{};
  lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  lc.fmt = ColumnFormat(column->FAlignment);
  if (column->FImageIndex >= 0 && FSmallImages) {
    lc.mask |= LVCF_IMAGE;
    lc.fmt |= LVCFMT_IMAGE;
    lc.iImage = column->FImageIndex;
  }
  lc.cx = column->FWidth;
  std::wstring caption = column->FCaption;
  lc.pszText = caption.data();
  lc.iSubItem = index;
  SendMessageW(WindowHandle(), insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&lc));
}

void TCustomListView::ColumnsChanged(TListColumn* column) {
  if (!HandleAllocated()) return;
  if (!column) FillColumns();
  else if (column->Index() >= 0) SetColumnInWindow(column->Index(), false);
}

void TCustomListView::KeepColumnLimits() {
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* column = FColumns->Items(i);
    const int width = column->GetWidth();
    const int limited = column->Limited(width);
    column->FWidth = limited;
    if (limited != width) SendMessageW(WindowHandle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), limited);
  }
}

void TCustomListView::WMNotify(TMessage& m) {
  TWinControl::WMNotify(m);
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (!hdr || !HandleAllocated()) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETHEADER, 0, 0));
  if (hdr->hwndFrom != header) return;
  // The user dragged a divider: widths stay within each column's limits.
  switch (hdr->code) {
    case HDN_ENDTRACKW:
    case HDN_ENDTRACKA:
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA:
    case HDN_DIVIDERDBLCLICKW:
    case HDN_DIVIDERDBLCLICKA: KeepColumnLimits(); break;
    default: break;
  }
}

void TCustomListView::ApplyExtendedStyle() {
  if (!HandleAllocated()) return;
  DWORD style = 0;
  if (FRowSelect) style |= LVS_EX_FULLROWSELECT;
  if (FGridLines) style |= LVS_EX_GRIDLINES;
  if (FCheckboxes) style |= LVS_EX_CHECKBOXES;
  if (FFlatScrollBars) style |= LVS_EX_FLATSB;
  const DWORD mask = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FLATSB;
  SendMessageW(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void TCustomListView::ApplyColors() {
  if (!HandleAllocated()) return;
  const COLORREF back = static_cast<COLORREF>(ColorToRGB(GetColor()));
  SendMessageW(WindowHandle(), LVM_SETBKCOLOR, 0, back);
  SendMessageW(WindowHandle(), LVM_SETTEXTBKCOLOR, 0, back);
  SendMessageW(WindowHandle(), LVM_SETTEXTCOLOR, 0, static_cast<COLORREF>(ColorToRGB(GetFont()->GetColor())));
}

void TCustomListView::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(FSmallImages ? FSmallImages->GetHandle() : nullptr));
  SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_NORMAL,
               reinterpret_cast<LPARAM>(FLargeImages ? FLargeImages->GetHandle() : nullptr));
}

void TCustomListView::ImagesChanged(TObject*) {
  ApplyImages();
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TCustomListView::CMColorChanged(TMessage& m) {
  TWinControl::CMColorChanged(m);
  ApplyColors();
}

void TCustomListView::CMFontChanged(TMessage& m) {
  TWinControl::CMFontChanged(m);
  ApplyColors();
}

void TCustomListView::RecreateIfAllocated() {
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  if (FViewStyle == v) return;
  ReadStatesFromWindow();
  FViewStyle = v;
  RecreateIfAllocated();
}

void TCustomListView::SetRowSelect(bool v) {
  if (FRowSelect == v) return;
  FRowSelect = v;
  ApplyExtendedStyle();
}

void TCustomListView::SetGridLines(bool v) {
  if (FGridLines == v) return;
  FGridLines = v;
  ApplyExtendedStyle();
}

void TCustomListView::SetCheckboxes(bool v) {
  if (FCheckboxes == v) return;
  ReadStatesFromWindow();
  FCheckboxes = v;
  // The boxes' states are set item by item as the window is filled.
  RecreateIfAllocated();
}

void TCustomListView::SetFlatScrollBars(bool v) {
  if (FFlatScrollBars == v) return;
  FFlatScrollBars = v;
  ApplyExtendedStyle();
}

void TCustomListView::SetReadOnly(bool v) {
  if (FReadOnly == v) return;
  FReadOnly = v;
  RecreateIfAllocated();
}

void TCustomListView::SetColumnClick(bool v) {
  if (FColumnClick == v) return;
  FColumnClick = v;
  RecreateIfAllocated();
}

void TCustomListView::SetMultiSelect(bool v) {
  if (FMultiSelect == v) return;
  FMultiSelect = v;
  RecreateIfAllocated();
}

void TCustomListView::SetHideSelection(bool v) {
  if (FHideSelection == v) return;
  FHideSelection = v;
  RecreateIfAllocated();
}

void TCustomListView::SetShowColumnHeaders(bool v) {
  if (FShowColumnHeaders == v) return;
  FShowColumnHeaders = v;
  RecreateIfAllocated();
}

void TCustomListView::SetAllocBy(int v) { FAllocBy = std::max(v, 0); }

void TCustomListView::SetSmallImages(TCustomImageList* v) {
  if (SetImageListSlot(FSmallImages, v, FLargeImages, FImageLink.get(), this)) ImagesChanged(nullptr);
}

void TCustomListView::SetLargeImages(TCustomImageList* v) {
  if (SetImageListSlot(FLargeImages, v, FSmallImages, FImageLink.get(), this)) ImagesChanged(nullptr);
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSmallImages) {
    FSmallImages = nullptr;
    ImagesChanged(nullptr);
  }
  if (component == FLargeImages) {
    FLargeImages = nullptr;
    ImagesChanged(nullptr);
  }
}

// --- selection and lookups

TListItem* TCustomListView::ItemOfNotify(int index, LPARAM lParam) const {
  const auto& items = FItems->FItems;
  if (index >= 0 && index < FItems->Count()) {
    TListItem* at = items[static_cast<size_t>(index)];
    if (lParam == 0 || lParam == reinterpret_cast<LPARAM>(at)) return at;
  }
  for (TListItem* item : items)
    if (reinterpret_cast<LPARAM>(item) == lParam) return item;
  return nullptr;
}

TListItem* TCustomListView::GetSelected() const { return GetNextItem(nullptr, sdAll, {isSelected}); }

void TCustomListView::SetSelected(TListItem* v) {
  if (HandleAllocated()) {
    LVITEMW li{};
    li.stateMask = LVIS_SELECTED;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&li));
  }
  for (TListItem* item : FItems->FItems) item->FSelected = false;
  if (v) v->SetSelected(true);
}

TListItem* TCustomListView::GetItemFocused() const { return GetNextItem(nullptr, sdAll, {isFocused}); }

void TCustomListView::SetItemFocused(TListItem* v) {
  if (TListItem* old = GetItemFocused()) old->SetFocused(false);
  if (v) v->SetFocused(true);
}

int TCustomListView::GetItemIndex() const {
  TListItem* item = GetSelected();
  return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int v) {
  SetSelected(v >= 0 && v < FItems->Count() ? FItems->Item(v) : nullptr);
}

int TCustomListView::GetSelCount() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
  return static_cast<int>(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                                        [](const TListItem* item) { return item->FSelected; }));
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
  if (!HandleAllocated()) return nullptr;
  LVHITTESTINFO hit{};
  hit.pt = {x, y};
  int index = static_cast<int>(SendMessageW(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (index < 0 || !(hit.flags & LVHT_ONITEM)) {
    // A point over a sub-item's column is on the item too.
    LVHITTESTINFO sub{};
    sub.pt = {x, y};
    index = static_cast<int>(SendMessageW(WindowHandle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&sub)));
    if (index < 0 || !(sub.flags & LVHT_ONITEM)) return nullptr;
  }
  return index < FItems->Count() ? FItems->FItems[static_cast<size_t>(index)] : nullptr;
}

TListItem* TCustomListView::GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const {
  const int from = start ? start->Index() : -1;
  if (HandleAllocated()) {
    static constexpr UINT kDirections[] = {LVNI_TOLEFT, LVNI_TORIGHT, LVNI_ABOVE, LVNI_BELOW, LVNI_ALL};
    UINT flags = kDirections[direction];
    if (states.Contains(isCut)) flags |= LVNI_CUT;
    if (states.Contains(isDropHilited)) flags |= LVNI_DROPHILITED;
    if (states.Contains(isFocused)) flags |= LVNI_FOCUSED;
    if (states.Contains(isSelected)) flags |= LVNI_SELECTED;
    const int index = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(from), flags));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[static_cast<size_t>(index)] : nullptr;
  }
  for (int i = from + 1; i < FItems->Count(); ++i) {
    TListItem* item = FItems->FItems[static_cast<size_t>(i)];
    if (states.Contains(isSelected) && !item->FSelected) continue;
    if (states.Contains(isFocused) && !item->FFocused) continue;
    if (states.Contains(isCut) && !item->FCut) continue;
    return item;
  }
  return nullptr;
}

namespace {
// The data of the sort running now, for the default comparison.
struct TSortContext {
  TCustomListView* View;
  LPARAM Data;
};
}  // namespace

int CALLBACK TCustomListView::DefaultCompare(LPARAM item1, LPARAM item2, LPARAM context) {
  auto* sort = reinterpret_cast<TSortContext*>(context);
  auto* a = reinterpret_cast<TListItem*>(item1);
  auto* b = reinterpret_cast<TListItem*>(item2);
  if (sort->View->OnCompare) {
    int result = 0;
    sort->View->OnCompare(sort->View, a, b, sort->Data, result);
    return result;
  }
  return AnsiCompareText(a->GetCaption(), b->GetCaption());
}

bool TCustomListView::CustomSort(TLVCompare sortProc, LPARAM data) {
  TSortContext context{this, data};
  TLVCompare proc = sortProc ? sortProc : &DefaultCompare;
  const LPARAM procData = sortProc ? data : reinterpret_cast<LPARAM>(&context);
  auto& items = FItems->FItems;
  if (!HandleAllocated()) {
    std::stable_sort(items.begin(), items.end(), [&](TListItem* a, TListItem* b) {
      return proc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), procData) < 0;
    });
    return true;
  }
  if (!SendMessageW(WindowHandle(), LVM_SORTITEMS, static_cast<WPARAM>(procData), reinterpret_cast<LPARAM>(proc)))
    return false;
  // The window's order is now the items' order.
  std::vector<TListItem*> sorted;
  sorted.reserve(items.size());
  for (int i = 0; i < FItems->Count(); ++i) {
    LVITEMW li{};
    li.mask = LVIF_PARAM;
    li.iItem = i;
    SendMessageW(WindowHandle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&li));
    auto* item = reinterpret_cast<TListItem*>(li.lParam);
    if (std::find(items.begin(), items.end(), item) == items.end()) return false;
    sorted.push_back(item);
  }
  items = std::move(sorted);
  return true;
}

void TCustomListView::Scroll(int dx, int dy) {
  if (HandleAllocated()) SendMessageW(WindowHandle(), LVM_SCROLL, static_cast<WPARAM>(dx), dy);
}

bool TCustomListView::IsEditing() const {
  return HandleAllocated() && SendMessageW(WindowHandle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

// --- overridable steps

void TCustomListView::ColClick(TListColumn* column) {
  if (OnColumnClick) OnColumnClick(this, column);
}

void TCustomListView::GetImageIndex(TListItem* item) {
  if (OnGetImageIndex) OnGetImageIndex(this, item);
}

bool TCustomListView::CanEdit(TListItem* item) {
  bool allow = !FReadOnly;
  if (allow && OnEditing) OnEditing(this, item, allow);
  return allow;
}

void TCustomListView::Edit(const LVITEMW& info) {
  TListItem* item = ItemOfNotify(info.iItem, info.lParam);
  // No text: the edit was cancelled.
  if (!item || !info.pszText) return;
  std::wstring text = info.pszText;
  if (OnEdited) OnEdited(this, item, text);
  item->SetCaption(text);
}

bool TCustomListView::CanChange(TListItem* item, TItemChange change) {
  bool allow = true;
  if (OnChanging) OnChanging(this, item, change, allow);
  return allow;
}

void TCustomListView::Change(TListItem* item, TItemChange change) {
  if (OnChange) OnChange(this, item, change);
}

void TCustomListView::Delete(TListItem* item) {
  if (OnDeletion) OnDeletion(this, item);
}

void TCustomListView::InsertItem(TListItem*) {}

bool TCustomListView::IsCustomDrawn(TCustomDrawTarget target, TCustomDrawStage stage) {
  if (stage != cdPrePaint) return false;
  switch (target) {
    case dtControl: return static_cast<bool>(OnCustomDraw);
    case dtItem: return static_cast<bool>(OnCustomDrawItem);
    case dtSubItem: return static_cast<bool>(OnCustomDrawSubItem);
  }
  return false;
}

bool TCustomListView::CustomDraw(const TRect& rect, TCustomDrawStage stage) {
  bool defaultDraw = true;
  if (stage == cdPrePaint && OnCustomDraw) OnCustomDraw(this, rect, defaultDraw);
  return defaultDraw;
}

bool TCustomListView::CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage) {
  bool defaultDraw = true;
  if (stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, item, state, defaultDraw);
  return defaultDraw;
}

bool TCustomListView::CustomDrawSubItem(TListItem* item, int subItem, TCustomDrawState state,
                                        TCustomDrawStage stage) {
  bool defaultDraw = true;
  if (stage == cdPrePaint && OnCustomDrawSubItem) OnCustomDrawSubItem(this, item, subItem, state, defaultDraw);
  return defaultDraw;
}

// --- notifications

void TCustomListView::GetDispInfo(NMLVDISPINFOW& info) {
  TListItem* item = ItemOfNotify(info.item.iItem, info.item.lParam);
  if (!item) return;
  if (info.item.mask & LVIF_TEXT) {
    const int sub = info.item.iSubItem;
    if (sub == 0) FDispText = item->FCaption;
    else if (sub - 1 < item->FSubItems->Count()) FDispText = item->FSubItems->Get(sub - 1);
    else FDispText.clear();
    CopyText(FDispText, info.item.pszText, info.item.cchTextMax);
  }
  if ((info.item.mask & LVIF_IMAGE) && info.item.iSubItem == 0) {
    GetImageIndex(item);
    info.item.iImage = item->FImageIndex;
  }
}

intptr_t TCustomListView::CustomDrawNotify(NMLVCUSTOMDRAW& cd) {
  HDC dc = cd.nmcd.hdc;
  const TRect rect(cd.nmcd.rc.left, cd.nmcd.rc.top, cd.nmcd.rc.right, cd.nmcd.rc.bottom);
  const TCustomDrawState state = DrawState(cd.nmcd.uItemState);
  auto begin = [&] {
    FCanvas->SetHandle(dc);
    FCanvas->SetFont(GetFont());
    FCanvas->GetBrush()->SetColor(GetColor());
  };
  // What the program chose for the item's text, handed to the control's drawing.
  auto takeColors = [&]() -> intptr_t {
    cd.clrText = static_cast<COLORREF>(ColorToRGB(FCanvas->GetFont()->GetColor()));
    cd.clrTextBk = static_cast<COLORREF>(ColorToRGB(FCanvas->GetBrush()->GetColor()));
    HFONT font = FCanvas->GetFont()->GetHandle();
    FCanvas->SetHandle(nullptr);
    SelectObject(dc, font);
    return CDRF_NEWFONT;
  };
  switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
      if (IsCustomDrawn(dtControl, cdPrePaint)) {
        begin();
        const bool draw = CustomDraw(rect, cdPrePaint);
        FCanvas->SetHandle(nullptr);
        if (!draw) return CDRF_SKIPDEFAULT;
      }
      intptr_t result = CDRF_DODEFAULT;
      if (IsCustomDrawn(dtItem, cdPrePaint) || IsCustomDrawn(dtSubItem, cdPrePaint) ||
          IsCustomDrawn(dtItem, cdPostPaint))
        result |= CDRF_NOTIFYITEMDRAW;
      if (IsCustomDrawn(dtControl, cdPostPaint)) result |= CDRF_NOTIFYPOSTPAINT;
      return result;
    }
    case CDDS_POSTPAINT:
      if (IsCustomDrawn(dtControl, cdPostPaint)) {
        begin();
        CustomDraw(rect, cdPostPaint);
        FCanvas->SetHandle(nullptr);
      }
      return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
      TListItem* item = ItemOfNotify(static_cast<int>(cd.nmcd.dwItemSpec), cd.nmcd.lItemlParam);
      if (!item) return CDRF_DODEFAULT;
      intptr_t result = CDRF_DODEFAULT;
      if (IsCustomDrawn(dtItem, cdPrePaint)) {
        begin();
        if (!CustomDrawItem(item, state, cdPrePaint)) {
          FCanvas->SetHandle(nullptr);
          return CDRF_SKIPDEFAULT;
        }
        result = takeColors();
      }
      if (IsCustomDrawn(dtSubItem, cdPrePaint)) result |= CDRF_NOTIFYSUBITEMDRAW;
      if (IsCustomDrawn(dtItem, cdPostPaint)) result |= CDRF_NOTIFYPOSTPAINT;
      return result;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      TListItem* item = ItemOfNotify(static_cast<int>(cd.nmcd.dwItemSpec), cd.nmcd.lItemlParam);
      if (!item || !IsCustomDrawn(dtSubItem, cdPrePaint)) return CDRF_DODEFAULT;
      begin();
      if (!CustomDrawSubItem(item, cd.iSubItem, state, cdPrePaint)) {
        FCanvas->SetHandle(nullptr);
        return CDRF_SKIPDEFAULT;
      }
      return takeColors();
    }
    case CDDS_ITEMPOSTPAINT: {
      TListItem* item = ItemOfNotify(static_cast<int>(cd.nmcd.dwItemSpec), cd.nmcd.lItemlParam);
      if (item && IsCustomDrawn(dtItem, cdPostPaint)) {
        begin();
        CustomDrawItem(item, state, cdPostPaint);
        FCanvas->SetHandle(nullptr);
      }
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

void TCustomListView::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  switch (hdr->code) {
    case LVN_GETDISPINFOW: GetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(hdr)); return;
    case LVN_ITEMCHANGING: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
      if (FFilling || !(nm->uChanged & LVIF_STATE)) return;
      if (TListItem* item = ItemOfNotify(nm->iItem, nm->lParam))
        if (!CanChange(item, ctState)) m.Result = TRUE;
      return;
    }
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
      if (FFilling || !(nm->uChanged & LVIF_STATE)) return;
      TListItem* item = ItemOfNotify(nm->iItem, nm->lParam);
      if (!item) return;
      Change(item, ctState);
      if ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)
        if (OnSelectItem) OnSelectItem(this, item, (nm->uNewState & LVIS_SELECTED) != 0);
      return;
    }
    case LVN_COLUMNCLICK: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
      if (nm->iSubItem >= 0 && nm->iSubItem < FColumns->Count()) ColClick(FColumns->Items(nm->iSubItem));
      return;
    }
    case LVN_BEGINLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(hdr);
      TListItem* item = ItemOfNotify(info->item.iItem, info->item.lParam);
      m.Result = !item || !CanEdit(item);
      FEditing = m.Result == 0;
      return;
    }
    case LVN_ENDLABELEDITW:
      // One end per edit, as in the tree view.
      if (FEditing) {
        FEditing = false;
        Edit(reinterpret_cast<NMLVDISPINFOW*>(hdr)->item);
      }
      // The caption is ours; the control asks for it again.
      m.Result = FALSE;
      return;
    case LVN_DELETEITEM: return;
    // One notification for all: the items were told already.
    case LVN_DELETEALLITEMS: m.Result = TRUE; return;
    case NM_CLICK: Click(); return;
    case NM_DBLCLK: DblClick(); return;
    case NM_CUSTOMDRAW: m.Result = CustomDrawNotify(*reinterpret_cast<NMLVCUSTOMDRAW*>(hdr)); return;
    default: TWinControl::CNNotify(m); return;
  }
}

