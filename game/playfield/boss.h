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

  int32_t frames[180];          // "vko01\boss.tga" as 15 x 12 cells of 64 x 64; each sprite set owns 3 x 4
  int32_t burstImage;           // 32 x 32 defeat burst from the shared other sheet
  int32_t circleImage;          // 192 x 192 spell-card circle from the shared other sheet
  float x, y;                   // position, pixels; the attack scripts may also place it directly
  int32_t id;                   // boss id 0-22; ids 0, 2, 4 and 6 go on as id + 1 when defeated
  float speed, angle;           // glide in pixels per frame and its direction in degrees (MoveTo)
  int32_t moveFrames;           // frames of the glide left
  int32_t anim;                 // animation column 0-2, stepped every 10 frames outside dialogue
  int32_t phaseFrame;           // frames into the attack; the scripts key on it, the next one first sees 1
  // Hit radius, pixels, against player shots (32 unless a script sets it); the player's body uses half.
  int32_t radius;
  float scale;                  // draw scale, 1.0 unless a script sets it
  int32_t hp, maxHp;            // health now and at the attack start; hp 65535: a survival spell, no damage
  int32_t active;               // 1 from Start until the defeat ends
  int32_t defeatCounter;        // 0 fighting; 1-120 frames into the defeat
  int32_t burstAngle;           // direction of the defeat streak, degrees, drawn 0-359 every 10 frames
  uint8_t hitFlash;             // 1 when a damaging shot hit this frame: the boss is drawn flashing
  uint8_t capturable;           // 1 while the spell card can be captured; the player's miss or bomb clears it
  int32_t animStep;             // +1 or -1: the direction anim steps in
  int32_t attackIndex;          // the boss's current attack, from 0; +1 when an attack is won or times out
  float timeLeft;               // seconds left of the attack (99 between attacks); stands still in dialogue
  float prevTime;               // timeLeft before the last step: the countdown ticks below 10 seconds
  int32_t bonus;                // spell-card bonus still to win, points; the player's miss or bomb zeroes it
  float bonusDrain;             // points the bonus loses per frame: bonus / seconds / 60
  int32_t spellActive;          // 1 while the attack is a spell card
  int32_t spellId;              // 0 ordinary attack; 1-255 spell card with history; above 255 one without
  int32_t cutinFrames;          // frames of the cut-in left (180 at a spell start); no damage while > 0
  int32_t captureShowFrames;    // frames left to show the capture notice (100 at a capture)
  int32_t invulnerable;         // 1 between attacks, until StartSpell: shots do no damage
  int32_t bombsAtSpell, livesAtSpell;  // the player's bombs and lives at the spell start; nothing reads them
  int32_t poseFrames;           // frames left of the casting pose (sprite row 3); the scripts set it
  int32_t barsLeft;             // spell cards (health bars) left; at 0 the defeat starts
  // The attack scripts' scratch area: 2,048 words, each read and written as
  // an int or a float as the attack needs. Zeroed by Boss::Start and by the
  // stage reset only. An index outside 0-2047 reads 0 and writes nothing.
  static constexpr int kScratchWords = 2048;
  uint32_t scratch[kScratchWords];
  int32_t ScratchInt(int i) const { return InScratch(i) ? static_cast<int32_t>(scratch[i]) : 0; }
  float ScratchFloat(int i) const { return InScratch(i) ? std::bit_cast<float>(scratch[i]) : 0.0f; }
  void SetScratchInt(int i, int32_t v) { if (InScratch(i)) scratch[i] = static_cast<uint32_t>(v); }
  void SetScratchFloat(int i, float v) { if (InScratch(i)) scratch[i] = std::bit_cast<uint32_t>(v); }
  static bool InScratch(int i) { return i >= 0 && i < kScratchWords; }
  float trail[8][2];  // after-images (x, y), newest first; bosses 19 and 20 shift it every 4 frames

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
