#include "core/mainwindow/DonateForm.h"

#include "core/mainwindow/MainWindow.h"
#include "vcl/Win.h"

void TDonateForm::ShowWnd() {
  if (MainForm) {
    MainForm->TranslateComponents(L"DonateForm");
    const std::wstring caption = MainForm->GetLngString(L"DonateForm.Caption");
    if (!caption.empty()) SetCaption(caption);
  }
  // It comes while the user types in another program: on top, but the activation
  // stays where it is.
  HandleNeeded();
  ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
  Show();
}
