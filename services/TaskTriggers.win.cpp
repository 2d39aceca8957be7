#include <cmath>

#include "services/ComText.h"
#include "services/TaskScheduler.h"
#include "services/TaskTriggerInterfaces.h"

TTrigger::TTrigger(TCollection* Collection) : TCollectionItem(Collection) { FRecord.cbTriggerSize = sizeof FRecord; }

TTrigger::~TTrigger() = default;

void TTrigger::SetTriggerType(int Value) {
  FRecord.TriggerType = static_cast<TASK_TRIGGER_TYPE>((FRecord.TriggerType & ~0xFF) | (Value & 0xFF));
}

namespace {

TDateTime RecordDate(WORD year, WORD month, WORD day) {
  TDateTime date = 0;
  return TryEncodeDate(year, month, day, date) ? date : 0;
}

template <class I>
TComPtr<I> Typed(ITrigger* trigger) {
  TComPtr<I> typed;
  OleCheck(trigger->QueryInterface(__uuidof(I), typed.PutVoid()));
  return typed;
}

void PutText(ITrigger& trigger, HRESULT (STDMETHODCALLTYPE ITrigger::*put)(BSTR), const std::wstring& text) {
  TBstr value(text);
  OleCheck((trigger.*put)(value.Get()));
}

}  // namespace

TDateTime TTrigger::GetStartDate() const {
  if (FTrigger2) {
    TBstr start;
    OleCheck(FTrigger2->get_StartBoundary(start.Put()));
    if (!start.Text().empty()) {
      TDateTime value = IsoToDateTime(start.Text());
      // The date part: whole days toward the start of the day.
      return value < 0 ? std::ceil(value) : std::floor(value);
    }
  }
  return RecordDate(FRecord.wBeginYear, FRecord.wBeginMonth, FRecord.wBeginDay);
}

void TTrigger::SetStartDate(TDateTime Value) {
  int year, month, day;
  DecodeDate(Value, year, month, day);
  FRecord.wBeginYear = static_cast<WORD>(year);
  FRecord.wBeginMonth = static_cast<WORD>(month);
  FRecord.wBeginDay = static_cast<WORD>(day);
  if (FTrigger2) {
    PutText(*FTrigger2.Get(), &ITrigger::put_StartBoundary,
            StartBoundaryText(year, month, day, FRecord.wStartHour, FRecord.wStartMinute));
  }
}

void TTrigger::SetStartTime(TDateTime Value) {
  int hour, minute, second, msec;
  DecodeTime(Value, hour, minute, second, msec);
  FRecord.wStartHour = static_cast<WORD>(hour);
  FRecord.wStartMinute = static_cast<WORD>(minute);
}

TDateTime TTrigger::GetEndDate() const { return RecordDate(FRecord.wEndYear, FRecord.wEndMonth, FRecord.wEndDay); }

void TTrigger::Apply2(ITaskDefinition& Definition) {
  ITrigger& trigger = *FTrigger2.Get();
  const TASK_TRIGGER& r = FRecord;
  auto start = [&] {
    PutText(trigger, &ITrigger::put_StartBoundary,
            StartBoundaryText(r.wBeginYear, r.wBeginMonth, r.wBeginDay, r.wStartHour, r.wStartMinute));
  };
  auto end = [&] {
    if (r.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE)
      PutText(trigger, &ITrigger::put_EndBoundary, EndBoundaryText(r.wEndYear, r.wEndMonth, r.wEndDay));
  };
  // Triggers that wait for an event would miss one that came while the machine
  // was off: the task starts as soon as it can.
  auto catchUp = [&] {
    TComPtr<ITaskSettings> settings;
    OleCheck(Definition.get_Settings(settings.Put()));
    OleCheck(settings->put_StartWhenAvailable(VARIANT_TRUE));
  };
  auto userId = [&](auto& typed) {
    if (FUserId.empty()) return;
    TBstr user(FUserId);
    OleCheck(typed->put_UserId(user.Get()));
  };
  switch (GetTriggerType()) {
    case ttOnce:
      start();
      end();
      break;
    case ttDaily: {
      auto daily = Typed<IDailyTrigger>(&trigger);
      OleCheck(daily->put_DaysInterval(r.Type.Daily.DaysInterval ? r.Type.Daily.DaysInterval : 1));
      start();
      end();
      break;
    }
    case ttWeekly: {
      auto weekly = Typed<IWeeklyTrigger>(&trigger);
      OleCheck(weekly->put_WeeksInterval(r.Type.Weekly.WeeksInterval ? r.Type.Weekly.WeeksInterval : 1));
      OleCheck(weekly->put_DaysOfWeek(static_cast<short>(r.Type.Weekly.rgfDaysOfTheWeek)));
      start();
      end();
      break;
    }
    case ttMonthlyDate: {
      auto monthly = Typed<IMonthlyTrigger>(&trigger);
      OleCheck(monthly->put_DaysOfMonth(static_cast<long>(r.Type.MonthlyDate.rgfDays)));
      OleCheck(monthly->put_MonthsOfYear(static_cast<short>(r.Type.MonthlyDate.rgfMonths)));
      start();
      end();
      break;
    }
    case ttMonthlyDayOfWeek: {
      const auto weeks = WeeksOfMonthMask(r.Type.MonthlyDOW.wWhichWeek);
      if (!weeks) throw ETriggerError(STriggerWeekError, {int(r.Type.MonthlyDOW.wWhichWeek)});
      auto monthly = Typed<IMonthlyDOWTrigger>(&trigger);
      OleCheck(monthly->put_DaysOfWeek(static_cast<short>(r.Type.MonthlyDOW.rgfDaysOfTheWeek)));
      OleCheck(monthly->put_WeeksOfMonth(static_cast<short>(*weeks)));
      OleCheck(monthly->put_RunOnLastWeekOfMonth(ToVariantBool(r.Type.MonthlyDOW.wWhichWeek == TASK_LAST_WEEK)));
      OleCheck(monthly->put_MonthsOfYear(static_cast<short>(r.Type.MonthlyDOW.rgfMonths)));
      start();
      end();
      break;
    }
    case ttIdle:
      catchUp();
      start();
      break;
    case ttBoot:
      catchUp();
      start();
      end();
      break;
    case ttLogon: {
      catchUp();
      start();
      auto logon = Typed<ILogonTrigger>(&trigger);
      userId(logon);
      end();
      break;
    }
    default: {  // the session-state types
      catchUp();
      start();
      auto session = Typed<ISessionStateChangeTrigger>(&trigger);
      OleCheck(session->put_StateChange(
          static_cast<TTaskSessionStateChange>(MapTriggerKind(GetTriggerType())->stateChange)));
      userId(session);
      end();
      break;
    }
  }
}

TTriggers::TTriggers(TTaskItem* Item) : TCollection(TTrigger::StaticClass(), Item), FItem(Item) {}

TTrigger* TTriggers::Add(int Type) {
  if (!FItem->Scheduler()->IsVersion2()) {
    WORD index = 0;
    TComPtr<ITaskTrigger> created;
    OleCheck(FItem->NeedTask1().CreateTrigger(&index, created.Put()));
    auto* trigger = new TTrigger(this);
    trigger->FTrigger1 = std::move(created);
    trigger->SetTriggerType(Type);
    return trigger;
  }
  const auto mapping = MapTriggerKind(Type);
  if (!mapping) return nullptr;
  TComPtr<ITriggerCollection> triggers;
  OleCheck(FItem->NeedDefinition().get_Triggers(triggers.Put()));
  TComPtr<ITrigger> created;
  OleCheck(triggers->Create(static_cast<TASK_TRIGGER_TYPE2>(mapping->systemType), created.Put()));
  auto* trigger = new TTrigger(this);
  trigger->FTrigger2 = std::move(created);
  trigger->SetTriggerType(Type);
  return trigger;
}

TTrigger* TTriggers::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw ETriggerError(STriggerIndexError, {Index});
  return static_cast<TTrigger*>(TCollection::Items(Index));
}

void TTriggers::Apply() {
  const bool version2 = FItem->Scheduler()->IsVersion2();
  for (int i = 0; i < Count(); ++i) {
    TTrigger* trigger = Items(i);
    if (version2) {
      if (trigger->FTrigger2) trigger->Apply2(FItem->NeedDefinition());
    } else if (trigger->FTrigger1) {
      OleCheck(trigger->FTrigger1->SetTrigger(&trigger->FRecord));
    }
  }
}

QORN_REGISTER_CLASS(TTrigger);
