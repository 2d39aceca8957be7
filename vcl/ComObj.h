// COM for the class library and everything above it.
//
// Rules:
// - The GUI thread initialises OLE once at start-up (TOleInitialization in the
//   program and in every test program that uses COM); worker threads that call COM
//   initialise their own apartment with TComApartment.
// - An interface pointer is owned by a TComPtr: it releases on scope exit, and
//   Put() hands its slot to a function that returns an interface through a
//   pointer-to-pointer.
// - A failed HRESULT that the caller cannot handle is raised with OleCheck, as
//   EOleSysError carrying the code.
#pragma once
#include "vcl/Win.h"

#include <objbase.h>
#include <ole2.h>

#include <utility>

#include "vcl/Exceptions.h"

class EOleSysError : public Exception {
 public:
  EOleSysError(String message, HRESULT errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  HRESULT ErrorCode;
};

// Raises EOleSysError with the system's text for a failed result; returns a success as it is.
HRESULT OleCheck(HRESULT result);

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit TComPtr(T* owned) : p_(owned) {}
  TComPtr(const TComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  TComPtr(TComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  TComPtr& operator=(TComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~TComPtr() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // The empty slot for an out-parameter: CoCreateInstance(..., IID_PPV_ARGS(x.Put())).
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Another interface of the same object, empty when it has none.
  template <class U>
  TComPtr<U> As(REFIID iid) const {
    TComPtr<U> other;
    if (p_) p_->QueryInterface(iid, other.PutVoid());
    return other;
  }
  T* Detach() { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};

// OLE for the GUI thread (drag and drop, the shell, clipboard formats), for the
// lifetime of the object.
class TOleInitialization {
 public:
  TOleInitialization();
  ~TOleInitialization();
  TOleInitialization(const TOleInitialization&) = delete;
  TOleInitialization& operator=(const TOleInitialization&) = delete;
  bool Initialized() const { return ok_; }

 private:
  bool ok_;
};

// A COM apartment for a worker thread, for the lifetime of the object.
class TComApartment {
 public:
  explicit TComApartment(DWORD model = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ~TComApartment();
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
  bool Initialized() const { return ok_; }

 private:
  bool ok_;
};
