// TMacroRecorder: records the system's keyboard and mouse input with a journal
// record hook and plays a macro file back with a journal playback hook.
//
// One recording or playback runs at a time in the process; the hook procedures
// work on that one session. Every session ends with its hook removed: by
// StopRecording, Ctrl+Break, the last event played, the end of a system-modal
// dialog, the system's cancellation (WM_CANCELJOURNAL, Ctrl+Esc) or the
// recorder's destruction.
//
// Journal hooks are a fading system facility: newer Windows versions refuse them
// to programs without uiAccess, and then StartRecording shows "No Journal Hook
// available" and StartPlayback does nothing.
#pragma once

#include "services/MacroFile.h"
#include "vcl/Classes.h"
#include "vcl/Forms.h"
#include "vcl/Win.h"

#include <memory>
#include <string>

QORN_ENUM(TPlaybackSpeed, pbNormal, pbFast);
QORN_ENUM(TRecordingRange, rrSystem, rrApplication);
QORN_ENUM(TRecordOption, roMouseMove, roMouseRelative);
using TRecordOptions = TSet<TRecordOption>;

class TMacroRecorder : public TComponent {
  QORN_CLASS(TMacroRecorder, TComponent)
 public:
  // AOwner must be a form (raises "Control parent must be a form!").
  explicit TMacroRecorder(TComponent* AOwner);
  ~TMacroRecorder() override;

  const std::wstring& GetFileName() const { return FFileName; }
  // Raises "Can not modify file name while recording Macro." during a recording.
  void SetFileName(const std::wstring& Value);
  TRecordingRange GetRecordingRange() const { return FRecordingRange; }
  // Raises "Can not change property while recording macro." during a recording.
  void SetRecordingRange(TRecordingRange Value);
  TPlaybackSpeed PlaybackSpeed = pbNormal;
  TRecordOptions Options{roMouseMove, roMouseRelative};

  // Starts recording into memory. Raises "Invalid FileName" without a file name;
  // nothing while a recording or playback runs.
  void StartRecording();
  // Ends the recording and writes the file (a recording without events leaves the
  // file as it was), then fires OnRecordFinished.
  void StopRecording();
  // Reads the file and plays it. Raises "Invalid FileName" without a file name and
  // the file's errors for a malformed file; a missing or empty file plays nothing.
  void StartPlayback();

  bool Recording() const;
  bool Playing() const;
  // Whether any recorder of the process holds a journal hook now.
  static bool HookInstalled();

  TNotifyEvent OnPlaybackFinished;
  TNotifyEvent OnPlaybackCancelled;
  TNotifyEvent OnRecordFinished;
  TNotifyEvent OnRecordCancelled;

  // The hook procedures, reachable so that tests can drive them with the system's
  // codes and records while a session runs.
  static LRESULT CALLBACK RecordHook(int Code, WPARAM WParam, LPARAM LParam);
  static LRESULT CALLBACK PlaybackHook(int Code, WPARAM WParam, LPARAM LParam);

  struct TSession;

 private:
  static void Publish(TPublisher<TMacroRecorder>& p);
  void ApplicationActivate(TObject* Sender);
  void ApplicationDeactivate(TObject* Sender);
  void ApplicationMessage(MSG& Msg, bool& Handled);
  void EndPlayback(bool cancelled);
  void WndProc(TMessage& Message);

  std::wstring FFileName;
  TRecordingRange FRecordingRange = rrSystem;
  bool FInactive = false;
  TNotifyEvent FPreviousActivate;
  TNotifyEvent FPreviousDeactivate;
  TApplicationEvents* FEvents = nullptr;  // owned through the component list
  HWND FWindow = nullptr;
};
