#include "displays/DisplayLook.h"

#include "core/settings/Settings.h"
#include "core/settings/SettingsFonts.h"

namespace Displays {

void ApplyTextDisplayFont(TFont* font) {
  const TFontSlot& slot = FontSlots[0];
  if (!slot.Present) return;
  HFONT handle = CreateSlotFont(slot);
  if (!handle) return;
  font->SetHandle(handle);
  DeleteObject(handle);
  font->SetColor(static_cast<TColor>(slot.Color));
}

}  // namespace Displays
