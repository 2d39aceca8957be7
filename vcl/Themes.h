// Visual styles behind one replaceable object.
//
// Rules:
// - Classic drawing is the default everywhere. A control takes its themed branch
//   only when ThemeServices().ThemesEnabled() is true, and then draws through
//   ThemeServices() only, never through uxtheme itself.
// - Under wine themes are off unless QORN_THEMES=1 is set in the environment
//   (wine's styles differ from the platform's and the tests' pictures are classic).
// - Tests install a TRecordingThemeServices (testing/RecordingThemes.h) with
//   TThemeServicesOverride: it reports themes on and records each call, so a
//   control's themed branch is checked by what it asked to draw.
#pragma once
#include "vcl/Color.h"
#include "vcl/Types.h"
#include "vcl/Win.h"

#include <string>

// One part of one class of themed element ("BUTTON", BP_PUSHBUTTON, PBS_HOT).
struct TThemedElementDetails {
  std::wstring ClassName;
  int Part = 0;
  int State = 0;
  friend bool operator==(const TThemedElementDetails&, const TThemedElementDetails&) = default;
};

class TThemeServices {
 public:
  virtual ~TThemeServices() = default;
  virtual bool ThemesEnabled() const = 0;
  TThemedElementDetails GetElementDetails(const std::wstring& className, int part, int state) const {
    return {className, part, state};
  }
  virtual void DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& rect,
                           const TRect* clip = nullptr) = 0;
  virtual void DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text,
                        const TRect& rect, unsigned flags) = 0;
  // Paints what the parent shows behind a control (for transparent themed parts).
  virtual void DrawParentBackground(HWND wnd, HDC dc, const TRect* rect) = 0;
  // The part's content area inside rect.
  virtual TRect ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& rect) = 0;
  // The part's natural size; (0, 0) when unknown.
  virtual TPoint PartSize(HDC dc, const TThemedElementDetails& details) = 0;
  // A colour property of the part (TMT_*), or fallback.
  virtual TColor PartColor(const TThemedElementDetails& details, int property, TColor fallback) = 0;
};

// The services in use: the system's unless a test installed others.
TThemeServices& ThemeServices();

// Installs services for the lifetime of the guard, restoring the previous ones after.
class TThemeServicesOverride {
 public:
  explicit TThemeServicesOverride(TThemeServices& services);
  ~TThemeServicesOverride();
  TThemeServicesOverride(const TThemeServicesOverride&) = delete;
  TThemeServicesOverride& operator=(const TThemeServicesOverride&) = delete;

 private:
  TThemeServices* previous_;
};

// Whether this process runs under wine (themes then stay off by default).
bool RunningUnderWine();
