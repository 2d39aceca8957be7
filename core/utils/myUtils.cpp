#include "core/utils/myUtils.h"

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>

std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view sep) {
  std::vector<std::wstring> pieces;
  if (sep.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  for (;;) {
    const std::size_t at = text.find(sep);
    pieces.emplace_back(text.substr(0, at));
    if (at == std::wstring_view::npos) return pieces;
    text.remove_prefix(at + sep.size());
  }
}

std::wstring SecondsToHMS(long long seconds, bool forceHours) {
  if (seconds < 0) return L"--:--";
  const long long minutes = seconds / 60, hours = minutes / 60;
  wchar_t buf[64];
  if (hours == 0 && !forceHours)
    std::swprintf(buf, 64, L"%02lld:%02lld", minutes % 60, seconds % 60);
  else
    std::swprintf(buf, 64, L"%02lld:%02lld:%02lld", hours, minutes % 60, seconds % 60);
  return buf;
}

std::uint8_t WinVersionCode(const TWinVersionInfo& v) {
  if (v.nt) {
    if (v.major == 3) return 5;
    if (v.major == 4) return 6;
    if (v.major == 5) return v.minor == 0 ? 7 : v.minor == 1 ? 9 : v.minor == 2 ? 10 : 0;
    if (v.major == 6) {
      switch (v.minor) {
        case 0: return 11;
        case 1: return 12;
        case 2: return 13;
        case 3: return 14;
        default: return 16;
      }
    }
    if (v.major == 10) return v.minor == 0 ? 15 : 16;
    if (v.major > 10) return 16;
    return 0;
  }
  if (v.major == 4) {
    if (v.minor == 0) return v.servicePack == L"B" ? 2 : 1;
    if (v.minor == 10) return v.servicePack == L"A" ? 4 : 3;
    if (v.minor == 90) return 8;
  }
  return 0;
}

std::wstring WinVersionName(std::uint8_t code) {
  switch (code) {
    case 1: case 2: case 3: case 4: case 8: return L"Win 9x";
    case 5: case 6: return L"Win NT";
    case 7: return L"Windows 2000";
    case 9: return L"Windows XP";
    case 10: return L"Windows 2003";
    case 11: return L"Windows Vista";
    case 12: return L"Windows 7";
    case 13: return L"Windows 8";
    case 14: return L"Windows 8.1";
    case 15: return L"Windows 10";
    case 16: return L"Windows 10++";
    default: return L"Unknown";
  }
}

bool WinVersionAtLeast(const TWinVersionInfo& v, std::wstring_view name) {
  if (!v.nt) return false;
  struct Named { std::wstring_view name; unsigned major, minor; };
  static constexpr Named table[] = {{L"2K", 5, 0}, {L"XP", 5, 1}, {L"Vista", 6, 0}, {L"Seven", 6, 1}, {L"W10", 10, 0}};
  for (const auto& n : table)
    if (n.name == name) return v.major > n.major || (v.major == n.major && v.minor >= n.minor);
  return false;
}

std::wstring WinVersionString(const TWinVersionInfo& v, bool details) {
  std::wstring s = std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." + std::to_wstring(v.build & 0xFFFF);
  if (details) {
    s += L" " + v.servicePack;
    if (v.productType == 1) s += L", Workstation";
    else if (v.productType != 0) s += L", Server";
  }
  return s;
}

std::wstring ExpandEnvVarsWith(std::wstring_view text,
                               const std::function<std::optional<std::wstring>(const std::wstring&)>& lookup) {
  std::wstring out;
  for (;;) {
    const std::size_t open = text.find(L'%');
    if (open == std::wstring_view::npos) break;
    const std::size_t close = text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) break;
    out.append(text.substr(0, open));
    const std::wstring name(text.substr(open + 1, close - open - 1));
    const auto value = name.empty() ? std::nullopt : lookup(name);
    if (value) {
      out += *value;
      text.remove_prefix(close + 1);
    } else {
      // Kept as written; the closing '%' may open the next pair ("50%%PATH%").
      out.append(text.substr(open, close - open));
      text.remove_prefix(close);
    }
  }
  out.append(text);
  return out;
}

std::wstring KeyPressCounterText(std::int32_t count) {
  wchar_t buf[32];
  if (count > 999999)
    std::swprintf(buf, 32, L"%d.%.3d.%.3d", count / 1000000, (count / 1000) % 1000, count % 1000);
  else if (count >= 1000)
    std::swprintf(buf, 32, L"%d.%.3d", count / 1000, count % 1000);
  else
    std::swprintf(buf, 32, L"%d", count);
  return buf;
}

std::string MakeInstallationId(const std::string& computer, const std::string& user, const std::string& productId,
                               const std::string& volumeSerial, const std::string& biosDate) {
  const std::string text = computer + " | " + user + " | " + productId + " | " + volumeSerial + " | " + biosDate;
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_Digest(text.data(), text.size(), md, &len, EVP_md5(), nullptr);
  std::string id = "01x";
  char hex[3];
  for (unsigned i = 0; i < len; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", md[i]);
    id += hex;
  }
  return id;
}
