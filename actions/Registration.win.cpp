// The action pages' frames (their resources name them as the root).
#include "actions/ActionFrame.h"
#include "actions/ActionFrames.h"
#include "actions/VolumeFrame.h"

void RegisterClassesOf_actions() { RegisterClasses<TActionFrame, TFrameEmpty, TFrameVol>(); }
