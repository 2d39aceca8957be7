#include "vcl/StringList.h"

#include <algorithm>

#include "vcl/Filer.h"
#include "vcl/SysUtils.h"

// ---- TStrings -----------------------------------------------------------------

void TStrings::Error(const wchar_t* message, int data) { throw EStringListError(message, {data}); }

void TStrings::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) Error(SListIndexError, index);
}

void TStrings::Put(int index, const String& s) {
  void* object = GetObject(index);
  BeginUpdate();
  Delete(index);
  InsertObject(index, s, object);
  EndUpdate();
}

void* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, void*) {}

void TStrings::InsertObject(int index, const String& s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::Add(const String& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const String& s, void* object) {
  const int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TStrings*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;
  BeginUpdate();
  Clear();
  AddStrings(*source);
  EndUpdate();
}

int TStrings::CompareStrings(const String& a, const String& b) const { return AnsiCompareText(a, b); }

int TStrings::IndexOf(const String& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const void* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

int TStrings::IndexOfName(const String& name) const {
  for (int i = 0; i < Count(); ++i) {
    const String line = Get(i);
    const auto eq = line.find(L'=');
    if (eq != String::npos && CompareStrings(line.substr(0, eq), name) == 0) return i;
  }
  return -1;
}

String TStrings::Names(int index) const {
  const String line = Get(index);
  const auto eq = line.find(L'=');
  return eq == String::npos ? String() : line.substr(0, eq);
}

String TStrings::Values(const String& name) const {
  const int i = IndexOfName(name);
  if (i < 0) return {};
  const String line = Get(i);
  return line.substr(line.find(L'=') + 1);
}

void TStrings::SetValues(const String& name, const String& value) {
  const int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(name + L"=" + value);
  } else {
    Put(i, name + L"=" + value);
  }
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex, Count());
  CheckIndex(newIndex, Count());
  BeginUpdate();
  const String s = Get(curIndex);
  void* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
  EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  BeginUpdate();
  const String s1 = Get(index1);
  void* o1 = GetObject(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, s1);
  PutObject(index2, o1);
  EndUpdate();
}

String TStrings::Text() const {
  String out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += L"\r\n";
  }
  return out;
}

void TStrings::SetText(const String& text) {
  BeginUpdate();
  Clear();
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    std::size_t e = i;
    while (e < n && text[e] != L'\r' && text[e] != L'\n') ++e;
    Add(text.substr(i, e - i));
    if (e < n && text[e] == L'\r') ++e;
    if (e < n && text[e] == L'\n') ++e;
    i = e;
  }
  EndUpdate();
}

namespace {
bool NeedsQuotes(const String& s) {
  for (wchar_t c : s)
    if (static_cast<std::uint32_t>(c) <= L' ' || c == L'"' || c == L',') return true;
  return false;
}
bool IsBlank(wchar_t c) { return c != 0 && static_cast<std::uint32_t>(c) <= L' '; }
}  // namespace

String TStrings::CommaText() const {
  const int n = Count();
  if (n == 1 && Get(0).empty()) return L"\"\"";
  String out;
  for (int i = 0; i < n; ++i) {
    if (i) out.push_back(L',');
    const String s = Get(i);
    out += NeedsQuotes(s) ? AnsiQuotedStr(s, L'"') : s;
  }
  return out;
}

void TStrings::SetCommaText(const String& text) {
  BeginUpdate();
  Clear();
  std::size_t p = 0;
  const std::size_t n = text.size();
  while (p < n && IsBlank(text[p])) ++p;
  while (p < n) {
    String s;
    if (text[p] == L'"') {
      // A quoted item ends at the first single quote; a doubled one stands for one.
      ++p;
      while (p < n) {
        if (text[p] == L'"') {
          if (p + 1 < n && text[p + 1] == L'"') {
            s.push_back(L'"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        s.push_back(text[p++]);
      }
    } else {
      const std::size_t b = p;
      while (p < n && !IsBlank(text[p]) && text[p] != L',' && text[p] != 0) ++p;
      s = text.substr(b, p - b);
    }
    Add(s);
    while (p < n && IsBlank(text[p])) ++p;
    if (p < n && text[p] == L',') {
      if (p + 1 == n) Add(String());  // a trailing comma ends with an empty item
      do {
        ++p;
      } while (p < n && IsBlank(text[p]));
    }
    if (p < n && text[p] == 0) ++p;  // a stray NUL must not stop the loop
  }
  EndUpdate();
}

namespace {
String DecodeText(const std::string& bytes, TTextEncoding& encoding) {
  auto starts = [&](std::string_view bom) { return bytes.compare(0, bom.size(), bom) == 0; };
  auto utf16 = [&](bool bigEndian) {
    String out;
    out.reserve(bytes.size() / 2);
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]);
      const auto b = static_cast<unsigned char>(bytes[i + 1]);
      units.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
    }
    if constexpr (sizeof(wchar_t) == 2) {
      out.assign(units.begin(), units.end());
    } else {
      // Pair surrogates into the 32-bit characters of the native build.
      for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
          c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        out.push_back(static_cast<wchar_t>(c));
      }
    }
    return out;
  };
  if (starts("\xEF\xBB\xBF")) {
    encoding = TTextEncoding::Utf8;
    return Utf8ToString(std::string_view(bytes).substr(3));
  }
  if (starts("\xFF\xFE")) {
    encoding = TTextEncoding::Utf16LE;
    return utf16(false);
  }
  if (starts("\xFE\xFF")) {
    encoding = TTextEncoding::Utf16BE;
    return utf16(true);
  }
  encoding = TTextEncoding::Ansi;
  return AnsiToString(bytes);
}

std::string EncodeText(const String& text, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf8:
      return "\xEF\xBB\xBF" + StringToUtf8(text);
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
      const bool be = encoding == TTextEncoding::Utf16BE;
      std::string out = be ? "\xFE\xFF" : "\xFF\xFE";
      auto put = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out.push_back(be ? hi : lo);
        out.push_back(be ? lo : hi);
      };
      for (wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        if (cp >= 0x10000) {
          put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
          put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
          put(static_cast<char16_t>(cp));
        }
      }
      return out;
    }
    case TTextEncoding::Ansi:
      break;
  }
  return StringToAnsi(text);
}
}  // namespace

void TStrings::LoadFromStream(TStream& stream) {
  const std::int64_t size = stream.Size() - stream.Position();
  std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
  if (!bytes.empty()) bytes.resize(static_cast<std::size_t>(stream.Read(bytes.data(), size)));
  TTextEncoding encoding;
  const String text = DecodeText(bytes, encoding);
  encoding_ = encoding;
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string bytes = EncodeText(Text(), encoding_);
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStrings::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const String& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TStrings::DefineProperties(TFiler& Filer) {
  TPersistent::DefineProperties(Filer);
  Filer.DefineProperty(
      L"Strings",
      [this](TReader& Reader) {
        BeginUpdate();
        Clear();
        Reader.ReadListBegin();
        while (!Reader.EndOfList()) Add(Reader.ReadString());
        Reader.ReadListEnd();
        EndUpdate();
      },
      [this](TWriter& Writer) {
        Writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i) Writer.WriteString(Get(i));
        Writer.WriteListEnd();
      },
      Count() > 0);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList --------------------------------------------------------------

TStringList::~TStringList() {
  // No change events from a list being destroyed.
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::LineChanged(TLineChange kind, int index) {
  if (OnLineChange) OnLineChange(kind, index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  // The outermost BeginUpdate/EndUpdate pair reports once, as one change. The
  // count is already 1 (at Begin) or 0 (at End) here, so call the events directly.
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

int TStringList::CompareStrings(const String& a, const String& b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

String TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<std::size_t>(index)].text;
}

void* TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::Put(int index, const String& s) {
  if (sorted_) Error(SSortedListError, 0);
  CheckIndex(index, Count());
  Changing();
  items_[static_cast<std::size_t>(index)].text = s;
  LineChanged(TLineChange::Put, index);
  Changed();
}

void TStringList::PutObject(int index, void* object) {
  CheckIndex(index, Count());
  Changing();
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

void TStringList::InsertItem(int index, const String& s, void* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  LineChanged(TLineChange::Insert, index);
  Changed();
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, void* object) {
  if (sorted_) Error(SSortedListError, 0);
  if (index < 0 || index > Count()) Error(SListIndexError, index);
  InsertItem(index, s, object);
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, void* object) {
  int index;
  if (!sorted_) {
    index = Count();
  } else if (Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) Error(SDuplicateString, 0);
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Changing();
  items_.erase(items_.begin() + index);
  LineChanged(TLineChange::Delete, index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  LineChanged(TLineChange::Clear, -1);
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  LineChanged(TLineChange::Put, index1);
  LineChanged(TLineChange::Put, index2);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  // Refused before anything moves: a sorted list would lose the line half-way.
  if (sorted_ && curIndex != newIndex) Error(SSortedListError, 0);
  CheckIndex(curIndex, Count());
  CheckIndex(newIndex, Count());
  if (curIndex == newIndex) return;
  Changing();
  Item item = std::move(items_[static_cast<std::size_t>(curIndex)]);
  items_.erase(items_.begin() + curIndex);
  LineChanged(TLineChange::Delete, curIndex);
  items_.insert(items_.begin() + newIndex, std::move(item));
  LineChanged(TLineChange::Insert, newIndex);
  Changed();
}

bool TStringList::Find(const String& s, int& index) const {
  if (!sorted_) {
    index = TStrings::IndexOf(s);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = CompareStrings(items_[static_cast<std::size_t>(mid)].text, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;  // go on to the left: the first equal line
    }
  }
  index = lo;
  return found;
}

int TStringList::IndexOf(const String& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
  if (items_.size() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
  LineChanged(TLineChange::Reset, -1);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive_ == caseSensitive) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) Sort();
}
