#include "vcl/IniFiles.h"

#include <vector>

#include "vcl/SysUtils.h"
#include "vcl/Win.h"

namespace {

// Calls fill(buffer, size) with a growing buffer until the answer fits: the profile
// functions cut long answers silently, returning size - `cut` characters.
template <class Fill>
std::vector<wchar_t> Grow(Fill fill, DWORD cut) {
  std::vector<wchar_t> buf(2048);
  for (;;) {
    const DWORD n = fill(buf.data(), static_cast<DWORD>(buf.size()));
    if (n + cut < buf.size() || buf.size() >= (64u << 20)) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 4);
  }
}

// A list of zero-terminated strings, as the profile functions return names and lines.
void SplitZeros(const std::vector<wchar_t>& buf, TStrings& out) {
  out.BeginUpdate();
  out.Clear();
  std::size_t i = 0;
  while (i < buf.size()) {
    std::size_t e = i;
    while (e < buf.size() && buf[e]) ++e;
    if (e > i) out.Add(String(buf.data() + i, e - i));
    i = e + 1;
  }
  out.EndUpdate();
}

}  // namespace

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const {
  const auto buf = Grow(
      [&](wchar_t* b, DWORD n) {
        return GetPrivateProfileStringW(Section.c_str(), Ident.c_str(), Default.c_str(), b, n, FFileName.c_str());
      },
      1);
  return String(buf.begin(), buf.end());
}

int TIniFile::ReadInteger(const String& Section, const String& Ident, int Default) const {
  return StrToIntDef(ReadString(Section, Ident, L""), Default);
}

bool TIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  if (!WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), Value.c_str(), FFileName.c_str()))
    throw EIniFileException(L"Unable to write to %s", {FFileName});
}

void TIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

void TIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? L"1" : L"0");
}

void TIniFile::ReadSection(const String& Section, TStrings& Strings) const {
  const auto buf = Grow(
      [&](wchar_t* b, DWORD n) {
        return GetPrivateProfileStringW(Section.c_str(), nullptr, L"", b, n, FFileName.c_str());
      },
      2);
  SplitZeros(buf, Strings);
}

void TIniFile::ReadSectionValues(const String& Section, TStrings& Strings) const {
  const auto buf = Grow(
      [&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionW(Section.c_str(), b, n, FFileName.c_str()); }, 2);
  SplitZeros(buf, Strings);
}

void TIniFile::ReadSections(TStrings& Strings) const {
  const auto buf = Grow(
      [&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionNamesW(b, n, FFileName.c_str()); }, 2);
  SplitZeros(buf, Strings);
}

void TIniFile::EraseSection(const String& Section) {
  // Nothing to erase in a file that does not exist yet: no error, so a first save
  // (erase, then write) goes through.
  WritePrivateProfileStringW(Section.c_str(), nullptr, nullptr, FFileName.c_str());
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), nullptr, FFileName.c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, FFileName.c_str()); }
