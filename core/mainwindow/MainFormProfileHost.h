// The main window as the profile manager page's host. The keys page owns the
// Save button of the key list and the page slot the frame sits in: it hands in
// what turns that button off and what closes the page.
#pragma once
#include <functional>

#include "core/mainwindow/FrameProfile.h"

class TMainForm;

class TMainFormProfileHost final : public IProfileFrameHost {
 public:
  TMainFormProfileHost(TMainForm& form, std::function<void()> editListSaved, std::function<void()> closePage)
      : form_(form), editListSaved_(std::move(editListSaved)), closePage_(std::move(closePage)) {}

  TProfileStore& ProfileStore() override;
  const TLanguage& Language() override;
  void ProfilesChanged() override;
  void EditListSaved() override {
    if (editListSaved_) editListSaved_();
  }
  void ClosePage() override {
    if (closePage_) closePage_();
  }

 private:
  TMainForm& form_;
  std::function<void()> editListSaved_;
  std::function<void()> closePage_;
};
