#include "vcl/Font.h"

#include <cmath>
#include <cwchar>

#include "vcl/Bitmap.h"

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    HDC dc = GetDC(nullptr);
    const int v = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}

// ----------------------------------------------------------------------------
TFont::TFont()
    : FName(L"MS Sans Serif"), FPixelsPerInch(ScreenPixelsPerInch()) {
  FHeight = -MulDiv(8, FPixelsPerInch, 72);
}

TFont::~TFont() = default;

void TFont::Publish(TPublisher<TFont>& p) {
  p.Property(L"Charset", &TFont::GetCharset, &TFont::SetCharset);
  p.Property(L"Color", &TFont::GetColor, &TFont::SetColor).Idents(ColorIdents);
  p.Property(L"Height", &TFont::GetHeight, &TFont::SetHeight);
  p.Property(L"Name", &TFont::GetName, &TFont::SetName);
  p.Property(L"Orientation", &TFont::GetOrientation, &TFont::SetOrientation).Default(0);
  p.Property(L"Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  p.Property(L"Quality", &TFont::GetQuality, &TFont::SetQuality).Default(fqDefault);
  // Size is derived from Height, which is what resources store.
  p.Property(L"Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  p.Property(L"Style", &TFont::GetStyle, &TFont::SetStyle);
}

void TFont::Modified() {
  Changing();
  FHandle.Reset();
  Changed();
}

void TFont::Assign(const TPersistent* Source) {
  if (auto* f = dynamic_cast<const TFont*>(Source)) {
    if (f == this) return;
    FName = f->FName;
    // Keep the point size across resolutions, as the platform does.
    FHeight = f->FPixelsPerInch == FPixelsPerInch ? f->FHeight : MulDiv(f->FHeight, FPixelsPerInch, f->FPixelsPerInch);
    FStyle = f->FStyle;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FQuality = f->FQuality;
    FOrientation = f->FOrientation;
    Modified();
    return;
  }
  inherited::Assign(Source);
}

void TFont::SetName(const std::wstring& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value.substr(0, LF_FACESIZE - 1);
  Modified();
}

int TFont::GetSize() const {
  // Size = -Height * 72 / PixelsPerInch, rounded (MulDiv rounds half away from zero).
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Modified();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Modified();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  // The colour is not part of the GDI font: no new handle.
  FColor = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Modified();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Modified();
}

void TFont::SetQuality(TFontQuality Value) {
  if (Value == FQuality) return;
  FQuality = Value;
  Modified();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Modified();
}

void TFont::SetPixelsPerInch(int Value) {
  if (Value <= 0 || Value == FPixelsPerInch) return;
  FPixelsPerInch = Value;
  Modified();
}

LOGFONTW TFont::GetLogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  static constexpr BYTE kQuality[] = {DEFAULT_QUALITY,     DRAFT_QUALITY,       PROOF_QUALITY,
                                      NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                                      CLEARTYPE_NATURAL_QUALITY};
  lf.lfQuality = kQuality[FQuality];
  static constexpr BYTE kPitch[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
  lf.lfPitchAndFamily = kPitch[FPitch];
  wcsncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
  return lf;
}

void TFont::SetLogFont(const LOGFONTW& lf) {
  FHeight = lf.lfHeight;
  FOrientation = lf.lfEscapement;
  TFontStyles style;
  if (lf.lfWeight >= FW_SEMIBOLD) style.Include(fsBold);
  if (lf.lfItalic) style.Include(fsItalic);
  if (lf.lfUnderline) style.Include(fsUnderline);
  if (lf.lfStrikeOut) style.Include(fsStrikeOut);
  FStyle = style;
  FCharset = lf.lfCharSet;
  switch (lf.lfPitchAndFamily & 3) {
    case VARIABLE_PITCH: FPitch = fpVariable; break;
    case FIXED_PITCH: FPitch = fpFixed; break;
    default: FPitch = fpDefault;
  }
  switch (lf.lfQuality) {
    case DRAFT_QUALITY: FQuality = fqDraft; break;
    case PROOF_QUALITY: FQuality = fqProof; break;
    case NONANTIALIASED_QUALITY: FQuality = fqNonAntialiased; break;
    case ANTIALIASED_QUALITY: FQuality = fqAntialiased; break;
    case CLEARTYPE_QUALITY: FQuality = fqClearType; break;
    case CLEARTYPE_NATURAL_QUALITY: FQuality = fqClearTypeNatural; break;
    default: FQuality = fqDefault;
  }
  const std::wstring name(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  if (!name.empty()) FName = name;
  Modified();
}

HFONT TFont::GetHandle() {
  if (!FHandle) {
    const LOGFONTW lf = GetLogFont();
    FHandle.Reset(CreateFontIndirectW(&lf));
  }
  return FHandle ? FHandle.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TFont::SetHandle(HFONT Value) {
  LOGFONTW lf{};
  if (!Value || GetObjectW(Value, sizeof lf, &lf) != sizeof lf) return;
  SetLogFont(lf);
}

bool TFont::IsTrueType() {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetHandle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

// ----------------------------------------------------------------------------
void TPen::Publish(TPublisher<TPen>& p) {
  p.Property(L"Color", &TPen::GetColor, &TPen::SetColor).Default(clBlack).Idents(ColorIdents);
  p.Property(L"Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  p.Property(L"Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  p.Property(L"Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::Modified() {
  Changing();
  FHandle.Reset();
  Changed();
}

void TPen::Assign(const TPersistent* Source) {
  if (auto* pen = dynamic_cast<const TPen*>(Source)) {
    if (pen == this) return;
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Modified();
    return;
  }
  inherited::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Modified();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Modified();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Modified();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  // The mode is a DC setting, not part of the pen.
  FMode = Value;
  Changing();
  Changed();
}

int TPen::Rop2() const {
  static constexpr int kRop2[] = {R2_BLACK,       R2_WHITE,       R2_NOP,        R2_NOT,        R2_COPYPEN,
                                  R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                  R2_MERGEPEN,    R2_NOTMERGEPEN, R2_MASKPEN,    R2_NOTMASKPEN, R2_XORPEN,
                                  R2_NOTXORPEN};
  return kRop2[FMode];
}

HPEN TPen::GetHandle() {
  if (!FHandle) {
    static constexpr int kStyle[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle.Reset(CreatePen(kStyle[FStyle], FWidth, ColorToRGB(FColor)));
  }
  return FHandle.Get();
}

// ----------------------------------------------------------------------------
TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Publish(TPublisher<TBrush>& p) {
  p.Property(L"Color", &TBrush::GetColor, &TBrush::SetColor).Default(clWhite).Idents(ColorIdents);
  p.Property(L"Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Modified() {
  Changing();
  FHandle.Reset();
  Changed();
}

void TBrush::Assign(const TPersistent* Source) {
  if (auto* b = dynamic_cast<const TBrush*>(Source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    if (b->FBitmap) {
      if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(b->FBitmap.get());
    } else {
      FBitmap.reset();
    }
    Modified();
    return;
  }
  inherited::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Modified();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Modified();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (!Value && !FBitmap) return;
  if (Value) {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    FBitmap->Assign(Value);
  } else {
    FBitmap.reset();
  }
  Modified();
}

HBRUSH TBrush::GetHandle() {
  if (!FHandle) {
    LOGBRUSH lb{};
    lb.lbColor = ColorToRGB(FColor);
    if (FBitmap && !FBitmap->Empty()) {
      FHandle.Reset(CreatePatternBrush(FBitmap->GetHandle()));
    } else if (FStyle == bsClear) {
      lb.lbStyle = BS_NULL;
      FHandle.Reset(CreateBrushIndirect(&lb));
    } else if (FStyle == bsSolid) {
      FHandle.Reset(CreateSolidBrush(lb.lbColor));
    } else {
      static constexpr int kHatch[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
      FHandle.Reset(CreateHatchBrush(kHatch[FStyle], lb.lbColor));
    }
  }
  return FHandle.Get();
}
