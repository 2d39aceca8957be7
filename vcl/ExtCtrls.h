// Panels, images and bevels: containers and pictures drawn by the library.
// (The timer lives in vcl/Timer.h.)
#pragma once

#include "vcl/Picture.h"
#include "vcl/StdCtrls.h"
#include "vcl/Timer.h"

QORN_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace);
QORN_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer);
QORN_ENUM(TBevelStyle, bsLowered, bsRaised);
using TBevelWidth = int;
using TBorderWidth = int;

// Draws a frame of width pixels inside rect, top and left in topColor, bottom and
// right in bottomColor, and moves rect inside it.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// A container with an outer and an inner bevel around a border, and a caption.
// The bevel and border setters send CM_BORDERCHANGED (children realign inside the
// new frame; with AutoSize the panel fits them again).
class TCustomPanel : public TCustomControl {
  QORN_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel v);
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel v);
  TBevelWidth GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth v);
  TBorderWidth GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth v);
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  bool GetFullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool v) { FFullRepaint = v; }
  bool GetLocked() const { return FLocked; }
  void SetLocked(bool v) { FLocked = v; }
  // The client area less the border and the bevels: where children align.
  void AdjustClientRect(TRect& rect) override;
  void CMTextChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  static void Publish(TPublisher<TCustomPanel>& p);
  int FrameWidth() const;
  TAlignment FAlignment = taCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
  bool FLocked = false;
};

class TPanel : public TCustomPanel {
  QORN_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// Shows a picture: at its own size in the top-left corner, centred, or
// stretched over the control; AutoSize fits the control to the picture.
class TImage : public TGraphicControl {
  QORN_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(TPicture* v) { FPicture->Assign(v); }
  bool GetStretch() const { return FStretch; }
  void SetStretch(bool v);
  bool GetCenter() const { return FCenter; }
  void SetCenter(bool v);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  void SetAutoSize(bool v) override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TImage>& p);
  void PictureChanged(TObject* sender);
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
};

// A line or a frame, sunk into its parent or raised from it.
class TBevel : public TGraphicControl {
  QORN_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape v);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle v);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TBevel>& p);
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// The old header bar: a row of sections with widths. Kept for forms that name
// it; it draws its sections and nothing else.
class THeader : public TCustomControl {
  QORN_CLASS(THeader, TCustomControl)
 public:
  explicit THeader(TComponent* AOwner);
  ~THeader() override;
  TStrings* GetSections() const { return FSections.get(); }
  void SetSections(TStrings* v) { FSections->Assign(v); }
  // 0 for a section that does not exist.
  int GetSectionWidth(int index) const;
  void SetSectionWidth(int index, int width);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<THeader>& p);
  void SectionsChanged(TObject* sender);
  std::unique_ptr<TStringList> FSections;
  std::vector<int> FWidths;
};
