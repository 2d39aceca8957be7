// Shell items dragged out of the shell controls and dropped onto them: the data
// object ("Shell IDList Array" and CF_HDROP), the drop target that hands the drop to
// its control, the drop source, and the effects all dragged items allow.
//
// The objects count references in a plain integer: OLE drag and drop runs on the GUI
// thread, and so do they.
#pragma once
#include "controls/extended/VyShellComObject.h"
#include "controls/extended/VyShellFormatEtc.h"
#include "controls/extended/VyShellUtils.h"

#include <oleidl.h>

#include <vector>

namespace Vy {

// The clipboard format of the shell's ID-list array, registered on first use.
CLIPFORMAT ShellIdListFormat();

// The items of one folder as the shell reads a drag: the ID-list array (the folder's
// absolute list and each item's relative list) and, for the items with a file-system
// path, their parsing names as CF_HDROP. A format whose block cannot be made, or has
// no items, is not offered. Created with one reference for the caller.
class TVyShellDataObject : public TVyComObject<IDataObject> {
 public:
  TVyShellDataObject(IShellFolder* folder, const ITEMIDLIST* folderIdList, const std::vector<const ITEMIDLIST*>& items);
  ~TVyShellDataObject() override;

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  const TVyFormatEtcList& Formats() const { return FFormats; }

 private:
  TVyFormatEtcList FFormats;
  HGLOBAL FIdListBlock = nullptr;
  HGLOBAL FHDropBlock = nullptr;
};

// A control's side of a drop; the drop target passes every call on.
class IVyShellDropHandler {
 public:
  virtual ~IVyShellDropHandler() = default;
  virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
  virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
  virtual HRESULT DragLeave() = 0;
  virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
};

// Registered for a control's window; holds no reference to the control, which revokes
// and releases it when its window goes.
class TVyShellDropTarget : public TVyComObject<IDropTarget> {
 public:
  explicit TVyShellDropTarget(IVyShellDropHandler* owner) : FOwner(owner) {}
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
    return FOwner->DragEnter(data, keyState, point, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override {
    return FOwner->DragOver(keyState, point, effect);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return FOwner->DragLeave(); }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override {
    return FOwner->Drop(data, keyState, point, effect);
  }

 private:
  IVyShellDropHandler* FOwner;
};

// The source of a drag that the given mouse button (0 left, 1 right, 2 middle) started.
class TDropSource_shlvtv : public TVyComObject<IDropSource> {
 public:
  explicit TDropSource_shlvtv(int button);
  DWORD DragButton() const { return FDragButton; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  DWORD FDragButton;
};

// The drop effects (copy, move, link) that every item of a dragged ID-list array
// allows; all three when the data offers no array or the shell cannot tell. The
// array may come from another program: it is checked before it is read.
DWORD CommonDropEffects(IDataObject* data);

// What the shell's drop target of an item would do with the drag over it now: entered,
// asked and left again. Never more than the drag offers (wine's targets answer "move"
// to a drag that offers only "copy"); none when the target refuses to be entered.
DWORD TargetDropEffect(IDropTarget* target, IDataObject* data, DWORD keyState, POINTL point, DWORD offered);

}  // namespace Vy
