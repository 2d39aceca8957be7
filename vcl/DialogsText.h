// Text rules of the file dialogs, kept apart from the windows so that they build
// and are tested natively too.
#pragma once

#include <string>

// The filter of a file dialog ("text|mask|text|mask") as the system's dialog
// takes it: each text and mask ended by a NUL, the list by a second one (empty
// when there is no filter). An empty text or mask would end the list early: an
// empty text shows its mask instead, an empty mask matches every file, an empty pair is left out, and a
// text left without a mask serves as its own mask.
std::wstring FileDialogFilterList(const std::wstring& filter);

// A default extension as the dialog appends it: "exe" for "exe", ".exe" or
// "*.exe"; empty when nothing of a real extension is left ("", "*.*", "*").
std::wstring FileDialogDefaultExt(const std::wstring& ext);
