#include "vcl/Streams.h"

#include <algorithm>
#include <cstring>

#include "vcl/Exceptions.h"

std::int64_t TStream::Size() {
  const std::int64_t here = Seek(0, soCurrent);
  const std::int64_t end = Seek(0, soEnd);
  Seek(here, soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError(SWriteError);
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(std::min<std::int64_t>(count, 64 * 1024)));
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

std::int64_t TCustomMemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const std::int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, static_cast<const std::uint8_t*>(memory_) + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == soBeginning ? 0 : (origin == soCurrent ? position_ : size_);
  const std::int64_t p = base + offset;
  if (p >= 0) position_ = p;  // a position before the start is refused, the stream stays
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(memory_, size_); }

void TCustomMemoryStream::SaveToFile(const String& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = position_ + count;
  if (end > Size()) SetSize(end);
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0) size = 0;
  try {
    bytes_.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EStreamError(SMemoryStreamError);
  }
  SetPointer(bytes_.data(), size);
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  bytes_.clear();
  SetPointer(nullptr, 0);
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const std::int64_t n = stream.Size();
  SetSize(n);
  if (n) stream.ReadBuffer(bytes_.data(), n);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}
