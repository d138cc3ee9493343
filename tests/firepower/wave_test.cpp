// A scripted wave of stage-1 enemies met by each character in the running
// game: the enemies die under the character's shots, drop their items, the
// score counts the hits, and a replay of the play gives identical digests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/driver.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"

namespace {

constexpr int kPasses = 150;

// The wave: drifting, crossing and hovering enemies of stage 1 above the player.
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

std::vector<FrameDigest> Replay(GameDriver& d, const std::vector<uint8_t>& image) {
  Observed o;
  HeadlessClearKeys();
  d.SetScript(nullptr);
  d.SetPattern(Wave);
  d.SetUpdateHook([&o](GameState& s) { Observe(s, o); });
  if (!d.StartReplay(image)) return {};
  for (int guard = 0; guard < kPasses + 10 && d.State().playback; ++guard) d.RunPlay(1);
  d.SetUpdateHook(nullptr);
  return o.digests;
}

TEST(Wave, EachCharacterClearsTheWaveAndItsReplayMatches) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  d.State().frameSkip = 0;
  const char* shots = std::getenv("VKO_FIREPOWER_SNAPSHOTS");
  for (uint32_t character = 0; character < 5; ++character) {
    SCOPED_TRACE(testing::Message() << "character " << character);
    Observed rec;
    d.SetPattern(Wave);
    d.SetUpdateHook([&rec](GameState& s) { Observe(s, rec); });
    GameDriver::PlayStart start;
    start.character = character;
    start.route = character == 4 ? 0 : character;
    start.stageNumber = start.route;
    start.difficulty = 1;
    start.seed = 40 + character;
    start.practice = true;  // full power from the first frame
    d.StartPlay(start);
    GameState& s = d.State();
    const uint32_t score0 = s.score;
    const int first = d.PassesRun();
    d.SetScript([first](int pass) {
      const int p = pass - first;
      GameDriver::Key(44, p > 2 && p < kPasses - 5);  // shot
      GameDriver::Key(42, p >= 100 && p < 120);       // slow
    });
    for (int p = 1; p <= kPasses; ++p) {
      d.RunPlay(1);
      if (shots && p == 70)
        GameDriver::SaveFrameBmp(std::string(shots) + "/wave_" + std::to_string(character) + ".bmp");
    }
    d.SetUpdateHook(nullptr);
    HeadlessClearKeys();

    EXPECT_GE(rec.deaths, 3);
    EXPECT_GE(rec.familiarDeaths, 1);
    EXPECT_GT(rec.maxItems, 0);
    // Every death needs at least one hit, and each hit is worth 1000.
    EXPECT_GE(s.score - score0, 1000u * static_cast<uint32_t>(rec.deaths + rec.familiarDeaths));

    const std::vector<uint8_t> image = d.RecordedReplay();
    ASSERT_EQ(image.size(), 80u + kPasses + 1u);
    const std::vector<FrameDigest> again = Replay(d, image);
    ASSERT_EQ(again.size(), static_cast<size_t>(kPasses - 1));
    for (size_t i = 0; i + 1 < again.size(); ++i) {
      if (again[i] == rec.digests[i]) continue;
      std::string parts;
      for (int k = 0; k < kDigestPartCount; ++k)
        if (again[i].part[k] != rec.digests[i].part[k]) parts += std::string(" ") + DigestPartName(k);
      ADD_FAILURE() << "frame " << i + 1 << " differs in" << parts;
      break;
    }
    for (int k = DigestEnemy; k <= DigestItem; ++k)
      EXPECT_EQ(again[kPasses - 2].part[k], rec.digests[kPasses - 2].part[k]) << DigestPartName(k);
  }
}

}  // namespace
