#include "services/AudioMixer.h"

#include "core/utils/Trace.h"
#include "vcl/WinVersion.h"
#include "vcl/WindowHost.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>

namespace {

HMIXEROBJ Object(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

bool Has(const MIXERCONTROLW& c, DWORD flag) { return (c.fdwControl & flag) != 0; }
bool IsMultiple(const MIXERCONTROLW& c) { return Has(c, MIXERCONTROL_CONTROLF_MULTIPLE); }
bool IsDisabled(const MIXERCONTROLW& c) { return Has(c, MIXERCONTROL_CONTROLF_DISABLED); }

// A uniform control holds one value for every channel of its line.
int ChannelsOf(const MIXERCONTROLW& c, const MIXERLINEW& line) {
  return Has(c, MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : std::max<int>(1, static_cast<int>(line.cChannels));
}

MIXERCONTROLDETAILS Details(const MIXERCONTROLW& c, int channels, int items, DWORD itemSize, void* values) {
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = c.dwControlID;
  d.cChannels = static_cast<DWORD>(channels);
  d.cMultipleItems = static_cast<DWORD>(items);
  d.cbDetails = itemSize;
  d.paDetails = values;
  return d;
}

// The values of a control: one per channel, times its items for a list control.
// Empty when the mixer does not answer.
std::vector<std::uint32_t> ReadValues(HMIXER mixer, const MIXERCONTROLW& c, int channels) {
  const int items = IsMultiple(c) ? static_cast<int>(c.cMultipleItems) : 0;
  std::vector<std::uint32_t> values(static_cast<std::size_t>(channels) * std::max(items, 1));
  MIXERCONTROLDETAILS d = Details(c, channels, items, sizeof(std::uint32_t), values.data());
  if (mixerGetControlDetailsW(Object(mixer), &d, MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR) return {};
  return values;
}

bool WriteValues(HMIXER mixer, const MIXERCONTROLW& c, int channels, std::vector<std::uint32_t>& values) {
  const int items = IsMultiple(c) ? static_cast<int>(c.cMultipleItems) : 0;
  MIXERCONTROLDETAILS d = Details(c, channels, items, sizeof(std::uint32_t), values.data());
  return mixerSetControlDetails(Object(mixer), &d, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

// The line ids a selection control lists, one per item and channel.
std::vector<std::uint32_t> ReadItemLineIds(HMIXER mixer, const MIXERCONTROLW& c, int channels) {
  const int items = static_cast<int>(c.cMultipleItems);
  if (items <= 0) return {};
  std::vector<MIXERCONTROLDETAILS_LISTTEXTW> texts(static_cast<std::size_t>(channels) * items);
  MIXERCONTROLDETAILS d = Details(c, channels, items, sizeof(MIXERCONTROLDETAILS_LISTTEXTW), texts.data());
  if (mixerGetControlDetailsW(Object(mixer), &d, MIXER_GETCONTROLDETAILSF_LISTTEXT) != MMSYSERR_NOERROR) return {};
  std::vector<std::uint32_t> ids;
  for (const auto& t : texts) ids.push_back(t.dwParam1);
  return ids;
}

std::vector<MIXERCONTROLW> ControlsOf(HMIXER mixer, const MIXERLINEW& line) {
  std::vector<MIXERCONTROLW> controls(line.cControls);
  if (controls.empty()) return controls;
  MIXERLINECONTROLSW request{};
  request.cbStruct = sizeof request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLW);
  request.pamxctrl = controls.data();
  if (mixerGetLineControlsW(Object(mixer), &request, MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR) controls.clear();
  return controls;
}

// Lines that do not answer are left out, so indexes count only those that did.
std::vector<TMixerDestination> LinesOf(HMIXER mixer, DWORD destinationCount) {
  std::vector<TMixerDestination> destinations;
  for (DWORD d = 0; d < destinationCount; ++d) {
    TMixerDestination destination;
    destination.Line.cbStruct = sizeof(MIXERLINEW);
    destination.Line.dwDestination = d;
    if (mixerGetLineInfoW(Object(mixer), &destination.Line, MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR)
      continue;
    for (DWORD s = 0; s < destination.Line.cConnections; ++s) {
      TMixerLine source;
      source.Line.cbStruct = sizeof(MIXERLINEW);
      source.Line.dwDestination = d;
      source.Line.dwSource = s;
      if (mixerGetLineInfoW(Object(mixer), &source.Line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) continue;
      source.Controls = ControlsOf(mixer, source.Line);
      destination.Connections.push_back(std::move(source));
    }
    destination.Controls = ControlsOf(mixer, destination.Line);
    destinations.push_back(std::move(destination));
  }
  return destinations;
}

bool IsVolume(const MIXERCONTROLW& c) { return c.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME; }
bool IsMute(const MIXERCONTROLW& c) { return c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE; }
bool IsSelection(const MIXERCONTROLW& c) { return c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX; }

}  // namespace

TAudioMixer::TAudioMixer(TComponent* AOwner) : TComponent(AOwner) {
  FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  FMixerCount = static_cast<int>(mixerGetNumDevs());
  if (FMixerCount > 0) SetMixerId(0);
  FEndpointMode = WindowsVersion().Major > 5;
  if (FEndpointMode) InitVistaMixer();
}

TAudioMixer::~TAudioMixer() {
  Close();
  DeallocateHWnd(FWindow);
}

void TAudioMixer::Publish(TPublisher<TAudioMixer>& p) {
  p.Property(L"MixerId", &TAudioMixer::GetMixerId, &TAudioMixer::SetMixerId).Default(0);
  p.Property(L"OnLineChange", &TAudioMixer::OnLineChange);
  p.Property(L"OnControlChange", &TAudioMixer::OnControlChange);
}

void TAudioMixer::InitVistaMixer() {
  // A machine without a sound card, a remote session or a container has no
  // default output device: the mixer then simply has no device.
  TComPtr<IMMDeviceEnumerator> enumerator;
  HRESULT hr = CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                enumerator.PutVoid());
  TComPtr<IMMDevice> device;
  if (SUCCEEDED(hr) && enumerator) hr = enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Put());
  TComPtr<IAudioEndpointVolume> volume;
  if (SUCCEEDED(hr) && device)
    hr = device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, volume.PutVoid());
  if (SUCCEEDED(hr) && volume) FEndpointVolume = std::move(volume);
  else
    Trace(L"Audio mixer: no default output device (0x" + std::to_wstring(static_cast<unsigned long>(hr)) +
          L"); volume keys change nothing");
}

std::wstring TAudioMixer::GetManufacturer() const {
  if (FMixerId < 0) return {};
  return FCaps.wMid == 1 ? L"Microsoft" : std::to_wstring(FCaps.wMid) + L" = Unknown";
}

void TAudioMixer::SetMixerId(int id) {
  if (id < 0 || id >= FMixerCount) return;
  Close();
  HMIXER mixer = nullptr;
  const auto open = [&](DWORD_PTR callback, DWORD flags) {
    return mixerOpen(&mixer, static_cast<UINT>(id), callback, 0, flags) == MMSYSERR_NOERROR;
  };
  const auto window = reinterpret_cast<DWORD_PTR>(FWindow);
  // A driver may refuse the notifications once while busy, or for good: then the
  // device is still worth having without them.
  if (!open(window, CALLBACK_WINDOW) && !open(window, CALLBACK_WINDOW) && !open(0, 0)) return;
  FMixer = mixer;
  FMixerId = id;
  if (mixerGetDevCapsW(static_cast<UINT_PTR>(id), &FCaps, sizeof FCaps) != MMSYSERR_NOERROR) FCaps = {};
  FDestinations = LinesOf(FMixer, FCaps.cDestinations);
}

void TAudioMixer::Close() {
  if (FMixer) mixerClose(FMixer);
  FMixer = nullptr;
  FMixerId = -1;
  FCaps = {};
  FDestinations.clear();
}

void TAudioMixer::WndProc(TMessage& message) {
  if (message.Msg == MM_MIXM_LINE_CHANGE || message.Msg == MM_MIXM_CONTROL_CHANGE) {
    TMixerChange& event = message.Msg == MM_MIXM_LINE_CHANGE ? OnLineChange : OnControlChange;
    if (event) event(this, static_cast<std::int32_t>(message.WParam), static_cast<std::int32_t>(message.LParam));
    message.Result = 0;
    return;
  }
  DefaultWindowMessage(FWindow, message);
}

const TMixerLine* TAudioMixer::LineOf(int dest, int conn) const {
  if (dest < 0 || dest >= static_cast<int>(FDestinations.size())) return nullptr;
  const TMixerDestination& destination = FDestinations[dest];
  if (conn == -1) return &destination;
  if (conn < 0 || conn >= static_cast<int>(destination.Connections.size())) return nullptr;
  return &destination.Connections[conn];
}

bool TAudioMixer::GetVolume(int dest, int conn, TLineVolume& volume) {
  volume = TLineVolume{};
  if (FEndpointMode) {
    if (!FEndpointVolume) return false;
    float level = 0;
    if (FAILED(FEndpointVolume->GetMasterVolumeLevelScalar(&level))) return false;
    volume.Left = volume.Right = EndpointLevelToVolume(level);
    volume.Stereo = true;
    volume.VolumeDisabled = false;
    BOOL muted = FALSE;
    if (SUCCEEDED(FEndpointVolume->GetMute(&muted))) {
      volume.Mute = muted ? 1 : 0;
      volume.MuteDisabled = false;
    }
    return true;
  }
  const TMixerLine* line = LineOf(dest, conn);
  if (!line) return false;
  const TMixerDestination& destination = FDestinations[dest];
  if (conn != -1) {
    // A source's mute is its destination's selection of it, where there is one.
    for (const MIXERCONTROLW& c : destination.Controls) {
      if (!IsSelection(c)) continue;
      const int channels = ChannelsOf(c, destination.Line);
      const auto item = FindSelectionItem(ReadItemLineIds(FMixer, c, channels), channels, line->Line.dwLineID);
      if (!item) continue;
      const std::vector<std::uint32_t> values = ReadValues(FMixer, c, channels);
      if (*item >= values.size()) continue;
      volume.Mute = static_cast<int>(values[*item]);
      volume.MuteDisabled = IsDisabled(c);
      volume.MuteIsMuxSelection = true;
      break;
    }
  }
  for (const MIXERCONTROLW& c : line->Controls) {
    if (volume.Left != MixerNone && volume.Mute != MixerNone) break;
    if (IsMultiple(c)) continue;
    if (IsVolume(c) && volume.Left == MixerNone) {
      const int channels = ChannelsOf(c, line->Line);
      const std::vector<std::uint32_t> values = ReadValues(FMixer, c, channels);
      if (values.empty()) continue;
      volume.Left = static_cast<int>(values[0]);
      volume.Stereo = values.size() >= 2;
      volume.Right = volume.Stereo ? static_cast<int>(values[1]) : volume.Left;
      volume.VolumeDisabled = IsDisabled(c);
    } else if (IsMute(c) && volume.Mute == MixerNone) {
      const std::vector<std::uint32_t> values = ReadValues(FMixer, c, ChannelsOf(c, line->Line));
      if (values.empty()) continue;
      volume.Mute = values[0] != 0 ? 1 : 0;
      volume.MuteDisabled = IsDisabled(c);
    }
  }
  return true;
}

bool TAudioMixer::SetMuteOf(const TMixerDestination& destination, const TMixerLine& line, int conn, int mute) {
  if (conn != -1) {
    const auto selection = std::find_if(destination.Controls.begin(), destination.Controls.end(), IsSelection);
    if (selection != destination.Controls.end()) {
      // The source is selected or not; every other item keeps what it is only
      // when this source's item is not found, so nothing is cleared for nothing.
      const int channels = ChannelsOf(*selection, destination.Line);
      const auto item = FindSelectionItem(ReadItemLineIds(FMixer, *selection, channels), channels, line.Line.dwLineID);
      std::vector<std::uint32_t> values = ReadValues(FMixer, *selection, channels);
      if (item && *item < values.size()) {
        std::fill(values.begin(), values.end(), 0u);
        values[*item] = static_cast<std::uint32_t>(mute);
        WriteValues(FMixer, *selection, channels, values);
      }
      return true;
    }
  }
  for (const MIXERCONTROLW& c : line.Controls) {
    if (IsMultiple(c) || !IsMute(c)) continue;
    const int channels = ChannelsOf(c, line.Line);
    std::vector<std::uint32_t> values(channels, static_cast<std::uint32_t>(mute));
    return WriteValues(FMixer, c, channels, values);
  }
  return false;
}

bool TAudioMixer::SetEndpointMute(int mute) {
  return mute == MixerNone || SUCCEEDED(FEndpointVolume->SetMute(mute != 0, nullptr));
}

bool TAudioMixer::SetVolume(int dest, int conn, int left, int right, int mute) {
  if (FEndpointMode) {
    if (!FEndpointVolume) return false;
    const bool muteSet = SetEndpointMute(mute);
    const float level = static_cast<float>(std::clamp(left, 0, MixerVolumeMax) / static_cast<double>(MixerVolumeMax));
    return muteSet && (left == MixerNone || SUCCEEDED(FEndpointVolume->SetMasterVolumeLevelScalar(level, nullptr)));
  }
  const TMixerLine* line = LineOf(dest, conn);
  if (!line) return false;
  if (mute != MixerNone) SetMuteOf(FDestinations[dest], *line, conn, mute);
  if (left == MixerNone) return true;
  for (const MIXERCONTROLW& c : line->Controls) {
    if (IsMultiple(c) || !IsVolume(c)) continue;
    const int channels = ChannelsOf(c, line->Line);
    std::vector<std::uint32_t> values(channels, static_cast<std::uint32_t>(left));
    if (channels >= 2 && right != MixerNone) values[1] = static_cast<std::uint32_t>(right);
    WriteValues(FMixer, c, channels, values);
    break;
  }
  return true;
}

bool TAudioMixer::StepVolume(int dest, int conn, int left, int right, int mute, int stepPercent, bool relative,
                             int& newVolume) {
  (void)right;
  if (FEndpointMode) {
    if (!FEndpointVolume) return false;
    float current = 0;
    if (FAILED(FEndpointVolume->GetMasterVolumeLevelScalar(&current))) return false;
    const double level = StepEndpointLevel(current, stepPercent, relative);
    SetEndpointMute(mute);
    if (FAILED(FEndpointVolume->SetMasterVolumeLevelScalar(static_cast<float>(level), nullptr))) return false;
    newVolume = EndpointLevelToVolume(level);
    return true;
  }
  const TMixerLine* line = LineOf(dest, conn);
  if (!line) return false;
  if (mute != MixerNone) SetMuteOf(FDestinations[dest], *line, conn, mute);
  if (left == MixerNone) return true;
  const auto volumeControl = std::find_if(line->Controls.begin(), line->Controls.end(),
                                          [](const MIXERCONTROLW& c) { return IsVolume(c) && !IsMultiple(c); });
  if (volumeControl == line->Controls.end()) return false;
  const int channels = ChannelsOf(*volumeControl, line->Line);
  const std::vector<std::uint32_t> current = ReadValues(FMixer, *volumeControl, channels);
  TChannelStep step = StepChannelLevels(current, stepPercent, relative);
  if (step.NewVolume == MixerNone) return false;
  if (step.Write && !WriteValues(FMixer, *volumeControl, channels, step.Values)) return false;
  newVolume = step.NewVolume;
  return true;
}
