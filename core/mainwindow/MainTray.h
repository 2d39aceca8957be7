// The main window's life in the notification area: the tray icon's picture (program
// on or off, the lock states), the lock changes shown for a few seconds, one icon
// per lock that is on, the menu of global profiles, stepping to the next or
// previous global profile, and switching the program off and on.
//
// The form owns the components (the icon, the pictures, the menu, the timer); this
// class only drives them, and reaches the rest of the program through its hooks.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "services/CoolTrayIcon.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Timer.h"

struct TProfileTable;

class TMainTray {
 public:
  struct TParts {
    TCoolTrayIcon& Icon;
    TCustomImageList& Pictures;  // in the order of TrayPictureNames
    TTimer& Changer;             // brings the normal picture back after a lock change
    TMenuItem& ProfileMenu;
    TMenuItem& OnOffItem;
    HWND Window;  // the main window: the id holder of the lock icons
  };
  struct THooks {
    // Caps, Scroll and Num Lock as three '0'/'1' characters.
    std::function<std::string()> LockState;
    std::function<const TProfileTable&()> Profiles;
    std::function<std::string()> ActiveGlobalProfile;
    std::function<void(const std::string& name)> LoadGlobalProfile;
    // Caption, position text ("2/3") and body of the popup.
    std::function<void(const std::wstring&, const std::wstring&, const std::wstring&)> ShowPopup;
    // Off: the hook and the plug-ins stop; on: they come back.
    std::function<void(bool on)> SwitchKeys;
    // The language's text of a key, or the text given when it has none.
    std::function<std::wstring(const std::string& key, const std::wstring& otherwise)> Text;
  };

  TMainTray(TParts parts, THooks hooks);
  // Removes the lock icons it added.
  ~TMainTray();

  bool ProgramOn() const { return programOn_; }
  // The picture for the program's state now.
  void ShowNormalPicture();
  // A lock key was released (Name "C1", "N0"...): its own picture for Interval ms
  // when lock changes show in the tray, and its icon when each lock has one.
  void IndicateInTrayIcon(const std::string& Name, int Interval);
  void ChangerTick();
  // "I1": icons for every lock that is on; "I0": every lock icon goes; "C1", "N0"...:
  // that lock's icon added or removed.
  void AddTrayCSNIcons(const std::string& Name);
  // The submenu of global profiles, the active one checked.
  void FillProfileMenu();
  void ProfileMenuClick(TMenuItem& Item);
  void OnOff();
  // 1 next, -1 previous; shown in the popup.
  void ActivateNextPrevProfile(int Direction);
  // The settings that say how locks are shown changed (or were applied at start).
  void LockDisplayChanged();
  // The tip: "Qorn", then the count of key presses.
  void RefreshHint(const std::wstring& countLabel, const std::wstring& count);

 private:
  void ShowPicture(const std::string& name);
  void AddLockIcon(char lock);
  void RemoveLockIcon(char lock);

  TParts parts_;
  THooks hooks_;
  bool programOn_ = true;
  // The icons of the locks, by their letter; each holds the picture it shows.
  std::map<char, std::unique_ptr<TIcon>> lockIcons_;
};
