// The one table of the data set: every picture the game loads with its size and
// every rectangle the game cuts from it, every effect and music track with the
// length and loop point the game needs. The generator draws from it and the data
// tests check the written files against it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace datagen {

struct Cut {
  std::string what;  // group name, e.g. "entry", "spell strip"
  int index;         // index within the group (the game's own numbering)
  int x, y, w, h;
};

enum class PictureFormat { kTga, kBmp };

struct PictureSpec {
  std::string folder;  // "vko01"
  std::string name;    // "title.tga"
  int width, height;
  PictureFormat format;
  std::vector<Cut> cuts;
};

struct SoundSpec {
  std::string folder;  // "vko01" or "vkobgm"
  std::string name;
  int minMs;   // the sound lasts at least this long
  int loopMs;  // loop point in milliseconds (0 = loops from the start or plays once)
};

// ---- Per-type tables shared by the sprite sheets and their cuts ----

struct RectI {
  int x, y, w, h;
};

// Sprite rectangle of enemy bullet type 0-255 (all zero for 172-255).
inline RectI BulletRect(int type) {
  const int c = type % 10, f = type / 10;
  const int m = c % 5;
  const bool low = c >= 5;
  switch (f) {
    case 0: return {16 * c, 0, 8, 8};
    case 1: return {24 * m, low ? 40 : 16, 16, 16};
    case 2: return {120 + 40 * m, low ? 56 : 16, 32, 32};
    case 3: return {328 + 16 * c, 0, 8, 16};
    case 4: return {328 + 16 * c, 24, 8, 16};
    case 5: return {328 + 16 * c, 48, 8, 16};
    case 6: return {24 * m, low ? 88 : 64, 16, 16};
    case 7: return {160 + 72 * m, low ? 448 : 376, 64, 64};
    case 8: return {120 + 40 * m, low ? 136 : 96, 32, 32};
    case 9: return {328 + 16 * c, 72, 8, 16};
    case 10: return {24 * m, low ? 152 : 112, 16, 32};
    case 11: return {24 * m, low ? 232 : 192, 16, 32};
    case 12: return {24 * m, low ? 296 : 272, 16, 16};
    case 13: return {120 + 40 * m, low ? 216 : 176, 32, 32};
    case 14: return {24 * m, low ? 344 : 320, 16, 16};
    case 15: return {120 + 40 * m, low ? 296 : 256, 32, 32};
    case 16: return {328 + 16 * c, 96, 8, 16};
    default: break;
  }
  if (type == 170) return {320, 176, 192, 192};
  if (type == 171) return {0, 392, 16, 64};
  return {0, 0, 0, 0};
}

// Player shot kinds 0-28: sprite rectangle on the player sheet.
inline RectI PlayerShotRect(int kind) {
  static const RectI k[29] = {
      {288, 144, 32, 64}, {320, 144, 32, 64}, {352, 144, 32, 64}, {288, 208, 32, 64},
      {320, 208, 32, 64}, {352, 208, 32, 64}, {288, 272, 32, 64}, {288, 336, 16, 256},
      {304, 336, 16, 256}, {320, 336, 16, 256}, {336, 336, 16, 256}, {352, 336, 16, 256},
      {368, 336, 16, 256}, {384, 336, 16, 256}, {320, 272, 32, 32}, {0, 144, 32, 448},
      {32, 144, 32, 448}, {64, 144, 32, 32}, {64, 176, 32, 32}, {0, 0, 1, 1},
      {96, 144, 16, 16}, {112, 144, 16, 16}, {192, 144, 32, 64}, {224, 144, 32, 64},
      {192, 208, 32, 64}, {224, 208, 32, 64}, {96, 160, 24, 192}, {384, 144, 11, 16},
      {416, 144, 64, 128}};
  return (kind >= 0 && kind < 29) ? k[kind] : RectI{0, 0, 0, 0};
}
// True for the beam kinds (no radius: a segment as long as the sprite's height).
inline bool PlayerShotIsBeam(int kind) {
  return (kind >= 7 && kind <= 13) || kind == 15 || kind == 16 || kind == 26;
}
// Option sprites 0-3 on the player sheet.
inline RectI OptionRect(int i) {
  static const RectI o[4] = {{288, 592, 32, 48}, {32, 0, 32, 48}, {128, 144, 64, 64}, {256, 144, 32, 48}};
  return (i >= 0 && i < 4) ? o[i] : RectI{0, 0, 0, 0};
}

// Number of stage-dialogue strips each talk sheet holds (3 across).
struct TalkSheet {
  const char* name;
  int rows;
};
inline const std::vector<TalkSheet>& TalkSheets() {
  static const std::vector<TalkSheet> s = {{"talk1.bmp", 14}, {"talk2.bmp", 7},  {"talk3.bmp", 28},
                                           {"talk4.bmp", 28}, {"talk5.bmp", 28}, {"talk6.bmp", 28},
                                           {"talkex.bmp", 25}, {"talkex2.bmp", 9}};
  return s;
}

// Background textures: name, width, height.
struct TextureSpec {
  const char* name;
  int width, height;
};
inline const std::vector<TextureSpec>& BackgroundTextures() {
  static const std::vector<TextureSpec> t = {
      {"back1a1.tga", 384, 448},  {"back1a2.tga", 384, 448},  {"back1a3.tga", 256, 256},
      {"back1as1.tga", 384, 448}, {"back1as2.tga", 384, 448}, {"back1bs.tga", 384, 448},
      {"back1b.tga", 384, 448},   {"back1cs1.tga", 384, 448}, {"back1cs2.tga", 384, 448},
      {"back1c1.tga", 384, 448},  {"back1d1.tga", 512, 512},  {"back1d2.tga", 384, 448},
      {"back1ds.tga", 384, 448},  {"back2s.tga", 384, 448},   {"tex.tga", 384, 448},
      {"fog.tga", 384, 448},      {"cherry.tga", 64, 64},     {"white.tga", 384, 448},
      {"sky.tga", 384, 448},      {"back3ms.tga", 512, 512},  {"back3s1.tga", 384, 448},
      {"back4as1.tga", 384, 448}, {"back4as2.tga", 384, 448}, {"back42.tga", 384, 448},
      {"back43.tga", 384, 448},   {"back44.tga", 384, 448},   {"back45.tga", 384, 448},
      {"back4bs1.tga", 384, 448}, {"back4bs2.tga", 384, 448}, {"back4cs.tga", 384, 448},
      {"back4ds1.tga", 384, 448}, {"back4ds2.tga", 384, 448}, {"back5s.tga", 384, 448},
      {"back5.tga", 384, 448},    {"back6s1.tga", 384, 448},  {"back6s2.tga", 384, 448},
      {"back61.tga", 384, 448},   {"back62.tga", 512, 512},   {"backexs1.tga", 384, 448},
      {"backexs2.tga", 384, 448}, {"backex1.tga", 384, 448},  {"backex2.tga", 384, 448},
      {"backex3.tga", 384, 448},  {"backex4.tga", 384, 448}};
  return t;
}

namespace layout_detail {

inline void Grid(std::vector<Cut>& out, const std::string& what, int count, int across, int x0, int y0,
                 int w, int h, int firstIndex = 0) {
  for (int i = 0; i < count; ++i)
    out.push_back({what, firstIndex + i, x0 + (i % across) * w, y0 + (i / across) * h, w, h});
}

inline std::vector<PictureSpec> BuildPictures() {
  std::vector<PictureSpec> p;
  auto tga = [&](const char* name, int w, int h) -> std::vector<Cut>& {
    p.push_back({"vko01", name, w, h, PictureFormat::kTga, {}});
    return p.back().cuts;
  };
  auto bmp = [&](const char* name, int w, int h) -> std::vector<Cut>& {
    p.push_back({"vko01", name, w, h, PictureFormat::kBmp, {}});
    return p.back().cuts;
  };
  {
    auto& c = tga("loading.tga", 896, 480);
    c.push_back({"screen", 0, 0, 0, 640, 480});
    c.push_back({"label", 0, 640, 0, 256, 192});
    c.push_back({"label2", 0, 640, 192, 256, 64});
  }
  {
    auto& c = tga("title.tga", 960, 480);
    c.push_back({"backdrop", 0, 0, 0, 640, 480});
    c.push_back({"banner", 0, 640, 32, 96, 384});
    c.push_back({"logo", 0, 640, 0, 320, 32});
    for (int i = 0; i < 8; ++i) c.push_back({"entry", i, 736, 32 + 32 * i, 192, 32});
  }
  {
    auto& c = tga("menu.tga", 896, 516);
    c.push_back({"backdrop", 0, 0, 0, 640, 480});
    for (int i = 0; i < 6; ++i) c.push_back({"label", i, 640, 32 * i, 192, 32});
    for (int i = 0; i < 5; ++i) c.push_back({"plate", i, 640, 196 + 64 * i, 256, 64});
  }
  Grid(tga("charaselect.tga", 1024, 1024), "character", 4, 2, 0, 0, 512, 512);
  {
    auto& c = tga("charaselect2.tga", 1024, 512);
    c.push_back({"character4", 0, 0, 0, 512, 512});
    c.push_back({"character4 locked", 0, 512, 0, 512, 512});
  }
  tga("stageresult.tga", 384, 448).push_back({"whole", 0, 0, 0, 384, 448});
  tga("ending.tga", 640, 480).push_back({"whole", 0, 0, 0, 640, 480});
  tga("staff.tga", 640, 480).push_back({"whole", 0, 0, 0, 640, 480});
  tga("staffroll.tga", 512, 1440).push_back({"whole", 0, 0, 0, 512, 1440});
  Grid(bmp("talked.bmp", 1020, 1008), "ending line", 84, 3, 0, 0, 340, 36);
  {
    auto& c = tga("item.tga", 128, 32);
    Grid(c, "item", 8, 8, 0, 0, 16, 16);
    Grid(c, "marker", 8, 8, 0, 16, 16, 16, 8);
  }
  Grid(tga("spell.tga", 1024, 1024), "spell strip", 256, 4, 0, 0, 256, 16);
  Grid(tga("pspell.tga", 512, 160), "bomb name", 10, 1, 0, 0, 512, 16);
  {
    auto& c = tga("other.tga", 512, 512);
    for (int i = 0; i < 4; ++i) c.push_back({"bar piece", i, i, 0, 1, 4});
    for (int i = 0; i < 2; ++i) c.push_back({"line label", i, 16 + 32 * i, 0, 32, 8});
    for (int i = 0; i < 13; ++i) c.push_back({"small glyph", i, 8 * i, 8, 8, 8});
    c.push_back({"boss marker", 0, 112, 0, 46, 16});
    for (int i = 0; i < 8; ++i) c.push_back({"icon", i, 160 + 16 * i, 0, 16, 16});
    for (int i = 0; i < 104; ++i) {
      if (i >= 78 && i <= 94) continue;  // not used: the spell lines lie there
      c.push_back({"glyph", i, 16 * (i % 26), 16 * (i / 26 + 1), 16, 16});
    }
    for (int i = 0; i < 2; ++i) c.push_back({"spell line", i, 0, 64 + 6 * i, 272, 6});
    for (int i = 0; i < 6; ++i) c.push_back({"difficulty name", i, 0, 80 + 24 * i, 96, 24});
    for (int i = 0; i < 16; ++i) c.push_back({"boss name", i, 96, 80 + 16 * i, 128, 16});
    c.push_back({"freeze", 0, 0, 224, 96, 64});
    c.push_back({"spell circle", 0, 224, 96, 192, 192});
    for (int k = 0; k < 4; ++k) c.push_back({"burst", k, 32 * k, 352, 32, 32});
    for (int k = 0; k < 4; ++k) c.push_back({"familiar burst", k, 32 * k, 384, 32, 32});
    c.push_back({"last boss badge", 0, 128, 352, 192, 64});
    c.push_back({"cutin band", 0, 416, 0, 96, 448});
  }
  {
    auto& c = tga("zako.tga", 1088, 512);
    Grid(c, "enemy cell", 288, 24, 0, 0, 32, 32);
    c.push_back({"underlay", 0, 0, 384, 64, 64});
    for (int i = 0; i < 32; ++i)
      c.push_back({"familiar", i, 64 * ((i % 16) + 1), 64 * ((i / 16) + 6), 64, 64});
  }
  Grid(tga("boss.tga", 960, 768), "boss frame", 180, 15, 0, 0, 64, 64);
  {
    auto& c = tga("player.tga", 512, 640);
    Grid(c, "player frame", 45, 15, 0, 0, 32, 48);
    c.push_back({"hit marker", 0, 480, 0, 8, 8});
    for (int k = 0; k < 29; ++k) {
      const RectI r = PlayerShotRect(k);
      c.push_back({"shot", k, r.x, r.y, r.w, r.h});
    }
    for (int i = 0; i < 4; ++i) {
      const RectI r = OptionRect(i);
      c.push_back({"option", i, r.x, r.y, r.w, r.h});
    }
  }
  {
    auto& c = tga("bullet.tga", 512, 512);
    for (int t = 0; t < 172; ++t) {
      const RectI r = BulletRect(t);
      c.push_back({"bullet", t, r.x, r.y, r.w, r.h});
    }
  }
  Grid(tga("cutin.tga", 1000, 900), "portrait", 15, 5, 0, 0, 200, 300);
  Grid(tga("cutin_player.tga", 1000, 300), "player portrait", 5, 5, 0, 0, 200, 300);
  Grid(tga("name.tga", 256, 1024), "name plate", 16, 1, 0, 0, 256, 64);
  tga("background_frame.tga", 640, 480).push_back({"whole", 0, 0, 0, 640, 480});
  {
    auto& c = tga("stagetitle.tga", 1024, 512);
    for (int i = 0; i < 16; ++i) c.push_back({"name strip", i, 704, 32 * i, 160, 32});
    for (int i = 0; i < 16; ++i) c.push_back({"title column", i, 64 * i, 0, 64, 512});
    for (int i = 6; i < 10; ++i) c.push_back({"route strip", i, 864, 32 * (i - 6), 96, 32});
  }
  for (const TalkSheet& t : TalkSheets())
    Grid(bmp(t.name, 900, 36 * t.rows), "dialogue strip", 3 * t.rows, 3, 0, 0, 300, 36);
  for (const TextureSpec& t : BackgroundTextures())
    tga(t.name, t.width, t.height).push_back({"whole", 0, 0, 0, t.width, t.height});
  return p;
}

}  // namespace layout_detail

inline const std::vector<PictureSpec>& Pictures() {
  static const std::vector<PictureSpec> p = layout_detail::BuildPictures();
  return p;
}

// The 20 effects, in the game's slot order.
inline const std::vector<std::string>& EffectNames() {
  static const std::vector<std::string> n = {
      "shot.wav",  "shot2.wav", "ok.wav",   "cancel.wav", "cursor.wav",    "bonus.wav",   "power.wav",
      "power_max.wav", "extend.wav", "item.wav", "miss.wav", "dead.wav", "dead_boss.wav", "timeout.wav",
      "cutin.wav", "pause.wav", "hit.wav",  "hit2.wav",   "graze.wav",     "meitei.wav"};
  return n;
}

// Loop point in milliseconds of music track 1-14 (0: none).
inline int TrackLoopMs(int track) {
  static const int loops[15] = {0, 0, 4500, 0, 1500, 6860, 8900, 3000, 0, 15600, 17000, 0, 0, 0, 0};
  return (track >= 1 && track <= 14) ? loops[track] : 0;
}
constexpr int kTrackCount = 14;

inline std::vector<SoundSpec> Sounds() {
  std::vector<SoundSpec> s;
  for (const std::string& n : EffectNames()) s.push_back({"vko01", n, 40, 0});
  for (int t = 1; t <= kTrackCount; ++t) {
    char name[32];
    std::snprintf(name, sizeof name, "vko01_%02d.wav", t);
    // Each track runs well past its loop point: at least four seconds of loop body.
    s.push_back({"vkobgm", name, TrackLoopMs(t) + 4000, TrackLoopMs(t)});
  }
  return s;
}

}  // namespace datagen
