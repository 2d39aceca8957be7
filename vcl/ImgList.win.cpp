#include "vcl/ImgList.h"

#include <algorithm>
#include <cstring>

#include "vcl/Filer.h"
#include "vcl/PngCodec.h"

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

// ----------------------------------------------------------------------------
TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->FSender = nullptr;
  FreeHandle();
}

void TImageList::Publish(TPublisher<TImageList>& p) {
  p.Property(L"AllocBy", &TImageList::GetAllocBy, &TImageList::SetAllocBy).Default(4);
  p.Property(L"BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Default(clNone).Idents(ColorIdents);
  p.Property(L"DrawingStyle", &TImageList::GetDrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  p.Property(L"Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
  p.Property(L"ImageType", &TImageList::GetImageType, &TImageList::SetImageType).Default(itImage);
  p.Property(L"Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
  p.Property(L"ShareImages", &TImageList::GetShareImages, &TImageList::SetShareImages).Default(false);
  p.Property(L"Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
  p.Property(L"OnChange", &TImageList::OnChange);
}

void TCustomImageList::FreeHandle() {
  if (FHandle && !(FAdopted && FShareImages)) ImageList_Destroy(FHandle);
  FHandle = nullptr;
  FAdopted = false;
}

int TCustomImageList::GetCount() const {
  if (FAdopted) return ImageList_GetImageCount(FHandle);
  return int(FImages.size());
}

void TCustomImageList::Resize(int Width, int Height) {
  if (Width <= 0 || Height <= 0) return;
  if (Width == FWidth && Height == FHeight) return;
  FWidth = Width;
  FHeight = Height;
  FImages.clear();
  FreeHandle();
  Change();
}

void TCustomImageList::SetWidth(int Value) { Resize(Value, FHeight); }
void TCustomImageList::SetHeight(int Value) { Resize(FWidth, Value); }

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  if (!FAdopted) FreeHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  if (FHandle) ImageList_SetBkColor(FHandle, Value == clNone ? CLR_NONE : ColorToRGB(Value));
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

HIMAGELIST TCustomImageList::GetHandle() {
  if (!FHandle) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | (FMasked ? ILC_MASK : 0), int(FImages.size()), FAllocBy);
    if (!FHandle) throw EOutOfResources(L"Out of system resources");
    ImageList_SetBkColor(FHandle, FBkColor == clNone ? CLR_NONE : ColorToRGB(FBkColor));
    FHandleStale = true;
  }
  if (FHandleStale && !FAdopted) RebuildHandle();
  return FHandle;
}

void TCustomImageList::RebuildHandle() {
  FHandleStale = false;
  ImageList_Remove(FHandle, -1);
  for (const PixelBuffer& image : FImages) {
    HICON icon = CreateIconFromPixels(image);
    ImageList_ReplaceIcon(FHandle, -1, icon);
    DestroyIcon(icon);
  }
}

void TCustomImageList::SetImagePixels(std::vector<PixelBuffer> Images) {
  if (FAdopted) FreeHandle();
  FImages = std::move(Images);
  FHandleStale = true;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  FreeHandle();
  FImages.clear();
  FHandle = Value;
  FAdopted = Value != nullptr;
  if (Value) {
    int w = 0, h = 0;
    ImageList_GetIconSize(Value, &w, &h);
    FWidth = w;
    FHeight = h;
  }
  Change();
}

// ----------------------------------------------------------------------------
std::vector<PixelBuffer> TCustomImageList::Split(const PixelBuffer& Strip) const {
  std::vector<PixelBuffer> out;
  if (Strip.empty()) return out;
  const int count = std::max(1, Strip.width / FWidth);
  for (int i = 0; i < count; ++i) {
    PixelBuffer image(FWidth, FHeight);
    const int w = std::min(FWidth, Strip.width - i * FWidth), h = std::min(FHeight, Strip.height);
    for (int y = 0; y < h; ++y) std::memcpy(image.row(y), Strip.row(y) + std::size_t(i) * FWidth * 4, std::size_t(w) * 4);
    out.push_back(std::move(image));
  }
  return out;
}

PixelBuffer TCustomImageList::FromBitmap(TBitmap* Image, TBitmap* Mask) const {
  if (!Image || Image->Empty()) return {};
  PixelBuffer pixels = Image->ToPixels();
  if (Mask && !Mask->Empty()) {
    // A set (white) mask pixel marks a transparent image pixel.
    const PixelBuffer mask = Mask->ToPixels();
    for (int y = 0; y < std::min(pixels.height, mask.height); ++y) {
      for (int x = 0; x < std::min(pixels.width, mask.width); ++x) {
        if ((mask.at(x, y) & 0xFFFFFF) != 0) pixels.row(y)[x * 4 + 3] = 0;
      }
    }
  }
  return pixels;
}

PixelBuffer TCustomImageList::FromMasked(TBitmap* Image, TColor MaskColor) const {
  if (!Image || Image->Empty()) return {};
  PixelBuffer pixels = Image->ToPixels();
  const TColor key = ColorToRGB(MaskColor == clDefault ? Image->GetPixel(0, Image->GetHeight() - 1) : MaskColor);
  for (std::size_t i = 0; i < pixels.bytes.size(); i += 4) {
    const std::uint8_t* p = &pixels.bytes[i];
    if (p[0] == GetBValue(key) && p[1] == GetGValue(key) && p[2] == GetRValue(key)) pixels.bytes[i + 3] = 0;
  }
  return pixels;
}

PixelBuffer TCustomImageList::FromIcon(TIcon* Image) const {
  if (!Image || Image->Empty()) return {};
  return ScalePixels(Image->ToPixels(), FWidth, FHeight);
}

void TCustomImageList::InsertImages(int Index, std::vector<PixelBuffer> Images) {
  if (Images.empty()) return;
  if (FAdopted) {
    for (const PixelBuffer& image : Images) {
      HICON icon = CreateIconFromPixels(image);
      ImageList_ReplaceIcon(FHandle, -1, icon);
      DestroyIcon(icon);
    }
  } else {
    Index = std::clamp(Index, 0, int(FImages.size()));
    FImages.insert(FImages.begin() + Index, std::make_move_iterator(Images.begin()), std::make_move_iterator(Images.end()));
    FHandleStale = true;
  }
  Change();
}

int TCustomImageList::AddPixels(const PixelBuffer& Pixels) {
  if (Pixels.empty()) return -1;
  const int first = GetCount();
  InsertImages(first, Split(Pixels));
  return first;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) { return AddPixels(FromBitmap(Image, Mask)); }

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) { return AddPixels(FromMasked(Image, MaskColor)); }

int TCustomImageList::AddIcon(TIcon* Image) { return AddPixels(FromIcon(Image)); }

int TCustomImageList::AddPicture(TGraphic* Image) {
  if (!Image || Image->Empty()) return -1;
  return AddPixels(ScalePixels(Image->ToPixels(), FWidth, FHeight));
}

int TCustomImageList::AddImage(TCustomImageList* Value, int Index) {
  if (!Value) return -1;
  const PixelBuffer pixels = Value->GetPixels(Index);
  if (pixels.empty()) return -1;
  return AddPixels(ScalePixels(pixels, FWidth, FHeight));
}

void TCustomImageList::AddImages(TCustomImageList* Value) {
  if (!Value || Value == this) return;
  BeginUpdate();
  for (int i = 0; i < Value->GetCount(); ++i) AddImage(Value, i);
  EndUpdate();
}

void TCustomImageList::Clear() { StoreClear(); }

void TCustomImageList::Delete(int Index) { StoreDelete(Index); }

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
  InsertImages(Index, Split(FromBitmap(Image, Mask)));
}

void TCustomImageList::InsertIcon(int Index, TIcon* Image) {
  PixelBuffer pixels = FromIcon(Image);
  if (!pixels.empty()) InsertImages(Index, {std::move(pixels)});
}

void TCustomImageList::InsertMasked(int Index, TBitmap* Image, TColor MaskColor) {
  InsertImages(Index, Split(FromMasked(Image, MaskColor)));
}

void TCustomImageList::Move(int CurIndex, int NewIndex) { StoreMove(CurIndex, NewIndex); }

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= GetCount()) return;
  const std::vector<PixelBuffer> images = Split(FromBitmap(Image, Mask));
  if (!images.empty()) StoreReplace(Index, images[0]);
}

void TCustomImageList::ReplaceIcon(int Index, TIcon* Image) {
  if (Index < 0 || Index >= GetCount()) return;
  StoreReplace(Index, FromIcon(Image));
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) {
  if (Index < 0 || Index >= GetCount()) return;
  const std::vector<PixelBuffer> images = Split(FromMasked(NewImage, MaskColor));
  if (!images.empty()) StoreReplace(Index, images[0]);
}

// ----------------------------------------------------------------------------
namespace {

void ReplaceIn(HIMAGELIST list, int index, const PixelBuffer& pixels) {
  HICON icon = CreateIconFromPixels(pixels);
  ImageList_ReplaceIcon(list, index, icon);
  DestroyIcon(icon);
}

}  // namespace

PixelBuffer TCustomImageList::Fitted(const PixelBuffer& Image) const {
  if (Image.width == FWidth && Image.height == FHeight) return Image;
  return ScalePixels(Image, FWidth, FHeight);
}

void TCustomImageList::StoreInsert(int Index, const PixelBuffer& Image) {
  if (Image.empty() || Index < 0 || Index > GetCount()) return;
  InsertImages(Index, {Fitted(Image)});
}

void TCustomImageList::StoreMove(int CurIndex, int NewIndex) {
  const int count = GetCount();
  if (CurIndex < 0 || CurIndex >= count || NewIndex < 0 || NewIndex >= count || CurIndex == NewIndex) return;
  if (FAdopted) {
    ImageList_Copy(FHandle, NewIndex, FHandle, CurIndex, ILCF_MOVE);
  } else {
    PixelBuffer moving = std::move(FImages[CurIndex]);
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, std::move(moving));
    FHandleStale = true;
  }
  Change();
}

void TCustomImageList::StoreReplace(int Index, const PixelBuffer& Image) {
  if (Image.empty() || Index < 0 || Index >= GetCount()) return;
  if (FAdopted) {
    ReplaceIn(FHandle, Index, Fitted(Image));
  } else {
    FImages[Index] = Fitted(Image);
    FHandleStale = true;
  }
  Change();
}

void TCustomImageList::StoreDelete(int Index) {
  if (Index < 0 || Index >= GetCount()) return;
  if (FAdopted) {
    ImageList_Remove(FHandle, Index);
  } else {
    FImages.erase(FImages.begin() + Index);
    FHandleStale = true;
  }
  Change();
}

void TCustomImageList::StoreClear() {
  if (FAdopted) ImageList_Remove(FHandle, -1);
  FImages.clear();
  FHandleStale = true;
  Change();
}

// ----------------------------------------------------------------------------
PixelBuffer TCustomImageList::GetPixels(int Index) const {
  if (Index < 0 || Index >= GetCount()) return {};
  if (!FAdopted) return FImages[Index];
  HICON icon = ImageList_GetIcon(FHandle, Index, ILD_NORMAL);
  PixelBuffer pixels = PixelsFromIcon(icon);
  if (icon) DestroyIcon(icon);
  return pixels;
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
  if (!Image) return;
  const PixelBuffer pixels = GetPixels(Index);
  if (pixels.empty()) return;
  Image->SetPixels(pixels);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image) return false;
  const PixelBuffer pixels = GetPixels(Index);
  if (pixels.empty()) return false;
  Image->SetPixels(pixels, afDefined);
  return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= GetCount()) return;
  static constexpr UINT kStyle[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  DoDraw(Index, Canvas, X, Y, kStyle[FDrawingStyle], Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  HDC dc = Canvas->GetHandle();
  const TRect r = Bounds(X, Y, FWidth, FHeight);
  if (FAdopted && Enabled) {
    ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, FBkColor == clNone ? CLR_NONE : ColorToRGB(FBkColor), CLR_DEFAULT,
                     Style);
    return;
  }
  PixelBuffer pixels = GetPixels(Index);
  if (!Enabled) {
    // The disabled look: grey at half opacity.
    for (std::size_t i = 0; i < pixels.bytes.size(); i += 4) {
      std::uint8_t* p = &pixels.bytes[i];
      const std::uint8_t g = std::uint8_t((p[2] * 30 + p[1] * 59 + p[0] * 11 + 50) / 100);
      p[0] = p[1] = p[2] = g;
      p[3] = std::uint8_t(p[3] / 2);
    }
  }
  if (FBkColor != clNone) {
    const TColor bk = ColorToRGB(FBkColor);
    HBRUSH brush = CreateSolidBrush(bk);
    const RECT rr = AsRECT(r);
    FillRect(dc, &rr, brush);
    DeleteObject(brush);
  }
  DrawPixelBuffer(dc, r, pixels, true);
}

// ----------------------------------------------------------------------------
void TCustomImageList::BeginUpdate() { ++FUpdateCount; }

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value) return;
  if (Value->FSender && Value->FSender != this) Value->FSender->UnRegisterChanges(Value);
  Value->FSender = this;
  if (std::find(FLinks.begin(), FLinks.end(), Value) == FLinks.end()) FLinks.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FLinks.begin(), FLinks.end(), Value);
  if (it == FLinks.end()) return;
  FLinks.erase(it);
  Value->FSender = nullptr;
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  FChanged = false;
  // A link may unregister itself while told: walk a copy.
  const std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links) {
    if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) link->Change();
  }
  if (OnChange) OnChange(this);
}

void TCustomImageList::AssignTo(TPersistent* Dest) const {
  auto* list = dynamic_cast<TCustomImageList*>(Dest);
  if (!list) {
    inherited::AssignTo(Dest);
    return;
  }
  list->BeginUpdate();
  list->Clear();
  list->FWidth = FWidth;
  list->FHeight = FHeight;
  list->FMasked = FMasked;
  list->FAllocBy = FAllocBy;
  list->FBkColor = FBkColor;
  list->FDrawingStyle = FDrawingStyle;
  list->FImageType = FImageType;
  list->FreeHandle();
  for (int i = 0; i < GetCount(); ++i) list->AddPixels(GetPixels(i));
  list->FChanged = true;
  list->EndUpdate();
}

void TCustomImageList::DefineProperties(TFiler& Filer) {
  inherited::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      L"Bitmap", [this](const std::vector<std::uint8_t>& data) { ReadData(data); },
      [this](std::vector<std::uint8_t>& data) { WriteData(data); }, GetCount() > 0);
}

void TCustomImageList::ReadData(const std::vector<std::uint8_t>& Data) {
  if (Data.empty()) return;
  std::unique_ptr<TGraphic> strip = TPicture::CreateGraphicForData(Data.data(), Data.size());
  if (!strip) throw EInvalidGraphic(L"Unknown image list data");
  strip->LoadFromBytes(Data);
  BeginUpdate();
  Clear();
  AddPixels(strip->ToPixels());
  EndUpdate();
}

void TCustomImageList::WriteData(std::vector<std::uint8_t>& Data) const {
  const int count = GetCount();
  if (count == 0) {
    Data.clear();
    return;
  }
  PixelBuffer strip(FWidth * count, FHeight);
  for (int i = 0; i < count; ++i) {
    const PixelBuffer image = GetPixels(i);
    for (int y = 0; y < std::min(FHeight, image.height); ++y)
      std::memcpy(strip.row(y) + std::size_t(i) * FWidth * 4, image.row(y), std::size_t(std::min(FWidth, image.width)) * 4);
  }
  Data = EncodePng(PngImageData::FromPixels(strip));
}

bool SetImageListSlot(TCustomImageList*& slot, TCustomImageList* list, const TCustomImageList* sibling,
                      TChangeLink* link, TComponent* owner) {
  if (slot == list) return false;
  if (slot && slot != sibling) {
    slot->UnRegisterChanges(link);
    slot->RemoveFreeNotification(owner);
  }
  slot = list;
  if (list) {
    list->RegisterChanges(link);
    list->FreeNotification(owner);
  }
  return true;
}
