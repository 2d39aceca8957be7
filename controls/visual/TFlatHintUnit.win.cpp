#include "controls/visual/TFlatHintUnit.h"

#include "vcl/Canvas.h"

namespace Flat {

namespace {

// The application's maker of flat hint windows, tagged with the component that
// installed it, so that the component can tell whether it is still in place.
struct TFlatHintWindowMaker {
  TFlatHint* Installer;  // not owned
  THintWindow* operator()(TComponent* owner) const { return new TFlatHintWindow(owner); }
};

// A new hint window for the next hint, with ShowHint as it was.
void RenewHintWindow() {
  const bool show = Application->GetShowHint();
  Application->SetShowHint(!show);
  Application->SetShowHint(show);
}

}  // namespace

TFlatHint::TFlatHint(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  if (!Application) return;
  // Behind another flat hint lies what the application had before any: that is
  // what to give back, not the other one's class.
  const auto* current = Application->HintWindowClass.target<TFlatHintWindowMaker>();
  if (current && current->Installer) {
    FPreviousWindowClass = current->Installer->FPreviousWindowClass;
    FPreviousShowHint = current->Installer->FPreviousShowHint;
  } else {
    FPreviousWindowClass = Application->HintWindowClass;
    FPreviousShowHint = Application->OnShowHint;
  }
  FInstalled = true;
  Install();
  Application->HintShortPause = 25;
  Application->HintPause = 500;
  Application->HintHidePause = 5000;
  RenewHintWindow();
}

TFlatHint::~TFlatHint() {
  if (!FInstalled || !Application) return;
  const auto* maker = Application->HintWindowClass.target<TFlatHintWindowMaker>();
  const bool current = (maker && maker->Installer == this) || Application->OnShowHint == OwnShowHint();
  if (current) {
    if (TFlatHint* other = FindOther(this)) {
      other->Install();
    } else {
      Application->HintWindowClass = FPreviousWindowClass;
      Application->OnShowHint = FPreviousShowHint;
    }
  }
  // The window of the hint shown may have this component's look: a fresh one.
  RenewHintWindow();
}

void TFlatHint::Install() {
  Application->HintWindowClass = TFlatHintWindowMaker{this};
  Application->OnShowHint = OwnShowHint();
}

void TFlatHint::ApplicationShowHint(std::wstring& hintStr, bool& canShow, THintInfo& hintInfo) {
  if (OnShowHint) OnShowHint(hintStr, canShow, hintInfo);
}

TFlatHint* TFlatHint::Find() { return FindOther(nullptr); }

TFlatHint* TFlatHint::FindOther(const TFlatHint* except) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->GetFormCount(); ++i) {
    TCustomForm* form = Screen->GetForms(i);
    for (int k = 0; k < form->ComponentCount(); ++k)
      if (auto* hint = dynamic_cast<TFlatHint*>(form->Components(k)); hint && hint != except) return hint;
  }
  return nullptr;
}

void TFlatHint::Publish(TPublisher<TFlatHint>& p) {
  p.Property(L"ColorBackground", &TFlatHint::GetColorBackground, &TFlatHint::SetColorBackground)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TFlatHint::GetColorBorder, &TFlatHint::SetColorBorder)
      .Default(clBlack)
      .Idents(ColorIdents);
  p.Property(L"ColorArrowBackground", &TFlatHint::GetColorArrowBackground, &TFlatHint::SetColorArrowBackground)
      .Default(0x53D2FF)
      .Idents(ColorIdents);
  p.Property(L"ColorArrow", &TFlatHint::GetColorArrow, &TFlatHint::SetColorArrow).Default(clBlack).Idents(ColorIdents);
  p.Property(L"MaxHintWidth", &TFlatHint::GetMaxHintWidth, &TFlatHint::SetMaxHintWidth).Default(200);
  p.Property(L"Font", &TFlatHint::GetFont, &TFlatHint::SetFont);
  p.Property(L"OnShowHint", &TFlatHint::OnShowHint);
}

// ---- the window ----

void TFlatHintWindow::CreateParams(TCreateParams& params) {
  THintWindow::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_BORDER);
}

void TFlatHintWindow::ActivateHint(TRect, const std::wstring& hint) {
  SetCaption(hint);
  TFlatHint* look = TFlatHint::Find();
  if (!look) {
    if (WindowHandle()) ShowWindow(WindowHandle(), SW_HIDE);
    return;
  }
  FBackground = look->GetColorBackground();
  FBorder = look->GetColorBorder();
  FArrowBackground = look->GetColorArrowBackground();
  FArrow = look->GetColorArrow();
  GetFont()->Assign(look->GetFont());

  RECT text{0, 0, std::max(1, look->GetMaxHintWidth() - 22), 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int w = (text.right - text.left) + 22, h = (text.bottom - text.top) + 6;

  POINT cursor{};
  GetCursorPos(&cursor);
  TRect area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &mi)) area = AsTRect(mi.rcWork);
  const THintPlace place = PlaceFlatHint({cursor.x, cursor.y}, w, h, area);
  FCorner = place.Corner;
  ShowHintWindow(place.Bounds);
}

void TFlatHintWindow::Paint() {
  TCanvas* c = GetCanvas();
  const TRect client = GetClientRect();
  const THintAreas areas = FlatHintAreas(FCorner, client);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(FArrowBackground);
  c->FillRect(areas.Strip);
  c->GetBrush()->SetColor(FBackground);
  c->FillRect(areas.Text);
  c->GetBrush()->SetColor(FBorder);
  c->FrameRect(client);

  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetColor(FArrow);
  c->Polyline(FlatHintArrow(FCorner, areas.Strip));

  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  TRect text{areas.Text.Left + 3, areas.Text.Top + 1, areas.Text.Right - 3, areas.Text.Bottom - 1};
  c->DrawText(GetText(), text, DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace Flat
