// PNG images kept with their alpha channel: TPngImageCollection, a named set of
// them for code that draws pictures itself, and TPngImageList, an image list whose
// images are PNG items. The PNG list keeps the image list's own pixels, and so
// its native list for menus and the tray, in step with its items, one native
// image per item (a transparent one for an item without a picture), drawn blended
// and/or grey while EnabledImages is off.
//
// The image operations of TCustomImageList are virtual: called through a
// TImageList pointer they reach the PNG list's versions, which keep the items.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "controls/visual/PngFunctions.h"
#include "vcl/Collection.h"
#include "vcl/ImgList.h"
#include "vcl/PngImage.h"

namespace Flat {

class TPngImageCollectionItem : public TCollectionItem {
  QORN_CLASS(TPngImageCollectionItem, TCollectionItem)
 public:
  // A new item is named "PngImage<index>" and holds an empty picture.
  explicit TPngImageCollectionItem(TCollection* Collection);
  ~TPngImageCollectionItem() override;
  // From another item: its picture, Background and Name.
  void Assign(const TPersistent* Source) override;
  std::wstring GetDisplayName() const override;

  // The item's own picture; changing it in place signals the change too.
  TPngImage* GetPngImage() const { return FPngImage.get(); }
  // Copies Value (nullptr empties the picture).
  void SetPngImage(TPngImage* Value);
  std::wstring GetName() const { return FName; }
  void SetName(const std::wstring& Value);
  // Behind the picture in icons for common controls older than version 6.
  TColor GetBackground() const { return FBackground; }
  void SetBackground(TColor Value);

 private:
  static void Publish(TPublisher<TPngImageCollectionItem>& p);
  void ImageChanged(TObject* Sender);
  std::unique_ptr<TPngImage> FPngImage;
  std::wstring FName;
  TColor FBackground = clBtnFace;
};

class TPngImageCollectionItems : public TCollection {
  QORN_CLASS(TPngImageCollectionItems, TCollection)
 public:
  // Owner: the PNG image list or PNG collection that holds the items.
  explicit TPngImageCollectionItems(TPersistent* Owner);
  TPngImageCollectionItem* Add() { return static_cast<TPngImageCollectionItem*>(TCollection::Add()); }
  TPngImageCollectionItem* Insert(int Index) { return static_cast<TPngImageCollectionItem*>(TCollection::Insert(Index)); }
  TPngImageCollectionItem* Items(int Index) const { return static_cast<TPngImageCollectionItem*>(TCollection::Items(Index)); }
  // nullptr for an index outside 0..Count-1.
  TPngImageCollectionItem* GetItem(int Index) const;

 protected:
  // Makes a PNG image list owner build its native images again.
  void Update(TCollectionItem* Item) override;
};

class TPngImageCollection : public TComponent {
  QORN_CLASS(TPngImageCollection, TComponent)
 public:
  explicit TPngImageCollection(TComponent* AOwner);
  ~TPngImageCollection() override;
  TPngImageCollectionItems* GetItems() const { return FItems.get(); }
  void SetItems(TPngImageCollectionItems* Value);

 private:
  static void Publish(TPublisher<TPngImageCollection>& p);
  std::unique_ptr<TPngImageCollectionItems> FItems;
};

class TPngImageList : public TImageList {
  QORN_CLASS(TPngImageList, TImageList)
 public:
  explicit TPngImageList(TComponent* AOwner);
  ~TPngImageList() override;

  bool GetEnabledImages() const { return FEnabledImages; }
  // Off: every image (native ones too) has the disabled look PngOptions give.
  virtual void SetEnabledImages(bool Value);
  TPngImageCollectionItems* GetPngImages() const { return FPngImages.get(); }
  // Copies the items of another collection.
  virtual void SetPngImages(TPngImageCollectionItems* Value);
  TPngOptions GetPngOptions() const { return FPngOptions; }
  void SetPngOptions(TPngOptions Value);
  // A new size clears the list (not while a form is read).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Nested updates: the native images are built once, when the last one ends
  // with Rebuild.
  void BeginUpdate();
  void EndUpdate(bool Rebuild = true);
  int UpdateCount() const { return FUpdateCount; }
  // The native images again from the items (only outside updates).
  virtual void RebuildImageList();

  int Add(TBitmap* Image, TBitmap* Mask) override;
  int AddIcon(TIcon* Image) override;
  int AddImage(TCustomImageList* Value, int Index) override;
  void AddImages(TCustomImageList* Value) override;
  int AddMasked(TBitmap* Image, TColor MaskColor) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, TBitmap* Image, TBitmap* Mask) override;
  void InsertIcon(int Index, TIcon* Image) override;
  void InsertMasked(int Index, TBitmap* Image, TColor MaskColor) override;
  // Moves an item; nothing for an index outside 0..Count-1.
  void Move(int CurIndex, int NewIndex) override;
  // Nothing for an index outside 0..Count-1 or no picture.
  void Replace(int Index, TBitmap* Image, TBitmap* Mask) override;
  void ReplaceIcon(int Index, TIcon* Image) override;
  void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) override;

 protected:
  void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;
  void Loaded() override;
  void AssignTo(TPersistent* Dest) const override;
  // The pictures are in PngImages: the image list's own "Bitmap" is neither
  // read nor written.
  void DefineProperties(TFiler& Filer) override;
  void ReadData(const std::vector<std::uint8_t>& Data) override;
  void WriteData(std::vector<std::uint8_t>& Data) const override;

 private:
  static void Publish(TPublisher<TPngImageList>& p);
  int AddPng(std::unique_ptr<TPngImage> Image);
  void InsertPng(int Index, std::unique_ptr<TPngImage> Image);
  void ReplacePng(int Index, std::unique_ptr<TPngImage> Image);
  PixelBuffer NativePixels(const TPngImageCollectionItem& Item) const;

  bool FEnabledImages = true;
  TPngOptions FPngOptions{pngBlendOnDisabled};
  std::unique_ptr<TPngImageCollectionItems> FPngImages;
  int FUpdateCount = 0;
};

}  // namespace Flat
