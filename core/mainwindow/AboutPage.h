// The about page of the main window: the version and build date, the project's web
// address and feedback mail (shown only when the project publishes them), the
// thanks text, and the donation button. The texts and the mail link are built here
// without Windows; TAboutPage (Windows only) puts them on the page's controls.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/utils/myUtils.h"

inline constexpr const wchar_t* AboutVersionText = L"Qorn v1.3.5 Public Edition";
inline constexpr const wchar_t* BuildDateText = L"23.11.2015";

// Where users reach the project. Qorn publishes neither a web site nor a feedback
// address yet: both links stay hidden until these are filled in.
struct TAboutContacts {
  std::wstring WebAddress;   // "https://..."
  std::wstring MailName;     // shown before the address in the mail link
  std::wstring MailAddress;  // "name@host"
};
inline const TAboutContacts QornContacts{};

// The text as a URL's query value: UTF-8, every byte but letters, digits and
// "-._~:,()/" as %XX, so "&", "#", "?", "=" and "+" cannot end or bend the value.
std::wstring PercentEncode(std::wstring_view text);

// The system description a feedback mail starts with, encoded for the mail link:
// the program's version, the Windows name and version ("x64" on 64-bit Windows), and whether
// the program runs under WOW64 (1, 0, or -1 unknown), each on a line of its own.
std::wstring BuildFeedbackBody(std::wstring_view version, const TWinVersionInfo& windows, bool x64Windows, int wow64);

// "mailto:" with the name and address, the subject (`subjectStart` and the
// version) and the body; empty when no address is published.
std::wstring FeedbackMailLink(const TAboutContacts& contacts, std::wstring_view subjectStart, std::wstring_view version,
                              std::wstring_view encodedBody);

// The thanks text of the about page, Russian or English.
std::wstring AboutText(bool russian);

#ifdef _WIN32
#include "controls/visual/SevenButton.h"
#include "controls/visual/TFlatMemoUnit.h"

class TMainForm;

// Puts the about texts on the main window's about page and answers its links.
class TAboutPage {
 public:
  using TShellOpen = std::function<void(const std::wstring& address)>;
  explicit TAboutPage(TMainForm& form);

  // The version, the date, the links shown or hidden, and the thanks text in the
  // current language.
  void Fill();
  void OpenWebSite();
  void WriteMail();
  // The feedback address on the clipboard as text; false when it could not be put there.
  bool CopyMailAddress();

  void SetContacts(TAboutContacts contacts);
  const TAboutContacts& Contacts() const { return contacts_; }
  // Tests record what would be opened instead of starting a browser or a mail program.
  void SetShellOpen(TShellOpen open) { shellOpen_ = std::move(open); }

 private:
  TMainForm& form_;
  TAboutContacts contacts_ = QornContacts;
  TShellOpen shellOpen_;
};
#endif
