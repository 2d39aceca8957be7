#include "controls/extended/VyChkLst.h"

#include "controls/extended/VyCheckListData.h"
#include "vcl/Filer.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Streams.h"
#include "vcl/Themes.h"

#include <vsstyle.h>

#include <algorithm>

namespace Vy {

// --- strings

void TVyCheckListStrings::SaveToStream(TStream& stream) const {
  TStringList lines;
  for (int i = 0; i < Count(); ++i) {
    const TPacket& packet = Packet(i);
    lines.Add(FormatCheckListLine({packet.Enabled, int(packet.State), Get(i)}));
  }
  lines.SaveToStream(stream);
}

void TVyCheckListStrings::LoadFromStream(TStream& stream) {
  TStringList lines;
  lines.LoadFromStream(stream);
  BeginUpdate();
  TOnExit done([this] { EndUpdate(); });
  Clear();
  for (int i = 0; i < lines.Count(); ++i) {
    const TCheckListLine line = ParseCheckListLine(lines.Get(i));
    const int index = Add(line.Text);
    Packet(index).Enabled = line.Enabled;
    Packet(index).State = TCheckBoxState(line.State);
  }
}

void TVyCheckListStrings::DefineProperties(TFiler& Filer) {
  TVyListStrings::DefineProperties(Filer);
  // Read after the lines: one value per line in order; values past the last line are
  // dropped, a state outside 0..2 leaves its line unchecked.
  Filer.DefineProperty(
      L"ItemEnabled",
      [this](TReader& r) {
        r.ReadListBegin();
        for (int i = 0; !r.EndOfList(); ++i) {
          const bool enabled = r.ReadBoolean();
          if (i < Count()) Packet(i).Enabled = enabled;
        }
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (int i = 0; i < Count(); ++i) w.WriteBoolean(Packet(i).Enabled);
        w.WriteListEnd();
      },
      Count() > 0);
  Filer.DefineProperty(
      L"ItemState",
      [this](TReader& r) {
        r.ReadListBegin();
        for (int i = 0; !r.EndOfList(); ++i) {
          const int32_t state = r.ReadInteger();
          if (i < Count()) Packet(i).State = IsCheckState(state) ? TCheckBoxState(state) : cbUnchecked;
        }
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (int i = 0; i < Count(); ++i) w.WriteInteger(int(Packet(i).State));
        w.WriteListEnd();
      },
      Count() > 0);
}

// --- check list

TVyCheckList::TVyCheckList(TComponent* AOwner)
    : TVyCustomTabbedListBox(AOwner, new TVyCheckListStrings(this)), FCustomGlyphs(std::make_unique<TBitmap>()) {
  FCustomGlyphs->OnChange = TNotifyEvent(this, &TVyCheckList::CustomGlyphsChanged);
  SetStyle(lbOwnerDrawFixed);
  UpdateItemHeight();
  SetShowGroups(true);
}

TVyCheckList::~TVyCheckList() = default;

void TVyCheckList::Publish(TPublisher<TVyCheckList>& p) {
  using T = TVyCheckList;
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Property(L"AllowGrayed", &T::GetAllowGrayed, &T::SetAllowGrayed).Default(false);
  p.Property(L"CustomGlyphs", &T::GetCustomGlyphs, &T::SetCustomGlyphs);
  p.Property(L"UseCustomGlyphs", &T::GetUseCustomGlyphs, &T::SetUseCustomGlyphs).Default(false);
  p.Property(L"HighlightColor", &T::GetHighlightColor, &T::SetHighlightColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"TransparentColor", &T::GetTransparentColor, &T::SetTransparentColor)
      .Default(clOlive)
      .Idents(ColorIdents);
  p.Property(L"ToggleOnItemClick", &T::GetToggleOnItemClick, &T::SetToggleOnItemClick).Default(false);
  p.Property(L"OnChanging", &T::OnChanging);
  p.Property(L"OnChange", &T::OnChange);
}

void TVyCheckList::Loaded() {
  TVyCustomTabbedListBox::Loaded();
  if (GetItems()->Count() > 0) Invalidate();
}

int TVyCheckList::AddItem(const std::wstring& text, bool checked, bool enabled) {
  const int index = Lines()->AddPlain(text);
  SetItemChecked(index, checked);
  SetItemEnabled(index, enabled);
  return index;
}

void TVyCheckList::SetItemState(int index, TCheckBoxState state) {
  TPacket& packet = Lines()->Packet(index);
  if (packet.State == state) return;
  packet.State = state;
  if (!HandleAllocated()) return;
  const TRect item = ItemRect(index);
  const int offset = (GetItemHeight() - FCheckGlyphHeight) / 2;
  TRect zone = GlyphZone(item);
  zone.Top = item.Top + offset;
  zone.Bottom = item.Top + GetItemHeight() - offset;
  const RECT r{zone.Left, zone.Top, zone.Right, zone.Bottom};
  InvalidateRect(WindowHandle(), &r, FALSE);
}

void TVyCheckList::SetItemEnabled(int index, bool enabled) {
  TPacket& packet = Lines()->Packet(index);
  if (packet.Enabled == enabled) return;
  packet.Enabled = enabled;
  Invalidate();
}

TRect TVyCheckList::GlyphZone(const TRect& item) const {
  if (UseRightToLeftAlignment()) return TRect(item.Right - FCheckGlyphWidth - 4, item.Top, item.Right, item.Bottom);
  return TRect(item.Left, item.Top, item.Left + FCheckGlyphWidth + 4, item.Bottom);
}

// --- glyphs

void TVyCheckList::SetUseCustomGlyphs(bool v) {
  FUseCustomGlyphs = v;
  if (v && !FCustomGlyphs->Empty()) {
    FCheckGlyphWidth = std::max(1, FCustomGlyphs->GetWidth() / 6);
    FCheckGlyphHeight = std::max(1, FCustomGlyphs->GetHeight());
  } else {
    FCheckGlyphWidth = FCheckGlyphHeight = 13;
  }
  UpdateItemHeight();
  Invalidate();
}

void TVyCheckList::CustomGlyphsChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  SetUseCustomGlyphs(!FCustomGlyphs->Empty());
}

void TVyCheckList::SetHighlightColor(TColor v) {
  if (FHighlightColor == v) return;
  FHighlightColor = v;
  Invalidate();
}

void TVyCheckList::SetTransparentColor(TColor v) {
  if (FTransparentColor == v) return;
  FTransparentColor = v;
  Invalidate();
}

TColor TVyCheckList::AdjustGlyphColor(TColor color) const {
  const TColor rgb = ColorToRGB(color);
  if (rgb == ColorToRGB(FTransparentColor) || rgb == TColor(0x808080)) return TColor(rgb + 1);
  return color;
}

void TVyCheckList::GetItemGlyph(int index, TBitmap& glyph) {
  const TPacket& packet = Lines()->Packet(index);
  const int state = IsCheckState(packet.State) ? int(packet.State) : 0;
  glyph.SetSize(FCheckGlyphWidth, FCheckGlyphHeight);
  if (FUseCustomGlyphs && !FCustomGlyphs->Empty()) {
    const int k = packet.Enabled ? state : 3 + state;
    const TRect source(k * FCheckGlyphWidth, 0, (k + 1) * FCheckGlyphWidth, FCheckGlyphHeight);
    glyph.GetCanvas()->CopyRect(TRect(0, 0, FCheckGlyphWidth, FCheckGlyphHeight), FCustomGlyphs->GetCanvas(), source);
    return;
  }
  if (ThemeServices().ThemesEnabled()) {
    static const int kParts[3][2] = {{CBS_UNCHECKEDNORMAL, CBS_UNCHECKEDDISABLED},
                                     {CBS_CHECKEDNORMAL, CBS_CHECKEDDISABLED},
                                     {CBS_MIXEDNORMAL, CBS_MIXEDDISABLED}};
    glyph.GetCanvas()->GetBrush()->SetColor(GetColor());
    glyph.GetCanvas()->FillRect(TRect(0, 0, FCheckGlyphWidth, FCheckGlyphHeight));
    const auto details =
        ThemeServices().GetElementDetails(L"BUTTON", BP_CHECKBOX, kParts[state][packet.Enabled ? 0 : 1]);
    ThemeServices().DrawElement(glyph.GetCanvas()->GetHandle(), details,
                                TRect(0, 0, FCheckGlyphWidth, FCheckGlyphHeight));
    return;
  }
  static const wchar_t* kNames[3] = {L"VYCOMMON_CHECKBOX_UNCHECKED", L"VYCOMMON_CHECKBOX_CHECKED",
                                     L"VYCOMMON_CHECKBOX_GRAYED"};
  const TColor back = ColorToRGB(packet.Enabled ? clWindow : GetDisabledColor());
  const TColor sign = ColorToRGB(packet.Enabled ? AdjustGlyphColor(FHighlightColor) : clBtnShadow);
  glyph.LoadMappedFromResourceName(nullptr, kNames[state],
                                   {{TColor(0xFFFFFF), back},
                                    {TColor(0x808080), ColorToRGB(GetFrameColor())},
                                    {TColor(0x0000FF), back},
                                    {TColor(0xFF00FF), back},
                                    {TColor(0xFF0000), sign}});
}

// --- drawing

void TVyCheckList::UpdateItemHeight() {
  TMeasureDC measure(GetFont());
  SetItemHeight(std::max(FCheckGlyphHeight + 4, FontLineHeight(measure.Canvas())));
}

void TVyCheckList::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  UpdateItemHeight();
}

void TVyCheckList::DoDrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (index < 0 || index >= GetItems()->Count()) return;
  TCanvas* canvas = GetCanvas();
  const TPacket& packet = Lines()->Packet(index);
  TBitmap glyph;
  GetItemGlyph(index, glyph);
  const TRect item = ItemRect(index);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(TRect(item.Left, rect.Top, item.Right, rect.Bottom));
  const int x = UseRightToLeftAlignment() ? rect.Right + 4 : rect.Left - FCheckGlyphWidth - 4;
  const int y = rect.Top + (GetItemHeight() - FCheckGlyphHeight) / 2;
  canvas->BrushCopy(TRect(x, y, x + FCheckGlyphWidth, y + FCheckGlyphHeight), &glyph,
                    TRect(0, 0, FCheckGlyphWidth, FCheckGlyphHeight), ColorToRGB(FTransparentColor));
  canvas->SetFont(GetFont());
  if (!packet.Enabled || !GetEnabled())
    canvas->GetFont()->SetColor(ColorToRGB(GetColor()) == ColorToRGB(clBtnShadow) ? clBtnFace : clBtnShadow);
  canvas->GetBrush()->SetColor(GetColor());
  if (state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  }
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
  else DefaultDrawItem(index, rect, state);
}

void TVyCheckList::DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  TVyCustomTabbedListBox::DefaultDrawItem(index, rect, state);
}

// --- toggling

bool TVyCheckList::DoChanging(int index, TCheckBoxState newState) {
  bool allow = true;
  if (OnChanging) OnChanging(this, index, newState, allow);
  return allow;
}

void TVyCheckList::NotifyChange(int index, TCheckBoxState newState) {
  if (OnChange) OnChange(this, index, newState);
}

void TVyCheckList::ToggleItemState() {
  const int index = GetItemIndex();
  FStateInChange = false;
  if (index < 0 || index >= GetItems()->Count() || !GetItemEnabled(index) || IsGroup(index)) return;
  const auto next = TCheckBoxState(NextCheckState(int(GetItemState(index)), FAllowGrayed));
  if (!DoChanging(index, next)) return;
  SetItemState(index, next);
  NotifyChange(index, next);
}

void TVyCheckList::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    const int index = ItemAtPos(TPoint(x, y), true);
    if (index >= 0 && (FToggleOnItemClick || GlyphZone(ItemRect(index)).Contains(TPoint(x, y)))) {
      FStateInChange = true;
      FChosenItem = GetItemIndex();
    }
  } else if (button == mbRight) {
    const int index = ItemAtPos(TPoint(x, y), true);
    if (index >= 0 && !GetSelected(index)) {
      SetItemIndex(index);
      Click();
    }
  }
  TVyCustomTabbedListBox::MouseDown(button, shift, x, y);
}

void TVyCheckList::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FStateInChange) {
    FStateInChange = false;
    if (GetItemIndex() == FChosenItem && GetClientRect().Contains(TPoint(x, y))) ToggleItemState();
  }
  TVyCustomTabbedListBox::MouseUp(button, shift, x, y);
}

void TVyCheckList::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_SPACE) FStateInChange = true;
  FChosenItem = GetItemIndex();
  TVyCustomTabbedListBox::KeyDown(key, shift);
}

void TVyCheckList::KeyUp(WORD& key, TShiftState shift) {
  if (key == VK_SPACE && FStateInChange) ToggleItemState();
  TVyCustomTabbedListBox::KeyUp(key, shift);
}

void TVyCheckList::KeyPress(wchar_t& key) {
  // Space toggles on its release; as a character it neither searches nor selects.
  if (key == L' ') {
    key = 0;
    return;
  }
  TVyCustomTabbedListBox::KeyPress(key);
}

void TVyCheckList::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  for (int i = 0; i < GetItems()->Count(); ++i) Lines()->Packet(i).Enabled = GetEnabled();
  Invalidate();
}

}  // namespace Vy
