// Volume parameters come from profiles the user may edit by hand: any text reads to
// fields without a fault, and the fields of a string the frame writes read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/VolumeCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string params(reinterpret_cast<const char*>(data), size);
  for (const TVolumeCode code : {TVolumeCode::Up, TVolumeCode::Down, TVolumeCode::Mute, TVolumeCode::Set}) {
    const TVolumeParams p = ReadVolumeParams(params, code);
    // Two characters cannot hold more; the step field three.
    if (p.Destination < -9 || p.Destination > 99 || p.Connection < -10 || p.Connection > 98) std::abort();
    if (p.Mixer < -9 || p.Mixer > 99 || p.Step < -99 || p.Step > 999) std::abort();
    if (p.Destination < 0 || p.Connection < -1 || p.Mixer < 0 || p.Step < 0) continue;
    if (ReadVolumeParams(WriteVolumeParams(p), TVolumeCode::Set) != p) std::abort();
  }
  return 0;
}
