// File-name masks: "*" any run of characters, "?" any one character, "[set]" one
// character of the set ("[a-c_]"; "[!...]" one character outside it), without regard
// to case. Every other character stands for itself ("*.*" needs a dot).
#pragma once
#include "vcl/Exceptions.h"
#include "vcl/System.h"

VCL_DECLARE_EXCEPTION(EMaskException, Exception);

// Raises EMaskException "'mask' is an invalid mask at (N)" for an unclosed set.
bool MatchesMask(const String& fileName, const String& mask);
