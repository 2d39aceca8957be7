#include "controls/extended/VyCheckListData.h"

namespace Vy {

int NextCheckState(int state, bool allowGrayed) {
  switch (state) {
    case 0: return allowGrayed ? 2 : 1;
    case 1: return 0;
    default: return 1;
  }
}

std::wstring FormatCheckListLine(const TCheckListLine& line) {
  std::wstring out = L"&";
  out += line.Enabled ? L'1' : L'0';
  out += L' ';
  out += wchar_t(L'0' + (IsCheckState(line.State) ? line.State : 0));
  out += L' ';
  return out + line.Text;
}

TCheckListLine ParseCheckListLine(const std::wstring& line) {
  const bool formatted =
      line.size() >= 5 && line[0] == L'&' && line[2] == L' ' && line[3] >= L'0' && line[3] <= L'2' && line[4] == L' ';
  if (!formatted) return {true, 0, line};
  return {line[1] == L'1', line[3] - L'0', line.substr(5)};
}

}  // namespace Vy
