// The base of every action settings page (the page of one action type beside the
// key list). The main window makes the frame from its form resource when the page
// opens (CreateFrame<T>), attaches the binding access of the key list, calls check(),
// and frees the frame when another page is chosen: a frame keeps no binding data of
// its own between openings. The action itself runs from its executor
// (actions/ActionExecutors.h) whether or not the frame exists.
#pragma once
#include <cstdint>

#include "core/keys/BindingAccess.h"
#include "vcl/Forms.h"

class TActionFrame : public TFrame {
  QORN_CLASS(TActionFrame, TFrame)
 public:
  explicit TActionFrame(TComponent* AOwner) : TFrame(AOwner) {}

  // Before check(): the binding the page reads and changes (never null afterwards).
  void Attach(TBindingAccess& bindings) { bindings_ = &bindings; }
  // Shows the selected binding: selects the control of its sub-action when its code
  // is one of this page's, and fills the parameter controls without writing back.
  virtual void check() {}

 protected:
  TBindingAccess& Bindings() const { return *bindings_; }

 private:
  TBindingAccess* bindings_ = nullptr;
};
