// The masked edit as the program uses it: an edit whose EditMask is always
// empty, so it behaves as a plain edit. There is no mask engine.
#pragma once

#include "vcl/StdCtrls.h"

VCL_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  QORN_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  std::wstring GetEditMask() const { return FEditMask; }
  // Kept and stored, never applied.
  void SetEditMask(const std::wstring& v) { FEditMask = v; }
  bool IsMasked() const { return false; }
  // Nothing to check without a mask.
  virtual void ValidateEdit() {}

 protected:
  // Text that does not fit the mask: beeps and raises EDBEditError. Not noreturn:
  // a subclass may report the fault its own way and return (callers go on then).
  virtual void ValidateError();

 private:
  static void Publish(TPublisher<TCustomMaskEdit>& p);
  std::wstring FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
  QORN_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
