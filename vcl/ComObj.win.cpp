#include "vcl/ComObj.h"

HRESULT OleCheck(HRESULT result) {
  if (FAILED(result)) {
    String text = SysErrorMessage(static_cast<std::uint32_t>(result));
    if (text.empty()) text = L"Unspecified error";
    throw EOleSysError(text, result);
  }
  return result;
}

// S_FALSE (already initialised on this thread) still needs its matching uninitialise.
TOleInitialization::TOleInitialization() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
TOleInitialization::~TOleInitialization() {
  if (ok_) OleUninitialize();
}

TComApartment::TComApartment(DWORD model) : ok_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
TComApartment::~TComApartment() {
  if (ok_) CoUninitialize();
}
