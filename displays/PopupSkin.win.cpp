#include "displays/PopupSkin.h"

#include <algorithm>
#include <cstring>

#include "displays/SkinImage.h"
#include "vcl/Bitmap.h"
#include "vcl/Dialogs.h"
#include "vcl/ScopeGuards.h"

void TPopupSkinWindow::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  p.ExStyle |= WS_EX_LAYERED;
}

TPopupSkin::TPopupSkin() = default;
TPopupSkin::~TPopupSkin() = default;

bool TPopupSkin::Load(const std::wstring& folder) {
  if (tried_ && folder == folder_) return Usable();
  tried_ = true;
  folder_ = folder;
  skin_ = Displays::ReadSkinFolder(std::filesystem::path(folder));
  clean_ = working_ = {};
  // Told once per folder: the popup goes on without the skin.
  if (!skin_.Problem.empty()) ShowMessage(skin_.Problem);
  return Usable();
}

void TPopupSkin::Prepare(int width, int height, int storedSaturation, int storedHue) {
  clean_ = Displays::NineSliceStretch(skin_.Picture, width, height, skin_.Config.Margins());
  if (storedSaturation != 100) Displays::SaturateSkin(clean_, storedSaturation - 100);
  if (storedHue != 90) Displays::ShiftSkinHue(clean_, 2 * storedHue - 180);
  working_ = clean_;
  if (!window_) window_.reset(CreateFormNew<TPopupSkinWindow>(nullptr));
}

void TPopupSkin::DrawTexts(const std::function<void(TCanvas& canvas)>& paint) {
  working_ = clean_;
  if (working_.empty()) return;
  TBitmap bitmap;
  bitmap.SetPixels(working_, afDefined);
  paint(*bitmap.GetCanvas());
  GdiFlush();
  // What the texts changed is opaque: GDI leaves the alpha of what it draws at 0.
  for (int y = 0; y < working_.height; ++y) {
    const auto* drawn = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
    std::uint8_t* px = working_.row(y);
    for (int x = 0; x < working_.width; ++x, px += 4, drawn += 4) {
      if (std::memcmp(px, drawn, 3) == 0 && px[3] == drawn[3]) continue;
      std::copy_n(drawn, 3, px);
      px[3] = 255;
    }
  }
}

void TPopupSkin::Blend(int left, int top, int alpha) {
  if (!window_ || working_.empty()) return;
  TBitmap bitmap;
  bitmap.SetPixels(working_, afPremultiplied);
  HWND wnd = window_->GetHandle();
  window_->SetBounds(left, top, working_.width, working_.height);
  HDC screen = GetDC(nullptr);
  TOnExit releaseScreen([&] { ReleaseDC(nullptr, screen); });
  HDC memory = CreateCompatibleDC(screen);
  TOnExit deleteMemory([&] { DeleteDC(memory); });
  HGDIOBJ old = SelectObject(memory, bitmap.GetHandle());
  TOnExit deselect([&] { SelectObject(memory, old); });
  POINT to{left, top};
  SIZE size{working_.width, working_.height};
  POINT from{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
  UpdateLayeredWindow(wnd, screen, &to, &size, memory, &from, 0, &blend, ULW_ALPHA);
}

void TPopupSkin::Show() {
  if (window_) window_->ShowWithoutActivation();
}

void TPopupSkin::Hide() {
  if (window_) window_->HideDisplay();
}
