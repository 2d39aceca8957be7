// Image lists: equally sized pictures kept by index, with 32-bit alpha, drawn by
// controls, menus and the tray. The list keeps its images as pixels and a native
// image list (Handle) in step with them for the Win32 controls; a native list
// adopted through SetHandle (the shell's system image list) is used as it is.
//
// A list that keeps its images in a form of its own (PNG pictures) overrides the
// image operations, converts the input its own way, and keeps the list's pixels in
// step through the protected Store* operations: Draw, GetPixels, the native Handle
// and the form resource then show its images, with no change here.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/Bitmap.h"

class TCustomImageList;

// Tells a control that an image list it shows has changed.
class TChangeLink : public TObject {
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* GetSender() const { return FSender; }
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

QORN_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent);
QORN_ENUM(TImageType, itImage, itMask);

class TCustomImageList : public TComponent {
  QORN_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  // A new size clears the list.
  virtual void SetWidth(int Value);
  virtual void SetHeight(int Value);
  int GetCount() const;
  bool GetMasked() const { return FMasked; }
  void SetMasked(bool Value);
  int GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value) { FAllocBy = Value > 0 ? Value : 4; }
  // The colour drawn behind the images; clNone draws them over what is there.
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  TDrawingStyle GetDrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType GetImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }
  // With ShareImages an adopted native list is never destroyed by this object.
  bool GetShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  // The native list (ILC_COLOR32 with a mask), made when first asked for.
  HIMAGELIST GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Adopts a native list; its images are then drawn and counted through it.
  void SetHandle(HIMAGELIST Value);

  // The image operations. Bitmaps wider than Width give one image per Width
  // columns; the result of the Add forms is the first new index (-1 for none).
  virtual int Add(TBitmap* Image, TBitmap* Mask);
  virtual int AddIcon(TIcon* Image);
  virtual int AddImage(TCustomImageList* Value, int Index);
  virtual void AddImages(TCustomImageList* Value);
  // Pixels of MaskColor become transparent (clDefault: the bottom-left pixel's colour).
  virtual int AddMasked(TBitmap* Image, TColor MaskColor);
  virtual void Clear();
  // Nothing for an index outside 0..Count-1.
  virtual void Delete(int Index);
  virtual void Insert(int Index, TBitmap* Image, TBitmap* Mask);
  virtual void InsertIcon(int Index, TIcon* Image);
  virtual void InsertMasked(int Index, TBitmap* Image, TColor MaskColor);
  virtual void Move(int CurIndex, int NewIndex);
  virtual void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  virtual void ReplaceIcon(int Index, TIcon* Image);
  virtual void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
  // Any picture with its alpha channel (a PNG image...); scaled to the list's size.
  int AddPicture(TGraphic* Image);
  // Pixels of exactly Width x Height (or a strip of several).
  int AddPixels(const PixelBuffer& Pixels);

  // Draws an image at (X, Y); disabled images are drawn grey at half opacity.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void GetIcon(int Index, TIcon* Image);
  // The image as a pf32bit bitmap with its alpha (afDefined); false for a bad index.
  bool GetBitmap(int Index, TBitmap* Image);
  // The image's pixels (straight alpha); empty for a bad index.
  PixelBuffer GetPixels(int Index) const;

  // Change notices wait until the last EndUpdate. The library's own batches
  // (AddImages, ReadData, AssignTo) go through these too.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  virtual void Change();
  TNotifyEvent OnChange;

 protected:
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
  void AssignTo(TPersistent* Dest) const override;
  // Form resources keep the images as "Bitmap": one PNG strip, images side by side.
  void DefineProperties(TFiler& Filer) override;
  virtual void ReadData(const std::vector<std::uint8_t>& Data);
  virtual void WriteData(std::vector<std::uint8_t>& Data) const;
  // For lists that keep their images in a form of their own (PNG lists): the
  // pixels of every index, from which the native list is made when next asked for.
  // The caller signals the change.
  void SetImagePixels(std::vector<PixelBuffer> Images);

  // The pixel store behind Count, Draw, GetPixels and Handle. Each call changes
  // the images as named (an image is scaled to Width x Height), works on an
  // adopted native list too, and ends with Change. A bad index does nothing.
  void StoreInsert(int Index, const PixelBuffer& Image);
  void StoreMove(int CurIndex, int NewIndex);
  void StoreReplace(int Index, const PixelBuffer& Image);
  void StoreDelete(int Index);
  void StoreClear();

 private:
  std::vector<PixelBuffer> Split(const PixelBuffer& Strip) const;
  PixelBuffer FromBitmap(TBitmap* Image, TBitmap* Mask) const;
  PixelBuffer FromMasked(TBitmap* Image, TColor MaskColor) const;
  PixelBuffer FromIcon(TIcon* Image) const;
  void InsertImages(int Index, std::vector<PixelBuffer> Images);
  PixelBuffer Fitted(const PixelBuffer& Image) const;
  void Resize(int Width, int Height);
  void RebuildHandle();
  void FreeHandle();

  int FWidth = 16;
  int FHeight = 16;
  bool FMasked = true;
  int FAllocBy = 4;
  TColor FBkColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FShareImages = false;
  std::vector<PixelBuffer> FImages;
  HIMAGELIST FHandle = nullptr;
  bool FAdopted = false;      // FHandle came from SetHandle: it holds the images
  bool FHandleStale = false;  // FImages changed since FHandle was filled
  int FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
  QORN_CLASS(TImageList, TCustomImageList)
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}

 private:
  static void Publish(TPublisher<TImageList>& p);
};

// Points a control's image-list slot at list: the control's change link and free
// notice leave the old list (unless its other slot, sibling, still uses it) and join
// the new one. False when the slot already held list.
bool SetImageListSlot(TCustomImageList*& slot, TCustomImageList* list, const TCustomImageList* sibling,
                      TChangeLink* link, TComponent* owner);
