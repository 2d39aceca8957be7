// A popup skin at work: the skin read from its folder, its picture stretched to
// the popup's size and recoloured, the popup's texts drawn into it, and the
// window of per-pixel alpha that shows it over the (then invisible) popup.
// A skin that cannot be drawn is refused once with a message (through the dialog
// service, which tests and QORN_MESSAGE_SINK record); the popup then shows plain.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "displays/DisplayForm.h"
#include "displays/SkinFolder.h"
#include "vcl/PixelBuffer.h"

class TCanvas;

// The window the skin shows in: a display, layered, painted only through
// UpdateLayeredWindow.
class TPopupSkinWindow : public TDisplayForm {
  QORN_CLASS(TPopupSkinWindow, TDisplayForm)
 public:
  explicit TPopupSkinWindow(TComponent* AOwner) : TDisplayForm(AOwner) {}

 protected:
  void CreateParams(TCreateParams& params) override;
};

// One text drawn into the skin: plain single-line text, or (Body) tagged text
// the body label paints.
struct TSkinText {
  std::wstring Text;
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TPopupSkin {
 public:
  TPopupSkin();
  ~TPopupSkin();

  // Reads the skin of Folder (ending in a backslash) unless it is the one read
  // last; true when it can be drawn. A refused skin is reported once.
  bool Load(const std::wstring& folder);
  bool Usable() const { return skin_.Usable(); }
  const Displays::TSkinConfig& Config() const { return skin_.Config; }

  // The clean background for a popup of that size with the saturation and hue
  // settings (stored values: 100 and 90 leave the picture as it is).
  void Prepare(int width, int height, int storedSaturation, int storedHue);
  // The background again, then each text with its font (the body through paint).
  // Drawn text is opaque.
  void DrawTexts(const std::function<void(TCanvas& canvas)>& paint);
  // Shows the working picture in the skin window at that place, with the alpha.
  void Blend(int left, int top, int alpha);
  void Show();
  void Hide();
  TPopupSkinWindow* Window() const { return window_.get(); }
  const PixelBuffer& Working() const { return working_; }

 private:
  std::wstring folder_;
  bool tried_ = false;
  Displays::TSkinFolder skin_;
  PixelBuffer clean_;
  PixelBuffer working_;
  std::unique_ptr<TPopupSkinWindow> window_;
};
