#include "controls/extended/VyPickerParts.h"

#include "vcl/Win.h"

namespace Vy {

std::vector<TVyTextSize> MeasureTexts(TFont* font, const std::vector<std::wstring>& texts) {
  HDC dc = GetDC(nullptr);
  std::vector<TVyTextSize> out;
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.SetFont(font);
    for (const std::wstring& t : texts) {
      const TSize s = canvas.TextExtent(t);
      out.push_back({s.cx, s.cy});
    }
    canvas.SetHandle(nullptr);
  }
  ReleaseDC(nullptr, dc);
  return out;
}

void UsePickerLook(TVyCustomPanel* picker) {
  picker->SetColor(clWindow);
  picker->SetParentColor(false);
  picker->SetBorderOuter(fsLowered);
  picker->SetFlatColorAdjustment(0);
  picker->SetTabStop(true);
  picker->SetAlignment(taCenter);
  picker->DoubleBuffered = true;
}

void PaintPickerButton(TCanvas* canvas, TRect rect, const std::wstring& caption, bool pressed, bool flat) {
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(clBtnFace);
  canvas->FillRect(rect);
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  UINT edge = pressed ? EDGE_SUNKEN : flat ? EDGE_ETCHED : EDGE_RAISED;
  DrawEdge(canvas->GetHandle(), &r, edge, BF_RECT | BF_MIDDLE | BF_ADJUST);
  TRect text = Rect(r.left, r.top, r.right, r.bottom);
  if (pressed) OffsetRect(text, 2, 2);
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetFont()->SetColor(clBtnText);
  canvas->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  canvas->GetBrush()->SetStyle(bsSolid);
}

}  // namespace Vy
