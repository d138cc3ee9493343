// Whole stages played headless for the boss tests: a player who shoots, skips
// the dialogue and sways from side to side, kept from harm on both runs alike
// (a replay file does not hold that), recorded and played back with a digest
// of every 30th frame the replay holds.
#pragma once
#include <cstdint>
#include <vector>

#include "game/driver.h"
#include "playfield/boss.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "scenes/scene.h"
#include "shell/input.h"

struct StagePlay {
  std::vector<FrameDigest> digests;  // every 30th frame the replay holds
  uint32_t bossIds = 0;              // bit per boss id met
};

struct StagePlayRules {
  int passes;                 // the most passes a play runs
  int32_t cutAttacksAt = 0;   // each attack falls (a survival card runs out) at this
                              // phaseFrame, the same on both runs; 0: fought in full
  uint32_t untilBosses = 0;   // 0: to the tally; else until these bosses have all
                              // been met and the last is gone
};

// Plays (recording when `keys`, else playing back) until the play scene ends
// or the rules stop it.
inline StagePlay PlayStage(GameState& s, bool keys, const StagePlayRules& rules) {
  constexpr int kLeft = 203, kRight = 205, kShot = 44, kSkip = 29;
  StagePlay p;
  for (int pass = 1; pass < rules.passes && s.scene == ScenePlaying && (keys || s.playback);
       ++pass) {
    if (rules.untilBosses && p.bossIds == rules.untilBosses && !s.boss->active) break;
    if (keys) {
      const bool sway = (pass / 90) % 2 == 0;
      GameDriver::Key(kShot, true);
      GameDriver::Key(kSkip, true);
      GameDriver::Key(kLeft, sway);
      GameDriver::Key(kRight, !sway);
    }
    s.player->invulnerable = 60;
    Boss& b = *s.boss;
    if (rules.cutAttacksAt > 0 && b.active && b.defeatCounter == 0 &&
        b.phaseFrame >= rules.cutAttacksAt) {
      if (b.hp == 65535) b.timeLeft = -1.0f;
      else if (b.hp > 0) b.hp = 0;
    }
    s.input->Poll();
    const uint32_t before = s.inputIndex;
    UpdateScene(s);
    // A play that parts from its recording stays apart: a digest every
    // 30 frames finds it.
    if (s.inputIndex != before && s.inputIndex % 30 == 0) p.digests.push_back(ComputeFrameDigest(s));
    if (s.boss->active) p.bossIds |= 1u << s.boss->id;
  }
  for (int k : {kLeft, kRight, kShot, kSkip}) GameDriver::Key(k, false);
  return p;
}
