// A scripted player for whole stages: it shoots, holds skip
// (dialogue passes at once), sways left and right, and taps shot at the
// tally's wait. Two test switches act alike on a recording and its playback
// (a replay file does not hold them): the player is kept from harm, and each
// boss attack is cut short once it has run `attackFrames` frames.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/driver.h"
#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "scenes/scene.h"
#include "shell/input.h"

namespace bot {

constexpr int kLeft = 203, kRight = 205, kShot = 44, kSkip = 29;

struct Run {
  std::vector<FrameDigest> digests;  // every 30th input frame
  uint32_t bossIds = 0;              // bit per boss id met
  std::vector<uint32_t> stages;      // the stage numbers played, in order
  int updates = 0;
};

// With VKO_SNAPSHOT_DIR set, every 1500th update is drawn and saved there.
inline void Snapshot(GameState& s, int update) {
  const char* dir = std::getenv("VKO_SNAPSHOT_DIR");
  if (!dir || update % 1500 != 0) return;
  DrawScene(s);
  char name[64];
  std::snprintf(name, sizeof name, "/run_%s_%06d_stage%u.bmp", s.playback ? "back" : "rec", update,
                s.stageNumber);
  ApiSaveScreenRectToBmp(0, 0, 640, 480, (std::string(dir) + name).c_str());
}

inline void ReleaseKeys() {
  for (int k : {kLeft, kRight, kShot, kSkip}) GameDriver::Key(k, false);
}

// Updates until the play leaves the play field (with `throughTallies`, the
// play field and the tally), or, played back, until the playback ends.
// `keys`: the bot steers; else the replay does.
// `switches` off: the play as it is, nothing kept from harm or cut short.
inline Run Play(GameState& s, bool keys, bool throughTallies, bool switches = true,
                int attackFrames = 240, int maxUpdates = 400000) {
  Run r;
  for (int pass = 1; pass <= maxUpdates; ++pass) {
    if (s.scene != ScenePlaying && !(throughTallies && s.scene == SceneStageResult)) break;
    if (!keys && !s.playback) break;
    if (keys) {
      const bool sway = (pass / 90) % 2 == 0;
      const bool tally = s.scene == SceneStageResult;
      GameDriver::Key(kShot, !tally || pass % 2 == 0);
      GameDriver::Key(kSkip, !tally);
      GameDriver::Key(kLeft, sway);
      GameDriver::Key(kRight, !sway);
    }
    if (switches) s.player->invulnerable = 60;
    Boss& b = *s.boss;
    if (switches && b.active && b.defeatCounter == 0 && b.phaseFrame >= attackFrames) {
      if (b.hp == 65535)
        b.timeLeft = -1.0f;
      else if (b.hp > 0)
        b.hp = 0;
    }
    if (s.scene == ScenePlaying && (r.stages.empty() || r.stages.back() != s.stageNumber))
      r.stages.push_back(s.stageNumber);
    s.input->Poll();
    const uint32_t before = s.inputIndex;
    UpdateScene(s);
    ++r.updates;
    if (s.inputIndex != before && s.inputIndex % 30 == 0) r.digests.push_back(ComputeFrameDigest(s));
    if (s.boss->active) r.bossIds |= 1u << s.boss->id;
    Snapshot(s, r.updates);
  }
  ReleaseKeys();
  return r;
}

// The replay of the play recorded so far, with `idle` frames of no input
// after its end, so that a playback reaches the frame that ended the play.
inline std::vector<uint8_t> RecordedWithTail(GameDriver& d, uint32_t idle) {
  GameState& s = d.State();
  for (uint32_t i = 0; i < idle; ++i) s.recordInputs[s.inputIndex++] = 0;
  return d.RecordedReplay();
}

}  // namespace bot
