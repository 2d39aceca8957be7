#include "controls/extended/VyShellDragDrop.h"

#include <cstring>
#include <string>

#include "controls/extended/VyShellFormats.h"
#include "vcl/ScopeGuards.h"

namespace Vy {

namespace {

HGLOBAL GlobalBlockOf(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
  if (!block) return nullptr;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

HGLOBAL CopyGlobalBlock(HGLOBAL source) {
  const SIZE_T size = GlobalSize(source);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  void* to = GlobalLock(copy);
  const void* from = GlobalLock(source);
  if (to && from) std::memcpy(to, from, size);
  if (from) GlobalUnlock(source);
  if (to) GlobalUnlock(copy);
  if (!to || !from) {
    GlobalFree(copy);
    return nullptr;
  }
  return copy;
}

}  // namespace

CLIPFORMAT ShellIdListFormat() {
  static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST));
  return format;
}

TVyShellDataObject::TVyShellDataObject(IShellFolder* folder, const ITEMIDLIST* folderIdList,
                                       const std::vector<const ITEMIDLIST*>& items) {
  if (items.empty()) return;
  std::vector<const void*> lists(items.begin(), items.end());
  FIdListBlock = GlobalBlockOf(BuildIdListArray(folderIdList, lists));
  // Virtual items ("::{GUID}") are no files: only file-system items go to CF_HDROP.
  std::vector<std::u16string> names;
  for (const ITEMIDLIST* item : items) {
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (!folder || FAILED(folder->GetAttributesOf(1, &item, &attributes)) || !(attributes & SFGAO_FILESYSTEM)) continue;
    const std::wstring name = DisplayNameOf(folder, item, TDisplayNameKind::ForParsing);
    if (!name.empty()) names.emplace_back(name.begin(), name.end());
  }
  if (!names.empty()) FHDropBlock = GlobalBlockOf(BuildDropFiles(names));
  if (FIdListBlock) FFormats.Add(std::vector<CLIPFORMAT>{ShellIdListFormat()});
  if (FHDropBlock) FFormats.Add(std::vector<CLIPFORMAT>{CF_HDROP});
}

TVyShellDataObject::~TVyShellDataObject() {
  if (FIdListBlock) GlobalFree(FIdListBlock);
  if (FHDropBlock) GlobalFree(FHDropBlock);
}

HRESULT TVyShellDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  *medium = STGMEDIUM{};
  const HRESULT known = FFormats.QueryFormat(*format);
  if (FAILED(known)) return known;
  HGLOBAL block = format->cfFormat == ShellIdListFormat() ? FIdListBlock
                  : format->cfFormat == CF_HDROP          ? FHDropBlock
                                                          : nullptr;
  if (!block) return DV_E_FORMATETC;
  HGLOBAL copy = CopyGlobalBlock(block);
  if (!copy) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT TVyShellDataObject::QueryGetData(FORMATETC* format) {
  return format ? FFormats.QueryFormat(*format) : E_INVALIDARG;
}

HRESULT TVyShellDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TVyShellDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
  if (!enumerator) return E_INVALIDARG;
  *enumerator = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  *enumerator = FFormats.CreateEnumerator(static_cast<IDataObject*>(this));
  return S_OK;
}

TDropSource_shlvtv::TDropSource_shlvtv(int button)
    : FDragButton(button == 1   ? MK_RBUTTON
                  : button == 2 ? MK_MBUTTON
                                : MK_LBUTTON) {}

HRESULT TDropSource_shlvtv::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  const DWORD buttons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
  if (escapePressed || (keyState & (buttons ^ FDragButton))) return DRAGDROP_S_CANCEL;
  if (keyState & FDragButton) return S_OK;
  return DRAGDROP_S_DROP;
}

DWORD TargetDropEffect(IDropTarget* target, IDataObject* data, DWORD keyState, POINTL point, DWORD offered) {
  DWORD answer = offered;
  DWORD effect = DROPEFFECT_NONE;
  if (SUCCEEDED(target->DragEnter(data, keyState, point, &answer))) {
    answer = offered;
    if (SUCCEEDED(target->DragOver(keyState, point, &answer))) effect = answer & offered;
  }
  target->DragLeave();
  return effect;
}

DWORD CommonDropEffects(IDataObject* data) {
  const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  if (!data) return all;
  FORMATETC format{ShellIdListFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return all;
  const TOnExit released([&] { ReleaseStgMedium(&medium); });
  if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) return all;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
  if (!bytes) return all;
  const TOnExit unlocked([&] { GlobalUnlock(medium.hGlobal); });
  TIdListArrayView view;
  if (!ParseIdListArray(bytes, GlobalSize(medium.hGlobal), view) || view.Items.empty()) return all;
  TComPtr<IShellFolder> folder;
  if (FAILED(GetShellFolder(reinterpret_cast<const ITEMIDLIST*>(view.Parent), folder)) || !folder) return all;
  std::vector<const ITEMIDLIST*> items;
  for (const std::uint8_t* item : view.Items) items.push_back(reinterpret_cast<const ITEMIDLIST*>(item));
  SFGAOF mask = all;
  if (FAILED(folder->GetAttributesOf(UINT(items.size()), items.data(), &mask))) return all;
  return mask & all;
}

}  // namespace Vy
