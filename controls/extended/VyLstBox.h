// The framed list box of the extended library (the key list, the skin list, the
// wallpaper folders) and its tabbed form, whose lines hold columns at tab stops.
//
// Over the platform list box: the frame and state colours of TVyWindowFrame;
// incremental search as the user types (a case-insensitive prefix of what was typed
// within 1.5 s); group headers, lines that begin with GroupPrefix, painted as bands
// when ShowGroups is on; a hint with the whole text of a clipped line; a horizontal
// scroll bar as wide as the widest line.
//
// A line's own data (its check state, its enabled flag, whether it may be a group
// header) travels with the line in TVyListStrings, beside the caller's object, so it
// follows every insertion, deletion, sort and new window. Lines added through Add
// (the program's data: binding names, folders) are never group headers, whatever they
// begin with; lines of the form resource and of Items follow the prefix.
#pragma once
#include "controls/extended/VyIntLst.h"
#include "controls/extended/VyWindowFrame.h"
#include "vcl/CheckLst.h"
#include "vcl/HintWindow.h"
#include "vcl/StdCtrls.h"
#include "vcl/Timer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Vy {

// What a line carries beside its text. A new line is unchecked and enabled.
struct TPacket {
  void* Object = nullptr;  // the caller's
  TCheckBoxState State = cbUnchecked;
  bool Enabled = true;
  bool Plain = false;  // never a group header
};

class TVyListStrings : public TStringList {
  QORN_CLASS(TVyListStrings, TStringList)
 public:
  TVyListStrings() = default;
  ~TVyListStrings() override;
  void* GetObject(int index) const override;
  void PutObject(int index, void* object) override;
  void Insert(int index, const String& s) override { InsertObject(index, s, nullptr); }
  void InsertObject(int index, const String& s, void* object) override;
  int Add(const String& s) override { return AddObject(s, nullptr); }
  int AddObject(const String& s, void* object) override;
  void Delete(int index) override;
  void Clear() override;
  // From another TVyListStrings the lines come with their packets.
  void Assign(const TPersistent* Source) override;

  // Index errors are the list's own: EStringListError "List index out of bounds (n)".
  TPacket& Packet(int index);
  const TPacket& Packet(int index) const;
  // A line of data: never a group header.
  int AddPlain(const String& s, void* object = nullptr);
  bool Updating() const { return UpdateCount() > 0; }
  // Told when an update begins (true) and when the outermost one ends (false).
  std::function<void(bool updating)> OnUpdateState;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  int AddPacket(const String& s, std::unique_ptr<TPacket> packet);
  TPacket* PacketAt(int index) const { return static_cast<TPacket*>(TStringList::GetObject(index)); }
};

QORN_ENUM(TVyTabStopsMode, tsmManual, tsmAutomatic);

class TVyCustomListBox : public TCustomListBox, public TVyWindowFrame {
  QORN_CLASS(TVyCustomListBox, TCustomListBox)
 public:
  explicit TVyCustomListBox(TComponent* AOwner);
  ~TVyCustomListBox() override;
  using TVyWindowFrame::GetColor;
  using TVyWindowFrame::SetColor;

  // The operations the program calls.
  // Appends a line of data (never a group header); its index.
  int Add(const std::wstring& s);
  // Deletes the line; a selected line's place stays selected (the line before when
  // the last went) and OnClick follows; nothing is selected when none was or the
  // list became empty.
  void Delete(int index);
  int IndexOf(const std::wstring& s) const { return GetItems()->IndexOf(s); }
  // The text of the selected line, "" for none.
  std::wstring SelectedItem() const;
  void SelectAll() override;

  TVyListStrings* Lines() const { return static_cast<TVyListStrings*>(GetItems()); }
  // The text typed so far for the incremental search.
  const std::wstring& SearchText() const { return FTypedPrefix; }

  bool GetBeepOnInvalidKey() const { return FBeepOnInvalidKey; }
  void SetBeepOnInvalidKey(bool v) { FBeepOnInvalidKey = v; }
  TColor GetGroupColor() const { return FGroupColor; }
  void SetGroupColor(TColor v);
  TFont* GetGroupFont() const { return FGroupFont.get(); }
  void SetGroupFont(TFont* v) { FGroupFont->Assign(v); }
  const std::wstring& GetGroupPrefix() const { return FGroupPrefix; }
  void SetGroupPrefix(const std::wstring& v);
  int GetHorzExtent() const { return FHorzExtent; }
  // Held to 0 .. 65535, the window's range.
  void SetHorzExtent(int v);
  bool GetHorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(bool v);
  bool GetIncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool v) { FIncrementalSearch = v; }
  int GetOwnerDrawIndentValue() const { return FOwnerDrawIndent; }
  void SetOwnerDrawIndent(int v);
  bool GetShowGroups() const { return FShowGroups; }
  // On: the list is drawn by its owner, with lines as high as the font.
  void SetShowGroups(bool v);
  bool GetShowItemHints() const { return FShowItemHints; }
  void SetShowItemHints(bool v) { FShowItemHints = v; }
  bool GetTabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool v) { FTabOnEnter = v; }
  bool GetUseGradients() const { return FUseGradients; }
  void SetUseGradients(bool v);

  TNotifyEvent OnMatch;
  TNotifyEvent OnDeleteItems;

  virtual int GetOwnerDrawIndent() const { return FOwnerDrawIndent; }
  virtual void UpdateItemHeight();
  virtual void GroupFontChanged() {}
  // The first line that begins with s, letter case ignored; -1 for none.
  virtual int FindString(const std::wstring& s);
  virtual void DoDrawItem(int index, const TRect& rect, TOwnerDrawState state);
  virtual void DrawGroup(int index, const TRect& rect, TOwnerDrawState state);
  // A group header: a line of the prefix that is not a line of data.
  virtual bool IsGroup(int index) const;
  virtual void UpdateHorzExtent();
  virtual void DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState state);
  bool ItemInGroup(int index) const { return FindGroup(index) != -1; }
  // The nearest group header at or above the line; -1 for none.
  int FindGroup(int index) const;

  void WMMouseMove(TMessage& m);
  void CNDrawItem(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  TVyCustomListBox(TComponent* AOwner, TVyListStrings* items);
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DefineProperties(TFiler& Filer) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
  void WndProc(TMessage& m) override;
  void KeyPress(wchar_t& key) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void FrameVisibleChanged() override;
  void MouseEntered() override;
  void MouseLeft() override;
  virtual void DoMatch();
  virtual void DoDeleteItems();
  // Lines added between the items' BeginUpdate and EndUpdate are neither drawn nor
  // measured one by one: the window draws once at the end, and this runs once.
  virtual void ItemsUpdated();
  // A search that found nothing (MessageBeep by default).
  virtual void Beep();
  // The width a line needs when scrolled sideways.
  virtual int ItemExtent(TCanvas* canvas, const std::wstring& line);
  // Line `index` as the window holds it, whatever its length.
  std::wstring WindowText(int index) const;
  bool ItemsUpdating() const { return Lines()->Updating(); }
  // A group header's band: the highlight when selected (with the highlight text
  // colour), else the gradient from GroupColor to Color, or GroupColor alone.
  void PaintGroupBand(const TRect& rect, TOwnerDrawState state);
  // A font in a screen DC, for measuring.
  class TMeasureDC {
   public:
    explicit TMeasureDC(TFont* font) : dc_(GetDC(nullptr)) {
      canvas_.SetHandle(dc_);
      canvas_.SetFont(font);
    }
    ~TMeasureDC() {
      canvas_.SetHandle(nullptr);
      ReleaseDC(nullptr, dc_);
    }
    TMeasureDC(const TMeasureDC&) = delete;
    TMeasureDC& operator=(const TMeasureDC&) = delete;
    TCanvas* Canvas() { return &canvas_; }
    HDC Handle() { return canvas_.GetHandle(); }

   private:
    HDC dc_;
    TCanvas canvas_;
  };

 private:
  static void Publish(TPublisher<TVyCustomListBox>& p);
  void Init();
  void FindAndSelect(const std::wstring& text);
  void SearchTimerFired(TObject*);
  void ScrollLines(int lines, bool down);
  void ShowItemHint(TPoint p);
  void HideItemHint();
  void GroupFontChange(TObject*);
  void ItemsUpdateState(bool updating);
  // The scrollable width follows added lines one at a time, and is measured anew only
  // when the widest may have gone.
  void ExtentAfterChange(const TMessage& m, int64_t deletedWidth);

  bool FBeepOnInvalidKey = true;
  TColor FGroupColor = clInactiveCaptionText;
  std::unique_ptr<TFont> FGroupFont;
  std::wstring FGroupPrefix = L"//";
  int FHorzExtent = 0;
  bool FHorzScrollBar = false;
  bool FIncrementalSearch = true;
  int FOwnerDrawIndent = 0;
  bool FShowGroups = false;
  bool FShowItemHints = true;
  bool FTabOnEnter = false;
  bool FUseGradients = true;
  bool FSearching = false;
  std::wstring FTypedPrefix;
  std::unique_ptr<TTimer> FSearchTimer;
  std::unique_ptr<THintWindow> FHintWindow;  // made on first use
};

class TVyListBox : public TVyCustomListBox {
  QORN_CLASS(TVyListBox, TVyCustomListBox)
 public:
  explicit TVyListBox(TComponent* AOwner) : TVyCustomListBox(AOwner) {}
};

class TVyCustomTabbedListBox;

// Tab stops in average character widths; a negative one is right-aligned. Every change
// but Clear reaches the list box that owns the list.
class TVyTabStopList : public TVyIntegerList {
  QORN_CLASS(TVyTabStopList, TVyIntegerList)
 public:
  explicit TVyTabStopList(TVyCustomTabbedListBox* listBox = nullptr);
  void Put(int index, int32_t value) override;
  int Add(int32_t value) override;
  void Delete(int index) override;
  void Insert(int index, int32_t value) override;

 private:
  void Changed();
  TVyCustomTabbedListBox* FListBox;  // the owner, or none
};

// The header of UpdateFromHeader is not one the tabbed list box knows.
class EHeaderError : public Exception {
 public:
  using Exception::Exception;
};

class TVyCustomTabbedListBox : public TVyCustomListBox {
  QORN_CLASS(TVyCustomTabbedListBox, TVyCustomListBox)
 public:
  explicit TVyCustomTabbedListBox(TComponent* AOwner);
  ~TVyCustomTabbedListBox() override;

  TVyTabStopList* GetTabStops() const { return FTabStops.get(); }
  void SetTabStops(TVyTabStopList* v);
  TVyTabStopsMode GetTabStopsMode() const { return FTabStopsMode; }
  void SetTabStopsMode(TVyTabStopsMode v);
  // The average character width of the font in pixels (at least 1).
  int DialogBaseUnits() const { return FDlgBaseUnits; }

  // The stops in dialog units, as the window takes them (at most 1000).
  std::vector<int> GetTabStopArray() const;
  // The stops in pixels for drawing and measuring.
  std::vector<int> PixelTabStops() const;
  void ApplyTabStops();
  virtual int GetCheckIndent() const { return 0; }
  // EListError "Row parameter out of range" / "Column parameter out of range".
  std::wstring GetCell(int col, int row) const;
  void SetCell(int col, int row, const std::wstring& value);
  virtual void CalcAutoTabStops();
  // The stops from the sections of a THeader; EHeaderError for anything else.
  virtual void UpdateFromHeader(TControl* header);

  void DefaultDrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
  void DrawGroup(int index, const TRect& rect, TOwnerDrawState state) override;
  void GroupFontChanged() override;
  void CMFontChanged(TMessage& m);

 protected:
  TVyCustomTabbedListBox(TComponent* AOwner, TVyListStrings* items);
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& m) override;
  int ItemExtent(TCanvas* canvas, const std::wstring& line) override;
  void ItemsUpdated() override;
  // The width of one column's text of a line for the automatic stops.
  virtual int ColumnTextWidth(TCanvas* canvas, int index, int col, const std::wstring& text);

 private:
  static void Publish(TPublisher<TVyCustomTabbedListBox>& p);
  bool IsTabStopsStored() const { return FTabStops->Count() > 0; }
  void CheckRow(int row) const;
  void DrawTabbedText(const TRect& rect, const std::wstring& text);
  // Automatic stops grow with each added line; the widths are measured anew only when a
  // line goes.
  void AutoStopsAfterAdd(int index);

  std::unique_ptr<TVyTabStopList> FTabStops;
  TVyTabStopsMode FTabStopsMode = tsmManual;
  int FDlgBaseUnits = 6;
  std::vector<int> FColumnWidths;  // widest text per column, for the automatic stops
};

}  // namespace Vy
