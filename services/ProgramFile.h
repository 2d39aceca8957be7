// What a program file says of itself: the description of its version resource
// (a PE module) or its module description (an NE module), read from the file's
// bytes with every offset checked, so any file is safe to read.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// The version resource's "FileDescription", else its "ProductName", of the first
// listed translation (a PE module), or the module description (an NE module);
// nullopt when there is none.
std::optional<std::u16string> ReadProgramDescription(std::string_view file);

#ifdef _WIN32
// The description of a program file, or its file name when it has none.
std::wstring GetProgramDescription(const std::wstring& path);
#endif
