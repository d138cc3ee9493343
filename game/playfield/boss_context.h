// The play field's binding of the boss script context: every call a boss
// attack script makes is forwarded to the Boss, Bullet, Maho, Item, Player,
// Sound and BGM objects of the GameState. A missing object answers as an
// empty pool would.
#pragma once
#include "boss/script_context.h"

struct GameState;

class PlayfieldBossContext final : public BossScriptContext {
 public:
  explicit PlayfieldBossContext(GameState& state) : s_(state) {}

  Boss& boss() override;
  int32_t Difficulty() override;
  int32_t FrameCount() override;
  void SetDifficulty(int32_t difficulty) override;
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
  GameState& s_;
};
