#include "controls/visual/FlatSpinButton.h"

#include "controls/visual/FlatCheckControl.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Canvas.h"

namespace Flat {

namespace {

constexpr TColor kArrowFace = kFlatDefaultColor;
constexpr TColor kArrowDown = static_cast<TColor>(0xC5D6D9);
constexpr TColor kArrowBorder = static_cast<TColor>(0x8396A0);
constexpr int kGlyphMargin = 2;

std::unique_ptr<TBitmap> StockArrow(bool up) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->LoadFromResourceName(nullptr, up ? L"FlatUp" : L"FlatDown");
  bmp->SetTransparent(true);
  return bmp;
}

}  // namespace

TSpinArrowButton::TSpinArrowButton(TComponent* AOwner, bool up) : TGraphicControl(AOwner), FUp(up) {
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents};
  FGlyph = StockArrow(up);
  SetBounds(0, 0, 11, 10);
}

TSpinArrowButton::~TSpinArrowButton() = default;

void TSpinArrowButton::SetGlyph(TBitmap* glyph) {
  if (!glyph) {
    FGlyph = StockArrow(FUp);
  } else {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->Assign(glyph);
    FGlyph->SetTransparent(true);
  }
  Invalidate();
}

void TSpinArrowButton::Paint() {
  TCanvas* c = GetCanvas();
  const TRect client = GetClientRect();
  c->GetBrush()->SetColor(FPressed ? kArrowDown : kArrowFace);
  c->FillRect(client);
  if (FPressed)
    DrawFrame3D(c, client, clBlack, clWhite, 1);
  else
    DrawFrame3D(c, client, kArrowBorder, kArrowBorder, 1);
  if (!FGlyph || FGlyph->Empty()) return;
  // The up arrow sits at the top, the down arrow at the bottom, each centred across.
  const int gw = FGlyph->GetWidth(), gh = FGlyph->GetHeight();
  const int x = (client.Width() - gw + 1) / 2;
  const int y = FUp ? kGlyphMargin : client.Height() - kGlyphMargin - gh;
  const int shift = FPressed ? 1 : 0;
  c->Draw(x + shift, y + shift, FGlyph.get());
}

void TSpinArrowButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && GetEnabled()) {
    FPressed = true;
    Invalidate();
    if (auto* spin = dynamic_cast<TSpinButton*>(GetParent())) spin->ArrowPressed(this);
    if (!FTimer) {
      FTimer = std::make_unique<TTimer>(nullptr);
      FTimer->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    FTimer->SetInterval(kFirstRepeatMs);
    FTimer->SetEnabled(true);
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpinArrowButton::RepeatTick() {
  FTimer->SetInterval(kRepeatMs);
  if (!FPressed || !GetMouseCapture()) return;
  try {
    Click();
  } catch (...) {
    FTimer->SetEnabled(false);
    throw;
  }
}

void TSpinArrowButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    FPressed = false;
    if (FTimer) FTimer->SetEnabled(false);
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

// --- the pair

TSpinButton::TSpinButton(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csOpaque;
  FUpButton = new TSpinArrowButton(this, true);
  FDownButton = new TSpinArrowButton(this, false);
  for (TSpinArrowButton* b : {FUpButton, FDownButton}) {
    b->SetParent(this);
    b->OnClick = [this, b](TObject*) { ArrowClicked(b); };
  }
  FFocusedButton = FUpButton;
  SetBounds(0, 0, 21, 10);
}

TSpinButton::~TSpinButton() { SetFocusControl(nullptr); }

void TSpinButton::SetFocusControl(TWinControl* v) {
  if (v == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TSpinButton::SetBounds(int left, int top, int width, int height) {
  TCustomControl::SetBounds(left, top, width, height);
  LayoutArrows();
}

void TSpinButton::Loaded() {
  TCustomControl::Loaded();
  LayoutArrows();
}

void TSpinButton::LayoutArrows() {
  if (ComponentState().Contains(csLoading) || !FUpButton || !FDownButton) return;
  // Side by side, sharing one pixel of frame.
  FUpButton->SetBounds(0, 0, 11, GetHeight());
  FDownButton->SetBounds(10, 0, 11, GetHeight());
}

void TSpinButton::ArrowClicked(TSpinArrowButton* button) {
  TNotifyEvent& handler = button == FUpButton ? OnUpClick : OnDownClick;
  if (handler) handler(this);
}

void TSpinButton::ArrowPressed(TSpinArrowButton* button) {
  if (GetTabStop() && CanFocus()) FFocusedButton = button;
  if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (GetTabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TSpinButton::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_SPACE) {
    FFocusedButton->Click();
  } else if (key == VK_UP || key == VK_DOWN) {
    FFocusedButton = key == VK_UP ? FUpButton : FDownButton;
    FFocusedButton->Click();
  }
  TCustomControl::KeyDown(key, shift);
}

void TSpinButton::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TSpinButton::Publish(TPublisher<TSpinButton>& p) {
  p.Message(WM_GETDLGCODE, &TSpinButton::WMGetDlgCode);
  p.Property(L"TabStop", &TSpinButton::GetTabStop, &TSpinButton::SetTabStop).Default(false);
}

}  // namespace Flat
