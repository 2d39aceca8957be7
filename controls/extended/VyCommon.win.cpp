#include "controls/extended/VyCommon.h"

#include "vcl/Controls.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/WinVersion.h"

#include <algorithm>

namespace Vy {

// --- frame controller

TVyFrameController::TVyFrameController(TComponent* AOwner) : TComponent(AOwner) {}

TVyFrameController::~TVyFrameController() = default;

void TVyFrameController::Publish(TPublisher<TVyFrameController>& p) {
  using T = TVyFrameController;
  p.Property(L"Color", &T::GetColor, &T::SetColor)
      .Default(clWindow)
      .Idents(ColorIdents)
      .Stored(&T::IsColorStored);
  p.Property(L"DisabledColor", &T::GetDisabledColor, &T::SetDisabledColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"FlatButtonColor", &T::GetFlatButtonColor, &T::SetFlatButtonColor)
      .Default(clBtnFace)
      .Idents(ColorIdents);
  p.Property(L"FlatButtons", &T::GetFlatButtons, &T::SetFlatButtons).Default(true);
  p.Property(L"FocusColor", &T::GetFocusColor, &T::SetFocusColor).Default(clWindow).Idents(ColorIdents);
  p.Property(L"FrameColor", &T::GetFrameColor, &T::SetFrameColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FrameHotColor", &T::GetFrameHotColor, &T::SetFrameHotColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FrameHotStyle", &T::GetFrameHotStyle, &T::SetFrameHotStyle).Default(fsFlatBold);
  p.Property(L"FrameHotTrack", &T::GetFrameHotTrack, &T::SetFrameHotTrack).Default(false);
  p.Property(L"FrameSides", &T::GetFrameSides, &T::SetFrameSides).Default(AllSides);
  p.Property(L"FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle).Default(fsFlat);
  p.Property(L"FrameVisible", &T::GetFrameVisible, &T::SetFrameVisible).Default(false);
  p.Property(L"FramingPreference", &T::GetFramingPreference, &T::SetFramingPreference).Default(fpXPThemes);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(false);
  p.Property(L"RegIniFile", &T::GetRegIniFile, &T::SetRegIniFile);
}

void TVyFrameController::SetRegIniFile(TVyRegIniFile* v) {
  if (v == FRegIniFile) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = v;
  if (v) v->FreeNotification(this);
}

void TVyFrameController::DefineProperties(TFiler& Filer) {
  TComponent::DefineProperties(Filer);
  DefineOldFrameProperties(
      Filer, [this](bool v) { SetFrameHotTrack(v); }, [this](TFrameStyle v) { SetFrameStyle(v); },
      [this](TFrameStyle v) { SetFrameHotStyle(v); });
}

void TVyFrameController::SetColor(TColor v) {
  if (FColor == v) return;
  const bool focusFollows = FFocusColor == FColor;
  const bool parentOff = FParentColor;
  if (focusFollows) FFocusColor = v;
  FParentColor = false;
  FColor = v;
  // The companions that moved along go to the controls too, so they never disagree.
  if (parentOff) ApplyToControls(TFramingCode::fcParentColor);
  ApplyToControls(TFramingCode::fcColor);
  if (focusFollows) ApplyToControls(TFramingCode::fcFocusColor);
}

void TVyFrameController::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  ApplyToControls(TFramingCode::fcParentColor);
  if (!v) ApplyToControls(TFramingCode::fcColor);
}

void TVyFrameController::SetFrameHotTrack(bool v) {
  if (FFrameHotTrack == v) return;
  FFrameHotTrack = v;
  if (v) {
    SetFrameVisible(true);
    if (!ComponentState().Contains(csLoading)) SetFrameSides(AllSides);
  }
  ApplyToControls(TFramingCode::fcFrameHotTrack);
}

void TVyFrameController::EndUpdate() {
  if (--FUpdateCount > 0) return;
  FUpdateCount = 0;
  ApplyToControls(TFramingCode::fcAll);
}

void TVyFrameController::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TVyFrameController*>(Source);
  if (!other) {
    TComponent::Assign(Source);
    return;
  }
  BeginUpdate();
  struct TEnd {
    TVyFrameController* c;
    ~TEnd() { c->EndUpdate(); }
  } end{this};
  SetColor(other->FColor);
  SetDisabledColor(other->FDisabledColor);
  SetFlatButtonColor(other->FFlatButtonColor);
  SetFlatButtons(other->FFlatButtons);
  SetFocusColor(other->FFocusColor);
  SetFrameColor(other->FFrameColor);
  SetFrameHotColor(other->FFrameHotColor);
  SetFrameHotStyle(other->FFrameHotStyle);
  SetFrameHotTrack(other->FFrameHotTrack);
  SetFrameSides(other->FFrameSides);
  SetFrameStyle(other->FFrameStyle);
  SetFrameVisible(other->FFrameVisible);
  SetFramingPreference(other->FFramingPreference);
  SetParentColor(other->FParentColor);
}

void TVyFrameController::AddControl(TComponent* control) {
  if (!control || std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return;
  FControls.push_back(control);
  control->FreeNotification(this);
  PushFraming(control, TFramingCode::fcAll);
}

void TVyFrameController::RemoveControl(TComponent* control) {
  std::erase(FControls, control);
  if (FControls.empty()) FControls.shrink_to_fit();
}

void TVyFrameController::Loaded() {
  TComponent::Loaded();
  ApplyToControls(TFramingCode::fcAll);
}

void TVyFrameController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  RemoveControl(AComponent);
}

void TVyFrameController::ApplyToControls(TFramingCode code) {
  if (FUpdateCount > 0 || FControls.empty()) return;
  // A control may leave while it is told (its handler frees another): walk a copy.
  const std::vector<TComponent*> controls = FControls;
  for (TComponent* c : controls)
    if (std::find(FControls.begin(), FControls.end(), c) != FControls.end()) PushFraming(c, code);
}

void TVyFrameController::PushFraming(TComponent* component, TFramingCode code) {
  if (!dynamic_cast<TControl*>(component)) return;
  if (auto* notify = dynamic_cast<IVyFramingNotify*>(component)) {
    notify->FramingChanged();
    return;
  }
  const TClassInfo& cls = component->ClassType();
  auto set = [&](const wchar_t* name, int64_t value) {
    const TPropInfo* prop = cls.FindProperty(name);
    if (prop && prop->Writable()) prop->SetOrd(component, value);
  };
  using C = TFramingCode;
  const bool all = code == C::fcAll;
  if (all || code == C::fcParentColor) set(L"ParentColor", FParentColor);
  if ((all && !FParentColor) || code == C::fcColor) set(L"Color", FColor);
  if (all || code == C::fcDisabledColor) set(L"DisabledColor", FDisabledColor);
  if (all || code == C::fcFocusColor) set(L"FocusColor", FFocusColor);
  if (all || code == C::fcFlatButtonColor) set(L"FlatButtonColor", FFlatButtonColor);
  if (all || code == C::fcFlatButtons) set(L"FlatButtons", FFlatButtons);
  if (all || code == C::fcFrameColor) set(L"FrameColor", FFrameColor);
  if (all || code == C::fcFrameHotColor) set(L"FrameHotColor", FFrameHotColor);
  if (all || code == C::fcFrameHotTrack) set(L"FrameHotTrack", FFrameHotTrack);
  if (all || code == C::fcFrameHotStyle) set(L"FrameHotStyle", FFrameHotStyle);
  if (all || code == C::fcFrameSides) set(L"FrameSides", int64_t(FFrameSides.Bits()));
  if (all || code == C::fcFrameStyle) set(L"FrameStyle", FFrameStyle);
  if (all || code == C::fcFrameVisible) set(L"FrameVisible", FFrameVisible);
  if (all || code == C::fcFramingPreference) set(L"FramingPreference", FFramingPreference);
}

void LinkFrameController(TComponent* control, TVyFrameController*& current, TVyFrameController* controller) {
  if (current == controller) return;
  if (current) {
    current->RemoveControl(control);
    control->RemoveFreeNotification(current);
  }
  current = controller;
  if (controller) {
    control->FreeNotification(controller);
    controller->AddControl(control);
  }
}

// --- blinking list

namespace {
TVyBlinkingControlsList* gBlinkingList = nullptr;
bool gTicking = false;
}  // namespace

TVyBlinkingControlsList::TVyBlinkingControlsList() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetInterval(intervalOn_);
  timer_->OnTimer = [this](TObject* sender) { OnTimer(sender); };
  timer_->SetEnabled(true);
}

TVyBlinkingControlsList::~TVyBlinkingControlsList() = default;

TVyBlinkingControlsList* TVyBlinkingControlsList::Instance() { return gBlinkingList; }

TVyBlinkingControlsList& TVyBlinkingControlsList::Join(TControl* control) {
  if (!gBlinkingList) gBlinkingList = new TVyBlinkingControlsList;
  auto& list = gBlinkingList->controls_;
  if (std::find(list.begin(), list.end(), control) == list.end()) list.push_back(control);
  return *gBlinkingList;
}

void TVyBlinkingControlsList::Leave(TControl* control) {
  if (!gBlinkingList) return;
  std::erase(gBlinkingList->controls_, control);
  // During a tick the list is still walking; the tick frees it once it is done.
  if (gBlinkingList->controls_.empty() && !gTicking) {
    delete gBlinkingList;
    gBlinkingList = nullptr;
  }
}

void TVyBlinkingControlsList::SetIntervalOff(unsigned ms) {
  intervalOff_ = ms;
  if (state_ == 0) timer_->SetInterval(ms);
}

void TVyBlinkingControlsList::SetIntervalOn(unsigned ms) {
  intervalOn_ = ms;
  if (state_ == 1) timer_->SetInterval(ms);
}

void TVyBlinkingControlsList::Tick() {
  state_ = state_ == 1 ? 0 : 1;
  timer_->SetInterval(state_ == 1 ? intervalOn_ : intervalOff_);
  gTicking = true;
  const std::vector<TControl*> controls = controls_;
  for (TControl* c : controls) {
    // A control freed by another's handling has left the list: never reach it.
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    if (c->Perform(CM_VYISBLINKING) == 1) c->Perform(CM_VYSETBLINKSTATE, uintptr_t(state_));
  }
  gTicking = false;
  if (controls_.empty() && gBlinkingList == this) {
    gBlinkingList = nullptr;
    delete this;
  }
}

// --- settings place

TVyRegIniFile::TVyRegIniFile(TComponent* AOwner) : TComponent(AOwner) {}
TVyRegIniFile::~TVyRegIniFile() = default;

void TVyRegIniFile::Publish(TPublisher<TVyRegIniFile>& p) {
  using T = TVyRegIniFile;
  p.Property(L"Path", &T::GetPath, &T::SetPath);
  p.Property(L"PathType", &T::GetPathType, &T::SetPathType).Default(ptIniFile);
  p.Property(L"RegKey", &T::GetRegKey, &T::SetRegKey).Default(hkeyCurrentUser);
  p.Property(L"RegAccess", &T::GetRegAccess, &T::SetRegAccess).Default(TVyRegAccess{keyAllAccess});
}

void TVyRegIniFile::SetPath(const std::wstring& v) {
  FPath = v;
  FReopen = true;
}
void TVyRegIniFile::SetPathType(TVyPathType v) {
  FPathType = v;
  FReopen = true;
}
void TVyRegIniFile::SetRegKey(TVyRegKey v) {
  FRegKey = v;
  FReopen = true;
}
void TVyRegIniFile::SetRegAccess(TVyRegAccess v) {
  FRegAccess = v;
  FReopen = true;
}

void TVyRegIniFile::Reopen() {
  if (!FReopen && FIniFile && FRegistry) return;
  static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                               HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
  static const REGSAM rights[] = {KEY_QUERY_VALUE, KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_ENUMERATE_SUB_KEYS,
                                  KEY_NOTIFY,      KEY_CREATE_LINK, KEY_READ,         KEY_WRITE,
                                  KEY_EXECUTE,     KEY_ALL_ACCESS};
  REGSAM access = 0;
  for (int i = 0; i <= int(keyAllAccess); ++i)
    if (FRegAccess.Contains(TVyRegAccessKey(i))) access |= rights[i];
  FIniFile = std::make_unique<TIniFile>(FPath);
  FRegistry = std::make_unique<TRegistry>(access);
  FRegistry->SetRootKey(roots[int(FRegKey)]);
  FReopen = false;
}

TIniFile& TVyRegIniFile::IniFile() {
  Reopen();
  return *FIniFile;
}

TRegistry& TVyRegIniFile::Registry() {
  Reopen();
  return *FRegistry;
}

// --- platform queries

bool IsWindowsVersion(int index) {
  const TWindowsVersion& v = WindowsVersion();
  const bool nineX = v.Platform == Win32PlatformWindows, nt = v.Platform == Win32PlatformNT;
  switch (index) {
    case 0: return nineX && v.Major <= 4 && v.Minor == 0;
    case 1: return nt && v.Major <= 4;
    case 2: return nineX && v.Major <= 4 && v.Minor == 10;
    case 3: return nineX && v.Major <= 4 && v.Minor == 90;
    case 4: return nt && v.Major == 5 && v.Minor == 0;
    case 5: return nt && v.Major == 5 && v.Minor == 1;
    case 6: return nt && v.Major == 5 && v.Minor == 2;
    default: return false;
  }
}

TRect MonitorWorkArea(TMonitor* monitor) { return monitor ? monitor->GetWorkareaRect() : TRect{}; }
TRect MonitorBounds(TMonitor* monitor) { return monitor ? monitor->GetBoundsRect() : TRect{}; }

TRect WindowWorkArea(TWinControl* control) {
  HMONITOR m = MonitorFromWindow(control && control->HandleAllocated() ? control->GetHandle() : nullptr,
                                 MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(m, &info)) return {};
  return Rect(info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom);
}

int WindowWorkAreaWidth(TWinControl* control) { return WindowWorkArea(control).Width(); }

// --- obsolete values

void SkipOldBoolean(TReader& reader) { reader.ReadBoolean(); }
void SkipOldIdent(TReader& reader) { reader.ReadIdent(); }
TFrameStyle ReadOldFrameStyle(TReader& reader) {
  const std::wstring ident = reader.ReadIdent();
  const int style = EnumInfoOf(TFrameStyle{}).ValueOf(ident);
  if (style < 0) reader.Error(0, L"Invalid property value " + ident);
  return TFrameStyle(style);
}
void SkipOldStrings(TReader& reader) {
  // Sides were once written as a set of names, some lists as a list of strings.
  if (reader.NextValue() == TValueType::Set) {
    reader.ReadSet();
    return;
  }
  reader.ReadListBegin();
  while (!reader.EndOfList()) reader.ReadString();
  reader.ReadListEnd();
}

void DefineOldFrameProperties(TFiler& filer, const std::function<void(bool)>& setHotTrack,
                              const std::function<void(TFrameStyle)>& setStyle,
                              const std::function<void(TFrameStyle)>& setHotStyle) {
  filer.DefineProperty(
      L"FrameFlat",
      [=](TReader& r) {
        const bool flat = r.ReadBoolean();
        setHotTrack(flat);
        if (flat) {
          setStyle(fsStatus);
          setHotStyle(fsLowered);
        }
      },
      nullptr, false);
  filer.DefineProperty(
      L"FrameFocusStyle",
      [=](TReader& r) {
        const std::wstring ident = r.ReadIdent();
        const int style = EnumInfoOf(TFrameStyle{}).ValueOf(ident);
        if (style < 0) r.Error(0, L"Invalid property value " + ident);
        setHotStyle(TFrameStyle(style));
      },
      nullptr, false);
  filer.DefineProperty(L"FrameFlatStyle", SkipOldIdent, nullptr, false);
}

}  // namespace Vy
