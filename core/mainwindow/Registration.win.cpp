// The main window's forms and frames (their resources name them as the root).
#include "core/mainwindow/DonateForm.h"
#include "core/mainwindow/FrameHist.h"
#include "core/mainwindow/FrameProfile.h"
#include "core/mainwindow/InputForm.h"
#include "core/mainwindow/MainWindow.h"
#include "core/mainwindow/SettingsHKForm.h"

void RegisterClassesOf_core_mainwindow() {
  RegisterClasses<TMainForm, TInputForm, TDonateForm, TSettingsHKForm, TFrameHist, TFrameProfile>();
}
