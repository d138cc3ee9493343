// The generated data set read the way the game reads it: packed into the two
// archives with the game's key, every picture loaded through the library with
// every cut derived from it, every effect and track decoded by the library's
// sound converter, and the archives holding the very bytes of the folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../tools/datagen/audio.h"
#include "../../tools/datagen/layout.h"
#include "core/archive_pack.h"
#include "core/fileio.h"
#include "core/library.h"
#include "core/memory.h"
#include "core/stream.h"
#include "file_readers.h"
#include "generated_data.h"
#include "graphics/graph_registry.h"
#include "graphics/memimg.h"
#include "platform/platform.h"
#include "sound/converter.h"
#include "tesra.h"

namespace {

// The whole file through the current file set (the archive while it is on).
std::vector<uint8_t> ReadThroughLibrary(const std::string& path) {
  void* data = nullptr;
  size_t size = 0;
  std::vector<uint8_t> out;
  if (FileReadWhole(path.c_str(), &data, &size) != 0) return out;
  out.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  TrackedFree(data);
  return out;
}

class PackedDataSet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = datatest::GeneratedDataDir(datatest::Content::kAll);
    if (dir_.empty()) return;
    PackOptions options;
    options.key = "dorvask";
    packed_ = PackFolder((dir_ + "/vko01.dat").c_str(), (dir_ + "/vko01").c_str(), options) == 0 &&
              PackFolder((dir_ + "/vkobgm.dat").c_str(), (dir_ + "/vkobgm").c_str(), options) == 0;
  }
  void SetUp() override {
    ASSERT_FALSE(dir_.empty()) << "the generator failed";
    ASSERT_TRUE(packed_) << "the packer failed";
    UseArchiveFileAccess(1);
    SetArchiveExtension("dat");
    SetArchiveKey("dorvask");
  }
  void TearDown() override {
    UseArchiveFileAccess(0);
    ClearArchiveCache();
  }
  static std::string dir_;
  static bool packed_;
};

std::string PackedDataSet::dir_;
bool PackedDataSet::packed_ = false;

// The checks, run by one test so that the set is generated and packed once.

void ArchivesHoldTheFolderBytes(const std::string& dir_) {
  for (const datagen::PictureSpec& p : datagen::Pictures()) {
    const std::string path = dir_ + "/" + p.folder + "/" + p.name;
    EXPECT_TRUE(ReadThroughLibrary(path) == datatest::ReadBytes(path)) << p.name;
  }
  for (const datagen::SoundSpec& s : datagen::Sounds()) {
    const std::string path = dir_ + "/" + s.folder + "/" + s.name;
    EXPECT_TRUE(ReadThroughLibrary(path) == datatest::ReadBytes(path)) << s.name;
  }
}

void EverySoundDecodesLongerThanItsLoopPoint(const std::string& dir_) {
  for (const datagen::SoundSpec& s : datagen::Sounds()) {
    const std::vector<uint8_t> bytes = ReadThroughLibrary(dir_ + "/" + s.folder + "/" + s.name);
    ASSERT_FALSE(bytes.empty()) << s.name;
    const StreamHandle h = CreateMemoryStream(bytes.data(), bytes.size());
    ASSERT_NE(h, 0u);
    SoundConverter c{};
    ASSERT_EQ(SetupSoundConverter(SoundStream{GetMemoryStreamFunctions(), h}, &c), 0) << s.name;
    SoundWaveFormat format{};
    CopyConverterFormat(&c, &format);
    const uint32_t pcmBytes = GetConverterLength(&c);
    CloseConverter(&c);
    CloseMemoryStream(h);
    EXPECT_EQ(format.channels, 1) << s.name;
    EXPECT_EQ(format.bitsPerSample, 16) << s.name;
    EXPECT_EQ(format.samplesPerSec, static_cast<uint32_t>(datagen::kSampleRate)) << s.name;
    const double ms = pcmBytes / 2.0 * 1000.0 / datagen::kSampleRate;  // 16-bit mono
    EXPECT_GE(ms, s.minMs) << s.name;
    EXPECT_GT(static_cast<int64_t>(pcmBytes / 2), datagen::LoopSample(s.loopMs)) << s.name;
  }
}

// Started on the headless back end: each sheet loads from the archive at its size
// and gives every cut the game makes; a cut past the sheet's edge is refused.
void EveryCutDerivesFromTheLoadedSheet(const std::string& dir_) {
  PlatformUseBackend(PlatformBackend::Headless);
  HeadlessReset();
  ApiSetLogOutput(0);
  g_librarySettings.soundOff = 1;
  ASSERT_NE(ApiSetScreenMode(640, 480, 32, 60), -1);
  ASSERT_EQ(ApiInitializeLibrary(), 0);
  ApiSetArchiveFileAccess(1);
  ApiSetArchiveFileExtension("dat");
  ApiSetArchiveKey("dorvask");
  for (const datagen::PictureSpec& p : datagen::Pictures()) {
    const std::string path = dir_ + "/" + p.folder + "/" + p.name;
    const int sheet = ApiLoadGraphFromFile(path.c_str(), 0);
    ASSERT_GE(sheet, 0) << p.name;
    MEMIMG view;
    const MEMIMG* img = GraphHandleMemImg(sheet, &view);
    ASSERT_NE(img, nullptr) << p.name;
    EXPECT_EQ(img->width, p.width) << p.name;
    EXPECT_EQ(img->height, p.height) << p.name;
    // The library's pixels are the file's (sampled on a sparse grid).
    const bool tga = p.format == datagen::PictureFormat::kTga;
    const datatest::Image file = tga ? datatest::ParseTga(datatest::ReadBytes(path)) : datatest::ParseBmp(datatest::ReadBytes(path));
    ASSERT_TRUE(file.ok) << p.name;
    ASSERT_EQ(img->format->bytesPerPixel, 4) << p.name;
    EXPECT_EQ(img->alphaFlag, tga ? 1u : 0u) << p.name;
    int mismatches = 0;
    const uint32_t mask = tga ? 0xFFFFFFFFu : 0x00FFFFFFu;
    for (int y = 0; y < p.height && y < img->height; y += 7)
      for (int x = 0; x < p.width && x < img->width; x += 5) {
        uint32_t v = 0;
        std::memcpy(&v, MemImgRow(img, y) + x * 4, 4);
        mismatches += (v & mask) != (file.At(x, y) & mask);
      }
    EXPECT_EQ(mismatches, 0) << p.name;
    for (const datagen::Cut& c : p.cuts) {
      const int piece = ApiDeriveSubGraph(c.x, c.y, c.w, c.h, sheet);
      EXPECT_GE(piece, 0) << p.name << " " << c.what << " " << c.index;
      if (piece >= 0) ApiFreeGraphHandle(piece, 0);
    }
    EXPECT_EQ(ApiDeriveSubGraph(p.width, 0, 1, 1, sheet), -1) << p.name;
    ApiFreeGraphHandle(sheet, 0);
  }
  // The split loads the game makes.
  int items[16], bosses[180], plates[16], bombs[10];
  EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/item.tga").c_str(), 16, 8, 2, 16, 16, items, 0), 0);
  EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/boss.tga").c_str(), 180, 15, 12, 64, 64, bosses, 0), 0);
  EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/name.tga").c_str(), 16, 1, 16, 256, 64, plates, 0), 0);
  EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/pspell.tga").c_str(), 10, 1, 10, 512, 16, bombs, 0), 0);
  for (const datagen::TalkSheet& t : datagen::TalkSheets()) {
    std::vector<int> strips(static_cast<size_t>(3 * t.rows));
    EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/" + t.name).c_str(), 3 * t.rows, 3, t.rows, 300, 36,
                                    strips.data(), 0),
              0)
        << t.name;
  }
  std::vector<int> lines(84);
  EXPECT_EQ(ApiLoadGraphFileSplit((dir_ + "/vko01/talked.bmp").c_str(), 84, 3, 28, 340, 36, lines.data(), 0), 0);
  ApiSetArchiveFileAccess(0);
  ApiEndLibrary();
  g_librarySettings.soundOff = 0;
}

TEST_F(PackedDataSet, ReadsAsTheGameReadsIt) {
  {
    SCOPED_TRACE("archive bytes");
    ArchivesHoldTheFolderBytes(dir_);
  }
  {
    SCOPED_TRACE("sound decoding");
    EverySoundDecodesLongerThanItsLoopPoint(dir_);
  }
  {
    SCOPED_TRACE("sheets and cuts");
    EveryCutDerivesFromTheLoadedSheet(dir_);
  }
}

}  // namespace
