// A scripted wave of stage-1 enemies met by each character: the enemies die
// under the character's shots, drop their items, the score counts the hits,
// and playing the same inputs again from the same seed gives identical
// digests, here and through the running game's replay files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field.h"
#include "game/driver.h"
#include "playfield/digest.h"

namespace {

// The wave: hovering, approaching and crossing enemies of stage 1.
void Wave(GameState& s, int frame) {
  Enemy& e = *s.enemy;
  if (frame == 5) e.Spawn(2, 208, 16, 2, 1, ItemPower);
  if (frame == 20) e.Spawn(0, 180, 16, 1, 0, ItemPoint);
  if (frame == 30) e.Spawn(0, 236, 16, 1, 0, ItemPower);
  if (frame == 60) e.Spawn(1, 24, 200, 3, 0, ItemPoint);
  if (frame == 90) e.Spawn(2, 160, 16, 2, 0, ItemBigPower);
}

struct Observed {
  std::vector<FrameDigest> digests;
  int deaths = 0, familiarDeaths = 0, maxItems = 0;
};

void Observe(GameState& s, Observed& o) {
  o.digests.push_back(ComputeFrameDigest(s));
  for (const EnemySlot& e : s.enemy->slots) o.deaths += e.active && e.deathTimer == 2;
  for (const MahoSlot& m : s.maho->slots) o.familiarDeaths += m.active && m.deathTimer == 9;
  if (s.item->CountActive() > o.maxItems) o.maxItems = s.item->CountActive();
}

constexpr int kFrames = 200;

// One play of the wave on a field of its own: the player reads its input
// bytes from the playback buffer; the field updates in the game's order.
Observed PlayWave(uint32_t character, uint32_t seed, int flipFrame = -1) {
  Field f(1, character);
  GameState& s = f.S();
  s.playback = 1;
  s.replayHeader.inputCount = 1000000;
  s.power = 128;
  s.lives = 2;
  f.player->invulnerable = 0;
  for (int i = 0; i < kFrames; ++i) s.playbackInputs[i] = i > 2 ? FrameShot : 0;
  if (flipFrame >= 0) s.playbackInputs[flipFrame] ^= FrameLeft;
  ApiSeedRandom(seed);
  Observed o;
  for (int frame = 0; frame < kFrames; ++frame) {
    Wave(s, frame);
    f.boss->Update(s);
    f.enemy->Update(s);
    f.maho->Update(s);
    f.item->Update(s);
    f.bullet->Update(s);
    f.player->Update(s);
    ++s.frameCount;
    Observe(s, o);
  }
  return o;
}

// The first frame (1-based) whose digests differ, or 0.
int FirstDifference(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (!(a[i] == b[i])) return static_cast<int>(i) + 1;
  return a.size() == b.size() ? 0 : -1;
}

TEST(Wave, EachCharacterClearsTheWaveAndReplaysIt) {
  for (uint32_t character = 0; character < 5; ++character) {
    SCOPED_TRACE(testing::Message() << "character " << character);
    const Observed rec = PlayWave(character, 40 + character);
    EXPECT_GE(rec.deaths, 3);
    EXPECT_GE(rec.familiarDeaths, 1);
    EXPECT_GT(rec.maxItems, 0);
    EXPECT_EQ(FirstDifference(rec.digests, PlayWave(character, 40 + character).digests), 0);
    // One changed input byte shows in the digest from its own frame on.
    EXPECT_EQ(FirstDifference(rec.digests, PlayWave(character, 40 + character, 120).digests), 121);
  }
}

TEST(Wave, ScoreCountsEveryHit) {
  Field f(1, 3);
  GameState& s = f.S();
  s.power = 128;
  int hits = 0;
  f.player->lastShotFrame = -1000;
  f.player->FireShotPattern(s);
  f.player->UpdateShots(s);
  const int e = f.enemy->Spawn(2, 208, 330, 0, 0, -1);
  for (int k = 0; k < 6; ++k) {
    int hpBefore = f.enemy->slots[e].hp;
    int activeShots = 0;
    for (const PlayerShotSlot& p : f.player->shots) activeShots += p.active;
    f.enemy->Update(s);
    int left = 0;
    for (const PlayerShotSlot& p : f.player->shots) left += p.active;
    hits += activeShots - left;
    if (k == 0) {
      EXPECT_LT(f.enemy->slots[e].hp, hpBefore);
    }
    f.player->UpdateShots(s);
  }
  EXPECT_GT(hits, 0);
  EXPECT_EQ(s.score, 1000u * static_cast<uint32_t>(hits));
}

// The same wave through the running game: recorded, written as a replay
// image, played back at four frames a pass, digest for digest.
TEST(Wave, ReplayFileOfTheWaveMatches) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  d.State().frameSkip = 0;
  constexpr int kPasses = 120;
  Observed rec;
  d.SetPattern(Wave);
  d.SetUpdateHook([&rec](GameState& s) { Observe(s, rec); });
  GameDriver::PlayStart start;
  start.character = 2;
  start.route = 2;
  start.stageNumber = 2;
  start.seed = 93;
  start.practice = true;
  d.StartPlay(start);
  const int first = d.PassesRun();
  d.SetScript([first](int pass) { GameDriver::Key(44, pass - first > 2); });
  d.RunPlay(kPasses);
  d.SetUpdateHook(nullptr);
  HeadlessClearKeys();
  EXPECT_GE(rec.deaths, 1);

  Observed again;
  d.SetScript([](int) { GameDriver::Key(29, true); });  // skip: four updates a pass
  d.SetUpdateHook([&again](GameState& s) { Observe(s, again); });
  ASSERT_TRUE(d.StartReplay(d.RecordedReplay()));
  for (int guard = 0; guard < kPasses && d.State().playback; ++guard) d.RunPlay(1);
  d.SetUpdateHook(nullptr);
  HeadlessClearKeys();
  // Playback ends one frame before the recording did; the pass that ends it
  // may go on into the replay menu.
  ASSERT_GE(again.digests.size(), static_cast<size_t>(kPasses - 2));
  rec.digests.resize(kPasses - 2);
  again.digests.resize(kPasses - 2);
  EXPECT_EQ(FirstDifference(rec.digests, again.digests), 0);
}

}  // namespace
