// Play-field frame object and status display.
#include "playfield/backgroundframe.h"

#include <cmath>
#include <initializer_list>

#include "library/tesra.h"
#include "playfield/boss.h"
#include "playfield/bullet.h"
#include "playfield/item.h"
#include "playfield/player.h"
#include "playfield/stage.h"
#include "shell/gamemath.h"
#include "shell/gamestate.h"

const int32_t kBossPortraitIndex[23] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6,
                                        7, 8, 9, 10, 11, 11, 11, 12, 12, 13, 13};

namespace {

constexpr double kPi = 3.141592653589793;

template <int N>
void FreeAll(int32_t (&handles)[N]) {
  for (int32_t& h : handles) {
    if (h != -1) ApiFreeGraphHandle(h, 0);
    h = -1;
  }
}
void FreeOne(int32_t& h) {
  if (h != -1) ApiFreeGraphHandle(h, 0);
  h = -1;
}

int Derive(int sheet, int x, int y, int w, int h) {
  return sheet > 0 ? ApiDeriveSubGraph(x, y, w, h, sheet) : -1;
}

void BlendAlpha(int a) { ApiSetBlendMode(1, a < 0 ? 0 : (a > 255 ? 255 : a)); }
void BlendOff() { ApiSetBlendMode(0, 255); }

// The glyph of a letter, digit or sign of the glyph alphabet, -1 for none.
int GlyphOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return 26 + (c - 'a');
  if (c >= 'A' && c <= 'Z') return 52 + (c - 'A');
  return -1;
}

}  // namespace

CutinPlace CutinPlaceAt(int32_t c, bool boss) {
  if (boss) {
    if (c >= 171) return {64, 2908 - 16 * c, 14};
    if (c >= 161) return {64, 188, 16 * c - 2546};
    if (c >= 151) return {64, 188, 2414 - 16 * c};
    if (c >= 141) return {128, 2428 - 16 * c, 14};
    if (c >= 41) return {128, 188 - (c - 140) / 2, 14};
    return {128, 828 - 16 * c - (c - 140) / 2, 14};
  }
  if (c >= 171) return {64, 16 * c - 2692, 164};
  if (c >= 161) return {64, 28, 2724 - 16 * c};
  if (c >= 151) return {64, 28, 16 * c - 2236};
  if (c >= 141) return {128, 16 * c - 2212, 164};
  if (c >= 41) return {128, 28 + (c - 140) / 2, 164};
  return {128, 16 * c - 612 + (c - 140) / 2, 164};
}

int32_t BossBarColumns(int32_t hp, int32_t maxHp) {
  if (hp <= 0 || maxHp <= 0) return 0;
  const double length = 368.0 / maxHp * hp;
  int32_t n = static_cast<int32_t>(std::ceil(length));  // i = 0, 1, ... while i < L
  return n < 0 ? 0 : (n > 368 ? 368 : n);
}

BackgroundFrame::BackgroundFrame(GameState& state) {
  auto clear = [](int32_t* h, int n) {
    for (int i = 0; i < n; ++i) h[i] = -1;
  };
  clear(spellNames, 256);
  clear(bombNames, 10);
  clear(titleNames, 16);
  clear(titleColumns, 16);
  clear(titleRoutes, 16);
  framePicture = ApiLoadGraphFromFile("vko01\\background_frame.tga", 0);
  const int sp = state.spellSheet, ot = state.otherSheet;
  for (int i = 0; i < 256; ++i) spellNames[i] = Derive(sp, 256 * (i % 4), 16 * (i / 4), 256, 16);
  if (ApiLoadGraphFileSplit("vko01\\pspell.tga", 10, 1, 10, 512, 16, bombNames, 0) == -1)
    clear(bombNames, 10);
  for (int i = 0; i < 78; ++i) glyphs[i] = Derive(ot, 16 * (i % 26), 16 * (i / 26 + 1), 16, 16);
  for (int i = 0; i < 13; ++i) smallGlyphs[i] = Derive(ot, 8 * i, 8, 8, 8);
  for (int i = 0; i < 4; ++i) barPieces[i] = Derive(ot, i, 0, 1, 4);
  for (int i = 0; i < 6; ++i) difficultyNames[i] = Derive(ot, 0, 80 + 24 * i, 96, 24);
  for (int i = 0; i < 8; ++i) icons[i] = Derive(ot, 160 + 16 * i, 0, 16, 16);
  for (int i = 0; i < 2; ++i) spellLineStrips[i] = Derive(ot, 0, 64 + 6 * i, 272, 6);
  for (int i = 0; i < 2; ++i) spellLineLabels[i] = Derive(ot, 16 + 32 * i, 0, 32, 8);
  for (int i = 0; i < 16; ++i) bossNames[i] = Derive(ot, 96, 80 + 16 * i, 128, 16);
  bossMarker = Derive(ot, 112, 0, 46, 16);
  cutinBand = Derive(ot, 416, 0, 96, 448);
  lastBossBadge = Derive(ot, 128, 352, 192, 64);
  for (int i = 0; i < 5; ++i) playerCutins[i] = Derive(state.cutinPlayerSheet, 200 * i, 0, 200, 300);
  for (int i = 0; i < 15; ++i)
    bossCutins[i] = Derive(state.cutinSheet, 200 * (i % 5), 300 * (i / 5), 200, 300);
  const int titles = ApiLoadGraphFromFile("vko01\\stagetitle.tga", 0);
  if (titles != -1) {
    for (int i = 0; i < 16; ++i) {
      titleNames[i] = ApiDeriveSubGraph(704, 32 * i, 160, 32, titles);
      titleColumns[i] = ApiDeriveSubGraph(64 * i, 0, 64, 512, titles);
      if (i >= 6 && i <= 9) titleRoutes[i] = ApiDeriveSubGraph(864, 32 * (i - 6), 96, 32, titles);
    }
    ApiFreeGraphHandle(titles, 0);
  }
}

BackgroundFrame::~BackgroundFrame() {
  FreeOne(framePicture);
  FreeAll(spellNames);
  FreeAll(bombNames);
  FreeAll(glyphs);
  FreeAll(smallGlyphs);
  FreeAll(barPieces);
  FreeAll(difficultyNames);
  FreeAll(icons);
  FreeAll(spellLineStrips);
  FreeAll(spellLineLabels);
  FreeAll(bossNames);
  FreeOne(bossMarker);
  FreeOne(cutinBand);
  FreeOne(lastBossBadge);
  FreeAll(playerCutins);
  FreeAll(bossCutins);
  FreeAll(titleNames);
  FreeAll(titleColumns);
  FreeAll(titleRoutes);
}

void BackgroundFrame::DrawWord(const char* word, int x, int y) {
  for (; *word; ++word, x += 12) {
    int g = GlyphOf(*word);
    if (g >= 0) ApiDrawGraphAt(x, y, glyphs[g], 1);
  }
}

namespace {

// The scrolling band behind a cut-in: down the left and across the lower
// field, at alpha min(2c, 255).
void DrawCutinBand(int band, int32_t c) {
  BlendAlpha(2 * c < 255 ? 2 * c : 255);
  const int p = (3 * (180 - c)) % 448;
  ApiDrawGraphPart(48, p + 16, 0, 0, 96, 448 - p, band, 1, 0);
  ApiDrawGraphPart(48, 16, 0, 448 - p, 96, p, band, 1, 0);
  for (int cx : {p + 464, p + 16, p - 432}) ApiDrawGraphRotated(cx, 368, 1.0, -kPi / 2, band, 1, 0);
  BlendOff();
}

}  // namespace

void BackgroundFrame::DrawBossCutin(GameState& s) {
  const Boss* b = s.boss;
  if (!b || !b->active) return;
  const int32_t c = b->cutinFrames;
  DrawCutinBand(cutinBand, c);
  const int32_t portrait = b->id >= 0 && b->id < 23 ? kBossPortraitIndex[b->id] : -1;
  if (c > 0 && portrait >= 0) {
    CutinPlace at = CutinPlaceAt(c, true);
    BlendAlpha(at.alpha);
    ApiDrawGraphAt(at.x, at.y, bossCutins[portrait], 1);
    BlendOff();
  }
  const int32_t sid = b->spellId;
  // Spell ids above 255 have neither history nor name.
  if (sid > 0 && sid < 256) {
    const int y0 = c;
    ApiDrawGraphAt(126, y0 + 60, spellLineStrips[0], 1);
    ApiDrawGraphAt(210, y0 + 62, spellLineLabels[0], 1);
    DrawNumberSmall(8, 236, y0 + 62, b->bonus, smallGlyphs);
    ApiDrawGraphAt(288, y0 + 62, spellLineLabels[1], 1);
    DrawNumberSmall(4, 320, y0 + 62, static_cast<int32_t>(s.spellCaptures[sid]), smallGlyphs);
    ApiDrawGraphAt(344, y0 + 62, smallGlyphs[11], 1);
    DrawNumberSmall(4, 350, y0 + 62, static_cast<int32_t>(s.spellAttempts[sid]), smallGlyphs);
    ApiDrawGraphAt(126, y0 + 42, spellNames[sid - 1], 1);
  }
  const int bar = b->spellId != 0 ? barPieces[0] : barPieces[1];
  const int32_t columns = BossBarColumns(b->hp, b->maxHp);
  for (int i = 0; i < columns; ++i) ApiDrawGraphAt(24 + i, 24, bar, 0);
  const float t = b->timeLeft;
  DrawNumber(2, 370, 24, t > 0.0f ? static_cast<uint32_t>(t) : 0u, glyphs);
}

void BackgroundFrame::DrawBombCutin(GameState& s) {
  const Player* p = s.player;
  if (!p || p->cutinTimer == 0) return;
  const int32_t c = p->cutinTimer;
  DrawCutinBand(cutinBand, c);
  if (c > 0 && c <= 180 && s.character < 5) {
    CutinPlace at = CutinPlaceAt(c, false);
    BlendAlpha(at.alpha);
    ApiDrawGraphAt(at.x, at.y, playerCutins[s.character], 1);
  }
  BlendOff();
  if (p->bombTimer > 0 && p->bombKind >= 0 && p->bombKind < 10) {
    ApiDrawGraphAt(32, 456 - c, spellLineStrips[1], 1);
    ApiDrawGraphAt(32, 438 - c, bombNames[p->bombKind], 1);
  }
}

void BackgroundFrame::DrawStageTitle(GameState& s) {
  const int t = s.stage ? s.stage->titleTimer : 0;
  const uint32_t st = s.stageNumber;
  if (t <= 0 || st > 12) return;
  const int k = st >= 7 && st <= 9 ? 6 : (st >= 10 ? static_cast<int>(st) - 3 : static_cast<int>(st));
  const int o = st == 11 ? 24 : (st == 12 ? 36 : 0);
  const int name = titleNames[st], column = titleColumns[k];
  if (t >= 336) {
    BlendAlpha(4 * (400 - t));
    ApiDrawGraphAt((400 - t) / 2 - o + 48, 144, name, 1);
  } else if (t >= 272) {
    ApiDrawGraphAt(80 - o, 144, name, 1);
    BlendAlpha(4 * (336 - t));
    ApiDrawGraphRotated(240 - (336 - t) / 2, 240, 1.0, 0.0, column, 1, 0);
  } else if (t >= 64) {
    ApiDrawGraphAt(80 - o, 144, name, 1);
    ApiDrawGraphRotated(208, 240, 1.0, 0.0, column, 1, 0);
  } else {
    BlendAlpha(4 * t);
    ApiDrawGraphAt((64 - t) / 2 - o + 80, 144, name, 1);
    ApiDrawGraphRotated(208 - (64 - t) / 2, 240, 1.0, 0.0, column, 1, 0);
  }
  if (k == 6 && t < 272) {
    if (t >= 208) BlendAlpha(4 * (272 - t));
    if (t < 64) BlendAlpha(4 * t);
    ApiDrawGraphRotated(256, 304, 1.0, 0.0, titleRoutes[st], 1, 0);
  }
  BlendOff();
}

void BackgroundFrame::DrawTally(GameState& s, int32_t f) {
  if (s.scene != SceneStageResult || f < 180 || f > 202) return;
  BlendAlpha(static_cast<int>(12.75 * (f - 180)));
  DrawWord("Stage", 50, 100);
  DrawWord("Clear", 122, 100);
  const char* const words[5] = {"Clear", "Point", "Graze", "Vanter", "Total"};
  const int ys[5] = {130, 146, 162, 178, 208};
  const int32_t values[5] = {s.stageClearBonus, s.stagePointItems, s.stageGraze,
                             s.stageKind7Items, s.stageBonus};
  for (int i = 0; i < 5; ++i) {
    DrawWord(words[i], 50, ys[i]);
    ApiDrawGraphAt(134, ys[i], glyphs[20], 1);
    DrawNumber(8, 158, ys[i], static_cast<uint32_t>(values[i] < 0 ? 0 : values[i]), glyphs);
  }
  BlendOff();
}

void BackgroundFrame::DrawPanel(GameState& s) {
  DrawNumber(4, 495, 30, static_cast<uint32_t>(s.bullet ? s.bullet->CountActive() : 0), glyphs);
  DrawNumber(10, 495, 60, s.hiScoreShown, glyphs);
  DrawNumber(10, 495, 80, s.score, glyphs);
  for (int i = 0; i < s.lives && i < 16; ++i) ApiDrawGraphAt(500 + 16 * i, 114, icons[0], 1);
  for (int i = 0; i < s.bombs && i < 16; ++i) ApiDrawGraphAt(500 + 16 * i, 134, icons[2], 1);
  for (int i = 0; i < s.power && i < 128; ++i) ApiDrawGraphAt(494 + i, 180, barPieces[1], 1);
  if (s.power >= 128)
    DrawWord("MAX", 495, 166);
  else
    DrawNumber(3, 495, 166, static_cast<uint32_t>(s.power < 0 ? 0 : s.power), glyphs);
  const uint32_t graze = static_cast<uint32_t>(s.graze < 0 ? 0 : s.graze);
  DrawNumber(graze < 10000 ? 4 : 5, 495, 186, graze, glyphs);
  DrawNumber(4, 495, 206, static_cast<uint32_t>(s.pointItems < 0 ? 0 : s.pointItems), glyphs);
  ApiDrawGraphAt(543, 206, glyphs[25], 1);
  const bool extra = s.difficulty == 4;
  const int32_t* table = extra ? kExtendThresholdsExtra : kExtendThresholds;
  const int32_t last = extra ? 3 : 5;
  const int32_t e = s.extends < 0 ? 0 : (s.extends > last ? last : s.extends);
  DrawNumber(4, 559, 206, static_cast<uint32_t>(table[e]), glyphs);
}

void BackgroundFrame::DrawGauge(GameState& s) {
  const Player* p = s.player;
  if (p && p->x + 24 >= 24 && p->x <= 124 && p->y + 32 >= 448 && p->y <= 464) {
    const double dx = p->x - 74.0, dy = p->y - 440.0;
    const int a = static_cast<int>(5.0 * std::sqrt(dx * dx + dy * dy));
    BlendAlpha(a > 0 ? a : 0);
  }
  for (int i = 0; i < 100; ++i) ApiDrawGraphAt(24 + i, 448, barPieces[3], 0);
  for (int i = 0; i < s.gauge * 0.1; ++i) ApiDrawGraphAt(24 + i, 448, barPieces[2], 0);
  DrawNumberSmall(4, 62, 440, s.gauge, smallGlyphs);
  BlendOff();
}

void BackgroundFrame::DrawBossMarker(GameState& s) {
  const Boss* b = s.boss;
  if (!b || !b->active) return;
  int alpha = 192;
  if (b->hp < 1000 && b->hp != 1) {
    const int m = s.frameCount % 16 < 0 ? s.frameCount % 16 + 16 : s.frameCount % 16;
    alpha = 16 * (m + 4 < 20 - m ? m + 4 : 20 - m);
  }
  const float px = s.player ? s.player->x : -1000.0f;
  if (px > b->x - 64 && px < b->x + 64)
    alpha = static_cast<int>((std::fabs(b->x - px) + 36) / 100.0 * alpha);
  BlendAlpha(alpha);
  ApiDrawGraphRotated(static_cast<int>(b->x), 472, 1.0, 0.0, bossMarker, 1, 0);
  BlendOff();
  if (b->id >= 0 && b->id < 23) ApiDrawGraphAt(24, 32, bossNames[kBossPortraitIndex[b->id]], 1);
  for (int i = 0; i < b->barsLeft && i < 16; ++i) ApiDrawGraphAt(28 + 12 * i, 44, icons[0], 1);
}

void BackgroundFrame::Draw(GameState& s, int32_t tallyFrame) {
  DrawBossCutin(s);
  DrawBombCutin(s);
  DrawStageTitle(s);
  if (s.boss && s.boss->captureShowFrames != 0) {
    DrawWord("SpellCardBonus", 124, 127);
    DrawNumber(8, 186, 150, static_cast<uint32_t>(s.boss->bonus < 0 ? 0 : s.boss->bonus), glyphs);
  }
  DrawTally(s, tallyFrame);
  ApiDrawGraphAt(0, 0, framePicture, 1);
  DrawPanel(s);
  DrawGauge(s);
  ApiDrawGraphAt(540, 220, difficultyNames[s.difficulty < 6 ? s.difficulty : 0], 1);
  DrawBossMarker(s);
  DrawNumber(2, 576, 464, s.fps, glyphs);
  DrawWord("FPS", 604, 464);
  if (s.boss && s.boss->active && s.boss->id == 22)
    ApiDrawGraphRotated(544, 128, 1.0, 0.0, lastBossBadge, 1, 0);
}
