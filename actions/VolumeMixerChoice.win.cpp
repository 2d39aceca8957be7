#include "actions/VolumeMixerChoice.h"

#include "services/AudioMixer.h"

std::vector<std::wstring> TAudioMixerChoice::DeviceNames() {
  // A mixer of its own opens each device in turn, so the program's keeps its device.
  TAudioMixer lister(nullptr);
  std::vector<std::wstring> names;
  for (int id = 0; id < lister.GetMixerCount(); ++id) {
    lister.SetMixerId(id);
    names.push_back(lister.GetMixerId() == id ? lister.GetProductName() : std::wstring());
  }
  return names;
}

int TAudioMixerChoice::DeviceCount() { return mixer_.GetMixerCount(); }

void TAudioMixerChoice::ChooseDevice(int id) { mixer_.SetMixerId(id); }

std::vector<std::wstring> TAudioMixerChoice::DestinationNames() {
  std::vector<std::wstring> names;
  for (const TMixerDestination& d : mixer_.Destinations()) names.push_back(d.Name());
  return names;
}

std::vector<std::wstring> TAudioMixerChoice::LineNames(int dest) {
  const auto& destinations = mixer_.Destinations();
  if (dest < 0 || dest >= static_cast<int>(destinations.size())) return {};
  const TMixerDestination& d = destinations[static_cast<std::size_t>(dest)];
  std::vector<std::wstring> names{d.Name()};
  for (const TMixerLine& source : d.Connections) names.push_back(source.Name());
  return names;
}
