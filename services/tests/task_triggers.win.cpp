// Triggers of the new scheduler for every trigger type. The system's scheduler here
// (wine's) only makes daily triggers, so its service is wrapped: tasks are the real
// definitions, and their trigger collection is a fake that records what each typed
// trigger is told. The trigger interfaces we declare ourselves are checked slot by
// slot against the system's type library.
// ctest-lock: task-scheduler
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "services/ComText.h"
#include "services/TaskScheduler.h"
#include "services/TaskTriggerInterfaces.h"

namespace {

using TValues = std::map<std::wstring, std::wstring>;

// IDispatch that nobody calls here.
#define QORN_NO_DISPATCH                                                                                     \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }                           \
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }              \
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; } \
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
    return E_NOTIMPL;                                                                                        \
  }
// A property the fake records on write and cannot read.
#define QORN_RECORD(Name, Type)                                                    \
  HRESULT STDMETHODCALLTYPE get_##Name(Type*) override { return E_NOTIMPL; }       \
  HRESULT STDMETHODCALLTYPE put_##Name(Type value) override {                      \
    values[L"" #Name] = Text(value);                                               \
    return S_OK;                                                                   \
  }

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : L""; }
std::wstring Text(long v) { return std::to_wstring(v); }
std::wstring Text(short v) { return std::to_wstring(v); }
std::wstring Text(TTaskSessionStateChange v) { return std::to_wstring(int(v)); }

template <class I>
struct TFakeTrigger : I {
  // After the interface's slots: the table the system sees is unchanged.
  virtual ~TFakeTrigger() = default;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(ITrigger) || iid == __uuidof(I)) {
      *out = static_cast<I*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  QORN_NO_DISPATCH
  HRESULT STDMETHODCALLTYPE get_Type(TASK_TRIGGER_TYPE2*) override { return E_NOTIMPL; }
  QORN_RECORD(Id, BSTR)
  HRESULT STDMETHODCALLTYPE get_Repetition(IRepetitionPattern**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Repetition(IRepetitionPattern*) override { return E_NOTIMPL; }
  QORN_RECORD(ExecutionTimeLimit, BSTR)
  HRESULT STDMETHODCALLTYPE get_StartBoundary(BSTR* value) override {
    auto it = values.find(L"StartBoundary");
    *value = it == values.end() ? nullptr : SysAllocString(it->second.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_StartBoundary(BSTR value) override {
    values[L"StartBoundary"] = Text(value);
    return S_OK;
  }
  QORN_RECORD(EndBoundary, BSTR)
  QORN_RECORD(Enabled, VARIANT_BOOL)
  ULONG refs = 1;
  TValues values;
};

struct TFakeTime : TFakeTrigger<ITimeTrigger> {
  QORN_RECORD(RandomDelay, BSTR)
};
struct TFakeDaily : TFakeTrigger<IDailyTrigger> {
  QORN_RECORD(DaysInterval, short)
  QORN_RECORD(RandomDelay, BSTR)
};
struct TFakeWeekly : TFakeTrigger<IWeeklyTrigger> {
  QORN_RECORD(DaysOfWeek, short)
  QORN_RECORD(WeeksInterval, short)
  QORN_RECORD(RandomDelay, BSTR)
};
struct TFakeMonthly : TFakeTrigger<IMonthlyTrigger> {
  QORN_RECORD(DaysOfMonth, long)
  QORN_RECORD(MonthsOfYear, short)
  QORN_RECORD(RunOnLastDayOfMonth, VARIANT_BOOL)
  QORN_RECORD(RandomDelay, BSTR)
};
struct TFakeMonthlyDOW : TFakeTrigger<IMonthlyDOWTrigger> {
  QORN_RECORD(DaysOfWeek, short)
  QORN_RECORD(WeeksOfMonth, short)
  QORN_RECORD(MonthsOfYear, short)
  QORN_RECORD(RunOnLastWeekOfMonth, VARIANT_BOOL)
  QORN_RECORD(RandomDelay, BSTR)
};
struct TFakeIdle : TFakeTrigger<IIdleTrigger> {};
struct TFakeBoot : TFakeTrigger<IBootTrigger> {
  QORN_RECORD(Delay, BSTR)
};
struct TFakeLogon : TFakeTrigger<ILogonTrigger> {
  QORN_RECORD(Delay, BSTR)
  QORN_RECORD(UserId, BSTR)
};
struct TFakeSession : TFakeTrigger<ISessionStateChangeTrigger> {
  QORN_RECORD(Delay, BSTR)
  QORN_RECORD(UserId, BSTR)
  QORN_RECORD(StateChange, TTaskSessionStateChange)
};

// Makes a typed fake for each system trigger type and keeps what it made.
struct TFakeTriggerCollection : ITriggerCollection {
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // owned by the test
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  QORN_NO_DISPATCH
  HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Item(LONG, ITrigger**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Remove(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Create(TASK_TRIGGER_TYPE2 type, ITrigger** out) override {
    ITrigger* made = nullptr;
    TValues* values = nullptr;
    auto make = [&](auto* fake) {
      made = fake;
      values = &fake->values;
    };
    switch (type) {
      case TASK_TRIGGER_TIME: make(new TFakeTime); break;
      case TASK_TRIGGER_DAILY: make(new TFakeDaily); break;
      case TASK_TRIGGER_WEEKLY: make(new TFakeWeekly); break;
      case TASK_TRIGGER_MONTHLY: make(new TFakeMonthly); break;
      case TASK_TRIGGER_MONTHLYDOW: make(new TFakeMonthlyDOW); break;
      case TASK_TRIGGER_IDLE: make(new TFakeIdle); break;
      case TASK_TRIGGER_BOOT: make(new TFakeBoot); break;
      case TASK_TRIGGER_LOGON: make(new TFakeLogon); break;
      case TASK_TRIGGER_SESSION_STATE_CHANGE: make(new TFakeSession); break;
      default: return E_INVALIDARG;
    }
    types.push_back(type);
    made->AddRef();
    made_.emplace_back(made);
    created.push_back(values);
    *out = made;
    return S_OK;
  }
  ULONG refs = 1;
  std::vector<TASK_TRIGGER_TYPE2> types;
  std::vector<TValues*> created;
  std::vector<TComPtr<ITrigger>> made_;
};

// The system's task definition, with the fake trigger collection.
struct TDefinitionWithFakeTriggers final : ITaskDefinition {
  TDefinitionWithFakeTriggers(TComPtr<ITaskDefinition> real, TFakeTriggerCollection* triggers)
      : real(std::move(real)), triggers(triggers) {}
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(ITaskDefinition)) {
      *out = static_cast<ITaskDefinition*>(this);
      AddRef();
      return S_OK;
    }
    return real->QueryInterface(iid, out);
  }
  QORN_NO_DISPATCH
  HRESULT STDMETHODCALLTYPE get_RegistrationInfo(IRegistrationInfo** v) override { return real->get_RegistrationInfo(v); }
  HRESULT STDMETHODCALLTYPE put_RegistrationInfo(IRegistrationInfo* v) override { return real->put_RegistrationInfo(v); }
  HRESULT STDMETHODCALLTYPE get_Triggers(ITriggerCollection** v) override {
    triggers->AddRef();
    *v = triggers;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Triggers(ITriggerCollection*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Settings(ITaskSettings** v) override { return real->get_Settings(v); }
  HRESULT STDMETHODCALLTYPE put_Settings(ITaskSettings* v) override { return real->put_Settings(v); }
  HRESULT STDMETHODCALLTYPE get_Data(BSTR* v) override { return real->get_Data(v); }
  HRESULT STDMETHODCALLTYPE put_Data(BSTR v) override { return real->put_Data(v); }
  HRESULT STDMETHODCALLTYPE get_Principal(IPrincipal** v) override { return real->get_Principal(v); }
  HRESULT STDMETHODCALLTYPE put_Principal(IPrincipal* v) override { return real->put_Principal(v); }
  HRESULT STDMETHODCALLTYPE get_Actions(IActionCollection** v) override { return real->get_Actions(v); }
  HRESULT STDMETHODCALLTYPE put_Actions(IActionCollection* v) override { return real->put_Actions(v); }
  HRESULT STDMETHODCALLTYPE get_XmlText(BSTR* v) override { return real->get_XmlText(v); }
  HRESULT STDMETHODCALLTYPE put_XmlText(BSTR v) override { return real->put_XmlText(v); }
  ULONG refs = 1;
  TComPtr<ITaskDefinition> real;
  TFakeTriggerCollection* triggers;
};

// The system's service, handing out definitions with the fake triggers.
struct TServiceWithFakeTriggers final : ITaskService {
  TServiceWithFakeTriggers(TComPtr<ITaskService> real, TFakeTriggerCollection* triggers)
      : real(std::move(real)), triggers(triggers) {}
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  QORN_NO_DISPATCH
  HRESULT STDMETHODCALLTYPE GetFolder(BSTR path, ITaskFolder** v) override { return real->GetFolder(path, v); }
  HRESULT STDMETHODCALLTYPE GetRunningTasks(LONG f, IRunningTaskCollection** v) override {
    return real->GetRunningTasks(f, v);
  }
  HRESULT STDMETHODCALLTYPE NewTask(DWORD flags, ITaskDefinition** v) override {
    TComPtr<ITaskDefinition> definition;
    const HRESULT result = real->NewTask(flags, definition.Put());
    *v = SUCCEEDED(result) ? new TDefinitionWithFakeTriggers(definition, triggers) : nullptr;
    return result;
  }
  HRESULT STDMETHODCALLTYPE Connect(VARIANT a, VARIANT b, VARIANT c, VARIANT d) override {
    return real->Connect(a, b, c, d);
  }
  HRESULT STDMETHODCALLTYPE get_Connected(VARIANT_BOOL* v) override { return real->get_Connected(v); }
  HRESULT STDMETHODCALLTYPE get_TargetServer(BSTR* v) override { return real->get_TargetServer(v); }
  HRESULT STDMETHODCALLTYPE get_ConnectedUser(BSTR* v) override { return real->get_ConnectedUser(v); }
  HRESULT STDMETHODCALLTYPE get_ConnectedDomain(BSTR* v) override { return real->get_ConnectedDomain(v); }
  HRESULT STDMETHODCALLTYPE get_HighestVersion(DWORD* v) override { return real->get_HighestVersion(v); }
  ULONG refs = 1;
  TComPtr<ITaskService> real;
  TFakeTriggerCollection* triggers;
};

class TaskTriggersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TTaskSchedulerSystem system = SystemTaskScheduler();
    auto realService = system.CreateTaskService;
    system.CreateTaskService = [this, realService] {
      return TComPtr<ITaskService>(new TServiceWithFakeTriggers(realService(), &triggers_));
    };
    scheduler_ = std::make_unique<TTaskScheduler>(nullptr, system);
    scheduler_->SetActive(true);
    item_ = scheduler_->Add(L"QornTriggerTest");
  }
  bool StartWhenAvailable() {
    TComPtr<ITaskSettings> settings;
    OleCheck(item_->Definition()->get_Settings(settings.Put()));
    VARIANT_BOOL value = VARIANT_FALSE;
    OleCheck(settings->get_StartWhenAvailable(&value));
    return value != VARIANT_FALSE;
  }
  TOleInitialization ole_;
  TFakeTriggerCollection triggers_;
  std::unique_ptr<TTaskScheduler> scheduler_;
  TTaskItem* item_ = nullptr;
};

TEST_F(TaskTriggersTest, ApplyGivesEachTypeItsSystemTrigger) {
  const struct {
    int kind;
    void (*setUp)(TASK_TRIGGER&);
    TASK_TRIGGER_TYPE2 systemType;
    TValues expected;
    bool catchUp;
  } cases[] = {
      {ttOnce, [](TASK_TRIGGER&) {}, TASK_TRIGGER_TIME, {}, false},
      {ttDaily, [](TASK_TRIGGER&) {}, TASK_TRIGGER_DAILY, {{L"DaysInterval", L"1"}}, false},
      {ttDaily, [](TASK_TRIGGER& r) { r.Type.Daily.DaysInterval = 3; }, TASK_TRIGGER_DAILY, {{L"DaysInterval", L"3"}}, false},
      {ttWeekly, [](TASK_TRIGGER& r) { r.Type.Weekly.rgfDaysOfTheWeek = TASK_MONDAY | TASK_FRIDAY; },
       TASK_TRIGGER_WEEKLY, {{L"WeeksInterval", L"1"}, {L"DaysOfWeek", L"34"}}, false},
      {ttMonthlyDate,
       [](TASK_TRIGGER& r) {
         r.Type.MonthlyDate.rgfDays = 0x80000001;
         r.Type.MonthlyDate.rgfMonths = TASK_MARCH;
       },
       TASK_TRIGGER_MONTHLY, {{L"DaysOfMonth", std::to_wstring(long(0x80000001))}, {L"MonthsOfYear", L"4"}}, false},
      {ttMonthlyDayOfWeek,
       [](TASK_TRIGGER& r) {
         r.Type.MonthlyDOW.wWhichWeek = TASK_LAST_WEEK;
         r.Type.MonthlyDOW.rgfDaysOfTheWeek = TASK_SUNDAY;
         r.Type.MonthlyDOW.rgfMonths = TASK_JANUARY | TASK_DECEMBER;
       },
       TASK_TRIGGER_MONTHLYDOW,
       {{L"DaysOfWeek", L"1"}, {L"WeeksOfMonth", L"16"}, {L"RunOnLastWeekOfMonth", L"-1"}, {L"MonthsOfYear", L"2049"}},
       false},
      {ttMonthlyDayOfWeek, [](TASK_TRIGGER& r) { r.Type.MonthlyDOW.wWhichWeek = 2; }, TASK_TRIGGER_MONTHLYDOW,
       {{L"DaysOfWeek", L"0"}, {L"WeeksOfMonth", L"2"}, {L"RunOnLastWeekOfMonth", L"0"}, {L"MonthsOfYear", L"0"}}, false},
      {ttIdle, [](TASK_TRIGGER&) {}, TASK_TRIGGER_IDLE, {}, true},
      {ttBoot, [](TASK_TRIGGER&) {}, TASK_TRIGGER_BOOT, {}, true},
      {ttLogon, [](TASK_TRIGGER&) {}, TASK_TRIGGER_LOGON, {{L"UserId", L"someone"}}, true},
      {ttRemoteConnect, [](TASK_TRIGGER&) {}, TASK_TRIGGER_SESSION_STATE_CHANGE,
       {{L"StateChange", L"3"}, {L"UserId", L"someone"}}, true},
      {ttRemoteDisconnect, [](TASK_TRIGGER&) {}, TASK_TRIGGER_SESSION_STATE_CHANGE,
       {{L"StateChange", L"4"}, {L"UserId", L"someone"}}, true},
      {ttSessionLock, [](TASK_TRIGGER&) {}, TASK_TRIGGER_SESSION_STATE_CHANGE,
       {{L"StateChange", L"7"}, {L"UserId", L"someone"}}, true},
      {ttSessionUnlock, [](TASK_TRIGGER&) {}, TASK_TRIGGER_SESSION_STATE_CHANGE,
       {{L"StateChange", L"8"}, {L"UserId", L"someone"}}, true},
  };
  for (const auto& c : cases) {
    SetUp();  // a fresh task and settings per case
    TTrigger* trigger = item_->Triggers()->Add(c.kind);
    ASSERT_TRUE(trigger) << c.kind;
    EXPECT_EQ(trigger->GetTriggerType(), c.kind);
    trigger->SetUserId(L"someone");
    c.setUp(trigger->Record());
    trigger->SetStartTime(EncodeTime(9, 5, 30, 0));
    trigger->SetStartDate(EncodeDate(2024, 3, 7));
    item_->Triggers()->Apply();
    ASSERT_EQ(triggers_.types.back(), c.systemType) << c.kind;
    TValues expected = c.expected;
    expected[L"StartBoundary"] = L"2024-03-07T09:05:00";
    EXPECT_EQ(*triggers_.created.back(), expected) << c.kind;
    EXPECT_EQ(StartWhenAvailable(), c.catchUp) << c.kind;
  }
}

TEST_F(TaskTriggersTest, EndBoundaryOnlyWithTheEndDateFlag) {
  TTrigger* trigger = item_->Triggers()->Add(ttLogon);
  trigger->Record().wEndYear = 2024;
  trigger->Record().wEndMonth = 4;
  trigger->Record().wEndDay = 7;
  item_->Triggers()->Apply();
  EXPECT_EQ(triggers_.created.back()->count(L"EndBoundary"), 0u);
  EXPECT_DOUBLE_EQ(trigger->GetEndDate(), EncodeDate(2024, 4, 7));
  trigger->Record().rgFlags |= TASK_TRIGGER_FLAG_HAS_END_DATE;
  item_->Triggers()->Apply();
  // The whole end day still counts.
  EXPECT_EQ(triggers_.created.back()->at(L"EndBoundary"), L"2024-04-07T23:59:59");
}

TEST_F(TaskTriggersTest, AWeekOfTheMonthOutsideOneToFiveIsRefused) {
  TTrigger* trigger = item_->Triggers()->Add(ttMonthlyDayOfWeek);
  for (int week : {0, 6}) {
    trigger->Record().Type.MonthlyDOW.wWhichWeek = static_cast<WORD>(week);
    try {
      item_->Triggers()->Apply();
      ADD_FAILURE() << week;
    } catch (const ETriggerError& e) {
      EXPECT_EQ(e.Message(), L"Week of the month out of range (" + std::to_wstring(week) + L")");
    }
    EXPECT_EQ(triggers_.created.back()->count(L"WeeksOfMonth"), 0u);
  }
}

TEST_F(TaskTriggersTest, TypesWithoutASystemTriggerMakeNothing) {
  EXPECT_EQ(item_->Triggers()->Add(12), nullptr);
  EXPECT_EQ(item_->Triggers()->Add(-1), nullptr);
  EXPECT_EQ(item_->Triggers()->Count(), 0);
  EXPECT_TRUE(triggers_.types.empty());
  for (int index : {-1, 0}) {
    try {
      item_->Triggers()->Items(index);
      ADD_FAILURE();
    } catch (const ETriggerError& e) {
      EXPECT_EQ(e.Message(), L"Trigger index out of bounds (" + std::to_wstring(index) + L")");
    }
  }
}

TEST_F(TaskTriggersTest, StartDateReadsTheBoundaryBack) {
  TTrigger* trigger = item_->Triggers()->Add(ttOnce);
  EXPECT_EQ(trigger->GetStartDate(), 0);  // neither a boundary nor a date yet
  trigger->SetStartTime(EncodeTime(23, 59, 0, 0));
  trigger->SetStartDate(EncodeDate(2024, 2, 29));
  EXPECT_EQ(triggers_.created.back()->at(L"StartBoundary"), L"2024-02-29T23:59:00");
  EXPECT_DOUBLE_EQ(trigger->GetStartDate(), EncodeDate(2024, 2, 29));
}

// The slot of each method of our declarations is the one the system's type library
// gives it (GCC's pointer to a virtual member holds 1 + the byte offset in the table).
template <class I, class M>
int SlotOf(M I::*method) {
  static_assert(sizeof(method) >= sizeof(std::ptrdiff_t));
  std::ptrdiff_t raw = 0;
  std::memcpy(&raw, &method, sizeof raw);
  return static_cast<int>((raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

struct TSlot {
  const wchar_t* name;
  INVOKEKIND kind;
  int slot;
};

std::vector<TSlot> LibrarySlots(ITypeLib* library, REFIID iid) {
  std::vector<TSlot> slots;
  TComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfoOfGuid(iid, info.Put()))) return slots;
  // A dual interface is found as its dispatch part; the table is the other half.
  HREFTYPE ref = 0;
  TComPtr<ITypeInfo> vtable;
  if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(info->GetRefTypeInfo(ref, vtable.Put()))) info = vtable;
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    info->GetFuncDesc(i, &f);
    TBstr name;
    info->GetDocumentation(f->memid, name.Put(), nullptr, nullptr, nullptr);
    static std::vector<std::wstring> names;  // kept for the lifetime of the test program
    names.push_back(name.Text());
    slots.push_back({names.back().c_str(), f->invkind, int(f->oVft / sizeof(void*))});
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(attr);
  return slots;
}

int Find(const std::vector<TSlot>& slots, const wchar_t* name, INVOKEKIND kind) {
  for (const auto& s : slots)
    if (std::wstring(s.name) == name && s.kind == kind) return s.slot;
  return -1;
}

TEST(TaskTriggerInterfaces, SlotsMatchTheSystemTypeLibrary) {
  TOleInitialization ole;
  TComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLib(L"taskschd.dll", library.Put()), S_OK);
  // Some schedulers' libraries (wine's) describe only the time and daily triggers.
  // Where the others are missing, what can be checked is that each of our tables
  // starts right after the common trigger's, as the library lays that one out.
  TComPtr<ITypeInfo> logon;
  if (FAILED(library->GetTypeInfoOfGuid(__uuidof(ILogonTrigger), logon.Put()))) {
    int base = 0;
    for (const TSlot& s : LibrarySlots(library.Get(), __uuidof(ITrigger))) base = std::max(base, s.slot + 1);
    ASSERT_GT(base, 7) << "the common trigger is not described either";
    EXPECT_EQ(SlotOf(&IWeeklyTrigger::get_DaysOfWeek), base);
    EXPECT_EQ(SlotOf(&IMonthlyTrigger::get_DaysOfMonth), base);
    EXPECT_EQ(SlotOf(&IMonthlyDOWTrigger::get_DaysOfWeek), base);
    EXPECT_EQ(SlotOf(&IBootTrigger::get_Delay), base);
    EXPECT_EQ(SlotOf(&ILogonTrigger::get_Delay), base);
    EXPECT_EQ(SlotOf(&ISessionStateChangeTrigger::get_Delay), base);
    return;
  }
  constexpr INVOKEKIND get = INVOKE_PROPERTYGET, put = INVOKE_PROPERTYPUT;
#define QORN_SLOT(I, Name, Kind, Method) \
  EXPECT_EQ(Find(LibrarySlots(library.Get(), __uuidof(I)), L"" #Name, Kind), SlotOf(&I::Method)) << #I "." #Method
  QORN_SLOT(IWeeklyTrigger, DaysOfWeek, get, get_DaysOfWeek);
  QORN_SLOT(IWeeklyTrigger, DaysOfWeek, put, put_DaysOfWeek);
  QORN_SLOT(IWeeklyTrigger, WeeksInterval, get, get_WeeksInterval);
  QORN_SLOT(IWeeklyTrigger, WeeksInterval, put, put_WeeksInterval);
  QORN_SLOT(IWeeklyTrigger, RandomDelay, put, put_RandomDelay);
  QORN_SLOT(IMonthlyTrigger, DaysOfMonth, get, get_DaysOfMonth);
  QORN_SLOT(IMonthlyTrigger, DaysOfMonth, put, put_DaysOfMonth);
  QORN_SLOT(IMonthlyTrigger, MonthsOfYear, put, put_MonthsOfYear);
  QORN_SLOT(IMonthlyTrigger, RunOnLastDayOfMonth, put, put_RunOnLastDayOfMonth);
  QORN_SLOT(IMonthlyTrigger, RandomDelay, put, put_RandomDelay);
  QORN_SLOT(IMonthlyDOWTrigger, DaysOfWeek, put, put_DaysOfWeek);
  QORN_SLOT(IMonthlyDOWTrigger, WeeksOfMonth, put, put_WeeksOfMonth);
  QORN_SLOT(IMonthlyDOWTrigger, MonthsOfYear, put, put_MonthsOfYear);
  QORN_SLOT(IMonthlyDOWTrigger, RunOnLastWeekOfMonth, put, put_RunOnLastWeekOfMonth);
  QORN_SLOT(IMonthlyDOWTrigger, RandomDelay, put, put_RandomDelay);
  QORN_SLOT(IBootTrigger, Delay, put, put_Delay);
  QORN_SLOT(ILogonTrigger, Delay, put, put_Delay);
  QORN_SLOT(ILogonTrigger, UserId, get, get_UserId);
  QORN_SLOT(ILogonTrigger, UserId, put, put_UserId);
  QORN_SLOT(ISessionStateChangeTrigger, Delay, put, put_Delay);
  QORN_SLOT(ISessionStateChangeTrigger, UserId, put, put_UserId);
  QORN_SLOT(ISessionStateChangeTrigger, StateChange, get, get_StateChange);
  QORN_SLOT(ISessionStateChangeTrigger, StateChange, put, put_StateChange);
  // The idle trigger adds nothing; its identifier is the system's.
  TComPtr<ITypeInfo> idle;
  EXPECT_EQ(library->GetTypeInfoOfGuid(__uuidof(IIdleTrigger), idle.Put()), S_OK);
#undef QORN_SLOT
}

}  // namespace
