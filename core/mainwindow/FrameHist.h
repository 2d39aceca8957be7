// The history page: what is new in each version, over the keys page.
#pragma once
#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatMemoUnit.h"
#include "vcl/Forms.h"

class TFrameHist : public TFrame {
  QORN_CLASS(TFrameHist, TFrame)
 public:
  explicit TFrameHist(TComponent* AOwner) : TFrame(AOwner) {}

  Flat::TFlatMemo* HistoryMemo = nullptr;
  Flat::TFlatButton* CloseHistory = nullptr;
  void CloseHistoryClick(TObject* Sender);

 private:
  static void Publish(TPublisher<TFrameHist>& p);
};

// What the memo shows: "history.txt" of the program folder for a Russian-text
// language (nothing when it is missing), else one fixed English line.
inline constexpr const wchar_t* HistoryNotInEnglish =
    L"Sorry, but version history in english language not available (Only Russian at this moment).";
