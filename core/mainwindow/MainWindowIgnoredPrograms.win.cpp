// The main window's handlers of the ignored-programs page; the page does the work.
#include "core/mainwindow/MainWindow.h"

TIgnoredProgramsPage& TMainForm::ignoredProgramsPage() {
  if (!ignoredProgramsPage_) {
    TIgnoredProgramsPage::THooks hooks;
    hooks.GetLngMessage = [this](const std::wstring& name) { return GetLngMessage(name); };
    hooks.ListEmptied = [this] {
      if (engine_) engine_->ClearForegroundIgnored();
    };
    ignoredProgramsPage_ = std::make_unique<TIgnoredProgramsPage>(
        TIgnoredProgramsPage::TParts{*ListExceptProgs, *AddExceptProgMenuTasks, *OpenDialogAddExceptProg}, ext_,
        std::move(hooks));
    ignoredProgramsPage_->OnRunningProgramClick = [this](TObject* Sender) { AddExceptProgMenuTasksClick(Sender); };
  }
  return *ignoredProgramsPage_;
}

void TMainForm::ignoredProgramsPageShown() { ignoredProgramsPage().Rebuild(); }

void TMainForm::AddExceptProgMenuPopup(TObject*) { ignoredProgramsPage().FillRunningPrograms(); }

void TMainForm::AddExceptProgMenuOpenClick(TObject*) { ignoredProgramsPage().AddFromDialog(); }

void TMainForm::AddExceptProgMenuTasksClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) ignoredProgramsPage().AddRunningProgram(*item);
}

void TMainForm::DelExceptProgClick(TObject*) { ignoredProgramsPage().DeleteSelected(); }
