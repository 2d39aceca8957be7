// What the profile and binding code needs of the main window's key list: the list
// box "keys" (one item per edit-list binding, item index = edit-list index) and
// the buttons "MainActnList" and "MainActnSave".
#pragma once
#include <string_view>

class IKeyListView {
 public:
  virtual ~IKeyListView() = default;
  virtual void Clear() = 0;
  virtual void Add(std::string_view name) = 0;
  // The selected item; -1 when none.
  virtual int ItemIndex() const = 0;
  virtual void EnableListButton() = 0;  // MainActnList
  virtual void EnableSaveButton() = 0;  // MainActnSave
};
