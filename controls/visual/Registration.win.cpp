// The visual component set's classes, as form resources name them.
#include "controls/visual/HTMLabel.h"

void RegisterClassesOf_controls_visual() { RegisterClasses<Flat::THTMLabel>(); }
