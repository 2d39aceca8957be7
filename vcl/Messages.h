// Message records and the library's own message numbers.
//
// Every window object of the library handles messages as TMessage records: the
// window procedure packs the Win32 arguments into one, the object's WindowProc
// sees it first, then its WndProc, then the handler method for that message, and
// the handler sets Result. Perform() sends a record straight to WindowProc, so
// windowless controls get messages too.
//
// Component messages (CM_*) tell controls about changes of the library's own
// state (font, colour, enabled, mouse enter/leave...). Control notifications
// (CN_*) are WM_COMMAND, WM_NOTIFY, WM_DRAWITEM... reflected by a parent to the
// object of the child window that sent them: CN_x = CN_BASE + WM_x.
//
// The numbers keep the values other code relies on: CM_BASE 0xB000,
// CM_FOCUSCHANGED 0xB007 and the controls' private messages from CM_BASE + 1000.
// Nothing here includes <windows.h>, so records and numbers are usable anywhere.
#pragma once

#include <cstdint>


struct TMessage {
  unsigned Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;

  uint16_t WParamLo() const { return static_cast<uint16_t>(WParam & 0xFFFF); }
  uint16_t WParamHi() const { return static_cast<uint16_t>((WParam >> 16) & 0xFFFF); }
  uint16_t LParamLo() const { return static_cast<uint16_t>(LParam & 0xFFFF); }
  uint16_t LParamHi() const { return static_cast<uint16_t>((LParam >> 16) & 0xFFFF); }
  // Signed point coordinates packed in LParam (negative on multi-monitor setups).
  int XPos() const { return static_cast<int16_t>(LParam & 0xFFFF); }
  int YPos() const { return static_cast<int16_t>((LParam >> 16) & 0xFFFF); }
};

// The records of single messages are all TMessage; the names say which message
// a handler takes (void WMPaint(TWMPaint& m)).
using TWMActivate = TMessage;
using TWMChar = TMessage;
using TWMCommand = TMessage;
using TWMContextMenu = TMessage;
using TWMDrawItem = TMessage;
using TWMEraseBkgnd = TMessage;
using TWMGetDlgCode = TMessage;
using TWMGetMinMaxInfo = TMessage;
using TWMHotKey = TMessage;
using TWMKey = TMessage;
using TWMKillFocus = TMessage;
using TWMMeasureItem = TMessage;
using TWMMouse = TMessage;
using TWMMouseWheel = TMessage;
using TWMMove = TMessage;
using TWMNCHitTest = TMessage;
using TWMNotify = TMessage;
using TWMPaint = TMessage;
using TWMSetCursor = TMessage;
using TWMSetFocus = TMessage;
using TWMShowWindow = TMessage;
using TWMSize = TMessage;
using TWMSysCommand = TMessage;
using TWMTimer = TMessage;
using TWMWindowPosChanged = TMessage;
using TCMDialogChar = TMessage;
using TCMDialogKey = TMessage;
using TCMHintShow = TMessage;
using TCMHitTest = TMessage;

// Packs a point as mouse messages carry it; negative values survive.
constexpr intptr_t PointToLParam(int x, int y) {
  return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

inline constexpr unsigned CM_BASE = 0xB000;
inline constexpr unsigned CN_BASE = 0xBC00;

inline constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
inline constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
inline constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
inline constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
inline constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
inline constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr unsigned CM_HITTEST = CM_BASE + 10;
inline constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
inline constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
inline constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
inline constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr unsigned CM_ENTER = CM_BASE + 26;
inline constexpr unsigned CM_EXIT = CM_BASE + 27;
inline constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr unsigned CM_RELEASE = CM_BASE + 33;
inline constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr unsigned CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr unsigned CM_HINTSHOW = CM_BASE + 48;
inline constexpr unsigned CM_RECREATEWND = CM_BASE + 51;
inline constexpr unsigned CM_INVALIDATE = CM_BASE + 52;
inline constexpr unsigned CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr unsigned CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr unsigned CM_MOUSEWHEEL = CM_BASE + 67;
// Posted by the application window to itself to run queued Synchronize calls.
inline constexpr unsigned CM_SYNCHRONIZE = CM_BASE + 90;
// Posted by a timer to itself: release a timer freed inside its own OnTimer.
inline constexpr unsigned CM_TIMERRELEASE = CM_BASE + 91;
// First number free for the controls' private messages.
inline constexpr unsigned CM_PRIVATE = CM_BASE + 1000;
static_assert(CM_FOCUSCHANGED == 0xB007);
static_assert(CM_PRIVATE == 0xB3E8);

// Reflected notifications (WM_x values written out so no Win32 header is needed).
inline constexpr unsigned CN_CHARTOITEM = CN_BASE + 0x002F;
inline constexpr unsigned CN_COMMAND = CN_BASE + 0x0111;
inline constexpr unsigned CN_COMPAREITEM = CN_BASE + 0x0039;
inline constexpr unsigned CN_CTLCOLORBTN = CN_BASE + 0x0135;
inline constexpr unsigned CN_CTLCOLORDLG = CN_BASE + 0x0136;
inline constexpr unsigned CN_CTLCOLOREDIT = CN_BASE + 0x0133;
inline constexpr unsigned CN_CTLCOLORLISTBOX = CN_BASE + 0x0134;
inline constexpr unsigned CN_CTLCOLORMSGBOX = CN_BASE + 0x0132;
inline constexpr unsigned CN_CTLCOLORSCROLLBAR = CN_BASE + 0x0137;
inline constexpr unsigned CN_CTLCOLORSTATIC = CN_BASE + 0x0138;
inline constexpr unsigned CN_DELETEITEM = CN_BASE + 0x002D;
inline constexpr unsigned CN_DRAWITEM = CN_BASE + 0x002B;
inline constexpr unsigned CN_HSCROLL = CN_BASE + 0x0114;
inline constexpr unsigned CN_MEASUREITEM = CN_BASE + 0x002C;
inline constexpr unsigned CN_PARENTNOTIFY = CN_BASE + 0x0210;
inline constexpr unsigned CN_VKEYTOITEM = CN_BASE + 0x002E;
inline constexpr unsigned CN_VSCROLL = CN_BASE + 0x0115;
inline constexpr unsigned CN_KEYDOWN = CN_BASE + 0x0100;
inline constexpr unsigned CN_KEYUP = CN_BASE + 0x0101;
inline constexpr unsigned CN_CHAR = CN_BASE + 0x0102;
inline constexpr unsigned CN_SYSKEYDOWN = CN_BASE + 0x0104;
inline constexpr unsigned CN_SYSCHAR = CN_BASE + 0x0106;
inline constexpr unsigned CN_NOTIFY = CN_BASE + 0x004E;

