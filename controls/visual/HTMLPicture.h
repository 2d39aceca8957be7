// Pictures the HTML label shows by name (<IMG src="logo">, from a TPictureContainer)
// or by address (<IMG src="file://C:\pics\a.gif">, kept in the label's picture cache).
//
// THTMLPicture keeps the file's bytes (BMP, ICO, PNG, JPEG or GIF) and the pixels
// decoded from them; a GIF keeps every frame, one of which (Frame, from 1) is shown
// at its place in the animation. Data that is not a readable picture leaves the
// picture empty: a label then gives it no room and draws nothing for it.
//
// Animation is driven by the program's clock (vcl/Clock.h): Animate(now) selects the
// frame the GIF's own delays have reached, so tests move frames on by moving time.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Collection.h"
#include "vcl/GifCodec.h"
#include "vcl/Picture.h"

namespace Flat {

class THTMLPicture : public TGraphic {
  QORN_CLASS(THTMLPicture, TGraphic)
 public:
  THTMLPicture();
  ~THTMLPicture() override;
  // From nothing: empty. From another THTMLPicture: its bytes, Stretch, Frame and address.
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FFrames.empty(); }
  // The whole picture (a GIF's logical screen) at 96 dpi; 0 when empty.
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // A picture's size is its data's.
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // Throws EInvalidGraphic for data that is not a readable picture; the picture is
  // then empty (its bytes gone too).
  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  // The bytes read (none when empty).
  std::vector<std::uint8_t> SaveToBytes() const override { return FBytes; }
  // The selected frame alone.
  PixelBuffer ToPixels() const override;
  const PixelBuffer& FramePixels() const;

  // Never throws: a missing or unreadable file leaves the picture empty.
  void LoadFromFile(const std::wstring& FileName);
  // The RT_RCDATA resource of that name in the module; empty when there is none or
  // it is not a picture.
  void LoadFromResourceName(void* Instance, const std::wstring& Name);
  // "res://NAME" (the program's resource) and "file://PATH", in any letter case;
  // the address is kept as ID. Other addresses (http...) are kept and load nothing:
  // the program downloads no pictures.
  void LoadFromURL(const std::wstring& Address);
  const std::wstring& GetID() const { return FID; }

  // -1 for a picture that is not a GIF, else its number of frames.
  int FrameCount() const { return FIsGif ? int(FFrames.size()) : -1; }
  int GetFrame() const { return FFrame; }
  // Kept within 1..FrameCount for a GIF; OnFrameChange when the picture has data.
  // A running animation goes on from this frame.
  void SetFrame(int Value);
  // The selected frame's place in the picture and size.
  int FrameLeft() const;
  int FrameTop() const;
  int FrameWidth() const;
  int FrameHeight() const;
  // Where the selected frame goes when the whole picture fills Whole (scaled with it).
  TRect FrameRect(const TRect& Whole) const;
  // The selected frame at its place, the whole picture filling Whole; nothing of a
  // frame that strays off the picture is drawn outside Whole.
  void DrawWhole(TCanvas& ACanvas, const TRect& Whole) const;
  // The picture repeated over Area from its top left at the canvas's resolution,
  // clipped to Area; only the cells the canvas can show are drawn, so a tiny
  // picture over a huge area costs no more than over the visible part.
  void DrawTiled(TCanvas& ACanvas, const TRect& Area) const;
  // Starts the animation at nowMs from the frame selected now (nothing when it runs).
  void StartAnimation(std::uint64_t nowMs);
  // Selects the frame the animation has reached by nowMs (frames without a delay
  // show for kDefaultDelayMs), starting it first if needed; true when the frame changed.
  bool Animate(std::uint64_t nowMs);
  static constexpr unsigned kDefaultDelayMs = 100;

  bool GetStretch() const { return FStretch; }
  void SetStretch(bool Value);

  TNotifyEvent OnFrameChange;

 protected:
  // Empty: nothing. Stretch: the whole picture fills R; otherwise it is drawn at its
  // natural size for the canvas's resolution with its top left at R's. Either way
  // the selected frame shows at its place in it.
  void Draw(TCanvas& ACanvas, const TRect& R) override;

 private:
  static constexpr int kMinTileSide = 64;
  static void Publish(TPublisher<THTMLPicture>& p);
  void Clear();
  void SelectFrame(int Value);
  std::uint64_t FrameDelay(int Index) const;
  std::vector<std::uint8_t> FBytes;
  std::vector<GifFrame> FFrames;  // a still picture: one frame at (0, 0)
  bool FIsGif = false;
  int FWidth = 0;
  int FHeight = 0;
  int FFrame = 1;
  bool FStretch = false;
  std::wstring FID;
  std::uint64_t FAnimationStart = 0;
  bool FAnimating = false;
};

// The pictures a label loaded from addresses; owns them.
class THTMLPictureCache {
 public:
  THTMLPicture* AddPicture();
  // The first picture loaded from exactly this address, or nullptr.
  THTMLPicture* FindPicture(const std::wstring& Address) const;
  void Clear() { FPictures.clear(); }
  int Count() const { return int(FPictures.size()); }

 private:
  std::vector<std::unique_ptr<THTMLPicture>> FPictures;
};

class TPictureItem : public TCollectionItem {
  QORN_CLASS(TPictureItem, TCollectionItem)
 public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;
  THTMLPicture* GetPicture() const { return FPicture.get(); }
  // Copies the picture.
  void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
  std::wstring GetName() const { return FName; }
  void SetName(const std::wstring& Value) { FName = Value; }
  int GetTag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  std::wstring GetDisplayName() const override { return FName; }
  void Assign(const TPersistent* Source) override;

 private:
  static void Publish(TPublisher<TPictureItem>& p);
  std::unique_ptr<THTMLPicture> FPicture;
  std::wstring FName;
  int FTag = 0;
};

class TPictureCollection : public TCollection {
  QORN_CLASS(TPictureCollection, TCollection)
 public:
  explicit TPictureCollection(TPersistent* Owner);
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
};

// Named pictures for HTML labels.
class TPictureContainer : public TComponent {
  QORN_CLASS(TPictureContainer, TComponent)
 public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;
  TPictureCollection* GetItems() const { return FItems.get(); }
  void SetItems(TPictureCollection* Value) { FItems->Assign(Value); }
  // The picture of the first item so named, ignoring case; nullptr for none.
  THTMLPicture* FindPicture(const std::wstring& Name) const;
  std::wstring GetVersion() const { return L"1.0.0.0"; }
  void SetVersion(const std::wstring&) {}

 private:
  static void Publish(TPublisher<TPictureContainer>& p);
  std::unique_ptr<TPictureCollection> FItems;
};

}  // namespace Flat
