// THTTPGet: one HTTP GET or POST at a time on a worker thread, the body delivered
// as a string or into a file.
//
// Events run on the GUI thread. Exactly one of OnDoneFile, OnDoneString and OnError
// ends each transfer started; OnError covers every failure (no session, no server,
// a status other than 2xx, an empty or cut body, a file that cannot be written) and
// an abort. Nothing is raised to the caller and no message is shown.
//
// A file transfer writes a temporary file beside FileName and renames it over
// FileName only on success: after a failure or an abort FileName is as it was.
//
// Destroying the component during a transfer aborts it; the worker ends by itself
// later and reaches nothing of the component.
#pragma once

#include "vcl/Classes.h"

#include <memory>
#include <string>

using TOnProgressEvent = TEvent<void(TObject* Sender, int TotalSize, int Readed)>;
using TOnDoneFileEvent = TEvent<void(TObject* Sender, const std::wstring& FileName, int FileSize)>;
// Result: the body's bytes as the server sent them.
using TOnDoneStringEvent = TEvent<void(TObject* Sender, const std::string& Result)>;

class THTTPGet : public TComponent {
  QORN_CLASS(THTTPGet, TComponent)
 public:
  explicit THTTPGet(TComponent* AOwner);
  ~THTTPGet() override;

  // Start a transfer of the body into FileName / into a string. Nothing happens
  // while a transfer runs. With WaitThread they return once its end event has run,
  // handling this thread's messages meanwhile (the worker's calls arrive that way).
  void GetFile();
  void GetString();
  // Stops the running transfer for good: it ends in OnError, whatever it read.
  void Abort();
  bool Busy() const { return FLink != nullptr; }

  std::wstring AcceptTypes = L"*/*";
  std::wstring Agent = L"HTTPGet";
  // The response must declare its length; without one nothing is read and it fails.
  bool BinaryData = false;
  std::wstring URL;
  bool UseCache = false;
  std::wstring FileName;
  std::wstring UserName;
  std::wstring Password;
  // Non-empty: a POST with this text (in the system code page) as its body, unencoded.
  std::wstring PostQuery;
  std::wstring Referer;
  // "host:port"; empty: the system's settings (UseWinProxySettings) or none.
  std::wstring Proxy;
  bool UseWinProxySettings = false;
  bool WaitThread = false;

  TOnProgressEvent OnProgress;
  TOnDoneFileEvent OnDoneFile;
  TOnDoneStringEvent OnDoneString;
  TNotifyEvent OnError;

  struct TLink;

 private:
  static void Publish(TPublisher<THTTPGet>& p);
  void Start(bool toFile);
  void Done(TLink& link);

  // The running transfer; the worker holds it too, so it outlives this component.
  std::shared_ptr<TLink> FLink;
};
