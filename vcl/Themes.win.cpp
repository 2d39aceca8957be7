#include "vcl/Themes.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// Over uxtheme: theme handles opened per class on first use, closed with the object.
class TSystemThemeServices final : public TThemeServices {
 public:
  TSystemThemeServices() {
    const char* asked = std::getenv("QORN_THEMES");
    const bool allowed = RunningUnderWine() ? (asked && std::strcmp(asked, "1") == 0) : true;
    enabled_ = allowed && IsThemeActive() && IsAppThemed();
  }
  ~TSystemThemeServices() override {
    for (auto& [name, theme] : themes_) {
      if (theme) CloseThemeData(theme);
    }
  }
  bool ThemesEnabled() const override { return enabled_; }
  void DrawElement(HDC dc, const TThemedElementDetails& d, const TRect& rect, const TRect* clip) override {
    const RECT r = ToRect(rect);
    RECT c{};
    if (clip) c = ToRect(*clip);
    if (HTHEME theme = Theme(d.ClassName)) DrawThemeBackground(theme, dc, d.Part, d.State, &r, clip ? &c : nullptr);
  }
  void DrawText(HDC dc, const TThemedElementDetails& d, const std::wstring& text, const TRect& rect,
                unsigned flags) override {
    RECT r = ToRect(rect);
    if (HTHEME theme = Theme(d.ClassName))
      DrawThemeText(theme, dc, d.Part, d.State, text.c_str(), static_cast<int>(text.size()), flags, 0, &r);
  }
  void DrawParentBackground(HWND wnd, HDC dc, const TRect* rect) override {
    RECT r{};
    if (rect) r = ToRect(*rect);
    DrawThemeParentBackground(wnd, dc, rect ? &r : nullptr);
  }
  TRect ContentRect(HDC dc, const TThemedElementDetails& d, const TRect& rect) override {
    const RECT r = ToRect(rect);
    RECT content = r;
    if (HTHEME theme = Theme(d.ClassName)) GetThemeBackgroundContentRect(theme, dc, d.Part, d.State, &r, &content);
    return {content.left, content.top, content.right, content.bottom};
  }
  TPoint PartSize(HDC dc, const TThemedElementDetails& d) override {
    SIZE size{};
    if (HTHEME theme = Theme(d.ClassName)) GetThemePartSize(theme, dc, d.Part, d.State, nullptr, TS_TRUE, &size);
    return {size.cx, size.cy};
  }
  TColor PartColor(const TThemedElementDetails& d, int property, TColor fallback) override {
    COLORREF colour = 0;
    HTHEME theme = Theme(d.ClassName);
    if (theme && SUCCEEDED(GetThemeColor(theme, d.Part, d.State, property, &colour))) return colour;
    return fallback;
  }

 private:
  HTHEME Theme(const std::wstring& className) {
    if (!enabled_) return nullptr;
    auto it = themes_.find(className);
    if (it == themes_.end()) it = themes_.emplace(className, OpenThemeData(nullptr, className.c_str())).first;
    return it->second;
  }
  bool enabled_ = false;
  std::map<std::wstring, HTHEME> themes_;
};

std::atomic<TThemeServices*>& Installed() {
  static std::atomic<TThemeServices*> installed{nullptr};
  return installed;
}

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TThemeServices& ThemeServices() {
  if (TThemeServices* s = Installed().load(std::memory_order_acquire)) return *s;
  static TSystemThemeServices system;
  return system;
}

TThemeServicesOverride::TThemeServicesOverride(TThemeServices& services)
    : previous_(Installed().exchange(&services, std::memory_order_acq_rel)) {}

TThemeServicesOverride::~TThemeServicesOverride() { Installed().store(previous_, std::memory_order_release); }
