#include "core/mainwindow/AboutPage.h"

#include <shellapi.h>

#include <cstring>

#include "core/mainwindow/MainWindow.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Win.h"

TAboutPage::TAboutPage(TMainForm& form)
    : form_(form), shellOpen_([](const std::wstring& address) {
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }) {}

void TAboutPage::SetContacts(TAboutContacts contacts) {
  contacts_ = std::move(contacts);
  Fill();
}

void TAboutPage::Fill() {
  if (form_.L_AboutVer) form_.L_AboutVer->SetCaption(AboutVersionText);
  if (form_.L_BuldDate) form_.L_BuldDate->SetCaption(BuildDateText);
  if (form_.wwww) {
    form_.wwww->SetCaption(contacts_.WebAddress);
    form_.wwww->SetVisible(!contacts_.WebAddress.empty());
  }
  if (form_.mail) {
    form_.mail->SetCaption(contacts_.MailAddress);
    form_.mail->SetVisible(!contacts_.MailAddress.empty());
  }
  if (form_.AboutMemo) form_.AboutMemo->SetText(AboutText(form_.IsRusLang()));
}

void TAboutPage::OpenWebSite() {
  if (!contacts_.WebAddress.empty()) shellOpen_(contacts_.WebAddress);
}

void TAboutPage::WriteMail() {
  const TWinVersionInfo windows = QueryWinVersion();
  const std::wstring body = BuildFeedbackBody(MainVersionText, windows, Is64BitWindows(), IsWow64());
  const std::wstring link = FeedbackMailLink(contacts_, form_.GetLngString(L"Str.FromUser"), MainVersionText, body);
  if (!link.empty()) shellOpen_(link);
}

bool TAboutPage::CopyMailAddress() {
  if (contacts_.MailAddress.empty() || !OpenClipboard(form_.GetHandle())) return false;
  const TOnExit close([] { CloseClipboard(); });
  EmptyClipboard();
  const std::wstring& text = contacts_.MailAddress;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(memory);
  // The clipboard owns the memory once it took it.
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}
