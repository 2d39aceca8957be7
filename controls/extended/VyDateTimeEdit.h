// TVyDateTimeEdit: the framed edit holding one date or one time of day. It shows the
// value in its Format (the locale's short date or short time when empty), reads what
// the user types when the text changes and when it loses the focus (text it cannot
// read leaves the value as it was), and steps the value with keys: Page Up/Down by a
// month (Shift: a year) or an hour, Up/Down by a day or a minute, "+"/"-" by a day or
// an hour. OnDateTimeChange reports each new value once.
//
// The calendar and clock drop-downs are not part of this control yet: its drop button
// stays hidden until they are.
#pragma once
#include "controls/extended/VyDateTimeText.h"
#include "controls/extended/VyEdit.h"

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

  TVyDateTimeChangeEvent OnDateTimeChange;

  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMGetDlgCode(TMessage& m);

 protected:
  void Change() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
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

  TVyDTEditType FEditType = etDate;
  String FFormat;
  TVyDateLocale FLocale;
  TDateTime FDateTimeValue = 0;     // 0: empty
  TDateTime FPreviousDateTime = 0;  // the value last reported
  bool FUpdateBusy = false;         // the edit is writing its own text
  bool FInTimeUpdate = false;       // Time is being set
  bool FTimeAssigned = false;       // a time was set or typed
};

}  // namespace Vy
