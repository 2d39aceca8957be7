// The key list of the main window's keys page: the list box "keys" with its
// buttons, context menu, "switched off" box and table view. It shows the edit list
// (one line per binding, line index = edit-list index) and carries out the user's
// edits through TKeyListEditing; the capture dialog asks for keys and names.
//
// Unsaved edits live in the edit list and the modified flag until Save (or the
// close) writes them: no page change, repaint or profile switch touches them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/mainwindow/KeyListEditing.h"
#include "core/settings/ProfilesKeyList.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

class TMainForm;

class TKeyListPage final : public IKeyListView {
 public:
  TKeyListPage(TMainForm& form, TKeyTable& editList, TKeyTable& liveGlobal, TProfileState& state);

  // --- IKeyListView (the profile code fills the list)
  void Clear() override;
  void Add(std::string_view name) override;
  int ItemIndex() const override;
  void EnableListButton() override;
  void EnableSaveButton() override;

  // --- the user's operations
  void Add();
  void Delete();
  void Edit();
  void Save();
  // The table view of the active global profile on or off, as the toggle shows.
  void ShowTable(bool on);
  void RefreshTableIfShown();
  void SelectTableRow();  // the table's selected row into the list
  void SetDisabledFromBox();
  // Action pictures before the names (N16), stored in the settings.
  void ShowActionIcons(bool on);
  void DrawItem(int index, const TRect& rect);
  void ContextPopup(TPoint at);
  void MenuPopup();

  // --- dragging to reorder
  // The line pressed is the one dragged (the list box moves its selection with the pointer).
  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove();
  void MouseUp();
  bool AcceptsDrop(TObject* source) const;
  void Drop(int x, int y);

  // After a selection: the buttons follow it. Returns the selected binding's index,
  // -1 for none.
  int SelectionChanged();
  // The box "switched off" shows the binding without writing it back.
  void ShowDisabled(bool disabled);
  // The edit list was replaced with the bindings of another profile.
  void Changed();

  TKeyListEditing& Editing() { return editing_; }

 private:
  // The selected binding, -1 for none.
  int Selected() const;
  void Select(int index);
  void MarkModified();
  void UpdateButtons();
  bool SideAgnostic() const;
  std::wstring KeyText(std::uint8_t vk, std::uint8_t code2, std::string_view modifiers,
                       std::string_view pluginKey) const;
  // "AlreadyAdded" or "MaxAdded", as an information box.
  void Tell(const wchar_t* message) const;
  std::wstring ActionText(const TKeyRecord& r) const;

  TMainForm& form_;
  TKeyListEditing editing_;
  TKeyTable& liveGlobal_;
  bool dragging_ = false;
  int dragSource_ = -1;
  bool fillingBox_ = false;
};
