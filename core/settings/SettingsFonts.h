// Windows only: the font slots as GDI fonts. The main window's font dialogs hold
// fonts made from the slots and give them back to the slots before a save.
#pragma once
#include "core/settings/Settings.h"
#include "vcl/Win.h"

LOGFONTA ToLogFont(const TStoredLogFont& font);
TStoredLogFont FromLogFont(const LOGFONTA& font);

// A new font from a slot; nullptr for an empty slot. The caller owns it.
HFONT CreateSlotFont(const TFontSlot& slot);
// The slot of a font handle and its colour; an empty slot when the handle's
// LOGFONTA cannot be read (written as tag 0).
TFontSlot SlotFromFont(HFONT font, std::int32_t color);
