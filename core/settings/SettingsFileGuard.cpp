#include "core/settings/SettingsFileGuard.h"

#include <system_error>
#include <thread>

#include "core/settings/SafeFile.h"

namespace {
bool Exists(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::exists(file, ec);
}
}  // namespace

std::optional<std::string> TSettingsFileGuard::Read(const std::filesystem::path& file, std::size_t maxBytes,
                                                    bool mayWait) {
  if (!Exists(file)) return std::nullopt;
  if (unreadable_.count(file)) return std::nullopt;  // unreadable before: it stays out of this run
  const int attempts = mayWait ? retry_.Attempts : 1;
  for (int attempt = 1;; ++attempt) {
    if (auto bytes = ReadWholeFile(file, maxBytes)) return bytes;
    if (!Exists(file)) return std::nullopt;  // removed meanwhile: simply missing
    if (attempt >= attempts) break;
    std::this_thread::sleep_for(retry_.Pause);
  }
  unreadable_.insert(file);
  leftAlone_.insert(file);
  reportOnce({TFileProblemKind::Unreadable, file, {}});
  return std::nullopt;
}

std::filesystem::path DamagedCopyPath(const std::filesystem::path& file) {
  const auto original = ReadWholeFile(file);
  for (int n = 1; n <= 9; ++n) {
    std::filesystem::path copy = file;
    copy += n == 1 ? std::string(".bad") : ".bad" + std::to_string(n);
    if (!Exists(copy)) return copy;
    if (original && ReadWholeFile(copy) == original) return copy;
  }
  return {};
}

void TSettingsFileGuard::Damaged(const std::filesystem::path& file) {
  if (!MayWrite(file)) return;
  std::filesystem::path copy = DamagedCopyPath(file);
  std::error_code ec;
  if (!copy.empty() && !Exists(copy)) {
    // Through a temporary file, so a half-made copy never looks like a whole one.
    const auto bytes = ReadWholeFile(file);
    if (!bytes || !WriteWholeFileSafely(copy, *bytes)) copy.clear();
  }
  if (copy.empty()) leftAlone_.insert(file);
  reportOnce({TFileProblemKind::Damaged, file, copy});
}

void TSettingsFileGuard::reportOnce(const TFileProblem& problem) {
  if (!reported_.insert(problem.File).second) return;
  reporter_.ShowFileProblem(problem);
}
