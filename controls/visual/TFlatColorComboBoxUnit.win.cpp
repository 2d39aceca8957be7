#include "controls/visual/TFlatColorComboBoxUnit.h"

#include <algorithm>
#include <cstdint>

#include "vcl/Canvas.h"
#include "vcl/Dialogs.h"

namespace Flat {

namespace {

struct TNamedColor {
  const wchar_t* Name;
  TColor Color;
};

constexpr TNamedColor kColors[] = {
    {L"Black", 0x000000},  {L"Maroon", 0x000080},  {L"Green", 0x008000}, {L"Olive", 0x008080},
    {L"Navy", 0x800000},   {L"Purple", 0x800080},  {L"Teal", 0x808000},  {L"Gray", 0x808080},
    {L"Silver", 0xC0C0C0}, {L"Red", 0x0000FF},     {L"Lime", 0x00FF00},  {L"Yellow", 0x00FFFF},
    {L"Blue", 0xFF0000},   {L"Fuchsia", 0xFF00FF}, {L"Aqua", 0xFFFF00},  {L"White", 0xFFFFFF},
};

void* AsObject(TColor c) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(c)); }

}  // namespace

TFlatColorComboBox::TFlatColorComboBox(TComponent* AOwner)
    : TCustomFlatComboBox(AOwner), FDialog(std::make_unique<TColorDialog>(nullptr)) {
  SetStyle(csOwnerDrawFixed);
  FillColors();
  TCustomComboBox::SetItemIndex(0);
}

TFlatColorComboBox::~TFlatColorComboBox() = default;

void TFlatColorComboBox::FillColors() {
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  for (const TNamedColor& c : kColors) items->AddObject(c.Name, AsObject(c.Color));
  items->AddObject(L"Other", AsObject(clBlack));
  items->EndUpdate();
}

TColor TFlatColorComboBox::ColorAt(int index) const {
  if (index < 0 || index >= GetItems()->Count()) return clNone;
  return static_cast<TColor>(reinterpret_cast<std::intptr_t>(GetItems()->Objects(index)));
}

int TFlatColorComboBox::IndexOfColor(TColor v) const {
  for (int i = 0; i < GetItems()->Count(); ++i)
    if (ColorAt(i) == v) return i;
  return -1;
}

void TFlatColorComboBox::SelectSilently(int index) {
  if (index >= 0 && GetItemIndex() != index) TCustomComboBox::SetItemIndex(index);
}

void TFlatColorComboBox::CreateWnd() {
  TCustomFlatComboBox::CreateWnd();
  // The window shows the object's lines; the line of Value is selected again.
  const int index = IndexOfColor(FValue);
  SelectSilently(index >= 0 ? index : 0);
}

void TFlatColorComboBox::SetValue(TColor v) {
  if (GetItemIndex() >= 0 && v == FValue) return;
  const int index = IndexOfColor(v);
  if (index < 0) return;
  FValue = v;
  SelectSilently(index);
  TCustomComboBox::Change();
}

void TFlatColorComboBox::Click() {
  const int index = GetItemIndex();
  if (index >= 0 && GetItems()->Get(index) == L"Other") {
    if (!FDialog->Execute()) {
      // Nothing was chosen: the line of the colour it holds comes back.
      SelectSilently(IndexOfColor(FValue));
      return;
    }
    GetItems()->PutObject(index, AsObject(FDialog->GetColor()));
  }
  SetValue(ColorAt(GetItemIndex()));
  TCustomFlatComboBox::Click();
}

void TFlatColorComboBox::RecomputeColors() {
  TCustomFlatComboBox::RecomputeColors();
  if (!FUseAdvColors) return;
  FColorHighlight =
      AdjustColorLightness(ParentColorOrOwn(), FColorHighlight, FAdvColorHighlight, TColorCalcType::Darken);
}

void TFlatColorComboBox::SetColorHighlight(TColor v) {
  if (v == FColorHighlight) return;
  FColorHighlight = v;
  Invalidate();
}

void TFlatColorComboBox::SetAdvColorHighlight(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FAdvColorHighlight) return;
  FAdvColorHighlight = v;
  RecomputeColors();
  Invalidate();
}

void TFlatColorComboBox::SetBoxWidth(int v) {
  FBoxWidth = v;
  Invalidate();
}

void TFlatColorComboBox::SetShowNames(bool v) {
  if (v == FShowNames) return;
  FShowNames = v;
  Invalidate();
}

void TFlatColorComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  TCanvas* c = GetCanvas();
  const bool named = FShowNames || index == GetItems()->Count() - 1;
  TRect box(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
  box.Right = named ? box.Left + FBoxWidth : rect.Right - 4;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(state.Contains(odSelected) ? FColorHighlight : GetColor());
  c->FillRect(rect);
  const TColor back = c->GetBrush()->GetColor();
  c->GetPen()->SetColor(clBlack);
  c->Rectangle(box);
  c->GetBrush()->SetColor(ColorAt(index));
  c->FillRect(TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
  c->GetBrush()->SetColor(back);
  if (!named) return;
  c->GetBrush()->SetStyle(bsClear);
  TRect text(box.Right + 5, rect.Top, rect.Right, rect.Bottom);
  c->DrawText(GetItems()->Get(index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  c->GetBrush()->SetStyle(bsSolid);
}

void TFlatColorComboBox::Publish(TPublisher<TFlatColorComboBox>& p) {
  using T = TFlatColorComboBox;
  p.Property(L"Style", &T::GetStyle, &T::SetStyle).Default(csOwnerDrawFixed);
  p.Property(L"ColorHighlight", &T::GetColorHighlight, &T::SetColorHighlight).Default(clHighlight).Idents(ColorIdents);
  // Made with 30 but stored against 50, so forms always carry their value.
  p.Property(L"AdvColorHighlight", &T::GetAdvColorHighlight, &T::SetAdvColorHighlight).Default(50);
  p.Property(L"BoxWidth", &T::GetBoxWidth, &T::SetBoxWidth);
  p.Property(L"ShowNames", &T::GetShowNames, &T::SetShowNames);
  p.Property(L"Value", &T::GetValue, &T::SetValue).Idents(ColorIdents);
}

}  // namespace Flat
