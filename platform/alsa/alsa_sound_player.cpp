#include "platform/alsa/alsa_sound_player.h"

#include <alsa/asoundlib.h>

#include <memory>

#include "platform/wave_file.h"

namespace vistrel {
namespace {

// A machine without a sound card is normal; ALSA would print about it.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

struct PcmCloser {
  void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};

}  // namespace

AlsaSoundPlayer::AlsaSoundPlayer() { snd_lib_error_set_handler(Quiet); }

bool AlsaSoundPlayer::PlayWave(std::span<const std::uint8_t> wave_file) {
  const std::optional<TWaveFormat> wave = ParseWave(wave_file);
  if (!wave) return false;
  snd_pcm_t* raw = nullptr;
  // Opened without blocking so a busy device fails at once instead of waiting.
  if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
  std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
  if (snd_pcm_nonblock(raw, 0) < 0) return false;
  const snd_pcm_format_t format =
      wave->bits_per_sample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (snd_pcm_set_params(raw, format, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(wave->channels),
                         unsigned(wave->sample_rate), 1, 200000) < 0)
    return false;
  const std::size_t frame_bytes = std::size_t(wave->channels) * (wave->bits_per_sample / 8);
  const std::uint8_t* data = wave->samples.data();
  snd_pcm_uframes_t left = wave->samples.size() / frame_bytes;
  while (left > 0) {
    snd_pcm_sframes_t written = snd_pcm_writei(raw, data, left);
    if (written < 0) {
      if (snd_pcm_recover(raw, int(written), 1) < 0) return false;
      continue;
    }
    data += std::size_t(written) * frame_bytes;
    left -= snd_pcm_uframes_t(written);
  }
  // The grab starts only after the sound has been heard to its end.
  return snd_pcm_drain(raw) >= 0;
}

}  // namespace vistrel
