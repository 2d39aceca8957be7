#include "vcl/ExtCtrls.h"

#include "vcl/Forms.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  for (int i = 0; i < width && rect.Width() > 0 && rect.Height() > 0; ++i) {
    const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(1);
    canvas->GetPen()->SetColor(topColor);
    canvas->Polyline({TPoint{l, b}, TPoint{l, t}, TPoint{r, t}});
    canvas->GetPen()->SetColor(bottomColor);
    // One past the corner: a line leaves out its last pixel.
    canvas->Polyline({TPoint{r, t}, TPoint{r, b}, TPoint{l - 1, b}});
    rect = TRect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
  }
}

// --- panel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csAcceptsControls;
  ControlStyle.Include(csOpaque);
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Publish(TPublisher<TCustomPanel>& p) {
  p.Message(CM_TEXTCHANGED, &TCustomPanel::CMTextChanged);
  p.Property(L"Caption", &TCustomPanel::GetCaption, &TCustomPanel::SetCaption);
  p.Property(L"Color", &TCustomPanel::GetColor, &TCustomPanel::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"ParentColor", &TCustomPanel::GetParentColor, &TCustomPanel::SetParentColor).Default(false);
  p.Property(L"Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taCenter);
  p.Property(L"BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
  p.Property(L"BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
  p.Property(L"BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  p.Property(L"BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  p.Property(L"BorderStyle", &TCustomPanel::GetBorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone);
  p.Property(L"FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
  p.Property(L"Locked", &TCustomPanel::GetLocked, &TCustomPanel::SetLocked).Default(false);
  p.Property(L"TabStop", &TCustomPanel::GetTabStop, &TCustomPanel::SetTabStop).Default(false);
  p.Property(L"TabOrder", &TCustomPanel::GetTabOrder, &TCustomPanel::SetTabOrder);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  // Children repaint themselves; a resize needs the whole frame drawn again.
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
  if (FFullRepaint) params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

int TCustomPanel::FrameWidth() const {
  int w = FBorderWidth;
  if (FBevelOuter != bvNone) w += FBevelWidth;
  if (FBevelInner != bvNone) w += FBevelWidth;
  return w;
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
  const int w = FrameWidth();
  rect = TRect(rect.Left + w, rect.Top + w, std::max(rect.Left + w, rect.Right - w),
               std::max(rect.Top + w, rect.Bottom - w));
}

void TCustomPanel::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
  if (FBevelInner == v) return;
  FBevelInner = v;
  Perform(CM_BORDERCHANGED);
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
  if (FBevelOuter == v) return;
  FBevelOuter = v;
  Perform(CM_BORDERCHANGED);
}

void TCustomPanel::SetBevelWidth(TBevelWidth v) {
  if (v < 1) v = 1;
  if (FBevelWidth == v) return;
  FBevelWidth = v;
  Perform(CM_BORDERCHANGED);
}

void TCustomPanel::SetBorderWidth(TBorderWidth v) {
  if (v < 0) v = 0;
  if (FBorderWidth == v) return;
  FBorderWidth = v;
  Perform(CM_BORDERCHANGED);
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle v) {
  if (v != bsNone && v != bsSingle) v = bsSingle;
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  RecreateWnd();
  Perform(CM_BORDERCHANGED);
}

void TCustomPanel::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  auto bevel = [&](TPanelBevel b) {
    if (b == bvNone) return;
    if (b == bvSpace) {
      Frame3D(canvas, r, GetColor(), GetColor(), FBevelWidth);
      return;
    }
    const bool raised = b == bvRaised;
    Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
  };
  bevel(FBevelOuter);
  Frame3D(canvas, r, GetColor(), GetColor(), FBorderWidth);
  bevel(FBevelInner);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(r);
  const std::wstring caption = GetCaption();
  if (caption.empty()) return;
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (FAlignment == taCenter) format |= DT_CENTER;
  if (FAlignment == taRightJustify) format |= DT_RIGHT;
  if (!GetEnabled()) {
    TRect shifted(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(caption, shifted, format);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  canvas->DrawText(caption, r, format);
  canvas->GetBrush()->SetStyle(bsSolid);
}

// --- image

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() {
  FPicture->OnChange = nullptr;
}

void TImage::Publish(TPublisher<TImage>& p) {
  p.Property(L"Picture", &TImage::GetPicture, &TImage::SetPicture);
  p.Property(L"Stretch", &TImage::GetStretch, &TImage::SetStretch).Default(false);
  p.Property(L"Center", &TImage::GetCenter, &TImage::SetCenter).Default(false);
  p.Property(L"Proportional", &TImage::GetProportional, &TImage::SetProportional).Default(false);
  p.Property(L"Transparent", &TImage::GetTransparent, &TImage::SetTransparent).Default(false);
}

void TImage::PictureChanged(TObject*) {
  if (TGraphic* g = FPicture->GetGraphic()) {
    if (g->GetTransparent() != FTransparent) g->SetTransparent(FTransparent);
  }
  if (GetAutoSize()) AdjustSize();
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  TGraphicControl::SetAutoSize(v);
  Invalidate();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
  if (FPicture->GetWidth() <= 0 || FPicture->GetHeight() <= 0) return false;
  newWidth = FPicture->GetWidth();
  newHeight = FPicture->GetHeight();
  return true;
}

void TImage::SetStretch(bool v) {
  if (FStretch == v) return;
  FStretch = v;
  Invalidate();
}

void TImage::SetCenter(bool v) {
  if (FCenter == v) return;
  FCenter = v;
  Invalidate();
}

void TImage::SetProportional(bool v) {
  if (FProportional == v) return;
  FProportional = v;
  Invalidate();
}

void TImage::SetTransparent(bool v) {
  if (FTransparent == v) return;
  FTransparent = v;
  if (TGraphic* g = FPicture->GetGraphic()) g->SetTransparent(v);
  Invalidate();
}

TRect TImage::DestRect() const {
  const int cw = GetWidth(), ch = GetHeight();
  int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  if (w <= 0 || h <= 0) return TRect(0, 0, 0, 0);
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional) {
      // The whole picture at the largest size that keeps its shape.
      if (static_cast<long long>(cw) * h > static_cast<long long>(ch) * w) {
        w = static_cast<int>(static_cast<long long>(w) * ch / h);
        h = ch;
      } else {
        h = static_cast<int>(static_cast<long long>(h) * cw / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r(0, 0, w, h);
  if (FCenter) r = TRect((cw - w) / 2, (ch - h) / 2, (cw - w) / 2 + w, (ch - h) / 2 + h);
  return r;
}

void TImage::Paint() {
  TGraphic* graphic = FPicture->GetGraphic();
  if (!graphic || graphic->Empty()) return;
  GetCanvas()->StretchDraw(DestRect(), graphic);
}

// --- bevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::Publish(TPublisher<TBevel>& p) {
  p.Property(L"Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
  p.Property(L"Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
}

void TBevel::SetShape(TBevelShape v) {
  if (FShape == v) return;
  FShape = v;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = GetCanvas();
  const TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const int w = GetWidth(), h = GetHeight();
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetStyle(psSolid);
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    canvas->GetPen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  switch (FShape) {
    case bsBox: {
      TRect r(0, 0, w, h);
      Frame3D(canvas, r, first, second, 1);
      break;
    }
    case bsFrame: {
      // Two offset frames: a groove (lowered) or a ridge (raised).
      canvas->GetBrush()->SetStyle(bsClear);
      canvas->GetPen()->SetColor(first);
      canvas->Rectangle(0, 0, w - 1, h - 1);
      canvas->GetPen()->SetColor(second);
      canvas->Rectangle(1, 1, w, h);
      canvas->GetBrush()->SetStyle(bsSolid);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// --- header

THeader::THeader(TComponent* AOwner) : TCustomControl(AOwner), FSections(new TStringList) {
  SetBounds(0, 0, 250, 25);
  FSections->OnChange = TNotifyEvent(this, &THeader::SectionsChanged);
}

THeader::~THeader() {
  FSections->OnChange = nullptr;
}

void THeader::Publish(TPublisher<THeader>& p) {
  p.Property(L"Sections", &THeader::GetSections, &THeader::SetSections);
}

void THeader::SectionsChanged(TObject*) {
  FWidths.resize(static_cast<size_t>(FSections->Count()), 50);
  Invalidate();
}

int THeader::GetSectionWidth(int index) const {
  if (index < 0 || index >= static_cast<int>(FWidths.size())) return 0;
  return FWidths[static_cast<size_t>(index)];
}

void THeader::SetSectionWidth(int index, int width) {
  if (index < 0 || index >= static_cast<int>(FWidths.size())) return;
  FWidths[static_cast<size_t>(index)] = std::max(0, width);
  Invalidate();
}

void THeader::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetColor(clBtnFace);
  canvas->FillRect(GetClientRect());
  canvas->SetFont(GetFont());
  int x = 0;
  for (int i = 0; i < FSections->Count(); ++i) {
    TRect r(x, 0, x + GetSectionWidth(i), GetHeight());
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    DrawEdge(canvas->GetHandle(), &rc, EDGE_RAISED, BF_RECT);
    canvas->GetBrush()->SetStyle(bsClear);
    TRect text(r.Left + 4, r.Top, r.Right - 2, r.Bottom);
    canvas->DrawText(FSections->Get(i), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    canvas->GetBrush()->SetStyle(bsSolid);
    x = r.Right;
  }
}

