// The typewriter sound that precedes a grab.
#pragma once

#include "platform/beeper.h"
#include "platform/sound_player.h"

namespace vistrel {

// Plays the typewriter key strike and returns when it has ended; where it
// cannot be played (no sound device) the default beep sounds instead.
void PlayCaptureSound(ISoundPlayer& player, IBeeper& beeper);

}  // namespace vistrel
