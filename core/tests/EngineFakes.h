// Fakes of the world around the key engine, recording what the engine asked of it.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/KeyEngineWorld.h"
#include "core/KeyLookup.h"

namespace fakes {

inline std::wstring widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

struct EngineOptions : IEngineOptions {
  TKeyEngineOptions value;
  TKeyEngineOptions Options() const override { return value; }
};

// Every key reads as "[key]" unless a text is given.
struct Language : ILanguage {
  std::map<std::string, std::wstring> texts;
  std::wstring GetLngString(const std::string& key, const std::wstring&) override {
    const auto it = texts.find(key);
    return it != texts.end() ? it->second : L"[" + widen(key) + L"]";
  }
};

struct Shown {
  std::string where;  // "text", "popup" or "tray"
  std::wstring caption;
  std::wstring text;
  friend bool operator==(const Shown&, const Shown&) = default;
};

struct Displays : INoticeDisplays {
  std::vector<Shown> shown;
  void ShowText(int kind, const std::wstring& text) override {
    shown.push_back({"text" + std::to_string(kind), L"", text});
  }
  void ShowPopup(const std::wstring& caption, const std::wstring&, const std::wstring&, const std::wstring& text,
                 int, int, int) override {
    shown.push_back({"popup", caption, text});
  }
  void IndicateInTrayIcon(const std::string& indicator, int ms) override {
    shown.push_back({"tray" + std::to_string(ms), L"", widen(indicator)});
  }
};

}  // namespace fakes
