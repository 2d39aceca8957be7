// The task scheduler component against the system's scheduler (under wine: its
// "Schedule" service, taskschd and mstask). The tasks this test makes carry a
// private prefix and are deleted again.
// ctest-lock: task-scheduler
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "services/TaskScheduler.h"
#include "testing/WinTesting.h"
#include "services/TaskTriggerInterfaces.h"
#include "services/ComText.h"
#include "vcl/Clock.h"
#include "vcl/ComObj.h"

namespace {

const std::wstring Prefix = L"QornTest-" + std::to_wstring(GetCurrentProcessId()) + L"-";

std::filesystem::path WindowsFolder() {
  wchar_t path[MAX_PATH];
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}
// Where the new scheduler keeps the XML of each task, and the old one its .job files.
std::filesystem::path TaskXmlFile(const std::wstring& name) { return WindowsFolder() / L"system32" / L"Tasks" / name; }
std::filesystem::path JobFile(const std::wstring& name) { return WindowsFolder() / L"Tasks" / (name + L".job"); }

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

DWORD SchedulerState() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceW(manager, L"Schedule", SERVICE_QUERY_STATUS);
  SERVICE_STATUS s{};
  QueryServiceStatus(service, &s);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return s.dwCurrentState;
}

class TaskSchedulerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Whatever a failed test left behind.
    for (const auto& entry : std::filesystem::directory_iterator(WindowsFolder() / L"system32" / L"Tasks")) {
      if (entry.path().filename().wstring().rfind(Prefix, 0) == 0) std::filesystem::remove(entry.path());
    }
    for (const auto& entry : std::filesystem::directory_iterator(WindowsFolder() / L"Tasks")) {
      if (entry.path().filename().wstring().rfind(Prefix, 0) == 0) std::filesystem::remove(entry.path());
    }
  }
  std::unique_ptr<TTaskScheduler> Open(bool version1) {
    auto scheduler = std::make_unique<TTaskScheduler>(nullptr);
    scheduler->UseTaskScheduler1Only = version1;
    scheduler->SetActive(true);
    return scheduler;
  }
  TOleInitialization ole_;
};

TEST_F(TaskSchedulerTest, ActivatingStartsTheServiceAndConnects) {
  TTaskScheduler scheduler(nullptr);
  ASSERT_TRUE(scheduler.IsVersion2());
  EXPECT_FALSE(scheduler.GetActive());
  scheduler.SetActive(true);
  EXPECT_TRUE(scheduler.GetActive());
  EXPECT_EQ(SchedulerState(), DWORD(SERVICE_RUNNING));
  EXPECT_NO_THROW(scheduler.RootFolder());
  // The old scheduler's object is another one: not there until activated under it.
  scheduler.UseTaskScheduler1Only = true;
  EXPECT_FALSE(scheduler.GetActive());
  scheduler.SetActive(true);
  EXPECT_TRUE(scheduler.GetActive());
  scheduler.SetActive(false);
  EXPECT_FALSE(scheduler.GetActive());
}

// A service of our own that may not start: the start reports it, at once.
TEST_F(TaskSchedulerTest, ADisabledOrMissingServiceDoesNotStart) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_TRUE(manager);
  const std::wstring name = Prefix + L"Disabled";
  SC_HANDLE service = CreateServiceW(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DISABLED, SERVICE_ERROR_IGNORE,
                                     L"C:\\windows\\system32\\notepad.exe", nullptr, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(service);
  EXPECT_FALSE(StartSchedulerService(name.c_str()));
  DeleteService(service);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  EXPECT_FALSE(StartSchedulerService((Prefix + L"Missing").c_str()));

  TTaskSchedulerSystem system = SystemTaskScheduler();
  system.StartService = [] { return StartSchedulerService((Prefix + L"Missing").c_str()); };
  TTaskScheduler scheduler(nullptr, system);
  try {
    scheduler.SetActive(true);
    ADD_FAILURE() << "activated without a service";
  } catch (const ESchedulerError& e) {
    EXPECT_EQ(e.Message(), L"Task Scheduler service is not running.");
  }
  EXPECT_FALSE(scheduler.GetActive());
}

TEST_F(TaskSchedulerTest, Version2RegistersReplacesAndDeletesATask) {
  auto scheduler = Open(false);
  const std::wstring name = Prefix + L"Daily";
  TTaskItem* item = scheduler->Add(name);
  EXPECT_EQ(item->Name(), name);
  EXPECT_EQ(item->StoredName(), name + L".job");
  item->SetComment(L"Automatically start Qorn when the user logs on");
  item->SetCreator(L"Quillmora Qorn");
  item->SetUnlimitedRunTime();
  TTrigger* daily = item->Triggers()->Add(ttDaily);
  ASSERT_TRUE(daily);
  daily->SetStartTime(EncodeTime(9, 5, 30, 0));
  daily->SetStartDate(EncodeDate(2024, 3, 7));
  item->Triggers()->Apply();
  // The daily trigger took the record through the system's own trigger object.
  TBstr start;
  ASSERT_EQ(daily->Trigger2()->get_StartBoundary(start.Put()), S_OK);
  EXPECT_EQ(start.Text(), L"2024-03-07T09:05:00");
  EXPECT_DOUBLE_EQ(daily->GetStartDate(), EncodeDate(2024, 3, 7));
  TComPtr<IDailyTrigger> typed;
  ASSERT_EQ(daily->Trigger2()->QueryInterface(__uuidof(IDailyTrigger), typed.PutVoid()), S_OK);
  short interval = 0;
  ASSERT_EQ(typed->get_DaysInterval(&interval), S_OK);
  EXPECT_EQ(interval, 1);
  EXPECT_FALSE(std::filesystem::exists(TaskXmlFile(name)));  // nothing stored before Save
  item->Save();
  ASSERT_TRUE(item->RegisteredTask());
  std::string xml = ReadText(TaskXmlFile(name));
  EXPECT_NE(xml.find("<Description>Automatically start Qorn when the user logs on</Description>"), std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<Author>Quillmora Qorn</Author>"), std::string::npos);
  EXPECT_NE(xml.find("<ExecutionTimeLimit>P7777D</ExecutionTimeLimit>"), std::string::npos);
  EXPECT_NE(xml.find("<Enabled>true</Enabled>"), std::string::npos);
  EXPECT_NE(xml.find("<Hidden>false</Hidden>"), std::string::npos);

  // Saving again under the same name replaces the task.
  item->SetComment(L"changed");
  item->Save();
  xml = ReadText(TaskXmlFile(name));
  EXPECT_NE(xml.find("<Description>changed</Description>"), std::string::npos) << xml;

  // Deleted by the plain name as by the stored one; the item goes with it.
  scheduler->Delete(name);
  EXPECT_FALSE(std::filesystem::exists(TaskXmlFile(name)));
  EXPECT_EQ(scheduler->Count(), 0);
  try {
    scheduler->Delete(name);
    ADD_FAILURE() << "deleted a task the system does not have";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  }
}

TEST_F(TaskSchedulerTest, Version2SettingsReachTheStoredTask) {
  auto scheduler = Open(false);
  const std::wstring name = Prefix + L"Settings";
  TTaskItem* item = scheduler->Add(name);
  // The settings of the option word that the system stores as plain settings.
  TComPtr<ITaskSettings> settings;
  ASSERT_EQ(item->Definition()->get_Settings(settings.Put()), S_OK);
  ASSERT_EQ(settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE), S_OK);
  ASSERT_EQ(settings->put_WakeToRun(VARIANT_TRUE), S_OK);
  item->Save();
  const std::string xml = ReadText(TaskXmlFile(name));
  EXPECT_NE(xml.find("<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<WakeToRun>true</WakeToRun>"), std::string::npos);
  scheduler->Delete(name);
}

TEST_F(TaskSchedulerTest, Version2ListsRegisteredTasksSorted) {
  auto scheduler = Open(false);
  for (const wchar_t* n : {L"zeta", L"Alpha", L"beta"}) scheduler->Add(Prefix + n)->Save();
  scheduler->Add(Prefix + L"Hidden");
  TComPtr<ITaskSettings> settings;
  try {
    scheduler->Refresh();
  } catch (const EOleSysError& e) {
    for (const wchar_t* n : {L"zeta", L"Alpha", L"beta"}) scheduler->Delete(Prefix + n);
    // A scheduler that cannot enumerate a folder (wine's) must say so, not list nothing.
    EXPECT_EQ(e.ErrorCode, E_NOTIMPL) << "listing failed for another reason";
    EXPECT_EQ(scheduler->Count(), 0);
    return;
  }
  std::vector<std::wstring> ours;
  for (int i = 0; i < scheduler->Count(); ++i) {
    if (scheduler->Items(i)->Name().rfind(Prefix, 0) == 0) ours.push_back(scheduler->Items(i)->Name());
  }
  EXPECT_EQ(ours, (std::vector<std::wstring>{Prefix + L"Alpha", Prefix + L"beta", Prefix + L"zeta"}));
  for (const wchar_t* n : {L"zeta", L"Alpha", L"beta"}) scheduler->Delete(Prefix + n);
}

// The whole log-on task as the autorun option builds it, on the old scheduler,
// which stores it as a .job file.
TEST_F(TaskSchedulerTest, Version1BuildsFindsAndDeletesTheLogonTask) {
  auto scheduler = Open(true);
  ASSERT_FALSE(scheduler->IsVersion2());
  const std::wstring name = Prefix + L"QornAutorunTask";
  TTaskItem* item = scheduler->Add(name);
  EXPECT_EQ(item->Name(), name);
  EXPECT_EQ(item->GetFlags(), BitOf(tfDontStartIfOnBatteries) | BitOf(tfKillIfGoingOnBatteries));
  item->SetActionIndex(1);
  item->AddAction(0);
  item->SetComment(L"Automatically start Qorn when the user logs on");
  item->SetCreator(L"Quillmora Qorn");
  item->SetFlags(item->GetFlags() & 0xF9FF);
  item->SetApplicationName(L"C:\\Program Files\\Qorn\\Qorn.exe");
  item->SetUnlimitedRunTime();
  TTrigger* logon = item->Triggers()->Add(ttLogon);
  ASSERT_TRUE(logon);
  logon->SetUserId(L"someone");
  logon->SetStartTime(0);
  logon->SetStartDate(EncodeDate(2024, 3, 7));
  item->Triggers()->Apply();
  item->SetFlags(item->GetFlags() | 0x10);
  item->SetAccountInformation(L"someone", L"");
  item->Save();
  EXPECT_TRUE(std::filesystem::exists(JobFile(name)));

  // Found again by a listing, with what was stored.
  scheduler->Refresh();
  int found = -1;
  for (int i = 0; i < scheduler->Count(); ++i) {
    if (scheduler->Items(i)->Name() == name) found = i;
  }
  ASSERT_GE(found, 0);
  TTaskItem* listed = scheduler->Items(found);
  EXPECT_EQ(listed->StoredName(), name + L".job");
  EXPECT_EQ(listed->GetFlags(), BitOf(tfRunOnlyIfLoggedOn));
  LPWSTR text = nullptr;
  ASSERT_EQ(listed->Task1()->GetApplicationName(&text), S_OK);
  EXPECT_STREQ(text, L"C:\\Program Files\\Qorn\\Qorn.exe");
  CoTaskMemFree(text);
  TComPtr<ITaskTrigger> trigger;
  ASSERT_EQ(listed->Task1()->GetTrigger(0, trigger.Put()), S_OK);
  TASK_TRIGGER record{};
  record.cbTriggerSize = sizeof record;
  ASSERT_EQ(trigger->GetTrigger(&record), S_OK);
  EXPECT_EQ(record.TriggerType, TASK_EVENT_TRIGGER_AT_LOGON);
  EXPECT_EQ(record.wBeginYear, 2024);
  EXPECT_EQ(record.wBeginDay, 7);

  // Listed in any case: the same task under tdError, the listed item otherwise.
  EXPECT_THROW(scheduler->Add(name), ETaskError);
  EXPECT_THROW(scheduler->Add(name + L".JOB"), ETaskError);
  scheduler->Duplicate = tdActivateFirst;
  EXPECT_EQ(scheduler->Add(name.substr(0, Prefix.size()) + L"qornautoruntask"), listed);

  scheduler->Delete(name);
  EXPECT_FALSE(std::filesystem::exists(JobFile(name)));
  EXPECT_THROW(scheduler->Delete(name), EOleSysError);
}

// The service reads a job right after it was saved: a call on the file while another
// reader has it open is made again, for a second at most.
TEST_F(TaskSchedulerTest, Version1JobFileHeldByAReaderIsDeletedOnceItLetsGo) {
  auto scheduler = Open(true);
  const std::wstring name = Prefix + L"Held";
  scheduler->Add(name)->Save();
  // The test's own reader may meet the service's one too: it waits its turn.
  auto holdOpen = [](const std::wstring& job) {
    HANDLE h = INVALID_HANDLE_VALUE;
    qorn::testing::WaitFor([&] {
      h = CreateFileW(JobFile(job).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      return h != INVALID_HANDLE_VALUE;
    }, std::chrono::seconds(10));
    return h;
  };
  HANDLE reader = holdOpen(name);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  int calls = 0;
  const HRESULT deleted = RetryWhileTheServiceReads([&] {
    const HRESULT result = scheduler->TaskScheduler1()->Delete(name.c_str());
    if (++calls == 2) CloseHandle(reader);
    return result;
  });
  EXPECT_EQ(deleted, S_OK);
  // Two calls refused while the test held the file; the service, reading the job
  // too, may refuse another after.
  EXPECT_GE(calls, 3) << "two calls refused while the file was held, the third after";
  EXPECT_FALSE(std::filesystem::exists(JobFile(name)));

  // A reader that never lets go: the refusal comes back once the second is over.
  const std::wstring kept = Prefix + L"HeldForGood";
  scheduler->Add(kept)->Save();
  reader = holdOpen(kept);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  TManualClock clock;
  TClockOverride useClock(clock);
  calls = 0;
  const HRESULT refused = RetryWhileTheServiceReads([&] {
    ++calls;
    clock.Advance(400);
    return scheduler->TaskScheduler1()->Delete(kept.c_str());
  });
  CloseHandle(reader);
  EXPECT_EQ(refused, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(calls, 3);
  EXPECT_TRUE(std::filesystem::exists(JobFile(kept)));
  scheduler->Delete(kept);
}

TEST_F(TaskSchedulerTest, Version1RefusesATaskTheSystemHasButTheListDoesNot) {
  auto scheduler = Open(true);
  const std::wstring name = Prefix + L"Unlisted";
  scheduler->Add(name)->Save();
  auto other = Open(true);  // never listed
  try {
    other->Add(name);
    ADD_FAILURE() << "added a task the system already has";
  } catch (const ETaskError& e) {
    EXPECT_EQ(e.Message(), L"Task with the name \"" + name + L"\" already exists.");
  }
  other->Duplicate = tdActivateFirst;
  TTaskItem* activated = other->Add(name);
  EXPECT_TRUE(activated->Task1());
  scheduler->Delete(name);
}

TEST_F(TaskSchedulerTest, Version1ListingIsSortedWithoutRegardToCaseAndFilterable) {
  auto scheduler = Open(true);
  for (const wchar_t* n : {L"zeta", L"Alpha", L"beta", L"Gamma"}) scheduler->Add(Prefix + n)->Save();
  scheduler->OnBeforeTaskAdded = [](TObject*, TTaskItem* task, bool& canAdd) {
    if (task->Name().ends_with(L"Gamma")) canAdd = false;
  };
  scheduler->Refresh();
  std::vector<std::wstring> ours;
  for (int i = 0; i < scheduler->Count(); ++i) {
    if (scheduler->Items(i)->Name().rfind(Prefix, 0) == 0) ours.push_back(scheduler->Items(i)->Name());
  }
  EXPECT_EQ(ours, (std::vector<std::wstring>{Prefix + L"Alpha", Prefix + L"beta", Prefix + L"zeta"}));
  // A new name goes where the order wants it.
  scheduler->Add(Prefix + L"BETB");
  int beta = -1, betb = -1;
  for (int i = 0; i < scheduler->Count(); ++i) {
    if (scheduler->Items(i)->Name() == Prefix + L"beta") beta = i;
    if (scheduler->Items(i)->Name() == Prefix + L"BETB") betb = i;
  }
  EXPECT_EQ(betb, beta + 1);
  for (int index : {-1, scheduler->Count()}) {
    try {
      scheduler->Items(index);
      ADD_FAILURE();
    } catch (const ESchedulerError& e) {
      EXPECT_EQ(e.Message(), L"Task index out of bounds (" + std::to_wstring(index) + L")");
    }
  }
  for (const wchar_t* n : {L"zeta", L"Alpha", L"beta", L"Gamma"}) scheduler->Delete(Prefix + n);
}

}  // namespace
