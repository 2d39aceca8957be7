// TTaskScheduler: lists, creates and deletes tasks of the Windows Task Scheduler,
// over the new scheduler (ITaskService, tasks as definitions in the root folder) or
// the old one (ITaskScheduler, tasks as ".job" files). TTaskItem is one task and
// TTriggers its triggers.
//
// Rules:
// - Main thread only; the thread's COM apartment belongs to the program
//   (TOleInitialization), the component opens none.
// - Every failure reaches the caller as an exception: ESchedulerError, ETaskError,
//   ETriggerError as below, or EOleSysError with the system's code for a failed call
//   into the scheduler. Nothing is shown and nothing is retried.
// - IsVersion2() is asked anew by every operation, so UseTaskScheduler1Only switches
//   the back end of the calls that follow.
// - Tasks are sorted and found by one comparison: the user's locale, case ignored,
//   on the plain names (without ".job"), so "A", "A.job" and "a" are one task.
// - Changes reach the system only through TTaskItem::Save and, on the new scheduler,
//   TTaskItem::SetAccountInformation; and through TTaskScheduler::Delete.
#pragma once
#include "vcl/Win.h"

#include <mstask.h>
#include <taskschd.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "services/TaskRecords.h"
#include "vcl/Classes.h"
#include "vcl/Collection.h"
#include "vcl/ComObj.h"

class TTaskScheduler;
class TTaskItem;
class TTriggers;

VCL_DECLARE_EXCEPTION(ESchedulerError, Exception);
VCL_DECLARE_EXCEPTION(ETaskError, Exception);
VCL_DECLARE_EXCEPTION(ETriggerError, Exception);

inline constexpr const wchar_t* SSchedulerNotRunning = L"Task Scheduler service is not running.";
inline constexpr const wchar_t* STaskIndexError = L"Task index out of bounds (%d)";
inline constexpr const wchar_t* STaskExists = L"Task with the name \"%s\" already exists.";
inline constexpr const wchar_t* STaskNotActivated = L"Task \"%s\" is not activated.";
inline constexpr const wchar_t* STriggerIndexError = L"Trigger index out of bounds (%d)";
// A monthly day-of-week trigger names week 1..4 of the month, or 5 for the last one.
inline constexpr const wchar_t* STriggerWeekError = L"Week of the month out of range (%d)";

// Starts the scheduler's service ("Schedule") when it does not run and waits, at most waitMs, until
// it runs, so that connecting right after succeeds. False when it cannot be opened or
// started (disabled, no rights) or does not come up in time.
bool StartSchedulerService(const wchar_t* serviceName = L"Schedule", std::uint64_t waitMs = 30000);
// Runs a call on a task's file again while the service itself has the file open
// (it reads a job right after it was saved): a sharing violation that lasts longer
// than a second is the caller's to report.
HRESULT RetryWhileTheServiceReads(const std::function<HRESULT()>& call);
// Windows 6 or later: the new scheduler is there.
bool IsWindowsVistaOrLater();
// Whether the user is an administrator; true when the system cannot tell.
bool IsUserAdmin();

// Where the component gets the system's scheduler; tests hand it fakes.
struct TTaskSchedulerSystem {
  bool HasVersion2 = true;
  std::function<bool()> StartService;
  // The new scheduler's service object, not yet connected.
  std::function<TComPtr<ITaskService>()> CreateTaskService;
  std::function<TComPtr<ITaskScheduler>()> CreateTaskScheduler1;
};
// The real ones: this Windows' version, StartSchedulerService and the system's classes.
TTaskSchedulerSystem SystemTaskScheduler();

QORN_ENUM(TTaskDuplicate, tdError, tdActivateFirst);

class TTaskScheduler : public TComponent {
  QORN_CLASS(TTaskScheduler, TComponent)
 public:
  explicit TTaskScheduler(TComponent* AOwner);
  TTaskScheduler(TComponent* AOwner, TTaskSchedulerSystem System);
  ~TTaskScheduler() override;

  // True when the back end's service object exists. Setting it connects (starting
  // the service first) or lets the old scheduler go.
  bool GetActive() const;
  void SetActive(bool Value);
  bool AutoRefresh = false;             // Add refreshes the list first
  TTaskDuplicate Duplicate = tdError;   // what Add does with a listed name
  bool UseTaskScheduler1Only = false;   // forces the old scheduler
  bool ShowHidden = false;              // the new scheduler's listing includes hidden tasks
  std::wstring GetVersion() const { return L"2.0.12"; }
  bool IsVersion2() const { return FSystem.HasVersion2 && !UseTaskScheduler1Only; }

  // Asked before a task found by Refresh joins the list; clearing CanAdd keeps it out.
  TEvent<void(TObject* Sender, TTaskItem* Task, bool& CanAdd)> OnBeforeTaskAdded;

  // Rebuilds the list from the system.
  void Refresh();
  // A new task (not yet in the system: see TTaskItem::Save), or under tdActivateFirst
  // the listed task of that name. Under tdError a listed name, or on the old
  // scheduler one the system already has, raises ETaskError.
  TTaskItem* Add(const std::wstring& Name);
  // Deletes the task from the system and drops its item; a task the system does not
  // have raises EOleSysError.
  void Delete(const std::wstring& Name);
  int Count() const { return static_cast<int>(FItems.size()); }
  TTaskItem* Items(int Index) const;

  // The objects of the back end in use (empty while not active); for the items.
  ITaskService* TaskService() const { return FService.Get(); }
  ITaskScheduler* TaskScheduler1() const { return FScheduler1.Get(); }
  TComPtr<ITaskFolder> RootFolder() const;

 private:
  static void Publish(TPublisher<TTaskScheduler>& p);
  void OpenScheduler();
  // Binary search of the sorted list; Index is the match or where the name belongs.
  bool FindTask(const std::wstring& Name, int& Index) const;
  void Listed(std::unique_ptr<TTaskItem> Item);
  void SortItems();

  TTaskSchedulerSystem FSystem;
  TComPtr<ITaskService> FService;
  TComPtr<ITaskScheduler> FScheduler1;
  TComPtr<IRegisteredTaskCollection> FLastListing;
  std::vector<std::unique_ptr<TTaskItem>> FItems;
};

// Negative, 0 or positive: the one order of task names (see the rules above).
int CompareTaskNames(const std::wstring& A, const std::wstring& B);

class TTaskItem : public TPersistent {
  QORN_CLASS(TTaskItem, TPersistent)
 public:
  // StoredName: "X.job" for items made by Add and by an old-scheduler listing, the
  // plain name for a new-scheduler listing.
  TTaskItem(TTaskScheduler* Owner, std::wstring StoredName);
  ~TTaskItem() override;

  std::wstring Name() const { return PlainName(FStoredName); }
  const std::wstring& StoredName() const { return FStoredName; }
  TTaskScheduler* Scheduler() const { return FOwner; }
  TTriggers* Triggers();
  // The new scheduler's definition (nullptr on the old one). Changes to it are the
  // caller's and are stored by Save.
  ITaskDefinition* Definition() const { return FDefinition.Get(); }
  IRegisteredTask* RegisteredTask() const { return FRegistered.Get(); }
  ITask* Task1() const { return FTask1.Get(); }

  // Which action (1-based) ApplicationName addresses on the new scheduler.
  void SetActionIndex(int Index) { FActionIndex = Index; }
  int ActionIndex() const { return FActionIndex; }
  // A new action of the type (0: run a program); nothing on the old scheduler.
  void AddAction(int Type);
  void SetApplicationName(const std::wstring& Path);
  void SetComment(const std::wstring& Text);
  void SetCreator(const std::wstring& Text);
  // Old scheduler only (bits of TTaskFlagBit).
  TTaskFlags GetFlags() const;
  void SetFlags(TTaskFlags Flags);
  // New scheduler only (bits of TTaskOptionBit); 0 and nothing on the old one.
  TTaskOptions GetOptions() const;
  void SetOptions(TTaskOptions Options);
  void SetUnlimitedRunTime();
  // The account the task runs as. On the new scheduler this registers the task at
  // once: with a password under that user, without one for the interactive user, and
  // with neither as the system account.
  void SetAccountInformation(const std::wstring& User, const std::wstring& Password);
  // Stores the task; on the new scheduler a task of the same name is replaced.
  void Save();

 private:
  friend class TTaskScheduler;
  friend class TTriggers;
  [[noreturn]] void NotActivated() const;
  ITaskDefinition& NeedDefinition() const;
  ITask& NeedTask1() const;
  void EnsureExecAction();
  void Register(const std::wstring& User, const std::wstring& Password, TASK_LOGON_TYPE LogonType);

  TTaskScheduler* FOwner;  // not owned: the scheduler owns its items
  std::wstring FStoredName;
  std::unique_ptr<TTriggers> FTriggers;
  TComPtr<ITask> FTask1;
  TComPtr<IRegisteredTask> FRegistered;
  TComPtr<ITaskDefinition> FDefinition;
  int FActionIndex = 0;
  std::wstring FUserId;
  std::wstring FPassword;
};

// One trigger. Its settings live in the old scheduler's trigger record for both back
// ends: the old one takes the record as it is, the new one gets it translated into
// its typed trigger by TTriggers::Apply.
class TTrigger : public TCollectionItem {
  QORN_CLASS(TTrigger, TCollectionItem)
 public:
  explicit TTrigger(TCollection* Collection);
  ~TTrigger() override;

  TASK_TRIGGER& Record() { return FRecord; }
  const TASK_TRIGGER& Record() const { return FRecord; }
  // The date of the start; on the new scheduler also its start boundary, at once.
  TDateTime GetStartDate() const;
  void SetStartDate(TDateTime Value);
  // The hour and minute of the start (seconds are dropped).
  void SetStartTime(TDateTime Value);
  // The record's end date; 0 when it has none.
  TDateTime GetEndDate() const;
  const std::wstring& GetUserId() const { return FUserId; }
  void SetUserId(const std::wstring& Value) { FUserId = Value; }
  int GetTriggerType() const { return FRecord.TriggerType & 0xFF; }
  void SetTriggerType(int Value);
  ITrigger* Trigger2() const { return FTrigger2.Get(); }
  ITaskTrigger* Trigger1() const { return FTrigger1.Get(); }

 private:
  friend class TTriggers;
  // The new scheduler's trigger from this record.
  void Apply2(ITaskDefinition& Definition);

  TComPtr<ITaskTrigger> FTrigger1;
  TComPtr<ITrigger> FTrigger2;
  TASK_TRIGGER FRecord{};
  std::wstring FUserId;
};

class TTriggers : public TCollection {
  QORN_CLASS(TTriggers, TCollection)
 public:
  explicit TTriggers(TTaskItem* Item);

  TTaskItem* Item() const { return FItem; }
  // A trigger of the type (TTaskTriggerKind); on the new scheduler nullptr, and
  // nothing created, for a type it has no trigger for.
  TTrigger* Add(int Type);
  // Raises ETriggerError outside 0..Count-1.
  TTrigger* Items(int Index) const;
  // Writes every trigger to its back end, in order.
  void Apply();

 private:
  TTaskItem* FItem;  // not owned: the item owns its triggers
};
