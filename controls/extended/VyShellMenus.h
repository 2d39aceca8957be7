// The shell's context menus for the shell controls' items: building one, finding and
// running a command by its verb, passing the menu's messages to the shell's menu
// object, and a Send To submenu that the library fills and draws itself when the menu
// object cannot (it has no IContextMenu2).
//
// Command ids: the shell's commands from kFirstShellCommand to kLastShellCommand;
// Send To entries 1, 2, ... (entry index + 1); 0 is no command.
#pragma once
#include "controls/extended/VyShellUtils.h"
#include "vcl/Classes.h"
#include "vcl/Messages.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace Vy {

constexpr UINT kFirstShellCommand = 1000;
constexpr UINT kLastShellCommand = 0x7FFF;
// FindVerbCommand's answer for a verb the menu does not have.
constexpr int kNoVerbCommand = -1;

// GetUIObjectOf for the items' IContextMenu, and a popup menu it filled (first id
// `firstId`). A failed GetUIObjectOf is returned; a failed fill raises EOleSysError,
// leaving nothing behind. The menu is the caller's to destroy.
HRESULT CreateItemContextMenu(HWND owner, IShellFolder* folder, const std::vector<const ITEMIDLIST*>& items, UINT flags,
                              UINT firstId, TComPtr<IContextMenu>& menuObject, HMENU& menu);
// The command offset (id - kFirstShellCommand) of the verb, compared ignoring case;
// kNoVerbCommand when the menu has none.
int FindVerbCommand(IContextMenu* menuObject, const std::wstring& verb);
// The verb of a command offset; empty when it has none.
std::wstring CommandVerb(IContextMenu* menuObject, UINT offset);
// Runs the command at the offset.
HRESULT InvokeMenuCommand(HWND owner, IContextMenu* menuObject, UINT offset);
// Runs the command of the verb; a verb the menu lacks runs nothing and gives
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND).
HRESULT InvokeMenuCommand(HWND owner, IContextMenu* menuObject, const std::wstring& verb);

// What a tracked menu's answer asks the control to do.
enum class TShellMenuChoice { None, Rename, ShellCommand, SendTo };
// Rename is told by its verb: its offset differs between shells.
TShellMenuChoice ClassifyMenuCommand(IContextMenu* menuObject, UINT id);

// ---- The Send To submenu.
struct TSendToEntry {
  std::wstring Name;    // file name in the user's SendTo folder
  int ImageIndex = -1;  // small system image; -1 when unknown
};
// The entries of the last fill, sorted by name.
const std::vector<TSendToEntry>& SendToEntries();
// Reads the SendTo folder again: deleted files leave the list.
void RefreshSendToEntries();

using TVyShellPopupHintEvent = TEvent<void(TObject* Sender, const std::wstring& Hint)>;

// Menu messages, called by a control after its own handling, with the menu object of
// its open menu (nothing happens without one). Failures inside are swallowed: the
// menu stays usable.
void HandleInitMenuPopup(IContextMenu* menuObject, TMessage& message);
void HandleMeasureItem(IContextMenu* menuObject, TMessage& message);
void HandleDrawItem(IContextMenu* menuObject, TMessage& message, HIMAGELIST smallImages);
void HandleMenuChar(IContextMenu* menuObject, TMessage& message);
void HandleMenuSelect(IContextMenu* menuObject, TMessage& message, TObject* sender,
                      const TVyShellPopupHintEvent& onPopupHint);

// Drops the data on the Send To entry as the shell would; raises EOleSysError when the
// entry or its drop target cannot be had.
void SendToDrop(const std::wstring& entryName, IDataObject* data);

}  // namespace Vy
