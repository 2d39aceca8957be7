#include "vcl/Color.h"
#include "vcl/Win.h"

TColor SysColorValue(int index) { return TColor(GetSysColor(index)) & 0xFFFFFF; }
