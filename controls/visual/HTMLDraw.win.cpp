#include "controls/visual/HTMLDraw.h"

#include <shellapi.h>
#include <commctrl.h>

#include <memory>

#include "vcl/Canvas.h"
#include "vcl/Color.h"
#include "vcl/ImgList.h"

namespace Flat {

namespace {

void (*fontWatcher)(HFONT) = nullptr;

// Draws on the canvas's DC directly; fonts are made per THTMLFont and kept for the call.
class TCanvasSurface : public THTMLSurface {
 public:
  TCanvasSurface(TCanvas* canvas, const THTMLPictureSources& sources)
      : canvas_(canvas), dc_(canvas->GetHandle()), sources_(sources) {
    oldFont_ = static_cast<HFONT>(GetCurrentObject(dc_, OBJ_FONT));
    oldColor_ = GetTextColor(dc_);
    oldBkColor_ = GetBkColor(dc_);
    oldBkMode_ = GetBkMode(dc_);
    SetBkMode(dc_, TRANSPARENT);
  }
  ~TCanvasSurface() override {
    SelectObject(dc_, oldFont_);
    SetTextColor(dc_, oldColor_);
    SetBkColor(dc_, oldBkColor_);
    SetBkMode(dc_, oldBkMode_);
    for (auto& f : fonts_) DeleteObject(f.second);
  }

  TSize MeasureText(const THTMLFont& font, std::wstring_view text) override {
    Select(font);
    RECT r{0, 0, 0, 0};
    if (text.empty()) {
      SIZE sz{};
      GetTextExtentPoint32W(dc_, L"gh", 2, &sz);
      return TSize{0, sz.cy};
    }
    // Measured from the top: with DT_BOTTOM the calculated rectangle grows upwards from 0.
    DrawTextExW(dc_, const_cast<wchar_t*>(text.data()), int(text.size()), &r, (kFlags & ~DT_BOTTOM) | DT_CALCRECT, nullptr);
    return TSize{r.right - r.left, r.bottom - r.top};
  }
  void DrawText(const THTMLFont& font, TColor background, const TRect& rect, std::wstring_view text,
                bool endEllipsis) override {
    if (font.Color == clNone || text.empty()) return;  // blinking text in its dark phase
    Select(font);
    SetTextColor(dc_, ColorToRGB(font.Color));
    if (background != clNone) {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, ColorToRGB(background));
    } else {
      SetBkMode(dc_, TRANSPARENT);
    }
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    UINT flags = kFlags | (endEllipsis ? DT_END_ELLIPSIS : 0);
    std::wstring copy(text);  // DT_END_ELLIPSIS may write into the buffer without DT_MODIFYSTRING
    DrawTextExW(dc_, copy.data(), int(copy.size()), &r, flags, nullptr);
    SetBkMode(dc_, TRANSPARENT);
  }
  void FillRect(const TRect& rect, TColor color) override {
    HBRUSH b = CreateSolidBrush(ColorToRGB(color));
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  void Polyline(const std::vector<TPoint>& points, TColor color) override {
    if (points.size() < 2) return;
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc_, pen);
    std::vector<POINT> p;
    for (const auto& pt : points) p.push_back(POINT{pt.X, pt.Y});
    ::Polyline(dc_, p.data(), int(p.size()));
    SelectObject(dc_, old);
    DeleteObject(pen);
  }
  void FocusRect(const TRect& rect) override {
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    DrawFocusRect(dc_, &r);
  }
  void DrawBullet(const THTMLFont& font, int x, int bottom, bool filled) override {
    THTMLFont bullet = font;
    bullet.Name = L"Symbol";
    bullet.Underline = bullet.StrikeOut = false;
    Select(bullet);
    const wchar_t* glyph = filled ? L"\u00B7" : L"o";
    RECT r{x, bottom - 100, x + 100, bottom};
    SetTextColor(dc_, ColorToRGB(font.Color == clNone ? clBlack : font.Color));
    SetBkMode(dc_, TRANSPARENT);
    DrawTextExW(dc_, const_cast<wchar_t*>(glyph), 1, &r, kFlags, nullptr);
  }
  bool FindPicture(const THTMLPictureSource& source, THTMLPictureInfo& info) override {
    switch (source.Kind) {
      case THTMLPictureKind::ImageIndex:
        if (!sources_.Images || source.Index < 0 || source.Index >= sources_.Images->GetCount()) return false;
        info.Width = sources_.Images->GetWidth();
        info.Height = sources_.Images->GetHeight();
        return true;
      case THTMLPictureKind::SmallSystemIcon:
      case THTMLPictureKind::LargeSystemIcon: {
        int index = SystemIndex(source);
        if (index < 0) return false;
        bool large = source.Kind == THTMLPictureKind::LargeSystemIcon;
        info.Width = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
        info.Height = GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON);
        return true;
      }
      default:
        return sources_.Pictures && sources_.Pictures->Find(source, info);
    }
  }
  void DrawPicture(const THTMLPictureSource& source, const TRect& rect, THTMLPictureFit fit) override {
    switch (source.Kind) {
      case THTMLPictureKind::ImageIndex:
        if (sources_.Images) sources_.Images->Draw(canvas_, rect.Left, rect.Top, source.Index, true);
        break;
      case THTMLPictureKind::SmallSystemIcon:
      case THTMLPictureKind::LargeSystemIcon: {
        SHFILEINFOW fi{};
        bool large = source.Kind == THTMLPictureKind::LargeSystemIcon;
        auto list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
            L"C:\\", 0, &fi, sizeof fi, SHGFI_SYSICONINDEX | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON)));
        int index = SystemIndex(source);
        if (list && index >= 0) ImageList_Draw(list, index, dc_, rect.Left, rect.Top, ILD_TRANSPARENT);
        break;
      }
      default:
        if (sources_.Pictures) sources_.Pictures->Draw(canvas_, source, rect, fit);
    }
  }
  int PixelsPerInchX() override { return GetDeviceCaps(dc_, LOGPIXELSX); }
  int PixelsPerInchY() override { return GetDeviceCaps(dc_, LOGPIXELSY); }
  TColor ToRGB(TColor color) override { return ColorToRGB(color); }

 private:
  static constexpr UINT kFlags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX;

  void Select(const THTMLFont& font) {
    for (auto& f : fonts_)
      if (f.first == font) {
        SelectObject(dc_, f.second);
        return;
      }
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.Size, GetDeviceCaps(dc_, LOGPIXELSY), 72);
    lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Italic;
    lf.lfUnderline = font.Underline;
    lf.lfStrikeOut = font.StrikeOut;
    lf.lfEscapement = lf.lfOrientation = font.Escapement;
    lf.lfCharSet = font.Name == L"Symbol" ? SYMBOL_CHARSET : DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
    HFONT h = CreateFontIndirectW(&lf);
    if (!h) return;
    fonts_.emplace_back(font, h);
    if (fontWatcher) fontWatcher(h);
    SelectObject(dc_, h);
  }
  static int SystemIndex(const THTMLPictureSource& source) {
    if (source.Name.empty()) return source.Index;
    SHFILEINFOW fi{};
    DWORD attrs = GetFileAttributesW(source.Name.c_str());
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    if (attrs == INVALID_FILE_ATTRIBUTES) flags |= SHGFI_USEFILEATTRIBUTES;
    if (!SHGetFileInfoW(source.Name.c_str(), FILE_ATTRIBUTE_NORMAL, &fi, sizeof fi, flags)) return -1;
    return fi.iIcon;
  }

  TCanvas* canvas_;
  HDC dc_;
  const THTMLPictureSources& sources_;
  HFONT oldFont_;
  COLORREF oldColor_, oldBkColor_;
  int oldBkMode_;
  std::vector<std::pair<THTMLFont, HFONT>> fonts_;
};

}  // namespace

void WatchHTMLFonts(void (*created)(HFONT)) { fontWatcher = created; }

bool DrawHTMLText(TCanvas* canvas, THTMLTextInput input, const THTMLPictureSources& sources, THTMLTextOutput& output) {
  TFont* f = canvas->GetFont();
  input.Font.Name = f->GetName();
  input.Font.Size = f->GetSize();
  input.Font.Bold = f->GetStyle().Contains(fsBold);
  input.Font.Italic = f->GetStyle().Contains(fsItalic);
  input.Font.Underline = f->GetStyle().Contains(fsUnderline);
  input.Font.StrikeOut = f->GetStyle().Contains(fsStrikeOut);
  input.Font.Color = f->GetColor();
  input.Brush = canvas->GetBrush()->GetStyle() == bsClear ? clNone : canvas->GetBrush()->GetColor();
  canvas->GetHandle();  // the canvas selects its own objects before we save them
  TCanvasSurface surface(canvas, sources);
  return LayoutHTMLText(input, surface, output);
}

void DrawGradientBands(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& rect, int steps,
                       TColor borderColor) {
  HDC dc = canvas->GetHandle();
  for (const auto& band : GradientBands(ColorToRGB(from), ColorToRGB(to), horizontal, rect, steps)) {
    HBRUSH b = CreateSolidBrush(band.Color);
    RECT r{band.Rect.Left, band.Rect.Top, band.Rect.Right, band.Rect.Bottom};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  if (borderColor != clNone) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(borderColor));
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    FrameRect(dc, &r, b);
    DeleteObject(b);
  }
}

}  // namespace Flat
