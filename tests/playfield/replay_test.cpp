// A sandbox play through the headless game: bullets of every family, lasers,
// a laser chain, items, a moving and shooting player who grazes, is hit and
// comes back; recorded, then replayed in this process and in a fresh one
// with the same digest after every update.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "game/driver.h"
#include "library/tesra.h"
#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "shell/gamemath.h"
#include "shell/input.h"

namespace {

constexpr int kPlayPasses = 420;
constexpr float U = kChangeUnchanged;
constexpr int32_t UT = kChangeTypeUnchanged;

float AimAtPlayer(const GameState& s, float x, float y) {
  return FloatAtan2(s.player->y - y, s.player->x - x) * 57.29578f;
}

// The sandbox timeline: every bullet family in turn, aimed fans with queued
// turns, lasers, a laser chain, bouncing and spinning bullets, items, and
// bullets sent at the player to graze and to hit.
void SandboxPattern(GameState& s, int frame) {
  Bullet& b = *s.bullet;
  if (frame % 24 == 0) {
    int k = frame / 24;
    int32_t type = (k % 17) * 10 + k % 10;
    b.Ring(208, 110, 1.6f, static_cast<float>(k * 7), 10, type, 0, 20);
  }
  if (frame % 45 == 10) {
    float aim = AimAtPlayer(s, 120, 60);
    for (int i = -2; i <= 2; ++i) {
      int slot = b.Spawn(101 + (i + 2), 120, 60, 2.5f, aim + 12.0f * i, 10, 0);
      b.QueueChange(slot, 20, U, U, 0.5f, U, U, U, UT);
      b.QueueChange(slot, 40, U, U, 3.0f, 0.02f, kChangeAimAtPlayer, U, 141);
      b.SetSpin(slot, 12.0f, 30);
    }
  }
  if (frame % 60 == 30) {
    int l = b.SpawnLaser(static_cast<float>(60 + (frame * 7) % 280), 20, 0, 90, 3, 40, 14, 30, 0);
    b.QueueLaserChange(l, 0, U, U, U, U, U, U, 6);
    b.QueueLaserChange(l, 40, -1000.0f, U, U, U, U, U, 0);
  }
  if (frame == 50) b.LaserChain(60, 40, 30, 1, 50, 10, 0, 40, 3);
  if (frame % 35 == 5) {
    int slot = b.Spawn(62, 300, 40, 3, 35, 0, 0);
    b.SetBounce(slot, 3, true, true, true, true);
    b.SetColor(slot, 0xFF8040);
    b.SetAltMotion(slot, 0.5f, 90);
  }
  if (frame % 40 == 20) b.Line(330, 60, 4.0f, AimAtPlayer(s, 330, 60), 4);
  if (frame % 30 == 15) {
    int32_t x = ApiRandomInRange(300);
    int32_t kind = ApiRandomInRange(7);
    s.item->Spawn(static_cast<float>(50 + x), 80, kind, -3, 90);
  }
  // Past the start-up invulnerability: one bullet that passes close by, one
  // that hits.
  if (frame == 300) b.Spawn(0, s.player->x + 11, s.player->y - 80, 5, 90, 0, 0);
  if (frame == 320) b.Spawn(0, s.player->x, s.player->y - 60, 6, 90, 0, 0);
  if (frame >= 300 && frame < 330) s.freeze = frame >= 310 && frame < 314;
  // The player's own shots (the characters' volleys live elsewhere).
  if ((s.player->frameInput & 0x10) && frame % 4 == 0) {
    s.player->SpawnShot(s.player->x, s.player->y - 20, 10, 0, 270, 0, 0, 10, 0);
    if (frame % 16 == 0) s.player->SpawnCancelShot(s.player->x, s.player->y, 6, 0, 260, 0, 17, 1, 0);
  }
}

// The keys held in pass p of the recording.
void ScriptKeys(int p) {
  auto hold = [](int code, bool down) { GameDriver::Key(code, down); };
  hold(203, p > 20 && p < 80);                 // left
  hold(205, p >= 90 && p < 170);               // right
  hold(200, p >= 150 && p < 190);              // up
  hold(208, p >= 190 && p < 230);              // down
  hold(42, p >= 150 && p < 200);               // slow
  hold(44, p > 10 && p < 290);                 // shot
  hold(45, p == 395);                          // bomb, after the respawn
}

struct Collected {
  std::vector<FrameDigest> digests;
  std::set<int> families;
  bool laserOn = false, itemsSeen = false, grazed = false, missed = false, respawned = false;
  bool shotsSeen = false;
  float minX = 1e9f, maxX = -1e9f;
};

void Observe(GameState& s, Collected& c) {
  c.digests.push_back(ComputeFrameDigest(s));
  for (int i = 0; i < kBulletPoolSize; ++i) {
    const BulletRecord& r = s.bullet->records[i];
    if (!r.active || r.wait > 0) continue;
    if (!r.isLaser) c.families.insert(r.type / 10);
    if (s.bullet->GetLaserState(i) == 1) c.laserOn = true;
  }
  c.itemsSeen = c.itemsSeen || s.item->CountActive() > 0;
  c.grazed = c.grazed || s.graze > 0;
  if (s.player->missed) c.missed = true;
  if (c.missed && !s.player->missed) c.respawned = true;
  for (const PlayerShotSlot& sh : s.player->shots) c.shotsSeen = c.shotsSeen || sh.active;
  c.minX = std::min(c.minX, s.player->x);
  c.maxX = std::max(c.maxX, s.player->x);
}

// "" when equal, else the first frame and the objects that differ.
std::string FirstMismatch(const std::vector<FrameDigest>& want, const std::vector<FrameDigest>& got,
                          size_t frames) {
  for (size_t i = 0; i < frames && i < want.size() && i < got.size(); ++i) {
    if (want[i] == got[i]) continue;
    std::string names;
    for (int p = 0; p < kDigestPartCount; ++p)
      if (want[i].part[p] != got[i].part[p]) names += std::string(" ") + DigestPartName(p);
    return "frame " + std::to_string(i + 1) + ":" + names;
  }
  return "";
}

// Plays a replay image in the driver until playback ends, or for `limit`
// passes.
std::vector<FrameDigest> PlayBack(GameDriver& d, const std::vector<uint8_t>& image,
                                  int limit = kPlayPasses + 10) {
  Collected c;
  HeadlessClearKeys();
  d.SetScript(nullptr);
  d.SetPattern(SandboxPattern);
  d.SetUpdateHook([&c](GameState& s) { Observe(s, c); });
  d.State().frameSkip = 7;
  if (!d.StartReplay(image)) return {};
  for (int pass = 0; pass < limit && d.State().playback; ++pass) d.RunPlay(1);
  d.SetUpdateHook(nullptr);
  return c.digests;
}

std::string SelfPath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
}

void WriteDigests(const std::string& path, const std::vector<FrameDigest>& digests) {
  std::vector<uint8_t> bytes(digests.size() * sizeof(FrameDigest));
  if (!digests.empty()) std::memcpy(bytes.data(), digests.data(), bytes.size());
  GameDriver::WriteFile(path, bytes);
}

std::vector<FrameDigest> ReadDigests(const std::string& path) {
  std::vector<uint8_t> bytes = GameDriver::ReadFile(path);
  std::vector<FrameDigest> digests(bytes.size() / sizeof(FrameDigest));
  if (!digests.empty()) std::memcpy(digests.data(), bytes.data(), digests.size() * sizeof(FrameDigest));
  return digests;
}

TEST(PlayfieldReplay, SandboxPlayReplaysIdenticallyHereAndInAFreshProcess) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  const char* shots = std::getenv("VKO_PLAYFIELD_SNAPSHOTS");
  s.frameSkip = shots ? 0 : 7;  // drawing never changes the play; it only costs time

  Collected rec;
  d.SetPattern(SandboxPattern);
  d.SetUpdateHook([&rec](GameState& st) { Observe(st, rec); });
  GameDriver::PlayStart start;
  start.character = 1;
  start.route = 1;  // the character's own route, as a replay of it starts
  start.stageNumber = 1;
  start.difficulty = 2;
  start.seed = 77;
  d.StartPlay(start);
  const int first = d.PassesRun();
  d.SetScript([first](int pass) { ScriptKeys(pass - first); });
  for (int p = 1; p <= kPlayPasses; ++p) {
    d.RunPlay(1);
    if (shots && (p == 60 || p == 160 || p == 250 || p == 334 || p == 345))
      GameDriver::SaveFrameBmp(std::string(shots) + "/playfield_" + std::to_string(p) + ".bmp");
  }
  d.SetUpdateHook(nullptr);
  HeadlessClearKeys();

  ASSERT_EQ(rec.digests.size(), static_cast<size_t>(kPlayPasses));
  EXPECT_EQ(rec.families.size(), 17u) << "every family from 0 to 160 appeared";
  EXPECT_TRUE(rec.laserOn);
  EXPECT_TRUE(rec.itemsSeen);
  EXPECT_TRUE(rec.grazed);
  EXPECT_TRUE(rec.missed);
  EXPECT_TRUE(rec.respawned);
  EXPECT_TRUE(rec.shotsSeen);
  EXPECT_LT(rec.minX, 160.0f);
  EXPECT_GT(rec.maxX, 250.0f);
  EXPECT_LT(s.lives, 2);
  EXPECT_EQ(s.inputIndex, static_cast<uint32_t>(kPlayPasses));

  std::vector<uint8_t> image = d.RecordedReplay();
  ASSERT_EQ(image.size(), 80u + kPlayPasses + 1u);

  // Playback ends one frame before the recording did; on that last frame
  // the play counters show the end of the playback.
  const size_t played = kPlayPasses - 1;
  std::vector<FrameDigest> same = PlayBack(d, image);
  ASSERT_EQ(same.size(), played);
  EXPECT_EQ(FirstMismatch(rec.digests, same, played - 1), "");
  for (int p = 1; p < kDigestPartCount; ++p)
    EXPECT_EQ(same[played - 1].part[p], rec.digests[played - 1].part[p]) << DigestPartName(p);

  // A fresh process: this program again, told to play the file back.
  std::string exe = SelfPath();
  ASSERT_FALSE(exe.empty());
  std::string file = d.Folder() + "/sandbox.rpy";
  std::string out = d.Folder() + "/fresh.digests";
  GameDriver::WriteFile(file, image);
  std::string cmd = "cd '" + GameDriver::StartFolderPath() + "' && VKO_PLAYFIELD_REPLAY='" + file +
                    "' VKO_PLAYFIELD_DIGESTS='" + out + "' '" + exe +
                    "' --gtest_filter=PlayfieldReplay.FreshProcessPlayback >/dev/null 2>&1";
  // Judged by the digests it wrote: its exit status also reflects tools such
  // as leak checkers that look at the whole process.
  int status = std::system(cmd.c_str());
  (void)status;
  std::vector<FrameDigest> fresh = ReadDigests(out);
  ASSERT_EQ(fresh.size(), played);
  EXPECT_EQ(FirstMismatch(same, fresh, played), "");

  // One changed input byte shows first at its own frame, in the player.
  s.inputIndex = kPlayPasses;
  s.recordInputs[150] ^= FrameLeft;
  std::vector<FrameDigest> changed = PlayBack(d, d.RecordedReplay(), 160);
  std::string mismatch = FirstMismatch(rec.digests, changed, changed.size());
  EXPECT_EQ(mismatch.substr(0, mismatch.find(':')), "frame 151");
  EXPECT_NE(mismatch.find("Player"), std::string::npos) << mismatch;
}

// Run only as the fresh process of the test above.
TEST(PlayfieldReplay, FreshProcessPlayback) {
  const char* file = std::getenv("VKO_PLAYFIELD_REPLAY");
  const char* out = std::getenv("VKO_PLAYFIELD_DIGESTS");
  if (!file || !out) GTEST_SKIP() << "runs as a helper process only";
  std::vector<uint8_t> image = GameDriver::ReadFile(file);
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the stand-in data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  std::vector<FrameDigest> digests = PlayBack(d, image);
  WriteDigests(out, digests);
  ASSERT_FALSE(digests.empty());
}

}  // namespace
