// Runs one enemy or familiar kind alone on a given difficulty and notes when
// it fires, how much, and how many draws it takes from the generator.
#pragma once
#include <cstdint>

#include "field.h"

struct KindRun {
  int firstFire = -1;   // the kind's frame of its first volley
  int gap = -1;         // frames to the second volley
  int firstVolley = 0;  // bullets of the first volley
  int bullets = 0;      // bullets over the whole run
  int familiars = 0;    // familiars it called up
  int draws = 0;        // generator draws over the whole run
};

constexpr int kRunFrames = 700;

// Bullets are never removed during these runs (the pool is not updated), so
// they fill the pool from slot 0 on: count on from the last count.
inline int CountFrom(const Bullet& b, int n) {
  while (n < kBulletPoolSize && b.records[n].active) ++n;
  return n;
}

inline void NoteVolley(KindRun& r, int frame, int spawned) {
  if (spawned <= 0) return;
  if (r.firstFire < 0) {
    r.firstFire = frame;
    r.firstVolley = spawned;
  } else if (r.gap < 0) {
    r.gap = frame - r.firstFire;
  }
  r.bullets += spawned;
}

inline KindRun RunEnemyKind(int kind, uint32_t d, int frames = kRunFrames) {
  Field f(d);
  DrawCounter dc;
  dc.Start(11);
  KindRun r;
  int slot = f.enemy->Spawn(kind, 120, 40, 1, 0, 0);
  for (int k = 0; k < frames && f.enemy->slots[slot].active; ++k) {
    int before = CountFrom(*f.bullet, r.bullets);
    int familiars = f.maho->CountActive();
    int frame = f.enemy->slots[slot].frame;
    f.enemy->Update(f.S());
    NoteVolley(r, frame, CountFrom(*f.bullet, before) - before);
    r.familiars += f.maho->CountActive() - familiars;
  }
  r.draws = dc.Count();
  return r;
}

inline KindRun RunFamiliarKind(int kind, int subKind, bool enemyOwned, uint32_t d, bool slow = false,
                               int frames = kRunFrames) {
  Field f(d);
  f.player->slow = slow ? 1 : 0;
  f.boss->active = 1;
  f.boss->x = 208.0f;
  f.boss->y = 128.0f;
  int owner = -1;
  if (enemyOwned) owner = f.enemy->Spawn(3, 208, 128, 0, 0, -1);
  DrawCounter dc;
  dc.Start(11);
  KindRun r;
  int slot = f.maho->Spawn(kind, 272, 128, owner, 0.3f, 0, subKind);
  for (int k = 0; k < frames && f.maho->slots[slot].active; ++k) {
    int before = CountFrom(*f.bullet, r.bullets);
    int frame = f.maho->slots[slot].frame;
    f.maho->Update(f.S());
    NoteVolley(r, frame, CountFrom(*f.bullet, before) - before);
  }
  r.draws = dc.Count();
  return r;
}
