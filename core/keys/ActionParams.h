// The parameter string of a binding (TActionParams). It is either one plain value
// or a run of tagged entries "name:value;name|". Entries are read and written at
// entry boundaries only, so one name that ends another ("click", "dblclick") never
// touches the other's entry. Earlier versions appended entries to a plain value
// ("4notepad.exe" + "exetype:4;exetype|"); such a string keeps its entries when
// read and its plain value, in front of them, when written.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// What GetParamOnAct gives for an absent entry when the caller has no default.
inline constexpr std::string_view ParamAbsent = "-nil-";
// The room of the parameter field of a binding record.
inline constexpr std::size_t ParamsCapacity = 255;

// The string with the entry Name set to Value (replaced in place, or appended).
// A damaged tail that is no run of entries is kept, after the entries, so it can
// never swallow the new one. nullopt (and the caller keeps its string) when
// the result would not fit the 255-character field, when Value holds the closing
// tag of its own name, when Name is empty or holds ':', ';' or '|', or when a
// plain value in front would read part of the result as an entry of its own.
std::optional<std::string> SetParamOnAct(std::string_view params, std::string_view name,
                                         std::string_view value);

// The value of the entry Name; Default when absent, or "-nil-" when Default is empty.
std::string GetParamOnAct(std::string_view params, std::string_view name,
                          std::string_view defaultValue = {});

// Whether a parameter string is in the tagged form (for actions taking both forms).
bool IsParamOnAct(std::string_view params);
