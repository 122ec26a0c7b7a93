// Plays wave files through ALSA's default device.
#pragma once

#include "platform/sound_player.h"

namespace vistrel {

class AlsaSoundPlayer : public ISoundPlayer {
 public:
  AlsaSoundPlayer();
  bool PlayWave(std::span<const std::uint8_t> wave_file) override;
};

}  // namespace vistrel
