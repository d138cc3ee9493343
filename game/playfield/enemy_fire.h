// The firing vocabulary shared by the enemy and familiar scripts: single
// shots, fans, rings, lasers and queued changes from a given point, with the
// sprite type checked before anything reaches the bullet pool.
#pragma once
#include <cstdint>

#include "playfield/bullet.h"
#include "shell/gamestate.h"

namespace script {

inline bool BulletType(int32_t type) { return type >= 0 && type <= 255; }

// One bullet; its slot or -1 (no pool, a bad type, a full pool).
inline int32_t Shot(GameState& st, int32_t type, float x, float y, float speed, float angle,
                    int32_t delay, int32_t wait) {
  if (st.bullet == nullptr || !BulletType(type)) return -1;
  return st.bullet->Spawn(type, x, y, speed, angle, delay, wait);
}

inline int32_t Laser(GameState& st, int32_t type, float x, float y, float speed, float angle,
                     int32_t length, int32_t width, int32_t delay, int32_t wait) {
  if (st.bullet == nullptr || !BulletType(type)) return -1;
  return st.bullet->SpawnLaser(x, y, speed, angle, type, length, width, delay, wait);
}

inline void Fan(GameState& st, int32_t type, int32_t count, float x, float y, float speed,
                float centre, float arc, int32_t delay, int32_t wait) {
  if (st.bullet == nullptr || !BulletType(type)) return;
  st.bullet->Fan(x, y, speed, centre, arc, count, type, wait, delay);
}

inline void Ring(GameState& st, int32_t type, int32_t count, float x, float y, float speed,
                 float base, int32_t delay, int32_t wait) {
  if (st.bullet == nullptr || !BulletType(type)) return;
  st.bullet->Ring(x, y, speed, base, count, type, wait, delay);
}

// The values of a queued change; anything not named stays as it is.
struct Change {
  float x = kChangeUnchanged;
  float speed = kChangeUnchanged;
  float accel = kChangeUnchanged;
  float angle = kChangeUnchanged;
  float angularSpeed = kChangeUnchanged;
  int32_t type = kChangeTypeUnchanged;
};

// Queued only for a bullet that was spawned.
inline void Queue(GameState& st, int32_t slot, int32_t frame, const Change& c) {
  if (slot < 0 || st.bullet == nullptr) return;
  st.bullet->QueueChange(slot, frame, c.x, kChangeUnchanged, c.speed, c.accel, c.angle,
                         c.angularSpeed, c.type);
}

inline Change Accel(float a) { Change c; c.accel = a; return c; }
inline Change Speed(float s) { Change c; c.speed = s; return c; }
inline Change Turn(float w) { Change c; c.angularSpeed = w; return c; }
inline Change MoveX(float x) { Change c; c.x = x; return c; }

}  // namespace script
