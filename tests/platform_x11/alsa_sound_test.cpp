// The real sound backend: plays the typewriter through ALSA where there is a
// device; where there is none (as on the build machines) it says so, and
// the capture sound falls back to the beep.
#include <gtest/gtest.h>

#include "capture/capture_sound.h"
#include "platform/alsa/alsa_sound_player.h"
#include "platform/fake/fake_sound.h"
#include "platform/typewriter_sound.h"

namespace vistrel {
namespace {

class RecordingPlayer : public ISoundPlayer {
 public:
  bool PlayWave(std::span<const std::uint8_t> wave) override {
    result = alsa.PlayWave(wave);
    return result;
  }
  AlsaSoundPlayer alsa;
  bool result = false;
};

TEST(AlsaSound, TypewriterPlaysOrTheBeepSounds) {
  RecordingPlayer player;
  FakeBeeper beeper;
  PlayCaptureSound(player, beeper);
  EXPECT_EQ(beeper.beeps, player.result ? 0 : 1);
}

TEST(AlsaSound, FileItCannotReadIsRefusedWithoutADevice) {
  AlsaSoundPlayer player;
  const std::uint8_t junk[] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  EXPECT_FALSE(player.PlayWave(junk));
  EXPECT_FALSE(player.PlayWave({}));
}

}  // namespace
}  // namespace vistrel
