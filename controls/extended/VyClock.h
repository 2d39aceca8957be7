// TVyTimePicker: picks a time of day on a clock face drawn by the control: a left
// click sets the hour, a right click the minute (Ctrl, or RestrictMinutes, snaps it to
// five), AM and PM choose the half of the day, and the Set button accepts. The time
// shows formatted above the face.
//
// Rules:
// - The time holds hours and minutes; seconds given are dropped.
// - A picker too small for a face draws none and no click sets a time on it.
// - While the mouse is over the face of a picker in the program in front, a hint
//   below the picker says how to use it; it goes when the mouse leaves the face.
#pragma once
#include "controls/extended/VyClockGeometry.h"
#include "controls/extended/VyDateLocale.h"
#include "controls/extended/VyPanel.h"
#include "vcl/DateUtils.h"
#include "vcl/HintWindow.h"
#include "vcl/Timer.h"

#include <functional>
#include <memory>

namespace Vy {

class TVyClockFaceColors : public TPersistent {
  QORN_CLASS(TVyClockFaceColors, TPersistent)
 public:
  TVyClockFaceColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetFace() const { return FColors[0]; }
  void SetFace(TColor v) { Set(0, v); }
  TColor GetHands() const { return FColors[1]; }
  void SetHands(TColor v) { Set(1, v); }
  TColor GetNumbers() const { return FColors[2]; }
  void SetNumbers(TColor v) { Set(2, v); }
  TColor GetHourTicks() const { return FColors[3]; }
  void SetHourTicks(TColor v) { Set(3, v); }
  TColor GetMinuteTicks() const { return FColors[4]; }
  void SetMinuteTicks(TColor v) { Set(4, v); }
  std::function<void()> OnChange;

 private:
  static void Publish(TPublisher<TVyClockFaceColors>& p);
  void Set(int index, TColor v);
  std::array<TColor, 5> FColors{clBtnFace, clWindowText, clWindowText, clBtnShadow, clWindowText};
};

class TVyTimePicker : public TVyCustomPanel {
  QORN_CLASS(TVyTimePicker, TVyCustomPanel)
 public:
  explicit TVyTimePicker(TComponent* AOwner);
  ~TVyTimePicker() override;

  TDateTime GetTime() const { return FTime; }
  void SetTime(TDateTime v);
  const std::wstring& GetFormat() const { return FFormat; }
  void SetFormat(const std::wstring& v);
  const std::wstring& GetCaptionAM() const { return FCaptionAM; }
  void SetCaptionAM(const std::wstring& v);
  const std::wstring& GetCaptionPM() const { return FCaptionPM; }
  void SetCaptionPM(const std::wstring& v);
  const std::wstring& GetCaptionSet() const { return FCaptionSet; }
  void SetCaptionSet(const std::wstring& v);
  TVyClockFaceColors* GetClockFaceColors() const { return FColors.get(); }
  void SetClockFaceColors(TVyClockFaceColors* v) { FColors->Assign(v); }
  bool GetRestrictMinutes() const { return FRestrictMinutes; }
  void SetRestrictMinutes(bool v) { FRestrictMinutes = v; }
  bool GetShowSetButton() const { return FShowSetButton; }
  void SetShowSetButton(bool v);
  bool GetShowHowToUseHint() const { return FShowHowToUseHint; }
  void SetShowHowToUseHint(bool v) { FShowHowToUseHint = v; }
  const std::wstring& GetHowToUseMsg() const { return FHowToUseMsg; }
  void SetHowToUseMsg(const std::wstring& v) { FHowToUseMsg = v; }
  // The time's text is written in this locale (the user's unless one is given).
  void SetLocale(const TVyDateLocale& locale);

  bool ShownInPopup = false;
  TVyClockLayout Layout() const;
  // The how-to-use hint's window (null until first shown).
  THintWindow* GetHintWindow() const { return FHintWindow.get(); }
  std::wstring HowToUseText() const;
  bool CanAutoSize(int& newWidth, int& newHeight) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSetBtnClick;
  TNotifyEvent OnSetTime;

  void WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }
  void CMFontChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  // The captions' accelerators act as the AM and PM items and the Set button.
  void CMDialogChar(TMessage& m);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  virtual void DrawClockFace(const TVyClockLayout& l);
  virtual void FireChange() {
    if (OnChange) OnChange(this);
  }
  virtual void FireSetClick() {
    if (OnSetBtnClick) OnSetBtnClick(this);
  }

 private:
  static void Publish(TPublisher<TVyTimePicker>& p);
  void Measure();
  void SetHour(int hour);
  void SetMinute(int minute);
  void ChooseHalf(bool afternoon);
  bool OnFace(const TVyClockLayout& l, int x, int y) const;
  void UpdateHint(int x, int y);
  void HideHint();
  void HintTick(TObject*);
  void PaintRadio(TCanvas* c, const TRect& item, const std::wstring& caption, bool checked);
  std::wstring AmCaption() const { return FCaptionAM.empty() ? L"AM" : FCaptionAM; }
  std::wstring PmCaption() const { return FCaptionPM.empty() ? L"PM" : FCaptionPM; }
  std::wstring SetCaption() const { return FCaptionSet.empty() ? L"Set" : FCaptionSet; }

  TDateTime FTime = 0;
  std::wstring FFormat, FCaptionAM, FCaptionPM, FCaptionSet, FHowToUseMsg;
  std::unique_ptr<TVyClockFaceColors> FColors;
  TVyDateLocale FLocale;
  bool FRestrictMinutes = false;
  bool FShowSetButton = false;
  bool FShowHowToUseHint = true;
  bool FUpdateForced = false;
  int FCharWidth = 7, FCharHeight = 13, FLineHeight = 15, FAmWidth = 20, FPmWidth = 20;
  bool FLeftPressed = false, FRightPressed = false;
  bool FOverAm = false, FOverPm = false, FOverSet = false, FOverClock = false;
  std::unique_ptr<THintWindow> FHintWindow;
  std::unique_ptr<TTimer> FHintTimer;
};

}  // namespace Vy
