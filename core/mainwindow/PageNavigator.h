// The pages beside the key list: one action page at a time in the panel FlatPanel1,
// chosen from the group bar or by the action of the selected binding, and the
// profile and history pages over the whole keys page (panel pfp). An action page is
// made when it opens and freed when another is chosen; it re-reads the selected
// binding every time.
#pragma once
#include <cstdint>
#include <memory>

#include "actions/ActionFrame.h"
#include "core/mainwindow/FrameHist.h"
#include "core/mainwindow/FrameProfile.h"
#include "core/mainwindow/MainFormProfileHost.h"

class TMainForm;

class TPageNavigator {
 public:
  explicit TPageNavigator(TMainForm& form);
  ~TPageNavigator();

  // Captions of the group bar's items from the language.
  void TranslateGroupBar();
  // The page of an item of the group bar (page codes 11..34).
  void OpenActionPage(std::uint8_t pageCode);
  // Closes the open page, whatever it is.
  void freecur();
  void SetSelection(int group, int item);
  void ClearSelection();
  // The selected binding's page, or the "no action" text (keysClick).
  void ShowBindingPage(int selected);
  void OpenProfilePage();
  void OpenHistoryPage();

  // A page the application frees first is no longer ours to free.
  void Forget(TComponent* component);

  TActionFrame* ActionFrame() const { return actionFrame_.get(); }
  TFrameHist* HistoryFrame() const { return history_.get(); }
  TFrameProfile* ProfileFrame() const { return profile_.get(); }

 private:
  // The profile manager, made once inside pfp, its table filled again each time.
  void showProfilePage();
  // pfp over the whole keys page, above the list and the buttons.
  void showPanel();
  void scaleToScreen(TControl& frame) const;

  TMainForm& form_;
  std::unique_ptr<TActionFrame> actionFrame_;
  std::unique_ptr<TFrameHist> history_;
  std::unique_ptr<TMainFormProfileHost> profileHost_;
  std::unique_ptr<TFrameProfile> profile_;
};
