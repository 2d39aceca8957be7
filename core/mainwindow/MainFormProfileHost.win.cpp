#include "core/mainwindow/MainFormProfileHost.h"

#include "core/mainwindow/MainWindow.h"

TProfileStore& TMainFormProfileHost::ProfileStore() { return form_.ProfileStore(); }

const TLanguage& TMainFormProfileHost::Language() { return form_.Language(); }

// The per-program profiles are read again (the key road keeps them in memory),
// and the key engine hears that the bindings changed.
void TMainFormProfileHost::ProfilesChanged() { form_.LoadProgramProfiles(); }
