#include "services/ComText.h"
#include "services/TaskScheduler.h"

TTaskItem::TTaskItem(TTaskScheduler* Owner, std::wstring StoredName)
    : FOwner(Owner), FStoredName(std::move(StoredName)), FTriggers(std::make_unique<TTriggers>(this)) {}

// Triggers hold objects of this task: they go first.
TTaskItem::~TTaskItem() { FTriggers.reset(); }

void TTaskItem::NotActivated() const { throw ETaskError(STaskNotActivated, {Name()}); }

ITaskDefinition& TTaskItem::NeedDefinition() const {
  if (!FDefinition) NotActivated();
  return *FDefinition.Get();
}

ITask& TTaskItem::NeedTask1() const {
  if (!FTask1) NotActivated();
  return *FTask1.Get();
}

TTriggers* TTaskItem::Triggers() {
  if (!FOwner->IsVersion2()) NeedTask1();
  return FTriggers.get();
}

void TTaskItem::AddAction(int Type) {
  if (!FOwner->IsVersion2()) return;
  TComPtr<IActionCollection> actions;
  OleCheck(NeedDefinition().get_Actions(actions.Put()));
  TComPtr<IAction> action;
  OleCheck(actions->Create(static_cast<TASK_ACTION_TYPE>(Type), action.Put()));
}

void TTaskItem::EnsureExecAction() {
  TComPtr<IActionCollection> actions;
  OleCheck(NeedDefinition().get_Actions(actions.Put()));
  LONG count = 0;
  OleCheck(actions->get_Count(&count));
  if (count > 0) return;
  TComPtr<IAction> action;
  OleCheck(actions->Create(TASK_ACTION_EXEC, action.Put()));
  FActionIndex = 1;
}

void TTaskItem::SetApplicationName(const std::wstring& Path) {
  if (!FOwner->IsVersion2()) {
    OleCheck(NeedTask1().SetApplicationName(Path.c_str()));
    return;
  }
  NeedDefinition();
  EnsureExecAction();
  TComPtr<IActionCollection> actions;
  OleCheck(FDefinition->get_Actions(actions.Put()));
  TComPtr<IAction> action;
  OleCheck(actions->get_Item(FActionIndex, action.Put()));
  TComPtr<IExecAction> exec = action.As<IExecAction>(__uuidof(IExecAction));
  if (!exec) throw EOleSysError(L"Interface not supported", E_NOINTERFACE);
  TBstr path(Path);
  OleCheck(exec->put_Path(path.Get()));
}

void TTaskItem::SetComment(const std::wstring& Text) {
  if (!FOwner->IsVersion2()) {
    OleCheck(NeedTask1().SetComment(Text.c_str()));
    return;
  }
  TComPtr<IRegistrationInfo> info;
  OleCheck(NeedDefinition().get_RegistrationInfo(info.Put()));
  TBstr text(Text);
  OleCheck(info->put_Description(text.Get()));
}

void TTaskItem::SetCreator(const std::wstring& Text) {
  if (!FOwner->IsVersion2()) {
    OleCheck(NeedTask1().SetCreator(Text.c_str()));
    return;
  }
  TComPtr<IRegistrationInfo> info;
  OleCheck(NeedDefinition().get_RegistrationInfo(info.Put()));
  TBstr text(Text);
  OleCheck(info->put_Author(text.Get()));
}

TTaskFlags TTaskItem::GetFlags() const {
  DWORD flags = 0;
  OleCheck(NeedTask1().GetFlags(&flags));
  return TaskFlagsFromSystem(flags);
}

void TTaskItem::SetFlags(TTaskFlags Flags) { OleCheck(NeedTask1().SetFlags(TaskFlagsToSystem(Flags))); }

namespace {

// The Boolean settings of the option word, by bit; bit 1 is read but never written,
// and the idle bits and the logon bit live on other objects.
struct TSettingsFlag {
  int bit;
  HRESULT (STDMETHODCALLTYPE ITaskSettings::*get)(VARIANT_BOOL*);
  HRESULT (STDMETHODCALLTYPE ITaskSettings::*put)(VARIANT_BOOL);
};
constexpr TSettingsFlag SettingsFlags[] = {
    {toAllowDemandStart, &ITaskSettings::get_AllowDemandStart, &ITaskSettings::put_AllowDemandStart},
    {toAllowHardTerminate, &ITaskSettings::get_AllowHardTerminate, nullptr},
    {toDisallowStartIfOnBatteries, &ITaskSettings::get_DisallowStartIfOnBatteries,
     &ITaskSettings::put_DisallowStartIfOnBatteries},
    {toStopIfGoingOnBatteries, &ITaskSettings::get_StopIfGoingOnBatteries, &ITaskSettings::put_StopIfGoingOnBatteries},
    {toEnabled, &ITaskSettings::get_Enabled, &ITaskSettings::put_Enabled},
    {toHidden, &ITaskSettings::get_Hidden, &ITaskSettings::put_Hidden},
    {toRunOnlyIfIdle, &ITaskSettings::get_RunOnlyIfIdle, &ITaskSettings::put_RunOnlyIfIdle},
    {toRunOnlyIfNetworkAvailable, &ITaskSettings::get_RunOnlyIfNetworkAvailable,
     &ITaskSettings::put_RunOnlyIfNetworkAvailable},
    {toStartWhenAvailable, &ITaskSettings::get_StartWhenAvailable, &ITaskSettings::put_StartWhenAvailable},
    {toWakeToRun, &ITaskSettings::get_WakeToRun, &ITaskSettings::put_WakeToRun},
};

struct TIdleFlag {
  int bit;
  HRESULT (STDMETHODCALLTYPE IIdleSettings::*get)(VARIANT_BOOL*);
  HRESULT (STDMETHODCALLTYPE IIdleSettings::*put)(VARIANT_BOOL);
};
constexpr TIdleFlag IdleFlags[] = {
    {toStopOnIdleEnd, &IIdleSettings::get_StopOnIdleEnd, &IIdleSettings::put_StopOnIdleEnd},
    {toRestartOnIdle, &IIdleSettings::get_RestartOnIdle, &IIdleSettings::put_RestartOnIdle},
};

}  // namespace

TTaskOptions TTaskItem::GetOptions() const {
  if (!FOwner->IsVersion2()) return 0;
  ITaskDefinition& definition = NeedDefinition();
  TTaskOptions options = 0;
  for (int bit = 0; bit < TaskOptionBitCount; ++bit) {
    VARIANT_BOOL value = VARIANT_FALSE;
    if (bit == toInteractiveLogon) {
      TComPtr<IPrincipal> principal;
      OleCheck(definition.get_Principal(principal.Put()));
      TASK_LOGON_TYPE logon = TASK_LOGON_NONE;
      OleCheck(principal->get_LogonType(&logon));
      value = ToVariantBool(logon == TASK_LOGON_INTERACTIVE_TOKEN);
    } else {
      TComPtr<ITaskSettings> settings;
      OleCheck(definition.get_Settings(settings.Put()));
      if (bit == toStopOnIdleEnd || bit == toRestartOnIdle) {
        TComPtr<IIdleSettings> idle;
        OleCheck(settings->get_IdleSettings(idle.Put()));
        for (const auto& f : IdleFlags)
          if (f.bit == bit) OleCheck((idle.Get()->*f.get)(&value));
      } else {
        for (const auto& f : SettingsFlags)
          if (f.bit == bit) OleCheck((settings.Get()->*f.get)(&value));
      }
    }
    if (value != VARIANT_FALSE) options |= BitOf(bit);
  }
  return options;
}

void TTaskItem::SetOptions(TTaskOptions Options) {
  if (!FOwner->IsVersion2()) return;
  ITaskDefinition& definition = NeedDefinition();
  for (int bit = 0; bit < TaskOptionBitCount; ++bit) {
    const VARIANT_BOOL value = ToVariantBool(HasBit(Options, bit));
    if (bit == toAllowHardTerminate) continue;
    if (bit == toInteractiveLogon) {
      TComPtr<IPrincipal> principal;
      OleCheck(definition.get_Principal(principal.Put()));
      OleCheck(principal->put_LogonType(value ? TASK_LOGON_INTERACTIVE_TOKEN : TASK_LOGON_PASSWORD));
      continue;
    }
    TComPtr<ITaskSettings> settings;
    OleCheck(definition.get_Settings(settings.Put()));
    if (bit == toStopOnIdleEnd || bit == toRestartOnIdle) {
      TComPtr<IIdleSettings> idle;
      OleCheck(settings->get_IdleSettings(idle.Put()));
      for (const auto& f : IdleFlags)
        if (f.bit == bit) OleCheck((idle.Get()->*f.put)(value));
    } else {
      for (const auto& f : SettingsFlags)
        if (f.bit == bit) OleCheck((settings.Get()->*f.put)(value));
    }
  }
}

void TTaskItem::SetUnlimitedRunTime() {
  if (!FOwner->IsVersion2()) {
    OleCheck(NeedTask1().SetMaxRunTime(INFINITE));
    return;
  }
  TComPtr<ITaskSettings> settings;
  OleCheck(NeedDefinition().get_Settings(settings.Put()));
  TBstr limit(L"P7777D");
  OleCheck(settings->put_ExecutionTimeLimit(limit.Get()));
}

void TTaskItem::Register(const std::wstring& User, const std::wstring& Password, TASK_LOGON_TYPE LogonType) {
  TBstr name(Name());
  TVariantArg user = TVariantArg::TextOrEmpty(User), password = TVariantArg::TextOrEmpty(Password), security;
  TComPtr<IRegisteredTask> registered;
  OleCheck(FOwner->RootFolder()->RegisterTaskDefinition(name.Get(), FDefinition.Get(), TASK_CREATE_OR_UPDATE,
                                                          user.Get(), password.Get(), LogonType, security.Get(),
                                                          registered.Put()));
  FRegistered = std::move(registered);
}

namespace {

TASK_LOGON_TYPE CurrentLogonType(ITaskDefinition& definition) {
  TComPtr<IPrincipal> principal;
  OleCheck(definition.get_Principal(principal.Put()));
  TASK_LOGON_TYPE logon = TASK_LOGON_INTERACTIVE_TOKEN;
  // A scheduler without logon types (wine's) registers for the interactive user.
  const HRESULT result = principal->get_LogonType(&logon);
  if (result == E_NOTIMPL) return TASK_LOGON_INTERACTIVE_TOKEN;
  OleCheck(result);
  return logon;
}

}  // namespace

void TTaskItem::SetAccountInformation(const std::wstring& User, const std::wstring& Password) {
  if (!FOwner->IsVersion2()) {
    OleCheck(NeedTask1().SetAccountInformation(User.c_str(), Password.empty() ? nullptr : Password.c_str()));
    return;
  }
  ITaskDefinition& definition = NeedDefinition();
  TComPtr<IPrincipal> principal;
  OleCheck(definition.get_Principal(principal.Put()));
  if (!Password.empty()) {
    TBstr user(User);
    OleCheck(principal->put_UserId(user.Get()));
    FUserId = User;
    Register(User, Password, TASK_LOGON_PASSWORD);
    FPassword = Password;
    return;
  }
  TBstr user(User.empty() ? std::wstring(L"System") : User);
  OleCheck(principal->put_UserId(user.Get()));
  OleCheck(principal->put_LogonType(User.empty() ? TASK_LOGON_SERVICE_ACCOUNT : TASK_LOGON_INTERACTIVE_TOKEN));
  Register(L"", L"", CurrentLogonType(definition));
  FUserId.clear();
  FPassword = Password;
}

void TTaskItem::Save() {
  if (!FOwner->IsVersion2()) {
    TComPtr<IPersistFile> file = TComPtr<ITask>(FTask1).As<IPersistFile>(IID_IPersistFile);
    NeedTask1();
    if (!file) throw EOleSysError(L"Interface not supported", E_NOINTERFACE);
    OleCheck(RetryWhileTheServiceReads([&] { return file->Save(nullptr, TRUE); }));
    return;
  }
  Register(FUserId, FPassword, CurrentLogonType(NeedDefinition()));
}
