// The blit fuzz target's body over a fixed set of seeded random inputs, so
// that every test run (also under the sanitizers) covers the extreme cases.
#include <gtest/gtest.h>

#include <random>

#define BLITFUZZ_NO_ENTRY
#include "fuzz/blits.cpp"

TEST(BlitFuzzSmoke, RandomInputsChangeNothingOutsideTheDrawArea) {
  std::mt19937 rng(20261207);
  std::vector<uint8_t> input(160);
  int drawnInputs = 0;
  for (int round = 0; round < 20000; ++round) {
    for (uint8_t& b : input) {
      const uint32_t draw = rng();
      b = static_cast<uint8_t>(draw >> 11);
    }
    bool drew = false;
    ASSERT_EQ(blitfuzz::RunOne(input.data(), input.size(), &drew), 0) << "round " << round;
    drawnInputs += drew;
  }
  // A good share of the inputs draws something, so the check is not vacuous.
  EXPECT_GT(drawnInputs, 1000);
}
