// The process-wide MT19937 generator (the initialiser of multiplier 69069 with
// "+1" steps). A draw before any seed seeds it with 4357.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);
uint32_t RandomNextWord();
// 0..max, both ends included: the high 32 bits of word x (max + 1).
int32_t RandomInRange(uint32_t max);
// Back to the never-seeded state, as at process start.
void ForgetRandomSeed();

// Read-only view of the generator for replay checks: the 624 state words and
// the position of the next draw (625 while never seeded).
struct RandomStateView {
  const uint32_t* words;
  int count;
  int index;
};
RandomStateView PeekRandomState();
