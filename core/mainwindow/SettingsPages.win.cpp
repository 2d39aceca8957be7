#include "core/mainwindow/SettingsPages.h"

#include <filesystem>
#include <system_error>

#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyTrkBar.h"
#include "controls/visual/HTMLText.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatColorComboBoxUnit.h"
#include "controls/visual/TFlatComboBoxUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "controls/visual/TFlatScrollbarUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "controls/visual/TFlatSpinEditUnit.h"
#include "core/mainwindow/OptionRules.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFonts.h"
#include "core/utils/Trace.h"
#include "displays/DisplayLook.h"
#include "displays/OnScreenDisplays.h"
#include "displays/Popup.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"
#include "vcl/DateUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/StdCtrls.h"

namespace {

// The Tag of a placement button while the user places its display.
constexpr intptr_t PlacingTag = 10;

bool Loading() { return SettingsLoading != 0; }

}  // namespace

TSettingsPages::TSettingsPages(TForm& form, THooks hooks) : form_(form), hooks_(std::move(hooks)) {
  FilterArrowKeys(L"osdvolstep");
  FilterArrowKeys(L"osdvolspace");
}

template <class T>
T* TSettingsPages::Find(const wchar_t* name) const {
  return dynamic_cast<T*>(form_.FindComponent(name));
}

bool TSettingsPages::Checked(const wchar_t* name) const {
  const auto* box = Find<Flat::TFlatCheckControl>(name);
  return box && box->GetChecked();
}

void TSettingsPages::SetEnabled(const wchar_t* name, bool enabled) {
  if (auto* control = Find<TControl>(name)) control->SetEnabled(enabled);
}

void TSettingsPages::SetCaption(const wchar_t* name, const std::wstring& caption) {
  if (auto* label = Find<TLabel>(name)) label->SetCaption(caption);
}

// The arrow keys leave the volume display's segment width and gap as they are:
// only typing and the spin buttons change them.
void TSettingsPages::FilterArrowKeys(const wchar_t* name) {
  auto* edit = Find<Flat::TFlatSpinEditInteger>(name);
  if (!edit) return;
  edit->WindowProc = [edit, next = edit->WindowProc](TMessage& m) {
    const bool key = m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP;
    if (key && (m.WParam == VK_UP || m.WParam == VK_DOWN)) {
      m.Result = 0;
      return;
    }
    next ? next(m) : edit->WndProc(m);
  };
}

// --- clicks

// While the settings load, the controls only show the records: nothing is stored
// and nothing acts (ApplyMainSettings sets what depends on them itself).
void TSettingsPages::Clicked(TObject* sender) {
  const auto* component = dynamic_cast<TComponent*>(sender);
  if (!component || Loading()) return;
  const std::wstring& name = component->Name();
  if (FindControl(MainFlagControls, name)) return StoreFlag(name);
  if (const TPopupFlagControl* flag = FindControl(PopupFlagControls, name)) {
    const bool on = Checked(name.c_str());
    PopupSettings.*flag->Field = on ? 1 : 0;
    if (name == L"popupgradient")
      for (const wchar_t* part : {L"popupcolorground2", L"Label22", L"popupcolorgroundgradientdirection"})
        SetEnabled(part, on);
    return;
  }
  if (name.starts_with(L"popuppos") || name == L"popupvertical" || name == L"popuphorizont")
    return PopupPositionClicked(name);
  if (name == L"popuptransparent") {
    const auto* slider = Find<Flat::TFlatScrollbar>(L"popupopauqe");
    PopupSettings.popupopauqe = PopupOpacityByte(Checked(L"popuptransparent"), slider ? slider->GetPosition() : 255);
    return;
  }
  if (name == L"rbtn_trayshowlocks_multi" || name == L"rbtn_trayshowlocks_single") {
    if (!Checked(name.c_str())) return;
    MainSettings.rbtn_trayshowlocks_multi = name == L"rbtn_trayshowlocks_multi" ? 1 : 0;
    if (hooks_.LockDisplayChanged) hooks_.LockDisplayChanged();
    return;
  }
  if (name == L"cb_opt_autorun_ex") {
    MainSettings.cb_opt_autorun_ex = Checked(L"cb_opt_autorun_ex") ? 1 : 0;
    return;
  }
  if (name == L"popupuseskin") return PopupUseSkinClick();
  if (name == L"PopupSkinList") return PopupSkinListClick();
  if (name == L"FlatSpeedButton3") return PlaceTextDisplay();
  if (name == L"FlatSpeedButton4") return TestTextDisplay();
  if (name == L"FlatSpeedButton5") return PlaceVolumeDisplay();
  if (name == L"preview") return PreviewPopup();
  if (name == L"FlatSpeedButton2") return ChooseFont(0);
  if (name == L"popupfontcaption") return ChooseFont(1);
  if (name == L"popupfontground") return ChooseFont(2);
}

void TSettingsPages::StoreFlag(const std::wstring& name) {
  const TMainFlagControl* flag = FindControl(MainFlagControls, name);
  const bool checked = Checked(name.c_str());
  // A radio button stores only when it becomes the chosen one.
  if (Find<Flat::TFlatRadioButton>(name.c_str()) && !checked) return;
  MainSettings.*flag->Field = checked != flag->Inverted ? 1 : 0;
  AfterFlag(name, checked);
}

void TSettingsPages::AfterFlag(const std::wstring& name, bool checked) {
  if (name == L"osd2sf") {
    SetEnabled(L"osd2fc", checked);
    if (checked && !Loading())
      if (const auto* colour = Find<Flat::TFlatColorComboBox>(L"osd2fc"))
        ColorSettings.osd2fc = static_cast<std::int32_t>(colour->GetValue());
    if (OSDtForm) OSDtForm->applynewsettings();
  } else if (name == L"osdshowlocks") {
    SetEnabled(L"rbtn_locks_showastray", checked);
    SetEnabled(L"rbtn_locks_showaspopup", checked);
  } else if (name == L"trayshowlocks") {
    SetEnabled(L"rbtn_trayshowlocks_single", checked);
    SetEnabled(L"rbtn_trayshowlocks_multi", checked);
    if (!Loading() && hooks_.LockDisplayChanged) hooks_.LockDisplayChanged();
  } else if (name == L"optauto") {
    // The alternative method only goes with autorun itself.
    if (!checked) {
      if (auto* alternative = Find<Flat::TFlatCheckBox>(L"cb_opt_autorun_ex")) alternative->SetChecked(false);
      if (!Loading()) MainSettings.cb_opt_autorun_ex = 0;
    }
    SetEnabled(L"cb_opt_autorun_ex", checked);
  }
  // The key engine reads these flags on every key; a few change which keys it asks for.
  if (!Loading() && hooks_.EngineOptionsChanged) hooks_.EngineOptionsChanged();
}

void TSettingsPages::PopupPositionClicked(const std::wstring& name) {
  if (!Checked(name.c_str())) return;
  if (name == L"popupvertical") PopupSettings.PopupSlide = 1;
  else if (name == L"popuphorizont") PopupSettings.PopupSlide = 2;
  else if (name.size() == 9 && name[8] >= L'1' && name[8] <= L'6')
    PopupSettings.PopupPosition = static_cast<std::uint8_t>(name[8] - L'0');
}

// --- changes

void TSettingsPages::Changed(TObject* sender) {
  const auto* component = dynamic_cast<TComponent*>(sender);
  if (!component || Loading()) return;
  const std::wstring& name = component->Name();
  if (const TMainValueControl* value = FindControl(MainValueControls, name)) {
    if (const auto* bar = dynamic_cast<const Flat::TFlatScrollbar*>(component))
      MainSettings.*value->Field = bar->GetPosition();
    // A number typed beyond the edit's bounds stands for the bound, as leaving the edit shows.
    if (const auto* spin = dynamic_cast<const Flat::TFlatSpinEditInteger*>(component))
      MainSettings.*value->Field = spin->CheckValue(spin->GetValue());
    if (const auto* list = dynamic_cast<const TCustomComboBox*>(component))
      if (list->GetItemIndex() >= 0) MainSettings.*value->Field = list->GetItemIndex();
    if (name == L"osdtr2" && OSDtForm) OSDtForm->applynewsettings();
    if ((name == L"osdtr" || name == L"osdvolstep" || name == L"osdvolspace") && OSDvForm) OSDvForm->applynewsettings();
    return;
  }
  if (const TColorControl* colour = FindControl(ColorControls, name)) {
    if (const auto* list = dynamic_cast<const Flat::TFlatColorComboBox*>(component))
      ColorSettings.*colour->Field = static_cast<std::int32_t>(list->GetValue());
    if ((name == L"osd2fc" || name == L"osd2cl") && OSDtForm) OSDtForm->applynewsettings();
    if ((name == L"osdclrb" || name == L"osdclre") && OSDvForm) OSDvForm->applynewsettings();
    return;
  }
  if (name == L"optsetpriority") {
    if (const auto* list = dynamic_cast<const TCustomComboBox*>(component)) SetProcessPriority(list->GetItemIndex());
    return;
  }
  if (name == L"popupcolorgroundgradientdirection") {
    if (const auto* list = dynamic_cast<const TCustomComboBox*>(component); list && list->GetItemIndex() >= 0)
      PopupSettings.popupcolorgroundgradientdirection = static_cast<std::uint8_t>(list->GetItemIndex());
    return;
  }
  if (name == L"popupdelay" || name == L"popupanimdelay" || name == L"popupopauqe") {
    const auto* bar = dynamic_cast<const Flat::TFlatScrollbar*>(component);
    if (!bar) return;
    const int position = bar->GetPosition();
    if (name == L"popupdelay") {
      PopupSettings.popupdelay = PopupDelayByte(position);
      SetCaption(L"Label16", TenthsLabel(position));
    } else if (name == L"popupanimdelay") {
      PopupSettings.popupanimdelay = PopupAnimDelayByte(position);
      SetCaption(L"Label19", TenthsLabel(position));
    } else {
      SetCaption(L"Label17", OpacityLabel(position));
      if (Checked(L"popuptransparent")) PopupSettings.popupopauqe = PopupOpacityByte(true, position);
    }
    return;
  }
  if (name == L"tb_skin_brightness" || name == L"tb_skin_color") {
    const auto* slider = dynamic_cast<const Vy::TVyTrackBar*>(component);
    if (!slider) return;
    const int position = slider->GetPosition();
    if (name == L"tb_skin_brightness") {
      PopupSettings.tb_skin_brightness = SkinBrightnessByte(position);
      SetCaption(L"L_skin_brightness_val", std::to_wstring(position));
    } else {
      PopupSettings.tb_skin_color = SkinColorByte(position);
      SetCaption(L"L_skin_color_val", SkinColorLabel(position));
    }
  }
}

void TSettingsPages::SetProcessPriority(int itemIndex) {
  const std::optional<std::uint32_t> priority = PriorityClassOfItem(itemIndex);
  if (!priority) return;
  MainSettings.optsetpriority = itemIndex + 1;
  // Our own process: a refusal leaves the priority as it was, and nobody is told.
  if (!SetPriorityClass(GetCurrentProcess(), *priority)) Trace(L"the process priority could not be changed");
}

// --- the displays' buttons

void TSettingsPages::PlaceTextDisplay() {
  auto* button = Find<Flat::TFlatSpeedButton>(L"FlatSpeedButton3");
  if (!button) return;
  if (button->Tag() != PlacingTag) {
    DisplayPlacementMode = 1;
    button->SetCaption(L"OK");
    OnScreenDisplays().ShowText(tkPlacement, hooks_.Text(L"OSD.Replace", L""));
    button->SetTag(PlacingTag);
    return;
  }
  DisplayPlacementMode = 0;
  button->SetCaption(hooks_.Text(L"MainForm.FlatSpeedButton3", L"Настроить положение"));
  button->SetTag(0);
  if (OSDtForm) {
    MainSettings.OsdTextTop = OSDtForm->GetTop();
    MainSettings.OsdTextLeft = OSDtForm->GetLeft();
    OSDtForm->HideDisplay();
  }
}

void TSettingsPages::PlaceVolumeDisplay() {
  auto* button = Find<Flat::TFlatSpeedButton>(L"FlatSpeedButton5");
  if (!button || !OSDvForm) return;
  if (button->Tag() != PlacingTag) {
    OSDvForm->BeginPlacement();
    button->SetCaption(L"OK");
    button->SetTag(PlacingTag);
    return;
  }
  OSDvForm->EndPlacement();
  button->SetCaption(hooks_.Text(L"MainForm.FlatSpeedButton5", L"Настроить положение"));
  button->SetTag(0);
}

void TSettingsPages::TestTextDisplay() { OnScreenDisplays().ShowText(tkNotice, hooks_.Text(L"OSD.TestMsg", L"")); }

void TSettingsPages::PreviewPopup() {
  const TDateTime now = Now();
  OnScreenDisplays().ShowPopup(L"Test", DateToStr(now), TimeToStr(now),
                               Flat::EscapeHTMLText(hooks_.Text(L"OSD.TestMsg", L"")), 0, 0);
}

// The font dialog of a slot (0 the text display, 1 the popup caption, 2 the popup text).
void TSettingsPages::ChooseFont(std::size_t slot) {
  TFontDialog dialog(nullptr);
  Displays::ApplyFontSlot(dialog.GetFont(), slot);
  if (slot == 0 && Displays::ColorChosen(ColorSettings.osd2cl))
    dialog.GetFont()->SetColor(static_cast<TColor>(ColorSettings.osd2cl));
  if (!dialog.Execute()) return;
  const auto colour = static_cast<std::int32_t>(dialog.GetFont()->GetColor());
  FontSlots[slot] = SlotFromFont(dialog.GetFont()->GetHandle(), colour);
  if (slot != 0) return;
  if (colour != ColorSettings.osd2cl) {
    ColorSettings.osd2cl = colour;
    if (auto* list = Find<Flat::TFlatColorComboBox>(L"osd2cl")) list->SetValue(static_cast<TColor>(colour));
  }
  if (OSDtForm) OSDtForm->applynewsettings();
}

// --- popup skins

void TSettingsPages::LoadPopupSkinList() {
  auto* list = Find<Vy::TVyListBox>(L"PopupSkinList");
  if (!list) return;
  list->Clear();
  const std::filesystem::path folder(hooks_.SkinsFolder ? hooks_.SkinsFolder() : std::wstring());
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_directory(ec)) list->Add(it->path().filename().wstring());
}

void TSettingsPages::PopupSkinListClick() {
  auto* list = Find<Vy::TVyListBox>(L"PopupSkinList");
  if (!list || PopupSettings.popupuseskin != 1 || list->GetItemIndex() < 0) return;
  const std::wstring name = list->SelectedItem();
  if (PopupForm && hooks_.SkinsFolder) PopupForm->ShowSkinPreview(SkinFolderOf(hooks_.SkinsFolder(), name));
  StringSettings.PopupSkinName = StringToAnsi(name).substr(0, 255);
}

void TSettingsPages::PopupUseSkinClick() {
  auto* box = Find<Flat::TFlatCheckBox>(L"popupuseskin");
  auto* list = Find<Vy::TVyListBox>(L"PopupSkinList");
  if (!box) return;
  PopupSettings.popupuseskin = box->GetChecked() ? 1 : 0;
  if (box->GetChecked() && list && list->GetItems()->Count() > 0) {
    const int stored =
        StringSettings.PopupSkinName.empty() ? -1 : list->IndexOf(AnsiToString(StringSettings.PopupSkinName.str()));
    if (stored >= 0) {
      list->SetItemIndex(stored);
      return;
    }
    list->SetItemIndex(0);
    PopupSkinListClick();
    return;
  }
  // No skin to use: the box does not stay checked.
  if (list) list->SetItemIndex(-1);
  PopupSettings.popupuseskin = 0;
  box->SetChecked(false);
}

void TSettingsPages::PageShown(int pageIndex) {
  if (pageIndex == 2) {
    LoadPopupSkinList();
    auto* list = Find<Vy::TVyListBox>(L"PopupSkinList");
    if (list && PopupSettings.popupuseskin == 1 && !StringSettings.PopupSkinName.empty()) {
      const int row = list->IndexOf(AnsiToString(StringSettings.PopupSkinName.str()));
      if (row >= 0) list->SetItemIndex(row);
    }
  }
  if (pageIndex == 3)
    if (auto* page = Find<TWinControl>(L"TabSheet9"); page && page->CanFocus()) page->SetFocus();
}

// --- the stored values into the controls

void TSettingsPages::ApplyMainSettings(bool firstRun) {
  TSettingsLoadingScope loading;
  for (const TMainFlagControl& flag : MainFlagControls) {
    const std::wstring name(flag.Control);
    auto* control = Find<Flat::TFlatCheckControl>(name.c_str());
    if (!control) continue;
    const bool on = (MainSettings.*flag.Field == 1) != flag.Inverted;
    const bool radio = dynamic_cast<Flat::TFlatRadioButton*>(control) != nullptr;
    // A first run keeps the designed state of a check box whose default is off.
    if (!firstRun || radio || on) control->SetChecked(on);
    if (!radio) AfterFlag(name, control->GetChecked());
  }
  if (!firstRun) {
    auto* multi = Find<Flat::TFlatRadioButton>(L"rbtn_trayshowlocks_multi");
    auto* single = Find<Flat::TFlatRadioButton>(L"rbtn_trayshowlocks_single");
    if (multi && single) (MainSettings.rbtn_trayshowlocks_multi == 1 ? multi : single)->SetChecked(true);
    if (auto* alternative = Find<Flat::TFlatCheckBox>(L"cb_opt_autorun_ex"))
      alternative->SetChecked(MainSettings.cb_opt_autorun_ex == 1);
  }
  // A priority never chosen is left to the system, which starts us at "Normal".
  const std::optional<int> priority = firstRun ? std::nullopt : PriorityItemOfStored(MainSettings.optsetpriority);
  if (auto* list = Find<TCustomComboBox>(L"optsetpriority")) list->SetItemIndex(priority.value_or(NormalPriorityItem));
  if (priority) SetProcessPriority(*priority);
  for (const TMainValueControl& value : MainValueControls) {
    const std::wstring name(value.Control);
    const std::int32_t stored = MainSettings.*value.Field;
    if (auto* bar = Find<Flat::TFlatScrollbar>(name.c_str())) bar->SetPosition(stored);
    if (auto* spin = Find<Flat::TFlatSpinEditInteger>(name.c_str())) spin->SetValue(stored);
    if (auto* list = Find<TCustomComboBox>(name.c_str())) list->SetItemIndex(ClampTo(stored, 0, 2));
  }
  for (const TColorControl& colour : ColorControls)
    if (auto* list = Find<Flat::TFlatColorComboBox>(std::wstring(colour.Control).c_str()))
      if (Displays::ColorChosen(ColorSettings.*colour.Field))
        list->SetValue(static_cast<TColor>(ColorSettings.*colour.Field));
  ApplyPopupControls(firstRun);
}

void TSettingsPages::ApplyPopupControls(bool firstRun) {
  const TPopupSettings& p = PopupSettings;
  auto setBar = [this](const wchar_t* name, int position) {
    if (auto* bar = Find<Flat::TFlatScrollbar>(name)) bar->SetPosition(position);
  };
  auto setBox = [this](const wchar_t* name, bool on) {
    if (auto* box = Find<Flat::TFlatCheckBox>(name)) box->SetChecked(on);
  };
  auto choose = [this](const std::wstring& name) {
    if (auto* radio = Find<Flat::TFlatRadioButton>(name.c_str())) radio->SetChecked(true);
  };
  setBar(L"popupdelay", PopupDelayPosition(p.popupdelay));
  setBar(L"popupopauqe", p.popupopauqe);
  setBox(L"popuptransparent", p.popupopauqe != 255);
  SetCaption(L"Label17", OpacityLabel(p.popupopauqe));
  setBox(L"popupfade", p.popupfade == 1);
  setBox(L"popupanim", p.popupanim == 1);
  if (p.PopupPosition >= 1 && p.PopupPosition <= 6) choose(L"popuppos" + std::to_wstring(p.PopupPosition));
  setBar(L"popupanimdelay", PopupAnimDelayPosition(p.popupanimdelay));
  choose(p.PopupSlide == 2 ? L"popuphorizont" : L"popupvertical");
  SetCaption(L"Label16", TenthsLabel(PopupDelayPosition(p.popupdelay)));
  SetCaption(L"Label19", TenthsLabel(PopupAnimDelayPosition(p.popupanimdelay)));
  // The skin sliders and labels show the record on a first run too (its neutral values).
  if (auto* slider = Find<Vy::TVyTrackBar>(L"tb_skin_brightness"))
    slider->SetPosition(SkinBrightnessPosition(p.tb_skin_brightness));
  if (auto* slider = Find<Vy::TVyTrackBar>(L"tb_skin_color")) slider->SetPosition(SkinColorPosition(p.tb_skin_color));
  SetCaption(L"L_skin_brightness_val", std::to_wstring(SkinBrightnessPosition(p.tb_skin_brightness)));
  SetCaption(L"L_skin_color_val", SkinColorLabel(SkinColorPosition(p.tb_skin_color)));
  if (!firstRun) {
    setBox(L"popupgradient", p.popupgradient == 1);
    if (auto* list = Find<TCustomComboBox>(L"popupcolorgroundgradientdirection"))
      list->SetItemIndex(ClampTo(p.popupcolorgroundgradientdirection, 0, 5));
    setBox(L"popuptranspvolumebar", p.popuptranspvolumebar == 1);
    setBox(L"popupuseskin", p.popupuseskin == 1);
  }
  const bool gradient = p.popupgradient == 1;
  for (const wchar_t* part : {L"popupcolorground2", L"Label22", L"popupcolorgroundgradientdirection"})
    SetEnabled(part, gradient);
}
