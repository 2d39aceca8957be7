#include "vcl/Registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr REGSAM kViewBits = KEY_WOW64_32KEY | KEY_WOW64_64KEY;

void EnumNames(HKEY key, bool values, TStrings& out) {
  out.BeginUpdate();
  out.Clear();
  if (key) {
    DWORD maxLen = 0;
    if (values)
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxLen, nullptr, nullptr,
                       nullptr);
    else
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxLen, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr);
    std::vector<wchar_t> name(maxLen + 2);
    for (DWORD i = 0;; ++i) {
      DWORD len = static_cast<DWORD>(name.size());
      const LONG r = values ? RegEnumValueW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr)
                            : RegEnumKeyExW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
      if (r == ERROR_MORE_DATA) {
        name.resize(name.size() * 2);
        --i;
        continue;
      }
      if (r != ERROR_SUCCESS) break;
      out.Add(String(name.data(), len));
    }
  }
  out.EndUpdate();
}

// Deletes the key below parent with all its sub-keys, in the view of `view`.
bool DeleteTree(HKEY parent, const String& path, REGSAM view) {
  HKEY key;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
    return false;
  TStringList children;
  EnumNames(key, false, children);
  RegCloseKey(key);
  for (int i = 0; i < children.Count(); ++i) DeleteTree(parent, path + L"\\" + children[i], view);
  return RegDeleteKeyExW(parent, path.c_str(), view, 0) == ERROR_SUCCESS;
}
}  // namespace

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::Fail(const wchar_t* format, const String& name) { throw ERegistryException(format, {name}); }

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

void TRegistry::CloseKey() {
  if (FCurrentKey) RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

HKEY TRegistry::BaseFor(const String& Key, String& relative) const {
  if (!Key.empty() && Key[0] == L'\\') {
    relative = Key.substr(1);
    return FRootKey;
  }
  relative = Key;
  return FCurrentKey ? FCurrentKey : FRootKey;
}

String TRegistry::JoinPath(const String& Key) const {
  String path = (!Key.empty() && Key[0] == L'\\') || FCurrentPath.empty() ? Key : FCurrentPath + L"\\" + Key;
  while (!path.empty() && path[0] == L'\\') path.erase(0, 1);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  String rel;
  const HKEY base = BaseFor(Key, rel);
  HKEY key = nullptr;
  LONG r;
  if (CanCreate)
    r = RegCreateKeyExW(base, rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &key, nullptr);
  else
    r = RegOpenKeyExW(base, rel.c_str(), 0, FAccess, &key);
  if (r != ERROR_SUCCESS) return false;
  const String path = JoinPath(Key);
  CloseKey();
  FCurrentKey = key;
  FCurrentPath = path;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  const REGSAM saved = FAccess;
  FAccess = KEY_READ | (saved & kViewBits);
  const bool ok = OpenKey(Key, false);
  FAccess = saved;
  return ok;
}

bool TRegistry::KeyExists(const String& Key) {
  String rel;
  const HKEY base = BaseFor(Key, rel);
  HKEY key;
  // Any right will do to see that the key is there.
  if (RegOpenKeyExW(base, rel.c_str(), 0, STANDARD_RIGHTS_READ | (FAccess & kViewBits), &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const String& Key) {
  String rel;
  const HKEY base = BaseFor(Key, rel);
  while (!rel.empty() && rel.back() == L'\\') rel.pop_back();
  if (rel.empty()) return false;  // never the open key or the root itself
  return DeleteTree(base, rel, FAccess & kViewBits);
}

void TRegistry::GetKeyNames(TStrings& Strings) const { EnumNames(FCurrentKey, false, Strings); }
void TRegistry::GetValueNames(TStrings& Strings) const { EnumNames(FCurrentKey, true, Strings); }

bool TRegistry::ValueExists(const String& Name) const { return GetDataSize(Name) >= 0; }

int TRegistry::GetDataSize(const String& Name) const {
  DWORD size = 0;
  if (!FCurrentKey || RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return -1;
  return static_cast<int>(size);
}

String TRegistry::ReadString(const String& Name) const {
  if (!FCurrentKey) return {};
  for (DWORD size = 256;;) {
    std::vector<BYTE> buf(size + sizeof(wchar_t));
    DWORD type = 0, got = size;
    const LONG r = RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, &type, buf.data(), &got);
    if (r == ERROR_MORE_DATA) {
      size = got;  // the value grew or was larger: try again with its size
      continue;
    }
    if (r != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) Fail(L"Invalid data type for '%s'", Name);
    String s(reinterpret_cast<const wchar_t*>(buf.data()), got / sizeof(wchar_t));
    // The stored terminator is not part of the text (and may be missing).
    while (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
  }
}

int TRegistry::ReadInteger(const String& Name) const {
  DWORD type = 0, value = 0, size = sizeof value;
  if (!FCurrentKey ||
      RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS) {
    DWORD probe = 0;
    if (FCurrentKey && RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, &probe) == ERROR_SUCCESS)
      Fail(L"Invalid data type for '%s'", Name);
    Fail(L"Failed to get data for '%s'", Name);
  }
  if (type != REG_DWORD || size != sizeof value) Fail(L"Invalid data type for '%s'", Name);
  return static_cast<int>(value);
}

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize) const {
  if (!FCurrentKey || BufSize < 0) return 0;
  const int size = GetDataSize(Name);
  if (size < 0) Fail(L"Failed to get data for '%s'", Name);
  std::vector<BYTE> buf(static_cast<std::size_t>(size) + 1);
  DWORD got = static_cast<DWORD>(buf.size());
  if (RegQueryValueExW(FCurrentKey, Name.c_str(), nullptr, nullptr, buf.data(), &got) != ERROR_SUCCESS)
    Fail(L"Failed to get data for '%s'", Name);
  const int n = std::min(static_cast<int>(got), BufSize);
  std::memcpy(Buffer, buf.data(), static_cast<std::size_t>(n));
  return n;
}

void TRegistry::WriteString(const String& Name, const String& Value) {
  const auto bytes = static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t));
  if (!FCurrentKey || RegSetValueExW(FCurrentKey, Name.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(Value.c_str()), bytes) != ERROR_SUCCESS)
    Fail(L"Failed to set data for '%s'", Name);
}

void TRegistry::WriteInteger(const String& Name, int Value) {
  const auto v = static_cast<DWORD>(Value);
  if (!FCurrentKey || RegSetValueExW(FCurrentKey, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                                     sizeof v) != ERROR_SUCCESS)
    Fail(L"Failed to set data for '%s'", Name);
}

bool TRegistry::DeleteValue(const String& Name) {
  return FCurrentKey && RegDeleteValueW(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}
