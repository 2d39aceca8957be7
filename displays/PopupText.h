// The popup's texts as the text display shows them, when the user has chosen to
// see events there instead of in the popup. The body is the popup's tagged text;
// the text display shows what it reads as (no tags, entities decoded once).
#pragma once
#include <string>

namespace Displays {

// The settings' test and preview calls always show as a popup.
bool IsPopupPreview(const std::wstring& caption, const std::wstring& text, const std::wstring& testMessage);

// Caption and position, then the time in brackets, a line break (CR) and the
// body; an empty caption drops the position too.
std::wstring PopupNoticeAsOsdText(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                                  const std::wstring& text);
// The track popup's texts on one line each as the text display shows them over its bar.
std::wstring PopupTrackAsOsdText(const std::wstring& caption, const std::wstring& pos, const std::wstring& time,
                                 const std::wstring& text);

// CR LF in a body becomes a line break of the tagged text.
std::wstring PopupBodyMarkup(const std::wstring& text);

}  // namespace Displays
