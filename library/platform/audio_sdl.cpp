// SDL2 output for the audio device. The callback runs on SDL's own thread and
// touches nothing but the mixer (which takes only the mixer mutex).
#include "platform/audio_sdl.h"

#include <SDL.h>

#include "platform/audio_device.h"

namespace {

SDL_AudioDeviceID g_device = 0;
bool g_subsystemStarted = false;

void MixCallback(void*, Uint8* stream, int length) {
  AudioMixFrames(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / 4);
}

}  // namespace

int AudioSdlOpen() {
  if (g_device != 0) return -1;
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
