// The settings page of the ignored programs (the main window's TabSheet7): one row
// per entry of the list with the program's description, path and icon; an entry is
// added from a file chosen in the open dialog or from the programs running now (a
// submenu filled each time the add menu opens), and deleted with its row. The main
// window's handlers forward here.
//
// Entries take effect when the program in front next changes (the key engine then
// looks the program up again); deleting the last entry stops all ignoring at once.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "controls/extended/VyListVw.h"
#include "core/settings/IgnoredPrograms.h"
#include "vcl/Dialogs.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

class TIgnoredProgramsPage {
 public:
  struct TParts {
    Vy::TVyListView& List;
    TMenuItem& RunningPrograms;  // the submenu of the programs running now
    TOpenDialog& Dialog;
  };
  struct THooks {
    // The language's message text ("Msg." + name); empty when it has none. Required.
    std::function<std::wstring(const std::wstring& name)> GetLngMessage;
    // The list became empty: the key engine's foreground flag goes with it.
    std::function<void()> ListEmptied;
  };
  TIgnoredProgramsPage(TParts parts, TExtSettings& ext, THooks hooks);
  ~TIgnoredProgramsPage();

  // The page is shown: the rows again from the list, while the list is in use.
  void Rebuild();
  // The add menu opens: one item per running program (each program once).
  void FillRunningPrograms();
  // A file chosen in the open dialog, when the dialog is confirmed.
  void AddFromDialog();
  // A program of the running-programs submenu (its caption shows the path).
  void AddRunningProgram(const TMenuItem& item);
  // The selected row and its entry; nothing without a selection.
  void DeleteSelected();

  // The menu's click handler for the running programs' items, set by the main window.
  TNotifyEvent OnRunningProgramClick;

 private:
  // A refused path is told in a message.
  void add(const std::wstring& path);
  void addRow(const std::wstring& path);
  // Tells why the path was refused: the language's text, else the built-in one.
  void refuse(const std::wstring& languageText, const wchar_t* otherwise, const std::wstring& path);

  TParts parts_;
  TIgnoredPrograms list_;
  THooks hooks_;
  // The shell's small system image list, shared (never destroyed here).
  std::unique_ptr<TImageList> rowIcons_;
  std::unique_ptr<TImageList> menuIcons_;
};
