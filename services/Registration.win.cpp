// The component classes of this folder that forms name.
#include "services/CoolTrayIcon.h"
#include "services/ProcessList.h"
#include "vcl/ClassRegistry.h"

void RegisterClassesOf_services() { RegisterClasses<TCoolTrayIcon, TacProcessList>(); }
