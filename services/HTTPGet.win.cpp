#include "services/HTTPGet.h"

#include "services/HttpTransfer.h"
#include "vcl/Forms.h"
#include "vcl/Thread.h"
#include "vcl/Win.h"

#include <wininet.h>

#include <atomic>
#include <vector>

// What the component and its worker share. The worker only reads its own copy of
// the settings and writes the outcome before it ends; Owner is touched only on the
// GUI thread (cleared when the component goes), Stop from both.
struct THTTPGet::TLink {
  THTTPGet* Owner = nullptr;
  std::atomic<bool> Stop{false};
  bool Ended = false;  // GUI thread: the end event has run (or the owner went)

  struct TSettings {
    std::wstring AcceptTypes, Agent, URL, FileName, UserName, Password, Referer, Proxy;
    std::string PostBody;
    bool BinaryData = false, UseWinProxySettings = false, UseCache = false, ToFile = false;
  } Settings;

  bool Success = false;
  std::string Body;
  std::uint64_t Size = 0;
  std::wstring TempFile;  // a complete download waiting to be renamed over FileName

  // Puts a finished file in place, or drops it; false when it is not in place.
  bool Commit(bool keep) {
    if (TempFile.empty()) return false;
    const std::wstring temp = std::exchange(TempFile, L"");
    if (keep && MoveFileExW(temp.c_str(), Settings.FileName.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temp.c_str());
    return false;
  }
};

namespace {

class TInternetHandle {
 public:
  explicit TInternetHandle(HINTERNET h = nullptr) : h_(h) {}
  ~TInternetHandle() {
    if (h_) InternetCloseHandle(h_);
  }
  TInternetHandle(const TInternetHandle&) = delete;
  TInternetHandle& operator=(const TInternetHandle&) = delete;
  HINTERNET get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HINTERNET h_;
};

// The file being downloaded: a temporary file beside the target, renamed over it
// on success and deleted otherwise.
class TPartialFile {
 public:
  explicit TPartialFile(const std::wstring& target) : target_(target) {
    std::wstring folder = L".";
    const size_t slash = target.find_last_of(L"\\/");
    if (slash != std::wstring::npos) folder = target.substr(0, slash + 1);
    wchar_t temp[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"dl", 0, temp)) return;
    temp_ = temp;
    file_ = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) DeleteFileW(temp_.c_str());
  }
  ~TPartialFile() {
    Close();
    if (!kept_ && !temp_.empty()) DeleteFileW(temp_.c_str());
  }
  bool Ok() const { return file_ != INVALID_HANDLE_VALUE; }
  bool Write(const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file_, data, size, &written, nullptr) && written == size;
  }
  // Closes the file and hands it over: the caller renames or deletes it.
  std::wstring Release() {
    Close();
    kept_ = true;
    return temp_;
  }

 private:
  void Close() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(file_, INVALID_HANDLE_VALUE));
  }
  std::wstring target_, temp_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool kept_ = false;
};

std::string ToSystemCodePage(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

class THTTPGetThread : public TThread {
 public:
  explicit THTTPGetThread(std::shared_ptr<THTTPGet::TLink> link) : TThread(true), link_(std::move(link)) {
    FreeOnTerminate = true;
  }

 protected:
  void Execute() override {
    THttpOutcome outcome;
    Transfer(outcome);
    // Checked last, so an abort during the final read still fails.
    outcome.Stopped = outcome.Stopped || link_->Stop;
    link_->Success = HttpTransferSucceeded(outcome);
    link_->Size = outcome.Received;
    if (link_->Success && partial_) link_->TempFile = partial_->Release();
    partial_.reset();
  }

 private:
  bool Stopped(THttpOutcome& o) { return o.Stopped = o.Stopped || link_->Stop; }

  void Transfer(THttpOutcome& o) {
    const auto& s = link_->Settings;
    const THttpTarget target = SplitHttpUrl(s.URL);
    if (Stopped(o)) return;
    const DWORD access = !s.Proxy.empty()           ? INTERNET_OPEN_TYPE_PROXY
                         : s.UseWinProxySettings ? INTERNET_OPEN_TYPE_PRECONFIG
                                                   : INTERNET_OPEN_TYPE_DIRECT;
    TInternetHandle session(InternetOpenW(OrNull(s.Agent), access, OrNull(s.Proxy), nullptr, 0));
    if (!session || target.Host.empty()) return;
    TInternetHandle connection(InternetConnectW(session.get(), target.Host.c_str(), INTERNET_DEFAULT_HTTP_PORT,
                                                OrNull(s.UserName), OrNull(s.Password), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return;
    const wchar_t* accept[] = {s.AcceptTypes.c_str(), nullptr};
    const bool post = !s.PostBody.empty();
    TInternetHandle request(HttpOpenRequestW(connection.get(), post ? L"POST" : L"GET", target.Path.c_str(),
                                             L"HTTP/1.0", OrNull(s.Referer), accept,
                                             s.UseCache ? 0 : INTERNET_FLAG_RELOAD, 0));
    if (!request) return;
    static const wchar_t form[] = L"Content-Type: application/x-www-form-urlencoded";
    const BOOL sent =
        post ? HttpSendRequestW(request.get(), form, static_cast<DWORD>(wcslen(form)),
                                const_cast<char*>(s.PostBody.data()), static_cast<DWORD>(s.PostBody.size()))
             : HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0);
    if (!sent || Stopped(o)) return;

    DWORD status = 0, statusSize = sizeof(status);
    if (HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize,
                       nullptr))
      o.Status = status;
    char length[1024] = {};
    DWORD lengthSize = sizeof(length) - 1;
    const bool hasLength = HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH, length, &lengthSize, nullptr);
    if (Stopped(o)) return;
    if (hasLength) {
      o.Length = ParseContentLength(std::string(length, lengthSize));
      if (!o.Length) return o.ReadFailed = true, void();
    } else if (s.BinaryData) {
      return;
    }
    if (o.Status < 200 || o.Status > 299) return;  // an error page is not worth reading
    if (s.ToFile) {
      partial_ = std::make_unique<TPartialFile>(s.FileName);
      if (!partial_->Ok()) return o.ReadFailed = true, void();
    }
    const int total = o.Length ? static_cast<int>(*o.Length) : 0;
    std::vector<char> block(32769);
    for (;;) {
      if (Stopped(o)) return;
      DWORD read = 0;
      if (!InternetReadFile(request.get(), block.data(), static_cast<DWORD>(block.size()), &read))
        return o.ReadFailed = true, void();
      if (read == 0) break;
      if (partial_) {
        if (!partial_->Write(block.data(), read)) return o.ReadFailed = true, void();
      } else {
        link_->Body.append(block.data(), read);
      }
      o.Received += read;
      const int readed = static_cast<int>(o.Received);
      auto link = link_;
      Synchronize([link, total, readed, this] {
        if (link->Owner && link->Owner->OnProgress) link->Owner->OnProgress(this, total, readed);
      });
    }
  }

  std::shared_ptr<THTTPGet::TLink> link_;
  std::unique_ptr<TPartialFile> partial_;
};

// Sleeps until a message arrives, then handles what is waiting.
void WaitForMessages() {
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (Application) {
    Application->ProcessMessages();
    return;
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

THTTPGet::THTTPGet(TComponent* AOwner) : TComponent(AOwner) {}

THTTPGet::~THTTPGet() {
  if (FLink) {
    FLink->Stop = true;
    FLink->Owner = nullptr;
    FLink->Ended = true;
  }
}

void THTTPGet::Publish(TPublisher<THTTPGet>& p) {
  p.Property(L"AcceptTypes", &THTTPGet::AcceptTypes);
  p.Property(L"Agent", &THTTPGet::Agent);
  p.Property(L"BinaryData", &THTTPGet::BinaryData).Default(false);
  p.Property(L"URL", &THTTPGet::URL);
  p.Property(L"UseCache", &THTTPGet::UseCache).Default(false);
  p.Property(L"FileName", &THTTPGet::FileName);
  p.Property(L"UserName", &THTTPGet::UserName);
  p.Property(L"Password", &THTTPGet::Password);
  p.Property(L"PostQuery", &THTTPGet::PostQuery);
  p.Property(L"Referer", &THTTPGet::Referer);
  p.Property(L"Proxy", &THTTPGet::Proxy);
  p.Property(L"UseWinProxySettings", &THTTPGet::UseWinProxySettings).Default(false);
  p.Property(L"WaitThread", &THTTPGet::WaitThread).Default(false);
  p.Property(L"OnProgress", &THTTPGet::OnProgress);
  p.Property(L"OnDoneFile", &THTTPGet::OnDoneFile);
  p.Property(L"OnDoneString", &THTTPGet::OnDoneString);
  p.Property(L"OnError", &THTTPGet::OnError);
}

void THTTPGet::GetFile() { Start(true); }
void THTTPGet::GetString() { Start(false); }

void THTTPGet::Abort() {
  if (FLink) FLink->Stop = true;
}

void THTTPGet::Start(bool toFile) {
  if (FLink) return;
  auto link = std::make_shared<TLink>();
  link->Owner = this;
  link->Settings = {AcceptTypes, Agent,    URL,      FileName, UserName, Password, Referer,
                    Proxy,       ToSystemCodePage(PostQuery), BinaryData, UseWinProxySettings, UseCache, toFile};
  auto* worker = new THTTPGetThread(link);
  worker->OnTerminate = [link](TObject*) {
    if (link->Owner) link->Owner->Done(*link);
    link->Commit(false);  // the component went first: nothing is put in place
    link->Ended = true;
  };
  FLink = link;
  worker->Resume();
  if (!WaitThread) return;
  // The component may go inside an event: only the shared link is read here.
  while (!link->Ended) WaitForMessages();
}

void THTTPGet::Done(TLink& link) {
  FLink.reset();
  link.Owner = nullptr;
  // An abort that came after the worker's last check still wins.
  bool success = link.Success && !link.Stop;
  if (success && link.Settings.ToFile) success = link.Commit(true);
  if (!success) {
    if (OnError) OnError(this);
  } else if (link.Settings.ToFile) {
    if (OnDoneFile) OnDoneFile(this, link.Settings.FileName, static_cast<int>(link.Size));
  } else if (OnDoneString) {
    OnDoneString(this, link.Body);
  }
}

QORN_REGISTER_CLASS(THTTPGet);
