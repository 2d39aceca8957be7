// Streams of bytes: files, memory and resources, read and written through one
// interface. Read and Write move as many bytes as they can and say how many;
// ReadBuffer and WriteBuffer move all or raise EReadError / EWriteError.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "vcl/System.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // The new position; positions past the end are allowed (a write there extends).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size) = 0;
  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }

  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // Copies count bytes from source's position (0: all of source, from its start);
  // returns the bytes copied.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// File open modes: one access mode, optionally or'ed with one sharing mode.
// fmCreate creates the file (or empties an existing one) for reading and writing.
enum : unsigned {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,  // writes without truncating what is there
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
 public:
  // Raises EFOpenError / EFCreateError with the system's reason.
  TFileStream(const String& fileName, unsigned mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;
  const String& FileName() const { return fileName_; }

 private:
  String fileName_;
  std::intptr_t handle_;  // a HANDLE on Windows, a file descriptor natively
};

// A stream over bytes in memory that it does not necessarily own.
class TCustomMemoryStream : public TStream {
 public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return size_; }
  const void* Memory() const { return memory_; }
  void SaveToStream(TStream& stream);
  void SaveToFile(const String& fileName);

 protected:
  void SetPointer(const void* memory, std::int64_t size) {
    memory_ = memory;
    size_ = size;
  }
  std::int64_t position_ = 0;

 private:
  const void* memory_ = nullptr;
  std::int64_t size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  void SetSize(std::int64_t size) override;
  void* Memory() { return bytes_.data(); }
  void Clear();
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);

 private:
  std::vector<std::uint8_t> bytes_;
};

#ifdef _WIN32
// The bytes of a resource of the module (`instance` is its HINSTANCE); read only.
// Raises EResNotFound "Resource NAME not found".
class TResourceStream : public TCustomMemoryStream {
 public:
  // resName and resType may be integer ids (MAKEINTRESOURCE).
  TResourceStream(void* instance, const wchar_t* resName, const wchar_t* resType);
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  void SetSize(std::int64_t size) override;
};
#endif
