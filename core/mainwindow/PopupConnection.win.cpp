#include "core/mainwindow/PopupConnection.h"

#include "core/mainwindow/MainWindow.h"
#include "displays/Popup.h"

void ConnectPopup(TPopupForm& popup, TMainForm& main) {
  popup.LanguageText = [&main](const std::string& key, const std::wstring& fallback) {
    return main.GetLngString(std::wstring(key.begin(), key.end()), fallback);
  };
  popup.FullScreenInFront = [&main] { return main.Engine().isfullscreen(); };
  popup.SkinsFolder = (main.SkinFolder / "Popup").wstring() + L"\\";
}
