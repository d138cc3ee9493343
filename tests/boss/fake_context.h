// FakeContext: a recording stand-in for the play field behind a boss script.
// It owns a Boss and a small setting (difficulty, frame counter, player), logs
// every context call with its arguments in order, answers Rnd from the real
// generator (seeded by the test) and steps a script frame by frame the way
// Boss::Update does.
#pragma once
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "boss/script_context.h"
#include "playfield/boss.h"

// One logged context call.
struct FakeCall {
  std::string op;            // the context operation, e.g. "Spawn", "Rnd", "StartSpell"
  std::vector<double> args;  // its arguments in order; ints, floats and flags exactly
  double result = 0;         // what it returned (0 for operations without a result)
  int32_t phaseFrame = 0;    // the boss's phaseFrame when the call was made
  double operator[](size_t i) const { return i < args.size() ? args[i] : 0.0; }
};

// A bullet or laser record as the fake keeps it, indexed by slot.
struct FakeBullet {
  float x = 0, y = 0;      // spawn position
  float speed = 0;         // spawn speed
  float angle = 0;         // motion angle (also what GetFacing answers)
  int32_t type = 0;        // sprite type
  bool laser = false;      // spawned by SpawnLaser
  bool active = true;      // false once the test cancels it
  bool hittable = true;    // IsHittable answer while active (at once: the fake keeps no time)
  int32_t changes = 0;     // changes queued on it
};

class FakeContext : public BossScriptContext {
 public:
  // A boss of the given id at (208, 128), attack 0, phaseFrame 0, one bar;
  // the generator is seeded with `seed`.
  FakeContext(int32_t bossId, int32_t difficulty, uint32_t seed = 1);
  ~FakeContext() override;

  // --- the setting ------------------------------------------------------------
  int32_t difficulty;          // GameState::difficulty
  int32_t frameCount = 0;      // GameState::frameCount
  bool freeze = false;         // GameState freeze flag
  float playerX = 208.0f;      // player centre
  float playerY = 400.0f;
  int32_t bulletRoom = 2048;   // spawns that still find a free record; then -1
  int32_t familiarRoom = 256;  // familiar spawns that still find a slot; then -1
  bool recording = true;       // false: count calls only, keep no log (long sweeps)
  std::deque<int32_t> forcedRnd;  // answers given to Rnd before the generator is asked
  std::vector<FakeCall> log;
  std::vector<FakeBullet> bullets;  // every record spawned, by slot
  std::vector<float> familiarX, familiarY;  // every familiar spawned, by slot
  int32_t itemsSpawned = 0;    // item spawns so far (slots 0-255, then -1)
  int32_t spellStarts = 0;     // StartSpell calls, logged or not
  int64_t callCount = 0;       // every call made, logged or not (reads of the setting aside)

  // --- stepping ---------------------------------------------------------------
  // Begins attack `index` at phaseFrame 0 (as the end of the previous attack does).
  void BeginAttack(int32_t index);
  // One frame as Boss::Update runs it: the attack script, then phaseFrame +1,
  // poseFrames -1 while above 0, timeLeft -1/60 and the frame counter +1.
  void RunFrame();
  void RunFrames(int count);
  // Clears the log, sets phaseFrame and runs the script once without advancing.
  void RunAt(int32_t phaseFrame);

  // --- queries ------------------------------------------------------------------
  std::vector<FakeCall> Calls(std::string_view op) const;
  int Count(std::string_view op) const;
  std::vector<std::string> Ops() const;  // the op names in call order
  std::vector<int32_t> Draws() const;    // the Rnd results in order
  // Bullets the logged calls ask for: spawns, lasers, ring and fan counts and
  // the 2^depth - 1 segments of each laser chain.
  int64_t BulletsAsked() const;
  // Marks a spawned record cancelled (inactive, not hittable).
  void Cancel(int32_t slot);

  // --- BossScriptContext ----------------------------------------------------------
  Boss& boss() override { return *boss_; }
  int32_t Difficulty() override;
  int32_t FrameCount() override;
  void SetDifficulty(int32_t d) override;
  void SetFreeze(bool on) override;
  float PlayerX() override;
  float PlayerY() override;
  void SetPlayerPosition(float x, float y) override;
  int32_t Rnd(int32_t n) override;
  void PlaySound(int32_t effect) override;
  void PlayMusic(int32_t slot) override;
  void StartSpell(int32_t spellId, int32_t hp, int32_t seconds, int32_t bonus) override;
  void MoveTo(float x, float y, int32_t frames) override;
  void MoveBy(float dx, float dy, int32_t frames) override;
  void MoveRandom() override;
  void MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frames) override;
  void PlaceBoss(float x, float y) override;
  int32_t Spawn(int32_t type, float x, float y, float speed, float angle, int32_t delay,
                int32_t wait) override;
  int32_t SpawnLaser(float x, float y, float speed, float angle, int32_t type, int32_t length,
                     int32_t width, int32_t delay, int32_t wait) override;
  bool QueueChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                   float angle, float angularSpeed, int32_t type) override;
  bool QueueLaserChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                        float angle, float angularSpeed, int32_t lengthGrowth) override;
  void Ring(float x, float y, float speed, float baseAngle, int32_t count, int32_t type,
            int32_t wait, int32_t delay) override;
  void Fan(float x, float y, float speed, float centreAngle, float arc, int32_t count,
           int32_t type, int32_t wait, int32_t delay) override;
  void LaserChain(float x, float y, float angle, int32_t type, float length, float width,
                  int32_t wait, int32_t removeFrame, int32_t depth) override;
  float GetX(int32_t slot) override;
  float GetY(int32_t slot) override;
  int32_t GetType(int32_t slot) override;
  float GetFacing(int32_t slot) override;
  bool IsHittable(int32_t slot) override;
  int32_t GetLaserState(int32_t slot) override;
  bool SetAngle(int32_t slot, float angle) override;
  bool SetBounce(int32_t slot, int32_t count, bool top, bool right, bool bottom,
                 bool left) override;
  bool SetEraseProof(int32_t slot) override;
  bool SetFacing(int32_t slot, bool on, float angle) override;
  bool SetSpin(int32_t slot, float degreesPerFrame, int32_t frames) override;
  bool SetAltMotion(int32_t slot, float speed, float angle) override;
  bool SetHarmless(int32_t slot) override;
  bool SetColor(int32_t slot, uint32_t rgb) override;
  int32_t SpawnFamiliar(int32_t kind, int32_t x, int32_t y, int32_t owner, float damageFactor,
                        int32_t sprite, int32_t subKind) override;
  bool FamiliarActive(int32_t slot) override;
  float FamiliarX(int32_t slot) override;
  float FamiliarY(int32_t slot) override;
  int32_t SpawnItem(float x, float y, int32_t kind, int32_t speed, int32_t angle) override;

 private:
  double Record(const char* op, std::initializer_list<double> args, double result = 0);
  FakeBullet* Live(int32_t slot);
  int32_t NewBullet(const FakeBullet& b);
  std::unique_ptr<Boss> boss_;
};
