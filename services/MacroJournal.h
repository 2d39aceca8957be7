// What the journal hooks do with each event, apart from the hooks themselves: the
// recording keeps, converts and times events; the playback hands them back with
// the waits that reproduce their timing. The hook procedures of the recorder call
// these with the system's codes; tests call them with synthetic sequences.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "services/MacroFile.h"

// The journal hook codes (HC_ACTION, HC_GETNEXT, HC_SKIP, HC_SYSMODALON/OFF).
enum TJournalCode { jcAction = 0, jcGetNext = 1, jcSkip = 2, jcSysModalOn = 4, jcSysModalOff = 5 };

inline constexpr std::uint32_t MacroStopKey = 3;  // VK_CANCEL: Ctrl+Break ends a recording

// Screen to client or back, for the window the positions are relative to.
using TMacroPointMap = std::function<void(std::int32_t& x, std::int32_t& y)>;

class TJournalRecording {
 public:
  enum TStep { rsPassed, rsStored, rsStop };

  // skipMoves drops WM_MOUSEMOVE; toClient (when given) makes mouse positions relative.
  TJournalRecording(bool skipMoves, TMacroPointMap toClient);
  // One call of the record hook with a non-negative code.
  TStep OnHook(int code, const TMacroEvent& event);
  // With the application range, events are dropped while the program is inactive.
  void SetDropping(bool dropping) { dropping_ = dropping; }
  const std::vector<TMacroEvent>& Events() const { return events_; }

 private:
  bool skipMoves_;
  TMacroPointMap toClient_;
  bool paused_ = false;
  bool dropping_ = false;
  bool stopped_ = false;
  std::uint32_t base_ = 0;
  std::vector<TMacroEvent> events_;
};

class TJournalPlayback {
 public:
  // fast: no waits. toScreen (when given) turns relative positions back. startMs: the
  // clock at the start (ClockNowMs), from which the recorded times count.
  TJournalPlayback(std::vector<TMacroEvent> events, bool fast, TMacroPointMap toScreen, std::uint64_t startMs);
  // HC_GETNEXT: the event to play in out, and the milliseconds still to wait for it
  // (only on its first request; 0 after).
  std::uint32_t GetNext(TMacroEvent& out, std::uint64_t nowMs);
  // HC_SKIP: on to the next event; true once every event has been played.
  bool Skip();
  // HC_SYSMODALON/OFF: a system-modal dialog pauses; its end ends the playback (true).
  bool SysModal(bool on);
  std::size_t Index() const { return index_; }
  std::size_t Count() const { return events_.size(); }

 private:
  std::vector<TMacroEvent> events_;
  bool fast_;
  TMacroPointMap toScreen_;
  std::uint64_t start_;
  std::size_t index_ = 0;
  bool firstOfEvent_ = true;
  bool paused_ = false;
};
