// Synthesised sounds: the 20 short effects and the 14 music tracks, 16-bit mono
// PCM at 22,050 Hz. Every track's loop point falls on a bar line and the music
// after it leads back into that bar, so the loop seam is part of the tune.
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

constexpr int kSampleRate = 22050;

// Effect by its slot 0-19 (the order of EffectNames()).
std::vector<int16_t> MakeEffect(int slot);
// Music track 1-14.
std::vector<int16_t> MakeTrack(int track);
// Sample index of a loop point in milliseconds.
inline int64_t LoopSample(int ms) { return static_cast<int64_t>(ms) * kSampleRate / 1000; }

}  // namespace datagen
