// Buttons with a PNG glyph drawn with its alpha channel, and blended and/or grey
// while the button is disabled: TPngSpeedButton (on TSpeedButton) and TPngBitBtn
// (on TBitBtn). A glyph may come from the button's action (its image list entry);
// it is then not stored in the form.
#pragma once
#include <memory>

#include "controls/visual/PngFunctions.h"
#include "vcl/Buttons.h"
#include "vcl/PngImage.h"

namespace Flat {

inline constexpr TPngOptions kPngButtonOptions{pngBlendOnDisabled, pngGrayscaleOnDisabled};

// What both buttons keep of their glyph.
class TPngGlyph {
 public:
  TPngGlyph();
  TPngImage* Image() const { return image_.get(); }
  // Copies the image (nullptr: an empty one; the picture model keeps no gamma, so
  // the glyph is drawn as its bytes say); the glyph is then the button's own.
  void Set(const TPngImage* image);
  // Takes the entry of the action's image list when the button has no glyph of
  // its own; true when the glyph changed.
  bool TakeFromAction(TObject* action);
  bool FromAction() const { return fromAction_; }

 private:
  std::unique_ptr<TPngImage> image_;
  bool fromAction_ = false;
};

class TPngSpeedButton : public TSpeedButton {
  QORN_CLASS(TPngSpeedButton, TSpeedButton)
 public:
  explicit TPngSpeedButton(TComponent* AOwner);
  ~TPngSpeedButton() override;
  TPngImage* GetPngImage() const { return FGlyph.Image(); }
  void SetPngImage(TPngImage* Value);
  TPngOptions GetPngOptions() const { return FPngOptions; }
  void SetPngOptions(TPngOptions Value);

 protected:
  void Paint() override;
  void Loaded() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  static void Publish(TPublisher<TPngSpeedButton>& p);
  bool IsPngImageStored() const { return !FGlyph.FromAction() && !FGlyph.Image()->Empty(); }
  // The inherited Glyph: a face-coloured bitmap of the PNG's size, so the inherited
  // painting leaves the PNG's room and draws nothing there.
  void UpdatePlaceholder();
  TPngGlyph FGlyph;
  TPngOptions FPngOptions = kPngButtonOptions;
};

class TPngBitBtn : public TBitBtn {
  QORN_CLASS(TPngBitBtn, TBitBtn)
 public:
  explicit TPngBitBtn(TComponent* AOwner);
  ~TPngBitBtn() override;
  TPngImage* GetPngImage() const { return FGlyph.Image(); }
  void SetPngImage(TPngImage* Value);
  TPngOptions GetPngOptions() const { return FPngOptions; }
  void SetPngOptions(TPngOptions Value);

 protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void DrawButton(TCanvas* Canvas, const TRect& Client, bool Pressed, bool Focused) override;

 private:
  static void Publish(TPublisher<TPngBitBtn>& p);
  bool IsPngImageStored() const { return !FGlyph.FromAction() && !FGlyph.Image()->Empty(); }
  TPngGlyph FGlyph;
  TPngOptions FPngOptions = kPngButtonOptions;
};

}  // namespace Flat
