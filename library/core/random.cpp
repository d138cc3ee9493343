// The process-wide MT19937 generator.
#include "core/random.h"

namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908B0DFu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7FFFFFFFu;

struct TwisterState {
  uint32_t mt[kN];
  int index = kN + 1;  // kN + 1: never seeded
};
TwisterState g_twister;

}  // namespace

void SeedRandom(uint32_t seed) {
  uint32_t s = seed;
  for (int i = 0; i < kN; ++i) {
    g_twister.mt[i] = s & 0xFFFF0000u;
    s = 69069u * s + 1u;
    g_twister.mt[i] |= (s & 0xFFFF0000u) >> 16;
    s = 69069u * s + 1u;
  }
  g_twister.index = kN;
}

uint32_t RandomNextWord() {
  uint32_t* mt = g_twister.mt;
  if (g_twister.index >= kN) {
    if (g_twister.index == kN + 1) SeedRandom(4357);
    int k = 0;
    for (; k < kN - kM; ++k) {
      const uint32_t y = (mt[k] & kUpper) | (mt[k + 1] & kLower);
      mt[k] = mt[k + kM] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    for (; k < kN - 1; ++k) {
      const uint32_t y = (mt[k] & kUpper) | (mt[k + 1] & kLower);
      mt[k] = mt[k + (kM - kN)] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    const uint32_t y = (mt[kN - 1] & kUpper) | (mt[0] & kLower);
    mt[kN - 1] = mt[kM - 1] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    g_twister.index = 0;
  }
  uint32_t y = mt[g_twister.index++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

int32_t RandomInRange(uint32_t max) {
  const uint64_t word = RandomNextWord();
  const uint64_t span = static_cast<uint64_t>(max) + 1u;
  return static_cast<int32_t>(static_cast<uint32_t>((word * span) >> 32));
}

void ForgetRandomSeed() { g_twister.index = kN + 1; }

RandomStateView PeekRandomState() { return RandomStateView{g_twister.mt, kN, g_twister.index}; }
