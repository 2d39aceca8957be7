// What the popup asks of the program around it: language texts, the full-screen
// test and where the skins are.
#pragma once
#include <string>

class TMainForm;
class TPopupForm;

void ConnectPopup(TPopupForm& popup, TMainForm& main);

