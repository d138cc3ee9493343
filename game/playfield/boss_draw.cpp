// Boss drawing: spell circle, hit flash, after-images, pose rows and the
// defeat burst.
#include <cmath>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/player.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"

namespace {

constexpr double kPi = 3.141592653589793;

int Px(float v) { return static_cast<int>(v); }

// The hit-flash alpha: rises 2..8 over the 12-frame cycle and falls back.
int FlashAlpha(int32_t frameCount) {
  int m = frameCount % 12;
  if (m < 0) m += 12;
  int f = m + 2 < 14 - m ? m + 2 : 14 - m;
  return 32 * f;
}

}  // namespace

int32_t Boss::SpriteFrame(int32_t row) const {
  int32_t set = id >= 0 && id < 23 ? kBossSpriteSet[id] : 0;
  int32_t col0 = 3 * (set % 5);
  int32_t row0 = 4 * (set / 5);
  int32_t column = anim < 0 ? 0 : (anim > 2 ? 2 : anim);
  int32_t index = (row0 + row) * 15 + col0 + column;
  return index >= 0 && index < 180 ? frames[index] : -1;
}

void Boss::Draw(GameState& state) {
  if (!active) return;
  if (spellId != 0) {
    ApiSetBlendMode(1, 127);
    ApiDrawGraphRotated(Px(x), Px(y), timeLeft / 50.0, phaseFrame * kPi / 180.0, circleImage, 1, 0);
    ApiSetBlendMode(0, 255);
  }
  const int flash = hitFlash ? FlashAlpha(state.frameCount) : -1;
  auto setFlash = [flash] {
    if (flash >= 0)
      ApiSetBlendMode(1, flash);
    else
      ApiSetBlendMode(0, 255);
  };
  setFlash();
  const bool pointSampled = static_cast<int32_t>(scale) != 1;
  if (pointSampled) ApiSetDrawFilter(0);

  const bool hidden = (id == 20 || id == 21 || id == 22) && state.player &&
                      state.player->bombTimer > 0 && spellActive;
  if (!hidden) {
    // Pose row and tilt.
    int32_t row = 0;
    double tilt = 0.0;
    if (poseFrames > 0) {
      row = 3;
    } else if (moveFrames > 0 && speed > 0.2f) {
      int32_t a = static_cast<int32_t>(angle) % 360;
      if (a != 90 && a != 270) {
        bool left = (a > 90 && a < 270) || (a > -270 && a < -90);
        if (id == 4 || id == 5 || id == 13 || id == 14 || id == 21) {
          tilt = left ? -10.0 : 10.0;
        } else if (id == 2 || id == 3) {
          row = left ? 1 : 2;
          tilt = (left ? -30.0 : 30.0) * phaseFrame;
        } else {
          row = left ? 1 : 2;
        }
      }
    }
    if (id == 19 || id == 20) {
      ApiSetDrawBrightness(255, 0, 0);
      for (int i = 7; i >= 0; --i) {
        ApiSetBlendMode(1, 31 + 32 * (7 - i));
        ApiDrawGraphRotated(Px(trail[i][0]), Px(trail[i][1]), scale, 0.0, SpriteFrame(row), 1, 0);
      }
      setFlash();
      ApiSetDrawBrightness(255, 255, 255);
    }
    ApiDrawGraphRotated(Px(x), Px(y), scale, tilt * kPi / 180.0, SpriteFrame(row), 1, 0);
  }
  ApiSetBlendMode(0, 255);
  if (pointSampled) ApiSetDrawFilter(1);

  if (defeatCounter >= 90) {
    ApiSetBlendMode(1, static_cast<int>(255 - (defeatCounter - 90) * 8));
    ApiDrawGraphRotated(Px(x), Px(y), defeatCounter / 30.0, 0.0, burstImage, 1, 0);
    ApiSetBlendMode(0, 255);
  }
  if (defeatCounter != 0) {
    const float e = static_cast<float>(burstAngle);
    const int k = defeatCounter % 10;
    const float l1 = static_cast<float>((10 - k) * 6.4);
    const float l2 = static_cast<float>(k * 19.2);
    auto rad = [](float deg) { return static_cast<float>(deg / 180.0 * kPi); };
    float p1x = x + l1 * FloatCos(rad(e + 45)), p1y = y + l1 * FloatSin(rad(e + 45));
    float p2x = x + l1 * FloatCos(rad(e - 45)), p2y = y + l1 * FloatSin(rad(e - 45));
    float dx = l2 * FloatCos(rad(e)), dy = l2 * FloatSin(rad(e));
    ApiSetBlendMode(1, 127);
    ApiDrawGraphQuad(Px(p1x + dx), Px(p1y + dy), Px(p2x + dx), Px(p2y + dy), Px(p2x - dx),
                     Px(p2y - dy), Px(p1x - dx), Px(p1y - dy), burstImage, 1);
    ApiSetBlendMode(0, 255);
  }
}
