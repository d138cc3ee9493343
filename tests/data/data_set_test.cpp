// The generated data set against what the game reads: every picture at its size
// with every cut inside it, recognisable sprites, every sound with the length and
// loop point the game needs, and the same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../tools/datagen/audio.h"
#include "../../tools/datagen/canvas.h"
#include "../../tools/datagen/datagen.h"
#include "../../tools/datagen/font.h"
#include "../../tools/datagen/layout.h"
#include "../../tools/datagen/sheets.h"
#include "../../tools/datagen/texts.h"
#include "../../tools/datagen/writers.h"
#include "file_readers.h"
#include "generated_data.h"

namespace {

using datagen::Cut;
using datagen::PictureSpec;
using datatest::Image;

// The folder the checks below read (set by the fixture of the running test).
std::string g_dir;

std::string PathOf(const std::string& folder, const std::string& name) { return g_dir + "/" + folder + "/" + name; }
Image Load(const PictureSpec& p) {
  const std::vector<uint8_t> bytes = datatest::ReadBytes(PathOf(p.folder, p.name));
  return p.format == datagen::PictureFormat::kTga ? datatest::ParseTga(bytes) : datatest::ParseBmp(bytes);
}
const PictureSpec* Spec(const std::string& name) {
  for (const PictureSpec& p : datagen::Pictures())
    if (p.name == name) return &p;
  return nullptr;
}
Image Load(const std::string& name) {
  const PictureSpec* p = Spec(name);
  return p ? Load(*p) : Image{};
}
// Opaque-ish pixels (alpha above 32) inside the rectangle.
int Solid(const Image& img, int x, int y, int w, int h) {
  int n = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) n += img.Alpha(i, j) > 32;
  return n;
}

// The pictures only, or the sounds only: each test program generates what it reads.
class DataPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    g_dir = datatest::GeneratedDataDir(datatest::Content::kPictures);
    ASSERT_FALSE(g_dir.empty()) << "the generator failed";
  }
};
class DataSounds : public ::testing::Test {
 protected:
  void SetUp() override {
    g_dir = datatest::GeneratedDataDir(datatest::Content::kSounds);
    ASSERT_FALSE(g_dir.empty()) << "the generator failed";
  }
};

void EveryPictureHasItsSizeAndHoldsEveryCut() {
  int pictures = 0;
  for (const PictureSpec& p : datagen::Pictures()) {
    const Image img = Load(p);
    ASSERT_TRUE(img.ok) << p.name << " is missing or not a 32-bit TGA / 24-bit BMP";
    EXPECT_EQ(img.width, p.width) << p.name;
    EXPECT_EQ(img.height, p.height) << p.name;
    for (const Cut& c : p.cuts) {
      EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.w > 0 && c.h > 0 && c.x + c.w <= img.width && c.y + c.h <= img.height)
          << p.name << " " << c.what << " " << c.index << " (" << c.x << "," << c.y << "," << c.w << "," << c.h
          << ")";
    }
    ++pictures;
  }
  // 22 sheets, talked.bmp, 8 dialogue sheets and 44 background textures.
  EXPECT_EQ(pictures, 22 + 1 + 8 + 44);
}

// Telling rows of the cut tables, written down here independently of the generator's table.
void CutTablesAgreeWithTheGamesNumbers() {
  const datagen::RectI t72 = datagen::BulletRect(72), t117 = datagen::BulletRect(117);
  const datagen::RectI t170 = datagen::BulletRect(170), t171 = datagen::BulletRect(171);
  EXPECT_EQ(std::vector<int>({t72.x, t72.y, t72.w, t72.h}), std::vector<int>({304, 376, 64, 64}));
  EXPECT_EQ(std::vector<int>({t117.x, t117.y, t117.w, t117.h}), std::vector<int>({48, 232, 16, 32}));
  EXPECT_EQ(std::vector<int>({t170.x, t170.y, t170.w, t170.h}), std::vector<int>({320, 176, 192, 192}));
  EXPECT_EQ(std::vector<int>({t171.x, t171.y, t171.w, t171.h}), std::vector<int>({0, 392, 16, 64}));
  for (int t = 172; t < 256; ++t) EXPECT_EQ(datagen::BulletRect(t).w, 0) << t;
  const datagen::RectI k15 = datagen::PlayerShotRect(15), k28 = datagen::PlayerShotRect(28);
  EXPECT_EQ(std::vector<int>({k15.x, k15.y, k15.w, k15.h}), std::vector<int>({0, 144, 32, 448}));
  EXPECT_EQ(std::vector<int>({k28.x, k28.y, k28.w, k28.h}), std::vector<int>({416, 144, 64, 128}));
  const datagen::RectI o0 = datagen::OptionRect(0);
  EXPECT_EQ(o0.y + o0.h, 640);  // the lowest cut of the player sheet ends on its last row
  // Familiar cell 31 and name-glyph cell 103 (the cursor frame).
  const PictureSpec* zako = Spec("zako.tga");
  const PictureSpec* other = Spec("other.tga");
  ASSERT_TRUE(zako && other);
  bool familiar31 = false, cursor = false;
  for (const Cut& c : zako->cuts) familiar31 |= c.what == "familiar" && c.index == 31 && c.x == 1024 && c.y == 448;
  for (const Cut& c : other->cuts) cursor |= c.what == "glyph" && c.index == 103 && c.x == 400 && c.y == 64;
  EXPECT_TRUE(familiar31);
  EXPECT_TRUE(cursor);
}

void SpriteCellsAreDrawnAndThePulsePixelIsClear() {
  const Image bullet = Load("bullet.tga"), player = Load("player.tga"), zako = Load("zako.tga"),
              boss = Load("boss.tga"), item = Load("item.tga");
  ASSERT_TRUE(bullet.ok && player.ok && zako.ok && boss.ok && item.ok);
  for (int t = 0; t < 172; ++t) {
    const datagen::RectI r = datagen::BulletRect(t);
    EXPECT_GT(Solid(bullet, r.x, r.y, r.w, r.h), 0) << "bullet type " << t;
  }
  for (int i = 0; i < 45; ++i)
    EXPECT_GT(Solid(player, (i % 15) * 32, (i / 15) * 48, 32, 48), 100) << "player frame " << i;
  for (int k = 0; k < 29; ++k) {
    if (k == 19) continue;
    const datagen::RectI r = datagen::PlayerShotRect(k);
    EXPECT_GT(Solid(player, r.x, r.y, r.w, r.h), 0) << "shot kind " << k;
  }
  EXPECT_EQ(player.Alpha(0, 0), 0) << "the invisible pulse shot's pixel";
  EXPECT_GT(Solid(player, 480, 0, 8, 8), 0) << "hit marker";
  for (int i = 0; i < 288; ++i)
    EXPECT_GT(Solid(zako, (i % 24) * 32, (i / 24) * 32, 32, 32), 30) << "enemy cell " << i;
  for (int s = 0; s < 14; ++s)
    for (int pose = 0; pose < 4; ++pose)
      for (int step = 0; step < 3; ++step)
        EXPECT_GT(Solid(boss, (3 * (s % 5) + step) * 64, (4 * (s / 5) + pose) * 64, 64, 64), 400)
            << "boss set " << s << " pose " << pose << " step " << step;
  for (int k = 0; k < 16; ++k) EXPECT_GT(Solid(item, (k % 8) * 16, (k / 8) * 16, 16, 16), 20) << "item " << k;
}

// The third character's leaf shots (kinds 22 and 23) fly in dense volleys over
// the enemy bullets: slim and mostly see-through, their ink at most 1/8 of a
// filled cell.
void LeafShotsLeaveTheBulletsReadable() {
  const Image player = Load("player.tga");
  ASSERT_TRUE(player.ok);
  for (int kind : {22, 23}) {
    const datagen::RectI r = datagen::PlayerShotRect(kind);
    int ink = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) ink += player.Alpha(x, y);
    EXPECT_LE(ink, 255 * r.w * r.h / 8) << "shot kind " << kind;
  }
}

// Every shot a character fires with a sprite (beams aside) reads as the player's:
// see-through, a streak along its heading (the game turns a sprite's top toward
// it) and light on its cell, so the enemy bullets beneath stay readable.
void PlayerShotsAreSeeThroughStreaks() {
  const Image player = Load("player.tga");
  ASSERT_TRUE(player.ok);
  for (int kind : {17, 18, 20, 21, 22, 23, 14, 0, 1, 2, 3, 4, 5, 6, 27}) {
    const datagen::RectI r = datagen::PlayerShotRect(kind);
    int inked = 0, alphaSum = 0, ink = 0, left = r.w, right = -1, top = r.h, bottom = -1;
    for (int y = 0; y < r.h; ++y)
      for (int x = 0; x < r.w; ++x) {
        const int a = player.Alpha(r.x + x, r.y + y);
        ink += a;
        if (a <= 16) continue;
        ++inked, alphaSum += a;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    ASSERT_GT(inked, 0) << "shot kind " << kind;
    EXPECT_LE(alphaSum / inked, 160) << "shot kind " << kind;
    EXPECT_GE(2 * (bottom - top + 1), 3 * (right - left + 1)) << "shot kind " << kind;
    EXPECT_LE(ink, 255 * std::max(r.w * r.h / 5, 48)) << "shot kind " << kind;
  }
}

// While the tally loads the next stage the game draws the loading label at
// (400, 336) and its note at (390, 400): their ink stays on the 640 x 480
// screen and below the panel's title and subtitle (which end above y 388).
void LoadingLabelsFitTheTallyCorner() {
  const Image loading = Load("loading.tga");
  ASSERT_TRUE(loading.ok);
  struct Label { int y, h, screenX, screenY; } labels[] = {{0, 192, 400, 336}, {192, 64, 390, 400}};
  for (const Label& l : labels) {
    int inked = 0, outside = 0;
    for (int y = 0; y < l.h; ++y)
      for (int x = 0; x < 256; ++x) {
        if (loading.Alpha(640 + x, l.y + y) == 0) continue;
        ++inked;
        const int sx = l.screenX + x, sy = l.screenY + y;
        outside += sx >= 640 || sy < 388 || sy >= 480;
      }
    EXPECT_GT(inked, 200) << "label at row " << l.y;
    EXPECT_EQ(outside, 0) << "label at row " << l.y;
  }
}

// Pixels (any channel) that differ between two cells of one picture.
int CellDifference(const Image& img, int ax, int ay, int bx, int by, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += img.At(ax + x, ay + y) != img.At(bx + x, by + y);
  return n;
}

// Every pose and every animation step of a figure is a picture of its own, and the
// item kinds and their markers differ from each other.
void PosesAndStepsDiffer() {
  const Image player = Load("player.tga"), zako = Load("zako.tga"), boss = Load("boss.tga"), item = Load("item.tga");
  ASSERT_TRUE(player.ok && zako.ok && boss.ok && item.ok);
  for (int c = 0; c < 5; ++c)
    for (int a = 0; a < 9; ++a)
      for (int b = a + 1; b < 9; ++b) {
        // a and b: row (still, left, right) x 3 + step, of character c.
        const int ax = (3 * c + a % 3) * 32, ay = (a / 3) * 48, bx = (3 * c + b % 3) * 32, by = (b / 3) * 48;
        EXPECT_GT(CellDifference(player, ax, ay, bx, by, 32, 48), 20) << "character " << c << " frames " << a << ", " << b;
      }
  for (int s = 0; s < 14; ++s)
    for (int a = 0; a < 12; ++a)
      for (int b = a + 1; b < 12; ++b) {
        const int x0 = 3 * (s % 5), y0 = 4 * (s / 5);
        EXPECT_GT(CellDifference(boss, (x0 + a % 3) * 64, (y0 + a / 3) * 64, (x0 + b % 3) * 64, (y0 + b / 3) * 64, 64, 64), 40)
            << "boss set " << s << " frames " << a << ", " << b;
      }
  for (int s = 0; s < 32; ++s)
    for (int a = 0; a < 9; ++a)
      for (int b = a + 1; b < 9; ++b) {
        const int x0 = 3 * (s % 8), y0 = 3 * (s / 8);
        EXPECT_GT(CellDifference(zako, (x0 + a % 3) * 32, (y0 + a / 3) * 32, (x0 + b % 3) * 32, (y0 + b / 3) * 32, 32, 32), 8)
            << "enemy set " << s << " cells " << a << ", " << b;
      }
  for (int row = 0; row < 2; ++row)
    for (int a = 0; a < 8; ++a)
      for (int b = a + 1; b < 8; ++b)
        EXPECT_GT(CellDifference(item, 16 * a, 16 * row, 16 * b, 16 * row, 16, 16), 8)
            << (row ? "markers " : "items ") << a << ", " << b;
}

// Families 0, 1, 2, 7 and 13 are drawn without turning: they must look the same turned.
void UnturnedBulletFamiliesAreRound() {
  const Image bullet = Load("bullet.tga");
  ASSERT_TRUE(bullet.ok);
  for (int fam : {0, 1, 2, 7, 13}) {
    for (int c = 0; c < 10; ++c) {
      const datagen::RectI r = datagen::BulletRect(fam * 10 + c);
      int differ = 0, total = 0;
      for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) {
          const int a = bullet.Alpha(r.x + x, r.y + y) > 64;
          const int b = bullet.Alpha(r.x + (r.w - 1 - y), r.y + x) > 64;  // turned a quarter
          differ += a != b;
          total += a;
        }
      EXPECT_LE(differ, std::max(2, total / 10)) << "type " << fam * 10 + c;
    }
  }
  // A pointed family (needles, 40-49) is widest below its middle: it points up.
  for (int c = 0; c < 10; ++c) {
    const datagen::RectI r = datagen::BulletRect(40 + c);
    auto width = [&](int y) { return Solid(bullet, r.x, r.y + y, r.w, 1); };
    EXPECT_LT(width(1), width(r.h * 2 / 3)) << "type " << 40 + c;
  }
}

// Ten hues by colour index, the same in every family.
void BulletColourIndexIsConsistentAndDistinct() {
  const Image bullet = Load("bullet.tga");
  ASSERT_TRUE(bullet.ok);
  auto mean = [&](int type) {
    const datagen::RectI r = datagen::BulletRect(type);
    double s[3] = {0, 0, 0};
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x)
        if (bullet.Alpha(x, y) > 200) {
          const uint32_t p = bullet.At(x, y);
          s[0] += (p >> 16) & 255;
          s[1] += (p >> 8) & 255;
          s[2] += p & 255;
          ++n;
        }
    return std::vector<double>{s[0] / std::max(n, 1), s[1] / std::max(n, 1), s[2] / std::max(n, 1)};
  };
  auto dist = [](const std::vector<double>& a, const std::vector<double>& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
  };
  for (int fam : {1, 2, 6, 12}) {
    for (int a = 0; a < 10; ++a)
      for (int b = a + 1; b < 10; ++b)
        EXPECT_GT(dist(mean(fam * 10 + a), mean(fam * 10 + b)), 40.0) << "family " << fam << " colours " << a << ", " << b;
  }
  for (int c = 0; c < 10; ++c) {
    // The same index in two families is nearer than to any other index.
    const std::vector<double> ref = mean(10 + c), other = mean(20 + c);
    for (int d = 0; d < 10; ++d) {
      if (d != c) {
        EXPECT_LT(dist(ref, other), dist(ref, mean(20 + d))) << "colour " << c << " vs " << d;
      }
    }
  }
}

// Additive sprites fade to black towards their edge and are brightest in the middle.
void AdditiveSpritesFadeToBlack() {
  const Image bullet = Load("bullet.tga");
  ASSERT_TRUE(bullet.ok);
  for (int type : {70, 75, 79, 130, 135, 170}) {
    const datagen::RectI r = datagen::BulletRect(type);
    auto lum = [&](int x, int y) {
      const uint32_t p = bullet.At(r.x + x, r.y + y);
      return static_cast<int>(((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255));
    };
    EXPECT_GT(lum(r.w / 2, r.h / 2), 600) << type;
    EXPECT_LT(lum(0, 0), 30) << type;
    EXPECT_LT(lum(r.w / 2, 0), 120) << type;
  }
}

void FrameWindowIsClearAndThePanelOpaque() {
  const Image frame = Load("background_frame.tga");
  ASSERT_TRUE(frame.ok);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{16, 16}, {399, 463}, {208, 240}, {16, 463}, {399, 16}})
    EXPECT_EQ(frame.Alpha(x, y), 0) << x << "," << y;
  for (auto [x, y] : std::vector<std::pair<int, int>>{{15, 15}, {400, 240}, {208, 464}, {560, 100}, {639, 479}})
    EXPECT_EQ(frame.Alpha(x, y), 255) << x << "," << y;
}

void TextStripsCarryTheirWords() {
  const Image spell = Load("spell.tga");
  ASSERT_TRUE(spell.ok);
  for (int i = 0; i < 256; ++i) {
    const int n = Solid(spell, 256 * (i % 4), 16 * (i / 4), 256, 16);
    if (i < 199) {
      EXPECT_GT(n, 20) << "spell id " << i + 1;
    } else {
      EXPECT_EQ(n, 0) << "unused strip " << i;
    }
  }
  for (int id = 1; id <= 199; ++id) EXPECT_FALSE(datagen::SpellName(id).empty()) << id;
  const Image bombs = Load("pspell.tga");
  ASSERT_TRUE(bombs.ok);
  for (int k = 0; k < 10; ++k) EXPECT_GT(Solid(bombs, 0, 16 * k, 512, 16), 20) << "bomb name " << k;
}

// Each stage dialogue lies inside its stage's strips, no two overlap, and a strip
// shows text exactly when a dialogue line is there.
void DialoguesFitTheirSheets() {
  const std::vector<datagen::TalkSheet>& sheets = datagen::TalkSheets();
  std::map<int, std::set<int>> used;  // run -> strips
  std::set<int> numbers;
  for (const datagen::Dialogue& d : datagen::Dialogues()) {
    EXPECT_TRUE(numbers.insert(d.number).second) << "dialogue " << d.number << " twice";
    const int capacity = d.sheet == 6 ? 3 * (sheets[6].rows + sheets[7].rows) : 3 * sheets[d.sheet].rows;
    for (size_t i = 0; i < d.lines.size(); ++i) {
      const int strip = d.firstStrip + static_cast<int>(i);
      EXPECT_LT(strip, capacity) << "dialogue " << d.number;
      EXPECT_TRUE(used[d.sheet].insert(strip).second) << "dialogue " << d.number << " strip " << strip;
    }
    EXPECT_TRUE(d.portraitSet >= 0 && d.portraitSet < 15) << "dialogue " << d.number;
  }
  for (int n = 0; n <= 52; ++n) EXPECT_TRUE(numbers.count(n)) << "dialogue " << n << " missing";
  // Every line fits the two text rows of its strip (300 or 340 wide, 6 pixels of margin each side).
  datagen::TextStyle small;
  small.size = 14;
  for (const datagen::Dialogue& d : datagen::Dialogues())
    for (const datagen::DialogueLine& l : d.lines)
      EXPECT_LE(datagen::MeasureText(l.text, small), 2 * (300 - 12) - 28) << l.text;
  for (const std::string& line : datagen::EndingLines())
    EXPECT_LE(datagen::MeasureText(line, small), 2 * (340 - 12) - 28) << line;
  auto strip = [&](int run, int s) -> std::pair<const PictureSpec*, int> {
    if (run == 6 && s >= 75) return {Spec("talkex2.bmp"), s - 75};
    return {Spec(sheets[run].name), s};
  };
  std::map<std::string, Image> loaded;
  for (int run = 0; run < 7; ++run) {
    const int total = run == 6 ? 102 : 3 * sheets[run].rows;
    for (int s = 0; s < total; ++s) {
      auto [spec, local] = strip(run, s);
      ASSERT_TRUE(spec);
      if (!loaded.count(spec->name)) loaded[spec->name] = Load(*spec);
      const Image& img = loaded[spec->name];
      ASSERT_TRUE(img.ok);
      int bright = 0;
      for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 300; ++x) bright += (img.At(300 * (local % 3) + x, 36 * (local / 3) + y) & 0xFF) > 128;
      if (used[run].count(s)) {
        EXPECT_GT(bright, 30) << spec->name << " strip " << local;
      } else {
        EXPECT_EQ(bright, 0) << spec->name << " strip " << local;
      }
    }
  }
}

void EveryEffectAndTrackDecodesWithItsLength() {
  int tracks = 0;
  for (const datagen::SoundSpec& s : datagen::Sounds()) {
    const datatest::Wave w = datatest::ParseWav(datatest::ReadBytes(PathOf(s.folder, s.name)));
    ASSERT_TRUE(w.ok) << s.name;
    EXPECT_EQ(w.rate, 22050) << s.name;
    EXPECT_EQ(w.channels, 1) << s.name;
    EXPECT_GE(w.Milliseconds(), s.minMs) << s.name;
    if (s.folder == "vko01") {
      EXPECT_LE(w.Milliseconds(), 2000.0) << s.name << " is an effect";
    }
    if (s.folder == "vkobgm") {
      ++tracks;
      EXPECT_LE(w.Milliseconds(), 40000.0) << s.name;
      int peak = 0;
      for (int16_t v : w.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
      EXPECT_GT(peak, 8000) << s.name << " is audible";
      // No click at the seam: the last sample and the loop point's sample are near silence.
      const size_t loop = static_cast<size_t>(datagen::LoopSample(s.loopMs));
      ASSERT_LT(loop, w.samples.size());
      EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 1500) << s.name;
      EXPECT_LT(std::abs(static_cast<int>(w.samples[loop])), 1500) << s.name;
    }
  }
  EXPECT_EQ(tracks, 14);
  // The loop points the stages use.
  EXPECT_EQ(datagen::TrackLoopMs(2), 4500);
  EXPECT_EQ(datagen::TrackLoopMs(4), 1500);
  EXPECT_EQ(datagen::TrackLoopMs(5), 6860);
  EXPECT_EQ(datagen::TrackLoopMs(6), 8900);
  EXPECT_EQ(datagen::TrackLoopMs(7), 3000);
  EXPECT_EQ(datagen::TrackLoopMs(9), 15600);
  EXPECT_EQ(datagen::TrackLoopMs(10), 17000);
  for (int t : {1, 3, 8, 11, 12, 13, 14}) EXPECT_EQ(datagen::TrackLoopMs(t), 0) << "track " << t;
}

void EffectsAreDistinct() {
  std::set<std::vector<int16_t>> seen;
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(seen.insert(datagen::MakeEffect(i)).second) << "effect " << i;
}

// Running the makers again gives the very bytes already written.
void GenerationIsDeterministic() {
  for (const char* name : {"other.tga", "player.tga", "talk2.bmp", "back61.tga"}) {
    const PictureSpec* p = Spec(name);
    ASSERT_TRUE(p);
    const datagen::Canvas c = datagen::MakePicture(name);
    const std::vector<uint8_t> again =
        p->format == datagen::PictureFormat::kTga ? datagen::EncodeTga(c) : datagen::EncodeBmp(c);
    EXPECT_TRUE(again == datatest::ReadBytes(PathOf("vko01", name))) << name;
  }
}

// Scrolling layers wrap: the last row continues into the first, the last column into the first.
void ScrollingLayersTileWithoutSeam() {
  for (const char* name : {"back1a1.tga", "back1b.tga", "back1d1.tga", "tex.tga", "sky.tga", "backex1.tga"}) {
    const Image img = Load(name);
    ASSERT_TRUE(img.ok) << name;
    auto diff = [&](uint32_t a, uint32_t b) {
      int d = 0;
      for (int s = 0; s < 24; s += 8) d += std::abs(static_cast<int>((a >> s) & 255) - static_cast<int>((b >> s) & 255));
      return d;
    };
    double seam = 0, inner = 0;
    for (int x = 0; x < img.width; ++x) {
      seam += diff(img.At(x, img.height - 1), img.At(x, 0));
      inner += diff(img.At(x, img.height / 2), img.At(x, img.height / 2 + 1));
    }
    EXPECT_LT(seam, inner * 2.5 + img.width * 3) << name << " vertical seam";
  }
}

void DebugModeOutlinesEveryCell() {
  datagen::Canvas plain = datagen::MakePicture("item.tga");
  datagen::Canvas debug = plain;
  datagen::DrawDebugCuts(debug, "item.tga");
  int changed = 0;
  for (int k = 0; k < 16; ++k) {
    const int x = (k % 8) * 16, y = (k / 8) * 16;
    const datagen::Rgba a = plain.Get(x + 15, y + 8), b = debug.Get(x + 15, y + 8);
    changed += (a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a);
  }
  EXPECT_EQ(changed, 16);
}

// The sizes the game's cuts and screen positions fix, written down here from the game's
// own numbers rather than taken from the generator's table.
void PicturesAreTheOnesTheGameLoads() {
  struct Want {
    const char* name;
    int w, h;
  };
  const Want fixed[] = {
      {"loading.tga", 896, 480},       {"title.tga", 960, 480},         {"menu.tga", 896, 516},
      {"charaselect.tga", 1024, 1024}, {"charaselect2.tga", 1024, 512}, {"stageresult.tga", 384, 448},
      {"ending.tga", 640, 480},        {"staff.tga", 640, 480},         {"talked.bmp", 1020, 1008},
      {"item.tga", 128, 32},           {"spell.tga", 1024, 1024},       {"pspell.tga", 512, 160},
      {"other.tga", 512, 512},         {"zako.tga", 1088, 512},         {"boss.tga", 960, 768},
      {"player.tga", 512, 640},        {"bullet.tga", 512, 512},        {"cutin.tga", 1000, 900},
      {"cutin_player.tga", 1000, 300}, {"name.tga", 256, 1024},         {"background_frame.tga", 640, 480},
      {"stagetitle.tga", 1024, 512},   {"talk1.bmp", 900, 504},         {"talk2.bmp", 900, 252},
      {"talk3.bmp", 900, 1008},        {"talk4.bmp", 900, 1008},        {"talk5.bmp", 900, 1008},
      {"talk6.bmp", 900, 1008},        {"talkex.bmp", 900, 900},        {"talkex2.bmp", 900, 324}};
  for (const Want& w : fixed) {
    const PictureSpec* p = Spec(w.name);
    ASSERT_TRUE(p) << w.name;
    EXPECT_EQ(p->width, w.w) << w.name;
    EXPECT_EQ(p->height, w.h) << w.name;
    const bool bmp = std::string(w.name).find(".bmp") != std::string::npos;
    EXPECT_EQ(p->format == datagen::PictureFormat::kBmp, bmp) << w.name;
  }
  // The staff roll is drawn at x 64 and scrolls from y 440 up to y -956.
  const PictureSpec* roll = Spec("staffroll.tga");
  ASSERT_TRUE(roll);
  EXPECT_LE(roll->width, 640 - 64);
  EXPECT_GE(roll->height, 956 + 480 - 64) << "the roll covers the screen until it fades out";
  // Every texture the stages load, by stage: full-field layers cover 384 x 448; the layers
  // drawn turned must cover the field at every angle from where they are centred.
  const char* stageTextures[] = {
      "back1a1", "back1a2", "back1a3", "back1as1", "back1as2", "back1bs", "back1b", "back1cs1", "back1cs2",
      "back1c1", "back1d1", "back1d2", "back1ds", "back2s", "tex", "fog", "cherry", "white", "sky", "back3ms",
      "back3s1", "back4as1", "back4as2", "back42", "back43", "back44", "back45", "back4bs1", "back4bs2",
      "back4cs", "back4ds1", "back4ds2", "back5s", "back5", "back6s1", "back6s2", "back61", "back62",
      "backexs1", "backexs2", "backex1", "backex2", "backex3", "backex4"};
  for (const char* t : stageTextures) {
    const PictureSpec* p = Spec(std::string(t) + ".tga");
    ASSERT_TRUE(p) << t;
    const std::string n = t;
    if (n == "back1a3" || n == "cherry") continue;  // sprites drawn turned, not layers
    EXPECT_GE(p->width, 384) << t;
    EXPECT_GE(p->height, 448) << t;
  }
  const double corner = std::hypot(192.0, 224.0);  // field centre to field corner
  auto covers = [&](const char* name, double scale, double offset) {
    const PictureSpec* p = Spec(name);
    return p && std::min(p->width, p->height) * scale / 2.0 >= corner + offset;
  };
  EXPECT_TRUE(covers("back1d1.tga", 2.0, 120.0))
      << "turned at scale 2 about a centre up to 120 px from the field's";
  EXPECT_EQ(Spec("back1d1.tga")->height % 512, 0) << "scrolled by a 512-row period";
  EXPECT_TRUE(covers("back3ms.tga", 1.2, 0.0));
}

// Ink lies only inside the cells the game cuts: a picture drawn at a wrong place shows here.
void InkStaysInsideTheCells() {
  for (const char* name : {"bullet.tga", "player.tga", "zako.tga", "boss.tga", "item.tga", "other.tga"}) {
    const PictureSpec* p = Spec(name);
    const Image img = Load(name);
    ASSERT_TRUE(p && img.ok) << name;
    std::vector<char> cell(static_cast<size_t>(img.width) * img.height, 0);
    for (const Cut& c : p->cuts)
      for (int y = c.y; y < c.y + c.h; ++y)
        for (int x = c.x; x < c.x + c.w; ++x) cell[static_cast<size_t>(y) * img.width + x] = 1;
    int stray = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        if (img.Alpha(x, y) > 0 && !cell[static_cast<size_t>(y) * img.width + x]) {
          if (stray++ == 0) firstX = x, firstY = y;
        }
    EXPECT_EQ(stray, 0) << name << " first at " << firstX << "," << firstY;
  }
}

// Bullet families of one sprite size are told apart by their shape.
void BulletFamiliesOfOneSizeDiffer() {
  const Image bullet = Load("bullet.tga");
  ASSERT_TRUE(bullet.ok);
  for (int f = 0; f < 17; ++f)
    for (int g = f + 1; g < 17; ++g) {
      const datagen::RectI a = datagen::BulletRect(10 * f), b = datagen::BulletRect(10 * g);
      if (a.w != b.w || a.h != b.h) continue;
      int differ = 0;
      for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
          differ += (bullet.Alpha(a.x + x, a.y + y) > 96) != (bullet.Alpha(b.x + x, b.y + y) > 96);
      EXPECT_GT(differ, a.w * a.h / 16) << "families " << f << " and " << g;
    }
}

// A dialogue's other speaker is the boss that the stage brings on around it, so the
// portrait, the name plate and the status line's boss name agree.
void DialogueSpeakersAreTheirStagesBosses() {
  const int spriteSet[23] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 7, 8, 9, 10, 11, 11, 11, 12, 12, 13, 13};
  auto bossOf = [](int n) {
    if (n < 8) return n | 1;           // stage 1, variant n / 2: the second boss
    if (n < 16) return 9;              // stage 2
    if (n < 24) return 11;             // stage 3
    if (n < 32) return 12 + (n - 24) / 2;  // stage 4, route = character
    if (n < 40) return 17;             // stage 5
    if (n < 44) return 19;             // final stage
    if (n == 44) return 20;
    return 21;                         // extra stage
  };
  for (const datagen::Dialogue& d : datagen::Dialogues()) {
    if (d.number == 44) continue;  // the last form speaks with a portrait of its own
    EXPECT_EQ(d.portraitSet, spriteSet[bossOf(d.number)]) << "dialogue " << d.number;
  }
}

// The cut-in band is tiled every 448 pixels: its phrase must repeat with a period that
// divides 448, so the seam between two tiles falls between two whole phrases.
void CutinBandRepeatsAcrossItsSeam() {
  const Image other = Load("other.tga");
  ASSERT_TRUE(other.ok);
  int period = 1;
  for (;; ++period) {
    bool same = true;
    for (int y = 0; y < 448 && same; ++y)
      for (int x = 416; x < 512 && same; ++x) same = other.At(x, y) == other.At(x, (y + period) % 448);
    if (same) break;
  }
  EXPECT_LT(period, 448) << "the tiles' seam cuts a phrase";
  EXPECT_GE(period, 64) << "one phrase, not a smear";
}

// The practice list and the route list are drawn in boxes over the character pictures
// (drawn at 64, 96): every pixel under the boxes is the panel's plain background.
void CharacterWordsStayOutOfTheListBoxes() {
  const Image first = Load("charaselect.tga"), second = Load("charaselect2.tga");
  ASSERT_TRUE(first.ok && second.ok);
  const std::pair<const Image*, std::pair<int, int>> panels[6] = {
      {&first, {0, 0}}, {&first, {512, 0}}, {&first, {0, 512}}, {&first, {512, 512}},
      {&second, {0, 0}}, {&second, {512, 0}}};
  const int boxes[2][4] = {{230, 110, 410, 370}, {230, 190, 410, 290}};
  const uint32_t background = first.At(166, 14);
  for (int p = 0; p < 6; ++p)
    for (const auto& b : boxes) {
      int other = 0;
      for (int y = b[1]; y <= b[3]; ++y)
        for (int x = b[0]; x <= b[2]; ++x)
          other += panels[p].first->At(panels[p].second.first + x - 64, panels[p].second.second + y - 96) != background;
      EXPECT_EQ(other, 0) << "panel " << p << " box at " << b[0] << "," << b[1];
    }
}

// A stage-title column holds its letters (40-pixel letters with an outline, so at most
// 48 rows each) and nothing else: no divider or frame runs along the column.
void StageTitleColumnsHoldOnlyTheirLetters() {
  const Image titles = Load("stagetitle.tga");
  ASSERT_TRUE(titles.ok);
  for (int k = 0; k < 10; ++k) {
    int inkedRows = 0;
    for (int y = 0; y < 512; ++y) {
      bool ink = false;
      for (int x = 64 * k; x < 64 * k + 64; ++x) ink |= titles.Alpha(x, y) > 0;
      inkedRows += ink;
    }
    EXPECT_LE(inkedRows, 48 * static_cast<int>(datagen::CountCodePoints(datagen::StageTitle(k)))) << "column " << k;
  }
}

// Backgrounds stay behind the bright bullets: the opaque layers are dim, and the two
// overlays whose edges show on the field (one multiplied, one added) end in the value
// their blend leaves unchanged, white and black.
void BackgroundsStayBehindTheBullets() {
  const std::set<std::string> overlays = {"back1a2.tga", "back1a3.tga", "back6s2.tga", "back1as1.tga",
                                          "back1cs2.tga", "back42.tga",  "backexs2.tga", "backex2.tga",
                                          "back1d2.tga", "fog.tga",     "cherry.tga",  "back62.tga"};
  for (const datagen::TextureSpec& t : datagen::BackgroundTextures()) {
    if (overlays.count(t.name)) continue;
    const Image img = Load(t.name);
    ASSERT_TRUE(img.ok) << t.name;
    uint32_t brightest = 0;
    for (uint32_t p : img.rgba) brightest = std::max({brightest, (p >> 16) & 255, (p >> 8) & 255, p & 255});
    EXPECT_LE(brightest, 128u) << t.name;
  }
  const std::pair<const char*, uint32_t> edges[] = {{"back1a2.tga", 0xFFFFFFu}, {"back1a3.tga", 0u}};
  for (const auto& [name, neutral] : edges) {
    const Image img = Load(name);
    ASSERT_TRUE(img.ok) << name;
    int off = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        if (x == 0 || y == 0 || x == img.width - 1 || y == img.height - 1) off += (img.At(x, y) & 0xFFFFFFu) != neutral;
    EXPECT_EQ(off, 0) << name;
  }
}

// Each test runs a group of checks, so a test process generates its data only once.
void RunCheck(const char* name, void (*check)()) {
  SCOPED_TRACE(name);
  check();
}

TEST_F(DataPictures, SheetsHaveTheirSizesAndCuts) {
  RunCheck("sizes and cuts", EveryPictureHasItsSizeAndHoldsEveryCut);
  RunCheck("cut tables", CutTablesAgreeWithTheGamesNumbers);
  RunCheck("the game's sizes", PicturesAreTheOnesTheGameLoads);
  RunCheck("ink inside cells", InkStaysInsideTheCells);
}

TEST_F(DataPictures, SpritesAreRecognisable) {
  RunCheck("cells drawn", SpriteCellsAreDrawnAndThePulsePixelIsClear);
  RunCheck("poses and steps", PosesAndStepsDiffer);
  RunCheck("round families", UnturnedBulletFamiliesAreRound);
  RunCheck("colour index", BulletColourIndexIsConsistentAndDistinct);
  RunCheck("bullet families", BulletFamiliesOfOneSizeDiffer);
  RunCheck("additive", AdditiveSpritesFadeToBlack);
  RunCheck("leaf shots", LeafShotsLeaveTheBulletsReadable);
  RunCheck("player shots", PlayerShotsAreSeeThroughStreaks);
  RunCheck("frame window", FrameWindowIsClearAndThePanelOpaque);
  RunCheck("loading labels", LoadingLabelsFitTheTallyCorner);
  RunCheck("tiling", ScrollingLayersTileWithoutSeam);
  RunCheck("debug outlines", DebugModeOutlinesEveryCell);
}

TEST_F(DataPictures, TextStripsCarryTheirWords) {
  RunCheck("spell and bomb names", TextStripsCarryTheirWords);
  RunCheck("dialogues", DialoguesFitTheirSheets);
  RunCheck("dialogue speakers", DialogueSpeakersAreTheirStagesBosses);
}

TEST_F(DataPictures, PicturesSuitHowTheGameDrawsThem) {
  RunCheck("cut-in band", CutinBandRepeatsAcrossItsSeam);
  RunCheck("list boxes", CharacterWordsStayOutOfTheListBoxes);
  RunCheck("stage titles", StageTitleColumnsHoldOnlyTheirLetters);
  RunCheck("backgrounds", BackgroundsStayBehindTheBullets);
}

TEST_F(DataPictures, GenerationIsDeterministic) { RunCheck("pictures", GenerationIsDeterministic); }

TEST_F(DataSounds, EveryEffectAndTrackDecodesWithItsLength) {
  RunCheck("lengths", EveryEffectAndTrackDecodesWithItsLength);
  RunCheck("distinct effects", EffectsAreDistinct);
  const std::vector<uint8_t> track = datagen::EncodeWav(datagen::MakeTrack(9), 1, datagen::kSampleRate);
  EXPECT_TRUE(track == datatest::ReadBytes(PathOf("vkobgm", "vko01_09.wav"))) << "the same bytes again";
}

// Descriptions wrap between words: at a space (dropped) or after a Japanese comma; a
// word wider than the line is broken by code points.
TEST(DataGen, WrapsTextByWords) {
  struct Case {
    const char* text;
    int width;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"SPELL CARD ATTACK", 100, {"SPELL CARD", "ATTACK"}},
      {"前方集中の御札と、貫く灯火の光線", 146, {"前方集中の御札と、", "貫く灯火の光線"}},
      {"扇状に舞う木の葉と、密集する葉吹雪", 146, {"扇状に舞う木の葉と、", "密集する葉吹雪"}},
      {"木枯らし一番", 60, {"木枯らし", "一番"}},
      {"灯 灯", 4, {"灯", "灯"}},
  };
  ASSERT_TRUE(datagen::FontsAvailable());
  for (const Case& c : cases)
    EXPECT_EQ(datagen::WrapText(c.text, datagen::Style(14), c.width, datagen::WrapAt::kWords), c.lines) << c.text;
}

TEST(DataGen, RefusesAnUnusableOutputFolder) {
  datagen::Options o;
  o.pictures = false;
  o.sounds = false;
  EXPECT_EQ(datagen::GenerateDataSet("", o), -1);
  EXPECT_EQ(datagen::GenerateDataSet("/proc/no/such/place", o), -1);
  EXPECT_EQ(datagen::MakePicture("nothing.tga").width(), 0);
  // Numbers outside the tables give a plain sound of their own, never a crash.
  EXPECT_EQ(datagen::TrackLoopMs(0), 0);
  EXPECT_EQ(datagen::TrackLoopMs(15), 0);
  EXPECT_FALSE(datagen::MakeEffect(-1).empty());
  EXPECT_GT(datagen::MakeTrack(-3).size(), static_cast<size_t>(datagen::kSampleRate));
}

}  // namespace
