// The formats a shell data object offers, and the IEnumFORMATETC over them.
//
// Records are the SDK's FORMATETC; a target device is copied deep, with the COM task
// allocator, into the list and into every record an enumerator hands out (the caller
// frees it under the COM rule).
#pragma once
#include "vcl/Win.h"

#include <objidl.h>

#include <memory>
#include <vector>

namespace Vy {

class TVyFormatEtcList {
 public:
  TVyFormatEtcList() = default;
  ~TVyFormatEtcList() { Clear(); }
  TVyFormatEtcList(const TVyFormatEtcList&) = delete;
  TVyFormatEtcList& operator=(const TVyFormatEtcList&) = delete;

  // Each format as content of global memory, no target device.
  void Add(const std::vector<CLIPFORMAT>& formats);
  void Add(const FORMATETC& format);
  int Count() const { return int(FItems.size()); }
  const FORMATETC& Items(int index) const { return FItems.at(std::size_t(index)); }
  void Clear();
  // S_OK, DV_E_TYMED (format known, no common medium) or DV_E_FORMATETC.
  HRESULT QueryFormat(const FORMATETC& format) const;
  // A new enumerator at the start, holding one reference for the caller. The list
  // must outlive it (the data object that owns the list holds it while enumerators
  // live).
  IEnumFORMATETC* CreateEnumerator(IUnknown* listOwner);

 private:
  std::vector<FORMATETC> FItems;
};

// A deep copy of a record: its target device copied with CoTaskMemAlloc.
FORMATETC CopyFormatEtc(const FORMATETC& format);

}  // namespace Vy
