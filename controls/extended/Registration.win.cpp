// The component classes of the extended control library that form resources may name.
#include "controls/extended/VyBckgnd.h"
#include "controls/extended/VyBorder.h"
#include "controls/extended/VyChkLst.h"
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyLabel.h"
#include "controls/extended/VyListVw.h"
#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyPanel.h"
#include "controls/extended/VyPrgres.h"
#include "controls/extended/VyTabs.h"
#include "vcl/ClassRegistry.h"
#include "vcl/Classes.h"

void RegisterClassesOf_controls_extended() {
  RegisterClasses<Vy::TVyPageControl, Vy::TVyTabSheet, Vy::TVyBorder, Vy::TVyProgressBar, Vy::TVyFrameController, Vy::TVyRegIniFile, Vy::TVyLabel,
                  Vy::TVyPanel, Vy::TVyStatusBar, Vy::TVyBackground, Vy::TVySeparator>();
  RegisterClasses<Vy::TVyListBox, Vy::TVyCheckList, Vy::TVyListView>();
}
