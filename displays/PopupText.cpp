#include "displays/PopupText.h"

#include "controls/visual/HTMLText.h"

namespace Displays {

namespace {
constexpr wchar_t kBlanks[] = L"     ";
}

bool IsPopupPreview(const std::wstring& caption, const std::wstring& text, const std::wstring& testMessage) {
  return caption == L"Test" || text == L"Preview PopUp window" || text == testMessage;
}

std::wstring PopupNoticeAsOsdText(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                                  const std::wstring& text) {
  const std::wstring body = Flat::HTMLToPlainText(text);
  std::wstring head = caption.empty() ? std::wstring() : caption + kBlanks + pos;
  if (!time.empty()) head += (head.empty() ? L"[" : std::wstring(kBlanks) + L"[") + time + L"]";
  return head.empty() ? body : head + L'\r' + body;
}

std::wstring PopupTrackAsOsdText(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                                 const std::wstring& text) {
  return caption + kBlanks + pos + kBlanks + L"[" + time + L"]" + L'\r' + Flat::HTMLToPlainText(text);
}

std::wstring PopupBodyMarkup(const std::wstring& text) {
  std::wstring r;
  r.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      r += L"<br>";
      ++i;
    } else {
      r += text[i];
    }
  }
  return r;
}

}  // namespace Displays
