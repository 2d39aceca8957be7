// File dialog filters and default extensions as the system's dialog takes them.
#include <gtest/gtest.h>

#include "vcl/DialogsText.h"

#include <string>

namespace {

using namespace std::string_literals;

struct FilterCase {
  const char* name;
  std::wstring filter;
  std::wstring list;
};

class FilterList : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterList, PairsEndInNulsAndNothingEndsTheListEarly) {
  EXPECT_EQ(FileDialogFilterList(GetParam().filter), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterList,
    ::testing::Values(
        FilterCase{"empty", L"", L""},
        FilterCase{"one_pair", L"ExeFile|*.*", L"ExeFile\0*.*\0\0"s},
        FilterCase{"three_pairs_and_a_mask_list",
                   L"All Files|*.*|Executable|*.exe|Documents|*.txt;*.doc;*.xls;*.rtf;*.log",
                   L"All Files\0*.*\0Executable\0*.exe\0Documents\0*.txt;*.doc;*.xls;*.rtf;*.log\0\0"s},
        FilterCase{"text_without_mask", L"*.exe", L"*.exe\0*.exe\0\0"s},
        FilterCase{"last_text_without_mask", L"Text|*.txt|*.log", L"Text\0*.txt\0*.log\0*.log\0\0"s},
        FilterCase{"empty_mask", L"Anything|", L"Anything\0*.*\0\0"s},
        FilterCase{"empty_text", L"|*.png", L"*.png\0*.png\0\0"s},
        FilterCase{"stray_bars", L"Text|*.txt||", L"Text\0*.txt\0\0"s},
        FilterCase{"only_bars", L"||", L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultExt, ExtensionWithoutDotsOrStars) {
  const struct {
    std::wstring in, out;
  } cases[] = {
      {L"exe", L"exe"}, {L".exe", L"exe"}, {L"*.exe", L"exe"}, {L"", L""},
      {L"*.*", L""},    {L"*", L""},       {L"*.tx?", L""},    {L"tar.gz", L"tar.gz"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileDialogDefaultExt(c.in), c.out) << std::string(c.in.begin(), c.in.end());
}

}  // namespace
