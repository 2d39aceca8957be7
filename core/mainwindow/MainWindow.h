// The main window (class "TMainForm", caption "Qorn"): it owns the settings, the
// profiles, the language, the plug-in host, the named timers and the key engine
// with its Windows services, answers the private messages that other instances,
// plug-ins and components send it, and saves everything when it closes. Later it
// is the settings window too (pages, key list and tray icon come with their own work).
#pragma once
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "actions/ActionFamilies.h"
#include "actions/ActionExecutors.h"
#include "core/mainwindow/AboutPage.h"
#include "core/keys/BindingAccess.h"
#include "core/settings/ExtSettings.h"
#include "core/keys/KeyEngine.h"
#include "core/keys/KeyEngineWin.h"
#include "core/keys/ProgramProfileCache.h"
#include "core/language/Language.h"
#include "core/mainwindow/IgnoredProgramsPage.h"
#include "controls/extended/VyButton.h"
#include "core/mainwindow/InputForm.h"
#include "core/mainwindow/KeyListPage.h"
#include "core/mainwindow/PageNavigator.h"
#include "core/mainwindow/MainForm.h"
#include "core/mainwindow/MainTray.h"
#include "core/mainwindow/MainWindowStandIns.h"
#include "core/mainwindow/NamedTimers.h"
#include "core/mainwindow/NoticeDisplays.h"
#include "core/mainwindow/SettingsPages.h"
#include "controls/extended/VyGroupBar.h"
#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyTabs.h"
#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "core/plugins/PluginHost.h"
#include "core/settings/Profiles.h"
#include "core/settings/SettingsReporter.h"
#include "core/settings/SettingsStore.h"
#include "services/CoolTrayIcon.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/Timer.h"

// A program path folded to one letter case as Windows folds it.
std::wstring FoldedPath(std::string_view ansiPath);

inline constexpr const wchar_t* MainVersionText = L"Qorn v1.3.5";
// The Sleep key of multimedia keyboards.
inline constexpr std::uint8_t VkSleep = 95;

class TMainForm : public TForm {
  QORN_CLASS(TMainForm, TForm)
 public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;

  // --- the pages: keys, settings (with its own page control) and about
  Vy::TVyPageControl* VyPageControl1 = nullptr;
  Vy::TVyTabSheet* TabSheet1 = nullptr;  // "Клавиши": the key list and the action pages
  Vy::TVyTabSheet* TabSheet2 = nullptr;  // "Настройки"
  Vy::TVyTabSheet* TabSheet3 = nullptr;  // "О программе ..."
  Vy::TVyPageControl* VyPageControl2 = nullptr;
  Vy::TVyTabSheet* TabSheet4 = nullptr;  // program options
  Vy::TVyTabSheet* TabSheet5 = nullptr;  // display options
  Vy::TVyTabSheet* TabSheet6 = nullptr;  // popup and skin options
  Vy::TVyTabSheet* TabSheet9 = nullptr;  // plug-ins
  Vy::TVyTabSheet* TabSheet7 = nullptr;  // ignored programs

  // --- the keys page
  Vy::TVyListBox* keys = nullptr;  // the bindings of the edited profile, one line each
  TPanel* KeysButtons = nullptr;
  Flat::TFlatButton* MainActnAdd = nullptr;
  Flat::TFlatButton* MainActnDel = nullptr;
  Flat::TFlatButton* MainActnEdit = nullptr;
  Flat::TFlatButton* MainActnProfile = nullptr;
  Flat::TFlatButton* MainActnList = nullptr;  // down (Tag 1) while the table shows
  Flat::TFlatButton* MainActnSave = nullptr;
  Flat::TFlatButton* MainActHelp = nullptr;
  Flat::TFlatSpeedButton* FlatSpeedButton1 = nullptr;  // what is new: the history page
  Flat::TFlatCheckBox* keyoff = nullptr;                // the selected binding switched off
  TPopupMenu* KeysMenu = nullptr;
  TMenuItem* N6 = nullptr;   // add
  TMenuItem* N7 = nullptr;   // delete
  TMenuItem* N9 = nullptr;   // configure
  TMenuItem* N16 = nullptr;  // show action icons
  TListView* GridView1 = nullptr;  // the table of the active global profile
  Vy::TVyGroupBar* VyGroupBar1 = nullptr;
  Flat::TFlatPanel* FlatPanel1 = nullptr;  // where an action page opens
  Flat::TFlatPanel* pfp = nullptr;         // the profile and history pages, over the whole page
  TCustomImageList* CategoriesImageList = nullptr;  // the action kinds' pictures
  // The code of the open page: 0 none, 11..34 an action page, 100 profiles, 101 history.
  std::uint8_t CurrentPage = 0;

  void keysClick(TObject* Sender);
  void keysDrawItem(TObject* Sender, int Index, TRect Rect, TOwnerDrawState State);
  void keysMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void keysMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void keysMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void keysDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept);
  void keysDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void keysContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);
  void KeysMenuPopup(TObject* Sender);
  void keyoffClick(TObject* Sender);
  void MainActnAddClick(TObject* Sender);
  void MainActnDelClick(TObject* Sender);
  void MainActnEditClick(TObject* Sender);
  void MainActnProfileClick(TObject* Sender);
  void MainActnListClick(TObject* Sender);
  void MainActnSaveClick(TObject* Sender);
  void MainActHelpClick(TObject* Sender);
  void N6Click(TObject* Sender);
  void N7Click(TObject* Sender);
  void N9Click(TObject* Sender);
  void N16Click(TObject* Sender);
  void GridView1Click(TObject* Sender);
  void FlatSpeedButton1Click(TObject* Sender);
  void VyGroup1Items0Click(TObject* Sender);
  void VyGroup1Items1Click(TObject* Sender);
  void VyGroup1Items2Click(TObject* Sender);
  void VyGroup1Items3Click(TObject* Sender);
  void VyGroup2Items0Click(TObject* Sender);
  void VyGroup2Items1Click(TObject* Sender);
  void VyGroup2Items2Click(TObject* Sender);
  void VyGroup2Items3Click(TObject* Sender);
  void VyGroup2Items4Click(TObject* Sender);
  void VyGroup2Items5Click(TObject* Sender);
  void VyGroup2Items6Click(TObject* Sender);
  void VyGroup2Items7Click(TObject* Sender);
  void VyGroup2Items8Click(TObject* Sender);
  void VyGroup2Items9Click(TObject* Sender);
  void VyGroup3Items0Click(TObject* Sender);
  void VyGroup3Items1Click(TObject* Sender);
  void VyGroup3Items2Click(TObject* Sender);
  void VyGroup3Items3Click(TObject* Sender);
  // The key list's operations (KeyListPage.h) and the pages' (PageNavigator.h).
  void MainProcAdd();
  void MAinProcDel();
  void MainProcEdit();
  void MainProcProfile();
  void MainProcList();
  void MainProcSave();
  void freecur();
  void SetSelection(int Group, int Item);
  TKeyListPage& KeyListPage() { return *keyListPage_; }
  TPageNavigator& Pages() { return *pages_; }
  ISettingsReporter& Reporter() { return *reporter_; }
  // The pages are owned by the application, which may free them first at its end.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- the settings pages
  // The option controls are found by name (SettingsPages.h); every handler the form
  // resource names for them forwards to the pages.
  void SettingsOptionClick(TObject* Sender);
  void SettingsOptionChange(TObject* Sender);
  void SettingsOptionScroll(TObject* Sender, int ScrollPos);
  TSettingsPages& SettingsPages() { return *settingsPages_; }

  // the ignored programs (TabSheet7; IgnoredProgramsPage.h)
  TLabel* LExceptInfo = nullptr;
  Vy::TVyListView* ListExceptProgs = nullptr;
  Vy::TVyMenuButton* AddExceptProg = nullptr;
  Vy::TVyBitBtn* DelExceptProg = nullptr;
  TPopupMenu* AddExceptProgMenu = nullptr;
  TMenuItem* AddExceptProgMenuOpen = nullptr;
  TMenuItem* AddExceptProgMenuTasks = nullptr;  // the running programs, filled as the menu opens
  TOpenDialog* OpenDialogAddExceptProg = nullptr;
  void AddExceptProgMenuPopup(TObject* Sender);
  void AddExceptProgMenuOpenClick(TObject* Sender);
  void AddExceptProgMenuTasksClick(TObject* Sender);
  void DelExceptProgClick(TObject* Sender);

 private:
  // Page index 4 of VyPageControl2 was chosen.
  void ignoredProgramsPageShown();
  TIgnoredProgramsPage& ignoredProgramsPage();
  std::unique_ptr<TIgnoredProgramsPage> ignoredProgramsPage_;

 public:
  // --- the about page
  TLabel* L_AboutVer = nullptr;
  TLabel* L_BuldDate = nullptr;
  TLabel* wwww = nullptr;  // the project's web address; hidden while none is published
  TLabel* mail = nullptr;  // the feedback address; likewise
  Flat::TFlatMemo* AboutMemo = nullptr;
  Flat::TSevenButton* B_Donate = nullptr;
  TPopupMenu* EmailPopupMenu = nullptr;
  TMenuItem* EmailPopupMenuWrite = nullptr;
  TMenuItem* EmailPopupMenuCopy = nullptr;
  void wwwwClick(TObject* Sender);
  void mailClick(TObject* Sender);
  void EmailPopupMenuWriteClick(TObject* Sender);
  void EmailPopupMenuCopyClick(TObject* Sender);
  void B_DonateClick(TObject* Sender);
  TAboutPage& AboutPage() { return *aboutPage_; }

 private:
  std::unique_ptr<TAboutPage> aboutPage_ = std::make_unique<TAboutPage>(*this);

 public:

  // --- components of the form resource
  TTimer* RepeatTimer = nullptr;     // the key engine's auto-repeat
  TTimer* TimerMonOff = nullptr;     // keeps the monitor off (power action)
  TTimer* TimerSetActive = nullptr;  // keeps the system awake meanwhile
  TTimer* LngCkTimer = nullptr;      // enabled by the keyboard-layout action; its tick does nothing
  TLabel* VyLabel4 = nullptr;        // "Total key presses:"
  TLabel* Label_clicks = nullptr;    // the key-press counter
  TLabel* L_MainVersion = nullptr;
  TLabel* TranslateInfoLabel = nullptr;  // translator and version of the language
  TCoolTrayIcon* tray = nullptr;
  TPopupMenu* TrayMenu = nullptr;
  TCustomImageList* TrayIconPngImageList = nullptr;  // the 16 tray pictures
  TCustomImageList* TrayMenuPngImageList = nullptr;
  TTimer* Timer_TrayIconChanger = nullptr;  // the normal picture back after a lock change
  TMenuItem* N10 = nullptr;                 // the global profiles
  TMenuItem* N11 = nullptr;                 // off / on

  // --- event handlers
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void TimerMonOffTimer(TObject* Sender);
  void TimerSetActiveTimer(TObject* Sender);
  void LngCkTimerTimer(TObject* Sender);
  void StatLabelCLick(TObject* Sender);
  void trayStartup(TObject* Sender, bool& ShowMainForm);
  void trayDblClick(TObject* Sender);
  void trayMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void TrayMenuPopup(TObject* Sender);
  void N8Click(TObject* Sender);
  void N11Click(TObject* Sender);
  void N5Click(TObject* Sender);
  void Timer_TrayIconChangerTimer(TObject* Sender);
  void VyPageControl1Change(TObject* Sender);
  void VyPageControl2Change(TObject* Sender);

  // --- the tray (see MainTray.h)
  void onoff();
  bool ProgramOn() const { return !tray_ || tray_->ProgramOn(); }
  // 1 next, -1 previous global profile.
  void ActivateNextPrevProfile(int Direction);
  void IndicateInTrayIcon(const std::string& Name, int Interval);
  void AddTrayCSNIcons(const std::string& Name);
  int GetTrayPngIndexByName(const std::string& Name) const;
  // Loads a global profile into the live table (the key list keeps what it shows).
  void LoadLiveGlobalProfile(const std::string& name);

  // --- services of the main window for the other windows and the actions
  TKeyEngine& Engine() { return *engine_; }
  TActionFamilies& ActionFamilies() { return actionFamilies_; }
  TLanguage& Language() { return *language_; }
  TSettingsStore& Settings() { return *settings_; }
  TExtSettings& ExtSettings() { return ext_; }
  TProfileStore& ProfileStore() { return *profiles_; }
  TBindingAccess& Bindings() { return *bindings_; }
  TPluginHost& Plugins() { return *plugins_; }
  TNamedTimers& Timers() { return *timers_; }
  TKeyTable& EditList() { return editList_; }
  TInputForm& InputDialog() { return *inputForm_; }

  // The key capture dialog over this window, dimmed while it is open, in one of its
  // modes (TInputForm::Showing); the dialog's modal result.
  TModalResult ShowInputForm(std::uint8_t mode);
  // The key for a new binding, captured through the dialog's key page; nothing when
  // the user cancelled (Esc, the close box) or the window closed meanwhile.
  std::optional<TKeyEvent> CaptureNewKey();
  // Where each action family's executor is Set (a family without one runs nothing).
  TActionExecutors Executors;

  std::wstring GetLngString(const std::wstring& key, const std::wstring& defaultText = {}) const;
  std::wstring GetLngMessage(const std::wstring& name) const;
  bool IsRusLang() const;
  // "MainForm", "InputForm", "DonateForm", "SettingsHKForm" (the windows that exist so far);
  // any other name does nothing.
  void TranslateComponents(const std::wstring& formName);
  // Loads the language, stores its name in the settings and translates the windows;
  // false (nothing changes) when its file is missing or empty.
  bool SetLanguage(const std::wstring& name);

  // Empties the binding tables and loads the active global profile into the live
  // global table and the edit list.
  void LoadKeys();
  // Reads every per-program profile into memory, for the key road to switch to.
  void LoadProgramProfiles();
  // Called once the settings are loaded: a close request that came meanwhile
  // (refused then) is carried out now.
  void SettingsLoadingEnded();
  // Kind 1 "Unable to set hook", kind 2 "Can`t load plugin" (or text, which
  // starts with it and says more); other kinds nothing.
  void ErrorMsg(int kind, const std::wstring& text = {});

  // The power action keeps the monitor off with TimerMonOff; a lock, an unlock or
  // a resume switches it back on.
  bool MonitorIsOff = false;
  void SwitchMonitorOn();

  // The counter of key presses, as the statistics show it.
  std::int32_t KeyPressCount() const { return counter_.Count(); }
  const std::wstring& KeyPressText() const { return keyPressText_; }

  // Start-up facts other parts read.
  std::filesystem::path ProgramFolder;
  std::filesystem::path PluginFolder;
  std::filesystem::path SkinFolder;
  bool LargeFonts = false;
  int ScreenDpi = 96;
  std::int32_t UILanguageID = 0;
  bool UiLanguageIsRussianFamily = false;
  bool SessionNotifyRegistered = false;
  bool FirstRun = false;

  // --- message handlers
  void WMRestoreMain(TMessage& m);
  void WMPluginKey(TMessage& m);
  void WMGetKeyCallback(TMessage& m);
  void WMPowerBroadcast(TMessage& m);
  void WMWtsSessionChange(TMessage& m);
  void WMKeyEngineRun(TMessage& m);
  void WMSysCommand(TMessage& m);
  void WMTrayStart(TMessage& m);

 private:
  static void Publish(TPublisher<TMainForm>& p);

  class TEngineOptions;
  class TEngineLanguage;
  class TEngineProfiles;
  class TEngineCounter;
  class TCaptureWatch;

  void installHook();
  void removeHook();
  // Keys and plug-ins run only while the user has the program on and the session
  // is not locked; either reason alone stops them, and both must end to resume.
  void applyKeyHandling();
  void makeTray();
  void applyLanguageTexts();
  std::wstring firstRunLanguage() const;
  void noteSleepKey(const TKeyEvent& key, const std::vector<TKeyRecord>& bindings);
  void tearDown();
  void closeInputForm();

  TExtSettings ext_;
  std::unique_ptr<ISettingsReporter> reporter_;
  std::unique_ptr<TSettingsStore> settings_;
  std::unique_ptr<TLanguage> language_;
  TKeyTable editList_;
  std::unique_ptr<TKeyListPage> keyListPage_;  // the key list itself (IKeyListView)
  std::unique_ptr<TPageNavigator> pages_;
  TNoticeDisplays displays_;
  TKeyTestListStandIn keyTestList_;
  TEscTargetsStandIn escTargets_;
  TWinForeground foreground_;
  TWinLockKeys lockKeys_;
  TActionFamilies actionFamilies_;
  std::unique_ptr<TEngineOptions> engineOptions_;
  std::unique_ptr<TEngineLanguage> engineLanguage_;
  std::unique_ptr<TEngineProfiles> engineProfiles_;
  std::unique_ptr<TEngineCounter> engineCounter_;
  std::unique_ptr<TCaptureWatch> captureWatch_;
  std::unique_ptr<TTimerRepeatTimer> repeatTimer_;
  std::unique_ptr<TKeyEngine> engine_;
  // After the engine: it turns the engine's capture mode off when it goes.
  std::unique_ptr<TInputForm> inputForm_;
  std::unique_ptr<TProfileStore> profiles_;
  TProgramProfileCache programProfiles_{[](std::string_view path) {
    const std::wstring folded = FoldedPath(path);
    return std::string(reinterpret_cast<const char*>(folded.data()), folded.size() * sizeof(wchar_t));
  }};
  std::unique_ptr<TBindingAccess> bindings_;
  std::unique_ptr<TPluginHost> plugins_;
  std::unique_ptr<TNamedTimers> timers_;
  TKeyPressCounter counter_;
  std::wstring keyPressText_ = L"0";
  // When a bound Sleep key last ran its (non-power) action, or the capture dialog took it.
  std::optional<std::uint64_t> sleepKeyRanAt_;
  std::unique_ptr<TMainTray> tray_;
  bool sessionLocked_ = false;
  bool hookInstalled_ = false;
  std::atomic<bool> tornDown_{false};  // read by the plug-in watchdog's thread too
  bool closeRequestedWhileLoading_ = false;
  int rememberedWidth_ = 0;
  int rememberedHeight_ = 0;
  // The settings pages: program, displays, popup and skins.
  std::unique_ptr<TSettingsPages> settingsPages_;
  void makeSettingsPages();
};

// The one main window of the program.
inline TMainForm* MainForm = nullptr;

// The help viewer is not built yet: asking for a topic does nothing.
bool ShowHelpTopic(const std::wstring& keyword);
