// What the volume action needs of a mixer: the devices to choose from, and the
// volume and mute of one line read, set and stepped. TAudioMixer is the real one;
// tests put a fake in its place.
#pragma once
#include "services/MixerLevels.h"

class IVolumeMixer {
 public:
  virtual ~IVolumeMixer() = default;
  virtual int GetMixerCount() const = 0;
  // Opens device id (0 <= id < GetMixerCount(); any other id is ignored).
  virtual void SetMixerId(int id) = 0;
  // dest: the destination line; conn: its source line, -1 for the destination itself.
  // The volume starts at the defaults of TLineVolume; false when nothing could be read.
  virtual bool GetVolume(int dest, int conn, TLineVolume& volume) = 0;
  // -1 leaves a value unchanged; right -1 takes left.
  virtual bool SetVolume(int dest, int conn, int left, int right, int mute) = 0;
  // A step by stepPercent (relative) or a set to stepPercent per cent; newVolume is
  // the level afterwards. False, newVolume untouched, when the line is not there.
  virtual bool StepVolume(int dest, int conn, int left, int right, int mute, int stepPercent, bool relative,
                          int& newVolume) = 0;
};
