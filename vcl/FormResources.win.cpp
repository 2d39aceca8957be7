#include "vcl/FormResources.h"

#include <string_view>

#include "vcl/Filer.h"
#include "vcl/Win.h"

namespace {

// The bytes of an RCDATA resource of the program; empty view when missing.
bool FindRcData(const std::wstring& name, std::string_view& bytes) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) return false;
  HGLOBAL data = LoadResource(module, res);
  if (!data) return false;
  // Resource memory lives as long as the module: nothing to free.
  const void* p = LockResource(data);
  if (!p) return false;
  bytes = std::string_view(static_cast<const char*>(p), SizeofResource(module, res));
  return true;
}

std::wstring Upper(std::wstring s) {
  for (auto& c : s)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return s;
}

}  // namespace

std::wstring FormResourceName(const TComponent* Root) {
  std::wstring name = Root->ClassName();
  if (name.size() > 1 && (name[0] == L'T' || name[0] == L't')) name.erase(0, 1);
  return Upper(name);
}

bool FormResourceExists(const std::wstring& ResourceName) {
  std::string_view bytes;
  return FindRcData(Upper(ResourceName), bytes);
}

void ReadComponentRes(const std::wstring& ResourceName, TComponent* Root) {
  std::wstring name = Upper(ResourceName);
  std::string_view bytes;
  if (!FindRcData(name, bytes)) throw EFormReadError(name, 0, L"Resource not found");
  ReadComponentFromText(Root, bytes, name);
}
