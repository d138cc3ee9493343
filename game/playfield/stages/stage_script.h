// What a stage script sees: the stage clock and the rows' operations (enemy,
// item, boss and dialogue starts), so that each stage's script reads as its
// timeline.
#pragma once
#include <cstdint>

struct GameState;
class Stage;

class StageScript {
 public:
  StageScript(GameState& state, Stage& stage) : s_(state), stage_(stage) {}

  int32_t Frame() const;
  bool At(int32_t f) const { return Frame() == f; }
  // The step i of a row "a-b every s" that fires now, or -1.
  int32_t Every(int32_t a, int32_t b, int32_t s) const {
    int32_t f = Frame();
    return f >= a && f <= b && (f - a) % s == 0 ? (f - a) / s : -1;
  }
  // r N: a draw 0..N from the play's generator.
  int32_t R(int32_t n);
  int32_t Character() const;
  int32_t StageNumber() const;

  void Enemy(int32_t kind, int32_t x, int32_t y, int32_t sprite, int32_t underlay, int32_t drop);
  void BombItem();  // a bomb item from the field's centre
  void Music(int32_t slot);
  void Title();    // the stage title display starts (400 frames)
  // Boss `id` enters at (x, y), moving `speed` along `angle` for `frames`.
  void Boss(int32_t id, int32_t x, int32_t y, int32_t frames, float speed = 2.0f,
            float angle = 90.0f);
  // Starts dialogue n when `runs` (the character the dialogue belongs to).
  void Dialogue(bool runs, int32_t n);
  // A boss or dialogue row moves the clock past itself.
  void Step();
  void BossMusicDue();
  // The end: from `endFrame` on, once no dialogue runs, the stage is cleared.
  void EndAt(int32_t endFrame);
  // An item of `kind` rising from the field's centre.
  void Item(int32_t kind);
  void Sound(int32_t effect);
  bool Talking() const;
  // The later stages reach the rest of the play directly.
  GameState& State() { return s_; }
  Stage& Owner() { return stage_; }

 private:
  GameState& s_;
  Stage& stage_;
};

// The scripts of stage numbers 0-3 (stage 1 by route), 4 and 5.
void RunStageOne(StageScript& script, int32_t variant);
void RunStageTwo(StageScript& script);
void RunStageThree(StageScript& script);
// Stage numbers 6-9 (stage 4 by route), 10, 11 (final) and 12 (Extra).
void RunStageFour(StageScript& script, int32_t route);
void RunStageFive(StageScript& script);
void RunFinalStage(StageScript& script);
void RunExtraStage(StageScript& script);

// The bonus that ends the final and the Extra stage (they have no tally):
// the stage's counters turned into bonuses, lives and bombs left added.
void AddLastStageBonus(GameState& state);
