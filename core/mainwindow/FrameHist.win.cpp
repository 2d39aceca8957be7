#include "core/mainwindow/FrameHist.h"

#include "core/mainwindow/MainWindow.h"

void TFrameHist::Publish(TPublisher<TFrameHist>& p) {
  p.Field(L"HistoryMemo", &TFrameHist::HistoryMemo);
  p.Field(L"CloseHistory", &TFrameHist::CloseHistory);
  p.Handler(L"CloseHistoryClick", &TFrameHist::CloseHistoryClick);
}

void TFrameHist::CloseHistoryClick(TObject*) {
  if (MainForm) MainForm->freecur();
}
