// A list box with a check box on every line: the user ticks lines by clicking
// the box or pressing Space; each line keeps its state through any change of the
// list (insertion, sorting, a new window).
#pragma once

#include "vcl/StdCtrls.h"

QORN_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed);

// The lines of a check list: each line's object slot holds the line's own state
// beside the caller's object, so the state moves with its line.
class TCheckListStrings : public TStringList {
  QORN_CLASS(TCheckListStrings, TStringList)
 public:
  TCheckListStrings() = default;
  ~TCheckListStrings() override;
  void* GetObject(int index) const override;
  void PutObject(int index, void* object) override;
  void Insert(int index, const String& s) override { InsertObject(index, s, nullptr); }
  void InsertObject(int index, const String& s, void* object) override;
  int Add(const String& s) override { return AddObject(s, nullptr); }
  int AddObject(const String& s, void* object) override;
  void Delete(int index) override;
  void Clear() override;

  TCheckBoxState State(int index) const;
  void SetState(int index, TCheckBoxState state);
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);

 private:
  struct TLine {
    void* Object = nullptr;
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
  };
  TLine* Line(int index) const;
};

class TCheckListBox : public TCustomListBox {
  QORN_CLASS(TCheckListBox, TCustomListBox)
 public:
  explicit TCheckListBox(TComponent* AOwner);
  bool GetChecked(int index) const { return GetState(index) == cbChecked; }
  void SetChecked(int index, bool v) { SetState(index, v ? cbChecked : cbUnchecked); }
  TCheckBoxState GetState(int index) const;
  // From code: repaints the line, fires no OnClickCheck.
  void SetState(int index, TCheckBoxState v);
  bool GetItemEnabled(int index) const;
  void SetItemEnabled(int index, bool v);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  // The width of the box area at the left of each line.
  int CheckWidth() const;
  TNotifyEvent OnClickCheck;

 protected:
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyPress(wchar_t& key) override;
  virtual void ClickCheck();

 private:
  static void Publish(TPublisher<TCheckListBox>& p);
  TCheckListStrings* Lines() const;
  void ToggleClickCheck(int index);
  void InvalidateLine(int index);
  bool FAllowGrayed = false;
  bool FFlat = true;
};
