// The group controller: one look pushed to every group that names it.
#include "controls/extended/VyGroupBar.h"

#include "vcl/ScopeGuards.h"

#include <algorithm>

namespace Vy {

// --- controller ---------------------------------------------------------------------

TVyGroupController::TVyGroupController(TComponent* AOwner)
    : TComponent(AOwner),
      FCaptionFont(std::make_unique<TFont>()),
      FFont(std::make_unique<TFont>()),
      FItemStaticFont(std::make_unique<TFont>()) {
  FFont->SetColor(clWindowText);
  FCaptionFont->Assign(FFont.get());
  FCaptionFont->SetStyle(TFontStyles{fsBold});
  FCaptionFont->SetColor(clHighlight);
  FItemStaticFont->Assign(FFont.get());
  FFont->OnChange = TNotifyEvent(this, &TVyGroupController::FontChanged);
  FCaptionFont->OnChange = TNotifyEvent(this, &TVyGroupController::CaptionFontChanged);
  FItemStaticFont->OnChange = TNotifyEvent(this, &TVyGroupController::ItemStaticFontChanged);
}

TVyGroupController::~TVyGroupController() {
  FFont->OnChange = nullptr;
  FCaptionFont->OnChange = nullptr;
  FItemStaticFont->OnChange = nullptr;
  // A group must never keep pointing at a controller that is gone.
  for (TVyGroup* g : std::vector(FGroups)) {
    RemoveFreeNotification(g);
    g->FGroupController = nullptr;
  }
  FGroups.clear();
  SetRegIniFile(nullptr);
}

void TVyGroupController::Publish(TPublisher<TVyGroupController>& p) {
  using T = TVyGroupController;
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnHighlight).Idents(ColorIdents);
  p.Property(L"CaptionColor", &T::GetCaptionColor, &T::SetCaptionColor).Default(clHighlightText).Idents(ColorIdents);
  p.Property(L"CaptionFont", &T::GetCaptionFont, &T::SetCaptionFont);
  p.Property(L"CaptionHeight", &T::GetCaptionHeight, &T::SetCaptionHeight).Default(20);
  p.Property(L"CaptionHotColor", &T::GetCaptionHotColor, &T::SetCaptionHotColor)
      .Default(clHotLight)
      .Idents(ColorIdents);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Idents(ColorIdents).Stored(&T::IsColorStored);
  p.Property(L"DividerColor", &T::GetDividerColor, &T::SetDividerColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"DividerVisible", &T::GetDividerVisible, &T::SetDividerVisible).Default(false);
  p.Property(L"Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);
  p.Property(L"ItemHeight", &T::GetItemHeight, &T::SetItemHeight).Default(20);
  p.Property(L"ItemHotColor", &T::GetItemHotColor, &T::SetItemHotColor).Default(clHotLight).Idents(ColorIdents);
  p.Property(L"ItemIndent", &T::GetItemIndent, &T::SetItemIndent).Default(20);
  p.Property(L"ItemStaticFont", &T::GetItemStaticFont, &T::SetItemStaticFont);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(false);
  p.Property(L"ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);
  p.Property(L"SelectionColor", &T::GetSelectionColor, &T::SetSelectionColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"ShowItemSelection", &T::GetShowItemSelection, &T::SetShowItemSelection).Default(false);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients).Default(true);
  p.Property(L"RegIniFile", &T::GetRegIniFile, &T::SetRegIniFile);
}

void TVyGroupController::Register(TVyGroup* group) {
  if (std::find(FGroups.begin(), FGroups.end(), group) != FGroups.end()) return;
  FGroups.push_back(group);
  FreeNotification(group);
  UpdateGroup(group, gcAll);
}

void TVyGroupController::Unregister(TVyGroup* group) {
  std::erase(FGroups, group);
  RemoveFreeNotification(group);
  if (FGroups.empty()) FGroups.shrink_to_fit();
}

void TVyGroupController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  std::erase(FGroups, AComponent);
}

void TVyGroupController::UpdateGroup(TVyGroup* g, TWhich which) {
  const bool all = which == gcAll;
  if (all || which == gcParentColor) g->SetParentColor(FParentColor);
  if ((all && !FParentColor) || which == gcColor) g->SetGroupColor(FColor);
  if (all || which == gcParentFont) g->SetParentFont(FParentFont);
  if ((all && !FParentFont) || which == gcFont) g->SetFont(FFont.get());
  if (all || which == gcBorderColor) g->SetBorderColor(FBorderColor);
  if (all || which == gcCaptionColor) g->SetCaptionColor(FCaptionColor);
  if (all || which == gcCaptionFont) g->SetCaptionFont(FCaptionFont.get());
  if (all || which == gcCaptionHeight) g->SetCaptionHeight(FCaptionHeight);
  if (all || which == gcCaptionHotColor) g->SetCaptionHotColor(FCaptionHotColor);
  if (all || which == gcDividerColor) g->SetDividerColor(FDividerColor);
  if (all || which == gcDividerVisible) g->SetDividerVisible(FDividerVisible);
  if (all || which == gcItemHeight) g->SetItemHeight(FItemHeight);
  if (all || which == gcItemHotColor) g->SetItemHotColor(FItemHotColor);
  if (all || which == gcItemIndent) g->SetItemIndent(std::uint8_t(FItemIndent));
  if (all || which == gcItemStaticFont) g->SetItemStaticFont(FItemStaticFont.get());
  if (all || which == gcSelectionColor) g->SetSelectionColor(FSelectionColor);
  if (all || which == gcShowItemSelection) g->SetShowItemSelection(FShowItemSelection);
  if (all || which == gcUseGradients) g->SetUseGradients(FUseGradients);
}

void TVyGroupController::UpdateGroups(TWhich which) {
  if (FUpdateCount > 0) return;
  for (TVyGroup* g : std::vector(FGroups)) UpdateGroup(g, which);
}

void TVyGroupController::EndUpdate() {
  if (--FUpdateCount > 0) return;
  FUpdateCount = 0;
  UpdateGroups(gcAll);
}

void TVyGroupController::Loaded() {
  TComponent::Loaded();
  UpdateGroups(gcAll);
}

void TVyGroupController::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyGroupController*>(Source);
  if (!src) return TComponent::Assign(Source);
  BeginUpdate();
  const TOnExit pushed([this] { EndUpdate(); });
  SetBorderColor(src->FBorderColor);
  SetCaptionColor(src->FCaptionColor);
  FCaptionFont->Assign(src->FCaptionFont.get());
  SetCaptionHeight(src->FCaptionHeight);
  SetCaptionHotColor(src->FCaptionHotColor);
  SetColor(src->FColor);
  SetDividerColor(src->FDividerColor);
  SetDividerVisible(src->FDividerVisible);
  FFont->Assign(src->FFont.get());
  SetItemHeight(src->FItemHeight);
  SetItemHotColor(src->FItemHotColor);
  SetItemIndent(std::uint8_t(src->FItemIndent));
  FItemStaticFont->Assign(src->FItemStaticFont.get());
  SetParentColor(src->FParentColor);
  SetParentFont(src->FParentFont);
  SetSelectionColor(src->FSelectionColor);
  SetShowItemSelection(src->FShowItemSelection);
  SetUseGradients(src->FUseGradients);
}

void TVyGroupController::SetParentColor(bool v) {
  if (v == FParentColor) return;
  FParentColor = v;
  UpdateGroups(gcParentColor);
  if (!v) UpdateGroups(gcColor);
}

void TVyGroupController::SetParentFont(bool v) {
  if (v == FParentFont) return;
  FParentFont = v;
  UpdateGroups(gcParentFont);
  if (!v) UpdateGroups(gcFont);
}

void TVyGroupController::SetRegIniFile(TVyRegIniFile* v) {
  if (v == FRegIniFile) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = v;
  if (v) v->FreeNotification(this);
}

void TVyGroupController::FontChanged(TObject*) {
  FFontChanged = true;
  {
    // The followers change with Font without becoming the user's own choice.
    FCaptionFont->OnChange = nullptr;
    FItemStaticFont->OnChange = nullptr;
    const TOnExit relinked([this] {
      FCaptionFont->OnChange = TNotifyEvent(this, &TVyGroupController::CaptionFontChanged);
      FItemStaticFont->OnChange = TNotifyEvent(this, &TVyGroupController::ItemStaticFontChanged);
    });
    if (!FCaptionFontChanged) {
      FCaptionFont->SetName(FFont->GetName());
      FCaptionFont->SetSize(FFont->GetSize());
      FCaptionFont->SetStyle(TFontStyles{fsBold});
    }
    if (!FItemStaticFontChanged) FItemStaticFont->Assign(FFont.get());
  }
  UpdateGroups(gcFont);
}

void TVyGroupController::CaptionFontChanged(TObject*) {
  FCaptionFontChanged = true;
  UpdateGroups(gcCaptionFont);
}

void TVyGroupController::ItemStaticFontChanged(TObject*) {
  FItemStaticFontChanged = true;
  UpdateGroups(gcItemStaticFont);
}

}  // namespace Vy
