// The popup as the main window drives it: what the popup asks of the program
// (language texts, the full-screen test, where the skins are), and the key
// road's notices, which are plain text, put into its tagged body text escaped.
#pragma once
#include <string>

class TMainForm;
class TPopupForm;

void ConnectPopup(TPopupForm& popup, TMainForm& main);

// TPopupForm.showing for a notice of the key road: the texts come from bindings,
// file names and window titles, so the body shows them as they are.
void ShowNoticeInPopup(const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                       const std::wstring& text, int a, int b, int c);
