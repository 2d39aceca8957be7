#include "controls/extended/VyShellLocator.h"

#include "controls/extended/VyShellFormats.h"
#include "vcl/Filer.h"

namespace Vy {

const ITEMIDLIST* TVyShellLocator::GetIdList() {
  if (FKind == 1 && !FIdList) GetSpecialFolderIdList(nullptr, FSpecialFolder, FIdList);
  return FKind <= 1 ? FIdList.get() : nullptr;
}

void TVyShellLocator::SetIdList(const ITEMIDLIST* list) {
  TIdList stored = list && IdListSize(list) > 2 ? CopyIdList(list) : nullptr;
  // Lists the shell cannot compare count as different: the controls must follow.
  const bool changed =
      FKind == 1 || (FIdList ? !stored || CompareIdLists(FIdList.get(), stored.get()) != 0 : stored != nullptr);
  FKind = 0;
  FSpecialFolder = kNoSpecialFolder;
  FIdList = std::move(stored);
  if (changed) Changed();
}

void TVyShellLocator::SetSpecialFolder(int csidl) {
  if (FKind == 1 && FSpecialFolder == csidl) return;
  FKind = 1;
  FSpecialFolder = static_cast<std::uint8_t>(csidl);
  FIdList.reset();
  Changed();
}

bool TVyShellLocator::Equals(const TVyShellLocator& other) const {
  if (this == &other) return true;
  if (FKind != other.FKind) return false;
  if (FKind == 1) return FSpecialFolder == other.FSpecialFolder;
  return CompareIdLists(FIdList.get(), other.FIdList.get()) == 0;
}

void TVyShellLocator::Assign(const TPersistent* Source) {
  if (!Source) {
    if (FKind == 0 && !FIdList) return;
    Clear();
    return;
  }
  const auto* other = dynamic_cast<const TVyShellLocator*>(Source);
  if (!other) return inherited::Assign(Source);
  if (Equals(*other)) return;
  FKind = other->FKind;
  FSpecialFolder = other->FSpecialFolder;
  FIdList = FKind == 0 && other->FIdList ? CopyIdList(other->FIdList.get()) : nullptr;
  Changed();
}

void TVyShellLocator::Changed() {
  if (OnChange) OnChange(this);
}

void TVyShellLocator::ReadPidl(const std::vector<std::uint8_t>& data) {
  TLocatorData read = DecodeLocator(data);  // raises before anything changes
  FKind = read.Kind;
  FSpecialFolder = read.Kind == 1 ? read.SpecialFolder : kNoSpecialFolder;
  FIdList = read.IdList.empty() ? nullptr : IdListFromBytes(read.IdList);
}

void TVyShellLocator::DefineProperties(TFiler& Filer) {
  inherited::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      L"Pidl", [this](const std::vector<std::uint8_t>& data) { ReadPidl(data); },
      [this](std::vector<std::uint8_t>& data) { data = EncodeLocator(FKind, FSpecialFolder, FIdList.get()); },
      FKind == 1 || FIdList != nullptr);
}

}  // namespace Vy
