// Automation text for COM calls: an owned BSTR, and the VARIANTs that optional
// automation arguments take ("no value" and a text).
#pragma once
#include "vcl/Win.h"

#include <oleauto.h>

#include <string>
#include <utility>

class TBstr {
 public:
  TBstr() = default;
  explicit TBstr(const std::wstring& text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  ~TBstr() { SysFreeString(b_); }
  BSTR Get() const { return b_; }
  // The slot for a function that returns a BSTR.
  BSTR* Put() {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  std::wstring Text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

// An owned VARIANT: empty (an omitted argument) or a text.
class TVariantArg {
 public:
  TVariantArg() { VariantInit(&v_); }
  explicit TVariantArg(const std::wstring& text) : TVariantArg() {
    v_.vt = VT_BSTR;
    v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  // Empty text is an omitted argument.
  static TVariantArg TextOrEmpty(const std::wstring& text) { return text.empty() ? TVariantArg() : TVariantArg(text); }
  TVariantArg(TVariantArg&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  TVariantArg(const TVariantArg&) = delete;
  TVariantArg& operator=(const TVariantArg&) = delete;
  ~TVariantArg() { VariantClear(&v_); }
  const VARIANT& Get() const { return v_; }

 private:
  VARIANT v_;
};

inline VARIANT_BOOL ToVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
