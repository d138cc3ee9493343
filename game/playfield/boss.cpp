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

// Items a won (or survived) spell card leaves: ids 18 and 21 give one bomb at
// the boss on attacks 5 and 13 and 32 power items otherwise; every other boss
// 8 power items. `aroundBoss` scatters them +-50 around the boss, else over
// the upper middle of the field. The y offset is drawn before the x offset.
void DropSpellItems(GameState* s, const Boss& b, bool bigDropBoss, bool aroundBoss) {
  if (!s) return;
  auto spawn = [s](float ix, float iy, int32_t kind) {
    if (s->item) s->item->Spawn(ix, iy, kind, -3, 90);
  };
  if (bigDropBoss && (b.attackIndex == 5 || b.attackIndex == 13)) {
    spawn(b.x, b.y, ItemBomb);
    return;
  }
  int count = bigDropBoss ? 32 : 8;
  for (int i = 0; i < count; ++i) {
    int32_t ry = ApiRandomInRange(100);
    int32_t rx = ApiRandomInRange(100);
    if (aroundBoss)
      spawn((b.x + static_cast<float>(rx)) - 50.0f, (b.y + static_cast<float>(ry)) - 50.0f, ItemPower);
    else
      spawn(static_cast<float>(158 + rx), static_cast<float>(93 + ry), ItemPower);
  }
}

void Capture(GameState* s, Boss& b) {
  PlaySe(s, SeBonus);
  if (s) {
    s->score += static_cast<uint32_t>(b.bonus);
    if (HasHistory(b.spellId) && !s->playback) ++s->spellCaptures[b.spellId];
  }
  b.captureShowFrames = 100;
}

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
  // Everything a fight leaves behind, so that a stage starts alike whatever
  // was played before it (a replay's digests depend on it).
  x = y = 0.0f;
  id = 0;
  speed = angle = 0.0f;
  moveFrames = 0;
  anim = 0;
  phaseFrame = 0;
  radius = 32;
  scale = 1.0f;
  hp = maxHp = 0;
  active = 0;
  defeatCounter = 0;
  burstAngle = 0;
  hitFlash = 0;
  capturable = 0;
  animStep = 1;
  attackIndex = 0;
  timeLeft = prevTime = 0.0f;
  bonus = 0;
  bonusDrain = 0.0f;
  spellActive = 0;
  spellId = 0;
  cutinFrames = 0;
  captureShowFrames = 0;
  invulnerable = 1;
  bombsAtSpell = livesAtSpell = 0;
  poseFrames = 0;
  barsLeft = 0;
  std::memset(scratch, 0, sizeof scratch);
  std::memset(trail, 0, sizeof trail);
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
  const float rawY = (y + static_cast<float>(r)) - static_cast<float>(yRange);
  int32_t ty = Clamp40(static_cast<int32_t>(rawY), 220);
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

// --- per-frame update -------------------------------------------------------

namespace {

// Ids 20-22 cannot be hurt by shots while a bomb runs during their spell.
bool ShieldedByBomb(const GameState* s, const Boss& b) {
  return (b.id == 20 || b.id == 21 || b.id == 22) && b.spellActive && s && s->player &&
         s->player->bombTimer > 0;
}

}  // namespace

void Boss::Update(GameState& state) {
  state_ = &state;
  if (!active) return;
  hitFlash = 0;
  if (defeatCounter != 0) {
    UpdateDefeat(state);
    CountDownNotices();
    return;
  }

  {
    PlayfieldBossContext ctx(state);
    RunAttackScript(ctx);
  }

  if ((id == 19 || id == 20) && phaseFrame % 4 == 0) {
    for (int i = 7; i > 0; --i) {
      trail[i][0] = trail[i - 1][0];
      trail[i][1] = trail[i - 1][1];
    }
    trail[0][0] = x;
    trail[0][1] = y;
  }

  if (moveFrames > 0) {
    float a = static_cast<float>(static_cast<double>(angle) / 180.0 * kPi);
    x += FloatCos(a) * speed;
    y += FloatSin(a) * speed;
    --moveFrames;
  }

  TakeShotHits(state);
  EndAttackIfOver(state);
  if (barsLeft <= 0) defeatCounter = 1;

  const bool talking = DialogueActive(&state);
  if (!talking && phaseFrame % 10 == 0) {
    anim += animStep;
    if (anim >= 2 || anim <= 0) animStep = -animStep;
  }
  if (!talking) {
    ++phaseFrame;
    if (timeLeft >= 0.0f) {
      if (spellActive && hp != kSurvivalHp && capturable) {
        bonus = static_cast<int32_t>(static_cast<float>(bonus) - bonusDrain);
        if (bonus < 0) bonus = 0;
      }
      prevTime = timeLeft;
      timeLeft = static_cast<float>(static_cast<double>(timeLeft) - 0.016666666);
      if (timeLeft < 10.0f && static_cast<int32_t>(timeLeft) != static_cast<int32_t>(prevTime))
        PlaySe(&state, SeTimeout);
    }
  }
  if (cutinFrames > 0) --cutinFrames;
  CountDownNotices();
}

void Boss::CountDownNotices() {
  if (captureShowFrames > 0) --captureShowFrames;
  if (poseFrames > 0) --poseFrames;
}

void Boss::TakeShotHits(GameState& state) {
  Player* p = state.player;
  if (!p) return;
  for (int i = 0; i < kPlayerShotPoolSize; ++i) {
    if (!p->shots[i].active) continue;
    if (!p->ShotTouches(i, x, y, radius)) continue;
    if (!invulnerable && cutinFrames == 0 && hp != kSurvivalHp && !ShieldedByBomb(&state, *this)) {
      PlaySe(&state, hp < 1000 ? SeHit2 : SeHit);
      hitFlash = 1;
      hp -= p->shots[i].damage;
      state.score += 1000;
    }
    p->OnShotHit(i);
  }
}

void Boss::FinishAttack(GameState& state) {
  poseFrames = 0;
  state.freeze = 0;
  spellActive = 0;
  spellId = 0;
  ClearFamiliars(&state);
  timeLeft = 99.0f;
  ++attackIndex;
  phaseFrame = 0;
  invulnerable = 1;
  MoveTo(208.0f, 128.0f, 50);
}

void Boss::EndAttackIfOver(GameState& state) {
  const bool bigDrop = id == 18 || id == 21;
  if (hp <= 0) {
    if (spellActive) {
      if (capturable) {
        Capture(&state, *this);
        int32_t gain = bonus / 10000;
        state.gauge += gain < 500 ? gain : 500;
      }
      --barsLeft;
      DropSpellItems(&state, *this, bigDrop, true);
    }
    if (state.bullet) state.bullet->EraseAllToItems();
    FinishAttack(state);
    hp = 1;
  }
  if (timeLeft < 0.0f) {
    if (spellActive) --barsLeft;
    if (hp == kSurvivalHp) {
      if (spellActive && capturable) Capture(&state, *this);
      DropSpellItems(&state, *this, id == 21, false);
      if (state.bullet) state.bullet->EraseAllToItems();
    }
    if (state.bullet) state.bullet->EraseAllForced();
    FinishAttack(state);
  }
}

void Boss::UpdateDefeat(GameState& state) {
  if (defeatCounter < 120) {
    ++defeatCounter;
    if (defeatCounter % 10 == 0) burstAngle = ApiRandomInRange(359);
    return;
  }
  PlaySe(&state, SeDeadBoss);
  if (id == 0 || id == 2 || id == 4 || id == 6) {
    active = 0;
    Start(1, id + 1, static_cast<int32_t>(x), static_cast<int32_t>(y), 0.0f, 0.0f);
    MoveTo(208.0f, 128.0f, 50);
    if (state.stage) ++state.stage->frame;
  } else {
    active = 0;
  }
}
