// The tabbed list box of VyLstBox.h: tab stops, columns, automatic stops.
#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyTabStops.h"
#include "vcl/ExtCtrls.h"

#include <algorithm>

namespace Vy {

// --- tab stop list

TVyTabStopList::TVyTabStopList(TVyCustomTabbedListBox* listBox) : FListBox(listBox) {
  SetMin(-2147483647);
  SetMax(2147483647);
}

void TVyTabStopList::Changed() {
  if (FListBox) FListBox->ApplyTabStops();
}

void TVyTabStopList::Put(int index, int32_t value) {
  TVyIntegerList::Put(index, value);
  Changed();
}

int TVyTabStopList::Add(int32_t value) {
  const int index = TVyIntegerList::Add(value);
  Changed();
  return index;
}

void TVyTabStopList::Delete(int index) {
  TVyIntegerList::Delete(index);
  Changed();
}

void TVyTabStopList::Insert(int index, int32_t value) {
  TVyIntegerList::Insert(index, value);
  Changed();
}

// --- tabbed list box

TVyCustomTabbedListBox::TVyCustomTabbedListBox(TComponent* AOwner)
    : TVyCustomTabbedListBox(AOwner, new TVyListStrings) {}

TVyCustomTabbedListBox::TVyCustomTabbedListBox(TComponent* AOwner, TVyListStrings* items)
    : TVyCustomListBox(AOwner, items), FTabStops(std::make_unique<TVyTabStopList>(this)) {
  SetShowItemHints(false);
}

TVyCustomTabbedListBox::~TVyCustomTabbedListBox() = default;

void TVyCustomTabbedListBox::Publish(TPublisher<TVyCustomTabbedListBox>& p) {
  using T = TVyCustomTabbedListBox;
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Property(L"ShowItemHints", &T::GetShowItemHints, &T::SetShowItemHints).Default(false);
  p.Property(L"TabStops", &T::GetTabStops, &T::SetTabStops).Stored(&T::IsTabStopsStored);
  p.Property(L"TabStopsMode", &T::GetTabStopsMode, &T::SetTabStopsMode).Default(tsmManual);
}

void TVyCustomTabbedListBox::SetTabStops(TVyTabStopList* v) {
  FTabStops->Assign(v);
  ApplyTabStops();
}

void TVyCustomTabbedListBox::SetTabStopsMode(TVyTabStopsMode v) {
  if (FTabStopsMode == v) return;
  FTabStopsMode = v;
  if (v == tsmAutomatic && !ItemsUpdating()) CalcAutoTabStops();
}

void TVyCustomTabbedListBox::CreateParams(TCreateParams& params) {
  TVyCustomListBox::CreateParams(params);
  params.Style |= LBS_USETABSTOPS;
}

void TVyCustomTabbedListBox::CreateWnd() {
  TVyCustomListBox::CreateWnd();
  ApplyTabStops();
}

void TVyCustomTabbedListBox::Loaded() {
  TVyCustomListBox::Loaded();
  if (FTabStopsMode == tsmAutomatic) CalcAutoTabStops();
  ApplyTabStops();
}

std::vector<int> TVyCustomTabbedListBox::GetTabStopArray() const { return TabStopsInDialogUnits(FTabStops->Values()); }

std::vector<int> TVyCustomTabbedListBox::PixelTabStops() const {
  return TabStopsInPixels(FTabStops->Values(), FDlgBaseUnits);
}

void TVyCustomTabbedListBox::ApplyTabStops() {
  if (!HandleAllocated()) return;
  std::vector<int> stops = GetTabStopArray();
  SendMessageW(WindowHandle(), LB_SETTABSTOPS, stops.size(),
               stops.empty() ? 0 : reinterpret_cast<LPARAM>(stops.data()));
  Invalidate();
}

void TVyCustomTabbedListBox::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  TMeasureDC measure(GetFont());
  FDlgBaseUnits = SafeBaseUnits(AverageCharWidth(measure.Canvas()));
  if (FTabStopsMode == tsmAutomatic && !ItemsUpdating()) CalcAutoTabStops();
}

void TVyCustomTabbedListBox::ItemsUpdated() {
  TVyCustomListBox::ItemsUpdated();
  if (FTabStopsMode == tsmAutomatic && !IsVirtual()) CalcAutoTabStops();
}

void TVyCustomTabbedListBox::GroupFontChanged() {
  if (FTabStopsMode == tsmAutomatic && !ItemsUpdating()) CalcAutoTabStops();
}

// --- automatic stops

int TVyCustomTabbedListBox::ColumnTextWidth(TCanvas* canvas, int index, int col, const std::wstring& text) {
  if (IsGroup(index)) {
    canvas->SetFont(GetGroupFont());
    const std::wstring& prefix = GetGroupPrefix();
    return canvas->TextWidth(col == 0 ? text.substr(std::min(prefix.size(), text.size())) : text);
  }
  canvas->SetFont(GetFont());
  return canvas->TextWidth(text) + (col == 0 ? GetCheckIndent() : 0);
}

void TVyCustomTabbedListBox::CalcAutoTabStops() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  FTabStops->Clear();
  int columns = 0;
  for (int i = 0; i < GetItems()->Count(); ++i) columns = std::max(columns, TabCount(GetItems()->Get(i)));
  FColumnWidths.assign(size_t(columns), 0);
  TMeasureDC measure(GetFont());
  for (int i = 0; i < GetItems()->Count(); ++i) {
    const std::vector<std::wstring> texts = ColumnTexts(GetItems()->Get(i), columns);
    for (int c = 0; c < columns; ++c)
      FColumnWidths[size_t(c)] =
          std::max(FColumnWidths[size_t(c)], ColumnTextWidth(measure.Canvas(), i, c, texts[size_t(c)]));
  }
  const std::vector<int> stops = AutomaticTabStops(FColumnWidths, FDlgBaseUnits);
  if (stops.empty()) return ApplyTabStops();
  for (int stop : stops) FTabStops->Add(stop);
}

void TVyCustomTabbedListBox::AutoStopsAfterAdd(int index) {
  if (index < 0 || index >= GetItems()->Count()) return CalcAutoTabStops();
  const std::wstring line = GetItems()->Get(index);
  // A line with more columns than any before changes what the others give to them.
  if (TabCount(line) > int(FColumnWidths.size()) || FTabStops->Count() != int(FColumnWidths.size()))
    return CalcAutoTabStops();
  TMeasureDC measure(GetFont());
  const std::vector<std::wstring> texts = ColumnTexts(line, int(FColumnWidths.size()));
  bool wider = false;
  for (size_t c = 0; c < texts.size(); ++c) {
    const int w = ColumnTextWidth(measure.Canvas(), index, int(c), texts[c]);
    if (w > FColumnWidths[c]) {
      FColumnWidths[c] = w;
      wider = true;
    }
  }
  if (!wider) return;
  const std::vector<int> stops = AutomaticTabStops(FColumnWidths, FDlgBaseUnits);
  for (size_t i = 0; i < stops.size(); ++i)
    if (FTabStops->Get(int(i)) != stops[i]) FTabStops->Put(int(i), stops[i]);
}

void TVyCustomTabbedListBox::WndProc(TMessage& m) {
  TVyCustomListBox::WndProc(m);
  if (FTabStopsMode != tsmAutomatic || ItemsUpdating() || IsVirtual()) return;
  if (m.Msg == LB_ADDSTRING || m.Msg == LB_INSERTSTRING) AutoStopsAfterAdd(static_cast<int>(m.Result));
  else if (m.Msg == LB_DELETESTRING) CalcAutoTabStops();
}

// --- drawing and measuring

void TVyCustomTabbedListBox::DrawTabbedText(const TRect& rect, const std::wstring& text) {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  const int y = rect.Top + (GetItemHeight() - canvas->TextHeight(L"Pp")) / 2;
  IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (UseRightToLeftAlignment()) {
    canvas->TextOut(rect.Right - 2 - canvas->TextWidth(text), y, text);
  } else {
    std::vector<int> stops = PixelTabStops();
    TabbedTextOutW(dc, rect.Left + 2, y, text.c_str(), static_cast<int>(text.size()), static_cast<int>(stops.size()),
                   stops.empty() ? nullptr : stops.data(), 0);
  }
  SelectClipRgn(dc, nullptr);
}

void TVyCustomTabbedListBox::DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState) {
  GetCanvas()->FillRect(rect);
  if (index < 0 || index >= GetCount()) return;
  DrawTabbedText(rect, IsVirtual() ? DoGetData(index) : GetItems()->Get(index));
}

void TVyCustomTabbedListBox::DrawGroup(int index, const TRect& rect, TOwnerDrawState state) {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetGroupFont());
  PaintGroupBand(rect, state);
  const std::wstring line = GetItems()->Get(index);
  canvas->GetBrush()->SetStyle(bsClear);
  DrawTabbedText(rect, line.substr(std::min(GetGroupPrefix().size(), line.size())));
  canvas->GetBrush()->SetStyle(bsSolid);
}

int TVyCustomTabbedListBox::ItemExtent(TCanvas* canvas, const std::wstring& line) {
  const std::wstring text = line + L"x";
  // The tabbed extent comes in 16 bits: a line that wide is as wide as the window allows.
  if (canvas->TextWidth(text) >= 65535) return 65535;
  std::vector<int> stops = PixelTabStops();
  const DWORD tabbed = GetTabbedTextExtentW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()),
                                            static_cast<int>(stops.size()), stops.empty() ? nullptr : stops.data());
  return GetOwnerDrawIndent() + LOWORD(tabbed);
}

// --- cells

void TVyCustomTabbedListBox::CheckRow(int row) const {
  if (row < 0 || row >= GetItems()->Count()) throw EListError(L"Row parameter out of range");
}

std::wstring TVyCustomTabbedListBox::GetCell(int col, int row) const {
  CheckRow(row);
  const std::wstring line = GetItems()->Get(row);
  size_t start = 0, end = 0;
  if (!FindCell(line, col, start, end)) throw EListError(L"Column parameter out of range");
  return line.substr(start, end - start);
}

void TVyCustomTabbedListBox::SetCell(int col, int row, const std::wstring& value) {
  CheckRow(row);
  std::wstring line = GetItems()->Get(row);
  size_t start = 0, end = 0;
  if (!FindCell(line, col, start, end)) throw EListError(L"Column parameter out of range");
  line.replace(start, end - start, value);
  GetItems()->Put(row, line);
}

void TVyCustomTabbedListBox::UpdateFromHeader(TControl* header) {
  auto* h = dynamic_cast<THeader*>(header);
  if (!h)
    throw EHeaderError(
        L"Only THeader and THeaderControl components can be passed to TVyCustomTabbedListBox.UpdateFromHeader");
  std::vector<int> widths;
  for (int i = 0; i < h->GetSections()->Count(); ++i) widths.push_back(h->GetSectionWidth(i));
  const std::vector<int> stops = HeaderTabStops(FTabStops->Values(), widths, FDlgBaseUnits, 1, GetWidth());
  for (size_t i = 0; i < stops.size(); ++i)
    if (stops[i] != FTabStops->Get(int(i))) FTabStops->Put(int(i), stops[i]);
}

}  // namespace Vy
