#include "core/mainwindow/PopupConnection.h"

#include "controls/visual/HTMLText.h"
#include "core/mainwindow/MainWindow.h"
#include "displays/Popup.h"

void ConnectPopup(TPopupForm& popup, TMainForm& main) {
  popup.LanguageText = [&main](const std::string& key, const std::wstring& fallback) {
    return main.GetLngString(std::wstring(key.begin(), key.end()), fallback);
  };
  popup.FullScreenInFront = [&main] { return main.Engine().isfullscreen(); };
  popup.SkinsFolder = (main.SkinFolder / "Popup").wstring() + L"\\";
}

void ShowNoticeInPopup(const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                       const std::wstring& text, int a, int b, int c) {
  if (!PopupForm) return;
  PopupForm->showing(caption, second, third, Flat::EscapeHTMLText(text), static_cast<std::uint8_t>(a),
                     static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c));
}
