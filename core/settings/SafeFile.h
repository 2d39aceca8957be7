// Whole-file reads and crash-safe whole-file writes for the settings folder.
// A write goes to a temporary file beside the target, is flushed to the disk and
// only then replaces the target, so an interrupted save or a full disk leaves
// either the old file or the new one, never a mix.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The whole file, or its first maxBytes bytes (the readers take no more than their
// tables hold); nullopt when it does not exist or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::size_t maxBytes = SIZE_MAX);

// The temporary file a save of `target` writes first (same folder, so the
// replace is a rename on one volume).
std::filesystem::path SafeFileTemporaryPath(const std::filesystem::path& target);

// Step one of a safe write: the bytes in the temporary file, flushed.
// False (and no temporary file left) when it cannot be written completely.
bool WriteSafeFileTemporary(const std::filesystem::path& target, std::string_view bytes);

// Step two: the temporary file replaces the target in one step.
bool CommitSafeFileTemporary(const std::filesystem::path& target);

// Both steps. False when the target is unchanged because the write failed.
bool WriteWholeFileSafely(const std::filesystem::path& target, std::string_view bytes);
