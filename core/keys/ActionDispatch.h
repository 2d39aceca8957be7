// Running one binding: the action code picks the executor of its family and a
// sub-code, then the notice tells the user what happened.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "actions/ActionExecutors.h"
#include "core/keys/KeyEngineWorld.h"
#include "core/keys/KeyRecord.h"

// Where a code goes: nothing for codes outside every family.
struct TDispatchTarget {
  TActionFamily Family;
  int SubCode;
};
std::optional<TDispatchTarget> DispatchTargetOf(TActionCode code);

// Codes whose executors show their own display or none.
bool IsSilentCode(TActionCode code);

// Record strings are in the system code page; notices are UI text.
using TRecordTextToUi = std::function<std::wstring(std::string_view)>;

class TActionDispatcher {
 public:
  TActionDispatcher(TActionExecutors& executors, ILanguage& language, INoticeDisplays& displays,
                    IEngineOptions& options, std::function<bool()> isfullscreen,
                    TRecordTextToUi recordTextToUi);

  // Runs the binding (TMainForm.act). An executor that fails costs only its own action.
  void act(const TKeyRecord& record);

  // A counted key-up: finishes a pending tap-or-hold of codes 12 and 13 (a tap
  // changes the track, a hold has already seeked).
  void KeyUpCounted();
  // Any other key: a pending tap-or-hold is forgotten.
  void CancelTapOrHold();

  // The parameters and notice of the action last run, for the action frames.
  const std::string& CurrentActionParams() const { return currentActionParams_; }
  const std::wstring& ActionNotice() const { return actionNotice_; }

 private:
  bool run(TActionFamily family, int subCode, int held, TActionContext& context);
  void tapOrHold(const TKeyRecord& record, TActionContext& context);
  std::wstring L(const std::string& key);
  std::wstring tableText(TActionCode code);
  std::wstring noticeOf(TActionCode code, const TActionContext& context, std::wstring executorNotice);

  TActionExecutors& executors_;
  ILanguage& language_;
  INoticeDisplays& displays_;
  IEngineOptions& options_;
  std::function<bool()> isfullscreen_;
  TRecordTextToUi toUi_;

  std::string currentActionParams_;
  std::wstring actionNotice_;

  // Tap-or-hold: the binding whose key-down is pending, with its own parameters.
  bool winampSeekPending_ = false;
  bool winampSeekDone_ = false;
  TActionCode seekCode_ = 0;
  std::string seekParams_;
};
