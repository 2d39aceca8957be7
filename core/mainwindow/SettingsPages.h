// The settings pages of the main window (program, displays, popup and skins):
// every option control writes its settings record the moment it changes and, for
// the displays, applies the change to the display at once; the stored values are
// put into the controls at start. While the settings load (SettingsLoading) the
// handlers do nothing at all: the records are the source then, and nothing may act
// on the tray, the skins or the process before start-up is over.
//
// The form owns the controls; this class finds them by name and keeps the rules
// of OptionRules.h. The form's named handlers forward to Clicked / Changed.
#pragma once
#include <functional>
#include <string>

#include "vcl/Forms.h"

// The handler names the form resource gives the option controls, by the kind of
// their event; all of one kind forward to one member of the main window.
// clang-format off
inline constexpr const wchar_t* SettingsClickHandlers[] = {
    L"optautoClick", L"cb_opt_autorun_exClick", L"opttrayClick", L"optcloseClick", L"osdshfsClick", L"optmbClick",
    L"optnotrayiconClick", L"optchecknewverClick", L"osdkeyspressedClick", L"optlrmodifClick", L"optmultiactClick",
    L"optexceptonfullscreenClick", L"osdshowlocksClick", L"rbtn_locks_showastrayClick",
    L"rbtn_locks_showaspopupClick", L"trayshowlocksClick", L"rbtn_trayshowlocks_singleClick",
    L"rbtn_trayshowlocks_multiClick", L"osdwaClick", L"washowosdClick", L"washowpopupClick", L"osdshwClick",
    L"volshowosdClick", L"volshowpopupClick", L"osdlimClick", L"osd2sfClick", L"popuptransparentClick",
    L"popupfadeClick", L"popupanimClick", L"popuppos1Click", L"popuppos2Click", L"popuppos3Click", L"popuppos4Click",
    L"popuppos5Click", L"popuppos6Click", L"popupverticalClick", L"popuphorizontClick", L"popupgradientClick",
    L"popuptranspvolumebarClick", L"popupuseskinClick", L"PopupSkinListClick", L"popupfontcaptionClick",
    L"popupfontgroundClick", L"FlatSpeedButton2Click", L"FlatSpeedButton3Click", L"FlatSpeedButton4Click",
    L"FlatSpeedButton5Click", L"previewClick"};
inline constexpr const wchar_t* SettingsChangeHandlers[] = {
    L"optsetpriorityChange", L"osdvolstepChange", L"osdvolspaceChange", L"CB_osd_vol_border_styleChange",
    L"osdclrbChange", L"osdclreChange", L"osd2fcChange", L"osd2clChange", L"popupcolorgroundgradientdirectionChange",
    L"tb_skin_brightnessChange", L"tb_skin_colorChange", L"popupcolorcaptionChange", L"popupcolorgroundChange",
    L"popupcolorground2Change"};
inline constexpr const wchar_t* SettingsScrollHandlers[] = {
    L"osdtr2Scroll", L"osdsh2Scroll", L"osdtrScroll", L"osdshScroll", L"popupdelayScroll", L"popupopauqeScroll",
    L"popupanimdelayScroll"};
// clang-format on

class TSettingsPages {
 public:
  struct THooks {
    // The language's text of a key, or the text given when it has none.
    std::function<std::wstring(const std::wstring& key, const std::wstring& otherwise)> Text;
    // The tray's picture and lock icons after a change of how locks are shown.
    std::function<void()> LockDisplayChanged;
    // An option the key engine reads changed.
    std::function<void()> EngineOptionsChanged;
    // The folder of the popup skins, ending with a backslash.
    std::function<std::wstring()> SkinsFolder;
  };

  TSettingsPages(TForm& form, THooks hooks);

  // A check box, radio button, button or the skin list was clicked.
  void Clicked(TObject* sender);
  // A slider, scroll bar, list, colour list or spin edit changed.
  void Changed(TObject* sender);
  // The records into the controls (their handlers run with SettingsLoading set).
  void ApplyMainSettings(bool firstRun);
  // The settings page control shows page index (0 program ... 3 plug-ins).
  void PageShown(int pageIndex);

  // The skin folders, in the order the system lists them.
  void LoadPopupSkinList();
  // The process priority of the list's item (nothing outside the list).
  void SetProcessPriority(int itemIndex);

 private:
  template <class T>
  T* Find(const wchar_t* name) const;
  bool Checked(const wchar_t* name) const;
  void SetEnabled(const wchar_t* name, bool enabled);
  void SetCaption(const wchar_t* name, const std::wstring& caption);
  void StoreFlag(const std::wstring& name);
  void AfterFlag(const std::wstring& name, bool checked);
  void PopupPositionClicked(const std::wstring& name);
  void PlaceTextDisplay();
  void PlaceVolumeDisplay();
  void TestTextDisplay();
  void PreviewPopup();
  void PopupSkinListClick();
  void PopupUseSkinClick();
  void ChooseFont(std::size_t slot);
  void FilterArrowKeys(const wchar_t* name);
  void ApplyPopupControls(bool firstRun);

  TForm& form_;
  THooks hooks_;
};
