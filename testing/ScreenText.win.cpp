#include "testing/ScreenText.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace qorn::testing {
namespace {

struct TPixels {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Bgra;
  std::uint32_t At(int x, int y) const { return Bgra[static_cast<size_t>(y) * Width + x]; }
};

// A 32-bit bitmap of that size selected into a memory DC, with its pixels read back.
class TDibCanvas {
 public:
  TDibCanvas(int w, int h) : w_(w), h_(h) {
    screen_ = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen_);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bmp_ = CreateDIBSection(screen_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
  }
  ~TDibCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
    ReleaseDC(nullptr, screen_);
  }
  TDibCanvas(const TDibCanvas&) = delete;
  TDibCanvas& operator=(const TDibCanvas&) = delete;
  HDC Dc() const { return dc_; }
  HDC Screen() const { return screen_; }
  TPixels Pixels() const {
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits_);
    return {w_, h_, std::vector<std::uint32_t>(p, p + static_cast<size_t>(w_) * h_)};
  }

 private:
  int w_, h_;
  HDC screen_ = nullptr, dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

bool IsInk(std::uint32_t pixel, std::uint32_t background) {
  int diff = 0;
  for (int shift : {0, 8, 16}) diff += std::abs(static_cast<int>((pixel >> shift) & 0xff) - static_cast<int>((background >> shift) & 0xff));
  return diff > 120;
}

}  // namespace

bool ShowsText(HWND wnd, POINT clientTopLeft, const std::wstring& text, const wchar_t* fontName, int fontHeight) {
  if (text.empty()) return false;
  HFONT font = CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, fontName);
  constexpr int Slack = 2;  // pixels of offset allowed each way

  // The text drawn here, black on white, with room around it for the offsets.
  SIZE size{};
  TPixels drawn;
  {
    TDibCanvas probe(1, 1);
    HGDIOBJ oldFont = SelectObject(probe.Dc(), font);
    GetTextExtentPoint32W(probe.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(probe.Dc(), oldFont);
  }
  const int w = size.cx + 2 * Slack, h = size.cy + 2 * Slack;
  {
    TDibCanvas canvas(w, h);
    RECT all{0, 0, w, h};
    FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = SelectObject(canvas.Dc(), font);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    TextOutW(canvas.Dc(), Slack, Slack, text.c_str(), static_cast<int>(text.size()));
    SelectObject(canvas.Dc(), oldFont);
    drawn = canvas.Pixels();
  }
  DeleteObject(font);

  // The screen where the window shows it, the same margin around.
  POINT at = clientTopLeft;
  ClientToScreen(wnd, &at);
  TPixels shown;
  {
    TDibCanvas canvas(w, h);
    BitBlt(canvas.Dc(), 0, 0, w, h, canvas.Screen(), at.x - Slack, at.y - Slack, SRCCOPY);
    shown = canvas.Pixels();
  }
  const std::uint32_t background = shown.At(0, 0);

  // Best agreement of the two inks over the allowed offsets.
  long best = -1, drawnInk = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) drawnInk += IsInk(drawn.At(x, y), 0xffffff);
  if (drawnInk == 0) return false;
  for (int dy = -Slack; dy <= Slack; ++dy)
    for (int dx = -Slack; dx <= Slack; ++dx) {
      long differ = 0;
      for (int y = Slack; y < h - Slack; ++y)
        for (int x = 0; x < w; ++x) {
          const bool a = IsInk(drawn.At(x, y), 0xffffff);
          const int sx = x + dx;
          const bool b = sx >= 0 && sx < w && IsInk(shown.At(sx, y + dy), background);
          differ += a != b;
        }
      if (best < 0 || differ < best) best = differ;
    }
  // Anti-aliased edges may fall either side of the ink threshold.
  return best * 10 <= drawnInk;
}

}  // namespace qorn::testing
