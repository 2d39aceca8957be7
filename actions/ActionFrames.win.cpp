#include "actions/ActionFrames.h"

#include "actions/VolumeFrame.h"

#include <array>
#include <utility>

void TFrameEmpty::Publish(TPublisher<TFrameEmpty>& p) {
  p.Field(L"PageCaption", &TFrameEmpty::PageCaption);
  p.Field(L"NotYet", &TFrameEmpty::NotYet);
}

namespace {

template <class T>
TActionFrame* Make(TComponent* owner) {
  return CreateFrame<T>(owner);
}

using TMaker = TActionFrame* (*)(TComponent*);

// A page whose frame is built gets its own maker here.
constexpr std::array<std::pair<std::uint8_t, TMaker>, 18> Pages{{
    {11, Make<TFrameEmpty>},  // Winamp
    {12, Make<TFrameVol>},    // volume
    {13, Make<TFrameEmpty>},  // media players
    {14, Make<TFrameEmpty>},  // audio CD
    {21, Make<TFrameEmpty>},  // folders
    {22, Make<TFrameEmpty>},  // programs
    {23, Make<TFrameEmpty>},  // power
    {24, Make<TFrameEmpty>},  // web
    {25, Make<TFrameEmpty>},  // windows
    {26, Make<TFrameEmpty>},  // other tools
    {27, Make<TFrameEmpty>},  // documents
    {28, Make<TFrameEmpty>},  // network
    {29, Make<TFrameEmpty>},  // wallpaper
    {30, Make<TFrameEmpty>},  // display brightness
    {31, Make<TFrameEmpty>},  // keys and layouts
    {32, Make<TFrameEmpty>},  // scrolling
    {33, Make<TFrameEmpty>},  // macros
    {34, Make<TFrameEmpty>},  // mouse cursor
}};

}  // namespace

TActionFrame* CreateActionFrame(std::uint8_t pageCode, TComponent* owner) {
  for (const auto& [code, make] : Pages)
    if (code == pageCode) return make(owner);
  return nullptr;
}
