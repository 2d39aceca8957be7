// TVyShellLocator: a reference to a shell folder that a control keeps as its base or
// selected folder and writes to its form as the binary "Pidl" data: either an
// absolute ID list (kind 0) or a special-folder number (kind 1), whose list is looked
// up on first use. A new locator has kind 0 and no list: the desktop.
#pragma once
#include "controls/extended/VyShellUtils.h"
#include "vcl/Classes.h"

namespace Vy {

class TVyShellLocator : public TPersistent {
  QORN_CLASS(TVyShellLocator, TPersistent)
 public:
  TVyShellLocator() = default;

  int Kind() const { return FKind; }
  int SpecialFolder() const { return FSpecialFolder; }
  // Kind 0: the stored list; kind 1: the special folder's, looked up once (null when
  // the system has no such folder). The locator keeps it.
  const ITEMIDLIST* GetIdList();
  // Stores a copy as kind 0 (no list for a missing or empty one) and fires OnChange
  // unless the locator already named that folder.
  void SetIdList(const ITEMIDLIST* list);
  // Stores the number as kind 1; fires OnChange unless it already was that folder.
  void SetSpecialFolder(int csidl);
  void Clear() { SetIdList(nullptr); }
  // Empty when the folder has no file-system path.
  std::wstring PathName() { return IdListToPath(GetIdList()); }
  bool Equals(const TVyShellLocator& other) const;
  void Assign(const TPersistent* Source) override;

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  void DefineProperties(TFiler& Filer) override;

 private:
  void ReadPidl(const std::vector<std::uint8_t>& data);

  std::uint8_t FKind = 0;
  std::uint8_t FSpecialFolder = kNoSpecialFolder;
  TIdList FIdList;
};

// Asked of the shell tree and the shell list before an item is shown: AllowAdd false
// leaves it out. Attribs are the item's shell attribute flags.
using TVyShAddItemEvent = TEvent<void(TObject* Sender, IShellFolder* ParentFolder, const ITEMIDLIST* ParentAbsIdList,
                                      const ITEMIDLIST* ItemRelIdList, unsigned Attribs, bool& AllowAdd)>;

}  // namespace Vy
