#include "services/TaskScheduler.h"

#include <algorithm>

#include "services/ComText.h"
#include "vcl/Publisher.h"

int CompareTaskNames(const std::wstring& A, const std::wstring& B) {
  const std::wstring a = PlainName(A), b = PlainName(B);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

TTaskScheduler::TTaskScheduler(TComponent* AOwner) : TTaskScheduler(AOwner, SystemTaskScheduler()) {}

TTaskScheduler::TTaskScheduler(TComponent* AOwner, TTaskSchedulerSystem System)
    : TComponent(AOwner), FSystem(std::move(System)) {}

// Items go before the service objects they were made from.
TTaskScheduler::~TTaskScheduler() { FItems.clear(); }

void TTaskScheduler::Publish(TPublisher<TTaskScheduler>& p) {
  p.Property(L"Active", &TTaskScheduler::GetActive, &TTaskScheduler::SetActive).Default(false);
  p.Property(L"AutoRefresh", &TTaskScheduler::AutoRefresh).Default(false);
  p.Property(L"Duplicate", &TTaskScheduler::Duplicate).Default(tdError);
  p.Property(L"OnBeforeTaskAdded", &TTaskScheduler::OnBeforeTaskAdded);
  p.Property(L"UseTaskScheduler1Only", &TTaskScheduler::UseTaskScheduler1Only).Default(false);
  p.Property(L"ShowHidden", &TTaskScheduler::ShowHidden).Default(false);
}

bool TTaskScheduler::GetActive() const { return IsVersion2() ? bool(FService) : bool(FScheduler1); }

void TTaskScheduler::SetActive(bool Value) {
  if (Value) {
    OpenScheduler();
  } else {
    FScheduler1.Reset();
  }
}

void TTaskScheduler::OpenScheduler() {
  FItems.clear();
  FLastListing.Reset();
  FService.Reset();
  FScheduler1.Reset();
  if (!FSystem.StartService || !FSystem.StartService()) throw ESchedulerError(SSchedulerNotRunning);
  if (IsVersion2()) {
    TComPtr<ITaskService> service = FSystem.CreateTaskService();
    TVariantArg none;
    OleCheck(service->Connect(none.Get(), none.Get(), none.Get(), none.Get()));
    FService = std::move(service);
  } else {
    FScheduler1 = FSystem.CreateTaskScheduler1();
  }
}

TComPtr<ITaskFolder> TTaskScheduler::RootFolder() const {
  if (!FService) throw ESchedulerError(SSchedulerNotRunning);
  TComPtr<ITaskFolder> root;
  TBstr path(L"");
  OleCheck(FService->GetFolder(path.Get(), root.Put()));
  if (!root) throw ESchedulerError(SSchedulerNotRunning);
  return root;
}

void TTaskScheduler::Listed(std::unique_ptr<TTaskItem> Item) {
  bool canAdd = true;
  if (OnBeforeTaskAdded) OnBeforeTaskAdded(this, Item.get(), canAdd);
  if (canAdd) FItems.push_back(std::move(Item));
}

void TTaskScheduler::Refresh() {
  FItems.clear();
  if (IsVersion2()) {
    TComPtr<ITaskFolder> root = RootFolder();
    FLastListing.Reset();
    OleCheck(root->GetTasks(ShowHidden ? TASK_ENUM_HIDDEN : 0, FLastListing.Put()));
    if (!FLastListing) throw ESchedulerError(SSchedulerNotRunning);
    LONG count = 0;
    OleCheck(FLastListing->get_Count(&count));
    for (LONG i = 1; i <= count; ++i) {
      VARIANT index;
      VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = i;
      TComPtr<IRegisteredTask> task;
      OleCheck(FLastListing->get_Item(index, task.Put()));
      if (!task) continue;
      TBstr name;
      OleCheck(task->get_Name(name.Put()));
      auto item = std::make_unique<TTaskItem>(this, name.Text());
      OleCheck(task->get_Definition(item->FDefinition.Put()));
      item->FRegistered = std::move(task);
      Listed(std::move(item));
    }
  } else {
    if (!FScheduler1) throw ESchedulerError(SSchedulerNotRunning);
    TComPtr<IEnumWorkItems> names;
    OleCheck(FScheduler1->Enum(names.Put()));
    for (;;) {
      LPWSTR* fetched = nullptr;
      ULONG count = 0;
      if (names->Next(1, &fetched, &count) != S_OK || count == 0 || !fetched) break;
      const std::wstring name = fetched[0];
      CoTaskMemFree(fetched[0]);
      CoTaskMemFree(fetched);
      // The listing gives the file name; the scheduler is asked by the task's name,
      // which every version takes.
      TComPtr<ITask> task;
      if (FAILED(FScheduler1->Activate(PlainName(name).c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Put()))))
        continue;
      auto item = std::make_unique<TTaskItem>(this, name);
      item->FTask1 = std::move(task);
      Listed(std::move(item));
    }
  }
  SortItems();
}

void TTaskScheduler::SortItems() {
  std::stable_sort(FItems.begin(), FItems.end(), [](const auto& a, const auto& b) {
    return CompareTaskNames(a->StoredName(), b->StoredName()) < 0;
  });
}

bool TTaskScheduler::FindTask(const std::wstring& Name, int& Index) const {
  int low = 0, high = Count() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = CompareTaskNames(FItems[middle]->StoredName(), Name);
    if (order == 0) {
      Index = middle;
      return true;
    }
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  Index = low;
  return false;
}

TTaskItem* TTaskScheduler::Add(const std::wstring& Name) {
  if (AutoRefresh) Refresh();
  const std::wstring key = JobName(Name);
  int index = 0;
  if (FindTask(key, index)) {
    if (Duplicate == tdError) throw ETaskError(STaskExists, {Name});
    return FItems[index].get();
  }
  auto item = std::make_unique<TTaskItem>(this, key);
  if (IsVersion2()) {
    TComPtr<ITaskService> service(FService);
    if (!service) throw ESchedulerError(SSchedulerNotRunning);
    RootFolder();
    OleCheck(service->NewTask(0, item->FDefinition.Put()));
    TComPtr<ITaskSettings> settings;
    OleCheck(item->FDefinition->get_Settings(settings.Put()));
    OleCheck(settings->put_Enabled(VARIANT_TRUE));
    OleCheck(settings->put_Hidden(VARIANT_FALSE));
    TComPtr<IPrincipal> principal;
    OleCheck(item->FDefinition->get_Principal(principal.Put()));
    // The interactive user is the default; a scheduler that has no logon types
    // (wine's) runs every task for that user anyway.
    const HRESULT logon = principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN);
    if (logon != E_NOTIMPL) OleCheck(logon);
  } else {
    if (!FScheduler1) throw ESchedulerError(SSchedulerNotRunning);
    const std::wstring plain = PlainName(key);
    TComPtr<ITask> existing;
    if (SUCCEEDED(FScheduler1->Activate(plain.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(existing.Put())))) {
      if (Duplicate == tdError) throw ETaskError(STaskExists, {Name});
      item->FTask1 = std::move(existing);
    } else {
      OleCheck(FScheduler1->NewWorkItem(plain.c_str(), CLSID_CTask, IID_ITask,
                                        reinterpret_cast<IUnknown**>(item->FTask1.Put())));
      item->SetFlags(BitOf(tfDontStartIfOnBatteries) | BitOf(tfKillIfGoingOnBatteries));
    }
  }
  TTaskItem* added = item.get();
  FItems.insert(FItems.begin() + index, std::move(item));
  return added;
}

void TTaskScheduler::Delete(const std::wstring& Name) {
  const bool version2 = IsVersion2();
  const std::wstring key = version2 ? Name : JobName(Name);
  int index = 0;
  if (FindTask(key, index)) FItems.erase(FItems.begin() + index);
  if (version2) {
    TBstr plain(PlainName(key));
    OleCheck(RootFolder()->DeleteTask(plain.Get(), 0));
  } else {
    if (!FScheduler1) throw ESchedulerError(SSchedulerNotRunning);
    const std::wstring plain = PlainName(key);
    OleCheck(RetryWhileTheServiceReads([&] { return FScheduler1->Delete(plain.c_str()); }));
  }
}

TTaskItem* TTaskScheduler::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw ESchedulerError(STaskIndexError, {Index});
  return FItems[Index].get();
}

QORN_REGISTER_CLASS(TTaskScheduler);
