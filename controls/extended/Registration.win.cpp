// The component classes of the extended control library that form resources may name.
#include "controls/extended/VyBckgnd.h"
#include "controls/extended/VyBorder.h"
#include "controls/extended/VyBtnEdt.h"
#include "controls/extended/VyButton.h"
#include "controls/extended/VyCalendar.h"
#include "controls/extended/VyChkLst.h"
#include "controls/extended/VyClock.h"
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyCtlButton.h"
#include "controls/extended/VyDateTimeEdit.h"
#include "controls/extended/VyEdit.h"
#include "controls/extended/VyGroupBar.h"
#include "controls/extended/VyHotKeyEdit.h"
#include "controls/extended/VyLabel.h"
#include "controls/extended/VyListVw.h"
#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyPanel.h"
#include "controls/extended/VyPopups.h"
#include "controls/extended/VyPrgres.h"
#include "controls/extended/VyShellList.h"
#include "controls/extended/VyShellDialogs.h"
#include "controls/extended/VySpnEdt.h"
#include "controls/extended/VyTabs.h"
#include "controls/extended/VyToolButton.h"
#include "controls/extended/VyTrkBar.h"
#include "vcl/ClassRegistry.h"
#include "vcl/Classes.h"

void RegisterClassesOf_controls_extended() {
  RegisterClasses<Vy::TVyPageControl, Vy::TVyTabSheet, Vy::TVyBorder, Vy::TVyProgressBar, Vy::TVyFrameController, Vy::TVyRegIniFile, Vy::TVyLabel,
                  Vy::TVyPanel, Vy::TVyStatusBar, Vy::TVyBackground, Vy::TVySeparator>();
  RegisterClasses<Vy::TVyGroupBar, Vy::TVyGroup, Vy::TVyGroupController, Vy::TVyRapidFireButton>();
  RegisterClasses<Vy::TVyControlButton, Vy::TVyEdit, Vy::TVyButtonEdit, Vy::TVyTrackBar, Vy::TVyButton,
                  Vy::TVyBitBtn, Vy::TVyMenuButton, Vy::TVyToolButton>();
  RegisterClasses<Vy::TVyListBox, Vy::TVyCheckList, Vy::TVyListView>();
  RegisterClasses<Vy::TVyHotKeyEdit, Vy::TVyDateTimeEdit>();
  RegisterClasses<Vy::TVyShellList>();
  RegisterClasses<Vy::TVyPopupPanel, Vy::TVyCalendar, Vy::TVyTimePicker>();
  RegisterClasses<Vy::TVyShellTree, Vy::TVySelectFolderDialog, Vy::TVySelectFolderForm>();
}
