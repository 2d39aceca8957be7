// TVyToolButton: a windowless toolbar-style button showing image-list images for its
// normal, hot, down and disabled states, an optional caption, grouping, and a
// drop-down menu (the whole button, or a 14-pixel arrow zone beside a clicking part).
//
// Rules:
// - Grouped buttons tell their siblings through the parent, control by control.
// - A press that closes the button's own menu (within 100 ms of the menu closing, by
//   the program's clock) does not drop it again; any later press on the clicking part
//   of a split button clicks.
// - No toolbar control exists here: the toolbar settings it would take stay its own.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"

#include <cstdint>
#include <memory>

class TPopupMenu;

namespace Vy {

QORN_ENUM(TVyToolStyle, tsButton, tsDropDown);

class TVyToolButton : public TGraphicControl {
  QORN_CLASS(TVyToolButton, TGraphicControl)
 public:
  // The button's state, as its painting reads it.
  enum class TState { Up = 0, Disabled = 1, Down = 2, Exclusive = 3, Dropped = 4 };
  static constexpr int kArrowZone = 14;

  explicit TVyToolButton(TComponent* AOwner);
  ~TVyToolButton() override;

  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v) { FAllowAllUp = v; }
  int GetDisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int v) { Look(FDisabledIndex, v); }
  int GetDownIndex() const { return FDownIndex; }
  void SetDownIndex(int v) { Look(FDownIndex, v); }
  int GetHotIndex() const { return FHotIndex; }
  void SetHotIndex(int v) { Look(FHotIndex, v); }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { Look(FImageIndex, v); }
  int GetGroupIndex() const { return FGroupIndex; }
  // Always 0 on a drop-down button.
  void SetGroupIndex(int v);
  bool GetDown() const { return FDown; }
  // Only in a group; a down button stays down unless AllowAllUp.
  void SetDown(bool v);
  TPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v) { Look(FFlat, v); }
  TCustomImageList* GetImages() const { return FImages; }
  // The button grows to hold an image.
  void SetImages(TCustomImageList* v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v) { Look(FLayout, v); }
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool v) { Look(FShowCaption, v); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) { Look(FTransparent, v); }
  TVyToolStyle GetToolStyle() const { return FToolStyle; }
  // Outside loading the button grows or shrinks by the arrow zone; GroupIndex becomes 0.
  void SetToolStyle(TVyToolStyle v);

  TState State() const { return FState; }
  bool IsMouseOver() const { return FMouseOver; }
  // Which image the button shows now (-1: none).
  int ShownImageIndex() const;
  // Shows the menu under the button; returns once it closed.
  virtual void DropDown();
  TNotifyEvent OnDropDown;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void CMButtonPressed(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TControlActionLink* CreateActionLink() override;
  virtual void DoDropDown();
  TRect ImageRect();
  TRect CaptionRect(const TRect& image);

 private:
  static void Publish(TPublisher<TVyToolButton>& p);
  template <class T>
  void Look(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight(); }
  bool Pushed() const;
  void BroadcastGroup();
  void CheckHover();
  void ImagesChanged(TObject*);
  // A press in a drop-down button's menu part: drops the menu unless this press closed it.
  void PressDrop();
  bool IsDownStored() const;
  bool IsImageIndexStored() const;

  bool FAllowAllUp = false;
  int FDisabledIndex = -1, FDownIndex = -1, FHotIndex = -1, FImageIndex = -1;
  int FGroupIndex = 0;
  bool FDown = false;
  TPopupMenu* FDropDownMenu = nullptr;  // not owned; cleared when it goes
  bool FFlat = true;
  TCustomImageList* FImages = nullptr;  // not owned; cleared when it goes
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TButtonLayout FLayout = blGlyphLeft;
  bool FShowCaption = false;
  bool FTransparent = true;
  TVyToolStyle FToolStyle = tsButton;

  TState FState = TState::Up;
  bool FDragging = false;
  bool FMouseOver = false;
  std::uint32_t FLastDrop = 0;
};

// Links the action's Checked to Down and its ImageIndex to ImageIndex, each while the
// button's value is the action's.
class TVyToolButtonActionLink : public TControlActionLink {
 public:
  explicit TVyToolButtonActionLink(TVyToolButton* AClient) : TControlActionLink(AClient), FButton(AClient) {}
  bool IsCheckedLinked() const override;
  bool IsImageIndexLinked() const override;
  void SetChecked(bool Value) override;
  void SetImageIndex(int Value) override;

 private:
  TVyToolButton* FButton;
};

}  // namespace Vy
