// What the tests of the extended controls share: their test form
// (TestVyControlsForm.form) shown for each test, its controls found by name, and
// the whole form painted into a memory bitmap to read pixels from.
#pragma once
#include <gtest/gtest.h>

#include <chrono>

#include "testing/PumpApplication.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

class TTestVyControlsForm : public TForm {
  QORN_CLASS(TTestVyControlsForm, TForm)
 public:
  explicit TTestVyControlsForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestVyControlsForm);

// The fixture over a test form of class F (read from the resource of its name).
template <class F>
class VyFormTestOf : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<F>(Application);
    form->Show();
    Pump(std::chrono::milliseconds(60));
  }
  void TearDown() override {
    delete form;
    Pump(std::chrono::milliseconds(10));
  }
  template <class T>
  T* Find(const wchar_t* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << "no " << name << " of its class";
    return c;
  }
  // The form as painted now: pixels in its client coordinates.
  void Snapshot() {
    shot.SetSize(form->GetClientWidth(), form->GetClientHeight());
    form->PaintTo(shot.GetCanvas()->GetHandle(), 0, 0);
  }
  // A pixel of a control placed directly on the form, in the control's coordinates.
  TColor At(TControl* c, int x, int y) { return shot.GetCanvas()->GetPixel(c->GetLeft() + x, c->GetTop() + y); }
  F* form = nullptr;
  TBitmap shot;
};

using VyFormTest = VyFormTestOf<TTestVyControlsForm>;
