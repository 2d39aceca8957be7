// The small COM objects of the shell controls (data objects, drop targets and sources,
// format enumerators): IUnknown and one interface on a plain class. They live on the
// GUI thread, as OLE drag and drop does, so the count is a plain integer.
#pragma once
#include "vcl/Win.h"

#include <unknwn.h>

namespace Vy {

// IUnknown and one interface on a plain class; freed when the count returns to 0.
template <class Interface>
class TVyComObject : public Interface {
 public:
  virtual ~TVyComObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = --FRefCount;
    if (count == 0) delete this;
    return count;
  }

 private:
  ULONG FRefCount = 1;
};

}  // namespace Vy
