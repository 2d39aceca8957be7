#include "services/ProgramFile.h"

#include <cstdint>
#include <cstring>

namespace {

// Bounds-checked little-endian reads over a file's bytes.
struct Bytes {
  std::string_view b;
  bool has(std::size_t off, std::size_t n) const { return off <= b.size() && n <= b.size() - off; }
  std::optional<std::uint32_t> u16(std::size_t off) const {
    if (!has(off, 2)) return std::nullopt;
    return static_cast<std::uint8_t>(b[off]) | static_cast<std::uint8_t>(b[off + 1]) << 8;
  }
  std::optional<std::uint32_t> u32(std::size_t off) const {
    auto lo = u16(off), hi = u16(off + 2);
    if (!lo || !hi) return std::nullopt;
    return *lo | *hi << 16;
  }
};

// One node of a version resource: key, value and children, 4-byte aligned.
struct VersionNode {
  std::u16string key;
  std::size_t valueOff = 0, valueLen = 0;  // bytes
  bool text = false;
  std::size_t childrenOff = 0, end = 0;
};

// Version resource keys compare as Windows compares them: without regard to case.
bool SameKey(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::size_t Align4(std::size_t off, std::size_t base) { return base + ((off - base + 3) & ~std::size_t(3)); }

std::optional<VersionNode> ReadNode(const Bytes& f, std::size_t off, std::size_t limit, std::size_t base) {
  auto len = f.u16(off), valueLen = f.u16(off + 2), type = f.u16(off + 4);
  if (!len || !valueLen || !type || *len < 6 || off + *len > limit) return std::nullopt;
  VersionNode n;
  n.end = off + *len;
  std::size_t p = off + 6;
  for (;;) {
    auto c = f.u16(p);
    if (!c || p + 2 > n.end) return std::nullopt;
    p += 2;
    if (*c == 0) break;
    n.key += static_cast<char16_t>(*c);
  }
  p = Align4(p, base);
  n.text = *type == 1;
  n.valueLen = n.text ? std::size_t(*valueLen) * 2 : *valueLen;
  if (p > n.end || n.valueLen > n.end - p) n.valueLen = p > n.end ? 0 : n.end - p;
  n.valueOff = p;
  n.childrenOff = Align4(p + n.valueLen, base);
  return n;
}

template <class F>
void ForEachChild(const Bytes& f, const VersionNode& parent, std::size_t base, F&& visit) {
  std::size_t p = parent.childrenOff;
  while (p + 6 <= parent.end) {
    auto child = ReadNode(f, p, parent.end, base);
    if (!child) return;
    if (!visit(*child)) return;
    const std::size_t next = Align4(child->end, base);
    if (next <= p) return;
    p = next;
  }
}

std::u16string TextOf(const Bytes& f, const VersionNode& n) {
  std::u16string s;
  for (std::size_t p = n.valueOff; p + 2 <= n.valueOff + n.valueLen; p += 2) {
    auto c = f.u16(p);
    if (!c || *c == 0) break;
    s += static_cast<char16_t>(*c);
  }
  return s;
}

std::optional<std::u16string> DescriptionFromVersionResource(const Bytes& f, std::size_t off, std::size_t size) {
  if (!f.has(off, size)) return std::nullopt;
  auto root = ReadNode(f, off, off + size, off);
  if (!root) return std::nullopt;
  std::optional<std::u16string> table;  // "040904b0" of the first translation
  ForEachChild(f, *root, off, [&](const VersionNode& n) {
    if (n.key != u"VarFileInfo") return true;
    ForEachChild(f, n, off, [&](const VersionNode& var) {
      if (var.key != u"Translation" || var.valueLen < 4) return true;
      auto lang = f.u16(var.valueOff), cp = f.u16(var.valueOff + 2);
      if (lang && cp) {
        char buf[9];
        std::snprintf(buf, sizeof buf, "%.4x%.4x", *lang, *cp);
        table = std::u16string(buf, buf + 8);
      }
      return false;
    });
    return !table;
  });
  if (!table) return std::nullopt;
  std::optional<std::u16string> description, product;
  ForEachChild(f, *root, off, [&](const VersionNode& n) {
    if (n.key != u"StringFileInfo") return true;
    ForEachChild(f, n, off, [&](const VersionNode& t) {
      if (!SameKey(t.key, *table)) return true;
      ForEachChild(f, t, off, [&](const VersionNode& s) {
        if (s.key == u"FileDescription") description = TextOf(f, s);
        if (s.key == u"ProductName") product = TextOf(f, s);
        return true;
      });
      return false;
    });
    return false;
  });
  if (description && !description->empty()) return description;
  if (product && !product->empty()) return product;
  return std::nullopt;
}

std::optional<std::u16string> PeDescription(const Bytes& f, std::size_t pe) {
  const std::size_t coff = pe + 4;
  auto sections = f.u16(coff + 2), optSize = f.u16(coff + 16);
  if (!sections || !optSize) return std::nullopt;
  const std::size_t opt = coff + 20;
  auto magic = f.u16(opt);
  if (!magic) return std::nullopt;
  const bool plus = *magic == 0x20b;
  if (!plus && *magic != 0x10b) return std::nullopt;
  auto dirCount = f.u32(opt + (plus ? 108 : 92));
  if (!dirCount || *dirCount < 3) return std::nullopt;
  auto resRva = f.u32(opt + (plus ? 112 : 96) + 2 * 8);
  if (!resRva || *resRva == 0) return std::nullopt;

  const std::size_t secTable = opt + *optSize;
  auto rvaToOffset = [&](std::uint32_t rva) -> std::optional<std::size_t> {
    for (std::uint32_t i = 0; i < *sections && i < 96; ++i) {
      const std::size_t s = secTable + i * 40;
      auto vsize = f.u32(s + 8), va = f.u32(s + 12), rawSize = f.u32(s + 16), raw = f.u32(s + 20);
      if (!vsize || !va || !rawSize || !raw) return std::nullopt;
      const std::uint32_t span = std::max(*vsize, *rawSize);
      if (rva >= *va && rva - *va < span) return std::size_t(*raw) + (rva - *va);
    }
    return std::nullopt;
  };
  auto res = rvaToOffset(*resRva);
  if (!res) return std::nullopt;

  // Type RT_VERSION (16), then the first name and the first language.
  auto entryOf = [&](std::size_t dir, std::optional<std::uint32_t> wantId) -> std::optional<std::uint32_t> {
    auto named = f.u16(dir + 12), ids = f.u16(dir + 14);
    if (!named || !ids) return std::nullopt;
    for (std::uint32_t i = 0; i < *named + *ids && i < 4096; ++i) {
      const std::size_t e = dir + 16 + i * 8;
      auto name = f.u32(e), target = f.u32(e + 4);
      if (!name || !target) return std::nullopt;
      if (!wantId || (!(*name & 0x80000000u) && *name == *wantId)) return *target;
    }
    return std::nullopt;
  };
  std::size_t dir = *res;
  for (int level = 0; level < 3; ++level) {
    auto target = entryOf(dir, level == 0 ? std::optional<std::uint32_t>(16) : std::nullopt);
    if (!target) return std::nullopt;
    const bool subdir = *target & 0x80000000u;
    const std::size_t next = *res + (*target & 0x7FFFFFFFu);
    if (level < 2) {
      if (!subdir) return std::nullopt;
      dir = next;
    } else {
      if (subdir) return std::nullopt;
      auto dataRva = f.u32(next), dataSize = f.u32(next + 4);
      if (!dataRva || !dataSize) return std::nullopt;
      auto data = rvaToOffset(*dataRva);
      if (!data) return std::nullopt;
      return DescriptionFromVersionResource(f, *data, *dataSize);
    }
  }
  return std::nullopt;
}

std::optional<std::u16string> NeDescription(const Bytes& f, std::size_t ne) {
  auto table = f.u32(ne + 0x2C);  // the non-resident names: the first one is the description
  if (!table) return std::nullopt;
  if (!f.has(*table, 1)) return std::nullopt;
  const std::size_t len = static_cast<std::uint8_t>(f.b[*table]);
  if (len == 0 || !f.has(*table + 1, len)) return std::nullopt;
  std::u16string s;
  for (std::size_t i = 0; i < len; ++i) s += static_cast<char16_t>(static_cast<std::uint8_t>(f.b[*table + 1 + i]));
  return s;
}

}  // namespace

std::optional<std::u16string> ReadProgramDescription(std::string_view file) {
  const Bytes f{file};
  if (!f.has(0, 0x40) || file.substr(0, 2) != "MZ") return std::nullopt;
  auto lfanew = f.u32(0x3C);
  if (!lfanew || (*lfanew != 0 && *lfanew < 64)) return std::nullopt;
  if (!f.has(*lfanew, 4)) return std::nullopt;
  if (file.substr(*lfanew, 4) == std::string_view("PE\0\0", 4)) return PeDescription(f, *lfanew);
  if (file.substr(*lfanew, 2) == "NE") return NeDescription(f, *lfanew);
  return std::nullopt;
}

