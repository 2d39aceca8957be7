// Reading the settings files so that nothing the user had is lost. A file that
// exists but cannot be read (a backup or sync program holds it open) is tried
// again for a moment; when it stays unreadable the user is told once and the file
// is left alone by every later save of this run, so defaults never replace it. A
// file that was read damaged keeps its original beside it ("stg.db.bad") before
// the cleaned form is ever written back, and the user is told once where it is.
#pragma once
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "core/settings/SettingsReporter.h"

// How long a file that exists is tried before it counts as unreadable: a sharing
// violation of a backup program usually passes within a second.
struct TReadRetry {
  int Attempts = 20;
  std::chrono::milliseconds Pause{100};
};

class TSettingsFileGuard {
 public:
  explicit TSettingsFileGuard(ISettingsReporter& reporter) : reporter_(reporter) {}

  void SetReadRetry(TReadRetry retry) { retry_ = retry; }

  // The file's bytes (at most maxBytes); nullopt when it does not exist or stays
  // unreadable. An unreadable file is reported once and left alone from then on
  // (and not tried again). mayWait false: one attempt only, for reads that must
  // not hold up the keys.
  std::optional<std::string> Read(const std::filesystem::path& file, std::size_t maxBytes, bool mayWait = true);

  // The file was read damaged: its original is copied beside it (an equal copy
  // from an earlier start is reused) and the user told once. When no copy can be
  // made the file is left alone instead.
  void Damaged(const std::filesystem::path& file);

  // False for a file that must not be written over in this run.
  bool MayWrite(const std::filesystem::path& file) const { return leftAlone_.count(file) == 0; }

 private:
  void reportOnce(const TFileProblem& problem);

  ISettingsReporter& reporter_;
  TReadRetry retry_;
  std::set<std::filesystem::path> unreadable_;
  std::set<std::filesystem::path> leftAlone_;
  std::set<std::filesystem::path> reported_;
};

// Where the original of a damaged file is kept: "<name>.bad", or the first of
// "<name>.bad2" .. "<name>.bad9" that is free or already holds the same bytes;
// empty when all are taken by other contents.
std::filesystem::path DamagedCopyPath(const std::filesystem::path& file);
