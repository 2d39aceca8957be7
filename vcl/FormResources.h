// Form resources compiled into the program: each FOLDER/Name.form is an RCDATA resource
// named "NAME" (the file name in upper case). Windows only.
#pragma once
#include <string>

#include "vcl/Classes.h"

// "TMainForm" -> "MAINFORM": the resource a form class reads its components from.
std::wstring FormResourceName(const TComponent* Root);
// Whether the program holds that RCDATA resource.
bool FormResourceExists(const std::wstring& ResourceName);
// Reads the resource into Root; throws EFormReadError (a missing resource included).
void ReadComponentRes(const std::wstring& ResourceName, TComponent* Root);
