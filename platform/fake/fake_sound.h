// Sound for tests: a machine with or without a sound device, and a beep
// that counts.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/beeper.h"
#include "platform/sound_player.h"

namespace vistrel {

class FakeSoundPlayer : public ISoundPlayer {
 public:
  bool has_device = false;
  std::vector<std::size_t> played;  // byte size of each wave heard

  bool PlayWave(std::span<const std::uint8_t> wave_file) override {
    if (!has_device) return false;
    played.push_back(wave_file.size());
    return true;
  }
};

class FakeBeeper : public IBeeper {
 public:
  int beeps = 0;
  void Beep() override { ++beeps; }
};

}  // namespace vistrel
