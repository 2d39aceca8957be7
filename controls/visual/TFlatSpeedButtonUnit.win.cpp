#include "controls/visual/TFlatSpeedButtonUnit.h"

#include "vcl/ActnList.h"
#include "vcl/Canvas.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

namespace Flat {

THoverTimer& TFlatSpeedButton::ClassHoverTimer() {
  static THoverTimer timer;
  return timer;
}

TFlatSpeedButton::TFlatSpeedButton(TComponent* AOwner) : TFlatButtonCommon<TGraphicControl>(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  ClassHoverTimer().AddInstance();
}

TFlatSpeedButton::~TFlatSpeedButton() { ClassHoverTimer().RemoveInstance(this); }

void TFlatSpeedButton::Paint() { PaintFace(GetCanvas(), nullptr, 1); }

void TFlatSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TGraphicControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action || !FGlyph->Empty()) return;
  TCustomImageList* images = action->GetImages();
  const int index = action->GetImageIndex();
  if (!images || index < 0 || index >= images->GetCount()) return;
  // The picture on fuchsia, the colour the glyph's corner then makes transparent.
  FGlyph->SetSize(images->GetWidth(), images->GetHeight());
  TCanvas* c = FGlyph->GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(static_cast<TColor>(0xFF00FF));
  c->FillRect({0, 0, images->GetWidth(), images->GetHeight()});
  images->Draw(c, 0, 0, index);
  Invalidate();
}

void TFlatSpeedButton::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  if (IsAccel(key, GetCaption()) && GetEnabled()) {
    Click();
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TFlatSpeedButton::Publish(TPublisher<TFlatSpeedButton>& p) {
  PublishCommon(p);
  p.Message(CM_DIALOGCHAR, &TFlatSpeedButton::CMDialogChar);
}

}  // namespace Flat
