#include "controls/extended/VyShellFormats.h"

#include <cstring>

#include "controls/extended/VyShellIdList.h"
#include "vcl/Exceptions.h"

namespace Vy {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

const std::uint8_t kEmptyList[2] = {0, 0};

}  // namespace

std::vector<std::uint8_t> EncodeLocator(std::uint8_t kind, std::uint8_t specialFolder, const void* idList) {
  std::vector<std::uint8_t> out{kind};
  if (kind != 0) {
    out.push_back(specialFolder);
    return out;
  }
  const std::size_t size = IdListSize(idList);
  out.resize(5 + size);
  Put32(out, 1, static_cast<std::uint32_t>(size));
  if (size) std::memcpy(out.data() + 5, idList, size);
  return out;
}

TLocatorData DecodeLocator(const std::vector<std::uint8_t>& data) {
  if (data.empty()) throw EReadError(L"Stream read error");
  TLocatorData out;
  out.Kind = data[0];
  if (out.Kind != 0) {
    if (data.size() < 2) throw EReadError(L"Stream read error");
    if (data.size() > 2) throw EReadError(L"Invalid folder location data");
    out.Kind = 1;
    out.SpecialFolder = data[1];
    return out;
  }
  if (data.size() < 5) throw EReadError(L"Stream read error");
  const std::uint32_t size = Get32(data.data() + 1);
  if (size == 0) {
    if (data.size() != 5) throw EReadError(L"Invalid folder location data");
    out.Kind = 1;
    return out;
  }
  if (size > kMaxIdListBytes) throw EReadError(L"Invalid folder location data");
  if (data.size() - 5 < size) throw EReadError(L"Stream read error");
  const auto walked = CheckedIdListSize(data.data() + 5, size);
  if (!walked || *walked != size || data.size() - 5 != size) throw EReadError(L"Invalid folder location data");
  out.IdList.assign(data.begin() + 5, data.end());
  return out;
}

std::vector<std::uint8_t> BuildIdListArray(const void* parent, const std::vector<const void*>& items) {
  std::vector<const void*> lists{parent ? parent : kEmptyList};
  for (const void* item : items) lists.push_back(item ? item : kEmptyList);
  std::size_t at = 4 + 4 * lists.size();
  std::size_t total = at;
  for (const void* list : lists) total += IdListSize(list);
  std::vector<std::uint8_t> out(total, 0);
  Put32(out, 0, static_cast<std::uint32_t>(items.size()));
  for (std::size_t i = 0; i < lists.size(); ++i) {
    Put32(out, 4 + 4 * i, static_cast<std::uint32_t>(at));
    const std::size_t size = IdListSize(lists[i]);
    std::memcpy(out.data() + at, lists[i], size);
    at += size;
  }
  return out;
}

bool ParseIdListArray(const std::uint8_t* data, std::size_t size, TIdListArrayView& out) {
  out = {};
  if (!data || size < 8) return false;
  const std::uint32_t count = Get32(data);
  // n + 1 offsets after the count, each list at least its terminator.
  if (count > (size - 4) / 4 - 1) return false;
  const std::size_t offsetsEnd = 4 + 4 * (static_cast<std::size_t>(count) + 1);
  TIdListArrayView view;
  for (std::uint32_t i = 0; i <= count; ++i) {
    const std::uint32_t offset = Get32(data + 4 + 4 * i);
    if (offset < offsetsEnd || offset >= size || !CheckedIdListSize(data + offset, size - offset)) return false;
    (i == 0 ? view.Parent : view.Items.emplace_back()) = data + offset;
  }
  out = std::move(view);
  return true;
}

std::vector<std::uint8_t> BuildDropFiles(const std::vector<std::u16string>& names) {
  std::size_t units = 1;
  for (const auto& name : names) units += name.size() + 1;
  std::vector<std::uint8_t> out(kDropFilesHeaderBytes + 2 * units, 0);
  Put32(out, 0, kDropFilesHeaderBytes);  // then the point (0, 0) and the non-client flag 0
  Put32(out, 16, 1);                     // wide names
  std::size_t at = kDropFilesHeaderBytes;
  for (const auto& name : names) {
    for (char16_t c : name) {
      out[at++] = static_cast<std::uint8_t>(c);
      out[at++] = static_cast<std::uint8_t>(c >> 8);
    }
    at += 2;
  }
  return out;
}

}  // namespace Vy
