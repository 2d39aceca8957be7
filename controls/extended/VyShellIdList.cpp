#include "controls/extended/VyShellIdList.h"

#include <algorithm>
#include <cstring>

namespace Vy {

namespace {

std::uint16_t CountAt(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

const std::uint8_t* Bytes(const void* list) { return static_cast<const std::uint8_t*>(list); }

}  // namespace

std::size_t IdListSize(const void* list) {
  if (!list) return 0;
  return IdListPrefixBytes(list, INT32_MAX) + 2;
}

int IdListItemCount(const void* list) {
  int count = 0;
  for (const std::uint8_t* p = Bytes(list); p && CountAt(p) != 0; p += CountAt(p)) ++count;
  return count;
}

std::size_t IdListPrefixBytes(const void* list, int count) {
  std::size_t bytes = 0;
  const std::uint8_t* p = Bytes(list);
  for (int i = 0; p && i < count && CountAt(p) != 0; ++i) {
    bytes += CountAt(p);
    p += CountAt(p);
  }
  return bytes;
}

const std::uint8_t* IdListItemAt(const void* list, int index) {
  if (!list || index < 0) return nullptr;
  const std::uint8_t* p = Bytes(list);
  for (int i = 0; i < index && CountAt(p) != 0; ++i) p += CountAt(p);
  return CountAt(p) != 0 ? p : nullptr;
}

int CompareIdListBytes(const void* a, const void* b) {
  const std::size_t sizeA = IdListSize(a), sizeB = IdListSize(b);
  const std::size_t common = std::min(sizeA, sizeB);
  if (common > 0) {
    const int bytes = std::memcmp(a, b, common);
    if (bytes != 0) return bytes < 0 ? -1 : 1;
  }
  return sizeA < sizeB ? -1 : sizeA > sizeB ? 1 : 0;
}

std::optional<std::size_t> CheckedIdListSize(const std::uint8_t* data, std::size_t available) {
  if (!data) return std::nullopt;
  const std::size_t limit = std::min(available, kMaxIdListBytes);
  std::size_t at = 0;
  while (at + 2 <= limit) {
    const std::uint16_t cb = CountAt(data + at);
    if (cb == 0) return at + 2;
    if (cb < 2 || cb > limit - at) return std::nullopt;
    at += cb;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> JoinIdListBytes(const void* list, int count, const void* tail) {
  const std::size_t head = IdListPrefixBytes(list, count);
  const std::size_t rest = IdListPrefixBytes(tail, INT32_MAX);
  std::vector<std::uint8_t> out(head + rest + 2, 0);
  if (head) std::memcpy(out.data(), list, head);
  if (rest) std::memcpy(out.data() + head, tail, rest);
  return out;
}

}  // namespace Vy
