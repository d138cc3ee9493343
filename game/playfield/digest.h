// Replay digests: a hash of every play-field object's logical state (raw
// float bits, counters, flags, queues; never pointers, handles or values that
// only drawing uses), combined per frame so that a replay can be checked
// frame by frame against its recording and a mismatch named by object.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

struct GameState;

// A 64-bit multiply-xor mix over 32-bit words. Objects feed their fields in
// a fixed order.
class StateHasher {
 public:
  void Add(uint32_t v) {
    h_ = (h_ ^ v) * 0x9E3779B97F4A7C15ull;
    h_ ^= h_ >> 29;
  }
  void Add(int32_t v) { Add(static_cast<uint32_t>(v)); }
  void Add(uint8_t v) { Add(static_cast<uint32_t>(v)); }
  void Add(float v) { Add(std::bit_cast<uint32_t>(v)); }
  template <typename T, size_t N>
  void AddArray(const T (&values)[N]) {
    for (const T& v : values) Add(v);
  }
  uint64_t Value() const { return h_; }

 private:
  uint64_t h_ = 0xCBF29CE484222325ull;
};

// The parts of a frame digest, one per object.
enum DigestPart : int {
  DigestGame = 0,  // GameState's play counters, scene, frame count, generator
  DigestStage,
  DigestBackground,
  DigestBoss,
  DigestEnemy,
  DigestMaho,
  DigestItem,
  DigestBullet,
  DigestTalk,
  DigestPlayer,
  kDigestPartCount,
};
const char* DigestPartName(int part);

struct FrameDigest {
  uint64_t part[kDigestPartCount];  // 0 for an object that is absent or has no Hash
  uint64_t Combined() const;
  bool operator==(const FrameDigest& o) const;
};

// The fields of GameState that steer play.
uint64_t HashGameState(const GameState& state);
// Every object's hash for the current frame. An object class takes part as
// soon as it has a member `uint64_t Hash() const`.
FrameDigest ComputeFrameDigest(const GameState& state);
