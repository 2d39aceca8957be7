#include "core/mainwindow/AboutPage.h"

#include <cstdio>
#include <cwchar>

#include "vcl/System.h"

std::wstring PercentEncode(std::wstring_view text) {
  const std::string utf8 = StringToUtf8(std::wstring(text));
  std::wstring out;
  for (unsigned char c : utf8) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::wstring_view(L"-._~:,()/").find(static_cast<wchar_t>(c)) != std::wstring_view::npos;
    if (plain) {
      out += static_cast<wchar_t>(c);
    } else {
      wchar_t hex[4];
      std::swprintf(hex, 4, L"%%%02X", c);
      out += hex;
    }
  }
  return out;
}

std::wstring BuildFeedbackBody(std::wstring_view version, const TWinVersionInfo& windows, bool x64Windows, int wow64) {
  const std::wstring lineBreaks = PercentEncode(L"\n\n");
  std::wstring os = WinVersionName(WinVersionCode(windows));
  if (x64Windows) os += L" x64 ";
  os += L" (" + WinVersionString(windows, true) + L")";
  return PercentEncode(L"Qorn Version: " + std::wstring(version)) + lineBreaks + PercentEncode(L"OS version: " + os) +
         lineBreaks + PercentEncode(L"WOW64: " + std::to_wstring(wow64));
}

std::wstring FeedbackMailLink(const TAboutContacts& contacts, std::wstring_view subjectStart, std::wstring_view version,
                              std::wstring_view encodedBody) {
  if (contacts.MailAddress.empty()) return {};
  std::wstring to = contacts.MailAddress;
  if (!contacts.MailName.empty()) to = PercentEncode(contacts.MailName) + L"%20%3C" + to + L"%3E";
  return L"mailto:" + to + L"?Subject=" + PercentEncode(std::wstring(subjectStart) + L" " + std::wstring(version)) +
         L"&body=" + std::wstring(encodedBody);
}

std::wstring AboutText(bool russian) {
  if (russian)
    return L"Qorn (Vantorel)\r\n"
           L"\r\n"
           L"Спасибо всем, кто принимал участие в разработке Qorn: кто испытывал его, сообщал об ошибках, "
           L"предлагал новые возможности и переводил его на другие языки.\r\n"
           L"\r\n"
           L"Благодарности:\r\n"
           L"- всем, кто испытывал каждую версию;\r\n"
           L"- переводчикам языковых файлов;\r\n"
           L"- всем, кто присылал отзывы и пожертвования.";
  return L"Qorn (Vantorel)\r\n"
         L"\r\n"
         L"Thanks to everyone who took part in the development of Qorn: who tested it, reported faults, suggested "
         L"new features and translated it into other languages.\r\n"
         L"\r\n"
         L"Thanks to:\r\n"
         L"- everyone who tested each version;\r\n"
         L"- the translators of the language files;\r\n"
         L"- everyone who sent feedback and donations.";
}
