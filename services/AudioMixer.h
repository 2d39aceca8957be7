// TAudioMixer: the sound mixer of the system for the volume action.
//
// It lists the winmm mixer devices, the destination lines of the open device and
// the source lines of each, and reads, sets and steps the volume and mute of one
// line. On systems after XP (Windows version major above 5) the volume and mute
// calls act instead on the master volume of the default output device through
// its endpoint volume, whatever line they name; the winmm lists stay for choosing.
//
// No device is a normal state, never a fault: with no mixer device, or in endpoint
// mode with no default output device, every call reports false and reads the
// defaults of TLineVolume. No call raises. GUI thread only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "services/VolumeMixer.h"
#include "vcl/Classes.h"
#include "vcl/ComObj.h"
#include "vcl/Events.h"
#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <mmsystem.h>

struct IAudioEndpointVolume;

// Sender, then the notification's wParam and lParam.
using TMixerChange = TEvent<void(TObject* Sender, std::int32_t WParam, std::int32_t LParam)>;

// One line of the open device with its controls, as winmm describes them.
struct TMixerLine {
  MIXERLINEW Line{};
  std::vector<MIXERCONTROLW> Controls;
  std::wstring Name() const { return Line.szName; }
};

struct TMixerDestination : TMixerLine {
  std::vector<TMixerLine> Connections;  // the source lines that answered, in order
};

class TAudioMixer : public TComponent, public IVolumeMixer {
  QORN_CLASS(TAudioMixer, TComponent)
 public:
  explicit TAudioMixer(TComponent* AOwner);
  ~TAudioMixer() override;

  int GetMixerCount() const override { return FMixerCount; }
  int GetMixerId() const { return FMixerId; }
  // Closes the open device and opens device id; an id outside the devices is ignored.
  // A device that cannot be opened leaves none open (id -1, no lines).
  void SetMixerId(int id) override;

  // The destination lines of the open device (none when no device is open). Valid
  // until the next SetMixerId.
  const std::vector<TMixerDestination>& Destinations() const { return FDestinations; }
  std::uint32_t GetDriverVersion() const { return FCaps.vDriverVersion; }
  std::wstring GetManufacturer() const;
  std::uint16_t GetProductId() const { return FCaps.wPid; }
  std::wstring GetProductName() const { return FCaps.szPname; }
  int GetNumberOfLine() const { return static_cast<int>(FCaps.cDestinations); }

  // Whether the calls below act on the default output device's endpoint volume,
  // and whether that device was found.
  bool EndpointMode() const { return FEndpointMode; }
  bool HasEndpoint() const { return static_cast<bool>(FEndpointVolume); }

  bool GetVolume(int dest, int conn, TLineVolume& volume) override;
  bool SetVolume(int dest, int conn, int left, int right, int mute) override;
  bool StepVolume(int dest, int conn, int left, int right, int mute, int stepPercent, bool relative,
                  int& newVolume) override;

  // The mixer's change notifications of the open device.
  TMixerChange OnLineChange;
  TMixerChange OnControlChange;

 private:
  static void Publish(TPublisher<TAudioMixer>& p);
  void InitVistaMixer();
  void Close();
  void WndProc(TMessage& message);
  // The line a call names: the source line when conn is not -1, else the destination.
  const TMixerLine* LineOf(int dest, int conn) const;
  bool SetMuteOf(const TMixerDestination& destination, const TMixerLine& line, int conn, int mute);
  bool SetEndpointMute(int mute);

  HWND FWindow = nullptr;
  int FMixerCount = 0;
  int FMixerId = -1;
  HMIXER FMixer = nullptr;
  MIXERCAPSW FCaps{};
  std::vector<TMixerDestination> FDestinations;
  bool FEndpointMode = false;
  TComPtr<IAudioEndpointVolume> FEndpointVolume;
};
