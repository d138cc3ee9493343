#include "datagen.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>

#include "audio.h"
#include "canvas.h"
#include "font.h"
#include "layout.h"
#include "pixfont.h"
#include "sheets.h"
#include "writers.h"

namespace datagen {

Canvas MakePicture(const std::string& name) {
  struct Maker {
    const char* name;
    Canvas (*make)();
  };
  static const Maker makers[] = {
      {"loading.tga", MakeLoadingSheet},        {"title.tga", MakeTitleSheet},
      {"menu.tga", MakeMenuSheet},              {"charaselect.tga", MakeCharaSelectSheet},
      {"charaselect2.tga", MakeCharaSelect2Sheet}, {"stageresult.tga", MakeStageResultSheet},
      {"ending.tga", MakeEndingSheet},          {"staff.tga", MakeStaffSheet},
      {"staffroll.tga", MakeStaffRollSheet},    {"talked.bmp", MakeEndingLineSheet},
      {"item.tga", MakeItemSheet},              {"spell.tga", MakeSpellSheet},
      {"pspell.tga", MakeBombNameSheet},        {"other.tga", MakeOtherSheet},
      {"zako.tga", MakeZakoSheet},              {"boss.tga", MakeBossSheet},
      {"player.tga", MakePlayerSheet},          {"bullet.tga", MakeBulletSheet},
      {"cutin.tga", MakeCutinSheet},            {"cutin_player.tga", MakeCutinPlayerSheet},
      {"name.tga", MakeNamePlateSheet},         {"background_frame.tga", MakeFrameSheet},
      {"stagetitle.tga", MakeStageTitleSheet},
  };
  for (const Maker& m : makers)
    if (name == m.name) return m.make();
  const std::vector<TalkSheet>& talk = TalkSheets();
  for (size_t i = 0; i < talk.size(); ++i)
    if (name == talk[i].name) return MakeTalkSheet(static_cast<int>(i));
  return MakeBackground(name);
}

void DrawDebugCuts(Canvas& c, const std::string& pictureName) {
  for (const PictureSpec& p : Pictures()) {
    if (p.name != pictureName) continue;
    for (size_t i = 0; i < p.cuts.size(); ++i) {
      const Cut& cut = p.cuts[i];
      if (cut.w <= 1 || cut.h <= 1) continue;
      const Rgba color = Hsv(static_cast<double>(i * 47 % 360), 0.9, 1.0);
      c.OutlineRect(cut.x, cut.y, cut.w, cut.h, color);
      const std::string label = std::to_string(cut.index);
      if (cut.w >= PixelTextWidth(label) + 2 && cut.h >= 7) {
        c.BlendRect(cut.x + 1, cut.y + 1, PixelTextWidth(label) + 2, 7, Rgba{0, 0, 0, 200});
        DrawPixelText(c, cut.x + 2, cut.y + 2, label, Rgba{255, 255, 255, 255});
      }
    }
  }
}

namespace {

bool MakeDir(const std::string& path) {
  if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
  std::fprintf(stderr, "datagen: cannot create folder %s\n", path.c_str());
  return false;
}

bool WritePictures(const std::string& dir, const Options& o) {
  for (const PictureSpec& p : Pictures()) {
    Canvas c = MakePicture(p.name);
    if (c.width() != p.width || c.height() != p.height) {
      std::fprintf(stderr, "datagen: %s came out %dx%d, the table says %dx%d\n", p.name.c_str(), c.width(),
                   c.height(), p.width, p.height);
      return false;
    }
    if (o.debug) DrawDebugCuts(c, p.name);
    const std::vector<uint8_t> bytes = p.format == PictureFormat::kTga ? EncodeTga(c) : EncodeBmp(c);
    if (!WriteFileBytes(dir + "/" + p.name, bytes)) return false;
  }
  return true;
}

bool WriteSounds(const std::string& effects, const std::string& music) {
  const std::vector<std::string>& names = EffectNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (!WriteFileBytes(effects + "/" + names[i], EncodeWav(MakeEffect(static_cast<int>(i)), 1, kSampleRate)))
      return false;
  for (int t = 1; t <= kTrackCount; ++t) {
    char name[32];
    std::snprintf(name, sizeof name, "vko01_%02d.wav", t);
    if (!WriteFileBytes(music + "/" + name, EncodeWav(MakeTrack(t), 1, kSampleRate))) return false;
  }
  return true;
}

// The eye-check pictures: a few sheets plain and with the debug outlines.
bool WriteSnapshots(const std::string& dir) {
  if (!MakeDir(dir)) return false;
  const char* names[] = {"title.tga", "menu.tga", "bullet.tga", "player.tga", "other.tga", "zako.tga", "boss.tga",
                         "loading.tga", "charaselect.tga", "background_frame.tga", "stagetitle.tga", "talk1.bmp",
                         "cutin.tga", "item.tga"};
  for (const char* n : names) {
    Canvas c = MakePicture(n);
    std::string base(n);
    base = base.substr(0, base.find('.'));
    // Show transparency over a dark checkerboard so light sprites stay visible.
    Canvas view(c.width(), c.height());
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x)
        view.Set(x, y, ((x / 8 + y / 8) % 2) ? Rgba{40, 40, 48, 255} : Rgba{64, 64, 72, 255});
    view.Draw(c, 0, 0);
    if (!WritePng(dir + "/" + base + ".png", view)) return false;
    DrawDebugCuts(view, n);
    if (!WritePng(dir + "/" + base + "_debug.png", view)) return false;
  }
  // Enlarged views of the smallest cells.
  struct Zoom { const char* sheet; int x, y, w, h, k; const char* out; };
  const Zoom zooms[] = {{"player.tga", 0, 0, 480, 144, 3, "player_frames_x3.png"},
                        {"player.tga", 64, 144, 336, 192, 3, "player_shots_x3.png"},
                        {"zako.tga", 0, 0, 768, 128, 2, "zako_cells_x2.png"},
                        {"bullet.tga", 0, 0, 512, 160, 2, "bullet_top_x2.png"},
                        {"other.tga", 0, 0, 416, 80, 3, "other_glyphs_x3.png"},
                        {"item.tga", 0, 0, 128, 32, 6, "item_x6.png"}};
  for (const Zoom& z : zooms) {
    const Canvas src = MakePicture(z.sheet).Crop(z.x, z.y, z.w, z.h);
    Canvas big(z.w * z.k, z.h * z.k);
    for (int y = 0; y < big.height(); ++y)
      for (int x = 0; x < big.width(); ++x) {
        const Rgba bg = ((x / 16 + y / 16) % 2) ? Rgba{40, 40, 48, 255} : Rgba{64, 64, 72, 255};
        big.Set(x, y, bg);
        big.Blend(x, y, src.Get(x / z.k, y / z.k));
      }
    if (!WritePng(dir + "/" + z.out, big)) return false;
  }
  // Every background texture at a quarter of its size, with its name's index.
  const std::vector<TextureSpec>& textures = BackgroundTextures();
  Canvas sheet(8 * 132, static_cast<int>((textures.size() + 7) / 8) * 132, Rgba{30, 30, 36, 255});
  for (size_t i = 0; i < textures.size(); ++i) {
    const Canvas t = MakePicture(textures[i].name);
    const int ox = static_cast<int>(i % 8) * 132 + 2, oy = static_cast<int>(i / 8) * 132 + 2;
    for (int y = 0; y < t.height() / 4 && y < 128; ++y)
      for (int x = 0; x < t.width() / 4 && x < 128; ++x) {
        sheet.Set(ox + x, oy + y, ((x / 4 + y / 4) % 2) ? Rgba{90, 90, 100, 255} : Rgba{60, 60, 70, 255});
        sheet.Blend(ox + x, oy + y, t.Get(x * 4, y * 4));
      }
    DrawPixelText(sheet, ox + 1, oy + 1, std::to_string(i), Rgba{255, 255, 0, 255});
  }
  return WritePng(dir + "/backgrounds.png", sheet);
}

}  // namespace

int GenerateDataSet(const std::string& outDir, const Options& o) {
  if (outDir.empty()) {
    std::fprintf(stderr, "datagen: no output folder\n");
    return -1;
  }
  if (o.pictures && !FontsAvailable()) return -1;
  const std::string pictures = outDir + "/vko01", music = outDir + "/vkobgm";
  if (!MakeDir(outDir) || !MakeDir(pictures) || !MakeDir(music)) return -1;
  if (o.pictures && !WritePictures(pictures, o)) return -1;
  if (o.sounds && !WriteSounds(pictures, music)) return -1;
  if (!o.snapshotDir.empty() && !WriteSnapshots(o.snapshotDir)) return -1;
  return 0;
}

}  // namespace datagen
