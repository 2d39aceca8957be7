// What a step takes is given back when the step fails: a painting control's DC
// and paint state, a half-made form, a kernel handle.
#include <gtest/gtest.h>

#include "vcl/FormText.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Win.h"

#include <memory>
#include <stdexcept>

namespace {

// Paints nothing: its Paint fails, as a control's drawing may.
class TFailingSpot : public TGraphicControl {
  QORN_CLASS(TFailingSpot, TGraphicControl)
 public:
  explicit TFailingSpot(TComponent* AOwner) : TGraphicControl(AOwner) {}

 protected:
  void Paint() override { throw std::runtime_error("paint failed"); }
};

class TFailingPanel : public TCustomControl {
  QORN_CLASS(TFailingPanel, TCustomControl)
 public:
  explicit TFailingPanel(TComponent* AOwner) : TCustomControl(AOwner) {}

 protected:
  void Paint() override { throw std::runtime_error("paint failed"); }
};

// No form resource of this name is linked: reading it fails.
class TUnreadableForm : public TForm {
  QORN_CLASS(TUnreadableForm, TForm)
 public:
  explicit TUnreadableForm(TComponent* AOwner) : TForm(AOwner) {}
};

struct TMemoryDC {
  TMemoryDC() : dc(CreateCompatibleDC(nullptr)), bitmap(CreateBitmap(8, 8, 1, 32, nullptr)) {
    old = SelectObject(dc, bitmap);
  }
  ~TMemoryDC() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old = nullptr;
};

TEST(ScopeGuardsWindows, AFailedPaintGivesTheDCBack) {
  const std::unique_ptr<TForm> form(CreateFormNew<TForm>(nullptr));
  auto* spot = new TFailingSpot(form.get());
  spot->SetParent(form.get());
  auto* panel = new TFailingPanel(form.get());
  panel->SetParent(form.get());
  form->HandleNeeded();
  const TMemoryDC memory;
  EXPECT_THROW(spot->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(memory.dc), 0), std::runtime_error);
  EXPECT_THROW(panel->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(memory.dc), 0), std::runtime_error);
  // A canvas left on the painting DC would draw on a DC its owner has freed.
  EXPECT_FALSE(spot->GetCanvas()->HandleAllocated());
  EXPECT_FALSE(panel->GetCanvas()->HandleAllocated());
  EXPECT_FALSE(panel->ControlState.Contains(csCustomPaint)) << "the panel would believe it is still painting";
}

TEST(ScopeGuardsWindows, AFormThatCannotBeReadIsNeitherKeptNorTheMainForm) {
  ASSERT_EQ(Application->GetMainForm(), nullptr);
  const int owned = Application->ComponentCount();
  TUnreadableForm* form = nullptr;
  EXPECT_THROW(Application->CreateForm(form), EFormReadError);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(Application->GetMainForm(), nullptr) << "the main form would point at a deleted form";
  EXPECT_THROW(CreateForm<TUnreadableForm>(Application), EFormReadError);
  EXPECT_EQ(Application->ComponentCount(), owned) << "a form that failed to read is still owned";
}

TEST(ScopeGuardsWindows, AnOwnedHandleIsClosedWithItsOwner) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  { const TUniqueHandle owned(event); }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(event, &flags)) << "the handle is still open";
}

}  // namespace
