// The stage clock around bosses and dialogues, boss music after dialogue,
// the stage clear, the dialogue advance and the background's clock step and
// pictures.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/driver.h"
#include "library/tesra.h"
#include "playfield/talk_tables.h"
#include "scenes/scene.h"
#include "shell/input.h"
#include "stage_field.h"

namespace {

// Stage 1 variant 0 from its boss row: the clock stands during the fight and
// the dialogues, boss music waits for the dialogue, and the stage clears when
// the last dialogue is over (or at once without one).
TEST(StageClock, StageOneBossDialoguesAndClear) {
  for (uint32_t character : {0u, 4u}) {
    SCOPED_TRACE(character);
    StageField f;
    GameState& s = f.S();
    s.character = character;
    const bool talks = character == 0;
    f.stage->frame = 3800;
    f.stage->Update(s);
    EXPECT_EQ(f.boss->GetActiveId(), 0);
    EXPECT_EQ(f.stage->frame, 3801);
    f.stage->Update(s);
    EXPECT_EQ(f.stage->frame, 3801);  // stands while the boss fights
    // The mid-boss hands over and steps the clock.
    f.boss->Start(1, 1, 208, 128, 0.0f, 0.0f);
    ++f.stage->frame;
    f.stage->Update(s);
    EXPECT_EQ(f.stage->frame, 3803);
    EXPECT_EQ(f.talk->active, talks ? 1 : 0);
    EXPECT_EQ(f.stage->bossMusicPending, talks ? 1 : 0);  // started at once without dialogue
    f.talk->active = 0;
    f.stage->Update(s);
    EXPECT_EQ(f.stage->bossMusicPending, 0);
    EXPECT_EQ(f.stage->frame, 3803);
    f.boss->active = 0;  // boss 1 beaten
    f.stage->Update(s);
    EXPECT_EQ(f.stage->frame, 3804);
    f.stage->Update(s);
    if (talks) {
      EXPECT_EQ(s.scene, ScenePlaying);  // the closing dialogue runs first
      EXPECT_EQ(f.talk->line, kTalkDialogues[1].startLine);
      f.talk->active = 0;
      f.stage->Update(s);
    }
    EXPECT_EQ(s.scene, SceneStageResult);
    EXPECT_EQ(s.stageNumber, 4u);
  }
}

TEST(StageClock, ClockStandsDuringDialogueAndCountsOtherwise) {
  StageField f;
  GameState& s = f.S();
  s.stageNumber = 4;
  f.stage->frame = 50;
  f.talk->Start(8);
  for (int i = 0; i < 5; ++i) f.stage->Update(s);
  EXPECT_EQ(f.stage->frame, 50);
  f.talk->active = 0;
  for (int i = 0; i < 51; ++i) f.stage->Update(s);
  EXPECT_EQ(f.stage->frame, 101);
  EXPECT_EQ(f.stage->titleTimer, 399);  // set at 100, counted down in the same update
}

TEST(StageClear, NextStageNumbers) {
  const uint32_t cases[][3] = {{0, 0, 4}, {3, 2, 4}, {4, 0, 5}, {5, 0, 6}, {5, 3, 9}, {7, 1, 10},
                               {10, 0, 11}, {11, 0, 65535}, {12, 0, 65535}, {65535, 0, 65535}};
  for (const auto& c : cases) EXPECT_EQ(NextStageNumber(c[0], c[1]), c[2]) << c[0];
  StageField f;
  f.S().stageNumber = 5;
  f.S().practice = 1;
  f.stage->Clear(f.S());
  EXPECT_EQ(f.S().stageNumber, 5u);  // practice plays the same stage
  EXPECT_EQ(f.S().scene, SceneStageResult);
}

// Playback: the recorded FrameInput decides; skip held passes a line a frame,
// shot held passes one line.
TEST(Dialogue, AdvancesFromTheRecordedInput) {
  struct Case {
    uint8_t held;
    int framesToEnd;  // -1: still running after 20 frames
  };
  const Case cases[] = {{FrameSkip, 4}, {FrameShot, -1}, {FrameShot | FrameSkip, 4}};
  for (const Case& c : cases) {
    StageField f;
    GameState& s = f.S();
    f.talk->Start(0);  // 4 lines
    for (uint32_t i = 0; i < 40; ++i) s.playbackInputs[i] = c.held;
    int ended = -1;
    for (int frame = 1; frame <= 20 && ended < 0; ++frame) {
      f.talk->Update(s);
      ++s.inputIndex;
      if (!f.talk->active) ended = frame;
    }
    EXPECT_EQ(ended, c.framesToEnd) << int(c.held);
  }
}

// Live play reads the edge as its replay will: a shot held through the pause
// and into the next frame advances one line because the Player's input before
// it was clear.
TEST(Dialogue, LivePlayTakesTheEdgeFromThePlayersLastInput) {
  StageField f;
  GameState& s = f.S();
  s.playback = 0;
  Input input;
  s.input = &input;
  input.pressed[0][ButtonShot] = 1;
  input.previous[0][ButtonShot] = 1;  // no fresh press on the pad
  s.inputIndex = 10;
  f.player->frameInput = 0;
  f.talk->Start(2);
  const int32_t first = f.talk->line;
  f.talk->Update(s);
  EXPECT_EQ(f.talk->line, first + 1);
  f.player->frameInput = FrameShot;
  s.inputIndex = 11;
  f.talk->Update(s);
  EXPECT_EQ(f.talk->line, first + 1);  // still held: no second line
}

// Past the end of the recording (a run of over 71 minutes) shot still passes
// one line per press, whatever the recording's last byte holds.
TEST(Dialogue, ShotEdgeHoldsPastTheFullRecording) {
  struct Case {
    uint32_t inputIndex;
    uint8_t byteBefore;  // the recording's byte before inputIndex
  };
  const Case cases[] = {{10, 0}, {kMaxReplayFrames, 0}, {kMaxReplayFrames, FrameShot}};
  for (const Case& c : cases) {
    StageField f;
    GameState& s = f.S();
    s.playback = 0;
    Input input;
    s.input = &input;
    s.inputIndex = c.inputIndex;
    s.recordInputs[c.inputIndex - 1] = c.byteBefore;
    f.talk->Start(0);
    const int32_t first = f.talk->line;
    for (uint8_t shot : {1, 1, 0, 1}) {  // press, hold, let go, press again
      input.previous[0][ButtonShot] = input.pressed[0][ButtonShot];
      input.pressed[0][ButtonShot] = shot;
      f.talk->Update(s);
      f.player->Update(s);
    }
    EXPECT_EQ(f.talk->line - first, 2) << c.inputIndex << " " << int(c.byteBefore);
  }
}

TEST(Dialogue, TablesAndStarts) {
  StageField f;
  EXPECT_EQ(f.talk->portraitSet, -1);
  for (int32_t n : {-1, 53, 60, 61, 255}) {
    f.talk->Start(n);
    EXPECT_EQ(f.talk->active, 0) << n;
  }
  f.talk->Start(44);
  EXPECT_EQ(f.talk->portraitSet, 14);
  EXPECT_EQ(f.talk->endLine - f.talk->line, 2);
  // A start while one runs changes nothing.
  f.talk->Start(0);
  EXPECT_EQ(f.talk->portraitSet, 14);
  // The first strip of stage 2's dialogue brings in the speaker and plate.
  StageField g;
  g.S().stageNumber = 4;
  g.talk->Start(8);
  g.talk->Update(g.S());
  EXPECT_EQ(g.talk->secondSpeaker, 1);
  EXPECT_EQ(g.talk->plateFade, 1);
  EXPECT_EQ(g.talk->plateFrames, 1);
}

// Stage 3: the mid-boss's spell card ends in the boss's update; that update
// and the next 31 show the 32 fade frames, and the held clock steps from 4201
// to 4202 with the last of them, also when the player's hit frames (in which
// only the player updates) fall inside the fade, and when the player pauses
// in it (a replay of the play never pauses).
TEST(Background, CrossFadeEndStepsStageThreeClock) {
  struct Case {
    int hitAt, pauseAt;  // the update of the fade with the hit or the pause (0: none)
  };
  for (const Case& c : {Case{0, 0}, Case{3, 0}, Case{30, 0}, Case{0, 10}}) {
    StageField f;
    GameState& s = f.S();
    Input input;
    s.input = &input;
    s.stageNumber = 5;
    s.lives = 2;
    f.stage->frame = 4201;
    f.boss->Start(0, 10, 208, 128, 0.0f, 0.0f);
    f.boss->attackIndex = 99;  // no script runs: the test ends the spell
    f.boss->spellId = 58;
    f.boss->spellActive = 1;
    f.boss->barsLeft = 2;
    for (int i = 0; i < 40; ++i) UpdateScene(s);
    ASSERT_EQ(f.background->fadeStart, 0);
    f.boss->hp = 0;  // beaten in the next update
    int updates = 0;
    while (f.stage->frame == 4201 && updates < 100) {
      ++updates;
      if (updates == c.hitAt) f.player->hitCounter = 1;
      input.pressed[0][ButtonEscape] = updates == c.pauseAt;
      UpdateScene(s);
      input.previous[0][ButtonEscape] = input.pressed[0][ButtonEscape];
      if (updates == c.pauseAt) {
        EXPECT_EQ(s.scene, ScenePause);
        s.scene = ScenePlaying;  // resumed
      }
      if (updates == 1) {
        EXPECT_EQ(f.background->fadeStart, 4201);
      }
    }
    EXPECT_EQ(updates, 32) << c.hitAt << " " << c.pauseAt;
    EXPECT_EQ(f.stage->frame, 4202);
  }
}

TEST(Background, StageTwoPetalsFourPerUpdate) {
  StageField f;
  GameState& s = f.S();
  s.stageNumber = 4;
  f.stage->frame = 4800;
  for (int i = 0; i < 70; ++i) f.background->Update(s);
  int n = 0;
  for (const BackgroundParticle& p : f.background->particles) n += p.active;
  EXPECT_EQ(n, 256);  // four an update until the pool is full
  f.stage->frame = 4864;
  const uint64_t before = f.background->Hash();
  f.background->Update(s);
  EXPECT_NE(f.background->Hash(), before);  // they keep falling
}

// Stage 4's picture changes by route, each route on its own frames: the field
// drawn at the frame before a change and at its frame (the scroll standing)
// differs exactly where the route changes.
TEST(Background, StageFourPicturesChangeByRoute) {
  GameDriver d;
  if (!d.UseStandInData()) GTEST_SKIP() << "the data generator is not built";
  ASSERT_EQ(d.Start(), StartUpResult::Ready);
  GameState& s = d.State();
  const std::vector<int32_t> changes[4] = {{2240, 2688, 3700, 3924, 5650, 5714, 5778},
                                           {},
                                           {2240, 2688, 3700, 3924},
                                           {2240, 2688, 3700, 3924, 5650}};
  auto field = [&](int32_t frame) {
    s.background->stageFrame = s.stage->frame = frame;
    ApiDrawRectangle(0, 0, 640, 480, ApiRgbToScreenColor(0, 0, 0), 1);
    s.background->Draw(s);
    ApiPresentBackScreen();
    return HeadlessLastFrame().pixels;
  };
  for (uint32_t route = 0; route < 4; ++route) {
    s.stageNumber = 6 + route;
    s.background->LoadStage(static_cast<int>(s.stageNumber));
    s.background->drawCounter = 1000;
    for (int32_t at : changes[0]) {
      const bool listed =
          std::find(changes[route].begin(), changes[route].end(), at) != changes[route].end();
      EXPECT_EQ(field(at - 1) != field(at), listed) << "route " << route << " at " << at;
    }
  }
}

}  // namespace
