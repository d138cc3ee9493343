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
  float x, y;               // position, pixels; a beam's origin
  float speed;              // pixels per frame along angle
  float angle;              // heading, degrees (270 = straight up)
  float accel;              // added to speed every frame
  float angularSpeed;       // degrees added to angle every frame
  int32_t kind;             // shot kind 0-28 (PlayerShotKindOf): its sprite and hit radius, or a beam
  int32_t active;           // 1 while in use; leaving the field, or a hit unless a beam, frees it
  // Steering: 0 none, 1 aim at spawn, 2 side bounce, 3 aim at frame 10 if nearly up, 30 home in frames 30-59
  int32_t mode;
  int32_t frame;            // updates since the spawn
  int32_t damage;           // hit points taken from the target at each hit
  int32_t cancelsBullets;   // 1 (SpawnCancelShot): enemy bullets it touches turn into cancel items
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

  int32_t frames[45];            // 32 x 48 sprites: row = moveDir, column = 3 x character + animFrame
  int32_t hitMarkerImage;        // 8 x 8 hit-point marker, drawn turning in slow mode
  int32_t shotImages[64];        // one sprite per shot kind; kinds 0-28 are cut, the rest stay -1
  int32_t optionImages[16];      // option sprites 0-3 (the rest -1); 3 is also character 2's gauge-mode body
  int32_t deathImage;            // 32 x 32 burst from the shared other sheet, drawn while down
  int32_t barrierImage;          // 192 x 192 barrier from the shared other sheet, drawn in gauge mode
  int32_t moveDir;               // sideways move this frame: 0 none, 1 left, 2 right (the sprite row)
  float x, y;                    // position, pixels; (208, 420) at a reset and at each stage start
  float width, height;           // sprite size, 32 x 48 pixels
  int32_t animFrame;             // animation column 0..2, stepped every 10 frames
  float normalSpeed, slowSpeed;  // pixels per frame, normal and in slow mode; by character, set at a reset
  int32_t hitRadius;             // 2 pixels: the body's radius for hits; items are taken within it + 16
  int32_t grazeRadius;           // 16 pixels: a bullet inside it that does not hit is grazed
  int32_t missWindow;            // 10: frames from a hit to the miss; a bomb in between saves the life
  int32_t slow;                  // 1 while slow mode is on this frame (slow held, not hit)
  int32_t invulnerable;          // invulnerable frames left: 270 at a stage start, 300 after a miss or a bomb
  int32_t missed;                // 1 while down: from the miss until the respawn 30 frames later
  float collectLine;             // 128.0: at this y or above, and not down, every item flies to the player
  int32_t animStep;              // +1 or -1: the direction animFrame steps in
  float sparkPos[16][2];         // graze sparks: position, pixels; 4 pixels a frame along sparkAngle
  int32_t sparkAngle[16];        // graze sparks: direction, degrees 0-359
  int32_t sparkLife[16];         // graze sparks: frames left, 8 at a graze
  uint8_t sparkActive[16];       // graze sparks: 1 while in use
  int32_t optionType[16];        // gauge-mode options: index into optionImages
  float optionPos[16][2];        // gauge-mode options: position, pixels
  float optionSpeed[16];         // gauge-mode options: pixels per frame on the current leg
  float optionAngle[16];         // gauge-mode options: heading of the current leg, degrees
  int32_t optionCount[16];       // gauge-mode options: frames left on the current leg
  uint8_t optionToggle[16];      // gauge-mode options: next leg 0 to the target, 1 back to the player
  int32_t frameCounter;          // player updates since the reset; shot intervals and animation key on it
  int32_t lastShotFrame;         // frameCounter at the last volley; -1000 after a reset
  int32_t missFrame;             // frameCounter at the last miss; the respawn comes 30 later
  int32_t bombTimer;             // frames left of the running bomb; 0 no bomb
  int32_t hitCounter;            // 0 not hit; else frames since the hit, up to missWindow; the field waits
  int32_t cutinTimer;            // frames left of the bomb cut-in on the status display (180 at a bomb)
  int32_t bombKind;              // running bomb 0-9: 2 x character + 1 when slow at the press
  int32_t frameInput;            // this frame's FrameInput byte: from pad 0, or the recorded one in playback
  PlayerShotSlot shots[kPlayerShotPoolSize];  // filled by SpawnShot and SpawnCancelShot
  int32_t beamGlow;              // 0..96: afterglow of character 0's slow beam; +1 a beam frame, else -1
  uint8_t beamFiring;            // 1 when that beam fired this frame
  int32_t lastShotSlot;          // slot of the last shot spawned, or -1 when the pool was full
  int32_t clusterSlots[250];     // bomb 5's cluster shots: shot slot by bomb timer + member, for their burst
  int32_t auxAngle;              // character 1: frameCounter when gauge mode began; 4: dash heading, degrees
  int32_t dashSpeed;             // pixels per frame of character 4's dash bombs (30)

 private:
  void Collide(GameState& state);  // bullets, lasers, enemies, the boss, familiars
  void Graze(GameState& state);    // the gains of one graze and its spark
};
