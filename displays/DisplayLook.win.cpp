#include "displays/DisplayLook.h"

#include "core/settings/Settings.h"
#include "core/settings/SettingsFonts.h"

namespace Displays {

void ApplyTextDisplayFont(TFont* font) { ApplyFontSlot(font, 0); }

void ApplyFontSlot(TFont* font, std::size_t index) {
  const TFontSlot& slot = FontSlots[index];
  if (!slot.Present) return;
  HFONT handle = CreateSlotFont(slot);
  if (!handle) return;
  font->SetHandle(handle);
  DeleteObject(handle);
  font->SetColor(static_cast<TColor>(slot.Color));
}

}  // namespace Displays
