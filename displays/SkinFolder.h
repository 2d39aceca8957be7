// Reading a popup skin from its folder: "config.skin", then its picture, decoded
// with the skin's alpha rule. A skin that cannot be drawn is refused whole, with
// the text the user is told; the popup then shows without a skin.
#pragma once
#include <filesystem>
#include <functional>
#include <string>

#include "displays/SkinConfig.h"
#include "vcl/PixelBuffer.h"

namespace Displays {

struct TSkinFolder {
  bool Found = false;  // the folder has a "config.skin"
  TSkinConfig Config;
  PixelBuffer Picture;   // premultiplied; empty when refused or without a picture
  std::wstring Problem;  // why the skin was refused; empty when it was not
  bool Usable() const { return !Picture.empty(); }
};

TSkinFolder ReadSkinFolder(const std::filesystem::path& folder);
// The same from the bytes of "config.skin" and of the picture (the picture is
// asked for only when the description names an acceptable one).
TSkinFolder ReadSkin(const std::string& configBytes, const std::wstring& folderName,
                     const std::function<bool(const std::wstring& name, std::string& bytes)>& readPicture);

}  // namespace Displays
