#include "core/mainwindow/IgnoredProgramsPage.h"

#include <set>

#include "services/ProcessList.h"
#include "services/ProgramFile.h"
#include "vcl/ShortCuts.h"
#include "vcl/System.h"

namespace {

std::unique_ptr<TImageList> SmallSystemImages() {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetShareImages(true);
  images->SetHandle(GetSystemImageList(16));
  return images;
}

std::wstring Lowered(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// A menu caption showing the path as it is: a lone "&" would mark the next letter.
std::wstring CaptionOfPath(const std::wstring& path) {
  std::wstring caption;
  for (wchar_t c : path) caption += c == L'&' ? L"&&" : std::wstring(1, c);
  return caption;
}

// "%n" becomes the argument, "\n" a line break.
std::wstring MessageText(std::wstring text, const std::wstring& argument) {
  for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 2))
    text.replace(at, 2, L"\r\n");
  if (const std::size_t at = text.find(L"%n"); at != std::wstring::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace

TIgnoredProgramsPage::TIgnoredProgramsPage(TParts parts, TExtSettings& ext, THooks hooks)
    : parts_(parts), list_(ext), hooks_(std::move(hooks)) {}

TIgnoredProgramsPage::~TIgnoredProgramsPage() {
  // The view and the menu outlive this page inside the form: they forget our lists first.
  if (parts_.List.GetSmallImages() == rowIcons_.get()) parts_.List.SetSmallImages(nullptr);
  if (parts_.RunningPrograms.GetSubMenuImages() == menuIcons_.get()) parts_.RunningPrograms.SetSubMenuImages(nullptr);
}

void TIgnoredProgramsPage::Rebuild() {
  if (!list_.InUse()) return;
  TListItems& rows = *parts_.List.GetItems();
  rows.BeginUpdate();
  rows.Clear();
  for (const std::string& entry : list_.Entries()) addRow(AnsiToString(entry));
  rows.EndUpdate();
}

void TIgnoredProgramsPage::FillRunningPrograms() {
  if (!menuIcons_) menuIcons_ = SmallSystemImages();
  TMenuItem& submenu = parts_.RunningPrograms;
  submenu.SetSubMenuImages(menuIcons_.get());
  submenu.Clear();
  Processes().Refresh();
  std::set<std::wstring> listed;
  for (int i = 0; i < Processes().Count(); ++i) {
    const std::wstring& path = Processes().Items(i)->GetExePath();
    // Each program once, however many of its processes run.
    if (path.empty() || !listed.insert(Lowered(path)).second) continue;
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(CaptionOfPath(path));
    item->SetImageIndex(GetFileIconIndex(path));
    item->OnClick = OnRunningProgramClick;
    submenu.Add(item);
  }
}

void TIgnoredProgramsPage::AddFromDialog() {
  if (!parts_.Dialog.Execute()) return;
  add(parts_.Dialog.GetFileName());
}

void TIgnoredProgramsPage::AddRunningProgram(const TMenuItem& item) { add(StripHotkey(item.GetCaption())); }

void TIgnoredProgramsPage::DeleteSelected() {
  TListItems& rows = *parts_.List.GetItems();
  const int index = parts_.List.GetItemIndex();
  if (index < 0 || index >= rows.Count()) return;
  rows.Delete(index);
  list_.Delete(index);
  if (!list_.InUse() && hooks_.ListEmptied) hooks_.ListEmptied();
}

void TIgnoredProgramsPage::add(const std::wstring& path) {
  const std::string stored = StringToAnsi(path);
  // The settings file keeps the paths in the system code page: a path that does not
  // come back from it would name no program.
  if (AnsiToString(stored) != path) {
    refuse(hooks_.GetLngMessage(L"IgnoredPathNotStorable"),
           L"The program \"%n\" cannot be added: its path holds characters the settings file cannot store.", path);
    return;
  }
  switch (list_.Add(stored)) {
    case TIgnoredPathRefusal::None: break;
    case TIgnoredPathRefusal::Empty: return;
    case TIgnoredPathRefusal::HasSeparator:
      refuse(hooks_.GetLngMessage(L"IgnoredPathHasSeparator"),
             L"The program \"%n\" cannot be added: its path holds \";\", which separates the programs in the "
             L"settings file.",
             path);
      return;
  }
  addRow(path);
}

void TIgnoredProgramsPage::addRow(const std::wstring& path) {
  if (!rowIcons_) rowIcons_ = SmallSystemImages();
  if (parts_.List.GetSmallImages() != rowIcons_.get()) parts_.List.SetSmallImages(rowIcons_.get());
  TListItem* row = parts_.List.GetItems()->Add();
  row->SetCaption(GetProgramDescription(path));
  row->SubItems()->Add(path);
  row->SetImageIndex(GetFileIconIndex(path));
}

void TIgnoredProgramsPage::refuse(const std::wstring& languageText, const wchar_t* otherwise,
                                  const std::wstring& path) {
  MessageDlg(MessageText(languageText.empty() ? otherwise : languageText, path), mtWarning, {mbOK});
}
