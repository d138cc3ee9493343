// Stage background object: per-stage layers, spell-card cross-fade, the
// falling petals of stage 2 and the freeze picture.
#include "playfield/background.h"

#include <cmath>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/digest.h"
#include "playfield/stage.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kFieldX = 16, kFieldY = 16, kFieldW = 384, kFieldH = 448;
constexpr int kFadeFrames = 32;  // the cross-fade into and out of a spell card

// Texture file of each slot 0-5 by stage number 0-12 (nullptr: none).
const char* const kStageTextures[13][6] = {
    {"back1a1.tga", "back1a2.tga", "back1a3.tga", "back1as1.tga", "back1as2.tga", nullptr},
    {"back1bs.tga", "back1b.tga", nullptr, nullptr, nullptr, nullptr},
    {"back1cs1.tga", "back1cs2.tga", "back1c1.tga", nullptr, nullptr, nullptr},
    {"back1d1.tga", "back1d2.tga", "back1ds.tga", nullptr, nullptr, nullptr},
    {"back2s.tga", "tex.tga", "fog.tga", "cherry.tga", "white.tga", "sky.tga"},
    {"back1d1.tga", "back1d2.tga", "back3ms.tga", "back3s1.tga", nullptr, nullptr},
    {"back4as1.tga", "back4as2.tga", "back42.tga", "back43.tga", "back44.tga", "back45.tga"},
    {"back4bs1.tga", "back4bs2.tga", "back42.tga", "back43.tga", "back44.tga", "back45.tga"},
    {"back4cs.tga", nullptr, "back42.tga", "back43.tga", "back44.tga", "back45.tga"},
    {"back4ds1.tga", "back4ds2.tga", "back42.tga", "back43.tga", "back44.tga", "back45.tga"},
    {"back5s.tga", "back5.tga", nullptr, nullptr, nullptr, nullptr},
    {"back6s1.tga", "back6s2.tga", "back61.tga", "back62.tga", "back5s.tga", nullptr},
    {"backexs1.tga", "backexs2.tga", "backex1.tga", "backex2.tga", "backex3.tga", "backex4.tga"},
};

int Mod(int v, int m) {
  int r = v % m;
  return r < 0 ? r + m : r;
}

void Blend(int mode, int param) { ApiSetBlendMode(mode, param < 0 ? 0 : (param > 255 ? 255 : param)); }
void BlendOff() { ApiSetBlendMode(0, 255); }

// A rectangle of the field (dst, w x h) filled from the texture block at
// (srcX, srcY) of texW x texH, shifted by (offX, offY) and wrapped within the
// block: field pixel (x, y) of the rectangle shows block pixel
// ((x - offX) mod texW, (y - offY) mod texH). A 384 x 448 texture shifted down
// by d over the whole field takes the usual two copies.
void DrawWrappedPart(int tex, int srcX, int srcY, int texW, int texH, int dstX, int dstY, int w,
                     int h, int offX, int offY, int transparent) {
  if (tex == -1) return;
  for (int fy = 0; fy < h;) {
    const int sy = Mod(fy - offY, texH);
    const int rows = texH - sy < h - fy ? texH - sy : h - fy;
    for (int fx = 0; fx < w;) {
      const int sx = Mod(fx - offX, texW);
      const int cols = texW - sx < w - fx ? texW - sx : w - fx;
      ApiDrawGraphPart(dstX + fx, dstY + fy, srcX + sx, srcY + sy, cols, rows, tex, transparent, 0);
      fx += cols;
    }
    fy += rows;
  }
}

void DrawWrapped(int tex, int texW, int texH, int offX, int offY, int transparent) {
  DrawWrappedPart(tex, 0, 0, texW, texH, kFieldX, kFieldY, kFieldW, kFieldH, offX, offY, transparent);
}

void ScrollDown(int tex, int d, int transparent, int texW = kFieldW, int texH = kFieldH) {
  DrawWrapped(tex, texW, texH, 0, d, transparent);
}
void Full(int tex, int transparent) { DrawWrapped(tex, kFieldW, kFieldH, 0, 0, transparent); }

void FillBlack() {
  ApiDrawRectangle(kFieldX, kFieldY, kFieldX + kFieldW, kFieldY + kFieldH,
                   ApiRgbToScreenColor(0, 0, 0), 1);
}

double Radians(double degrees) { return degrees / 180.0 * kPi; }

// The fourth stage's normal picture by route (stage numbers 6-9): over the
// floor (slot 3) the snow (slot 2), the clouds (slot 4) and the forest
// (slot 5) come and go. Each change fades one layer to a new alpha in 16
// frames from its frame on; a layer at 255 becomes the base.
struct SceneryChange {
  int32_t frame, slot, alpha;
};
struct RouteScenery {
  int count;
  SceneryChange changes[7];
};
constexpr int kSceneryFadeFrames = 16;
const RouteScenery kFourthStageScenery[4] = {
    {7, {{2240, 2, 64}, {2688, 2, 128}, {3700, 4, 128}, {3924, 4, 255}, {5650, 5, 128},
         {5714, 5, 255}, {5778, 2, 0}}},
    // Route 1 keeps one picture; its snow falls from the start (under the
    // black of the stage's first frames).
    {1, {{0, 2, 128}}},
    {4, {{2240, 2, 64}, {2688, 2, 128}, {3700, 4, 128}, {3924, 4, 255}}},
    {5, {{2240, 2, 64}, {2688, 2, 128}, {3700, 4, 128}, {3924, 4, 255}, {5650, 5, 255}}},
};

// The alpha of one layer of the route's picture at the stage frame.
int SceneryAlpha(int route, int slot, int frame) {
  int alpha = 0;
  const RouteScenery& r = kFourthStageScenery[route & 3];
  for (int i = 0; i < r.count; ++i) {
    const SceneryChange& c = r.changes[i];
    if (c.slot != slot || frame < c.frame) continue;
    const int step = frame - c.frame + 1;
    alpha += (c.alpha - alpha) * (step < kSceneryFadeFrames ? step : kSceneryFadeFrames) /
             kSceneryFadeFrames;
  }
  return alpha;
}

}  // namespace

Background::Background(GameState& state)
    : freezePicture(-1), drawCounter(0), stageFrame(0), particles{}, inSpell(0), wasInSpell(0),
      fadeStart(0), fadeNow(0) {
  for (int32_t& h : textures) h = -1;
  if (state.otherSheet > 0) freezePicture = ApiDeriveSubGraph(0, 224, 96, 64, state.otherSheet);
}

Background::~Background() {
  for (int32_t& h : textures)
    if (h != -1) ApiFreeGraphHandle(h, 0);
  if (freezePicture != -1) ApiFreeGraphHandle(freezePicture, 0);
}

void Background::LoadStage(int stageNumber) {
  // Freed handles become -1, so nothing is freed twice and a slot without a
  // file draws nothing.
  for (int32_t& h : textures) {
    if (h != -1) ApiFreeGraphHandle(h, 0);
    h = -1;
  }
  if (stageNumber < 0 || stageNumber > 12) return;
  for (int i = 0; i < 6; ++i) {
    const char* name = kStageTextures[stageNumber][i];
    if (!name) continue;
    char path[64] = "vko01\\";
    int n = 6;
    for (const char* c = name; *c && n < 63; ++c) path[n++] = *c;
    path[n] = 0;
    textures[i] = ApiLoadGraphFromFile(path, 0);
  }
}

void Background::ResetForStage() {
  drawCounter = 0;
  stageFrame = 0;
  fadeStart = 0;
  fadeNow = 0;
  inSpell = 0;
  wasInSpell = 0;
  for (BackgroundParticle& p : particles) p.active = 0;
}

void Background::Update(GameState& state) {
  ++drawCounter;
  stageFrame = state.stage ? state.stage->frame : 0;

  if (state.stageNumber == 4 && stageFrame >= 4800 && stageFrame < 4864) {
    for (int k = 0; k < 4; ++k) {
      BackgroundParticle* p = nullptr;
      for (BackgroundParticle& q : particles)
        if (!q.active) {
          p = &q;
          break;
        }
      if (!p) break;
      const int32_t rx = ApiRandomInRange(384);
      const int32_t rs = ApiRandomInRange(15);
      const int32_t rc = ApiRandomInRange(9);
      p->active = 1;
      p->x = static_cast<float>(16 + rx);
      p->y = 16.0f;
      p->speed = static_cast<float>((5 + rs) / 10.0);
      p->angle = 90.0f;
      p->scale = static_cast<float>((1 + rc) / 20.0);
      p->alpha = 255.0f;
    }
  }
  for (BackgroundParticle& p : particles) {
    if (!p.active) continue;
    const float a = static_cast<float>(Radians(p.angle));
    p.x += FloatCos(a) * p.speed;
    p.y += FloatSin(a) * p.speed;
  }
}

void Background::FollowSpell(GameState& state) {
  // One step per play update, also while only the player updates: first the
  // fade frame the last draw showed is counted, then a change of scenery the
  // boss made in this update restarts the fade. Counted here rather than in
  // the draw, so that playback speed, frame skip and pauses leave the play
  // unchanged.
  stageFrame = state.stage ? state.stage->frame : 0;
  if (fadeStart != 0 && ++fadeNow - fadeStart >= kFadeFrames) fadeStart = fadeNow = 0;
  wasInSpell = inSpell;
  inSpell = state.boss && state.boss->spellId != 0 ? 1 : 0;
  if (inSpell != wasInSpell) fadeStart = fadeNow = stageFrame;
  // Stage 3's mid-boss holds the clock at 4201 until the fade out of its
  // spell has been shown to the end: the clock steps with that last frame,
  // which the coming draw still shows at 4201.
  const bool lastFadeFrame = fadeStart != 0 && fadeNow - fadeStart == kFadeFrames - 1;
  if (lastFadeFrame && state.stageNumber == 5 && !inSpell && state.stage &&
      state.stage->frame == 4201)
    state.stage->frame = 4202;
}

uint64_t Background::Hash() const {
  StateHasher h;
  h.Add(drawCounter);
  h.Add(stageFrame);
  for (const BackgroundParticle& p : particles) {
    h.Add(p.active);
    if (!p.active) continue;  // a spent particle's values are never used
    h.Add(p.x);
    h.Add(p.y);
    h.Add(p.angle);
    h.Add(p.speed);
    h.Add(p.scale);
    h.Add(p.alpha);
  }
  h.Add(inSpell);
  h.Add(wasInSpell);
  h.Add(fadeStart);
  h.Add(fadeNow);
  return h.Value();
}

// --- drawing ---------------------------------------------------------------------

// fadeAlpha: the base layer's alpha (255 opaque) while the picture fades;
// overlayAlpha: that of the half-transparent second layers.
void Background::DrawNormal(const GameState& state, int frame, int fadeAlpha,
                            int overlayAlpha) const {
  const int dc = drawCounter;
  const int* t = textures;
  const bool fading = fadeAlpha < 255;
  auto base = [&](auto draw) {
    if (fading) Blend(1, fadeAlpha);
    draw();
    BlendOff();
  };
  switch (state.stageNumber) {
    case 0:
      base([&] { ScrollDown(t[0], dc % 448, 0); });
      if (fading) return;  // the base layer alone while it fades
      Blend(4, 255);
      ApiDrawGraphPart(kFieldX, static_cast<int>(frame / 10.0 - 384.0), 0, 0, kFieldW, kFieldH, t[1], 1, 0);
      Blend(2, 255);
      ApiDrawGraphRotated(208, (dc % 800) - 184, 1.0, 0.0, t[2], 1, 0);
      BlendOff();
      return;
    case 1: base([&] { ScrollDown(t[1], dc % 448, 0); }); return;
    case 2: base([&] { ScrollDown(t[2], dc % 448, 0); }); return;
    case 3:
      base([&] { ScrollDown(t[0], (dc / 2) % 512, 0, 512, 512); });
      Blend(1, overlayAlpha);
      ScrollDown(t[1], dc % 448, 1);
      BlendOff();
      return;
    case 4: {
      base([&] { ScrollDown(t[1], dc % 448, 0); });
      if (fading) Blend(1, fadeAlpha);
      Full(t[2], 1);
      BlendOff();
      if (frame < 4912) {
        for (const BackgroundParticle& p : particles)
          if (p.active)
            ApiDrawGraphRotated(static_cast<int>(p.x), static_cast<int>(p.y), p.scale,
                                Radians(dc), t[3], 1, 0);
      }
      DrawStageTwoSky(frame);
      return;
    }
    case 5:
      if (frame < 4202) {
        const double a = Radians((dc / 2) % 360);
        const double r = 120.0 * std::sin(2.0 * a);
        base([&] {
          ApiDrawGraphRotated(static_cast<int>(208 + r * std::cos(a)),
                              static_cast<int>(240 + r * std::sin(a)), 2.0, Radians(dc / 4.0),
                              t[0], 0, 0);
        });
        Blend(1, overlayAlpha);
        ScrollDown(t[1], dc % 448, 1);
        BlendOff();
      } else {
        base([&] { ScrollDown(t[0], dc % 512, 0, 512, 512); });
      }
      return;
    case 10: base([&] { ScrollDown(t[1], dc % 448, 0); }); return;
    case 11:
      // Four quarters, each drifting away from the centre within itself.
      base([&] {
        for (int q = 0; q < 4; ++q) {
          const int qx = q % 2, qy = q / 2;
          const int ox = (qx ? 1 : -1) * (dc % 192), oy = (qy ? 1 : -1) * (dc % 224);
          DrawWrappedPart(t[2], 192 * qx, 224 * qy, 192, 224, kFieldX + 192 * qx,
                          kFieldY + 224 * qy, 192, 224, ox, oy, 0);
        }
      });
      if (fading) Blend(1, fadeAlpha);
      ApiDrawGraphRotated(208, 240, 1.2, Radians(dc), t[3], 1, 0);
      BlendOff();
      return;
    case 12:
      if (frame < 2956) {
        base([&] { ScrollDown(t[2], (2 * dc) % 448, 0); });
        if (fading) Blend(1, fadeAlpha);
        ScrollDown(t[3], (4 * dc) % 448, 1);
        if (frame >= 2700) {
          Blend(1, frame - 2700);
          Full(t[4], 1);
        }
      } else if (frame < 4000 || t[5] == -1) {
        base([&] { Full(t[4], 0); });
      } else {
        base([&] { Full(t[4], 0); });
        Blend(1, frame < 4128 ? 2 * frame - 8000 : fadeAlpha);
        Full(t[5], frame < 4128 ? 1 : 0);
      }
      BlendOff();
      return;
    default:
      if (state.stageNumber >= 6 && state.stageNumber <= 9) {
        const int route = static_cast<int>(state.stageNumber) - 6;
        const int clouds = SceneryAlpha(route, 4, frame), forest = SceneryAlpha(route, 5, frame);
        const int baseSlot = forest == 255 ? 5 : (clouds == 255 ? 4 : 3);
        base([&] { ScrollDown(t[baseSlot], dc % 448, 0); });
        const int over[2][2] = {{4, clouds}, {5, forest}};
        for (const auto& layer : over) {
          if (layer[0] <= baseSlot || layer[1] == 0) continue;
          Blend(1, layer[1] * fadeAlpha / 255);
          ScrollDown(t[layer[0]], dc % 448, 0);
        }
        const int snow = SceneryAlpha(route, 2, frame);
        if (snow > 0) {
          Blend(1, snow * overlayAlpha / 128);
          ScrollDown(t[2], (2 * dc) % 448, 1);
        }
        BlendOff();
      } else {
        FillBlack();
      }
      return;
  }
}

void Background::DrawStageTwoSky(int frame) const {
  const int* t = textures;
  const int dc = drawCounter;
  if (frame >= 4848 && frame < 4912) {
    Blend(1, 4 * (frame - 4848));
    Full(t[4], 1);
    BlendOff();
  } else if (frame >= 4912 && frame < 5032) {
    Full(t[4], 0);
  } else if (frame >= 5032 && frame < 5160) {
    Full(t[4], 0);
    Blend(1, 2 * frame - 10064);
    DrawWrapped(t[5], kFieldW, kFieldH, (dc / 2) % 384, 0, 1);
    BlendOff();
  } else if (frame >= 5160) {
    DrawWrapped(t[5], kFieldW, kFieldH, (dc / 2) % 384, 0, 0);
  }
}

void Background::DrawSpell(const GameState& state, int frame, int alpha) const {
  const int* t = textures;
  const int dc = drawCounter;
  // Every layer at the picture's alpha while it fades in or out.
  if (alpha < 255) Blend(1, alpha);
  switch (state.stageNumber) {
    case 0:
      Full(t[4], 0);
      ScrollDown(t[3], dc % 448, 1);
      return;
    case 1: ScrollDown(t[0], dc % 448, 0); return;
    case 2: {
      Full(t[0], 0);
      const int k = static_cast<int>(1.5 * dc);
      DrawWrapped(t[1], kFieldW, kFieldH, kFieldW - k % 384, kFieldH - k % 448, 1);
      return;
    }
    case 3: ScrollDown(t[2], dc % 448, 0); return;
    case 4:
      if (frame >= 5000) {
        DrawWrapped(t[5], kFieldW, kFieldH, (dc / 2) % 384, 0, 0);
        Full(t[0], 1);
      } else {
        Full(t[0], 0);
      }
      return;
    case 5:
      if (frame < 4202)
        ApiDrawGraphRotated(208, 240, 1.2, Radians(dc), t[2], 0, 0);
      else
        ScrollDown(t[3], dc % 448, 0);
      return;
    case 10: Full(t[0], 0); return;
    case 11:
      if (frame < 1600) {
        Full(t[4], 0);
      } else {
        Full(t[0], 0);
        const int m = Mod(state.frameCount, 190);
        Blend(2, m + 32 < 222 - m ? m + 32 : 222 - m);
        Full(t[1], 1);
      }
      return;
    case 12:
      Full(t[0], 0);
      Blend(1, alpha < 255 ? alpha / 2 : 127);
      ScrollDown(t[1], dc % 448, 1);
      return;
    default:
      if (state.stageNumber >= 6 && state.stageNumber <= 9) {
        Full(t[0], 0);
        if (t[1] != -1) {
          const int m = Mod(state.frameCount, 254);
          const int pulse = m + 128 < 382 - m ? m + 128 : 382 - m;
          Blend(1, alpha < 255 ? alpha * pulse / 255 : pulse);
          DrawWrapped(t[1], kFieldW, kFieldH, dc % 384, 0, 0);
        }
      } else {
        FillBlack();
      }
      return;
  }
}

void Background::Draw(GameState& state) {
  // The stage clock as the last update left it; drawing changes no play state.
  const int frame = stageFrame;
  ApiSetDrawFilter(1);
  if (state.stageNumber > 12) {
    FillBlack();
  } else if (fadeStart != 0) {
    const int alpha = 8 * (fadeNow - fadeStart);
    if (inSpell) {
      DrawNormal(state, frame, 255, 128);
      DrawSpell(state, frame, alpha);
    } else {
      DrawSpell(state, frame, 255);
      DrawNormal(state, frame, alpha, alpha / 2);
    }
  } else if (inSpell) {
    DrawSpell(state, frame, 255);
  } else if (frame < 60) {
    FillBlack();
  } else if (frame < 188) {
    FillBlack();
    DrawNormal(state, frame, 2 * drawCounter - 120, drawCounter - 60);
  } else {
    DrawNormal(state, frame, 255, 128);
  }
  BlendOff();
  if (state.freeze && freezePicture != -1) {
    ApiDrawGraphRotated(128, 240, 1.0, 0.0, freezePicture, 1, 1);
    ApiDrawGraphRotated(288, 240, 1.0, 0.0, freezePicture, 1, 0);
  }
}
