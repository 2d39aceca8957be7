#include "controls/extended/VyLstBox.h"

#include "controls/extended/VyListMetrics.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/SysUtils.h"

#include <algorithm>

namespace Vy {

// --- lines

namespace {
[[noreturn]] void ThrowIndex(int index) {
  throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}
}  // namespace

TVyListStrings::~TVyListStrings() {
  for (int i = 0; i < Count(); ++i) delete PacketAt(i);
}

TPacket& TVyListStrings::Packet(int index) {
  if (index < 0 || index >= Count()) ThrowIndex(index);
  return *PacketAt(index);
}

const TPacket& TVyListStrings::Packet(int index) const {
  if (index < 0 || index >= Count()) ThrowIndex(index);
  return *PacketAt(index);
}

void* TVyListStrings::GetObject(int index) const { return Packet(index).Object; }
void TVyListStrings::PutObject(int index, void* object) { Packet(index).Object = object; }

void TVyListStrings::InsertObject(int index, const String& s, void* object) {
  auto packet = std::make_unique<TPacket>();
  packet->Object = object;
  TStringList::InsertObject(index, s, packet.get());
  packet.release();
}

int TVyListStrings::AddPacket(const String& s, std::unique_ptr<TPacket> packet) {
  const int before = Count();
  const int index = TStringList::AddObject(s, packet.get());
  // A sorted list that ignores duplicates may keep the line it had.
  if (Count() > before) packet.release();
  return index;
}

int TVyListStrings::AddObject(const String& s, void* object) {
  auto packet = std::make_unique<TPacket>();
  packet->Object = object;
  return AddPacket(s, std::move(packet));
}

int TVyListStrings::AddPlain(const String& s, void* object) {
  auto packet = std::make_unique<TPacket>();
  packet->Object = object;
  packet->Plain = true;
  return AddPacket(s, std::move(packet));
}

void TVyListStrings::Delete(int index) {
  TPacket* packet = &Packet(index);
  TStringList::Delete(index);
  delete packet;
}

void TVyListStrings::Clear() {
  std::vector<std::unique_ptr<TPacket>> packets;
  for (int i = 0; i < Count(); ++i) packets.emplace_back(PacketAt(i));
  TStringList::Clear();
}

void TVyListStrings::SetUpdateState(bool updating) {
  TStringList::SetUpdateState(updating);
  if (OnUpdateState) OnUpdateState(updating);
}

void TVyListStrings::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TVyListStrings*>(Source);
  if (!other) {
    TStringList::Assign(Source);
    return;
  }
  BeginUpdate();
  TOnExit done([this] { EndUpdate(); });
  Clear();
  for (int i = 0; i < other->Count(); ++i) AddPacket(other->Get(i), std::make_unique<TPacket>(other->Packet(i)));
}

// --- the framed list box

TVyCustomListBox::TVyCustomListBox(TComponent* AOwner) : TVyCustomListBox(AOwner, new TVyListStrings) {}

TVyCustomListBox::TVyCustomListBox(TComponent* AOwner, TVyListStrings* items)
    : TCustomListBox(AOwner, items), TVyWindowFrame(this) {
  Init();
}

void TVyCustomListBox::Init() {
  ControlStyle.Exclude(csOpaque);
  FSearchTimer = std::make_unique<TTimer>(nullptr);
  FSearchTimer->SetEnabled(false);
  FSearchTimer->SetInterval(1500);
  FSearchTimer->OnTimer = TNotifyEvent(this, &TVyCustomListBox::SearchTimerFired);
  FGroupFont = std::make_unique<TFont>();
  FGroupFont->SetStyle(TFontStyles{fsBold});
  FGroupFont->SetColor(clHighlight);
  FGroupFont->OnChange = TNotifyEvent(this, &TVyCustomListBox::GroupFontChange);
  Lines()->OnUpdateState = [this](bool updating) { ItemsUpdateState(updating); };
}

void TVyCustomListBox::ItemsUpdateState(bool updating) {
  if (HandleAllocated()) SendMessageW(WindowHandle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (updating) return;
  if (HandleAllocated()) Invalidate();
  ItemsUpdated();
}

void TVyCustomListBox::ItemsUpdated() {
  if (FHorzScrollBar && !IsVirtual()) UpdateHorzExtent();
}

TVyCustomListBox::~TVyCustomListBox() {
  Lines()->OnUpdateState = nullptr;
  FSearchTimer.reset();
  FGroupFont.reset();
  UnlinkFrameController();
}

void TVyCustomListBox::Publish(TPublisher<TVyCustomListBox>& p) {
  using T = TVyCustomListBox;
  p.Message(WM_MOUSEMOVE, &T::WMMouseMove);
  p.Message(CN_DRAWITEM, &T::CNDrawItem);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  PublishWindowFrame(p);
  p.Property(L"BeepOnInvalidKey", &T::GetBeepOnInvalidKey, &T::SetBeepOnInvalidKey).Default(true);
  p.Property(L"GroupColor", &T::GetGroupColor, &T::SetGroupColor).Default(clInactiveCaptionText).Idents(ColorIdents);
  p.Property(L"GroupFont", &T::GetGroupFont, &T::SetGroupFont);
  p.Property(L"GroupPrefix", &T::GetGroupPrefix, &T::SetGroupPrefix).Default(L"//");
  p.Property(L"HorzExtent", &T::GetHorzExtent, &T::SetHorzExtent).Default(0);
  p.Property(L"HorzScrollBar", &T::GetHorzScrollBar, &T::SetHorzScrollBar).Default(false);
  p.Property(L"IncrementalSearch", &T::GetIncrementalSearch, &T::SetIncrementalSearch).Default(true);
  p.Property(L"OwnerDrawIndent", &T::GetOwnerDrawIndentValue, &T::SetOwnerDrawIndent).Default(0);
  p.Property(L"ShowGroups", &T::GetShowGroups, &T::SetShowGroups).Default(false);
  p.Property(L"ShowItemHints", &T::GetShowItemHints, &T::SetShowItemHints).Default(true);
  p.Property(L"TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients).Default(true);
  p.Property(L"OnMatch", &T::OnMatch);
  p.Property(L"OnDeleteItems", &T::OnDeleteItems);
}

void TVyCustomListBox::DefineProperties(TFiler& Filer) {
  TCustomListBox::DefineProperties(Filer);
  DefineObsoleteFrameProperties(Filer);
}

void TVyCustomListBox::CreateParams(TCreateParams& params) {
  TCustomListBox::CreateParams(params);
  if (FHorzScrollBar) params.Style |= WS_HSCROLL;
  else if (GetColumns() == 0) params.Style &= ~static_cast<DWORD>(WS_HSCROLL);
}

void TVyCustomListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  SendMessageW(WindowHandle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FHorzExtent), 0);
  ShowScrollBar(WindowHandle(), SB_HORZ, FHorzScrollBar);
}

void TVyCustomListBox::Loaded() {
  TCustomListBox::Loaded();
  if (FHorzScrollBar && !ItemsUpdating()) UpdateHorzExtent();
  UpdateColors();
  UpdateFrame(false, false);
}

void TVyCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  FrameNotification(AComponent, Operation);
}

void TVyCustomListBox::FrameVisibleChanged() {
  if (GetFrameVisible()) SetCtl3D(true);
  RecreateWnd();
}

// --- operations

int TVyCustomListBox::Add(const std::wstring& s) { return Lines()->AddPlain(s); }

void TVyCustomListBox::Delete(int index) {
  const int selected = GetItemIndex();
  GetItems()->Delete(index);
  const int again = IndexAfterDelete(selected, GetItems()->Count());
  if (again < 0) return;
  SetItemIndex(again);
  if (GetMultiSelect()) SetSelected(again, true);
  Click();
}

std::wstring TVyCustomListBox::SelectedItem() const {
  const bool any = GetMultiSelect() ? GetSelCount() > 0 : GetItemIndex() != -1;
  const int index = GetItemIndex();
  if (!any || index < 0 || index >= GetItems()->Count()) return {};
  return GetItems()->Get(index);
}

void TVyCustomListBox::SelectAll() {
  if (GetMultiSelect()) TCustomListBox::SelectAll();
}

// --- properties

void TVyCustomListBox::SetGroupColor(TColor v) {
  if (FGroupColor == v) return;
  FGroupColor = v;
  Invalidate();
}

void TVyCustomListBox::SetGroupPrefix(const std::wstring& v) {
  if (FGroupPrefix == v) return;
  FGroupPrefix = v;
  Invalidate();
}

void TVyCustomListBox::SetHorzExtent(int v) {
  v = ClampExtent(v);
  if (FHorzExtent == v) return;
  FHorzExtent = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(v), 0);
}

void TVyCustomListBox::SetHorzScrollBar(bool v) {
  if (FHorzScrollBar == v) return;
  FHorzScrollBar = v;
  RecreateWnd();
  if (v && !ComponentState().Contains(csLoading) && !ItemsUpdating()) UpdateHorzExtent();
}

void TVyCustomListBox::SetOwnerDrawIndent(int v) {
  if (FOwnerDrawIndent == v) return;
  FOwnerDrawIndent = v;
  Invalidate();
}

void TVyCustomListBox::SetShowGroups(bool v) {
  if (FShowGroups != v) {
    FShowGroups = v;
    if (v) {
      SetStyle(lbOwnerDrawFixed);
      UpdateItemHeight();
    }
  }
  Invalidate();
}

void TVyCustomListBox::SetUseGradients(bool v) {
  if (FUseGradients == v) return;
  FUseGradients = v;
  Invalidate();
}

void TVyCustomListBox::GroupFontChange(TObject*) {
  GroupFontChanged();
  Invalidate();
}

void TVyCustomListBox::UpdateItemHeight() {
  TMeasureDC measure(GetFont());
  SetItemHeight(FontLineHeight(measure.Canvas()) + 2);
}

void TVyCustomListBox::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (FHorzScrollBar && !ItemsUpdating()) UpdateHorzExtent();
  if (FShowGroups) UpdateItemHeight();
}

void TVyCustomListBox::Resize() {
  TCustomListBox::Resize();
  if (FUseGradients) Invalidate();
}

// --- groups and drawing

bool TVyCustomListBox::IsGroup(int index) const {
  const TVyListStrings* lines = Lines();
  if (index < 0 || index >= lines->Count()) return false;
  return !lines->Packet(index).Plain && HasGroupPrefix(lines->Get(index), FGroupPrefix);
}

int TVyCustomListBox::FindGroup(int index) const {
  for (int i = std::min(index, GetItems()->Count() - 1); i >= 0; --i)
    if (IsGroup(i)) return i;
  return -1;
}

void TVyCustomListBox::CNDrawItem(TMessage& m) {
  const DRAWITEMSTRUCT dis = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  m.Result = 1;
  const int index = static_cast<int>(dis.itemID);
  TOwnerDrawState state;
  if (dis.itemState & ODS_SELECTED) state.Include(odSelected);
  if (dis.itemState & ODS_FOCUS) state.Include(odFocused);
  if (dis.itemState & ODS_DISABLED) state.Include(odDisabled);
  TRect rect(dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
  const bool group = FShowGroups && index >= 0 && IsGroup(index);
  if (!group) {
    if (UseRightToLeftAlignment()) rect.Right -= GetOwnerDrawIndent();
    else rect.Left += GetOwnerDrawIndent();
  }
  TCanvas* canvas = GetCanvas();
  const int saved = SaveDC(dis.hDC);
  TOnExit restore([&] {
    canvas->SetHandle(nullptr);
    RestoreDC(dis.hDC, saved);
  });
  canvas->SetHandle(dis.hDC);
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetColor(GetColor());
  if (index >= 0 && state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  }
  if (index < 0 || index >= GetCount()) canvas->FillRect(rect);
  else if (group) DrawGroup(index, rect, state);
  else DrawItem(index, rect, state);
  if (state.Contains(odFocused)) {
    const RECT focus{rect.Left, rect.Top, rect.Right, rect.Bottom};
    DrawFocusRect(dis.hDC, &focus);
  }
}

void TVyCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) { DoDrawItem(index, rect, state); }

void TVyCustomListBox::DoDrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
  else DefaultDrawItem(index, rect, state);
}

void TVyCustomListBox::DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState) {
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(rect);
  if (index >= GetCount()) return;
  TRect r = rect;
  if (UseRightToLeftAlignment()) r.Right -= 2;
  else r.Left += 2;
  const std::wstring text = IsVirtual() ? DoGetData(index) : GetItems()->Get(index);
  canvas->DrawText(text, r, DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
}

void TVyCustomListBox::PaintGroupBand(const TRect& rect, TOwnerDrawState state) {
  TCanvas* canvas = GetCanvas();
  if (state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->FillRect(rect);
    canvas->GetFont()->SetColor(clHighlightText);
  } else if (FUseGradients && HasTrueColorScreen()) {
    const bool rtl = UseRightToLeftAlignment();
    PaintGradient(canvas, rect, gdVerticalEnd, 1, rtl ? FGroupColor : GetColor(), rtl ? GetColor() : FGroupColor);
  } else {
    canvas->GetBrush()->SetColor(FGroupColor);
    canvas->FillRect(rect);
  }
}

void TVyCustomListBox::DrawGroup(int index, const TRect& rect, TOwnerDrawState state) {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(FGroupFont.get());
  PaintGroupBand(rect, state);
  const std::wstring line = GetItems()->Get(index);
  const std::wstring text = line.substr(std::min(FGroupPrefix.size(), line.size()));
  const int y = rect.Top + (GetItemHeight() - canvas->TextHeight(L"Pp")) / 2;
  canvas->GetBrush()->SetStyle(bsClear);
  const int x = UseRightToLeftAlignment() ? rect.Right - 2 - canvas->TextWidth(text) : rect.Left + 2;
  canvas->TextRect(rect, x, y, text);
  canvas->GetBrush()->SetStyle(bsSolid);
}

// --- horizontal extent

std::wstring TVyCustomListBox::WindowText(int index) const {
  const LRESULT length = SendMessageW(WindowHandle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(WindowHandle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? std::min(static_cast<size_t>(copied), static_cast<size_t>(length)) : 0);
  return text;
}

int TVyCustomListBox::ItemExtent(TCanvas* canvas, const std::wstring& line) { return canvas->TextWidth(line + L"x"); }

void TVyCustomListBox::UpdateHorzExtent() {
  TMeasureDC measure(GetFont());
  int64_t widest = 0;
  for (int i = 0; i < GetItems()->Count(); ++i)
    widest = std::max<int64_t>(widest, ItemExtent(measure.Canvas(), GetItems()->Get(i)));
  SetHorzExtent(ClampExtent(widest));
}

void TVyCustomListBox::ExtentAfterChange(const TMessage& m, int64_t deletedWidth) {
  if (m.Msg == LB_ADDSTRING || m.Msg == LB_INSERTSTRING) {
    const int index = static_cast<int>(m.Result);
    if (index < 0 || index >= GetItems()->Count()) return UpdateHorzExtent();
    TMeasureDC measure(GetFont());
    SetHorzExtent(ClampExtent(std::max<int64_t>(FHorzExtent, ItemExtent(measure.Canvas(), GetItems()->Get(index)))));
  } else if (m.Msg == LB_RESETCONTENT) {
    SetHorzExtent(0);
  } else if (deletedWidth >= FHorzExtent) {
    UpdateHorzExtent();
  }
}

void TVyCustomListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: FTypedPrefix.clear(); break;
    case WM_KEYDOWN:
      if (m.WParam == VK_ESCAPE || (m.WParam >= VK_PRIOR && m.WParam <= VK_DOWN)) FTypedPrefix.clear();
      break;
  }
  const bool extentFollows =
      FHorzScrollBar && !ItemsUpdating() && !IsVirtual() &&
      (m.Msg == LB_ADDSTRING || m.Msg == LB_INSERTSTRING || m.Msg == LB_DELETESTRING || m.Msg == LB_RESETCONTENT);
  // The window still holds the line that goes.
  int64_t deletedWidth = 0;
  if (extentFollows && m.Msg == LB_DELETESTRING) {
    TMeasureDC measure(GetFont());
    deletedWidth = ItemExtent(measure.Canvas(), WindowText(static_cast<int>(m.WParam)));
  }
  FramedWndProc(m, [&] { TCustomListBox::WndProc(m); });
  if (extentFollows) ExtentAfterChange(m, deletedWidth);
}

// --- keys and incremental search

void TVyCustomListBox::KeyPress(wchar_t& key) {
  if (!FIncrementalSearch || IsVirtual()) {
    TCustomListBox::KeyPress(key);
    return;
  }
  if (key == 13 && FTabOnEnter) {
    PostMessageW(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    key = 0;
    return;
  }
  TCustomListBox::KeyPress(key);
  const wchar_t k = key;
  // The system's own search never runs: every character ends here.
  key = 0;
  if (k == 0) return;
  if (k == 8) {
    if (FTypedPrefix.empty()) {
      if (FBeepOnInvalidKey) Beep();
      FindAndSelect(L"");
      return;
    }
    FTypedPrefix.pop_back();
    if (!FTypedPrefix.empty()) {
      FindAndSelect(FTypedPrefix);
    } else {
      SetItemIndex(GetCount() > 0 ? 0 : -1);
      FTypedPrefix.clear();
    }
    return;
  }
  if (k == 27) {
    SetItemIndex(-1);
    return;
  }
  const bool swallowedBlank = k == L' ' && GetMultiSelect() && !GetExtendedSelect();
  if (k < 32 || swallowedBlank) return;
  FSearching = true;
  TOnExit done([this] { FSearching = false; });
  FindAndSelect(FTypedPrefix + k);
  FSearchTimer->SetEnabled(false);
  FSearchTimer->SetEnabled(true);
}

int TVyCustomListBox::FindString(const std::wstring& s) {
  if (!HandleAllocated()) {
    for (int i = 0; i < GetItems()->Count(); ++i)
      if (GetItems()->Get(i).size() >= s.size() && SameText(GetItems()->Get(i).substr(0, s.size()), s)) return i;
    return -1;
  }
  const LRESULT r =
      SendMessageW(WindowHandle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
  return r == LB_ERR ? -1 : static_cast<int>(r);
}

void TVyCustomListBox::FindAndSelect(const std::wstring& text) {
  const int previous = GetItemIndex();
  const int found = FindString(text);
  if (found == -1) {
    if (FBeepOnInvalidKey) Beep();
    return;
  }
  if (GetMultiSelect()) {
    if (previous >= 0 && previous < GetCount()) SetSelected(previous, false);
    SetSelected(found, true);
    SendMessageW(GetHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(found), FALSE);
  } else {
    SetItemIndex(found);
  }
  FTypedPrefix = text;
  DoMatch();
}

void TVyCustomListBox::SearchTimerFired(TObject*) {
  if (FSearching) return;
  FSearchTimer->SetEnabled(false);
  FTypedPrefix.clear();
}

void TVyCustomListBox::Beep() { MessageBeep(0); }

void TVyCustomListBox::DoMatch() {
  if (OnMatch) OnMatch(this);
}

void TVyCustomListBox::DoDeleteItems() {
  if (OnDeleteItems) OnDeleteItems(this);
}

// --- wheel

void TVyCustomListBox::ScrollLines(int lines, bool down) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(GetHandle(), SB_VERT, &info)) return;
  if (!down) lines = std::min(lines, info.nPos);
  for (int i = 0; i < lines; ++i) SendMessageW(GetHandle(), WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
}

bool TVyCustomListBox::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomListBox::DoMouseWheelDown(shift, mousePos);
  ScrollLines(WheelLines(Mouse->WheelScrollLines(), GetClientHeight() / std::max(1, GetItemHeight())), true);
  return true;
}

bool TVyCustomListBox::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomListBox::DoMouseWheelUp(shift, mousePos);
  ScrollLines(WheelLines(Mouse->WheelScrollLines(), GetClientHeight() / std::max(1, GetItemHeight())), false);
  return true;
}

// --- item hints

void TVyCustomListBox::MouseEntered() {
  TVyWindowFrame::MouseEntered();
  if (FShowItemHints) ShowItemHint(ScreenToClient(Mouse->CursorPos()));
}

void TVyCustomListBox::MouseLeft() {
  TVyWindowFrame::MouseLeft();
  HideItemHint();
}

void TVyCustomListBox::WMMouseMove(TMessage& m) {
  QORN_INHERITED(m);
  if (FShowItemHints) ShowItemHint(TPoint{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))});
}

void TVyCustomListBox::HideItemHint() {
  if (FHintWindow) FHintWindow->ReleaseHandle();
}

void TVyCustomListBox::ShowItemHint(TPoint p) {
  const int index = HandleAllocated() ? ItemAtPos(p, true) : -1;
  if (index < 0 || IsVirtual()) return HideItemHint();
  const std::wstring text = GetItems()->Get(index);
  TMeasureDC measure(GetFont());
  if (measure.Canvas()->TextWidth(text) + 2 <= GetClientWidth()) return HideItemHint();
  if (!Application->GetActive()) return;
  if (!FHintWindow) {
    FHintWindow = std::make_unique<THintWindow>(nullptr);
    FHintWindow->SetColor(Application->HintColor);
  }
  std::wstring shown;
  for (wchar_t c : text) shown += c == L'\t' ? std::wstring(8, L' ') : std::wstring(1, c);
  TRect r = FHintWindow->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), shown, nullptr);
  const TRect item = ItemRect(index);
  const TPoint origin = ClientToScreen(TPoint(item.Left, item.Top));
  const int dy = (item.Height() - r.Height()) / 2 - 2;
  r = TRect(origin.X - 1, origin.Y + dy, origin.X - 1 + r.Width(), origin.Y + dy + r.Height());
  if (FHintWindow->IsHintShown() && FHintWindow->GetLeft() == r.Left && FHintWindow->GetTop() == r.Top) return;
  FHintWindow->ActivateHint(r, shown);
}

}  // namespace Vy
