// The SDL2 back end of the audio device: opens the default output at 44.1 kHz
// 16-bit stereo and mixes the emulated buffers from SDL's callback thread.
#pragma once

int AudioSdlOpen();   // 0 ok, -1 when SDL has no usable output
void AudioSdlClose();
