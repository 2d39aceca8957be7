#include "services/MacroJournal.h"

namespace {
bool IsMouse(std::uint32_t m) { return m >= MacroFirstMouse && m <= MacroLastMouse; }

void Map(const TMacroPointMap& map, TMacroEvent& e) {
  if (!map || !IsMouse(e.Message)) return;
  std::int32_t x = static_cast<std::int32_t>(e.ParamL), y = static_cast<std::int32_t>(e.ParamH);
  map(x, y);
  e.ParamL = static_cast<std::uint32_t>(x);
  e.ParamH = static_cast<std::uint32_t>(y);
}
}  // namespace

TJournalRecording::TJournalRecording(bool skipMoves, TMacroPointMap toClient)
    : skipMoves_(skipMoves), toClient_(std::move(toClient)) {
  events_.reserve(MaxMacroEvents);
}

TJournalRecording::TStep TJournalRecording::OnHook(int code, const TMacroEvent& event) {
  if (code == jcSysModalOn) paused_ = true;
  if (code == jcSysModalOff) paused_ = false;
  if (code != jcAction || paused_ || stopped_) return rsPassed;
  // The stop key is looked at before the limit, so a full recording still stops.
  if (event.Message == MacroKeyDown && (event.ParamL & 0xFF) == MacroStopKey) {
    stopped_ = true;
    return rsStop;
  }
  if (events_.size() >= MaxMacroEvents) return rsPassed;
  if (event.Message == MacroMouseMove && skipMoves_) return rsPassed;
  if (dropping_) return rsPassed;
  TMacroEvent e = event;
  Map(toClient_, e);
  if (events_.empty()) base_ = e.Time;
  e.Time -= base_;  // unsigned: right across the tick counter's wrap
  events_.push_back(e);
  return rsStored;
}

TJournalPlayback::TJournalPlayback(std::vector<TMacroEvent> events, bool fast, TMacroPointMap toScreen,
                                   std::uint64_t startMs)
    : events_(std::move(events)), fast_(fast), toScreen_(std::move(toScreen)), start_(startMs) {}

std::uint32_t TJournalPlayback::GetNext(TMacroEvent& out, std::uint64_t nowMs) {
  if (index_ >= events_.size()) return 0;
  out = events_[index_];
  Map(toScreen_, out);
  const std::uint64_t due = fast_ ? nowMs : start_ + out.Time;
  out.Time = static_cast<std::uint32_t>(due);
  if (!firstOfEvent_) return 0;
  firstOfEvent_ = false;
  return due > nowMs ? static_cast<std::uint32_t>(due - nowMs) : 0;
}

bool TJournalPlayback::Skip() {
  ++index_;
  firstOfEvent_ = true;
  return index_ >= events_.size();
}

bool TJournalPlayback::SysModal(bool on) {
  paused_ = on;
  return !on;
}
