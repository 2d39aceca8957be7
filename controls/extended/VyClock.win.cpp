#include "controls/extended/VyClock.h"

#include "controls/extended/VyGrafxColor.h"
#include "controls/extended/VyPickerParts.h"
#include "vcl/Bitmap.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/StdCtrls.h"
#include "vcl/Win.h"

#include <cmath>

namespace Vy {

namespace {
int HourOf(TDateTime t) {
  int h, m, s, ms;
  DecodeTime(t, h, m, s, ms);
  return h;
}
int MinuteOf(TDateTime t) {
  int h, m, s, ms;
  DecodeTime(t, h, m, s, ms);
  return m;
}
bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }
}  // namespace

// --- colours

void TVyClockFaceColors::Publish(TPublisher<TVyClockFaceColors>& p) {
  using T = TVyClockFaceColors;
  p.Property(L"Face", &T::GetFace, &T::SetFace).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"Hands", &T::GetHands, &T::SetHands).Default(clWindowText).Idents(ColorIdents);
  p.Property(L"Numbers", &T::GetNumbers, &T::SetNumbers).Default(clWindowText).Idents(ColorIdents);
  p.Property(L"HourTicks", &T::GetHourTicks, &T::SetHourTicks).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"MinuteTicks", &T::GetMinuteTicks, &T::SetMinuteTicks).Default(clWindowText).Idents(ColorIdents);
}

void TVyClockFaceColors::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyClockFaceColors*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FColors = src->FColors;
  if (OnChange) OnChange();
}

void TVyClockFaceColors::Set(int index, TColor v) {
  if (FColors[index] == v) return;
  FColors[index] = v;
  if (OnChange) OnChange();
}

// --- picker

TVyTimePicker::TVyTimePicker(TComponent* AOwner)
    : TVyCustomPanel(AOwner),
      FColors(std::make_unique<TVyClockFaceColors>()),
      FLocale(SystemDateLocale()),
      FHintTimer(std::make_unique<TTimer>(nullptr)) {
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(1000);
  FHintTimer->OnTimer = TNotifyEvent(this, &TVyTimePicker::HintTick);
  SetBounds(GetLeft(), GetTop(), 160, 190);
  UsePickerLook(this);
  FColors->OnChange = [this] { Invalidate(); };
  Measure();
  SetAutoSize(true);
}

TVyTimePicker::~TVyTimePicker() = default;

void TVyTimePicker::Publish(TPublisher<TVyTimePicker>& p) {
  using T = TVyTimePicker;
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_DIALOGCHAR, &T::CMDialogChar);
  p.Property(L"Time", &T::GetTime, &T::SetTime).Default(0.0);
  p.Property(L"Format", &T::GetFormat, &T::SetFormat);
  p.Property(L"CaptionAM", &T::GetCaptionAM, &T::SetCaptionAM);
  p.Property(L"CaptionPM", &T::GetCaptionPM, &T::SetCaptionPM);
  p.Property(L"CaptionSet", &T::GetCaptionSet, &T::SetCaptionSet);
  p.Property(L"ClockFaceColors", &T::GetClockFaceColors, &T::SetClockFaceColors);
  p.Property(L"RestrictMinutes", &T::GetRestrictMinutes, &T::SetRestrictMinutes).Default(false);
  p.Property(L"ShowHowToUseHint", &T::GetShowHowToUseHint, &T::SetShowHowToUseHint).Default(true);
  p.Property(L"ShowSetButton", &T::GetShowSetButton, &T::SetShowSetButton).Default(false);
  p.Property(L"HowToUseMsg", &T::GetHowToUseMsg, &T::SetHowToUseMsg);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsLowered);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(0);
  p.Property(L"AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  p.Property(L"OnChange", &T::OnChange);
  p.Property(L"OnSetBtnClick", &T::OnSetBtnClick);
  p.Property(L"OnSetTime", &T::OnSetTime);
}

void TVyTimePicker::Measure() {
  const auto sizes = MeasureTexts(GetFont(), {L"0", AmCaption(), PmCaption()});
  FCharWidth = sizes[0].Width;
  FCharHeight = sizes[0].Height;
  FLineHeight = FCharHeight + 2;
  FAmWidth = sizes[1].Width;
  FPmWidth = sizes[2].Width;
  AdjustSize();
  Invalidate();
}

void TVyTimePicker::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  Measure();
}

bool TVyTimePicker::CanAutoSize(int& newWidth, int& newHeight) {
  const TSize s = ClockAutoSize(FCharWidth, FCharHeight, FShowSetButton ? int(SetCaption().size()) : 0);
  newWidth = s.cx;
  newHeight = s.cy;
  return true;
}

TVyClockLayout TVyTimePicker::Layout() const {
  return ComputeClockLayout(AdjustRectForBorders(Rect(0, 0, GetWidth(), GetHeight()), true), GetWidth(), GetHeight(),
                            FLineHeight, FAmWidth, FPmWidth);
}

void TVyTimePicker::SetFormat(const std::wstring& v) {
  FFormat = v;
  Invalidate();
}
void TVyTimePicker::SetCaptionAM(const std::wstring& v) {
  FCaptionAM = v;
  Measure();
}
void TVyTimePicker::SetCaptionPM(const std::wstring& v) {
  FCaptionPM = v;
  Measure();
}
void TVyTimePicker::SetCaptionSet(const std::wstring& v) {
  FCaptionSet = v;
  Measure();
}
void TVyTimePicker::SetShowSetButton(bool v) {
  FShowSetButton = v;
  Measure();
}
void TVyTimePicker::SetLocale(const TVyDateLocale& locale) {
  FLocale = locale;
  Invalidate();
}

void TVyTimePicker::SetTime(TDateTime v) {
  const TDateTime frac = v - std::floor(v);
  if (frac == FTime && !FUpdateForced) return;
  int h, m, s, ms;
  DecodeTime(frac, h, m, s, ms);
  FTime = EncodeTime(h, m, 0, 0);
  FireChange();
  Invalidate();
}

void TVyTimePicker::SetHour(int hour) {
  const bool afternoon = HourOf(FTime) > 11;
  if (afternoon && hour < 12) hour += 12;
  if (!afternoon && hour == 12) hour = 0;
  SetTime(EncodeTime(hour, MinuteOf(FTime), 0, 0));
}

void TVyTimePicker::SetMinute(int minute) { SetTime(EncodeTime(HourOf(FTime), minute, 0, 0)); }

void TVyTimePicker::ChooseHalf(bool afternoon) {
  const int hour = HourOf(FTime);
  if (afternoon && hour < 12) SetTime(EncodeTime(hour + 12, MinuteOf(FTime), 0, 0));
  if (!afternoon && hour >= 12) SetTime(EncodeTime(hour - 12, MinuteOf(FTime), 0, 0));
}

// --- painting

void TVyTimePicker::Paint() {
  TVyCustomPanel::Paint();
  TCanvas* c = GetCanvas();
  const TVyClockLayout l = Layout();
  const bool flat = GetBorderOuter() == fsFlat || GetBorderOuter() == fsFlatBold;
  RECT box{l.TimeBox.Left, l.TimeBox.Top, l.TimeBox.Right, l.TimeBox.Bottom};
  DrawEdge(c->GetHandle(), &box, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | (flat ? BF_FLAT : 0));
  c->SetFont(GetFont());
  c->GetFont()->SetColor(clBtnText);
  c->GetBrush()->SetStyle(bsClear);
  TRect text = l.TimeBox;
  c->DrawText(FormatDateTime(FFormat.empty() ? L"h:mm ampm" : FFormat, FTime, FLocale.Formats), text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  c->GetBrush()->SetStyle(bsSolid);
  if (l.Radius > 0) DrawClockFace(l);
  c->GetPen()->SetColor(clBtnShadow);
  c->MoveTo(5, l.AmButton.Top - 5);
  c->LineTo(GetWidth() - 5, l.AmButton.Top - 5);
  const bool afternoon = HourOf(FTime) > 11;
  PaintRadio(c, l.AmButton, AmCaption(), !afternoon);
  PaintRadio(c, l.PmButton, PmCaption(), afternoon);
  if (FShowSetButton) PaintPickerButton(c, l.SetButton, SetCaption(), FLeftPressed && FOverSet, flat);
}

void TVyTimePicker::PaintRadio(TCanvas* c, const TRect& item, const std::wstring& caption, bool checked) {
  TBitmap glyph;
  const TColor window = ColorToRGB(clWindow), shadow = ColorToRGB(clBtnShadow);
  glyph.LoadMappedFromResourceName(nullptr,
                                   checked ? L"VYCOMMON_RADIOBUTTON_CHECKED" : L"VYCOMMON_RADIOBUTTON_UNCHECKED",
                                   {{TColor(0x008080), ColorToRGB(GetColor())},
                                    {TColor(0x808080), BlendColors(shadow, window, 128)},
                                    {TColor(0xFFFFFF), window},
                                    {TColor(0x800000), ColorToRGB(clHighlight)}});
  const int y = (item.Top + item.Bottom - 13) / 2;
  c->Draw(item.Left, y, &glyph);
  TRect text = Rect(item.Left + 14, item.Top, item.Right, item.Bottom);
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  c->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  c->GetBrush()->SetStyle(bsSolid);
}

void TVyTimePicker::DrawClockFace(const TVyClockLayout& l) {
  TCanvas* c = GetCanvas();
  const int r = l.Radius;
  c->GetPen()->SetColor(Focused() ? DarkenColor(FColors->GetFace(), 40) : FColors->GetFace());
  c->GetBrush()->SetColor(FColors->GetFace());
  c->Ellipse(l.Clock);
  c->SetFont(GetFont());
  TFont* font = c->GetFont();
  font->SetStyle(TFontStyles{fsBold});
  font->SetHeight(-std::max(1, int(std::nearbyint(0.2 * r))));
  font->SetColor(FColors->GetNumbers());
  c->GetBrush()->SetStyle(bsClear);
  for (int n = 1; n <= 12; ++n) {
    const TPoint p = ClockPoint(l.Centre, n * 5, int(std::nearbyint(0.75 * r)));
    const std::wstring s = std::to_wstring(n);
    const TSize size = c->TextExtent(s);
    c->TextOut(p.X - size.cx / 2, p.Y - size.cy / 2, s);
  }
  c->GetBrush()->SetStyle(bsSolid);
  const int tick = int(std::nearbyint(0.92 * r)), t = int(std::nearbyint(0.02 * r));
  for (int i = 1; i <= 60; ++i) {
    const TPoint p = ClockPoint(l.Centre, i, tick);
    if (i % 5 == 0) {
      c->GetBrush()->SetColor(FColors->GetHourTicks());
      c->FillRect(Rect(p.X - t, p.Y - t, p.X + t + 1, p.Y + t + 1));
    } else {
      c->SetPixel(p.X, p.Y, FColors->GetMinuteTicks());
    }
  }
  c->GetPen()->SetColor(FColors->GetHands());
  c->GetBrush()->SetColor(FColors->GetHands());
  const int hour = HourOf(FTime) % 12, minute = MinuteOf(FTime);
  const auto minuteHand = ClockHand(l.Centre, r, minute, false);
  const auto hourHand = ClockHand(l.Centre, r, hour * 5, true);
  c->Polygon(minuteHand.data(), 4);
  c->Polygon(hourHand.data(), 4);
}

// --- mouse and keys

bool TVyTimePicker::OnFace(const TVyClockLayout& l, int x, int y) const {
  return l.Radius > 0 && l.Clock.Contains(Point(x, y));
}

void TVyTimePicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!ShownInPopup && !ComponentState().Contains(csDesigning) && CanFocus() && !Focused()) SetFocus();
  TVyCustomPanel::MouseDown(button, shift, x, y);
  const TVyClockLayout l = Layout();
  const TPoint p = Point(x, y);
  if (button == mbRight) {
    FRightPressed = true;
    if (OnFace(l, x, y)) {
      FOverClock = true;
      SetMinute(ClockMinuteAt(x - l.Centre.X, y - l.Centre.Y, FRestrictMinutes || CtrlHeld()));
    }
  } else if (button == mbLeft) {
    FLeftPressed = true;
    if (l.AmButton.Contains(p)) FOverAm = true;
    else if (l.PmButton.Contains(p)) FOverPm = true;
    else if (FShowSetButton && l.SetButton.Contains(p)) FOverSet = true;
    else if (OnFace(l, x, y)) {
      FOverClock = true;
      SetHour(ClockHourAt(x - l.Centre.X, y - l.Centre.Y));
    }
  }
  Invalidate();
}

// --- the how-to-use hint

std::wstring TVyTimePicker::HowToUseText() const {
  if (!FHowToUseMsg.empty()) return FHowToUseMsg;
  return L"Left-click to set Hour\rRight-click to set Minute\r    Ctrl key restricts to 5 minutes";
}

void TVyTimePicker::UpdateHint(int x, int y) {
  if (!FShowHowToUseHint || ComponentState().Contains(csDesigning)) return;
  if (!OnFace(Layout(), x, y) || !Application->GetActive()) {
    HideHint();
    return;
  }
  if (!FHintWindow) {
    FHintWindow = std::make_unique<THintWindow>(nullptr);
    FHintWindow->SetColor(Application->HintColor);
  }
  const std::wstring text = HowToUseText();
  TRect r = FHintWindow->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), text, nullptr);
  const TPoint at = ClientToScreen(Point(0, GetHeight()));
  OffsetRect(r, at.X, at.Y);
  RECT shown{};
  const bool moved = !FHintWindow->IsHintShown() || (GetWindowRect(FHintWindow->WindowHandle(), &shown) &&
                                                     (shown.left != r.Left || shown.top != r.Top));
  if (moved) FHintWindow->ActivateHint(r, text);
  FHintTimer->SetEnabled(true);
}

void TVyTimePicker::HideHint() {
  FHintTimer->SetEnabled(false);
  if (FHintWindow && FHintWindow->HandleAllocated()) {
    FHintWindow->ReleaseHandle();
    Invalidate();
  }
}

void TVyTimePicker::HintTick(TObject*) {
  POINT p{};
  GetCursorPos(&p);
  const TPoint client = HandleAllocated() ? ScreenToClient(Point(p.x, p.y)) : Point(-1, -1);
  if (!OnFace(Layout(), client.X, client.Y)) HideHint();
}

void TVyTimePicker::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  POINT p{};
  GetCursorPos(&p);
  const TPoint client = ScreenToClient(Point(p.x, p.y));
  UpdateHint(client.X, client.Y);
}

void TVyTimePicker::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  HideHint();
}

void TVyTimePicker::MouseMove(TShiftState shift, int x, int y) {
  TVyCustomPanel::MouseMove(shift, x, y);
  UpdateHint(x, y);
  const TVyClockLayout l = Layout();
  if (!FOverClock || !OnFace(l, x, y)) return;
  if (FLeftPressed) SetHour(ClockHourAt(x - l.Centre.X, y - l.Centre.Y));
  else if (FRightPressed) SetMinute(ClockMinuteAt(x - l.Centre.X, y - l.Centre.Y, FRestrictMinutes || CtrlHeld()));
}

void TVyTimePicker::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const TVyClockLayout l = Layout();
  const TPoint p = Point(x, y);
  const auto cleared = [this] {
    FLeftPressed = FRightPressed = false;
    FOverAm = FOverPm = FOverSet = FOverClock = false;
    Invalidate();
  };
  if (button == mbLeft && FLeftPressed) {
    if (FOverAm && l.AmButton.Contains(p)) ChooseHalf(false);
    else if (FOverPm && l.PmButton.Contains(p)) ChooseHalf(true);
    else if (FOverSet && l.SetButton.Contains(p)) {
      cleared();
      FireSetClick();
    } else if (FOverClock && OnFace(l, x, y)) {
      SetHour(ClockHourAt(x - l.Centre.X, y - l.Centre.Y));
      if (OnSetTime) OnSetTime(this);
    }
  } else if (button == mbRight && FRightPressed && FOverClock && OnFace(l, x, y)) {
    SetMinute(ClockMinuteAt(x - l.Centre.X, y - l.Centre.Y, FRestrictMinutes || CtrlHeld()));
    if (OnSetTime) OnSetTime(this);
  }
  cleared();
  TVyCustomPanel::MouseUp(button, shift, x, y);
}

void TVyTimePicker::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  m.Result = 1;
  if (IsAccel(key, AmCaption())) ChooseHalf(false);
  else if (IsAccel(key, PmCaption())) ChooseHalf(true);
  else if (FShowSetButton && IsAccel(key, SetCaption())) FireSetClick();
  else QORN_INHERITED(m);
}

void TVyTimePicker::KeyDown(WORD& key, TShiftState shift) {
  TVyCustomPanel::KeyDown(key, shift);
  const TDateTime now = ::Date() + FTime;
  switch (key) {
    case VK_RETURN:
      if (FShowSetButton) FireSetClick();
      break;
    case VK_PRIOR: SetTime(IncHour(now, 1)); break;
    case VK_NEXT: SetTime(IncHour(now, -1)); break;
    case VK_UP: SetTime(IncMinute(now, 1)); break;
    case VK_DOWN: SetTime(IncMinute(now, -1)); break;
    default: break;
  }
}

}  // namespace Vy
