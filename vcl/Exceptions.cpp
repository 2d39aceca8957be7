#include "vcl/Exceptions.h"

#include <cerrno>
#include <cstring>

Exception::Exception(String message) : message_(std::move(message)), what_(StringToUtf8(message_)) {}

Exception::Exception(const String& format, TVarRecs args) : Exception(Format(format, args)) {}

void Exception::SetMessage(String message) {
  message_ = std::move(message);
  what_ = StringToUtf8(message_);
}

void Abort() { throw EAbort(); }

void RaiseLastOSError() { RaiseLastOSError(GetLastOSError()); }

void RaiseLastOSError(std::uint32_t errorCode) {
  throw EOSError(Format(SOSError, {errorCode, SysErrorMessage(errorCode)}), errorCode);
}

#ifndef _WIN32
String SysErrorMessage(std::uint32_t errorCode) {
  return AnsiToString(std::strerror(static_cast<int>(errorCode)));
}
std::uint32_t GetLastOSError() { return static_cast<std::uint32_t>(errno); }
#endif
