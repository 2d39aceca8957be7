// Translation of a window's designed texts from the current language file.
//
// The main window's TranslateComponents (form name) picks the window or frame and
// calls this; the navigation groups ("Groups") are captioned by the main window
// itself from their "Groups.GroupNN" keys.
#pragma once
#include <optional>
#include <string>

class TComponent;
class TLanguage;

// The character set fonts get for the current language: 204 (RUSSIAN_CHARSET) for
// the Russian-text languages, else 1 (DEFAULT_CHARSET).
int LanguageCharset(const TLanguage& lang);

// Translates `window` (a form or frame):
// - every object of the window, the window included, that publishes "ParentFont"
//   as false and a "Font" gets that font's "Charset" set to LanguageCharset;
// - every component the window owns that publishes a writable "Caption" (controls
//   and menu items; an edit publishes Text instead) takes the text of the key
//   "<owner name>.<component name>", unless its designed caption is empty or blank
//   or the key gives no text (see TLanguage::TranslateCaption). The components of
//   a frame are the frame's: they are translated with the frame;
// - the items of a TFlatComboBox by "<owner>.<combo>.Item<n>" (only when the file
//   has a key that begins with "<owner>.<combo>"; the selected index is kept), and
//   the column captions of a list view by "<owner>.<view>.Columns<n>".
void TranslateComponents(const TLanguage& lang, TComponent& window);

// The caption of item `item` of navigation group `group` (0 multimedia: items
// 0..3, keys "Groups.Group10".."Groups.Group13"; 1 actions: 0..9, "Groups.Group20"
// .."Groups.Group29"; 2 keyboard: 0..3, "Groups.Group31".."Groups.Group34");
// nothing for an item outside them. Only "Groups.Group29" keeps the current caption
// when the file lacks it; every other absent key gives an empty caption.
std::optional<std::wstring> NavigationItemCaption(const TLanguage& lang, int group, int item,
                                                  const std::wstring& current);
