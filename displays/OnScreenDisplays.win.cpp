#include "displays/OnScreenDisplays.h"

#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"

namespace {

class TProgramDisplays final : public IOnScreenDisplays {
 public:
  void ShowText(std::uint8_t kind, const std::wstring& text, int barPercent) override {
    if (!OSDtForm) return;
    if (kind == tkWithBar) OSDtForm->waosd->SetPercent(barPercent);
    OSDtForm->showing(kind, text);
  }
  void ShowVolume(int percent) override {
    if (OSDvForm) OSDvForm->ShowLevel(percent);
  }
  void ShowMute(std::uint8_t state) override {
    if (OSDmForm) OSDmForm->showw(state);
  }
  void ShowInfo(const std::wstring& text, const std::wstring& bigText, bool bigFont, const std::wstring& pictName,
                std::uint8_t flag, std::int32_t timeMs) override {
    if (OSDinfo) OSDinfo->showinfoosd(text, bigText, bigFont, pictName, flag, timeMs);
  }
  void CloseInfo() override {
    if (OSDinfo) OSDinfo->closeosd();
  }
};

TProgramDisplays programDisplays;
IOnScreenDisplays* installed = nullptr;

}  // namespace

IOnScreenDisplays& OnScreenDisplays() { return installed ? *installed : programDisplays; }
void SetOnScreenDisplays(IOnScreenDisplays* displays) { installed = displays; }
