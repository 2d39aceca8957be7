#include "core/mainwindow/DonateForm.h"

#include "core/mainwindow/MainWindow.h"

void TDonateForm::ShowWnd() {
  if (MainForm) {
    MainForm->TranslateComponents(L"DonateForm");
    const std::wstring caption = MainForm->GetLngString(L"DonateForm.Caption");
    if (!caption.empty()) SetCaption(caption);
  }
  Show();
}
