// Boss object: motion, health, attack sequence, spell cards and the defeat.
#include "playfield/boss.h"

#include <cmath>
#include <cstring>

#include "boss/script_context.h"
#include "library/tesra.h"
#include "playfield/boss_context.h"
#include "playfield/bullet.h"
#include "playfield/digest.h"
#include "playfield/item.h"
#include "playfield/maho.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "playfield/talk.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"
#include "shell/sound.h"

const int32_t kBossBarCount[23] = {1, 2, 1, 2, 1, 2, 1, 2, 1, 3, 1, 4,
                                   4, 4, 4, 4, 1, 4, 1, 5, 1, 10, 1};
const int32_t kBossSpriteSet[23] = {0, 0, 1, 1, 2, 2, 3, 3, 4,  4,  5,  6,
                                    7, 8, 9, 10, 11, 11, 11, 12, 12, 13, 13};

namespace {

constexpr int32_t kSurvivalHp = 65535;
constexpr double kPi = 3.141592653589793;

bool InBossTable(int32_t id) { return id >= 0 && id < 23; }

// The spell id has a history entry (ids 1-255; 0 is no spell card).
bool HasHistory(int32_t spellId) { return spellId > 0 && spellId < 256; }

void ClearFamiliars(GameState* s) {
  if (!s || !s->maho) return;
  for (MahoSlot& m : s->maho->slots) m.active = 0;
}

void PlaySe(GameState* s, int effect) {
  if (s && s->sound) s->sound->Play(effect);
}

bool DialogueActive(const GameState* s) { return s && s->talk && s->talk->active != 0; }

int32_t Clamp40(int32_t v, int32_t hi) {
  if (v <= 40) return 40;
  if (v >= hi) return hi;
  return v;
}

}  // namespace

Boss::Boss(GameState& state)
    : burstImage(-1), circleImage(-1), x(0), y(0), id(0), speed(0), angle(0), moveFrames(0),
      anim(0), phaseFrame(0), radius(32), scale(1.0f), hp(0), maxHp(0), active(0),
      defeatCounter(0), burstAngle(0), hitFlash(0), capturable(0), animStep(1), attackIndex(0),
      timeLeft(0), prevTime(0), bonus(0), bonusDrain(0), spellActive(0), spellId(0),
      cutinFrames(0), captureShowFrames(0), invulnerable(1), bombsAtSpell(0), livesAtSpell(0),
      poseFrames(0), barsLeft(0), scratch{}, trail{}, state_(&state) {
  for (int i = 0; i < 180; ++i) frames[i] = -1;
  if (ApiLoadGraphFileSplit("vko01\\boss.tga", 180, 15, 12, 64, 64, frames, 0) != 0)
    for (int i = 0; i < 180; ++i) frames[i] = -1;
  if (state.otherSheet > 0) {
    burstImage = ApiDeriveSubGraph(0, 352, 32, 32, state.otherSheet);
    circleImage = ApiDeriveSubGraph(224, 96, 192, 192, state.otherSheet);
  }
}

Boss::~Boss() {
  for (int i = 0; i < 180; ++i)
    if (frames[i] != -1) ApiFreeGraphHandle(frames[i], 0);
  if (burstImage != -1) ApiFreeGraphHandle(burstImage, 0);
  if (circleImage != -1) ApiFreeGraphHandle(circleImage, 0);
}

void Boss::ResetForStage() {
  active = 0;
  spellId = 0;
  spellActive = 0;
  cutinFrames = 0;
  captureShowFrames = 0;
  poseFrames = 0;
  defeatCounter = 0;
  moveFrames = 0;
  anim = 0;
  animStep = 1;
  invulnerable = 1;
}

void Boss::Start(int32_t frameCount, int32_t bossId, int32_t startX, int32_t startY, float spd,
                 float ang) {
  x = static_cast<float>(startX);
  y = static_cast<float>(startY);
  id = bossId;
  speed = spd;
  angle = ang;
  moveFrames = frameCount;
  hp = 1;
  maxHp = 1000;
  active = 1;
  invulnerable = 1;
  attackIndex = 0;
  bonus = 0;
  phaseFrame = 0;
  spellActive = 0;
  spellId = 0;
  defeatCounter = 0;
  cutinFrames = 0;
  timeLeft = 99.0f;
  barsLeft = InBossTable(bossId) ? kBossBarCount[bossId] : 1;
  scale = 1.0f;
  radius = 32;
  std::memset(scratch, 0, sizeof scratch);
  for (auto& p : trail) {
    p[0] = x;
    p[1] = y;
  }
}

void Boss::StartSpell(int32_t newSpellId, int32_t newHp, int32_t seconds, int32_t newBonus) {
  ClearFamiliars(state_);
  timeLeft = static_cast<float>(seconds);
  hp = maxHp = newHp;
  bonus = newBonus;
  invulnerable = 0;
  if (newSpellId == 0) {
    spellId = 0;
    spellActive = 0;
  } else {
    if (state_ && HasHistory(newSpellId) && !state_->playback) ++state_->spellAttempts[newSpellId];
    spellId = newSpellId;
    spellActive = 1;
    cutinFrames = 180;
    captureShowFrames = 0;
    if (state_) {
      bombsAtSpell = state_->bombs;
      livesAtSpell = state_->lives;
    }
    capturable = 1;
    PlaySe(state_, SeCutin);
  }
  // A spell without time drains nothing (no division by zero).
  bonusDrain = seconds != 0 ? static_cast<float>(newBonus / seconds / 60.0) : 0.0f;
}

int32_t Boss::GetActiveId() const { return active ? id : -1; }

void Boss::MoveTo(float tx, float ty, int32_t frameCount) {
  if (frameCount < 1) frameCount = 1;
  float dx = tx - x;
  float dy = ty - y;
  moveFrames = frameCount;
  angle = static_cast<float>(FloatAtan2(dy, dx) * 180.0 / kPi);
  speed = FloatSqrt(dx * dx + dy * dy) / static_cast<float>(frameCount);
}

void Boss::MoveBy(float offsetX, float offsetY, int32_t frameCount) {
  MoveTo(x + offsetX, y + offsetY, frameCount);
}

void Boss::MoveRandom() {
  int32_t rx = ApiRandomInRange(60);
  int32_t tx = static_cast<int32_t>(x + static_cast<float>(rx) - 30.0f);
  int32_t ry = ApiRandomInRange(8);
  int32_t ty = static_cast<int32_t>(y + static_cast<float>(ry) - 4.0f);
  tx = Clamp40(tx, 360);
  ty = Clamp40(ty, 220);
  MoveTo(static_cast<float>(tx), static_cast<float>(ty), 30);
}

void Boss::MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frameCount) {
  int32_t r = ApiRandomInRange(static_cast<uint32_t>(2 * yRange));
  int32_t ty = Clamp40(static_cast<int32_t>(y + static_cast<float>(r - yRange)), 220);
  float px = state_ && state_->player ? state_->player->x : 208.0f;
  float tx;
  if (x > px) {
    tx = x - static_cast<float>(stepX);
    if (tx < 80.0f) tx = 80.0f;
  } else {
    tx = x + static_cast<float>(stepX);
    if (tx > 336.0f) tx = 336.0f;
  }
  MoveTo(tx, static_cast<float>(ty), frameCount);
}

uint64_t Boss::Hash() const {
  StateHasher h;
  h.Add(x);
  h.Add(y);
  h.Add(id);
  h.Add(speed);
  h.Add(angle);
  h.Add(moveFrames);
  h.Add(anim);
  h.Add(phaseFrame);
  h.Add(radius);
  h.Add(scale);
  h.Add(hp);
  h.Add(maxHp);
  h.Add(active);
  h.Add(defeatCounter);
  h.Add(burstAngle);
  h.Add(hitFlash);
  h.Add(capturable);
  h.Add(animStep);
  h.Add(attackIndex);
  h.Add(timeLeft);
  h.Add(prevTime);
  h.Add(bonus);
  h.Add(bonusDrain);
  h.Add(spellActive);
  h.Add(spellId);
  h.Add(cutinFrames);
  h.Add(captureShowFrames);
  h.Add(invulnerable);
  h.Add(bombsAtSpell);
  h.Add(livesAtSpell);
  h.Add(poseFrames);
  h.Add(barsLeft);
  h.AddArray(scratch);
  for (const auto& p : trail) {
    h.Add(p[0]);
    h.Add(p[1]);
  }
  return h.Value();
}

void Boss::Update(GameState&) {}
void Boss::Draw(GameState&) {}
