// Player: the character the user steers, its shots, bombs, graze sparks and
// gauge-mode options, and the FrameInput it records or plays back.
#pragma once
#include <cstdint>

struct GameState;

constexpr int kPlayerShotPoolSize = 256;
constexpr int kPlayerSparkCount = 16;

// A player-shot kind: its sprite on the player sheet and its hit radius; a
// radius of -1 makes it a beam (a segment along the heading, the sprite's
// height long and its width wide). Kinds outside 0-28 are all zero.
struct PlayerShotKind {
  int32_t x, y, width, height;
  int32_t radius;
};
constexpr int kPlayerShotKindCount = 29;
const PlayerShotKind& PlayerShotKindOf(int32_t kind);

struct PlayerShotSlot {
  float x, y;
  float speed;
  float angle;
  float accel;
  float angularSpeed;
  int32_t kind;
  int32_t active;
  int32_t mode;
  int32_t frame;
  int32_t damage;
  int32_t cancelsBullets;
};

class Player {
 public:
  explicit Player(GameState& state);
  virtual ~Player();

  void Update(GameState& state);
  void Draw(GameState& state);
  // The start of a game, practice, replay, continue or restart: position,
  // timers, shots and the play counters of GameState.
  void Reset(GameState& state);
  // The miss at the end of the hit window.
  void Miss(GameState& state);
  // Bomb timers of a bomb kind: 180, 250 (kind 7) or 200 frames, the cut-in,
  // 300 invulnerable frames.
  void SetBombTimers(int32_t kind);
  // -1 while the boss is active, else the nearest active enemy within 1000
  // pixels (the lower slot on a tie), -2 when there is none.
  int32_t FindNearestEnemy(GameState& state) const;

  // Player shots: the first free slot of 256, or -1 (also kept in
  // lastShotSlot). The cancel shot also removes enemy bullets it touches.
  int32_t SpawnShot(float x, float y, float speed, float accel, float angle, float angularSpeed,
                    int32_t kind, int32_t damage, int32_t mode);
  int32_t SpawnCancelShot(float x, float y, float speed, float accel, float angle,
                          float angularSpeed, int32_t kind, int32_t damage, int32_t mode);
  void UpdateShots(GameState& state);
  // A target hit by shot `slot`: a circle shot is removed, a beam stays.
  void OnShotHit(int32_t slot);
  // Whether active shot `slot` touches a target circle at (tx, ty) of radius
  // r: circle kinds by radius, beams by the laser test. False outside 0-255.
  bool ShotTouches(int32_t slot, float tx, float ty, int32_t r) const;

  // The logical state of the player for replay digests.
  uint64_t Hash() const;

  // The stage-start placement: (208, 420), 270 frames of invulnerability,
  // the gauge mode ended, no shots.
  void ResetForStage(GameState& state);

  // --- Firepower (player_shot_patterns.cpp, player_bombs.cpp) ---
  // The current character's normal or slow volley for this frame (the
  // shooting step: shot held, no bomb, no dialogue, hit counter 0).
  void FireShotPattern(GameState& state);
  // The character's gauge-mode extras (options, invulnerability) each frame.
  void UpdateGaugeMode(GameState& state);
  // One frame of the running bomb's effect, while bombTimer > 0.
  void RunBombEffect(GameState& state);
  // --- end of firepower ---

  int32_t frames[45];
  int32_t hitMarkerImage;
  int32_t shotImages[64];
  int32_t optionImages[16];
  int32_t deathImage;
  int32_t barrierImage;
  int32_t moveDir;
  float x, y;
  float width, height;
  int32_t animFrame;
  float normalSpeed, slowSpeed;
  int32_t hitRadius;
  int32_t grazeRadius;
  int32_t missWindow;
  int32_t slow;
  int32_t invulnerable;
  int32_t missed;
  float collectLine;
  int32_t animStep;
  float sparkPos[16][2];
  int32_t sparkAngle[16];
  int32_t sparkLife[16];
  uint8_t sparkActive[16];
  int32_t optionType[16];
  float optionPos[16][2];
  float optionSpeed[16];
  float optionAngle[16];
  int32_t optionCount[16];
  uint8_t optionToggle[16];
  int32_t frameCounter;
  int32_t lastShotFrame;
  int32_t missFrame;
  int32_t bombTimer;
  int32_t hitCounter;
  int32_t cutinTimer;
  int32_t bombKind;
  int32_t frameInput;
  PlayerShotSlot shots[kPlayerShotPoolSize];
  int32_t beamGlow;
  uint8_t beamFiring;
  int32_t lastShotSlot;
  int32_t clusterSlots[250];
  int32_t auxAngle;
  int32_t dashSpeed;

 private:
  void Collide(GameState& state);  // bullets, lasers, enemies, the boss, familiars
  void Graze(GameState& state);    // the gains of one graze and its spark
};
