#include "controls/visual/HTMLPicture.h"

#include <algorithm>
#include <cstring>

#include "vcl/Streams.h"
#include "vcl/SysUtils.h"
#include "vcl/Win.h"

namespace Flat {

// --- THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Publish(TPublisher<THTMLPicture>& p) {
  p.Property(L"Stretch", &THTMLPicture::GetStretch, &THTMLPicture::SetStretch).Default(false);
  p.Property(L"Frame", &THTMLPicture::GetFrame, &THTMLPicture::SetFrame).Default(1);
  p.Property(L"OnFrameChange", &THTMLPicture::OnFrameChange);
}

void THTMLPicture::Clear() {
  FBytes.clear();
  FFrames.clear();
  FIsGif = false;
  FWidth = FHeight = 0;
  FFrame = 1;
  FAnimating = false;
}

void THTMLPicture::Assign(const TPersistent* Source) {
  if (!Source) {
    Clear();
    Changed();
    return;
  }
  if (auto* p = dynamic_cast<const THTMLPicture*>(Source)) {
    if (p == this) return;
    FBytes = p->FBytes;
    FFrames = p->FFrames;
    FIsGif = p->FIsGif;
    FWidth = p->FWidth;
    FHeight = p->FHeight;
    FFrame = p->FFrame;
    FStretch = p->FStretch;
    FID = p->FID;
    FAnimating = false;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void THTMLPicture::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  Clear();
  if (!Data || Size == 0) throw EInvalidGraphic("The picture has no data");
  if (Size >= 4 && std::memcmp(Data, "GIF8", 4) == 0) {
    GifAnimation gif = DecodeGifFrames(Data, Size);
    FFrames = std::move(gif.Frames);
    FWidth = gif.Width;
    FHeight = gif.Height;
    FIsGif = true;
  } else {
    std::unique_ptr<TGraphic> graphic = TPicture::CreateGraphicForData(Data, Size);
    if (!graphic) throw EInvalidGraphic("Unknown picture format");
    graphic->LoadFromBytes(Data, Size);
    GifFrame still;
    still.Pixels = graphic->ToPixels();
    if (still.Pixels.empty()) throw EInvalidGraphic("The picture is empty");
    FWidth = still.Pixels.width;
    FHeight = still.Pixels.height;
    FFrames.push_back(std::move(still));
  }
  FBytes.assign(Data, Data + Size);
  Changed();
}

PixelBuffer THTMLPicture::ToPixels() const { return FramePixels(); }

const PixelBuffer& THTMLPicture::FramePixels() const {
  static const PixelBuffer none;
  return Empty() ? none : FFrames[FFrame - 1].Pixels;
}

// Pictures come from tagged text, which may name any file or resource: whatever goes
// wrong (no such file, no picture, no memory for one) leaves the picture empty, and
// the label gives it no room, which is all the user sees of it.
void THTMLPicture::LoadFromFile(const std::wstring& FileName) {
  try {
    TGraphic::LoadFromFile(FileName);
  } catch (...) {
    Clear();
  }
}

void THTMLPicture::LoadFromResourceName(void* Instance, const std::wstring& Name) {
  Clear();
  HRSRC res = FindResourceW(static_cast<HMODULE>(Instance), Name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = res ? LoadResource(static_cast<HMODULE>(Instance), res) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return;
  try {
    LoadFromBytes(static_cast<const std::uint8_t*>(bytes), SizeofResource(static_cast<HMODULE>(Instance), res));
  } catch (...) {
    Clear();
  }
}

void THTMLPicture::LoadFromURL(const std::wstring& Address) {
  const std::wstring upper = UpperCase(Address);
  FID = Address;
  if (upper.starts_with(L"RES://")) {
    LoadFromResourceName(GetModuleHandleW(nullptr), Address.substr(6));
  } else if (upper.starts_with(L"FILE://")) {
    LoadFromFile(Address.substr(7));
  } else {
    Clear();  // no downloads: the address is kept, the picture stays empty
  }
}

void THTMLPicture::SetFrame(int Value) {
  FAnimating = false;  // the next Animate goes on from here
  SelectFrame(Value);
}

void THTMLPicture::SelectFrame(int Value) {
  if (FIsGif) Value = std::clamp(Value, 1, int(FFrames.size()));
  else Value = std::max(Value, 1);
  if (Value == FFrame) return;
  FFrame = Value;
  if (!Empty() && OnFrameChange) OnFrameChange(this);
}

int THTMLPicture::FrameLeft() const { return Empty() ? 0 : FFrames[FFrame - 1].Left; }
int THTMLPicture::FrameTop() const { return Empty() ? 0 : FFrames[FFrame - 1].Top; }
int THTMLPicture::FrameWidth() const { return Empty() ? 0 : FFrames[FFrame - 1].Pixels.width; }
int THTMLPicture::FrameHeight() const { return Empty() ? 0 : FFrames[FFrame - 1].Pixels.height; }

std::uint64_t THTMLPicture::FrameDelay(int Index) const {
  return FFrames[std::size_t(Index)].DelayMs ? FFrames[std::size_t(Index)].DelayMs : kDefaultDelayMs;
}

void THTMLPicture::StartAnimation(std::uint64_t nowMs) {
  if (FAnimating || FFrames.size() < 2) return;
  FAnimating = true;
  // Anchored so that the frame selected now has just begun.
  std::uint64_t before = 0;
  for (int i = 0; i < FFrame - 1; ++i) before += FrameDelay(i);
  FAnimationStart = nowMs - before;
}

bool THTMLPicture::Animate(std::uint64_t nowMs) {
  if (FFrames.size() < 2) return false;
  StartAnimation(nowMs);
  std::uint64_t cycle = 0;
  for (int i = 0; i < int(FFrames.size()); ++i) cycle += FrameDelay(i);
  std::uint64_t at = (nowMs - FAnimationStart) % cycle;
  int frame = 1;
  for (int i = 0; i < int(FFrames.size()) - 1 && at >= FrameDelay(i); ++i) {
    at -= FrameDelay(i);
    ++frame;
  }
  const int before = FFrame;
  SelectFrame(frame);
  return FFrame != before;
}

void THTMLPicture::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Changed();
}

TRect THTMLPicture::FrameRect(const TRect& Whole) const {
  if (Empty() || FWidth <= 0 || FHeight <= 0) return TRect{Whole.Left, Whole.Top, Whole.Left, Whole.Top};
  const GifFrame& f = FFrames[FFrame - 1];
  const int w = Whole.Width(), h = Whole.Height();
  return TRect{Whole.Left + MulDiv(f.Left, w, FWidth), Whole.Top + MulDiv(f.Top, h, FHeight),
               Whole.Left + MulDiv(f.Left + f.Pixels.width, w, FWidth),
               Whole.Top + MulDiv(f.Top + f.Pixels.height, h, FHeight)};
}

void THTMLPicture::DrawWhole(TCanvas& ACanvas, const TRect& Whole) const {
  if (Empty() || Whole.Width() <= 0 || Whole.Height() <= 0) return;
  HDC dc = ACanvas.GetHandle();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, Whole.Left, Whole.Top, Whole.Right, Whole.Bottom);
  DrawPixelBuffer(dc, FrameRect(Whole), FFrames[FFrame - 1].Pixels, true);
  RestoreDC(dc, saved);
}

void THTMLPicture::DrawTiled(TCanvas& ACanvas, const TRect& Area) const {
  if (Empty()) return;
  HDC dc = ACanvas.GetHandle();
  int w = MulDiv(FWidth, GetDeviceCaps(dc, LOGPIXELSX), 96);
  int h = MulDiv(FHeight, GetDeviceCaps(dc, LOGPIXELSY), 96);
  RECT clip{};
  if (w <= 0 || h <= 0 || GetClipBox(dc, &clip) == NULLREGION) return;
  const TRect visible{std::max(Area.Left, int(clip.left)), std::max(Area.Top, int(clip.top)),
                      std::min(Area.Right, int(clip.right)), std::min(Area.Bottom, int(clip.bottom))};
  if (visible.Width() <= 0 || visible.Height() <= 0) return;

  // A small picture is first repeated into a tile of at least kMinTileSide pixels a
  // side, so that the cells drawn stay few.
  const int across = std::max(1, (kMinTileSide + w - 1) / w);
  const int down = std::max(1, (kMinTileSide + h - 1) / h);
  PixelBuffer tile;
  if (across > 1 || down > 1) {
    PixelBuffer whole(FWidth, FHeight);
    const GifFrame& f = FFrames[FFrame - 1];
    BlendOver(whole, f.Pixels, f.Left, f.Top);  // a frame off the picture is cut at its edge
    tile = PixelBuffer(FWidth * across, FHeight * down);
    for (int j = 0; j < down; ++j)
      for (int i = 0; i < across; ++i) BlendOver(tile, whole, i * FWidth, j * FHeight);
    w *= across;
    h *= down;
  }

  const int saved = SaveDC(dc);
  IntersectClipRect(dc, visible.Left, visible.Top, visible.Right, visible.Bottom);
  // The first cell that reaches the visible part, counted from the area's top left.
  const int firstX = Area.Left + (visible.Left - Area.Left) / w * w;
  const int firstY = Area.Top + (visible.Top - Area.Top) / h * h;
  for (int y = firstY; y < visible.Bottom; y += h)
    for (int x = firstX; x < visible.Right; x += w) {
      const TRect cell{x, y, x + w, y + h};
      if (tile.empty()) DrawWhole(ACanvas, cell);
      else DrawPixelBuffer(dc, cell, tile, true);
    }
  RestoreDC(dc, saved);
}

void THTMLPicture::Draw(TCanvas& ACanvas, const TRect& R) {
  TRect whole = R;
  if (!FStretch) {
    HDC dc = ACanvas.GetHandle();
    whole.Right = R.Left + MulDiv(FWidth, GetDeviceCaps(dc, LOGPIXELSX), 96);
    whole.Bottom = R.Top + MulDiv(FHeight, GetDeviceCaps(dc, LOGPIXELSY), 96);
  }
  DrawWhole(ACanvas, whole);
}

// --- THTMLPictureCache

THTMLPicture* THTMLPictureCache::AddPicture() {
  FPictures.push_back(std::make_unique<THTMLPicture>());
  return FPictures.back().get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const std::wstring& Address) const {
  for (const auto& p : FPictures)
    if (p->GetID() == Address) return p.get();
  return nullptr;
}

// --- the container

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}
TPictureItem::~TPictureItem() = default;

void TPictureItem::Publish(TPublisher<TPictureItem>& p) {
  p.Property(L"Picture", &TPictureItem::GetPicture, &TPictureItem::SetPicture);
  p.Property(L"Name", &TPictureItem::GetName, &TPictureItem::SetName);
  p.Property(L"Tag", &TPictureItem::GetTag, &TPictureItem::SetTag).Default(0);
}

void TPictureItem::Assign(const TPersistent* Source) {
  if (auto* item = dynamic_cast<const TPictureItem*>(Source)) {
    FPicture->Assign(item->FPicture.get());
    FName = item->FName;
    FTag = item->FTag;
    return;
  }
  inherited::Assign(Source);
}

TPictureCollection::TPictureCollection(TPersistent* Owner) : TCollection(TPictureItem::StaticClass(), Owner) {
  SetPropName(L"Items");
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}
TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::Publish(TPublisher<TPictureContainer>& p) {
  p.Property(L"Items", &TPictureContainer::GetItems, &TPictureContainer::SetItems);
  p.Property(L"Version", &TPictureContainer::GetVersion, &TPictureContainer::SetVersion);
}

THTMLPicture* TPictureContainer::FindPicture(const std::wstring& Name) const {
  for (int i = 0; i < FItems->Count(); ++i)
    if (SameText(FItems->Items(i)->GetName(), Name)) return FItems->Items(i)->GetPicture();
  return nullptr;
}

}  // namespace Flat
