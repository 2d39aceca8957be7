// What the volume settings page lists of the mixers and what it chooses: the
// devices, the destination lines of the open device and the source lines of one
// destination. TAudioMixerChoice is the real one, over the program's mixer; tests
// put a fake in its place.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TAudioMixer;

class IVolumeMixerChoice {
 public:
  virtual ~IVolumeMixerChoice() = default;
  // Every device's name, in device order. Listing leaves the program's mixer on
  // the device it has open.
  virtual std::vector<std::wstring> DeviceNames() = 0;
  // The number of devices of the program's mixer.
  virtual int DeviceCount() = 0;
  // Opens device id in the program's mixer at once: the volume keys use it from now on.
  virtual void ChooseDevice(int id) = 0;
  // The destination lines of the program mixer's open device.
  virtual std::vector<std::wstring> DestinationNames() = 0;
  // Destination dest's own name, then the names of its source lines; none for a
  // destination that is not there.
  virtual std::vector<std::wstring> LineNames(int dest) = 0;
};

class TAudioMixerChoice : public IVolumeMixerChoice {
 public:
  // mixer: the program's one mixer, which the volume keys act on.
  explicit TAudioMixerChoice(TAudioMixer& mixer) : mixer_(mixer) {}
  std::vector<std::wstring> DeviceNames() override;
  int DeviceCount() override;
  void ChooseDevice(int id) override;
  std::vector<std::wstring> DestinationNames() override;
  std::vector<std::wstring> LineNames(int dest) override;

 private:
  TAudioMixer& mixer_;
};
