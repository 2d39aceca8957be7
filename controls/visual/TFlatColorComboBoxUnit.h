// The flat colour combo box: a flat combo box (TFlatComboBoxUnit.h) whose list
// offers sixteen fixed colours and "Other", which opens the colour dialog. Each
// line is a colour box, with the colour's name when ShowNames is on; the "Other"
// line always shows its name. The line's object is its colour.
//
// The lines and the "Other" colour belong to the object, made before any window
// exists: a Value streamed early finds its line, and a new window (after a font
// change) shows the same lines and the line of Value again, firing nothing.
// OnChange fires when Value changes, never for a cancelled dialog, which leaves
// the line of Value selected.
#pragma once
#include <memory>

#include "controls/visual/TFlatComboBoxUnit.h"

class TColorDialog;

namespace Flat {

inline constexpr int kFlatColorOtherIndex = 16;

class TFlatColorComboBox : public TCustomFlatComboBox {
  QORN_CLASS(TFlatColorComboBox, TCustomFlatComboBox)
 public:
  explicit TFlatColorComboBox(TComponent* AOwner);
  ~TFlatColorComboBox() override;

  TColor GetValue() const { return FValue; }
  // Selects the first line of that colour and fires OnChange; a colour no line
  // holds changes nothing, and so does Value's own while a line is selected.
  void SetValue(TColor v);
  TColor GetColorHighlight() const { return FColorHighlight; }
  void SetColorHighlight(TColor v);
  TAdvColors GetAdvColorHighlight() const { return FAdvColorHighlight; }
  void SetAdvColorHighlight(TAdvColors v);
  int GetBoxWidth() const { return FBoxWidth; }
  void SetBoxWidth(int v);
  bool GetShowNames() const { return FShowNames; }
  void SetShowNames(bool v);
  // The colour of line index (its object).
  TColor ColorAt(int index) const;
  TColorDialog* GetColorDialog() const { return FDialog.get(); }

  void Click() override;

 protected:
  TColor FocusColor() const override { return FColorHighlight; }
  void RecomputeColors() override;
  void CreateWnd() override;
  void Change() override {}
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;

 private:
  static void Publish(TPublisher<TFlatColorComboBox>& p);
  void FillColors();
  int IndexOfColor(TColor v) const;
  void SelectSilently(int index);

  std::unique_ptr<TColorDialog> FDialog;
  TColor FValue = clBlack;
  TColor FColorHighlight = clHighlight;
  TAdvColors FAdvColorHighlight = 30;
  int FBoxWidth = 12;
  bool FShowNames = true;
};

}  // namespace Flat
