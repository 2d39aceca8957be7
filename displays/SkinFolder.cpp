#include "displays/SkinFolder.h"

#include <fstream>
#include <iterator>

#include "vcl/PngCodec.h"
#include "vcl/System.h"

namespace Displays {

namespace {

bool ReadWhole(const std::filesystem::path& file, std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

}  // namespace

TSkinFolder ReadSkin(const std::string& configBytes, const std::wstring& folderName,
                     const std::function<bool(const std::wstring& name, std::string& bytes)>& readPicture) {
  TSkinFolder skin;
  skin.Found = true;
  skin.Config = ParseSkinConfig(configBytes);
  if (skin.Config.Image.empty()) return skin;
  const std::wstring name = AnsiToString(skin.Config.Image);
  if (!SkinPictureNameAllowed(skin.Config.Image)) {
    skin.Problem = L"Skin " + folderName + L": the picture \"" + name + L"\" is not in the skin's folder.";
    return skin;
  }
  std::string bytes;
  if (!readPicture(name, bytes)) {
    const std::size_t slash = name.find_last_of(L"\\/");
    skin.Problem = L"Image " + (slash == std::wstring::npos ? name : name.substr(slash + 1)) + L" introuvable.";
    return skin;
  }
  PixelBuffer straight;
  try {
    straight = DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).toPixels();
  } catch (const EInvalidGraphic&) {
    skin.Problem = L"Erreur format PNG (" + name + L")";
    return skin;
  }
  const std::wstring margins = SkinMarginProblem(skin.Config, straight.width, straight.height);
  if (!margins.empty()) {
    skin.Problem = L"Skin " + folderName + L": " + margins + L".";
    return skin;
  }
  skin.Picture = SkinPictureFromStraight(straight);
  return skin;
}

TSkinFolder ReadSkinFolder(const std::filesystem::path& folder) {
  std::string config;
  if (!ReadWhole(folder / "config.skin", config)) return {};
  const std::wstring folderName =
      folder.filename().empty() ? folder.parent_path().filename().wstring() : folder.filename().wstring();
  return ReadSkin(config, folderName, [&](const std::wstring& name, std::string& bytes) {
    return ReadWhole(folder / std::filesystem::path(name), bytes);
  });
}

}  // namespace Displays
