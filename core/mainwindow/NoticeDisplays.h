// The key road's notices on the screen. The key engine queues them and they are
// shown from the main loop, after the hook has its answer: the text display
// through the program's displays; the popup and the tray indicator with their
// own windows.
#pragma once
#include <cstdint>
#include <string>

#include "core/keys/KeyEngineWorld.h"
#include "displays/OnScreenDisplays.h"

class TNoticeDisplays final : public INoticeDisplays {
 public:
  void ShowText(int kind, const std::wstring& text) override {
    OnScreenDisplays().ShowText(static_cast<std::uint8_t>(kind), text);
  }
  // TPopupForm.showing: the popup is not built yet, so a notice meant for it shows nowhere.
  void ShowPopup(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&, int, int,
                 int) override {}
  // The tray icon is not built yet.
  void IndicateInTrayIcon(const std::string&, int) override {}
};
