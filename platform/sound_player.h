// Plays short wave sounds.
#pragma once

#include <cstdint>
#include <span>

namespace vistrel {

class ISoundPlayer {
 public:
  virtual ~ISoundPlayer() = default;
  // Plays a RIFF WAVE file (PCM) and returns when it has been heard to the
  // end. False when it cannot be played: no sound device, a file it does not
  // understand.
  virtual bool PlayWave(std::span<const std::uint8_t> wave_file) = 0;
};

}  // namespace vistrel
