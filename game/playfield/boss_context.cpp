// Boss script context bound to the play field objects.
#include "playfield/boss_context.h"

#include "boss/idioms.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "shell/bgm.h"
#include "shell/gamestate.h"
#include "shell/sound.h"

Boss& PlayfieldBossContext::boss() { return *s_.boss; }
int32_t PlayfieldBossContext::Difficulty() { return static_cast<int32_t>(s_.difficulty); }
int32_t PlayfieldBossContext::FrameCount() { return s_.frameCount; }
void PlayfieldBossContext::SetDifficulty(int32_t d) { s_.difficulty = static_cast<uint32_t>(d); }
void PlayfieldBossContext::SetFreeze(bool on) { s_.freeze = on ? 1 : 0; }

float PlayfieldBossContext::PlayerX() { return s_.player ? s_.player->x : 0.0f; }
float PlayfieldBossContext::PlayerY() { return s_.player ? s_.player->y : 0.0f; }
void PlayfieldBossContext::SetPlayerPosition(float x, float y) {
  if (!s_.player) return;
  s_.player->x = x;
  s_.player->y = y;
}

// The scripts' own draw: one word, and a negative n gives n+1..0.
int32_t PlayfieldBossContext::Rnd(int32_t n) { return DrawInRange(n); }
void PlayfieldBossContext::PlaySound(int32_t effect) {
  if (s_.sound) s_.sound->Play(effect);
}
void PlayfieldBossContext::PlayMusic(int32_t slot) {
  if (s_.bgm) s_.bgm->Play(slot);
}

void PlayfieldBossContext::StartSpell(int32_t spellId, int32_t hp, int32_t seconds, int32_t bonus) {
  s_.boss->StartSpell(spellId, hp, seconds, bonus);
}
void PlayfieldBossContext::MoveTo(float x, float y, int32_t frames) { s_.boss->MoveTo(x, y, frames); }
void PlayfieldBossContext::MoveBy(float dx, float dy, int32_t frames) {
  s_.boss->MoveBy(dx, dy, frames);
}
void PlayfieldBossContext::MoveRandom() { s_.boss->MoveRandom(); }
void PlayfieldBossContext::MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frames) {
  s_.boss->MoveTowardPlayer(stepX, yRange, frames);
}
void PlayfieldBossContext::PlaceBoss(float x, float y) {
  s_.boss->x = x;
  s_.boss->y = y;
}

int32_t PlayfieldBossContext::Spawn(int32_t type, float x, float y, float speed, float angle,
                                    int32_t delay, int32_t wait) {
  return s_.bullet ? s_.bullet->Spawn(type, x, y, speed, angle, delay, wait) : -1;
}
int32_t PlayfieldBossContext::SpawnLaser(float x, float y, float speed, float angle, int32_t type,
                                         int32_t length, int32_t width, int32_t delay,
                                         int32_t wait) {
  return s_.bullet ? s_.bullet->SpawnLaser(x, y, speed, angle, type, length, width, delay, wait)
                   : -1;
}
bool PlayfieldBossContext::QueueChange(int32_t slot, int32_t frame, float x, float y, float speed,
                                       float accel, float angle, float angularSpeed,
                                       int32_t type) {
  return s_.bullet && s_.bullet->QueueChange(slot, frame, x, y, speed, accel, angle, angularSpeed,
                                             type);
}
bool PlayfieldBossContext::QueueLaserChange(int32_t slot, int32_t frame, float x, float y,
                                            float speed, float accel, float angle,
                                            float angularSpeed, int32_t lengthGrowth) {
  return s_.bullet && s_.bullet->QueueLaserChange(slot, frame, x, y, speed, accel, angle,
                                                  angularSpeed, lengthGrowth);
}
void PlayfieldBossContext::Ring(float x, float y, float speed, float baseAngle, int32_t count,
                                int32_t type, int32_t wait, int32_t delay) {
  if (s_.bullet) s_.bullet->Ring(x, y, speed, baseAngle, count, type, wait, delay);
}
void PlayfieldBossContext::Fan(float x, float y, float speed, float centreAngle, float arc,
                               int32_t count, int32_t type, int32_t wait, int32_t delay) {
  if (s_.bullet) s_.bullet->Fan(x, y, speed, centreAngle, arc, count, type, wait, delay);
}
void PlayfieldBossContext::LaserChain(float x, float y, float angle, int32_t type, float length,
                                      float width, int32_t wait, int32_t removeFrame,
                                      int32_t depth) {
  if (s_.bullet) s_.bullet->LaserChain(x, y, angle, type, length, width, wait, removeFrame, depth);
}
float PlayfieldBossContext::GetX(int32_t slot) { return s_.bullet ? s_.bullet->GetX(slot) : 0.0f; }
float PlayfieldBossContext::GetY(int32_t slot) { return s_.bullet ? s_.bullet->GetY(slot) : 0.0f; }
int32_t PlayfieldBossContext::GetType(int32_t slot) {
  return s_.bullet ? s_.bullet->GetType(slot) : 0;
}
float PlayfieldBossContext::GetFacing(int32_t slot) {
  return s_.bullet ? s_.bullet->GetFacing(slot) : 0.0f;
}
bool PlayfieldBossContext::IsHittable(int32_t slot) {
  return s_.bullet && s_.bullet->IsHittable(slot);
}
int32_t PlayfieldBossContext::GetLaserState(int32_t slot) {
  return s_.bullet ? s_.bullet->GetLaserState(slot) : 0;
}
bool PlayfieldBossContext::SetAngle(int32_t slot, float angle) {
  return s_.bullet && s_.bullet->SetAngle(slot, angle);
}
bool PlayfieldBossContext::SetBounce(int32_t slot, int32_t count, bool top, bool right,
                                     bool bottom, bool left) {
  return s_.bullet && s_.bullet->SetBounce(slot, count, top, right, bottom, left);
}
bool PlayfieldBossContext::SetEraseProof(int32_t slot) {
  return s_.bullet && s_.bullet->SetEraseProof(slot);
}
bool PlayfieldBossContext::SetFacing(int32_t slot, bool on, float angle) {
  return s_.bullet && s_.bullet->SetFacing(slot, on, angle);
}
bool PlayfieldBossContext::SetSpin(int32_t slot, float rate, int32_t frames) {
  return s_.bullet && s_.bullet->SetSpin(slot, rate, frames);
}
bool PlayfieldBossContext::SetAltMotion(int32_t slot, float speed, float angle) {
  return s_.bullet && s_.bullet->SetAltMotion(slot, speed, angle);
}
bool PlayfieldBossContext::SetHarmless(int32_t slot) {
  return s_.bullet && s_.bullet->SetHarmless(slot);
}
bool PlayfieldBossContext::SetColor(int32_t slot, uint32_t rgb) {
  return s_.bullet && s_.bullet->SetColor(slot, rgb);
}

int32_t PlayfieldBossContext::SpawnFamiliar(int32_t kind, int32_t x, int32_t y, int32_t owner,
                                            float damageFactor, int32_t sprite, int32_t subKind) {
  return s_.maho ? s_.maho->Spawn(kind, x, y, owner, damageFactor, sprite, subKind) : -1;
}
bool PlayfieldBossContext::FamiliarActive(int32_t slot) {
  return s_.maho && slot >= 0 && slot < kMahoPoolSize && s_.maho->slots[slot].active != 0;
}
float PlayfieldBossContext::FamiliarX(int32_t slot) {
  return s_.maho && slot >= 0 && slot < kMahoPoolSize ? s_.maho->slots[slot].x : 0.0f;
}
float PlayfieldBossContext::FamiliarY(int32_t slot) {
  return s_.maho && slot >= 0 && slot < kMahoPoolSize ? s_.maho->slots[slot].y : 0.0f;
}
int32_t PlayfieldBossContext::SpawnItem(float x, float y, int32_t kind, int32_t speed,
                                        int32_t angle) {
  return s_.item ? s_.item->Spawn(x, y, kind, speed, angle) : -1;
}
