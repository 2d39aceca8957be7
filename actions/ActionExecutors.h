// The executors of the action families, as the dispatcher (core/keys) calls them:
// the one interface that the key engine and the actions both build on. Until the
// actions themselves exist, each family has a recording executor that remembers what
// it was asked to do.
#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

enum class TActionFamily : std::size_t {
  Winamp,         // 10-20
  Volume,         // 21-24
  MediaPlayers,   // 31-37
  Folders,        // 41-48
  Programs,       // 51-59
  Power,          // 61-68
  Web,            // 71-79
  Windows,        // 80-89
  AudioCd,        // 91-99
  OtherTools,     // 101-109
  Documents,      // 110-120
  KeysLayouts,    // 121-129
  Scrolling,      // 131-139
  QuickMacros,    // 141-149
  Network,        // 151-159
  Cursor,         // 161-169
  Wallpaper,      // 171-179
  Brightness,     // 181-189
};
inline constexpr std::size_t ActionFamilyCount = 18;

const char* ActionFamilyName(TActionFamily family);

// What one run of an action gets: its own copy of the binding's parameters, and
// the notice text, which an executor may set.
struct TActionContext {
  std::string Params;
  std::wstring Notice;
};

class IActionExecutor {
 public:
  virtual ~IActionExecutor() = default;
  // subCode as the dispatch gives it; held is the Winamp seek flag (0 elsewhere).
  virtual void Execute(int subCode, int held, TActionContext& context) = 0;
};

// One executor per family; a family without one runs nothing.
class TActionExecutors {
 public:
  void Set(TActionFamily family, IActionExecutor* executor) { executors_[index(family)] = executor; }
  IActionExecutor* Get(TActionFamily family) const { return executors_[index(family)]; }

 private:
  static std::size_t index(TActionFamily f) { return static_cast<std::size_t>(f); }
  std::array<IActionExecutor*, ActionFamilyCount> executors_{};
};

// One call as a recording executor saw it.
struct TRecordedAction {
  TActionFamily Family;
  int SubCode;
  int Held;
  std::string Params;
  friend bool operator==(const TRecordedAction&, const TRecordedAction&) = default;
};

// Stands for every family until the real executors are built: each call is kept in
// order in one log.
class TRecordingExecutors {
 public:
  TRecordingExecutors();
  void InstallInto(TActionExecutors& executors);
  const std::vector<TRecordedAction>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  class Recorder : public IActionExecutor {
   public:
    Recorder(TActionFamily family, std::vector<TRecordedAction>& log) : family_(family), log_(log) {}
    void Execute(int subCode, int held, TActionContext& context) override;
    TActionFamily family() const { return family_; }

   private:
    TActionFamily family_;
    std::vector<TRecordedAction>& log_;
  };
  std::vector<TRecordedAction> log_;
  std::vector<std::unique_ptr<Recorder>> recorders_;
};
