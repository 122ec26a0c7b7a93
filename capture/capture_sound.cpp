#include "capture/capture_sound.h"

#include "platform/typewriter_sound.h"

namespace vistrel {

void PlayCaptureSound(ISoundPlayer& player, IBeeper& beeper) {
  if (!player.PlayWave(TypewriterWave())) beeper.Beep();
}

}  // namespace vistrel
