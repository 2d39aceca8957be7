#include "controls/extended/VyShellMenus.h"

#include <algorithm>
#include <cwctype>

#include "controls/extended/VyShellUtils.h"
#include "core/utils/Trace.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

namespace Vy {

namespace {

std::vector<TSendToEntry>& SendToList() {
  static std::vector<TSendToEntry> entries;
  return entries;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring WithoutExtension(const std::wstring& name) {
  const auto dot = name.rfind(L'.');
  return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// The shell's own handling, when its menu object has it: then nothing else happens.
bool PassToMenuObject(IContextMenu* menuObject, TMessage& message) {
  TComPtr<IContextMenu3> menu3;
  if (message.Msg == WM_MENUCHAR && SUCCEEDED(menuObject->QueryInterface(IID_IContextMenu3, menu3.PutVoid())) &&
      menu3) {
    LRESULT result = 0;
    if (SUCCEEDED(menu3->HandleMenuMsg2(message.Msg, message.WParam, message.LParam, &result))) message.Result = result;
    return true;
  }
  TComPtr<IContextMenu2> menu2;
  if (FAILED(menuObject->QueryInterface(IID_IContextMenu2, menu2.PutVoid())) || !menu2) return false;
  menu2->HandleMenuMsg(message.Msg, message.WParam, message.LParam);
  return true;
}

// The menu font of the system, made for one use.
HFONT CreateMenuFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfMenuFont);
}

// Menu handlers run inside the system's menu loop: nothing may escape them.
template <class F>
void Swallowing(const wchar_t* what, F&& body) noexcept {
  try {
    body();
  } catch (...) {
    TraceCurrentException(what);
  }
}

}  // namespace

HRESULT CreateItemContextMenu(HWND owner, IShellFolder* folder, const std::vector<const ITEMIDLIST*>& items, UINT flags,
                              UINT firstId, TComPtr<IContextMenu>& menuObject, HMENU& menu) {
  menuObject.Reset();
  menu = nullptr;
  if (!folder) return E_INVALIDARG;
  std::vector<const ITEMIDLIST*> children(items);
  const HRESULT got = folder->GetUIObjectOf(owner, UINT(children.size()), children.data(), IID_IContextMenu, nullptr,
                                            menuObject.PutVoid());
  if (FAILED(got)) return got;
  HMENU popup = CreatePopupMenu();
  if (!popup) {
    menuObject.Reset();
    RaiseLastOSError();
  }
  const HRESULT filled = menuObject->QueryContextMenu(popup, 0, firstId, kLastShellCommand, flags);
  if (FAILED(filled)) {
    menuObject.Reset();
    DestroyMenu(popup);
    OleCheck(filled);
  }
  menu = popup;
  return S_OK;
}

std::wstring CommandVerb(IContextMenu* menuObject, UINT offset) {
  wchar_t verb[MAX_PATH + 1] = {};
  if (!menuObject ||
      FAILED(menuObject->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), MAX_PATH)))
    return {};
  return verb;
}

int FindVerbCommand(IContextMenu* menuObject, const std::wstring& verb) {
  if (!menuObject) return kNoVerbCommand;
  HMENU menu = CreatePopupMenu();
  if (!menu) return kNoVerbCommand;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  if (FAILED(menuObject->QueryContextMenu(menu, 0, kFirstShellCommand, kLastShellCommand, CMF_EXPLORE)))
    return kNoVerbCommand;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(menu, i);
    if (id == UINT(-1) || id < kFirstShellCommand || id > kLastShellCommand) continue;
    if (SameText(CommandVerb(menuObject, id - kFirstShellCommand), verb)) return int(id - kFirstShellCommand);
  }
  return kNoVerbCommand;
}

HRESULT InvokeMenuCommand(HWND owner, IContextMenu* menuObject, UINT offset) {
  if (!menuObject) return E_POINTER;
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  return menuObject->InvokeCommand(&info);
}

HRESULT InvokeMenuCommand(HWND owner, IContextMenu* menuObject, const std::wstring& verb) {
  const int offset = FindVerbCommand(menuObject, verb);
  if (offset == kNoVerbCommand) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return InvokeMenuCommand(owner, menuObject, UINT(offset));
}

TShellMenuChoice ClassifyMenuCommand(IContextMenu* menuObject, UINT id) {
  if (id == 0) return TShellMenuChoice::None;
  if (id < kFirstShellCommand) return TShellMenuChoice::SendTo;
  return SameText(CommandVerb(menuObject, id - kFirstShellCommand), L"rename") ? TShellMenuChoice::Rename
                                                                               : TShellMenuChoice::ShellCommand;
}

const std::vector<TSendToEntry>& SendToEntries() { return SendToList(); }

void RefreshSendToEntries() {
  std::vector<TSendToEntry> entries;
  const std::wstring folder = SpecialFolderPath(nullptr, CSIDL_SENDTO);
  if (!folder.empty()) {
    const std::wstring base = AppendCharIfMissing(folder, L'\\');
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((base + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      const TOnExit closed([find] { FindClose(find); });
      do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
        TSendToEntry entry{found.cFileName, -1};
        TIdList list;
        if (SUCCEEDED(PathToIdList(base + entry.Name, list)) && list)
          entry.ImageIndex = GetIdListIconIndex(list.get(), SHGFI_SMALLICON);
        entries.push_back(std::move(entry));
      } while (FindNextFileW(find, &found));
    }
  }
  std::sort(entries.begin(), entries.end(), [](const TSendToEntry& a, const TSendToEntry& b) {
    return CompareStringOrdinal(a.Name.c_str(), int(a.Name.size()), b.Name.c_str(), int(b.Name.size()), TRUE) ==
           CSTR_LESS_THAN;
  });
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const TSendToEntry& a, const TSendToEntry& b) { return SameText(a.Name, b.Name); }),
                entries.end());
  SendToList() = std::move(entries);
}

void HandleInitMenuPopup(IContextMenu* menuObject, TMessage& message) {
  if (!menuObject) return;
  Swallowing(L"Send To menu", [&] {
    if (PassToMenuObject(menuObject, message)) return;
    HMENU popup = reinterpret_cast<HMENU>(message.WParam);
    // The shell's placeholder of a Send To submenu it left for us to fill.
    if (GetMenuItemCount(popup) != 1 || !(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED)) return;
    DeleteMenu(popup, 0, MF_BYPOSITION);
    RefreshSendToEntries();
    const auto& entries = SendToEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
      AppendMenuW(popup, MF_OWNERDRAW, UINT_PTR(i + 1), reinterpret_cast<const wchar_t*>(i));
  });
}

void HandleMeasureItem(IContextMenu* menuObject, TMessage& message) {
  if (!menuObject) return;
  Swallowing(L"Send To menu", [&] {
    if (PassToMenuObject(menuObject, message)) return;
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    const auto& entries = SendToEntries();
    if (!item || item->CtlType != ODT_MENU || item->itemData >= entries.size()) return;
    HDC dc = GetDC(nullptr);
    const TOnExit released([dc] { ReleaseDC(nullptr, dc); });
    HFONT font = CreateMenuFont();
    const TOnExit deleted([font] { DeleteObject(font); });
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = WithoutExtension(entries[item->itemData].Name);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    item->itemWidth = UINT(size.cx + 32);
    item->itemHeight = UINT(GetSystemMetrics(SM_CYMENU) + 2);
    message.Result = TRUE;
  });
}

void HandleDrawItem(IContextMenu* menuObject, TMessage& message, HIMAGELIST smallImages) {
  if (!menuObject) return;
  Swallowing(L"Send To menu", [&] {
    if (PassToMenuObject(menuObject, message)) return;
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const auto& entries = SendToEntries();
    if (!item || item->CtlType != ODT_MENU || item->itemData >= entries.size()) return;
    const bool selected = item->itemState & ODS_SELECTED;
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    message.Result = TRUE;
    if (int(item->itemID) < 0) return;
    const TSendToEntry& entry = entries[item->itemData];
    HFONT font = CreateMenuFont();
    const TOnExit deleted([font] { DeleteObject(font); });
    HGDIOBJ old = SelectObject(item->hDC, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(item->hDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const std::wstring text = WithoutExtension(entry.Name);
    RECT clip = item->rcItem;
    ExtTextOutW(item->hDC, clip.left + 32, clip.top + 2, ETO_CLIPPED, &clip, text.c_str(), UINT(text.size()), nullptr);
    if (entry.ImageIndex >= 0 && smallImages)
      ImageList_Draw(smallImages, entry.ImageIndex, item->hDC, clip.left + 8, clip.top + 2, ILD_TRANSPARENT);
    SetTextColor(item->hDC, oldColor);
    SetBkMode(item->hDC, oldMode);
    SelectObject(item->hDC, old);
  });
}

void HandleMenuChar(IContextMenu* menuObject, TMessage& message) {
  if (!menuObject) return;
  Swallowing(L"Send To menu", [&] {
    if (PassToMenuObject(menuObject, message)) return;
    if (!(HIWORD(message.WParam) & MF_POPUP)) return;
    HMENU popup = reinterpret_cast<HMENU>(message.LParam);
    const auto& entries = SendToEntries();
    const int count = int(entries.size());
    const wchar_t typed = wchar_t(std::towupper(wchar_t(LOWORD(message.WParam))));
    int highlighted = 0;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
      if (GetMenuState(popup, UINT(i), MF_BYPOSITION) & MF_HILITE) {
        highlighted = i;
        break;
      }
    }
    auto startsWithTyped = [&](int i) {
      return !entries[std::size_t(i)].Name.empty() && wchar_t(std::towupper(entries[std::size_t(i)].Name[0])) == typed;
    };
    int found = -1, matches = 0;
    for (int i = 0; i < count; ++i)
      if (startsWithTyped(i)) ++matches;
    for (int i = highlighted + 1; i < count && found < 0; ++i)
      if (startsWithTyped(i)) found = i;
    for (int i = 0; i <= highlighted && i < count && found < 0; ++i)
      if (startsWithTyped(i)) found = i;
    message.Result =
        found < 0 ? MAKELRESULT(0, MNC_CLOSE) : MAKELRESULT(found, matches == 1 ? MNC_EXECUTE : MNC_SELECT);
  });
}

void HandleMenuSelect(IContextMenu* menuObject, TMessage& message, TObject* sender,
                      const TVyShellPopupHintEvent& onPopupHint) {
  if (!menuObject || !onPopupHint) return;
  Swallowing(L"Shell menu hint", [&] {
    const UINT id = LOWORD(message.WParam);
    const UINT flags = HIWORD(message.WParam);
    std::wstring hint;
    if (id >= kFirstShellCommand && !(flags & (MF_POPUP | MF_SYSMENU))) {
      wchar_t text[MAX_PATH + 1] = {};
      if (SUCCEEDED(menuObject->GetCommandString(id - kFirstShellCommand, GCS_HELPTEXTW, nullptr,
                                                 reinterpret_cast<char*>(text), MAX_PATH)))
        hint = text;
    }
    onPopupHint(sender, hint);
  });
}

void SendToDrop(const std::wstring& entryName, IDataObject* data) {
  TIdList sendTo;
  OleCheck(GetSpecialFolderIdList(nullptr, CSIDL_SENDTO, sendTo));
  TComPtr<IShellFolder> folder;
  OleCheck(GetShellFolder(sendTo.get(), folder));
  if (entryName.size() > MAX_PATH) OleCheck(E_INVALIDARG);
  std::wstring name = entryName;
  ITEMIDLIST* parsed = nullptr;
  const HRESULT parsedResult = folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &parsed, nullptr);
  const TIdList item(parsed);
  OleCheck(parsedResult);
  const ITEMIDLIST* items[] = {item.get()};
  TComPtr<IDropTarget> target;
  OleCheck(folder->GetUIObjectOf(nullptr, 1, items, IID_IDropTarget, nullptr, target.PutVoid()));
  DWORD effect = DROPEFFECT_COPY;
  const POINTL origin{0, 0};
  OleCheck(target->DragEnter(data, MK_LBUTTON, origin, &effect));
  effect = DROPEFFECT_COPY;
  OleCheck(target->DragOver(MK_LBUTTON, origin, &effect));
  effect = DROPEFFECT_COPY;
  const TCursor previous = Screen->GetCursor();
  Screen->SetCursor(crHourGlass);
  const TOnExit restored([previous] { Screen->SetCursor(previous); });
  OleCheck(target->Drop(data, MK_LBUTTON, origin, &effect));
}

}  // namespace Vy
