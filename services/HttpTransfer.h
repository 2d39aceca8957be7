// The rules of one HTTP download, apart from the sockets: where a URL goes and when
// a transfer counts as done.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct THttpTarget {
  std::wstring Host;  // empty when the URL has no "/"
  std::wstring Path;  // from the first "/" on; the whole text without one
};

// "http://" (any case) is dropped; the host is the text before the first "/".
// The port is always 80: a URL never names one.
THttpTarget SplitHttpUrl(const std::wstring& url);

// A Content-Length header value: a decimal number of bytes, nothing else.
std::optional<std::uint64_t> ParseContentLength(const std::string& text);

struct THttpOutcome {
  unsigned Status = 0;                   // the response's status code
  std::optional<std::uint64_t> Length;   // the declared length, when there was one
  std::uint64_t Received = 0;            // bytes of body read
  bool ReadFailed = false;               // a read or a write of the body failed
  bool Stopped = false;                  // aborted, or the component went
};

// Only a 2xx response with a body, all of it when its length was declared, read
// without a failure and not aborted, is a success: an error page, a cut body and
// an aborted transfer all fail.
bool HttpTransferSucceeded(const THttpOutcome& outcome);
