#include "core/keys/ActionDispatch.h"

#include "core/keys/ActionParams.h"
#include "core/utils/Trace.h"

namespace {

struct Range {
  int first;
  int last;
  TActionFamily family;
  int base;  // sub-code = code - base
};

constexpr Range ranges[] = {
    {10, 20, TActionFamily::Winamp, 10},        {21, 24, TActionFamily::Volume, 20},
    {31, 37, TActionFamily::MediaPlayers, 30},  {41, 48, TActionFamily::Folders, 40},
    {51, 59, TActionFamily::Programs, 50},      {61, 68, TActionFamily::Power, 60},
    {71, 79, TActionFamily::Web, 70},           {80, 89, TActionFamily::Windows, 0},
    {91, 99, TActionFamily::AudioCd, 0},        {101, 109, TActionFamily::OtherTools, 100},
    {110, 120, TActionFamily::Documents, 110},  {121, 129, TActionFamily::KeysLayouts, 120},
    {131, 139, TActionFamily::Scrolling, 130},  {141, 149, TActionFamily::QuickMacros, 140},
    {151, 159, TActionFamily::Network, 150},    {161, 169, TActionFamily::Cursor, 160},
    {171, 179, TActionFamily::Wallpaper, 170},  {181, 189, TActionFamily::Brightness, 180},
};

constexpr wchar_t CR = L'\r';

std::wstring AnsiToWide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

bool isTapOrHold(TActionCode code) { return code == 12 || code == 13; }

}  // namespace

std::optional<TDispatchTarget> DispatchTargetOf(TActionCode code) {
  for (const Range& r : ranges)
    if (code >= r.first && code <= r.last) return TDispatchTarget{r.family, code - r.base};
  return std::nullopt;
}

bool IsSilentCode(TActionCode code) {
  return (code >= 10 && code <= 24) || (code >= 31 && code <= 37) || code == 102 || code == 121 ||
         code == 122 || (code >= 131 && code <= 139) || (code >= 161 && code <= 169);
}

TActionDispatcher::TActionDispatcher(TActionExecutors& executors, ILanguage& language,
                                     INoticeDisplays& displays, IEngineOptions& options,
                                     std::function<bool()> isfullscreen, TRecordTextToUi recordTextToUi)
    : executors_(executors),
      language_(language),
      displays_(displays),
      options_(options),
      isfullscreen_(std::move(isfullscreen)),
      toUi_(std::move(recordTextToUi)) {}

std::wstring TActionDispatcher::L(const std::string& key) { return language_.GetLngString(key, L""); }

std::wstring TActionDispatcher::tableText(TActionCode code) {
  return L("Str.Ext_Tabl_" + std::to_string(code));
}

bool TActionDispatcher::run(TActionFamily family, int subCode, int held, TActionContext& context) {
  IActionExecutor* executor = executors_.Get(family);
  if (!executor) return true;
  // An executor's failure must never unwind into the hook library, and must not
  // leave the key road unusable: the key stays taken, the action is simply lost.
  try {
    executor->Execute(subCode, held, context);
    return true;
  } catch (...) {
    TraceCurrentException(L"the " + std::wstring(AnsiToWide(ActionFamilyName(family))) + L" action " +
                          std::to_wstring(subCode) + L" failed");
    return false;
  }
}

void TActionDispatcher::tapOrHold(const TKeyRecord& record, TActionContext& context) {
  if (winampSeekPending_ && seekCode_ == record.ActionCode) {
    // The key is held: the keyboard repeats its key-down, so each repeat seeks.
    winampSeekDone_ = true;
    run(TActionFamily::Winamp, record.ActionCode - 10, 1, context);
    return;
  }
  winampSeekPending_ = true;
  winampSeekDone_ = false;
  seekCode_ = record.ActionCode;
  seekParams_ = context.Params;
}

void TActionDispatcher::KeyUpCounted() {
  if (!winampSeekPending_) return;
  const bool seeked = winampSeekDone_;
  winampSeekPending_ = winampSeekDone_ = false;
  if (seeked) return;
  TActionContext context{seekParams_, {}};
  currentActionParams_ = seekParams_;
  run(TActionFamily::Winamp, seekCode_ - 10, 0, context);
}

void TActionDispatcher::CancelTapOrHold() { winampSeekPending_ = winampSeekDone_ = false; }

std::wstring TActionDispatcher::noticeOf(TActionCode code, const TActionContext& context,
                                         std::wstring executorNotice) {
  const std::string& params = context.Params;
  const std::string afterFirst = params.empty() ? std::string() : params.substr(1);
  if (code == 41) {
    const std::string path = afterFirst.substr(0, afterFirst.find('\0'));
    return L("Groups.Group20") + CR + toUi_(path);
  }
  if (code >= 42 && code <= 48) return L("Groups.Group20") + CR + tableText(code);
  if (code == 51) {
    if (IsParamOnAct(params)) return L("Groups.Group21") + CR + toUi_(GetParamOnAct(params, "exefile"));
    return L("Groups.Group21") + CR + toUi_(afterFirst);
  }
  if (code == 52 || code == 53 || (code >= 55 && code <= 57)) return L("Groups.Group21") + CR + tableText(code);
  if (code == 54) return L("Groups.Group21");
  if (code == 58 || code == 59) return tableText(code);
  if (code >= 71 && code <= 79) return L("Groups.Group21") + CR + tableText(code);
  if (code >= 80 && code <= 89) return tableText(code);
  if (code >= 91 && code <= 99) return L"CD-ROM " + tableText(code);
  if (code >= 110 && code <= 120) return tableText(code);
  return executorNotice;
}

void TActionDispatcher::act(const TKeyRecord& record) {
  const TActionCode code = record.ActionCode;
  TActionContext context{record.Params.str(), {}};
  currentActionParams_ = context.Params;
  actionNotice_.clear();

  bool ran = true;
  if (isTapOrHold(code)) {
    tapOrHold(record, context);
  } else {
    // Another binding ran between a tap's key-down and key-up: the tap is void.
    CancelTapOrHold();
    if (const auto target = DispatchTargetOf(code)) ran = run(target->Family, target->SubCode, 0, context);
  }
  if (!ran) return;
  actionNotice_ = noticeOf(code, context, context.Notice);

  if (IsSilentCode(code)) return;
  const TKeyEngineOptions options = options_.Options();
  if (!options.osdkeyspressed || isfullscreen_()) return;
  const std::wstring text = record.OsdText.empty() ? actionNotice_ : toUi_(record.OsdText.view());
  if (options.washowpopup)
    displays_.ShowPopup(toUi_(record.Name.view()), L"", L"", text, 0, 0, 0);
  else
    displays_.ShowText(2, text);
}
