#include "controls/extended/VyShellFormatEtc.h"

#include <algorithm>
#include <cstring>

#include "controls/extended/VyShellComObject.h"

namespace Vy {

namespace {

// Hands out the records of a list; keeps the list's owner alive while it lives.
class TVyFormatEtcList_IEnumFormatEtc : public TVyComObject<IEnumFORMATETC> {
 public:
  TVyFormatEtcList_IEnumFormatEtc(const TVyFormatEtcList* owner, IUnknown* keeper, ULONG position)
      : FOwner(owner), FKeeper(keeper), FPosition(position) {
    if (FKeeper) FKeeper->AddRef();
  }
  ~TVyFormatEtcList_IEnumFormatEtc() override {
    if (FKeeper) FKeeper->Release();
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* records, ULONG* fetched) override {
    if (!records && count > 0) return E_POINTER;
    ULONG given = 0;
    while (given < count && FPosition < ULONG(FOwner->Count()))
      records[given++] = CopyFormatEtc(FOwner->Items(int(FPosition++)));
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const ULONG left = ULONG(FOwner->Count()) - std::min(FPosition, ULONG(FOwner->Count()));
    if (left < count) {
      FPosition = ULONG(FOwner->Count());
      return S_FALSE;
    }
    FPosition += count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    FPosition = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** other) override {
    if (!other) return E_POINTER;
    *other = new TVyFormatEtcList_IEnumFormatEtc(FOwner, FKeeper, FPosition);
    return S_OK;
  }

 private:
  const TVyFormatEtcList* FOwner;
  IUnknown* FKeeper;
  ULONG FPosition;
};

}  // namespace

FORMATETC CopyFormatEtc(const FORMATETC& format) {
  FORMATETC copy = format;
  copy.ptd = nullptr;
  if (format.ptd && format.ptd->tdSize >= sizeof(DVTARGETDEVICE)) {
    copy.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(format.ptd->tdSize));
    if (copy.ptd) std::memcpy(copy.ptd, format.ptd, format.ptd->tdSize);
  }
  return copy;
}

void TVyFormatEtcList::Add(const std::vector<CLIPFORMAT>& formats) {
  for (CLIPFORMAT f : formats) FItems.push_back(FORMATETC{f, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
}

void TVyFormatEtcList::Add(const FORMATETC& format) { FItems.push_back(CopyFormatEtc(format)); }

void TVyFormatEtcList::Clear() {
  for (FORMATETC& f : FItems) CoTaskMemFree(f.ptd);
  FItems.clear();
}

HRESULT TVyFormatEtcList::QueryFormat(const FORMATETC& format) const {
  if (format.dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
  HRESULT result = DV_E_FORMATETC;
  for (const FORMATETC& f : FItems) {
    if (f.cfFormat != format.cfFormat) continue;
    if (f.tymed & format.tymed) return S_OK;
    result = DV_E_TYMED;
  }
  return result;
}

IEnumFORMATETC* TVyFormatEtcList::CreateEnumerator(IUnknown* listOwner) {
  return new TVyFormatEtcList_IEnumFormatEtc(this, listOwner, 0);
}

}  // namespace Vy
