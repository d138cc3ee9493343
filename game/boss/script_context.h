// BossScriptContext: everything a boss attack script may reach besides its own
// boss record. The game binds it to the play field objects; tests bind it to a
// recording fake, so script code never names Bullet, Maho, Item or Player.
//
// Conventions shared by every call: positions are screen pixels, angles are
// degrees (0 along +x, 90 down the screen), speeds are pixels per frame, frame
// counts are frames of game time. A bullet slot is whatever a spawn returned,
// -1 included: every slot operation takes any int and does nothing (returns
// false or 0) for a slot outside 0-2047 or an inactive record.
#pragma once
#include <cstdint>

struct GameState;
class Boss;

class BossScriptContext {
 public:
  virtual ~BossScriptContext() = default;

  // --- records -------------------------------------------------------------
  // The fighting boss. Scripts read and write x, y, id, attackIndex, hp,
  // maxHp, timeLeft, barsLeft, capturable, poseFrames, radius, scale and the
  // 2,048-word scratch area; phaseFrame is read only.
  virtual Boss& boss() = 0;
  // Difficulty 0-4 (Easy, Normal, Hard, Lunatic, Extra).
  virtual int32_t Difficulty() = 0;
  // The game-wide frame counter (GameState::frameCount).
  virtual int32_t FrameCount() = 0;
  // The only writes to GameState a script makes: boss 21 sets difficulty 4,
  // boss 10 sets and clears the freeze flag.
  virtual void SetDifficulty(int32_t difficulty) = 0;
  virtual void SetFreeze(bool on) = 0;

  // --- player ----------------------------------------------------------------
  virtual float PlayerX() = 0;
  virtual float PlayerY() = 0;
  // Boss 17 carries the player; nothing else moves it.
  virtual void SetPlayerPosition(float x, float y) = 0;

  // --- randomness, sound, music ---------------------------------------------
  // rnd(n): an integer 0..n, both ends included, from the one game-wide
  // generator, one word a call: DrawInRange(n) of boss/idioms.h, which also
  // says what a negative n gives.
  virtual int32_t Rnd(int32_t n) = 0;
  virtual void PlaySound(int32_t effect) = 0;  // Sound::Play
  virtual void PlayMusic(int32_t slot) = 0;    // BGM::Play

  // --- boss motion and attack start (Boss operations) -----------------------
  virtual void StartSpell(int32_t spellId, int32_t hp, int32_t seconds, int32_t bonus) = 0;
  virtual void MoveTo(float x, float y, int32_t frames) = 0;
  virtual void MoveBy(float dx, float dy, int32_t frames) = 0;
  virtual void MoveRandom() = 0;  // two draws: x then y
  virtual void MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frames) = 0;
  // Boss 20 places its boss directly each frame.
  virtual void PlaceBoss(float x, float y) = 0;

  // --- enemy bullets and lasers (Bullet) -------------------------------------
  virtual int32_t Spawn(int32_t type, float x, float y, float speed, float angle, int32_t delay,
                        int32_t wait) = 0;
  virtual int32_t SpawnLaser(float x, float y, float speed, float angle, int32_t type,
                             int32_t length, int32_t width, int32_t delay, int32_t wait) = 0;
  virtual bool QueueChange(int32_t slot, int32_t frame, float x, float y, float speed, float accel,
                           float angle, float angularSpeed, int32_t type) = 0;
  virtual bool QueueLaserChange(int32_t slot, int32_t frame, float x, float y, float speed,
                                float accel, float angle, float angularSpeed,
                                int32_t lengthGrowth) = 0;
  virtual void Ring(float x, float y, float speed, float baseAngle, int32_t count, int32_t type,
                    int32_t wait, int32_t delay) = 0;
  virtual void Fan(float x, float y, float speed, float centreAngle, float arc, int32_t count,
                   int32_t type, int32_t wait, int32_t delay) = 0;
  virtual void LaserChain(float x, float y, float angle, int32_t type, float length, float width,
                          int32_t wait, int32_t removeFrame, int32_t depth) = 0;
  virtual float GetX(int32_t slot) = 0;
  virtual float GetY(int32_t slot) = 0;
  virtual int32_t GetType(int32_t slot) = 0;
  virtual float GetFacing(int32_t slot) = 0;
  virtual bool IsHittable(int32_t slot) = 0;
  virtual int32_t GetLaserState(int32_t slot) = 0;  // 0 none/waiting, 1 on, 2 warning/growing
  virtual bool SetAngle(int32_t slot, float angle) = 0;
  virtual bool SetBounce(int32_t slot, int32_t count, bool top, bool right, bool bottom,
                         bool left) = 0;
  virtual bool SetEraseProof(int32_t slot) = 0;
  virtual bool SetFacing(int32_t slot, bool on, float angle) = 0;
  virtual bool SetSpin(int32_t slot, float degreesPerFrame, int32_t frames) = 0;
  virtual bool SetAltMotion(int32_t slot, float speed, float angle) = 0;
  virtual bool SetHarmless(int32_t slot) = 0;
  virtual bool SetColor(int32_t slot, uint32_t rgb) = 0;

  // --- familiars and items ---------------------------------------------------
  // Maho::Spawn: the slot, or -1 when all 256 are active. owner -1 = the boss's.
  virtual int32_t SpawnFamiliar(int32_t kind, int32_t x, int32_t y, int32_t owner,
                                float damageFactor, int32_t sprite, int32_t subKind) = 0;
  virtual bool FamiliarActive(int32_t slot) = 0;  // false outside 0-255
  virtual float FamiliarX(int32_t slot) = 0;
  virtual float FamiliarY(int32_t slot) = 0;
  virtual int32_t SpawnItem(float x, float y, int32_t kind, int32_t speed, int32_t angle) = 0;
};

// Runs one frame of the fighting boss's current attack: dispatch on the boss
// id and attack index. Called by Boss::Update once a frame while the boss is
// active and not exploding.
void RunAttackScript(BossScriptContext& ctx);
