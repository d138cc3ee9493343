// Player object.
#include "playfield/player.h"

#include <cstring>

#include "library/tesra.h"
#include "shell/gamestate.h"

namespace {
void FreeAll(int32_t* handles, int count) {
  for (int i = 0; i < count; ++i) {
    if (handles[i] != -1) ApiFreeGraphHandle(handles[i], 0);
    handles[i] = -1;
  }
}
}  // namespace

Player::Player(GameState&)
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
}

Player::~Player() {
  FreeAll(frames, 45);
  FreeAll(shotImages, 64);
  FreeAll(optionImages, 16);
  FreeAll(&hitMarkerImage, 1);
  FreeAll(&deathImage, 1);
  FreeAll(&barrierImage, 1);
}

void Player::Update(GameState&) {}
void Player::Draw(GameState&) {}

void Player::ResetForStage(GameState& state) {
  x = 208.0f;
  y = 420.0f;
  invulnerable = 270;
  if (state.gaugeActive) {
    state.gauge = 0;
    state.gaugeActive = 0;
  }
  for (int i = 0; i < kPlayerShotPoolSize; ++i) shots[i].active = 0;
}

namespace {
const PlayerShotKind kNoShotKind{};
}
const PlayerShotKind& PlayerShotKindOf(int32_t) { return kNoShotKind; }

void Player::Reset(GameState&) {}
void Player::Miss(GameState&) {}
void Player::SetBombTimers(int32_t) {}
int32_t Player::FindNearestEnemy(GameState&) const { return -2; }
int32_t Player::SpawnShot(float, float, float, float, float, float, int32_t, int32_t, int32_t) {
  return -1;
}
int32_t Player::SpawnCancelShot(float, float, float, float, float, float, int32_t, int32_t,
                                int32_t) {
  return -1;
}
void Player::UpdateShots(GameState&) {}
void Player::OnShotHit(int32_t) {}
bool Player::ShotTouches(int32_t, float, float, int32_t) const { return false; }
uint64_t Player::Hash() const { return 0; }
