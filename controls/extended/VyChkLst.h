// The check list (the plug-in list): a tabbed list box whose every line carries a
// check box with three states and an enabled flag, kept in the line's packet so they
// follow the line. The user toggles a line by clicking its box (anywhere on the line
// with ToggleOnItemClick) or pressing Space; OnChanging may refuse, OnChange follows.
// Group headers (lines of GroupPrefix) have no box and never toggle.
//
// In form resources the states stream beside the items ("ItemEnabled", "ItemState");
// SaveToStream writes "&" enabled state text lines. What is read is checked: a state
// outside 0..2 never reaches a line, a malformed stream line is read as plain text.
#pragma once
#include "controls/extended/VyLstBox.h"
#include "vcl/Bitmap.h"

namespace Vy {

class TVyCheckList;

class TVyCheckListStrings : public TVyListStrings {
  QORN_CLASS(TVyCheckListStrings, TVyListStrings)
 public:
  explicit TVyCheckListStrings(TVyCheckList* owner = nullptr) : FCheckList(owner) {}
  // One "&e s text" line per item.
  void SaveToStream(TStream& stream) const override;
  // Clears, then one item per line.
  void LoadFromStream(TStream& stream) override;

 protected:
  void DefineProperties(TFiler& Filer) override;

 private:
  TVyCheckList* FCheckList;  // the owner, or none
};

using TStateChangingEvent = TEvent<void(TObject* Sender, int Index, TCheckBoxState NewState, bool& AllowChange)>;
using TStateChangeEvent = TEvent<void(TObject* Sender, int Index, TCheckBoxState NewState)>;

class TVyCheckList : public TVyCustomTabbedListBox {
  QORN_CLASS(TVyCheckList, TVyCustomTabbedListBox)
 public:
  explicit TVyCheckList(TComponent* AOwner);
  ~TVyCheckList() override;

  // Adds a line of data (never a group header); its index.
  int AddItem(const std::wstring& text, bool checked, bool enabled);
  void SetItemChecked(int index, bool checked) { SetItemState(index, checked ? cbChecked : cbUnchecked); }
  bool GetItemChecked(int index) const { return GetItemState(index) == cbChecked; }
  TCheckBoxState GetItemState(int index) const { return Lines()->Packet(index).State; }
  // Repaints only the line's box; fires nothing.
  void SetItemState(int index, TCheckBoxState state);
  bool GetItemEnabled(int index) const { return Lines()->Packet(index).Enabled; }
  void SetItemEnabled(int index, bool enabled);

  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  TBitmap* GetCustomGlyphs() const { return FCustomGlyphs.get(); }
  void SetCustomGlyphs(TBitmap* v) { FCustomGlyphs->Assign(v); }
  bool GetUseCustomGlyphs() const { return FUseCustomGlyphs; }
  // A strip of six: unchecked, checked, grayed, then the same disabled.
  void SetUseCustomGlyphs(bool v);
  TColor GetHighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor v);
  TColor GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor v);
  bool GetToggleOnItemClick() const { return FToggleOnItemClick; }
  void SetToggleOnItemClick(bool v) { FToggleOnItemClick = v; }
  int GlyphWidth() const { return FCheckGlyphWidth; }
  int GlyphHeight() const { return FCheckGlyphHeight; }

  TStateChangingEvent OnChanging;
  TStateChangeEvent OnChange;

  // Moves the selected line to its next state, unless it is disabled, a group header,
  // or OnChanging refuses.
  virtual void ToggleItemState();
  virtual TColor AdjustGlyphColor(TColor color) const;
  // The line's box as drawn (GlyphWidth x GlyphHeight).
  virtual void GetItemGlyph(int index, TBitmap& glyph);

  int GetOwnerDrawIndent() const override { return FCheckGlyphWidth + 8; }
  int GetCheckIndent() const override { return FCheckGlyphWidth; }
  void UpdateItemHeight() override;
  void DoDrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
  void DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState state) override;

  void CMFontChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);

 protected:
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  virtual bool DoChanging(int index, TCheckBoxState newState);
  virtual void NotifyChange(int index, TCheckBoxState newState);

 private:
  static void Publish(TPublisher<TVyCheckList>& p);
  void CustomGlyphsChanged(TObject*);
  // The box's part of a line: from its left edge, glyph width + 4 wide.
  TRect GlyphZone(const TRect& item) const;

  std::unique_ptr<TBitmap> FCustomGlyphs;
  bool FUseCustomGlyphs = false;
  bool FAllowGrayed = false;
  bool FToggleOnItemClick = false;
  TColor FHighlightColor = clHighlight;
  TColor FTransparentColor = clOlive;
  int FCheckGlyphWidth = 13;
  int FCheckGlyphHeight = 13;
  bool FStateInChange = false;
  int FChosenItem = -1;
};

}  // namespace Vy
