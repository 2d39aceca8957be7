#include "vcl/CheckLst.h"

#include <algorithm>

// --- lines

TCheckListStrings::~TCheckListStrings() {
  for (int i = 0; i < Count(); ++i) delete Line(i);
}

TCheckListStrings::TLine* TCheckListStrings::Line(int index) const {
  return static_cast<TLine*>(TStringList::GetObject(index));
}

void* TCheckListStrings::GetObject(int index) const {
  TLine* line = Line(index);
  return line ? line->Object : nullptr;
}

void TCheckListStrings::PutObject(int index, void* object) {
  TLine* line = Line(index);
  if (!line) {
    TStringList::PutObject(index, new TLine{object});
    return;
  }
  line->Object = object;
}

void TCheckListStrings::InsertObject(int index, const String& s, void* object) {
  auto line = std::make_unique<TLine>();
  line->Object = object;
  TStringList::InsertObject(index, s, line.get());
  line.release();
}

int TCheckListStrings::AddObject(const String& s, void* object) {
  auto line = std::make_unique<TLine>();
  line->Object = object;
  const int before = Count();
  const int index = TStringList::AddObject(s, line.get());
  // A sorted list that ignores duplicates may keep the line it had.
  if (Count() > before) line.release();
  return index;
}

void TCheckListStrings::Delete(int index) {
  CheckIndex(index, Count());
  TLine* line = Line(index);
  TStringList::Delete(index);
  delete line;
}

void TCheckListStrings::Clear() {
  std::vector<TLine*> lines;
  for (int i = 0; i < Count(); ++i) lines.push_back(Line(i));
  TStringList::Clear();
  for (TLine* line : lines) delete line;
}

TCheckBoxState TCheckListStrings::State(int index) const {
  CheckIndex(index, Count());
  TLine* line = Line(index);
  return line ? line->State : cbUnchecked;
}

void TCheckListStrings::SetState(int index, TCheckBoxState state) {
  CheckIndex(index, Count());
  if (!Line(index)) TStringList::PutObject(index, new TLine{});
  Line(index)->State = state;
}

bool TCheckListStrings::ItemEnabled(int index) const {
  CheckIndex(index, Count());
  TLine* line = Line(index);
  return !line || line->Enabled;
}

void TCheckListStrings::SetItemEnabled(int index, bool enabled) {
  CheckIndex(index, Count());
  if (!Line(index)) TStringList::PutObject(index, new TLine{});
  Line(index)->Enabled = enabled;
}

// --- list box

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner, new TCheckListStrings) {
  // The boxes are drawn with the lines.
  SetStyle(lbOwnerDrawFixed);
}

void TCheckListBox::Publish(TPublisher<TCheckListBox>& p) {
  p.Property(L"Style", &TCheckListBox::GetStyle, &TCheckListBox::SetStyle).Default(lbOwnerDrawFixed);
  p.Property(L"AllowGrayed", &TCheckListBox::GetAllowGrayed, &TCheckListBox::SetAllowGrayed).Default(false);
  p.Property(L"Flat", &TCheckListBox::GetFlat, &TCheckListBox::SetFlat).Default(true);
  p.Property(L"OnClickCheck", &TCheckListBox::OnClickCheck);
}

TCheckListStrings* TCheckListBox::Lines() const { return static_cast<TCheckListStrings*>(GetItems()); }

TCheckBoxState TCheckListBox::GetState(int index) const { return Lines()->State(index); }

void TCheckListBox::SetState(int index, TCheckBoxState v) {
  if (Lines()->State(index) == v) return;
  Lines()->SetState(index, v);
  InvalidateLine(index);
}

bool TCheckListBox::GetItemEnabled(int index) const { return Lines()->ItemEnabled(index); }

void TCheckListBox::SetItemEnabled(int index, bool v) {
  if (Lines()->ItemEnabled(index) == v) return;
  Lines()->SetItemEnabled(index, v);
  InvalidateLine(index);
}

void TCheckListBox::SetFlat(bool v) {
  if (FFlat == v) return;
  FFlat = v;
  Invalidate();
}

int TCheckListBox::CheckWidth() const { return GetSystemMetrics(SM_CXMENUCHECK) + 4; }

void TCheckListBox::InvalidateLine(int index) {
  if (!HandleAllocated()) return;
  const TRect r = ItemRect(index);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(WindowHandle(), &rc, FALSE);
}

void TCheckListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  TCanvas* canvas = GetCanvas();
  // The box stands on the list's colour, outside the selection's highlight.
  const TColor lineBrush = canvas->GetBrush()->GetColor();
  const TRect boxArea(rect.Left, rect.Top, rect.Left + CheckWidth(), rect.Bottom);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(boxArea);
  const int size = GetSystemMetrics(SM_CXMENUCHECK);
  const int top = rect.Top + (rect.Height() - size) / 2;
  RECT box{boxArea.Left + 2, top, boxArea.Left + 2 + size, top + size};
  UINT flags = DFCS_BUTTONCHECK;
  const TCheckBoxState s = GetState(index);
  if (s == cbChecked) flags |= DFCS_CHECKED;
  if (s == cbGrayed) flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (FFlat) flags |= DFCS_FLAT;
  if (!GetItemEnabled(index) || !GetEnabled()) flags |= DFCS_INACTIVE;
  DrawFrameControl(canvas->GetHandle(), &box, DFC_BUTTON, flags);
  canvas->GetBrush()->SetColor(lineBrush);
  TRect text(boxArea.Right, rect.Top, rect.Right, rect.Bottom);
  if (!GetItemEnabled(index)) canvas->GetFont()->SetColor(clGrayText);
  TCustomListBox::DrawItem(index, text, state);
}

void TCheckListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    const int index = ItemAtPos({x, y}, true);
    if (index >= 0 && x - ItemRect(index).Left < CheckWidth()) ToggleClickCheck(index);
  }
  TCustomListBox::MouseDown(button, shift, x, y);
}

void TCheckListBox::KeyPress(wchar_t& key) {
  if (key == L' ') {
    ToggleClickCheck(GetItemIndex());
    key = 0;
  }
  TCustomListBox::KeyPress(key);
}

void TCheckListBox::ToggleClickCheck(int index) {
  if (index < 0 || index >= GetItems()->Count() || !GetItemEnabled(index) || !GetEnabled()) return;
  TCheckBoxState next = cbChecked;
  switch (GetState(index)) {
    case cbUnchecked: next = FAllowGrayed ? cbGrayed : cbChecked; break;
    case cbGrayed: next = cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
  }
  SetState(index, next);
  ClickCheck();
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

