// TVyDateTimeEdit: the framed edit holding one date or one time of day. It shows the
// value in its Format (the locale's short date or short time when empty), reads what
// the user types when the text changes and when it loses the focus (text it cannot
// read leaves the value as it was), and steps the value with keys: Page Up/Down by a
// month (Shift: a year) or an hour, Up/Down by a day or a minute, "+"/"-" by a day or
// an hour. OnDateTimeChange reports each new value once. Its drop button (or Alt+Down)
// opens a calendar (dates) or a clock (times) under it; a day, Today, Clear or the Set
// button chosen there becomes the value, Escape or a click elsewhere keeps it.
//
// Rule: the drop-down fires neither OnEnter nor OnExit of the edit, and the edit may be
// freed while it is open (its form closed under it) without harm.
#pragma once
#include "controls/extended/VyCalendar.h"
#include "controls/extended/VyClock.h"
#include "controls/extended/VyDateTimeText.h"
#include "controls/extended/VyEdit.h"
#include "controls/extended/VyPopups.h"

namespace Vy {

using TVyDateTimeChangeEvent = TEvent<void(TObject* Sender, TDateTime DateTime)>;

class TVyDateTimeEdit : public TVyCustomEdit {
  QORN_CLASS(TVyDateTimeEdit, TVyCustomEdit)
 public:
  explicit TVyDateTimeEdit(TComponent* AOwner);

  TVyDTEditType GetEditType() const { return FEditType; }
  virtual void SetEditType(TVyDTEditType v);
  // Whole days of the value; setting it makes the edit a date edit.
  TDateTime GetDate() const;
  virtual void SetDate(TDateTime v);
  // The time of day of the value; setting it makes the edit a time edit.
  TDateTime GetTime() const;
  virtual void SetTime(TDateTime v);
  String GetFormat() const { return FFormat; }
  virtual void SetFormat(const String& v);
  // Empties the text and the value.
  void Clear();
  // The locale the text is read and written in: the user's unless one is given.
  void SetLocale(const TVyDateLocale& locale);

  TVyCalendarElements GetCalendarElements() const { return FCalendarElements; }
  void SetCalendarElements(TVyCalendarElements v) { FCalendarElements = v; }
  TVyCalendarColors* GetCalendarColors() const { return FCalendarColors.get(); }
  virtual void SetCalendarColors(TVyCalendarColors* v) { FCalendarColors->Assign(v); }
  TVyFirstDayOfWeek GetFirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(TVyFirstDayOfWeek v) { FFirstDayOfWeek = v; }
  const std::wstring& GetCaptionTodayBtn() const { return FCaptionTodayBtn; }
  void SetCaptionTodayBtn(const std::wstring& v) { FCaptionTodayBtn = v; }
  const std::wstring& GetCaptionClearBtn() const { return FCaptionClearBtn; }
  void SetCaptionClearBtn(const std::wstring& v) { FCaptionClearBtn = v; }
  TVyClockFaceColors* GetClockFaceColors() const { return FClockFaceColors.get(); }
  virtual void SetClockFaceColors(TVyClockFaceColors* v) { FClockFaceColors->Assign(v); }
  const std::wstring& GetCaptionAM() const { return FCaptionAM; }
  void SetCaptionAM(const std::wstring& v) { FCaptionAM = v; }
  const std::wstring& GetCaptionPM() const { return FCaptionPM; }
  void SetCaptionPM(const std::wstring& v) { FCaptionPM = v; }
  const std::wstring& GetCaptionSet() const { return FCaptionSet; }
  void SetCaptionSet(const std::wstring& v) { FCaptionSet = v; }
  bool GetRestrictMinutes() const { return FRestrictMinutes; }
  void SetRestrictMinutes(bool v) { FRestrictMinutes = v; }
  bool GetShowHowToUseHint() const { return FShowHowToUseHint; }
  void SetShowHowToUseHint(bool v) { FShowHowToUseHint = v; }
  const std::wstring& GetHowToUseMsg() const { return FHowToUseMsg; }
  void SetHowToUseMsg(const std::wstring& v) { FHowToUseMsg = v; }
  // The drop-down shown now (null when none): for code that closes it.
  TVyPopupPanel* GetDropPanel() const { return FDropPanel; }

  TVyDateTimeChangeEvent OnDateTimeChange;
  TVyGetBoldDaysEvent OnGetBoldDays;
  TVyGetWeekNumberEvent OnGetWeekNumber;

  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMGetDlgCode(TMessage& m);

 protected:
  void Change() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void FireDropDown() override;
  virtual void ShowCalendar();
  virtual void ShowClock();
  virtual void FireDateTimeChange(TDateTime value) {
    if (OnDateTimeChange) OnDateTimeChange(this, value);
  }

 private:
  static void Publish(TPublisher<TVyDateTimeEdit>& p);
  bool IsDateStored() const { return FEditType == etDate; }
  bool IsTimeStored() const { return FEditType == etTime; }
  bool IsButtonLookStored() const { return !FramedByController(); }
  void UpdateText();
  void ParseText();
  void CheckChanged();
  void Step(TDateTime stepped);
  std::unique_ptr<TVyPopupPanel> NewDropPanel();
  // Runs the picker on the panel under the edit: whether the user accepted; nothing
  // when the edit was freed meanwhile (nothing of it may be touched then).
  std::optional<bool> DropDown(std::unique_ptr<TVyPopupPanel>& panel, TVyCustomPanel* picker);

  TVyDTEditType FEditType = etDate;
  String FFormat;
  TVyDateLocale FLocale;
  TDateTime FDateTimeValue = 0;     // 0: empty
  TDateTime FPreviousDateTime = 0;  // the value last reported
  bool FUpdateBusy = false;         // the edit is writing its own text
  bool FInTimeUpdate = false;       // Time is being set
  bool FTimeAssigned = false;       // a time was set or typed
  bool FTimeChosen = false;         // the clock is delivering a time
  TVyCalendarElements FCalendarElements = kDefaultCalendarElements;
  std::unique_ptr<TVyCalendarColors> FCalendarColors;
  TVyFirstDayOfWeek FFirstDayOfWeek = fdowLocale;
  std::wstring FCaptionTodayBtn, FCaptionClearBtn;
  std::unique_ptr<TVyClockFaceColors> FClockFaceColors;
  std::wstring FCaptionAM, FCaptionPM, FCaptionSet, FHowToUseMsg;
  bool FRestrictMinutes = false;
  bool FShowHowToUseHint = true;
  TVyPopupPanel* FDropPanel = nullptr;  // while a drop-down is open
};

}  // namespace Vy
