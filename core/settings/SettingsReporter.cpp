#include "core/settings/SettingsReporter.h"

std::wstring NumberedErrorText(int number) {
  return L"Error #" + std::to_wstring(number) + L": Can not save setting.";
}

std::wstring FileProblemText(const TFileProblem& problem) {
  const std::wstring file = L"\"" + problem.File.wstring() + L"\"";
  if (problem.Kind == TFileProblemKind::Unreadable)
    return L"Qorn could not read the settings file " + file +
           L". It runs on default values for it and leaves the file as it is until Qorn ends.";
  if (problem.Copy.empty())
    return L"The settings file " + file +
           L" is damaged and no copy of it could be made. Qorn uses what it could read and leaves the file as it "
           L"is until Qorn ends.";
  return L"The settings file " + file + L" is damaged. Qorn uses what it could read; the file as it was is kept in \"" +
         problem.Copy.wstring() + L"\".";
}
