// Player object: the per-frame FrameInput, movement, bombs, gauge mode,
// collisions with grazes, the miss and respawn, game over and the pause.
#include "playfield/player.h"

#include <cstring>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/enemy.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/talk.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/scene_calls.h"
#include "shell/sound.h"

namespace {

constexpr double kPi = 3.141592653589793;

float Radians(float degrees) { return static_cast<float>(static_cast<double>(degrees) / 180.0 * kPi); }

void FreeAll(int32_t* handles, int count) {
  for (int i = 0; i < count; ++i) {
    if (handles[i] != -1) ApiFreeGraphHandle(handles[i], 0);
    handles[i] = -1;
  }
}

int32_t Cut(int32_t sheet, int x, int y, int w, int h) {
  if (sheet == -1 || w <= 0 || h <= 0) return -1;
  return ApiDeriveSubGraph(x, y, w, h, sheet);
}

struct Speeds {
  float normal, slow;
};
constexpr Speeds kSpeeds[5] = {{4.5f, 2.0f}, {4.5f, 1.0f}, {4.0f, 1.5f}, {3.5f, 1.0f}, {5.0f, 2.0f}};

constexpr int32_t kOptionRects[4][4] = {
    {288, 592, 32, 48}, {32, 0, 32, 48}, {128, 144, 64, 64}, {256, 144, 32, 48}};

// Headings of the held direction bits (up 1, right 2, down 4, left 8): the
// first match of up, right, down, left, up-right, up-left, right-down,
// down-left; anything else moves right.
float Heading(uint8_t bits) {
  switch (bits) {
    case FrameUp: return 270.0f;
    case FrameRight: return 0.0f;
    case FrameDown: return 90.0f;
    case FrameLeft: return 180.0f;
    case FrameUp | FrameRight: return 315.0f;
    case FrameUp | FrameLeft: return 225.0f;
    case FrameRight | FrameDown: return 45.0f;
    case FrameDown | FrameLeft: return 135.0f;
    default: return 0.0f;
  }
}

bool DialogueActive(const GameState& s) { return s.talk && s.talk->active; }

// The fighting boss's id, or -1 while no boss is active.
int32_t ActiveBossId(const GameState& s) {
  return s.boss && s.boss->active ? s.boss->id : -1;
}

void ForfeitCapture(GameState& s) {
  if (!s.boss) return;
  s.boss->capturable = 0;
  s.boss->bonus = 0;
}

void PlaySound(GameState& s, int effect) {
  if (s.sound) s.sound->Play(effect);
}

float SquaredDistance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1, dy = y2 - y1;
  return dx * dx + dy * dy;
}

// Body contact: (size / 2 + the player's radius)^2 against the distance^2.
bool Touches(int32_t size, int32_t hitRadius, float x1, float y1, float x2, float y2) {
  int32_t reach = size / 2 + hitRadius;
  return static_cast<float>(reach * reach) > SquaredDistance(x1, y1, x2, y2);
}

constexpr PlayerShotKind kShotKinds[kPlayerShotKindCount] = {
    {288, 144, 32, 64, 32}, {320, 144, 32, 64, 32}, {352, 144, 32, 64, 32},
    {288, 208, 32, 64, 32}, {320, 208, 32, 64, 32}, {352, 208, 32, 64, 32},
    {288, 272, 32, 64, 32}, {288, 336, 16, 256, -1}, {304, 336, 16, 256, -1},
    {320, 336, 16, 256, -1}, {336, 336, 16, 256, -1}, {352, 336, 16, 256, -1},
    {368, 336, 16, 256, -1}, {384, 336, 16, 256, -1}, {320, 272, 32, 32, 16},
    {0, 144, 32, 448, -1},   {32, 144, 32, 448, -1},  {64, 144, 32, 32, 24},
    {64, 176, 32, 32, 24},   {0, 0, 1, 1, 16},        {96, 144, 16, 16, 8},
    {112, 144, 16, 16, 8},   {192, 144, 32, 64, 32},  {224, 144, 32, 64, 32},
    {192, 208, 32, 64, 32},  {224, 208, 32, 64, 32},  {96, 160, 24, 192, -1},
    {384, 144, 11, 16, 16},  {416, 144, 64, 128, 48},
};
const PlayerShotKind kNoShotKind{};

}  // namespace

const PlayerShotKind& PlayerShotKindOf(int32_t kind) {
  return kind >= 0 && kind < kPlayerShotKindCount ? kShotKinds[kind] : kNoShotKind;
}

Player::Player(GameState& state)
    : hitMarkerImage(-1), deathImage(-1), barrierImage(-1), moveDir(0), x(208.0f), y(420.0f),
      width(32.0f), height(48.0f), animFrame(0), normalSpeed(4.5f), slowSpeed(2.0f), hitRadius(2),
      grazeRadius(16), missWindow(10), slow(0), invulnerable(0), missed(0), collectLine(128.0f),
      animStep(1), sparkPos{}, sparkAngle{}, sparkLife{}, sparkActive{}, optionType{},
      optionPos{}, optionSpeed{}, optionAngle{}, optionCount{}, optionToggle{}, frameCounter(0),
      lastShotFrame(-1000), missFrame(0), bombTimer(0), hitCounter(0), cutinTimer(0), bombKind(0),
      frameInput(0), shots{}, beamGlow(0), beamFiring(0), lastShotSlot(-1), clusterSlots{},
      auxAngle(0), dashSpeed(0) {
  for (int32_t& h : frames) h = -1;
  for (int32_t& h : shotImages) h = -1;
  for (int32_t& h : optionImages) h = -1;
  const int32_t sheet = state.playerSheet;
  for (int i = 0; i < 45; ++i) frames[i] = Cut(sheet, (i % 15) * 32, (i / 15) * 48, 32, 48);
  hitMarkerImage = Cut(sheet, 480, 0, 8, 8);
  for (int k = 0; k < kPlayerShotKindCount; ++k) {
    const PlayerShotKind& s = kShotKinds[k];
    shotImages[k] = Cut(sheet, s.x, s.y, s.width, s.height);
  }
  for (int k = 0; k < 4; ++k)
    optionImages[k] = Cut(sheet, kOptionRects[k][0], kOptionRects[k][1], kOptionRects[k][2],
                          kOptionRects[k][3]);
  deathImage = Cut(state.otherSheet, 0, 352, 32, 32);
  barrierImage = Cut(state.otherSheet, 224, 96, 192, 192);
  Reset(state);
}

Player::~Player() {
  FreeAll(frames, 45);
  FreeAll(shotImages, 64);
  FreeAll(optionImages, 16);
  FreeAll(&hitMarkerImage, 1);
  FreeAll(&deathImage, 1);
  FreeAll(&barrierImage, 1);
}

void Player::ResetForStage(GameState& state) {
  x = 208.0f;
  y = 420.0f;
  invulnerable = 270;
  if (state.gaugeActive) {
    state.gauge = 0;
    state.gaugeActive = 0;
  }
  std::memset(shots, 0, sizeof shots);
  std::memset(sparkActive, 0, sizeof sparkActive);
  // A stage starts with its own tally counts and never frozen, also after a
  // play that ended without a tally or in the middle of a freeze.
  state.stageGraze = 0;
  state.stagePointItems = 0;
  state.stageKind7Items = 0;
  state.freeze = 0;
}

void Player::Reset(GameState& state) {
  x = 208.0f;
  y = 420.0f;
  width = 32.0f;
  height = 48.0f;
  animFrame = 0;
  animStep = 1;
  moveDir = 0;
  slow = 0;
  missed = 0;
  frameCounter = 0;
  lastShotFrame = -1000;
  missFrame = 0;
  invulnerable = 270;
  bombTimer = 0;
  hitCounter = 0;
  cutinTimer = 0;
  bombKind = 0;
  beamGlow = 0;
  beamFiring = 0;
  frameInput = 0;
  lastShotSlot = -1;
  auxAngle = 0;
  dashSpeed = 0;
  std::memset(shots, 0, sizeof shots);
  std::memset(clusterSlots, 0, sizeof clusterSlots);
  // Sparks and options start empty, so a play never sees an earlier one's.
  std::memset(sparkPos, 0, sizeof sparkPos);
  std::memset(sparkAngle, 0, sizeof sparkAngle);
  std::memset(sparkLife, 0, sizeof sparkLife);
  std::memset(sparkActive, 0, sizeof sparkActive);
  std::memset(optionType, 0, sizeof optionType);
  std::memset(optionPos, 0, sizeof optionPos);
  std::memset(optionSpeed, 0, sizeof optionSpeed);
  std::memset(optionAngle, 0, sizeof optionAngle);
  std::memset(optionCount, 0, sizeof optionCount);
  std::memset(optionToggle, 0, sizeof optionToggle);

  state.lives = static_cast<int32_t>(state.livesSetting);
  state.bombs = static_cast<int32_t>(state.bombsSetting);
  state.power = 0;
  state.graze = 0;
  state.score = 0;
  state.pointItems = 0;
  state.gauge = 0;
  state.extends = 0;
  state.inputIndex = 0;
  state.hiScoreShown = state.difficulty <= 4 ? state.hiScore[state.difficulty * 5] : 0;

  uint32_t c = state.character <= 4 ? state.character : 0;
  normalSpeed = kSpeeds[c].normal;
  slowSpeed = kSpeeds[c].slow;
  hitRadius = 2;
  grazeRadius = 16;
  collectLine = 128.0f;
  missWindow = 10;
}

void Player::SetBombTimers(int32_t kind) {
  bombTimer = kind == 1 ? 180 : kind == 7 ? 250 : 200;
  cutinTimer = 180;
  invulnerable = 300;
}

int32_t Player::FindNearestEnemy(GameState& state) const {
  if (ActiveBossId(state) >= 0) return -1;
  if (!state.enemy) return -2;
  int32_t best = -2;
  int32_t bestDistance = 1000;
  for (int i = 0; i < kEnemyPoolSize; ++i) {
    const EnemySlot& e = state.enemy->slots[i];
    if (!e.active) continue;
    int32_t d = FloatToIntTrunc(FloatSqrt(SquaredDistance(x, y, e.x, e.y)));
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

// ---- One frame -------------------------------------------------------------------------

void Player::Update(GameState& s) {
  moveDir = 0;

  // The frame's input: recorded from pad 0, or read back during playback.
  uint8_t in = 0;
  if (s.playback) {
    in = s.inputIndex < kPlaybackBufferSize ? s.playbackInputs[s.inputIndex] : 0;
  } else {
    in = s.input ? BuildFrameInput(*s.input) : 0;
    RecordFrameInput(s, in);
  }
  frameInput = in;
  const bool dialogue = DialogueActive(s);
  const int32_t bossId = ActiveBossId(s);

  if (!missed) {
    slow = (in & FrameSlow) && hitCounter == 0 ? 1 : 0;

    uint8_t dirs = 0;
    if (hitCounter == 0) {
      dirs = in & (FrameUp | FrameRight | FrameDown | FrameLeft);
      if (dirs & FrameLeft) moveDir = 1;
      if (dirs & FrameRight) moveDir = 2;
    }
    const bool heldStill = bombTimer > 0 && (bombKind == 2 || bombKind == 3 || bombKind == 8 ||
                                             bombKind == 9);
    if (dirs && !heldStill) {
      float a = Radians(Heading(dirs));
      float v = slow ? slowSpeed : normalSpeed;
      x += FloatCos(a) * v;
      y += FloatSin(a) * v;
    }

    if ((in & FrameBomb) && s.bombs > 0 && bombTimer == 0 && !dialogue && bossId != 22) {
      --s.bombs;
      ForfeitCapture(s);
      if (s.item) s.item->SetAttraction(true);
      hitCounter = 0;
      s.gauge -= 200;
      PlaySound(s, SeCutin);
      bombKind = 2 * static_cast<int32_t>(s.character) + slow;
      SetBombTimers(bombKind);
    }

    beamFiring = 0;
    if ((in & FrameShot) && bombTimer == 0 && !dialogue && hitCounter == 0) FireShotPattern(s);
    if (!beamFiring && beamGlow > 0) --beamGlow;

    if (s.gauge >= 1000) {
      PlaySound(s, SeMeitei);
      s.gaugeActive = 1;
      s.gauge = 1000;
    }
    if (s.gaugeActive) {
      UpdateGaugeMode(s);
      s.gauge -= 2;
      if (s.gauge <= 0) {
        s.gauge = 0;
        s.gaugeActive = 0;
      }
    }
  }

  if (bombTimer > 0) RunBombEffect(s);
  UpdateShots(s);

  if (!(bombTimer > 0 && (bombKind == 8 || bombKind == 9))) {
    if (x < 24.0f) x = 24.0f;
    if (x > 392.0f) x = 392.0f;
    if (y < 24.0f) y = 24.0f;
    if (y > 456.0f) y = 456.0f;
  }

  if (!missed && invulnerable == 0 && !s.freeze && !dialogue) Collide(s);

  if (missed && missFrame <= frameCounter - 30) {
    if (s.lives < 0) {
      if (s.playback) {
        EndReplay(s);
      } else if (s.practice) {
        EnterTitle(s);
      } else {
        EnterMenuScene(s, s.difficulty == 4 ? SceneNameEntry : SceneContinue);
      }
    }
    x = 208.0f;
    y = 420.0f;
    missed = 0;
  }

  ++frameCounter;
  if (invulnerable) --invulnerable;
  if (cutinTimer) --cutinTimer;
  if (bombTimer) --bombTimer;
  if (hitCounter) ++hitCounter;
  if (hitCounter >= missWindow) {
    hitCounter = 0;
    Miss(s);
  }

  for (int i = 0; i < kPlayerSparkCount; ++i) {
    if (!sparkActive[i]) continue;
    float a = Radians(static_cast<float>(sparkAngle[i]));
    sparkPos[i][0] += FloatCos(a) * 4.0f;
    sparkPos[i][1] += FloatSin(a) * 4.0f;
    if (--sparkLife[i] <= 0) sparkActive[i] = 0;
  }

  if (frameCounter % 10 == 0) {
    animFrame += animStep;
    if (animFrame >= 2 || animFrame <= 0) animStep = -animStep;
  }
  if (frameCounter % 60 == 0 && !s.gaugeActive && ActiveBossId(s) < 0) --s.gauge;
  if (s.gauge < 0) s.gauge = 0;

  if (s.input && s.input->FreshPress(ButtonEscape)) {
    PlaySound(s, SePause);
    EnterMenuScene(s, ScenePause);
  }

  if (s.playback) {
    ++s.inputIndex;
    if (s.inputIndex + 1 >= s.replayHeader.inputCount) EndReplay(s);
  } else if (s.inputIndex < kMaxReplayFrames) {
    // A recording ends where a replay file ends; play goes on unrecorded.
    ++s.inputIndex;
  }
}

void Player::Collide(GameState& s) {
  const int32_t bossId = ActiveBossId(s);
  bool hit = false;

  if (s.bullet) {
    Bullet& b = *s.bullet;
    const bool spellOfBoss11 = bossId == 11 && s.boss->spellId != 0;
    for (int i = 0; i < kBulletPoolSize && !hit; ++i) {
      if (!b.IsHittable(i) || !b.records[i].hitsPlayer) continue;
      const BulletRecord& r = b.records[i];
      switch (b.GetLaserState(i)) {
        case 0: {
          // The stage 3 boss's spell cards widen every bullet, for hits and
          // grazes alike; type 117 then only grazes.
          int32_t radius = BulletRadius(r.type);
          bool canHit = true;
          if (spellOfBoss11) {
            radius = static_cast<int32_t>(static_cast<float>(radius) * 1.5f);
            canHit = r.type != 117;
          }
          if (canHit && HitTestCircles(hitRadius, radius, x, y, r.x, r.y)) {
            hit = true;
          } else if (!r.grazed && HitTestCircles(grazeRadius, radius, x, y, r.x, r.y)) {
            b.MarkGrazed(i);
            Graze(s);
          }
          break;
        }
        case 1: {
          float facing = b.GetFacing(i);
          float half = r.width * 0.5f;
          if (HitTestLaser(x, y, hitRadius, r.x, r.y, facing, r.length, half))
            hit = true;
          else if (HitTestLaser(x, y, grazeRadius, r.x, r.y, facing, r.length, half) &&
                   s.frameCount % 12 == 0)
            Graze(s);
          break;
        }
        default: break;
      }
    }
  }
  if (s.enemy) {
    for (int i = 0; i < kEnemyPoolSize; ++i) {
      const EnemySlot& e = s.enemy->slots[i];
      if (e.active && Touches(s.enemy->hitRadius, hitRadius, x, y, e.x, e.y)) {
        hit = true;
        break;
      }
    }
  }
  if (bossId >= 0 && Touches(s.boss->radius, hitRadius, x, y, s.boss->x, s.boss->y)) hit = true;
  if (s.maho && slow == 0) {
    for (int i = 0; i < kMahoPoolSize; ++i) {
      const MahoSlot& m = s.maho->slots[i];
      if (m.active && (m.sprite & 1) && Touches(s.maho->hitRadius, hitRadius, x, y, m.x, m.y)) {
        hit = true;
        break;
      }
    }
  }
  if (hit && hitCounter == 0) {
    hitCounter = 1;
    PlaySound(s, SeMiss);
  }
}

void Player::Graze(GameState& s) {
  PlaySound(s, SeGraze);
  ++s.graze;
  ++s.stageGraze;
  ++s.gauge;
  AddScore(s, 2000);
  // Every graze draws the spark's angle, also when all 16 sparks are busy,
  // so the draws that follow do not depend on what is on screen.
  int32_t angle = ApiRandomInRange(359);
  for (int i = 0; i < kPlayerSparkCount; ++i) {
    if (sparkActive[i]) continue;
    sparkActive[i] = 1;
    sparkPos[i][0] = x;
    sparkPos[i][1] = y;
    sparkAngle[i] = angle;
    sparkLife[i] = 8;
    break;
  }
}

void Player::Miss(GameState& s) {
  ForfeitCapture(s);
  if (s.bullet) s.bullet->EraseAll();
  if (ActiveBossId(s) == 22) return;

  --s.lives;
  s.power = s.power > 16 ? s.power - 16 : 0;
  s.bombs = 3;
  s.gauge = 0;
  const float ix = x, iy = y - 32.0f;
  if (s.lives >= 0) {
    for (int k = 0; k < 4; ++k) {
      int32_t spread = ApiRandomInRange(60);
      if (s.item) s.item->Spawn(ix, iy, ItemPower, -6, 60 + spread);
    }
    int32_t spread = ApiRandomInRange(60);
    if (s.item) s.item->Spawn(ix, iy, ItemBigPower, -6, 60 + spread);
  } else {
    for (int k = 0; k < 4; ++k) {
      int32_t spread = ApiRandomInRange(60);
      if (s.item) s.item->Spawn(ix, iy, ItemFullPower, -6, 60 + spread);
    }
  }
  if (s.item) s.item->SetAttraction(false);
  missed = 1;
  missFrame = frameCounter;
  invulnerable = 300;
}

// ---- Digest ----------------------------------------------------------------------------

uint64_t Player::Hash() const {
  StateHasher h;
  h.Add(moveDir);
  h.Add(x);
  h.Add(y);
  h.Add(width);
  h.Add(height);
  h.Add(animFrame);
  h.Add(normalSpeed);
  h.Add(slowSpeed);
  h.Add(hitRadius);
  h.Add(grazeRadius);
  h.Add(missWindow);
  h.Add(slow);
  h.Add(invulnerable);
  h.Add(missed);
  h.Add(collectLine);
  h.Add(animStep);
  for (int i = 0; i < kPlayerSparkCount; ++i) {
    h.Add(sparkPos[i][0]);
    h.Add(sparkPos[i][1]);
    h.Add(sparkAngle[i]);
    h.Add(sparkLife[i]);
    h.Add(sparkActive[i]);
    h.Add(optionType[i]);
    h.Add(optionPos[i][0]);
    h.Add(optionPos[i][1]);
    h.Add(optionSpeed[i]);
    h.Add(optionAngle[i]);
    h.Add(optionCount[i]);
    h.Add(optionToggle[i]);
  }
  h.Add(frameCounter);
  h.Add(lastShotFrame);
  h.Add(missFrame);
  h.Add(bombTimer);
  h.Add(hitCounter);
  h.Add(cutinTimer);
  h.Add(bombKind);
  h.Add(frameInput);
  for (const PlayerShotSlot& p : shots) {
    h.Add(p.x);
    h.Add(p.y);
    h.Add(p.speed);
    h.Add(p.angle);
    h.Add(p.accel);
    h.Add(p.angularSpeed);
    h.Add(p.kind);
    h.Add(p.active);
    h.Add(p.mode);
    h.Add(p.frame);
    h.Add(p.damage);
    h.Add(p.cancelsBullets);
  }
  h.Add(beamGlow);
  h.Add(beamFiring);
  h.Add(lastShotSlot);
  h.AddArray(clusterSlots);
  h.Add(auxAngle);
  h.Add(dashSpeed);
  return h.Value();
}
