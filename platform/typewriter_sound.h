// The typewriter key strike played before a grab: a RIFF WAVE file, PCM,
// mono, 22 050 Hz, 8 bits (resources/typewriter.wav, built into the program).
#pragma once

#include <cstdint>
#include <span>

namespace vistrel {

std::span<const std::uint8_t> TypewriterWave();

}  // namespace vistrel
