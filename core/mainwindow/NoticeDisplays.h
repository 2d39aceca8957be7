// The key road's notices on the screen. The key engine queues them and they are
// shown from the main loop, after the hook has its answer: the text display and
// the popup through the program's displays; the tray indicator with its own window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "controls/visual/HTMLText.h"
#include "core/keys/KeyEngineWorld.h"
#include "displays/OnScreenDisplays.h"

class TNoticeDisplays final : public INoticeDisplays {
 public:
  void ShowText(int kind, const std::wstring& text) override {
    OnScreenDisplays().ShowText(static_cast<std::uint8_t>(kind), text);
  }
  // TPopupForm.showing. Notices are plain text from bindings, file names and
  // window titles: the popup's tagged body shows them as they are.
  void ShowPopup(const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                 const std::wstring& text, int, int kind, int percent) override {
    OnScreenDisplays().ShowPopup(caption, second, third, Flat::EscapeHTMLText(text), static_cast<std::uint8_t>(kind),
                                 static_cast<std::uint8_t>(percent));
  }
  // The main window's tray icon (TMainForm.IndicateInTrayIcon).
  void IndicateInTrayIcon(const std::string& name, int ms) override {
    if (TrayIndicator) TrayIndicator(name, ms);
  }
  std::function<void(const std::string&, int)> TrayIndicator;
};
