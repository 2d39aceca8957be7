// The program body: one instance per session, the settings read before any
// window exists, the windows in their order of creation, and the message loop.
#include "core/mainwindow/DonateForm.h"
#include "core/mainwindow/MainWindow.h"
#include "core/settings/SettingsFolder.h"
#include "core/mainwindow/SettingsHKForm.h"
#include "core/utils/MessageSink.h"
#include "core/utils/ProgramRestart.h"
#include "displays/DimmingOverlay.h"
#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "displays/Popup.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"
#include "vcl/ScopeGuards.h"
#include "vcl/ComObj.h"
#include "vcl/Dialogs.h"
#include "vcl/ClassRegistry.h"
#include "vcl/Forms.h"
#include "vcl/Win.h"

#include <memory>

namespace {

// How long a second start waits for the first instance's window to appear, and
// then for it to answer: a few seconds each, far beyond a healthy start.
constexpr int kWindowSearchTries = 50;  // of 100 ms
constexpr UINT kRestoreAnswerMs = 5000;

// Another instance holds the mutex: show its window, bounded so a hung instance
// never hangs this one. False when it has no window or does not answer.
bool RestoreRunningInstance() {
  for (int tries = 0; tries < kWindowSearchTries; ++tries) {
    if (HWND other = FindWindowW(L"TMainForm", L"Qorn")) {
      DWORD_PTR result = 0;
      return SendMessageTimeoutW(other, WM_RESTOREMAIN, 0, 0, SMTO_BLOCK, kRestoreAnswerMs, &result) != 0;
    }
    // The first instance may not have made its window yet.
    Sleep(100);
  }
  return false;
}

// Without this the user, starting Qorn again and again, would see nothing at all.
void TellRunningButNotAnswering() {
  DialogService().MessageBox(nullptr,
                             L"Qorn is already running, but it does not answer.\n\n"
                             L"End Qorn.exe in the Task Manager, then start Qorn again.",
                             L"Qorn", MB_OK | MB_ICONWARNING);
}

// The settings records are filled before the first window is made; the main
// window reads them again into the lists it owns, waits for a locked file and
// tells the user what it could not take, once.
void LoadSettingsBeforeWindows() {
  InitSettingsPath();
  TExtSettings lists;
  TSilentSettingsReporter quiet;
  TSettingsStore store(std::filesystem::path(SettingsFolder), SettingsRecords, lists, quiet);
  store.SetReadRetry({1, {}});
  store.LoadMainSetingsFromFile();
}

template <class T>
void DeleteForm(T*& form) {
  delete form;
  form = nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  InstallMessageSinkFromEnvironment();
  // Started again by an instance that lost its main thread to a plug-in: that
  // one still holds the mutex until it is gone.
  if (const auto before = PredecessorOnCommandLine(commandLine ? commandLine : L"")) WaitForPredecessor(*before);

  // Creating and testing in one step: two quick starts can never both win.
  TUniqueHandle mutex(CreateMutexW(nullptr, FALSE, L"QornMutex"));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (!RestoreRunningInstance()) TellRunningButNotAnswering();
    return 0;
  }

  // Drag and drop, the shell's dialogs and clipboard formats need OLE on this thread.
  const TOleInitialization ole;
  // Every class the form resources name, whatever the link kept.
  RegisterAllClasses();
  Application->Initialize();
  Application->SetTitle(L"Qorn");
  LoadSettingsBeforeWindows();
  bool started = false;
  try {
    {
      // Closing is refused and option handlers stay quiet while these are made.
      TSettingsLoadingScope loading;
      Application->CreateForm(MainForm);
      Application->CreateForm(OSDinfo);
    }
    // A close asked for while a box of the loading was open happens now.
    MainForm->SettingsLoadingEnded();
    Application->CreateForm(OSDvForm);
    Application->CreateForm(OSDtForm);
    Application->CreateForm(PopupForm);
    Application->CreateForm(DonateForm);
    Application->CreateForm(SettingsHKForm);
    Application->CreateForm(OSDmForm);
    // The user's own mute pictures are named in the extended settings.
    OSDmForm->Settings = &MainForm->ExtSettings();
    MainForm->TranslateComponents(L"DonateForm");
    MainForm->TranslateComponents(L"SettingsHKForm");
    started = true;
  } catch (...) {
    // A window that cannot be made (a damaged resource) is reported; the program
    // then ends without running half-built.
    Application->HandleException(nullptr);
  }

  if (started) Application->Run();

  // The main window goes first: its teardown removes the hook and stops the
  // plug-ins while everything they might reach still exists.
  Application->SetMainForm(nullptr);
  DeleteForm(MainForm);
  DeleteForm(Form_Fog);
  DeleteForm(OSDmForm);
  DeleteForm(SettingsHKForm);
  DeleteForm(DonateForm);
  DeleteForm(PopupForm);
  DeleteForm(OSDtForm);
  DeleteForm(OSDvForm);
  DeleteForm(OSDinfo);
  if (!started) return 1;
  return 0;
}
