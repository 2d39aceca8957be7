// The data of one item of a shell list (its lists, names, attributes and cached
// detail texts), the data of a shell combo box item, and the column details of a
// folder through IShellDetails.
#pragma once
#include "controls/extended/VyShellUtils.h"
#include "vcl/Classes.h"

#include <cstdint>
#include <string>

// The SDK declares the interface without the id __uuidof needs.
__CRT_UUID_DECL(IShellDetails, 0x000214EC, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

namespace Vy {

// What an item needs of the list that shows it.
class IVyShellListDataOwner {
 public:
  virtual ~IVyShellListDataOwner() = default;
  // The folder the list shows, and its absolute list.
  virtual IShellFolder* ShellFolder() = 0;
  virtual const ITEMIDLIST* FolderIdList() = 0;
  // The folder's column details; null when it has none.
  virtual IShellDetails* ShellDetails() = 0;
};

// The attributes asked of an item.
constexpr SFGAOF kShellItemAttributes = 0x700F0037;

class TVyShellListData : public TObject {
 public:
  // Takes the relative list.
  TVyShellListData(IVyShellListDataOwner* owner, TIdList relIdList);

  IVyShellListDataOwner* Owner() const { return FOwner; }
  const ITEMIDLIST* RelIdList() const { return FRelIdList.get(); }
  void SetRelIdList(TIdList list);
  // The folder's list and the relative one, joined on first use.
  const ITEMIDLIST* AbsIdList();
  // 0 when the shell cannot tell.
  SFGAOF Attributes();
  bool IsFolder() { return Attributes() & SFGAO_FOLDER; }
  bool CanRename() { return Attributes() & SFGAO_CANRENAME; }
  bool IsLink();
  std::wstring PathName() { return IdListToPath(AbsIdList()); }
  const std::wstring& DisplayName();
  void ClearCache();
  // Column 0 is the name and gives nothing here; the folder's details when it has
  // them, else 1 size, 2 type, 3 modified.
  std::wstring GetDetail(int column);

 private:
  void FillDetailTexts();

  IVyShellListDataOwner* FOwner;
  TIdList FRelIdList;
  TIdList FAbsIdList;
  std::wstring FDisplayName;
  bool FDataValid = false;
  std::wstring FSizeText, FTypeText, FModifiedText;
};

// A file size as the list shows it: whole KB, a started one counting full.
std::wstring ShellSizeText(std::uint64_t bytes);

// The item data of a shell combo box.
class TVyShellComboData : public TObject {
 public:
  TComPtr<IShellFolder> ParentFolder;
  TIdList ParentIdList;
  TComPtr<IShellFolder> ItemFolder;
  TIdList RelIdList;
  TIdList AbsIdList;
};

// A folder's IShellFolder2 seen as IShellDetails: only the columns shown by default.
class TShellFolder2ToShellDetailsAdapter : public IShellDetails {
 public:
  explicit TShellFolder2ToShellDetailsAdapter(IShellFolder2* folder);
  virtual ~TShellFolder2ToShellDetailsAdapter() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) override;
  HRESULT STDMETHODCALLTYPE ColumnClick(UINT column) override;

 private:
  TComPtr<IShellFolder2> FFolder;
  LONG FRefCount = 1;
};

// The column details of a folder; empty when it offers none.
TComPtr<IShellDetails> GetShellDetailsOf(IShellFolder* folder);

}  // namespace Vy
