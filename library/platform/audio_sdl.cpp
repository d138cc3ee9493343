// SDL2 output for the audio device. The callback runs on SDL's own thread and
// touches nothing but the mixer (which takes only the mixer mutex).
#include "platform/audio_sdl.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/audio_device.h"

namespace {

SDL_AudioDeviceID g_device = 0;
bool g_subsystemStarted = false;

void MixCallback(void*, Uint8* stream, int length) {
  AudioMixFrames(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / 4);
}

// Standard error pointed at /dev/null for a while: the sound systems SDL
// loads (ALSA above all) print their own error lines there when no device
// answers, and the library says what matters in one line of its own instead.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0 && dup2(null, STDERR_FILENO) < 0) {
      close(saved_);
      saved_ = -1;
    }
    if (null >= 0) close(null);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace

int AudioSdlOpen() {
  if (g_device != 0) return -1;
  QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return -1;
  g_subsystemStarted = true;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kAudioMixRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = MixCallback;
  SDL_AudioSpec have{};
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_subsystemStarted = false;
    return -1;
  }
  SDL_PauseAudioDevice(g_device, 0);
  return 0;
}

void AudioSdlClose() {
  if (g_device != 0) {
    SDL_CloseAudioDevice(g_device);  // waits for a running callback
    g_device = 0;
  }
  if (g_subsystemStarted) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_subsystemStarted = false;
  }
}
