// Exceptions of the class library, with the platform's fixed messages.
//
// Messages are UI text (`Message()`); `what()` gives the same text in UTF-8 for
// code that only knows std::exception. Throw them by value, catch by reference:
//   throw EConvertError(L"'" + s + L"' is not a valid integer value");
//   throw EListError(SListIndexError, {index});   // formats the message
#pragma once
#include <cstdint>
#include <exception>
#include <string>

#include "vcl/Format.h"
#include "vcl/System.h"

class Exception : public std::exception {
 public:
  explicit Exception(String message);
  // The CreateFmt form: the message is Format(format, args).
  Exception(const String& format, TVarRecs args);
  ~Exception() override = default;

  const String& Message() const { return message_; }
  void SetMessage(String message);
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  String message_;
  std::string what_;
};

#define VCL_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {              \
   public:                                \
    using Base::Base;                     \
  }

VCL_DECLARE_EXCEPTION(EConvertError, Exception);
VCL_DECLARE_EXCEPTION(ERangeError, Exception);
VCL_DECLARE_EXCEPTION(EListError, Exception);
VCL_DECLARE_EXCEPTION(EStringListError, Exception);
VCL_DECLARE_EXCEPTION(EOutOfResources, Exception);
VCL_DECLARE_EXCEPTION(EStreamError, Exception);
VCL_DECLARE_EXCEPTION(EFilerError, EStreamError);
VCL_DECLARE_EXCEPTION(EReadError, EFilerError);
VCL_DECLARE_EXCEPTION(EWriteError, EFilerError);
VCL_DECLARE_EXCEPTION(EFOpenError, EStreamError);
VCL_DECLARE_EXCEPTION(EFCreateError, EStreamError);
VCL_DECLARE_EXCEPTION(EResNotFound, Exception);
VCL_DECLARE_EXCEPTION(ERegistryException, Exception);

// Silent: the window-procedure boundary swallows it without a message.
class EAbort : public Exception {
 public:
  EAbort() : Exception(L"Operation aborted") {}
  using Exception::Exception;
};
[[noreturn]] void Abort();

// A failed system call, with its error code.
class EOSError : public Exception {
 public:
  EOSError(String message, std::uint32_t errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
  std::uint32_t ErrorCode;
};

// The system's text for an error code (FormatMessage on Windows, strerror natively).
String SysErrorMessage(std::uint32_t errorCode);
// The last error of this thread (GetLastError on Windows, errno natively).
std::uint32_t GetLastOSError();
// Raises EOSError "System Error.  Code: N.\r\n<text>" for the code, or for the
// last error when none is given.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(std::uint32_t errorCode);

// The fixed messages, as format strings.
inline constexpr const wchar_t* SListIndexError = L"List index out of bounds (%d)";
inline constexpr const wchar_t* SDuplicateString = L"String list does not allow duplicates";
inline constexpr const wchar_t* SSortedListError = L"Operation not allowed on sorted list";
inline constexpr const wchar_t* SListCapacityError = L"List capacity out of bounds (%d)";
inline constexpr const wchar_t* SInvalidInteger = L"'%s' is not a valid integer value";
inline constexpr const wchar_t* SInvalidDate = L"'%s' is not a valid date";
inline constexpr const wchar_t* SInvalidTime = L"'%s' is not a valid time";
inline constexpr const wchar_t* SDateEncodeError = L"Invalid argument to date encode";
inline constexpr const wchar_t* STimeEncodeError = L"Invalid argument to time encode";
inline constexpr const wchar_t* SInvalidFormat = L"Format '%s' invalid or incompatible with argument";
inline constexpr const wchar_t* SArgumentMissing = L"No argument for format '%s'";
inline constexpr const wchar_t* SRangeError = L"Range check error";
inline constexpr const wchar_t* SOutOfResources = L"Out of system resources";
inline constexpr const wchar_t* SOSError = L"System Error.  Code: %d.\r\n%s";
inline constexpr const wchar_t* SFOpenError = L"Cannot open file \"%s\". %s";
inline constexpr const wchar_t* SFCreateError = L"Cannot create file \"%s\". %s";
inline constexpr const wchar_t* SReadError = L"Stream read error";
inline constexpr const wchar_t* SWriteError = L"Stream write error";
inline constexpr const wchar_t* SResNotFound = L"Resource %s not found";
inline constexpr const wchar_t* SMemoryStreamError = L"Out of memory while expanding memory stream";
