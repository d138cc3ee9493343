// sounddemo: plays a sound effect and a looping music track through the SDL
// audio device, refilling the music stream the way the library's message pump
// does. Usage: sounddemo [effect.wav [music.wav [loop-ms [seconds]]]]
// Without files it makes a short bell and a little four-bar tune itself.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/lock.h"
#include "sound/sound_internal.h"

namespace {

constexpr int kRate = 44100;

std::vector<uint8_t> WaveImage(const std::vector<int16_t>& stereo) {
  const SoundWaveFormat f{1, 2, kRate, kRate * 4, 4, 16, 0};
  uint8_t* image = nullptr;
  uint32_t size = 0;
  BuildRiffImage(&image, &size, f, stereo.data(), static_cast<uint32_t>(stereo.size() * 2));
  std::vector<uint8_t> out(image, image + size);
  SoundFree(image);
  return out;
}

void AddNote(std::vector<int16_t>& s, double start, double length, double hz, double level) {
  const int first = static_cast<int>(start * kRate), count = static_cast<int>(length * kRate);
  for (int i = 0; i < count && (first + i) * 2 + 1 < static_cast<int>(s.size()); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double envelope = std::exp(-4.0 * t / length) * std::min(1.0, t * 200.0);
    const int v = static_cast<int>(level * 32767 * envelope * std::sin(2 * M_PI * hz * t));
    for (int c = 0; c < 2; ++c) {
      const int mixed = s[(first + i) * 2 + c] + v;
      s[(first + i) * 2 + c] = static_cast<int16_t>(std::max(-32768, std::min(32767, mixed)));
    }
  }
}

std::vector<uint8_t> MakeBell() {
  std::vector<int16_t> s(static_cast<size_t>(kRate * 0.3) * 2, 0);
  AddNote(s, 0, 0.3, 1760, 0.3);
  AddNote(s, 0, 0.3, 2637, 0.15);
  return WaveImage(s);
}

std::vector<uint8_t> MakeTune() {
  const double beat = 0.25;
  const double notes[16] = {262, 330, 392, 523, 294, 349, 440, 587,
                            330, 392, 494, 659, 294, 370, 440, 587};
  std::vector<int16_t> s(static_cast<size_t>(kRate * beat * 16) * 2, 0);
  for (int i = 0; i < 16; ++i) {
    AddNote(s, i * beat, beat, notes[i], 0.25);
    if (i % 4 == 0) AddNote(s, i * beat, beat * 4, notes[i] / 2, 0.2);
  }
  return WaveImage(s);
}

}  // namespace

int main(int argc, char** argv) {
  const char* effectFile = argc > 1 && argv[1][0] ? argv[1] : nullptr;
  const char* musicFile = argc > 2 && argv[2][0] ? argv[2] : nullptr;
  const int loopMs = argc > 3 ? std::atoi(argv[3]) : 1000;
  const int seconds = argc > 4 ? std::atoi(argv[4]) : 8;

  LibraryLockGuard guard;
  SetSoundBackend(AudioBackend::Sdl);
  if (InitializeSoundSystem() != 0) {
    std::printf("sounddemo: no audio device; the library would run silent\n");
    return 0;
  }
  const std::vector<uint8_t> bell = MakeBell(), tune = MakeTune();
  SetSoundLoadMode(0);
  const int effect = effectFile ? LoadSoundFile(effectFile, 3, -1)
                                : CreateSoundFromMemImage(bell.data(), bell.size(), 3, -1);
  SetSoundLoadMode(musicFile ? 3 : 2);
  const int music = musicFile ? LoadSoundFile(musicFile, 3, -1)
                              : CreateSoundFromMemImage(tune.data(), tune.size(), 1, -1);
  SetSoundLoadMode(0);
  if (effect == -1 || music == -1) {
    std::printf("sounddemo: could not load %s\n", effect == -1 ? "the effect" : "the music");
    TerminateSoundSystem();
    return 1;
  }
  if (SetSoundLoopPointMs(loopMs, music) != 0) {
    std::printf("sounddemo: loop point %d ms is past the end; looping from the start\n", loopMs);
  }
  SetSoundVolume(200, music);
  PlaySoundHandle(music, 3, 1);
  std::printf("sounddemo: music looping from %d ms, the effect every 0.7 s, for %d s\n", loopMs,
              seconds);
  const auto start = std::chrono::steady_clock::now();
  auto nextEffect = start;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)) {
    if (std::chrono::steady_clock::now() >= nextEffect) {
      PlaySoundHandle(effect, 1, 1);
      nextEffect += std::chrono::milliseconds(700);
    }
    RefillStreamSounds();
    // Let go of the lock while waiting, as the library's pump thread does.
    const int depth = g_libraryLock.ReleaseAll();
    std::this_thread::sleep_for(std::chrono::milliseconds(17));
    g_libraryLock.Reacquire(depth);
  }
  DeleteSoundHandle(music, 0);
  DeleteSoundHandle(effect, 0);
  TerminateSoundSystem();
  return 0;
}
