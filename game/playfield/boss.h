// Boss: the boss object with its health bars, spell cards and after-images.
#pragma once
#include <bit>
#include <cstdint>

struct GameState;

class Boss {
 public:
  explicit Boss(GameState& state);
  virtual ~Boss();

  void Update(GameState& state);
  void Draw(GameState& state);
  // The stage-start state: inactive, no spell, no cut-in or notice, first
  // animation column, invulnerable.
  void ResetForStage();

  // Starts boss `id` at (x, y), moving `speed` along `angle` for `frames`.
  void Start(int32_t frames, int32_t id, int32_t x, int32_t y, float speed, float angle);
  // Begins an attack: spell id 0 is an ordinary attack, 1-255 a spell card
  // (counted in the history, 180-frame cut-in); ids above 255 run as spell
  // cards that touch no history.
  void StartSpell(int32_t spellId, int32_t hp, int32_t seconds, int32_t bonus);
  // id while active, else -1.
  int32_t GetActiveId() const;
  // Glides to (x, y) in `frames` frames (below 1 acts as 1).
  void MoveTo(float x, float y, int32_t frames);
  void MoveBy(float offsetX, float offsetY, int32_t frames);
  // A small random step (two draws: x, then y), clamped to the upper field.
  void MoveRandom();
  // Steps toward the player's side by stepX, with a random y in +-yRange.
  void MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frames);
  // The logical state for replay digests (no handles).
  uint64_t Hash() const;

  int32_t frames[180];
  int32_t burstImage;
  int32_t circleImage;
  float x, y;
  int32_t id;
  float speed, angle;
  int32_t moveFrames;
  int32_t anim;
  int32_t phaseFrame;
  int32_t radius;
  float scale;
  int32_t hp, maxHp;
  int32_t active;
  int32_t defeatCounter;
  int32_t burstAngle;
  uint8_t hitFlash;
  uint8_t capturable;
  int32_t animStep;
  int32_t attackIndex;
  float timeLeft;
  float prevTime;
  int32_t bonus;
  float bonusDrain;
  int32_t spellActive;
  int32_t spellId;
  int32_t cutinFrames;
  int32_t captureShowFrames;
  int32_t invulnerable;
  int32_t bombsAtSpell, livesAtSpell;
  int32_t poseFrames;
  int32_t barsLeft;
  // The attack scripts' scratch area: 2,048 words, each read and written as
  // an int or a float as the attack needs. Zeroed by Boss::Start only. An
  // index outside 0-2047 reads 0 and writes nothing.
  static constexpr int kScratchWords = 2048;
  uint32_t scratch[kScratchWords];
  int32_t ScratchInt(int i) const { return InScratch(i) ? static_cast<int32_t>(scratch[i]) : 0; }
  float ScratchFloat(int i) const { return InScratch(i) ? std::bit_cast<float>(scratch[i]) : 0.0f; }
  void SetScratchInt(int i, int32_t v) { if (InScratch(i)) scratch[i] = static_cast<uint32_t>(v); }
  void SetScratchFloat(int i, float v) { if (InScratch(i)) scratch[i] = std::bit_cast<uint32_t>(v); }
  static bool InScratch(int i) { return i >= 0 && i < kScratchWords; }
  float trail[8][2];

 private:
  // The frame handle of pose row 0-3 in this boss's sprite block.
  int32_t SpriteFrame(int32_t row) const;
  void UpdateDefeat(GameState& state);
  void CountDownNotices();
  void TakeShotHits(GameState& state);
  void EndAttackIfOver(GameState& state);
  void FinishAttack(GameState& state);

  GameState* state_;
};

// Spell cards (bars) of each boss id 0-22 and the sprite set of each.
extern const int32_t kBossBarCount[23];
extern const int32_t kBossSpriteSet[23];
