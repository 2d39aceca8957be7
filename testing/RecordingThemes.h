// Theme services for tests: themes "on", every call recorded, nothing drawn but a
// plain frame, so a control's themed branch is checked by what it asked for.
#pragma once
#include <string>
#include <vector>

#include "vcl/Themes.h"

namespace qorn::testing {

class TRecordingThemeServices final : public TThemeServices {
 public:
  struct Call {
    std::wstring What;  // "DrawElement", "DrawText", "DrawParentBackground", ...
    TThemedElementDetails Details;
    TRect Rect;
    std::wstring Text;
  };

  bool Enabled = true;
  // What ContentRect shrinks a rectangle by on each side, and PartSize answers.
  int ContentMargin = 2;
  TPoint Size{13, 13};
  std::vector<Call> Calls;

  bool ThemesEnabled() const override { return Enabled; }
  void DrawElement(HDC dc, const TThemedElementDetails& d, const TRect& rect, const TRect*) override {
    Calls.push_back({L"DrawElement", d, rect, {}});
    // A visible trace in screenshots.
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  }
  void DrawText(HDC, const TThemedElementDetails& d, const std::wstring& text, const TRect& rect,
                unsigned) override {
    Calls.push_back({L"DrawText", d, rect, text});
  }
  void DrawParentBackground(HWND, HDC, const TRect* rect) override {
    Calls.push_back({L"DrawParentBackground", {}, rect ? *rect : TRect{}, {}});
  }
  TRect ContentRect(HDC, const TThemedElementDetails& d, const TRect& rect) override {
    Calls.push_back({L"ContentRect", d, rect, {}});
    return {rect.Left + ContentMargin, rect.Top + ContentMargin, rect.Right - ContentMargin,
            rect.Bottom - ContentMargin};
  }
  TPoint PartSize(HDC, const TThemedElementDetails& d) override {
    Calls.push_back({L"PartSize", d, {}, {}});
    return Size;
  }
  TColor PartColor(const TThemedElementDetails& d, int, TColor fallback) override {
    Calls.push_back({L"PartColor", d, {}, {}});
    return fallback;
  }
  // How many calls of that kind were made.
  int Count(const std::wstring& what) const {
    int n = 0;
    for (const Call& c : Calls) n += c.What == what;
    return n;
  }
};

}  // namespace qorn::testing
