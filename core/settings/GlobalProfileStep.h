// Stepping to the next or previous global profile (the tray's hot keys): only the
// profiles the table holds are looked at, and a name that is empty is skipped.
#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/settings/Profiles.h"

struct TGlobalProfileStep {
  std::size_t Entry = 0;     // 1..Count of the profile table
  std::size_t Position = 0;  // among the named global profiles, from 1
  std::size_t Count = 0;     // how many named global profiles there are
};

// direction 1: the first global profile after the active one, wrapping round;
// -1 the first before it. Nothing when no other global profile exists.
std::optional<TGlobalProfileStep> StepGlobalProfile(const TProfileTable& table, std::string_view active,
                                                    int direction);
