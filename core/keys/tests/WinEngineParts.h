// A key engine on the real Windows services (foreground, lock keys, the form
// library's timer), with fakes for the rest and a recording executor for every
// action family: what the Windows-side engine tests drive.
#pragma once
#include "core/keys/KeyEngineWin.h"
#include "core/keys/tests/EngineFakes.h"

struct WinEngineParts {
  fakes::EngineOptions options;
  TWinForeground foreground;
  fakes::Profiles profiles;
  TTimer repeatTimer{nullptr};
  TTimerRepeatTimer timer{repeatTimer};
  TWinLockKeys locks;
  fakes::Language language;
  fakes::Displays displays;
  fakes::Capture capture;
  fakes::KeyTest keyTest;
  fakes::Esc esc;
  fakes::Counter counter;
  TActionExecutors executors;
  TRecordingExecutors recorder;
  TKeyEngine engine{{options, foreground, profiles, timer, locks, language, displays, capture, keyTest, esc,
                     counter, executors, RecordTextToUi}};
};
