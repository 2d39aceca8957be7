#include "core/mainwindow/KeyListPage.h"

#include "core/keys/KeyNames.h"
#include "core/mainwindow/ActionPages.h"
#include "core/mainwindow/MainWindow.h"
#include "core/settings/Settings.h"
#include "core/utils/myUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/ScopeGuards.h"

TKeyListPage::TKeyListPage(TMainForm& form, TKeyTable& editList, TKeyTable& liveGlobal, TProfileState& state)
    : form_(form), editing_(editList, liveGlobal, state), liveGlobal_(liveGlobal) {}

// --- the list as the profile code fills it

void TKeyListPage::Clear() {
  if (form_.keys) form_.keys->GetItems()->Clear();
  UpdateButtons();
}

void TKeyListPage::Add(std::string_view name) {
  if (form_.keys) form_.keys->Add(AnsiToString(name));
}

int TKeyListPage::ItemIndex() const { return form_.keys ? form_.keys->GetItemIndex() : -1; }

void TKeyListPage::EnableListButton() {
  if (form_.MainActnList) form_.MainActnList->SetEnabled(true);
}

void TKeyListPage::EnableSaveButton() {
  if (form_.MainActnSave) form_.MainActnSave->SetEnabled(true);
}

void TKeyListPage::Changed() {
  UpdateButtons();
  form_.keysClick(nullptr);
  RefreshTableIfShown();
}

// --- selection

int TKeyListPage::Selected() const {
  const int index = ItemIndex();
  return index >= 0 && index < form_.keys->GetCount() && static_cast<std::size_t>(index) < editing_.Count() ? index
                                                                                                            : -1;
}

void TKeyListPage::Select(int index) {
  form_.keys->SetItemIndex(index);
  form_.keysClick(nullptr);
}

void TKeyListPage::UpdateButtons() {
  if (!form_.MainActnDel) return;
  const bool selected = Selected() >= 0;
  form_.MainActnDel->SetEnabled(selected);
  form_.MainActnEdit->SetEnabled(selected);
  form_.MainActnSave->SetEnabled(ProfileModified == 1);
  // The table stays reachable while it shows, to switch it off again.
  form_.MainActnList->SetEnabled(editing_.Count() > 0 || form_.MainActnList->Tag() == 1);
  form_.keyoff->SetEnabled(selected);
}

int TKeyListPage::SelectionChanged() {
  UpdateButtons();
  return Selected();
}

void TKeyListPage::ShowDisabled(bool disabled) {
  fillingBox_ = true;
  TOnExit filled([&] { fillingBox_ = false; });
  form_.keyoff->SetChecked(disabled);
}

void TKeyListPage::MarkModified() {
  ProfileModified = 1;
  EnableSaveButton();
}

bool TKeyListPage::SideAgnostic() const { return MainSettings.optlrmodif == 1; }

// A remote's button is known by its name, a key by its codes and modifiers.
std::wstring TKeyListPage::KeyText(std::uint8_t vk, std::uint8_t code2, std::string_view modifiers,
                                   std::string_view pluginKey) const {
  return pluginKey.empty() ? keyname(vk, code2, modifiers, SideAgnostic()) : AnsiToString(pluginKey);
}

void TKeyListPage::Tell(const wchar_t* message) const {
  Application->MessageBox(L"\r" + form_.GetLngMessage(message), L"Qorn", MB_OK | MB_ICONINFORMATION);
}

// --- the user's edits

void TKeyListPage::Add() {
  if (!editing_.CanAdd()) {
    Tell(L"MaxAdded");
    return;
  }
  const std::optional<TKeyEvent> key = form_.CaptureNewKey();
  if (!key) return;
  const bool several = MainSettings.optmultiact == 1;
  if (const auto same = editing_.FindSameKey(*key, SideAgnostic()); same && !several) {
    Tell(L"AlreadyAdded");
    Select(static_cast<int>(*same));
    return;
  }
  form_.InputDialog().NewKeyName->SetText(KeyText(key->Vk, key->Code2, key->Modifiers, key->PluginKeyName));
  if (form_.ShowInputForm(2) != TInputForm::ResultNameOk) return;
  const std::wstring name = form_.InputDialog().NewKeyName->GetText();
  if (name.empty()) return;
  // The list may have changed while the dialog was open.
  if (editing_.FindSameKey(*key, SideAgnostic()) && !several) {
    Tell(L"AlreadyAdded");
    return;
  }
  const std::optional<std::size_t> index = editing_.Append(*key, StringToAnsi(name).substr(0, TInputForm::NameLength));
  if (!index) {
    Tell(L"MaxAdded");
    return;
  }
  form_.keys->Add(AnsiToString(editing_.Binding(*index).Name.str()));
  MarkModified();
  Select(static_cast<int>(*index));
  form_.Engine().BindingsChanged();
  RefreshTableIfShown();
}

void TKeyListPage::Delete() {
  const int index = Selected();
  if (index < 0) return;
  editing_.Delete(static_cast<std::size_t>(index));
  // The list box selects the line that takes the place and says so (keysClick).
  form_.keys->Delete(index);
  MarkModified();
  form_.Engine().BindingsChanged();
  UpdateButtons();
  form_.keysClick(nullptr);
  RefreshTableIfShown();
}

void TKeyListPage::Edit() {
  const int index = Selected();
  if (index < 0) return;
  const auto at = static_cast<std::size_t>(index);
  TInputForm& dialog = form_.InputDialog();
  // What works now: the live binding when this profile is the active one.
  const TKeyRecord shown = editing_.Mirrored() && at < liveGlobal_.Count ? liveGlobal_.Slots[at] : editing_.Binding(at);
  dialog.NewKeyName->SetText(form_.keys->GetItems()->Get(index));
  dialog.OSDkeyName->SetText(AnsiToString(shown.OsdText.str()));
  dialog.keyoptautopress->SetChecked(shown.RepeatRate > 0);
  if (shown.RepeatRate > 0) dialog.keyoptautopressspeed->SetPosition(shown.RepeatRate - 1);
  const TModalResult result = form_.ShowInputForm(0);
  bool changed = false;
  if (result == TInputForm::ResultKeyCaptured) {
    const TKeyEvent& key = form_.Engine().CapturedKeyEvent();
    if (!(key.Vk == 27 && key.Modifiers == NoModifiers)) {
      const auto same = editing_.FindSameKey(key, SideAgnostic());
      if (same && MainSettings.optmultiact != 1) {
        Tell(L"AlreadyAdded");
        Select(static_cast<int>(*same));
        return;
      }
      changed = editing_.SetKey(at, key);
    }
  } else if (result == TInputForm::ResultNameOk) {
    const std::wstring name = dialog.NewKeyName->GetText();
    if (!name.empty()) {
      changed = editing_.Rename(at, StringToAnsi(name).substr(0, TInputForm::NameLength));
      form_.keys->GetItems()->Put(index, AnsiToString(editing_.Binding(at).Name.str()));
    }
  } else if (result == TInputForm::ResultOptionsOk) {
    const bool repeat = dialog.keyoptautopress->GetChecked();
    const auto rate = static_cast<std::uint8_t>(repeat ? dialog.keyoptautopressspeed->GetPosition() + 1 : 0);
    changed = editing_.SetOptions(
        at, StringToAnsi(dialog.OSDkeyName->GetText()).substr(0, TInputForm::DisplayTextLength), rate);
  }
  if (changed) {
    MarkModified();
    form_.Engine().BindingsChanged();
  }
  Select(index);
  RefreshTableIfShown();
}

void TKeyListPage::Save() {
  if (ProfileModified == 1) {
    TProfileStore& store = form_.ProfileStore();
    const bool tableSaved = store.saveprofilesbd();
    if (store.savepfl(EditedProfile, store.getprofiletipe(EditedProfile), 2) && tableSaved) ProfileModified = 0;
    // The edits stay in the list, still to be saved (the close tries again).
    if (ProfileModified == 1) form_.Reporter().ShowNumberedError(ErrorSaveOnClose);
  }
  form_.MainActnSave->SetEnabled(ProfileModified == 1);
}

void TKeyListPage::SetDisabledFromBox() {
  if (fillingBox_) return;
  const int index = Selected();
  if (index < 0) return;
  const auto at = static_cast<std::size_t>(index);
  const bool off = form_.keyoff->GetChecked();
  if ((editing_.Binding(at).Disabled == 1) == off) return;
  editing_.SetDisabled(at, off);
  MarkModified();
  form_.Engine().BindingsChanged();
}

// --- the table of the active global profile

std::wstring TKeyListPage::ActionText(const TKeyRecord& r) const {
  const TActionTextKeys keys = ActionTextKeys(r.ActionCode, r.Params.view());
  const std::wstring action = form_.GetLngString(AnsiToString(keys.Action));
  if (keys.Group.empty()) return action;
  return form_.GetLngString(AnsiToString(keys.Group)) + L"->" + action;
}

void TKeyListPage::ShowTable(bool on) {
  TListView& table = *form_.GridView1;
  table.GetItems()->Clear();
  if (!on) {
    table.SetVisible(false);
    return;
  }
  if (liveGlobal_.Count == 0) {
    form_.MainActnList->SetTag(0);
    form_.MainActnList->SetDown(false);
    table.SetVisible(false);
    UpdateButtons();
    return;
  }
  table.GetItems()->BeginUpdate();
  for (std::size_t i = 0; i < liveGlobal_.Count; ++i) {
    const TKeyRecord& r = liveGlobal_.Slots[i];
    TListItem* row = table.GetItems()->Add();
    row->SetCaption(KeyText(r.Vk, r.Code2, r.Modifiers.view(), r.PluginKeyName.view()));
    row->SubItems()->Add(AnsiToString(r.Name.str()));
    row->SubItems()->Add(ActionText(r));
  }
  table.GetItems()->EndUpdate();
  table.SetVisible(true);
  table.BringToFront();
  if (const int index = Selected(); index >= 0 && index < table.GetItems()->Count()) {
    TListItem* row = table.GetItems()->Item(index);
    row->SetSelected(true);
    row->SetFocused(true);
    row->MakeVisible(false);
  }
}

void TKeyListPage::RefreshTableIfShown() {
  if (form_.GridView1 && form_.GridView1->GetVisible()) ShowTable(true);
}

void TKeyListPage::SelectTableRow() {
  TListView& table = *form_.GridView1;
  const int row = table.GetItemIndex();
  if (row < 0 || row >= form_.keys->GetCount()) return;
  Select(row);
  if (table.CanFocus()) table.SetFocus();
}

// --- the action pictures

void TKeyListPage::ShowActionIcons(bool on) {
  MainSettings.ShowActionIcons = on ? 1 : 0;
  form_.N16->SetChecked(on);
  if (on) form_.keys->OnDrawItem = TDrawItemEvent(&form_, &TMainForm::keysDrawItem);
  else form_.keys->OnDrawItem = nullptr;
  form_.keys->Invalidate();
}

void TKeyListPage::DrawItem(int index, const TRect& rect) {
  TCanvas* canvas = form_.keys->GetCanvas();
  canvas->FillRect(rect);
  if (index < 0 || index >= form_.keys->GetCount()) return;
  TCustomImageList* pictures = form_.CategoriesImageList;
  const int side = pictures->GetHeight();
  const int text = canvas->TextHeight(L"Ag");
  canvas->TextOut(rect.Left + side + 2 + 2, rect.Top + (rect.Height() - text) / 2, form_.keys->GetItems()->Get(index));
  // The code straight from the binding: drawing must not disturb what a page read last.
  const std::uint8_t code = static_cast<std::size_t>(index) < editing_.Count()
                                ? editing_.Binding(static_cast<std::size_t>(index)).ActionCode
                                : 0;
  pictures->Draw(canvas, rect.Left + 2, rect.Top + (rect.Height() - side) / 2, GetCategImageID(code), true);
}

// --- the context menu

void TKeyListPage::ContextPopup(TPoint at) {
  const int index = form_.keys->ItemAtPos(at, true);
  if (index >= 0) Select(index);
}

void TKeyListPage::MenuPopup() {
  form_.N7->SetEnabled(form_.MainActnDel->GetEnabled());
  form_.N9->SetEnabled(form_.MainActnEdit->GetEnabled());
}

// --- dragging

void TKeyListPage::MouseDown(TMouseButton button, int x, int y) {
  if (button != mbLeft) return;
  dragging_ = true;
  dragSource_ = form_.keys->ItemAtPos(TPoint{x, y}, true);
}

void TKeyListPage::MouseMove() {
  if (dragging_ && !form_.keys->Dragging()) form_.keys->BeginDrag(false, 5);
}

void TKeyListPage::MouseUp() { dragging_ = false; }

bool TKeyListPage::AcceptsDrop(TObject* source) const { return source == form_.keys; }

void TKeyListPage::Drop(int x, int y) {
  dragging_ = false;
  const int target = form_.keys->ItemAtPos(TPoint{x, y}, true);
  const int source = dragSource_;
  if (target < 0 || source < 0 || target == source) return;
  if (!editing_.Move(static_cast<std::size_t>(source), static_cast<std::size_t>(target))) return;
  form_.keys->GetItems()->Move(source, target);
  form_.keys->SetItemIndex(target);
  dragSource_ = target;
  MarkModified();
  form_.Engine().BindingsChanged();
  RefreshTableIfShown();
}
