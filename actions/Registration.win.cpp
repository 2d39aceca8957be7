// The action pages (their resources name them as the root).
#include "actions/ActionFrames.h"

void RegisterClassesOf_actions() { RegisterClasses<TFrameEmpty>(); }
