#include "controls/visual/PngImageList.h"

#include "controls/visual/CommonControlsVersion.h"
#include "controls/visual/PngPixelMath.h"
#include "vcl/Filer.h"
#include "vcl/Win.h"

namespace Flat {

// ---------------------------------------------------------------------------------------
TPngImageCollectionItem::TPngImageCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TPngImage>()) {
  FName = L"PngImage" + std::to_wstring(Index());
  FPngImage->OnChange = TNotifyEvent(this, &TPngImageCollectionItem::ImageChanged);
}

TPngImageCollectionItem::~TPngImageCollectionItem() { FPngImage->OnChange = nullptr; }

void TPngImageCollectionItem::Publish(TPublisher<TPngImageCollectionItem>& p) {
  p.Property(L"Background", &TPngImageCollectionItem::GetBackground, &TPngImageCollectionItem::SetBackground)
      .Default(clBtnFace)
      .Idents(ColorIdents);
  p.Property(L"Name", &TPngImageCollectionItem::GetName, &TPngImageCollectionItem::SetName);
  p.Property(L"PngImage", &TPngImageCollectionItem::GetPngImage, &TPngImageCollectionItem::SetPngImage);
}

void TPngImageCollectionItem::Assign(const TPersistent* Source) {
  auto* item = dynamic_cast<const TPngImageCollectionItem*>(Source);
  if (!item) {
    inherited::Assign(Source);
    return;
  }
  if (item == this) return;
  FName = item->FName;
  FBackground = item->FBackground;
  SetPngImage(item->FPngImage.get());
}

std::wstring TPngImageCollectionItem::GetDisplayName() const {
  return FName.empty() ? inherited::GetDisplayName() : FName;
}

void TPngImageCollectionItem::SetPngImage(TPngImage* Value) {
  if (Value == FPngImage.get()) return;
  // Assign signals the change through the picture's OnChange.
  if (Value)
    FPngImage->Assign(Value);
  else
    FPngImage->Assign(nullptr);
}

void TPngImageCollectionItem::SetName(const std::wstring& Value) {
  if (Value == FName) return;
  FName = Value;
  Changed(false);
}

void TPngImageCollectionItem::SetBackground(TColor Value) {
  if (Value == FBackground) return;
  FBackground = Value;
  Changed(false);
}

void TPngImageCollectionItem::ImageChanged(TObject*) { Changed(false); }

// ---------------------------------------------------------------------------------------
TPngImageCollectionItems::TPngImageCollectionItems(TPersistent* Owner)
    : TCollection(TPngImageCollectionItem::StaticClass(), Owner) {
  SetPropName(dynamic_cast<TPngImageList*>(Owner) ? L"PngImages" : L"Items");
}

TPngImageCollectionItem* TPngImageCollectionItems::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return Items(Index);
}

void TPngImageCollectionItems::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (auto* list = dynamic_cast<TPngImageList*>(GetOwner())) {
    list->RebuildImageList();
    list->Change();
  }
}

// ---------------------------------------------------------------------------------------
TPngImageCollection::TPngImageCollection(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPngImageCollectionItems>(this)) {}

TPngImageCollection::~TPngImageCollection() = default;

void TPngImageCollection::Publish(TPublisher<TPngImageCollection>& p) {
  p.Property(L"Items", &TPngImageCollection::GetItems, &TPngImageCollection::SetItems);
}

void TPngImageCollection::SetItems(TPngImageCollectionItems* Value) {
  if (Value != FItems.get()) FItems->Assign(Value);
}

// ---------------------------------------------------------------------------------------
TPngImageList::TPngImageList(TComponent* AOwner)
    : TImageList(AOwner), FPngImages(std::make_unique<TPngImageCollectionItems>(this)) {}

TPngImageList::~TPngImageList() {
  // The items go first, while the list they report to is whole.
  ++FUpdateCount;
  FPngImages.reset();
}

void TPngImageList::Publish(TPublisher<TPngImageList>& p) {
  p.Property(L"EnabledImages", &TPngImageList::GetEnabledImages, &TPngImageList::SetEnabledImages).Default(true);
  p.Property(L"PngImages", &TPngImageList::GetPngImages, &TPngImageList::SetPngImages);
  p.Property(L"PngOptions", &TPngImageList::GetPngOptions, &TPngImageList::SetPngOptions)
      .Default(TPngOptions{pngBlendOnDisabled});
  p.Property(L"Height", &TPngImageList::GetHeight, &TPngImageList::SetHeight).Default(16);
  p.Property(L"Width", &TPngImageList::GetWidth, &TPngImageList::SetWidth).Default(16);
}

void TPngImageList::SetEnabledImages(bool Value) {
  if (Value == FEnabledImages) return;
  FEnabledImages = Value;
  RebuildImageList();
  Change();
}

void TPngImageList::SetPngImages(TPngImageCollectionItems* Value) {
  if (!Value || Value == FPngImages.get()) return;
  BeginUpdate();
  FPngImages->Assign(Value);
  EndUpdate();
}

void TPngImageList::SetPngOptions(TPngOptions Value) {
  if (Value == FPngOptions) return;
  FPngOptions = Value;
  RebuildImageList();
  Change();
}

// A form may name the size after the pictures: while it is read the pictures stay
// and are fitted to the size once the form is whole.
void TPngImageList::SetWidth(int Value) {
  if (Value == GetWidth()) return;
  inherited::SetWidth(Value);
  if (ComponentState().Contains(csLoading)) return;
  Clear();
}

void TPngImageList::SetHeight(int Value) {
  if (Value == GetHeight()) return;
  inherited::SetHeight(Value);
  if (ComponentState().Contains(csLoading)) return;
  Clear();
}

void TPngImageList::Loaded() {
  inherited::Loaded();
  RebuildImageList();
  Change();
}

void TPngImageList::BeginUpdate() {
  ++FUpdateCount;
  inherited::BeginUpdate();
}

void TPngImageList::EndUpdate(bool Rebuild) {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && Rebuild) {
    RebuildImageList();
    Change();
  }
  inherited::EndUpdate();
}

PixelBuffer TPngImageList::NativePixels(const TPngImageCollectionItem& Item) const {
  const int w = GetWidth(), h = GetHeight();
  TPngImage* image = Item.GetPngImage();
  // An item without a picture still takes its index: menus and the tray find the
  // icon of item i at native index i.
  if (!image || image->Empty()) return PixelBuffer(w, h);
  PixelBuffer pixels;
  if (FEnabledImages || FPngOptions.Empty())
    pixels = image->ToPixels();
  else
    pixels = DisabledCopy(image, FPngOptions)->ToPixels();
  if (pixels.width != w || pixels.height != h) pixels = ScalePixels(pixels, w, h);
  return IconPixels(pixels, CommonControlsMajorVersion() >= 6, std::uint32_t(ColorToRGB(Item.GetBackground())) & 0xFFFFFF);
}

void TPngImageList::RebuildImageList() {
  if (FUpdateCount > 0 || !FPngImages) return;
  std::vector<PixelBuffer> images;
  images.reserve(std::size_t(FPngImages->Count()));
  for (int i = 0; i < FPngImages->Count(); ++i) images.push_back(NativePixels(*FPngImages->Items(i)));
  SetImagePixels(std::move(images));
}

// ---------------------------------------------------------------------------------------
int TPngImageList::AddPng(std::unique_ptr<TPngImage> Image) {
  if (!Image) return -1;
  BeginUpdate();
  TPngImageCollectionItem* item = FPngImages->Add();
  item->SetPngImage(Image.get());
  const int index = item->Index();
  EndUpdate();
  return index;
}

void TPngImageList::InsertPng(int Index, std::unique_ptr<TPngImage> Image) {
  if (!Image) return;
  BeginUpdate();
  TPngImageCollectionItem* item = FPngImages->Insert(std::clamp(Index, 0, FPngImages->Count()));
  item->SetPngImage(Image.get());
  EndUpdate();
}

void TPngImageList::ReplacePng(int Index, std::unique_ptr<TPngImage> Image) {
  TPngImageCollectionItem* item = FPngImages->GetItem(Index);
  if (!item || !Image) return;
  BeginUpdate();
  item->SetPngImage(Image.get());
  EndUpdate();
}

int TPngImageList::Add(TBitmap* Image, TBitmap* Mask) { return AddPng(PNGFromBitmapAndMask(Image, Mask, true)); }

int TPngImageList::AddIcon(TIcon* Image) { return AddPng(PNGFromGraphic(Image)); }

int TPngImageList::AddMasked(TBitmap* Image, TColor MaskColor) { return AddPng(PNGFromMaskColor(Image, MaskColor)); }

int TPngImageList::AddImage(TCustomImageList* Value, int Index) { return AddPng(PNGFromImageList(Value, Index)); }

void TPngImageList::AddImages(TCustomImageList* Value) {
  if (!Value || Value == this) return;
  BeginUpdate();
  for (int i = 0; i < Value->GetCount(); ++i) AddPng(PNGFromImageList(Value, i));
  EndUpdate();
}

void TPngImageList::Clear() {
  BeginUpdate();
  FPngImages->Clear();
  EndUpdate();
}

void TPngImageList::Delete(int Index) {
  if (Index < 0 || Index >= FPngImages->Count()) return;
  BeginUpdate();
  FPngImages->Delete(Index);
  EndUpdate();
}

void TPngImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask) {
  InsertPng(Index, PNGFromBitmapAndMask(Image, Mask, true));
}

void TPngImageList::InsertIcon(int Index, TIcon* Image) { InsertPng(Index, PNGFromGraphic(Image)); }

void TPngImageList::InsertMasked(int Index, TBitmap* Image, TColor MaskColor) {
  InsertPng(Index, PNGFromMaskColor(Image, MaskColor));
}

void TPngImageList::Move(int CurIndex, int NewIndex) {
  const int count = FPngImages->Count();
  if (CurIndex < 0 || CurIndex >= count || NewIndex < 0 || NewIndex >= count || CurIndex == NewIndex) return;
  BeginUpdate();
  FPngImages->Items(CurIndex)->SetIndex(NewIndex);
  EndUpdate();
}

void TPngImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  ReplacePng(Index, PNGFromBitmapAndMask(Image, Mask, true));
}

void TPngImageList::ReplaceIcon(int Index, TIcon* Image) { ReplacePng(Index, PNGFromGraphic(Image)); }

void TPngImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) {
  ReplacePng(Index, PNGFromMaskColor(NewImage, MaskColor));
}

// ---------------------------------------------------------------------------------------
void TPngImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool Enabled) {
  TPngImageCollectionItem* item = FPngImages->GetItem(Index);
  if (!item || !Canvas) return;
  const TPngOptions options = Enabled ? TPngOptions{} : FPngOptions;
  DrawPNG(item->GetPngImage(), Canvas, Bounds(X, Y, GetWidth(), GetHeight()), options);
}

void TPngImageList::AssignTo(TPersistent* Dest) const {
  inherited::AssignTo(Dest);
  if (auto* list = dynamic_cast<TPngImageList*>(Dest)) {
    list->BeginUpdate();
    list->FPngImages->Assign(FPngImages.get());
    list->FEnabledImages = FEnabledImages;
    list->EndUpdate();
  }
}

void TPngImageList::DefineProperties(TFiler& Filer) {
  // The component's own values, then "Bitmap" accepted and ignored when read, never written.
  TComponent::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      L"Bitmap", [this](const std::vector<std::uint8_t>& data) { ReadData(data); },
      [this](std::vector<std::uint8_t>& data) { WriteData(data); }, false);
}

void TPngImageList::ReadData(const std::vector<std::uint8_t>&) {}

void TPngImageList::WriteData(std::vector<std::uint8_t>& Data) const { Data.clear(); }

}  // namespace Flat
