// Replay digests.
#include "playfield/digest.h"

#include <concepts>

#include "library/core/random.h"
#include "playfield/background.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "playfield/talk.h"
#include "shell/gamestate.h"

namespace {

// An object's hash when its class has one and the object exists; else 0.
template <typename T>
uint64_t HashOf(const T* object) {
  if constexpr (requires(const T& t) { { t.Hash() } -> std::convertible_to<uint64_t>; }) {
    return object ? static_cast<uint64_t>(object->Hash()) : 0;
  } else {
    (void)object;
    return 0;
  }
}

}  // namespace

const char* DigestPartName(int part) {
  static const char* const kNames[kDigestPartCount] = {
      "GameState", "Stage", "Background", "Boss", "Enemy", "Maho", "Item", "Bullet", "Talk", "Player",
  };
  return part >= 0 && part < kDigestPartCount ? kNames[part] : "?";
}

uint64_t FrameDigest::Combined() const {
  StateHasher h;
  for (uint64_t p : part) {
    h.Add(static_cast<uint32_t>(p));
    h.Add(static_cast<uint32_t>(p >> 32));
  }
  return h.Value();
}

bool FrameDigest::operator==(const FrameDigest& o) const {
  for (int i = 0; i < kDigestPartCount; ++i)
    if (part[i] != o.part[i]) return false;
  return true;
}

uint64_t HashGameState(const GameState& s) {
  StateHasher h;
  h.Add(s.score);
  h.Add(s.lives);
  h.Add(s.bombs);
  h.Add(s.power);
  h.Add(s.graze);
  h.Add(s.pointItems);
  h.Add(s.extends);
  h.Add(s.gauge);
  h.Add(s.gaugeActive);
  h.Add(s.stageGraze);
  h.Add(s.stagePointItems);
  h.Add(s.stageKind7Items);
  h.Add(s.difficulty);
  h.Add(s.character);
  h.Add(s.stageNumber);
  h.Add(s.freeze);
  h.Add(s.inputIndex);
  h.Add(s.frameCount);
  h.Add(s.scene);
  RandomStateView r = PeekRandomState();
  h.Add(static_cast<int32_t>(r.index));
  for (int i = 0; i < r.count; ++i) h.Add(r.words[i]);
  return h.Value();
}

FrameDigest ComputeFrameDigest(const GameState& s) {
  FrameDigest d{};
  d.part[DigestGame] = HashGameState(s);
  d.part[DigestStage] = HashOf(s.stage);
  d.part[DigestBackground] = HashOf(s.background);
  d.part[DigestBoss] = HashOf(s.boss);
  d.part[DigestEnemy] = HashOf(s.enemy);
  d.part[DigestMaho] = HashOf(s.maho);
  d.part[DigestItem] = HashOf(s.item);
  d.part[DigestBullet] = HashOf(s.bullet);
  d.part[DigestTalk] = HashOf(s.talk);
  d.part[DigestPlayer] = HashOf(s.player);
  return d;
}
