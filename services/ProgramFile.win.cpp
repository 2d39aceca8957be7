#include "services/ProgramFile.h"

#include "vcl/ScopeGuards.h"
#include "vcl/Win.h"

#include <limits>
#include <memory>

std::wstring GetProgramDescription(const std::wstring& path) {
  std::wstring name = path;
  if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) name = name.substr(slash + 1);
  // The file is mapped, not read: the version resource may lie anywhere in a
  // program of any size, and only the pages the parser touches are loaded.
  const TUniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return name;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max())
    return name;
  const TUniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return name;
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) return name;
  const std::unique_ptr<const void, decltype(&UnmapViewOfFile)> unmap(view, &UnmapViewOfFile);
  const auto text =
      ReadProgramDescription(std::string_view(static_cast<const char*>(view), static_cast<std::size_t>(size.QuadPart)));
  if (!text) return name;
  return std::wstring(text->begin(), text->end());
}
