#include "core/mainwindow/PageNavigator.h"

#include <filesystem>

#include "actions/ActionFrames.h"
#include "actions/VolumeFrame.h"
#include "core/language/LanguageTranslate.h"
#include "core/mainwindow/ActionPages.h"
#include "core/mainwindow/MainWindow.h"
#include "core/utils/Trace.h"

TPageNavigator::TPageNavigator(TMainForm& form) : form_(form) {}

TPageNavigator::~TPageNavigator() = default;

void TPageNavigator::TranslateGroupBar() {
  Vy::TVyGroupBar& bar = *form_.VyGroupBar1;
  for (int g = 0; g < bar.GetGroupCount(); ++g) {
    Vy::TVyGroupItems& items = *bar.GetGroup(g)->GetItems();
    for (int i = 0; i < items.Count(); ++i)
      // A language without the key keeps the designed caption: an item never goes blank.
      if (auto caption = NavigationItemCaption(form_.Language(), g, i, items.GetItem(i)->GetCaption());
          caption && !caption->empty())
        items.GetItem(i)->SetCaption(*caption);
  }
}

void TPageNavigator::Forget(TComponent* component) {
  if (component == actionFrame_.get()) (void)actionFrame_.release();
  if (component == history_.get()) (void)history_.release();
  if (component == profile_.get()) (void)profile_.release();
}

void TPageNavigator::scaleToScreen(TControl& frame) const {
  if (form_.LargeFonts) frame.ScaleBy(form_.ScreenDpi, 96);
}

void TPageNavigator::OpenActionPage(std::uint8_t pageCode) {
  const TActionPage* page = PageOfPageCode(pageCode);
  if (!page) return;
  if (form_.CurrentPage != 0) freecur();
  actionFrame_.reset(CreateActionFrame(pageCode, Application));
  if (!actionFrame_) return;
  TActionFrame& frame = *actionFrame_;
  frame.FreeNotification(&form_);
  frame.SetParent(form_.FlatPanel1);
  frame.SetAlign(alClient);
  scaleToScreen(frame);
  frame.Attach(form_.Bindings());
  // A page that lists what the program has is handed those services before it shows a binding.
  if (auto* volume = dynamic_cast<TFrameVol*>(&frame))
    volume->Use({.Mixer = form_.ActionFamilies().Mixer(), .Settings = &form_.ExtSettings(), .Language = &form_.Language()});
  if (auto* empty = dynamic_cast<TFrameEmpty*>(&frame))
    empty->PageCaption->SetCaption(
        form_.VyGroupBar1->GetGroup(page->Group)->GetItems()->GetItem(page->Item)->GetCaption());
  frame.check();
  ::TranslateComponents(form_.Language(), frame);
  form_.CurrentPage = pageCode;
  form_.FlatPanel1->SetCaption(L"");
  SetSelection(page->Group, page->Item);
  if (frame.CanFocus()) frame.SetFocus();
}

void TPageNavigator::freecur() {
  const std::uint8_t page = form_.CurrentPage;
  if (PageOfPageCode(page) && actionFrame_) {
    actionFrame_->SetVisible(false);
    actionFrame_.reset();
  } else if (page == ProfilePageCode || page == HistoryPageCode) {
    form_.pfp->SetVisible(false);
    if (history_) history_->SetVisible(false);
    if (profile_) profile_->SetVisible(false);
  }
  form_.CurrentPage = 0;
}

void TPageNavigator::SetSelection(int group, int item) {
  Vy::TVyGroupBar& bar = *form_.VyGroupBar1;
  for (int g = 0; g < bar.GetGroupCount(); ++g) {
    Vy::TVyGroup& each = *bar.GetGroup(g);
    Vy::TVyGroupItems& items = *each.GetItems();
    if (g == group) {
      each.SetOpened(true);
      if (item >= 0 && item < items.Count()) items.GetItem(item)->SetSelected(true);
    } else {
      for (int i = 0; i < items.Count(); ++i) items.GetItem(i)->SetSelected(false);
    }
  }
}

void TPageNavigator::ClearSelection() {
  Vy::TVyGroupBar& bar = *form_.VyGroupBar1;
  for (int g = 0; g < bar.GetGroupCount(); ++g) {
    Vy::TVyGroupItems& items = *bar.GetGroup(g)->GetItems();
    for (int i = 0; i < items.Count(); ++i) items.GetItem(i)->SetSelected(false);
  }
}

void TPageNavigator::ShowBindingPage(int selected) {
  freecur();
  if (selected < 0 || form_.EditList().Count == 0) {
    ClearSelection();
    return;
  }
  const TKeyRecord& binding = form_.EditList().Slots[static_cast<std::size_t>(selected)];
  if (binding.ActionCode == 0) {
    form_.FlatPanel1->SetCaption(form_.GetLngString(L"Str.Ext_Tabl_0"));
    ClearSelection();
  } else if (const TActionPage* page = PageOfActionCode(binding.ActionCode)) {
    OpenActionPage(page->PageCode);
  } else {
    // A code of no page (a later version's, or a damaged file): no page, no item.
    ClearSelection();
  }
}

void TPageNavigator::showPanel() {
  TWinControl& sheet = *form_.TabSheet1;
  form_.pfp->SetBounds(0, 0, sheet.GetClientWidth(), sheet.GetClientHeight());
  form_.pfp->SetVisible(true);
  form_.pfp->BringToFront();
}

void TPageNavigator::showProfilePage() {
  if (!profileHost_)
    profileHost_ = std::make_unique<TMainFormProfileHost>(
        form_, [this] { form_.MainActnSave->SetEnabled(false); }, [this] { freecur(); });
  if (!profile_) {
    profile_.reset(CreateFrame<TFrameProfile>(Application));
    profile_->FreeNotification(&form_);
    profile_->Attach(*profileHost_);
    profile_->SetParent(form_.pfp);
    profile_->SetAlign(alClient);
    scaleToScreen(*profile_);
    ::TranslateComponents(form_.Language(), *profile_);
  }
  profile_->SetVisible(true);
  profile_->FillTable();
}

void TPageNavigator::OpenProfilePage() {
  freecur();
  showProfilePage();
  showPanel();
  form_.CurrentPage = ProfilePageCode;
  form_.KeyListPage().RefreshTableIfShown();
}

void TPageNavigator::OpenHistoryPage() {
  freecur();
  if (!history_) {
    history_.reset(CreateFrame<TFrameHist>(Application));
    history_->FreeNotification(&form_);
    history_->SetParent(form_.pfp);
    history_->SetAlign(alClient);
    scaleToScreen(*history_);
    ::TranslateComponents(form_.Language(), *history_);
  }
  history_->SetVisible(true);
  TStrings& memo = *history_->HistoryMemo->GetLines();
  memo.Clear();
  if (form_.IsRusLang()) {
    const std::filesystem::path file = form_.ProgramFolder / L"history.txt";
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
      try {
        memo.LoadFromFile(file.wstring());
      } catch (...) {
        TraceCurrentException(L"history.txt");
      }
    }
  } else {
    memo.Add(HistoryNotInEnglish);
  }
  showPanel();
  form_.CurrentPage = HistoryPageCode;
}
