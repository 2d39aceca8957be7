// The action pages of the main window: one frame class per page code (11..34, the
// items of the group bar), made here and nowhere else.
#pragma once
#include <cstdint>
#include <string>

#include "actions/ActionFrame.h"
#include "vcl/StdCtrls.h"

// The page of pageCode, owned by owner; nullptr for a code of no action page.
TActionFrame* CreateActionFrame(std::uint8_t pageCode, TComponent* owner);

// The page of an action whose settings this version does not have: its caption
// and a line that says so.
class TFrameEmpty : public TActionFrame {
  QORN_CLASS(TFrameEmpty, TActionFrame)
 public:
  explicit TFrameEmpty(TComponent* AOwner) : TActionFrame(AOwner) {}

  TLabel* PageCaption = nullptr;
  TLabel* NotYet = nullptr;

 private:
  static void Publish(TPublisher<TFrameEmpty>& p);
};
