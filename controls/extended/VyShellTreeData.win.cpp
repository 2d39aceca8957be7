#include "controls/extended/VyShellIdList.h"
#include "controls/extended/VyShellPidlList.h"
#include "controls/extended/VyShellTree.h"
#include "vcl/Forms.h"

namespace Vy {

TVyHourglass::TVyHourglass() : FSaved(Screen->GetCursor()) { Screen->SetCursor(crHourGlass); }
TVyHourglass::~TVyHourglass() { Screen->SetCursor(FSaved); }

namespace {

TIdList LastItemOf(const ITEMIDLIST* list) {
  const int count = IdListItemCount(list);
  if (count == 0) return IdListFromBytes({0, 0});
  return CopyIdList(reinterpret_cast<const ITEMIDLIST*>(IdListItemAt(list, count - 1)));
}

}  // namespace

TVyShellTreeData::TVyShellTreeData(TVyCustomShellTree* owner, TVyShellTreeData* parent, TIdList relIdList,
                                   TIdList rootList)
    : FOwner(owner), FParent(parent), FRelIdList(std::move(relIdList)) {
  if (!FParent) {
    // The root keeps the list it was made from; the desktop's is the empty list.
    FAbsIdList = rootList ? std::move(rootList) : IdListFromBytes({0, 0});
    FRelIdList = LastItemOf(FAbsIdList.get());
  }
}

const ITEMIDLIST* TVyShellTreeData::AbsIdList() {
  if (!FAbsIdList && FParent) FAbsIdList = ConcatIdLists(FParent->AbsIdList(), FRelIdList.get());
  return FAbsIdList.get();
}

IShellFolder* TVyShellTreeData::ParentFolder() {
  if (FParent) return FParent->ThisFolder();
  if (!FRootParentFolder) {
    TVyIdListArray parts(AbsIdList());
    // The desktop holds itself and its own items.
    if (parts.Count() <= 1) SHGetDesktopFolder(FRootParentFolder.Put());
    else GetShellFolder(parts.ParentList(1), FRootParentFolder);
  }
  return FRootParentFolder.Get();
}

IShellFolder* TVyShellTreeData::ThisFolder() {
  if (FThisFolder) return FThisFolder.Get();
  if (IdListItemCount(AbsIdList()) == 0) {
    OleCheck(SHGetDesktopFolder(FThisFolder.Put()));
  } else if (IShellFolder* parent = ParentFolder()) {
    if (FAILED(parent->BindToObject(FRelIdList.get(), nullptr, IID_IShellFolder, FThisFolder.PutVoid())))
      FThisFolder.Reset();
  }
  return FThisFolder.Get();
}

void TVyShellTreeData::SetThisFolder(IShellFolder* folder) {
  if (folder) folder->AddRef();
  FThisFolder = TComPtr<IShellFolder>(folder);
}

SFGAOF TVyShellTreeData::Attributes(SFGAOF mask) {
  IShellFolder* folder = ParentFolder();
  if (!folder || IdListItemCount(FRelIdList.get()) == 0) return 0;
  const ITEMIDLIST* items[] = {FRelIdList.get()};
  SFGAOF attributes = mask;
  // A failure tells nothing: it must not read as every attribute asked for.
  if (FAILED(folder->GetAttributesOf(1, items, &attributes))) return 0;
  return attributes;
}

bool TVyShellTreeData::CanRename() {
  if (!FParent || IdListItemCount(AbsIdList()) == 0) return false;
  return Attributes(SFGAO_CAPABILITYMASK | SFGAO_FILESYSTEM) & SFGAO_CANRENAME;
}

void TVyShellTreeData::SetRelIdList(TIdList list) {
  FAbsIdList.reset();
  FThisFolder.Reset();
  FRelIdList = std::move(list);
}

void TVyShellTreeData::ClearCache() {
  // The root's list is where it was made from: nothing to rebuild.
  if (!FParent) return;
  FAbsIdList.reset();
  FThisFolder.Reset();
}

TComPtr<IDropTarget> TVyShellTreeData::GetDropTarget(HWND owner) {
  TComPtr<IDropTarget> target;
  if (IdListItemCount(FRelIdList.get()) == 0) {
    if (IShellFolder* desktop = ThisFolder()) desktop->CreateViewObject(owner, IID_IDropTarget, target.PutVoid());
    return target;
  }
  IShellFolder* folder = ParentFolder();
  if (!folder) return target;
  const ITEMIDLIST* items[] = {FRelIdList.get()};
  if (FAILED(folder->GetUIObjectOf(owner, 1, items, IID_IDropTarget, nullptr, target.PutVoid()))) target.Reset();
  return target;
}

}  // namespace Vy
