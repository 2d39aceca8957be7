#include "core/mainwindow/MainWindow.h"

#include <wtsapi32.h>

#include <algorithm>
#include <array>
#include <cwctype>

#include "core/mainwindow/DonateForm.h"
#include "displays/DimmingOverlay.h"
#include "core/language/FirstRunLanguage.h"
#include "core/language/LanguageTranslate.h"
#include "core/settings/SettingsClose.h"
#include "core/settings/SettingsFolder.h"
#include "core/mainwindow/SettingsHKForm.h"
#include "core/mainwindow/TrayPictures.h"
#include "core/utils/ProgramRestart.h"
#include "core/utils/SystemPower.h"
#include "core/utils/myUtils.h"
#include "core/utils/Trace.h"
#include "core/settings/SafeFile.h"
#include "vcl/Clock.h"
#include "tenvora/Tenvora.h"

// --- what the key engine reads of the main window

class TMainForm::TEngineOptions final : public IEngineOptions {
 public:
  TKeyEngineOptions Options() const override {
    const TMainSettings& m = MainSettings;
    TKeyEngineOptions o;
    o.optexceptonfullscreen = m.optexceptonfullscreen == 1;
    o.osdshfs = m.osdshfs == 1;
    o.optlrmodif = m.optlrmodif == 1;
    o.optmultiact = m.optmultiact == 1;
    o.optmb = m.optmb == 1;
    o.osdkeyspressed = m.osdkeyspressed == 1;
    o.washowpopup = m.washowosd != 1;
    o.osdshowlocks = m.osdshowlocks == 1;
    o.locksAsPopup = m.rbtn_locks_showastray != 1;
    o.trayshowlocks = m.trayshowlocks == 1;
    return o;
  }
};

class TMainForm::TEngineLanguage final : public ILanguage {
 public:
  explicit TEngineLanguage(TMainForm& form) : form_(form) {}
  std::wstring GetLngString(const std::string& key, const std::wstring& defaultText) override {
    return form_.language_ ? form_.language_->GetLngString(std::string_view(key), defaultText) : defaultText;
  }

 private:
  TMainForm& form_;
};

// Case folding as Windows does it, so non-Latin folder names match too.
std::wstring FoldedPath(std::string_view ansi) {
  std::wstring text = AnsiToString(ansi);
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

class TMainForm::TEngineProfiles final : public IProgramProfiles {
 public:
  explicit TEngineProfiles(TMainForm& form) : form_(form) {}
  bool IsIgnoredProgram(const std::string& exePath) override {
    // The list keeps the paths as the user added them; the engine asks in lower case.
    return TIgnoredPrograms(form_.ext_).Contains(exePath, FoldedPath);
  }
  std::string ProfileForProgram(const std::string& exePath) override {
    return form_.programProfiles_.ProfileForProgram(exePath);
  }
  bool LoadPerProgramProfile(const std::string& name, TKeyTable& into) override {
    return form_.programProfiles_.CopyProfile(name, into);
  }
  void ReportUnreadableProfile(const std::string& name) override {
    if (form_.programProfiles_.TakeReport(name) && form_.reporter_)
      form_.reporter_->ShowFileProblem(
          {TFileProblemKind::Unreadable, form_.profiles_->ProfileFilePath(name, false), {}});
  }
  void AddProgramProfileKeys(TKeysToAsk& keys) override { form_.programProfiles_.AddKeys(keys); }

 private:
  TMainForm& form_;
};

class TMainForm::TEngineCounter final : public IKeyCounter {
 public:
  explicit TEngineCounter(TMainForm& form) : form_(form) {}
  void WMCount() override {
    form_.keyPressText_ = form_.counter_.WMCount();
    if (form_.Label_clicks) form_.Label_clicks->SetCaption(form_.keyPressText_);
  }

 private:
  TMainForm& form_;
};

// The capture dialog's seat: a Sleep key captured for a binding is the keyboard's
// Sleep key pressed on purpose, so the suspend query that follows is refused.
class TMainForm::TCaptureWatch final : public ICaptureDialog {
 public:
  explicit TCaptureWatch(TMainForm& form) : form_(form) {}
  bool Showing() override { return form_.inputForm_ && form_.inputForm_->Showing(); }
  void setk(const TKeyEvent& captured) override {
    if (captured.Vk == VkSleep) form_.sleepKeyRanAt_ = ClockNowMs();
    if (form_.inputForm_) form_.inputForm_->setk(captured);
  }
  void EscPress() override {
    if (form_.inputForm_) form_.inputForm_->EscPress();
  }

 private:
  TMainForm& form_;
};

// --- the form

void TMainForm::Publish(TPublisher<TMainForm>& p) {
  p.Message(WM_SYSCOMMAND, &TMainForm::WMSysCommand);
  p.Field(L"VyPageControl1", &TMainForm::VyPageControl1);
  p.Field(L"TabSheet1", &TMainForm::TabSheet1);
  p.Field(L"TabSheet2", &TMainForm::TabSheet2);
  p.Field(L"TabSheet3", &TMainForm::TabSheet3);
  p.Field(L"VyPageControl2", &TMainForm::VyPageControl2);
  p.Field(L"TabSheet4", &TMainForm::TabSheet4);
  p.Field(L"TabSheet5", &TMainForm::TabSheet5);
  p.Field(L"TabSheet6", &TMainForm::TabSheet6);
  p.Field(L"TabSheet9", &TMainForm::TabSheet9);
  p.Field(L"TabSheet7", &TMainForm::TabSheet7);
  p.Handler(L"VyPageControl1Change", &TMainForm::VyPageControl1Change);
  p.Handler(L"VyPageControl2Change", &TMainForm::VyPageControl2Change);

  // the keys page
  p.Field(L"keys", &TMainForm::keys);
  p.Field(L"KeysButtons", &TMainForm::KeysButtons);
  p.Field(L"MainActnAdd", &TMainForm::MainActnAdd);
  p.Field(L"MainActnDel", &TMainForm::MainActnDel);
  p.Field(L"MainActnEdit", &TMainForm::MainActnEdit);
  p.Field(L"MainActnProfile", &TMainForm::MainActnProfile);
  p.Field(L"MainActnList", &TMainForm::MainActnList);
  p.Field(L"MainActnSave", &TMainForm::MainActnSave);
  p.Field(L"MainActHelp", &TMainForm::MainActHelp);
  p.Field(L"FlatSpeedButton1", &TMainForm::FlatSpeedButton1);
  p.Field(L"keyoff", &TMainForm::keyoff);
  p.Field(L"KeysMenu", &TMainForm::KeysMenu);
  p.Field(L"N6", &TMainForm::N6);
  p.Field(L"N7", &TMainForm::N7);
  p.Field(L"N9", &TMainForm::N9);
  p.Field(L"N16", &TMainForm::N16);
  p.Field(L"GridView1", &TMainForm::GridView1);
  p.Field(L"VyGroupBar1", &TMainForm::VyGroupBar1);
  p.Field(L"FlatPanel1", &TMainForm::FlatPanel1);
  p.Field(L"pfp", &TMainForm::pfp);
  p.Field(L"CategoriesImageList", &TMainForm::CategoriesImageList);
  p.Handler(L"keysClick", &TMainForm::keysClick);
  p.Handler(L"keysDrawItem", &TMainForm::keysDrawItem);
  p.Handler(L"keysMouseDown", &TMainForm::keysMouseDown);
  p.Handler(L"keysMouseMove", &TMainForm::keysMouseMove);
  p.Handler(L"keysMouseUp", &TMainForm::keysMouseUp);
  p.Handler(L"keysDragOver", &TMainForm::keysDragOver);
  p.Handler(L"keysDragDrop", &TMainForm::keysDragDrop);
  p.Handler(L"keysContextPopup", &TMainForm::keysContextPopup);
  p.Handler(L"KeysMenuPopup", &TMainForm::KeysMenuPopup);
  p.Handler(L"keyoffClick", &TMainForm::keyoffClick);
  p.Handler(L"MainActnAddClick", &TMainForm::MainActnAddClick);
  p.Handler(L"MainActnDelClick", &TMainForm::MainActnDelClick);
  p.Handler(L"MainActnEditClick", &TMainForm::MainActnEditClick);
  p.Handler(L"MainActnProfileClick", &TMainForm::MainActnProfileClick);
  p.Handler(L"MainActnListClick", &TMainForm::MainActnListClick);
  p.Handler(L"MainActnSaveClick", &TMainForm::MainActnSaveClick);
  p.Handler(L"MainActHelpClick", &TMainForm::MainActHelpClick);
  p.Handler(L"N6Click", &TMainForm::N6Click);
  p.Handler(L"N7Click", &TMainForm::N7Click);
  p.Handler(L"N9Click", &TMainForm::N9Click);
  p.Handler(L"N16Click", &TMainForm::N16Click);
  p.Handler(L"GridView1Click", &TMainForm::GridView1Click);
  p.Handler(L"FlatSpeedButton1Click", &TMainForm::FlatSpeedButton1Click);
  p.Handler(L"VyGroup1Items0Click", &TMainForm::VyGroup1Items0Click);
  p.Handler(L"VyGroup1Items1Click", &TMainForm::VyGroup1Items1Click);
  p.Handler(L"VyGroup1Items2Click", &TMainForm::VyGroup1Items2Click);
  p.Handler(L"VyGroup1Items3Click", &TMainForm::VyGroup1Items3Click);
  p.Handler(L"VyGroup2Items0Click", &TMainForm::VyGroup2Items0Click);
  p.Handler(L"VyGroup2Items1Click", &TMainForm::VyGroup2Items1Click);
  p.Handler(L"VyGroup2Items2Click", &TMainForm::VyGroup2Items2Click);
  p.Handler(L"VyGroup2Items3Click", &TMainForm::VyGroup2Items3Click);
  p.Handler(L"VyGroup2Items4Click", &TMainForm::VyGroup2Items4Click);
  p.Handler(L"VyGroup2Items5Click", &TMainForm::VyGroup2Items5Click);
  p.Handler(L"VyGroup2Items6Click", &TMainForm::VyGroup2Items6Click);
  p.Handler(L"VyGroup2Items7Click", &TMainForm::VyGroup2Items7Click);
  p.Handler(L"VyGroup2Items8Click", &TMainForm::VyGroup2Items8Click);
  p.Handler(L"VyGroup2Items9Click", &TMainForm::VyGroup2Items9Click);
  p.Handler(L"VyGroup3Items0Click", &TMainForm::VyGroup3Items0Click);
  p.Handler(L"VyGroup3Items1Click", &TMainForm::VyGroup3Items1Click);
  p.Handler(L"VyGroup3Items2Click", &TMainForm::VyGroup3Items2Click);
  p.Handler(L"VyGroup3Items3Click", &TMainForm::VyGroup3Items3Click);

  // the settings pages
  for (const wchar_t* name : SettingsClickHandlers) p.Handler(name, &TMainForm::SettingsOptionClick);
  for (const wchar_t* name : SettingsChangeHandlers) p.Handler(name, &TMainForm::SettingsOptionChange);
  for (const wchar_t* name : SettingsScrollHandlers) p.Handler(name, &TMainForm::SettingsOptionScroll);

  p.Field(L"LExceptInfo", &TMainForm::LExceptInfo);
  p.Field(L"ListExceptProgs", &TMainForm::ListExceptProgs);
  p.Field(L"AddExceptProg", &TMainForm::AddExceptProg);
  p.Field(L"DelExceptProg", &TMainForm::DelExceptProg);
  p.Field(L"AddExceptProgMenu", &TMainForm::AddExceptProgMenu);
  p.Field(L"AddExceptProgMenuOpen", &TMainForm::AddExceptProgMenuOpen);
  p.Field(L"AddExceptProgMenuTasks", &TMainForm::AddExceptProgMenuTasks);
  p.Field(L"OpenDialogAddExceptProg", &TMainForm::OpenDialogAddExceptProg);
  p.Handler(L"AddExceptProgMenuPopup", &TMainForm::AddExceptProgMenuPopup);
  p.Handler(L"AddExceptProgMenuOpenClick", &TMainForm::AddExceptProgMenuOpenClick);
  p.Handler(L"AddExceptProgMenuTasksClick", &TMainForm::AddExceptProgMenuTasksClick);
  p.Handler(L"DelExceptProgClick", &TMainForm::DelExceptProgClick);

  // the about page
  p.Field(L"L_AboutVer", &TMainForm::L_AboutVer);
  p.Field(L"L_BuldDate", &TMainForm::L_BuldDate);
  p.Field(L"wwww", &TMainForm::wwww);
  p.Field(L"mail", &TMainForm::mail);
  p.Field(L"AboutMemo", &TMainForm::AboutMemo);
  p.Field(L"B_Donate", &TMainForm::B_Donate);
  p.Field(L"EmailPopupMenu", &TMainForm::EmailPopupMenu);
  p.Field(L"EmailPopupMenuWrite", &TMainForm::EmailPopupMenuWrite);
  p.Field(L"EmailPopupMenuCopy", &TMainForm::EmailPopupMenuCopy);
  p.Handler(L"wwwwClick", &TMainForm::wwwwClick);
  p.Handler(L"mailClick", &TMainForm::mailClick);
  p.Handler(L"EmailPopupMenuWriteClick", &TMainForm::EmailPopupMenuWriteClick);
  p.Handler(L"EmailPopupMenuCopyClick", &TMainForm::EmailPopupMenuCopyClick);
  p.Handler(L"B_DonateClick", &TMainForm::B_DonateClick);

  p.Field(L"RepeatTimer", &TMainForm::RepeatTimer);
  p.Field(L"TimerMonOff", &TMainForm::TimerMonOff);
  p.Field(L"TimerSetActive", &TMainForm::TimerSetActive);
  p.Field(L"LngCkTimer", &TMainForm::LngCkTimer);
  p.Field(L"VyLabel4", &TMainForm::VyLabel4);
  p.Field(L"Label_clicks", &TMainForm::Label_clicks);
  p.Field(L"L_MainVersion", &TMainForm::L_MainVersion);
  p.Field(L"TranslateInfoLabel", &TMainForm::TranslateInfoLabel);
  p.Field(L"tray", &TMainForm::tray);
  p.Field(L"TrayMenu", &TMainForm::TrayMenu);
  p.Field(L"TrayIconPngImageList", &TMainForm::TrayIconPngImageList);
  p.Field(L"TrayMenuPngImageList", &TMainForm::TrayMenuPngImageList);
  p.Field(L"Timer_TrayIconChanger", &TMainForm::Timer_TrayIconChanger);
  p.Field(L"N10", &TMainForm::N10);
  p.Field(L"N11", &TMainForm::N11);
  p.Handler(L"FormCreate", &TMainForm::FormCreate);
  p.Handler(L"FormDestroy", &TMainForm::FormDestroy);
  p.Handler(L"FormCloseQuery", &TMainForm::FormCloseQuery);
  p.Handler(L"TimerMonOffTimer", &TMainForm::TimerMonOffTimer);
  p.Handler(L"TimerSetActiveTimer", &TMainForm::TimerSetActiveTimer);
  p.Handler(L"LngCkTimerTimer", &TMainForm::LngCkTimerTimer);
  p.Handler(L"StatLabelCLick", &TMainForm::StatLabelCLick);
  p.Handler(L"trayStartup", &TMainForm::trayStartup);
  p.Handler(L"trayDblClick", &TMainForm::trayDblClick);
  p.Handler(L"trayMouseMove", &TMainForm::trayMouseMove);
  p.Handler(L"TrayMenuPopup", &TMainForm::TrayMenuPopup);
  p.Handler(L"N8Click", &TMainForm::N8Click);
  p.Handler(L"N11Click", &TMainForm::N11Click);
  p.Handler(L"N5Click", &TMainForm::N5Click);
  p.Handler(L"Timer_TrayIconChangerTimer", &TMainForm::Timer_TrayIconChangerTimer);
  p.Message(WM_RESTOREMAIN, &TMainForm::WMRestoreMain);
  p.Message(WM_PLUGINKEY, &TMainForm::WMPluginKey);
  p.Message(WM_GETKEYCALLBACK, &TMainForm::WMGetKeyCallback);
  p.Message(WM_POWERBROADCAST, &TMainForm::WMPowerBroadcast);
  p.Message(WM_WTSSESSION_CHANGE, &TMainForm::WMWtsSessionChange);
  p.Message(WM_KEYENGINE_RUN, &TMainForm::WMKeyEngineRun);
  p.Message(WM_TRAYSTART, &TMainForm::WMTrayStart);
}


TMainForm::TMainForm(TComponent* AOwner)
    : TForm(AOwner),
      counter_({[this] { return engine_ && engine_->isgamemode(); },
                [] {
                  if (DonateForm) DonateForm->ShowWnd();
                },
                [this] {
                  if (settings_) settings_->saveprogramsetting(counter_.Count());
                }}) {}

TMainForm::~TMainForm() { tearDown(); }

void TMainForm::FormCreate(TObject*) {
  MainForm = this;
  // Plug-ins and other instances find the window by class and caption even while
  // it is hidden at start.
  HandleNeeded();
  const HWND window = GetHandle();
  reporter_ = MakeMessageBoxReporter(window, [this](std::wstring_view name) { return GetLngMessage(std::wstring(name)); });

  // Session notices (lock, unlock, console connect and disconnect).
  SessionNotifyRegistered = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;

  // The settings again, now into the lists this window owns.
  if (SettingsFolder.empty()) InitSettingsPath();
  settings_ = std::make_unique<TSettingsStore>(std::filesystem::path(SettingsFolder), SettingsRecords, ext_, *reporter_);
  settings_->LoadMainSetingsFromFile();
  StartTrace(settings_->Folder());
  FirstRun = settings_->IsFirstRun();
  ext_.OnValueSet = [this] {
    if (keyListPage_) keyListPage_->EnableSaveButton();
  };

  // Program folders, the user's interface language, the language.
  ProgramFolder = std::filesystem::path(Application->GetExeName()).parent_path();
  Application->HelpFile = (ProgramFolder / L"Help_ru.chm").wstring();
  Application->HelpKeywordHandler = &ShowHelpTopic;
  UILanguageID = GetUserUILanguage();
  UiLanguageIsRussianFamily = UILanguageID == 1049 || UILanguageID == 1058 || UILanguageID == 1059;
  language_ = std::make_unique<TLanguage>(ProgramFolder / L"lang");

  // Screen scale, version label.
  if (const int dpi = GetSystemFontSize(); dpi != 96) {
    LargeFonts = true;
    ScreenDpi = dpi;
  }
  if (L_MainVersion) L_MainVersion->SetCaption(MainVersionText);

  // Folders beside the program and in the settings folder.
  PluginFolder = ProgramFolder / L"plugins";
  SkinFolder = ProgramFolder / L"skins";
  std::error_code ec;
  std::filesystem::create_directories(settings_->Folder() / "macros", ec);
  std::filesystem::create_directories(settings_->Folder() / "profiles", ec);

  // The key engine with the real Windows services; every action runs through the
  // executors Set into Executors, recording ones until the actions are built.
  actionFamilies_.InstallInto(Executors, [this] { return engine_ && engine_->isfullscreen(); });
  engineOptions_ = std::make_unique<TEngineOptions>();
  engineLanguage_ = std::make_unique<TEngineLanguage>(*this);
  engineProfiles_ = std::make_unique<TEngineProfiles>(*this);
  engineCounter_ = std::make_unique<TEngineCounter>(*this);
  captureWatch_ = std::make_unique<TCaptureWatch>(*this);
  repeatTimer_ = std::make_unique<TTimerRepeatTimer>(*RepeatTimer);
  engine_ = std::make_unique<TKeyEngine>(TKeyEngineWorld{*engineOptions_, foreground_, *engineProfiles_, *repeatTimer_,
                                                         lockKeys_, *engineLanguage_, displays_, *captureWatch_,
                                                         keyTestList_, escTargets_, *engineCounter_,
                                                         Executors, RecordTextToUi});
  engine_->SetOnKeyTaken([this](const TKeyEvent& key, const std::vector<TKeyRecord>& bindings) {
    noteSleepKey(key, bindings);
  });
  repeatTimer_->ConnectTo(*engine_);
  inputForm_.reset(CreateForm<TInputForm>(nullptr));
  inputForm_->Engine = engine_.get();
  ConnectKeyEngine(*engine_, window);
  keyListPage_ = std::make_unique<TKeyListPage>(*this, editList_, engine_->GlobalTable(), ProfileState);
  pages_ = std::make_unique<TPageNavigator>(*this);
  profiles_ = std::make_unique<TProfileStore>(
      settings_->Folder(), TBindingTables{engine_->GlobalTable(), engine_->PerProgramTable(), editList_}, ProfileState,
      *keyListPage_, *reporter_);
  bindings_ = std::make_unique<TBindingAccess>(editList_, engine_->GlobalTable(), ProfileState, *keyListPage_);
  timers_ = std::make_unique<TNamedTimers>(this);
  makeTray();
  makeSettingsPages();
  plugins_ = std::make_unique<TPluginHost>(
      PluginFolder, settings_->Folder(),
      TPluginHost::Hooks{[this] { removeHook(); },
                         [this] {
                           installHook();
                           return hookInstalled_;
                         },
                         [this](int kind) { ErrorMsg(kind); }, {},
                         [this](const std::wstring& text) { ErrorMsg(2, text); },
                         // The main thread is inside a plug-in that will not come back:
                         // after a close (everything saved) the process just ends, else
                         // a fresh start takes over and leaves that plug-in out.
                         [this] { tornDown_ ? EndThisProcessNow() : RestartThisProgram(); }});

  // The keyboard hook.
  SetHookEngine(engine_.get());
  installHook();
  if (!hookInstalled_) ErrorMsg(1);

  // Bindings, then the settings into the window (the language with them).
  LoadKeys();
  TSettingsEnvironment env;
  env.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  env.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  env.PixelsPerInch = GetSystemFontSize();
  env.ProgramFolder = ProgramFolder;
  env.PortableMarkerExists = std::filesystem::exists(ProgramFolder / PortableMarker, ec);
  if (FirstRun) env.StartupLanguage = StringToAnsi(firstRunLanguage());
  env.MakeInstallationId = [] { return F_Genuid(); };
  const TAppliedSettings applied = settings_->ApplyMainSettings(env);
  settingsPages_->ApplyMainSettings(applied.FirstRun);
  counter_.SetCount(MainSettings.KeyPressCount);
  keyPressText_ = KeyPressCounterText(counter_.Count());
  if (Label_clicks) Label_clicks->SetCaption(keyPressText_);
  SetLanguage(AnsiToString(applied.LanguageToSelect));
  keyListPage_->ShowActionIcons(MainSettings.ShowActionIcons == 1);
  keyListPage_->Changed();

  // Plug-ins (their chooser on a first run is not built yet).
  plugins_->loadpluginslist();

  // A first run shows the window (and later its help topic "using"), whatever
  // the start-hidden option says; otherwise the window starts hidden when asked
  // to, and a second start brings it back.
  if (FirstRun) {
    Application->ShowMainForm = true;
    tray->ShowApplicationButton();
    ShowHelpTopic(L"using");
  }
  // The shell is asked to change our icons once start-up is over: a call to it
  // waits for its answer, and meanwhile messages sent to us would be handled
  // while we are only half made.
  PostMessageW(window, WM_TRAYSTART, 0, 0);
}

// --- the tray

void TMainForm::makeTray() {
  TMainTray::TParts parts{*tray, *TrayIconPngImageList, *Timer_TrayIconChanger, *N10, *N11, GetHandle()};
  TMainTray::THooks hooks;
  hooks.LockState = [this] { return engine_->GetCSNstate(); };
  hooks.Profiles = [this]() -> const TProfileTable& { return profiles_->Table(); };
  hooks.ActiveGlobalProfile = [] { return ProfileState.ActiveGlobalProfile; };
  hooks.LoadGlobalProfile = [this](const std::string& name) { LoadLiveGlobalProfile(name); };
  hooks.ShowPopup = [this](const std::wstring& caption, const std::wstring& position, const std::wstring& body) {
    displays_.ShowPopup(caption, position, L"", body, 0, 0, 0);
  };
  hooks.SwitchKeys = [this](bool) { applyKeyHandling(); };
  hooks.Text = [this](const std::string& key, const std::wstring& otherwise) {
    return GetLngString(AnsiToString(key), otherwise);
  };
  tray_ = std::make_unique<TMainTray>(parts, std::move(hooks));
  displays_.TrayIndicator = [this](const std::string& name, int ms) { IndicateInTrayIcon(name, ms); };
}

// Runs while the form is read, before FormCreate: the settings are read by then.
void TMainForm::trayStartup(TObject*, bool& ShowMainForm) {
  ShowMainForm = MainSettings.opttray != 1;
  rememberedHeight_ = GetHeight();
  rememberedWidth_ = GetWidth();
  tray->SetIconVisible(MainSettings.optnotrayicon != 1);
}

void TMainForm::trayDblClick(TObject*) {
  if (rememberedWidth_ > 0 && rememberedHeight_ > 0) SetBounds(GetLeft(), GetTop(), rememberedWidth_, rememberedHeight_);
  tray->RestoreMainForm();
  tray->ShowApplicationButton();
}

void TMainForm::trayMouseMove(TObject*, TShiftState, int, int) {
  if (tray_) tray_->RefreshHint(VyLabel4 ? VyLabel4->GetCaption() : std::wstring(), keyPressText_);
}

void TMainForm::TrayMenuPopup(TObject*) {
  if (tray_) tray_->FillProfileMenu();
}

void TMainForm::N8Click(TObject* Sender) {
  trayDblClick(Sender);
  VyPageControl1->SetActivePage(TabSheet3);
}

void TMainForm::VyPageControl1Change(TObject*) {
  // The focus goes to the chosen page itself, never to a control the user did not pick.
  if (auto* page = VyPageControl1->GetActivePage(); page && page->CanFocus()) page->SetFocus();
}

void TMainForm::VyPageControl2Change(TObject*) {
  const int page = VyPageControl2->GetActivePageIndex();
  if (page == 4) return ignoredProgramsPageShown();
  if (settingsPages_) settingsPages_->PageShown(page);
}

// --- the settings pages

void TMainForm::makeSettingsPages() {
  TSettingsPages::THooks hooks;
  hooks.Text = [this](const std::wstring& key, const std::wstring& otherwise) { return GetLngString(key, otherwise); };
  hooks.LockDisplayChanged = [this] {
    if (tray_) tray_->LockDisplayChanged();
  };
  hooks.EngineOptionsChanged = [this] {
    if (engine_) engine_->BindingsChanged();
  };
  hooks.SkinsFolder = [this] { return (SkinFolder / L"Popup").wstring() + L"\\"; };
  settingsPages_ = std::make_unique<TSettingsPages>(*this, std::move(hooks));
}

void TMainForm::SettingsOptionClick(TObject* Sender) {
  if (settingsPages_) settingsPages_->Clicked(Sender);
}

void TMainForm::SettingsOptionChange(TObject* Sender) {
  if (settingsPages_) settingsPages_->Changed(Sender);
}

// The scroll bars' events carry the position; the pages read it from the control.
void TMainForm::SettingsOptionScroll(TObject* Sender, int) {
  if (settingsPages_) settingsPages_->Changed(Sender);
}

void TMainForm::N11Click(TObject*) { onoff(); }

void TMainForm::N5Click(TObject*) { Close(); }

void TMainForm::Timer_TrayIconChangerTimer(TObject*) {
  if (tray_) tray_->ChangerTick();
}

void TMainForm::onoff() {
  if (tray_) tray_->OnOff();
}

void TMainForm::ActivateNextPrevProfile(int Direction) {
  if (tray_) tray_->ActivateNextPrevProfile(Direction);
}

void TMainForm::IndicateInTrayIcon(const std::string& Name, int Interval) {
  if (tray_) tray_->IndicateInTrayIcon(Name, Interval);
}

void TMainForm::AddTrayCSNIcons(const std::string& Name) {
  if (tray_) tray_->AddTrayCSNIcons(Name);
}

int TMainForm::GetTrayPngIndexByName(const std::string& Name) const { return TrayPictureIndex(Name); }

void TMainForm::LoadLiveGlobalProfile(const std::string& name) {
  profiles_->loadpfl(name, 1, 0);
  keyListPage_->RefreshTableIfShown();
  engine_->BindingsChanged();
}

void TMainForm::applyKeyHandling() {
  if (!plugins_) return;
  const bool on = ProgramOn() && !sessionLocked_;
  if (on) {
    plugins_->ResumeAllPlugins();
    return;
  }
  // The hook goes with the plug-ins; a held key's repeat would never see its key-up.
  plugins_->DisableAllPlugins();
  if (engine_) engine_->StopRepeat();
}

void TMainForm::installHook() {
  if (hookInstalled_) return;
  hookInstalled_ = SetKeyboardHook(KeyCallback, ModifierCallback) != 0;
}

void TMainForm::removeHook() {
  if (!hookInstalled_) return;
  RemoveKeyboardHook();
  hookInstalled_ = false;
}

std::wstring TMainForm::firstRunLanguage() const {
  return PickFirstRunLanguage(LanguageCandidates(language_->LangFolder()), UILanguageID, UiLanguageIsRussianFamily);
}

void TMainForm::LoadKeys() {
  engine_->GlobalTable().Clear();
  engine_->PerProgramTable().Clear();
  editList_.Clear();
  keyListPage_->Clear();
  profiles_->loadprofilesbd();
  if (profiles_->Table().Count >= 1) {
    const std::string active = profiles_->Table().Entries[0].Name.str();
    profiles_->loadpfl(active, 1, 0);
    profiles_->loadpfl(active, 1, 1);
  }
  LoadProgramProfiles();
}

void TMainForm::LoadProgramProfiles() {
  std::vector<TProgramProfileCache::TBinding> bindings;
  const TProfileTable& table = profiles_->Table();
  for (std::size_t i = 1; i <= table.Count; ++i)
    if (table.Entries[i].Kind != GlobalProfileKind)
      bindings.push_back({table.Entries[i].Kind.str(), table.Entries[i].Name.str()});
  programProfiles_.Load(bindings, [this](const std::string& name) -> std::optional<std::string> {
    if (!IsValidProfileName(name)) return std::string();
    const std::filesystem::path file = profiles_->ProfileFilePath(name, false);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return std::string();
    return ReadWholeFile(file, TKeyTable::MaxBindings * TKeyRecord::StoredSize);
  });
  engine_->ForgetForeground();
  engine_->BindingsChanged();
}

std::wstring TMainForm::GetLngString(const std::wstring& key, const std::wstring& defaultText) const {
  return language_ ? language_->GetLngString(std::wstring_view(key), defaultText) : defaultText;
}

std::wstring TMainForm::GetLngMessage(const std::wstring& name) const {
  return language_ ? language_->GetLngMessage(name) : std::wstring();
}

bool TMainForm::IsRusLang() const { return language_ && language_->IsRusLang(); }

void TMainForm::TranslateComponents(const std::wstring& formName) {
  if (!language_) return;
  TForm* form = nullptr;
  if (formName == L"MainForm") form = this;
  if (formName == L"InputForm") form = inputForm_.get();
  if (formName == L"DonateForm") form = DonateForm;
  if (formName == L"SettingsHKForm") form = SettingsHKForm;
  if (form) ::TranslateComponents(*language_, *form);
}

bool TMainForm::SetLanguage(const std::wstring& name) {
  if (!language_ || !language_->SetLanguage(name)) return false;
  StringSettings.LanguageName = StringToAnsi(name).substr(0, 255);
  applyLanguageTexts();
  return true;
}

void TMainForm::applyLanguageTexts() {
  TranslateComponents(L"MainForm");
  TranslateComponents(L"DonateForm");
  TranslateComponents(L"SettingsHKForm");
  if (TranslateInfoLabel) TranslateInfoLabel->SetCaption(language_->TranslatorInfo());
  if (pages_) pages_->TranslateGroupBar();
  aboutPage_->Fill();
}

// A dialog still open ends with the window, and no key is captured any more.
void TMainForm::closeInputForm() {
  if (inputForm_ && inputForm_->IsModal()) inputForm_->SetModalResult(mrCancel);
  if (engine_) engine_->SetCaptureMode(false);
}

TModalResult TMainForm::ShowInputForm(std::uint8_t mode) {
  inputForm_->Showing(mode, this);
  return ShowFogged(inputForm_.get(), this, true, clBlack, 50, 200);
}

std::optional<TKeyEvent> TMainForm::CaptureNewKey() {
  if (ShowInputForm(1) != TInputForm::ResultKeyCaptured) return std::nullopt;
  // Esc on the key page is the user cancelling, never a key to bind; Shift+Esc is one.
  const TKeyEvent& key = engine_->CapturedKeyEvent();
  if (key.Vk == 27 && key.Modifiers == NoModifiers) return std::nullopt;
  return key;
}

void TMainForm::ErrorMsg(int kind, const std::wstring& text) {
  if (kind == 1) Application->MessageBox(text.empty() ? L"Unable to set hook" : text, L"Critical ERROR !", MB_OK);
  if (kind == 2) Application->MessageBox(text.empty() ? L"Can`t load plugin" : text, L"Error !", MB_OK);
}

// Decided when the key is taken, before its actions are even queued: the system's
// suspend query for the same key press comes at once. A Sleep key bound to a power
// action (off, reboot, standby, hibernate, log off) means what it says.
void TMainForm::noteSleepKey(const TKeyEvent& key, const std::vector<TKeyRecord>& bindings) {
  if (key.Vk != VkSleep || bindings.empty()) return;
  const bool powerAction = std::any_of(bindings.begin(), bindings.end(), [](const TKeyRecord& r) {
    return r.ActionCode >= 61 && r.ActionCode <= 65;
  });
  if (!powerAction) sleepKeyRanAt_ = ClockNowMs();
}

void TMainForm::SwitchMonitorOn() {
  if (!MonitorIsOff) return;
  MonitorIsOff = false;
  if (TimerMonOff) TimerMonOff->SetEnabled(false);
  if (TimerSetActive) TimerSetActive->SetEnabled(false);
  DisableMouse(0);
  SystemPower().MonitorPower(reinterpret_cast<std::uintptr_t>(Application->GetHandle()), -1);
}

// --- the keys page (KeyListPage.h, PageNavigator.h)

void TMainForm::keysClick(TObject*) {
  if (!keyListPage_ || !pages_) return;
  const int selected = keyListPage_->SelectionChanged();
  pages_->ShowBindingPage(selected);
  if (selected >= 0) keyListPage_->ShowDisabled(editList_.Slots[static_cast<std::size_t>(selected)].Disabled == 1);
}
void TMainForm::keysDrawItem(TObject*, int Index, TRect Rect, TOwnerDrawState) { keyListPage_->DrawItem(Index, Rect); }
void TMainForm::keysMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  keyListPage_->MouseDown(Button, X, Y);
}
void TMainForm::keysMouseMove(TObject*, TShiftState, int, int) { keyListPage_->MouseMove(); }
void TMainForm::keysMouseUp(TObject*, TMouseButton, TShiftState, int, int) { keyListPage_->MouseUp(); }
void TMainForm::keysDragOver(TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
  Accept = keyListPage_->AcceptsDrop(Source);
}
void TMainForm::keysDragDrop(TObject*, TObject*, int X, int Y) { keyListPage_->Drop(X, Y); }
void TMainForm::keysContextPopup(TObject*, TPoint MousePos, bool&) { keyListPage_->ContextPopup(MousePos); }
void TMainForm::KeysMenuPopup(TObject*) { keyListPage_->MenuPopup(); }
void TMainForm::keyoffClick(TObject*) { keyListPage_->SetDisabledFromBox(); }
void TMainForm::MainActnAddClick(TObject*) { MainProcAdd(); }
void TMainForm::MainActnDelClick(TObject*) { MAinProcDel(); }
void TMainForm::MainActnEditClick(TObject*) { MainProcEdit(); }
void TMainForm::MainActnProfileClick(TObject*) { MainProcProfile(); }
void TMainForm::MainActnListClick(TObject*) {
  MainActnList->SetTag(MainActnList->Tag() == 1 ? 0 : 1);
  MainActnList->SetDown(MainActnList->Tag() == 1);
  MainProcList();
}
void TMainForm::MainActnSaveClick(TObject*) {
  MainProcSave();
  if (settings_) settings_->saveprogramsetting(counter_.Count());
  MainActnSave->SetEnabled(ProfileModified == 1);
}
void TMainForm::MainActHelpClick(TObject*) { ShowHelpTopic(L"about"); }
void TMainForm::N6Click(TObject*) { MainProcAdd(); }
void TMainForm::N7Click(TObject*) { MAinProcDel(); }
void TMainForm::N9Click(TObject*) { MainProcEdit(); }
void TMainForm::N16Click(TObject*) { keyListPage_->ShowActionIcons(!N16->GetChecked()); }
void TMainForm::GridView1Click(TObject*) { keyListPage_->SelectTableRow(); }
void TMainForm::FlatSpeedButton1Click(TObject*) { pages_->OpenHistoryPage(); }
void TMainForm::VyGroup1Items0Click(TObject*) { pages_->OpenActionPage(11); }
void TMainForm::VyGroup1Items1Click(TObject*) { pages_->OpenActionPage(12); }
void TMainForm::VyGroup1Items2Click(TObject*) { pages_->OpenActionPage(13); }
void TMainForm::VyGroup1Items3Click(TObject*) { pages_->OpenActionPage(14); }
void TMainForm::VyGroup2Items0Click(TObject*) { pages_->OpenActionPage(21); }
void TMainForm::VyGroup2Items1Click(TObject*) { pages_->OpenActionPage(22); }
void TMainForm::VyGroup2Items2Click(TObject*) { pages_->OpenActionPage(23); }
void TMainForm::VyGroup2Items3Click(TObject*) { pages_->OpenActionPage(24); }
void TMainForm::VyGroup2Items4Click(TObject*) { pages_->OpenActionPage(25); }
void TMainForm::VyGroup2Items5Click(TObject*) { pages_->OpenActionPage(26); }
void TMainForm::VyGroup2Items6Click(TObject*) { pages_->OpenActionPage(27); }
void TMainForm::VyGroup2Items7Click(TObject*) { pages_->OpenActionPage(28); }
void TMainForm::VyGroup2Items8Click(TObject*) { pages_->OpenActionPage(29); }
void TMainForm::VyGroup2Items9Click(TObject*) { pages_->OpenActionPage(30); }
void TMainForm::VyGroup3Items0Click(TObject*) { pages_->OpenActionPage(31); }
void TMainForm::VyGroup3Items1Click(TObject*) { pages_->OpenActionPage(32); }
void TMainForm::VyGroup3Items2Click(TObject*) { pages_->OpenActionPage(33); }
void TMainForm::VyGroup3Items3Click(TObject*) { pages_->OpenActionPage(34); }
void TMainForm::MainProcAdd() { keyListPage_->Add(); }
void TMainForm::MAinProcDel() { keyListPage_->Delete(); }
void TMainForm::MainProcEdit() { keyListPage_->Edit(); }
void TMainForm::MainProcProfile() { pages_->OpenProfilePage(); }
void TMainForm::MainProcList() { keyListPage_->ShowTable(MainActnList->Tag() == 1); }
void TMainForm::MainProcSave() { keyListPage_->Save(); }
void TMainForm::freecur() {
  if (pages_) pages_->freecur();
}
void TMainForm::SetSelection(int Group, int Item) { pages_->SetSelection(Group, Item); }
void TMainForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation == opRemove && pages_) pages_->Forget(AComponent);
}

// --- closing

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
  switch (DecideClose(SettingsLoading, CurrentPage)) {
    case TCloseDecision::Refuse:
      closeRequestedWhileLoading_ = true;
      CanClose = false;
      return;
    case TCloseDecision::ClosePageOnly:
      CanClose = false;
      freecur();
      return;
    case TCloseDecision::Proceed: break;
  }
  // Keys already taken finish first (their counts among them), so the save holds them:
  // also the ones that passed the hook and wait to be reported.
  closeInputForm();
  if (hookInstalled_) ReportPassedKeys();
  if (engine_) engine_->RunPending();
  if (profiles_ && settings_) SaveBeforeClose(*profiles_, *settings_, ProfileState, *reporter_, counter_.Count());
}

void TMainForm::SettingsLoadingEnded() {
  if (!closeRequestedWhileLoading_ || SettingsLoading != 0) return;
  closeRequestedWhileLoading_ = false;
  PostMessageW(GetHandle(), WM_CLOSE, 0, 0);
}

void TMainForm::FormDestroy(TObject*) { tearDown(); }

// The hook goes first, so no key callback can reach the engine once it starts to
// go; the plug-ins stop next (their posts then find no window).
void TMainForm::tearDown() {
  if (tornDown_ || !engine_) return;
  tornDown_ = true;
  try {
    closeInputForm();
    removeHook();
    SetHookEngine(nullptr);
    if (plugins_) plugins_->UnloadPluginList();
    tray_.reset();  // its lock icons go with it
    RepeatTimer->SetEnabled(false);
    RepeatTimer->OnTimer = nullptr;
    SwitchMonitorOn();
    if (SessionNotifyRegistered && WindowHandle()) WTSUnRegisterSessionNotification(WindowHandle());
    SessionNotifyRegistered = false;
    engine_->SetWakeUp({});
    if (language_) language_->ClearCurrentLanguage();
  } catch (...) {
    if (reporter_) reporter_->ShowNumberedError(ErrorShutDown);
  }
  if (MainForm == this) MainForm = nullptr;
}

// --- timers

void TMainForm::TimerMonOffTimer(TObject*) {
  SystemPower().MonitorPower(reinterpret_cast<std::uintptr_t>(Application->GetHandle()), 2);
  if (!TimerSetActive->GetEnabled()) SystemPower().SetExecutionState(ES_CONTINUOUS);
}

void TMainForm::TimerSetActiveTimer(TObject*) {
  SystemPower().SetExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

void TMainForm::LngCkTimerTimer(TObject*) {}

void TMainForm::StatLabelCLick(TObject*) {
  if (Application->MessageBox(GetLngMessage(L"ResetCounter"), L"Qorn", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  counter_.SetCount(0);
  keyPressText_ = L"0";
  Label_clicks->SetCaption(keyPressText_);
}

// --- messages

void TMainForm::WMRestoreMain(TMessage& m) {
  m.Result = 0;
  Application->Restore();
  if (rememberedWidth_ > 0 && rememberedHeight_ > 0 && GetWindowState() != wsMinimized)
    SetBounds(GetLeft(), GetTop(), rememberedWidth_, rememberedHeight_);
  if (IsIconic(GetHandle())) ShowWindow(GetHandle(), SW_RESTORE);
  if (GetWindowState() == wsMinimized) SetWindowState(wsNormal);
  SetVisible(true);
  // From the tray the taskbar button was hidden too.
  if (tray) tray->ShowApplicationButton();
  SetForegroundWindow(Application->GetHandle());
  SetForegroundWindow(GetHandle());
}

void TMainForm::WMPluginKey(TMessage& m) {
  m.Result = KeyPassed;
  if (m.WParam != PluginKeyEvent || !engine_) return;
  // Any process can post this with any address: only our own readable memory is read.
  const std::optional<std::string> name = ReadPluginKeyName(m.LParam);
  if (!name || name->empty()) return;
  m.Result = engine_->KeyCallback(1, 1, 0, 0, *name);
}

void TMainForm::WMGetKeyCallback(TMessage& m) { m.Result = reinterpret_cast<std::intptr_t>(&KeyCallback); }

void TMainForm::WMPowerBroadcast(TMessage& m) {
  if (RefusePowerBroadcast(m.WParam, sleepKeyRanAt_, ClockNowMs())) {
    m.Result = BROADCAST_QUERY_DENY;
    return;
  }
  SwitchMonitorOn();
  m.Result = TRUE;
}

void TMainForm::WMWtsSessionChange(TMessage& m) {
  m.Result = 0;
  if (!plugins_) return;
  switch (m.WParam) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
      sessionLocked_ = true;
      applyKeyHandling();
      SwitchMonitorOn();
      break;
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
      sessionLocked_ = false;
      applyKeyHandling();
      break;
    default: break;
  }
}

void TMainForm::WMKeyEngineRun(TMessage& m) {
  m.Result = 0;
  if (!engine_) return;
  HandleKeyEngineMessage(*engine_, WM_KEYENGINE_RUN);
  actionFamilies_.ForgetRecorded();
}

void TMainForm::WMTrayStart(TMessage& m) {
  m.Result = 0;
  if (tray_) tray_->LockDisplayChanged();
}

void TMainForm::WMSysCommand(TMessage& m) {
  if ((m.WParam & 0xFFF0) == SC_CLOSE && MainSettings.optclose == 1) {
    // Close means minimise, which takes the window to the tray: the program keeps
    // working in the background.
    Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    m.Result = 0;
    return;
  }
  TForm::WMSysCommand(m);
}

// --- the about page

void TMainForm::wwwwClick(TObject*) { aboutPage_->OpenWebSite(); }

void TMainForm::mailClick(TObject*) {
  POINT at{};
  GetCursorPos(&at);
  EmailPopupMenu->Popup(at.x, at.y);
}

void TMainForm::EmailPopupMenuWriteClick(TObject*) { aboutPage_->WriteMail(); }

void TMainForm::EmailPopupMenuCopyClick(TObject*) { aboutPage_->CopyMailAddress(); }

void TMainForm::B_DonateClick(TObject*) {
  if (DonateForm) DonateForm->ShowWnd();
}

bool ShowHelpTopic(const std::wstring&) { return false; }
