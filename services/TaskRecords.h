// The plain records of the task scheduler component: task names, the flag and
// option words of a task, the trigger kinds and the date texts of triggers.
// No system calls here, so the native build (sanitizers, fuzzing) covers them;
// the component itself is services/TaskScheduler.h.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "vcl/DateUtils.h"

// ---------------------------------------------------------------------------------------
// Names. The old scheduler stores a task as "NAME.job"; the new one knows it as NAME.
// The extension is compared without regard to case ("A.JOB" is A as well).
std::wstring JobName(const std::wstring& name);
std::wstring PlainName(const std::wstring& name);

// ---------------------------------------------------------------------------------------
// Flags of an old-scheduler task, as a word of bits 0-11 (callers mask them, as the
// autorun code does with `flags & 0xF9FF`). Each bit stands for one system flag.
using TTaskFlags = std::uint16_t;
enum TTaskFlagBit : int {
  tfInteractive = 0,
  tfDeleteWhenDone,
  tfDisabled,
  tfHidden,
  tfRunOnlyIfLoggedOn,
  tfStartOnlyIfIdle,
  tfSystemRequired,
  tfKillOnIdleEnd,
  tfRestartOnIdleResume,
  tfDontStartIfOnBatteries,
  tfKillIfGoingOnBatteries,
  tfRunIfConnectedToInternet,
};
inline constexpr int TaskFlagBitCount = 12;
// The system's flag value for each bit, in bit order.
inline constexpr std::uint32_t TaskFlagValues[TaskFlagBitCount] = {0x1,   0x2,    0x4,   0x200, 0x2000, 0x10,
                                                                   0x1000, 0x20, 0x800, 0x40,  0x80,   0x400};
// The system's flag word for a set of bits (bits above 11 are ignored), and back
// (system flags without a bit are dropped).
std::uint32_t TaskFlagsToSystem(TTaskFlags flags);
TTaskFlags TaskFlagsFromSystem(std::uint32_t systemFlags);

// ---------------------------------------------------------------------------------------
// Options of a new-scheduler task, as a word of bits 0-12 (`options & 0xFF73`).
using TTaskOptions = std::uint16_t;
enum TTaskOptionBit : int {
  toAllowDemandStart = 0,
  toAllowHardTerminate,  // read, never written
  toDisallowStartIfOnBatteries,
  toStopIfGoingOnBatteries,
  toEnabled,
  toHidden,
  toRunOnlyIfIdle,
  toStopOnIdleEnd,
  toRestartOnIdle,
  toRunOnlyIfNetworkAvailable,
  toStartWhenAvailable,
  toWakeToRun,
  toInteractiveLogon,  // set: the principal logs on with the interactive token; clear: with a password
};
inline constexpr int TaskOptionBitCount = 13;
constexpr bool HasBit(std::uint32_t word, int bit) { return (word >> bit) & 1u; }
constexpr std::uint16_t BitOf(int bit) { return static_cast<std::uint16_t>(1u << bit); }

// ---------------------------------------------------------------------------------------
// Triggers. The component's trigger types are numbered as the old scheduler's, with
// four session-state types after them; each maps to one type of the new scheduler.
enum TTaskTriggerKind : int {
  ttOnce = 0,
  ttDaily,
  ttWeekly,
  ttMonthlyDate,
  ttMonthlyDayOfWeek,
  ttIdle,
  ttBoot,
  ttLogon,
  ttRemoteConnect,
  ttRemoteDisconnect,
  ttSessionLock,
  ttSessionUnlock,
};
inline constexpr int TaskTriggerKindCount = 12;

struct TTriggerMapping {
  int systemType;   // the new scheduler's trigger type
  int stateChange;  // for the session-state types, the state change; else 0
};
// Empty for a type the new scheduler has no trigger for (12 and above, negative).
std::optional<TTriggerMapping> MapTriggerKind(int kind);

// "Which week of the month" of a monthly day-of-week trigger: 1..4, or 5 for the
// last week. The new scheduler wants a mask of weeks (week 5 is bit 4 together with
// "run on the last week"); other values have no mask.
std::optional<std::uint16_t> WeeksOfMonthMask(int whichWeek);

// The boundary texts of a trigger, local time without a zone: the start at the
// record's hour and minute ("2024-03-07T09:05:00"); the end at the end of its day
// ("2024-04-07T23:59:59"), so that the end date still counts, as it does in the
// old scheduler's record.
std::wstring StartBoundaryText(int year, int month, int day, int hour, int minute);
std::wstring EndBoundaryText(int year, int month, int day);

// A boundary text of the form "2024-03-07T09:05:30" (anything after the seconds,
// such as fractions or a zone, is ignored) to a date-time value; empty text gives 0.
// Read by fixed position, whatever the user's date settings. A text that is not a
// valid date and time raises EConvertError.
TDateTime IsoToDateTime(const std::wstring& text);
