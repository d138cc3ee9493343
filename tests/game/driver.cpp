// Headless test driver.
#include "driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "library/sound/sound_internal.h"
#include "library/tesra.h"
#include "playfield/player.h"
#include "scenes/scene.h"
#include "shell/input.h"
#include "shell/loopcontrol.h"
#include "shell/savefile.h"

namespace {

// The folder of the test program's start, where the build puts datagen.
std::string StartFolder() {
  static std::string folder = [] {
    char buf[4096];
    return std::string(getcwd(buf, sizeof buf) ? buf : ".");
  }();
  return folder;
}

// Generates the stand-in data once per data generator build and shares it
// between test processes: generated into a private folder, then renamed into
// place (a racing process that loses the rename uses the winner's).
std::string StandInDataFolder() {
  std::string generator = StartFolder() + "/datagen";
  struct stat st;
  if (stat(generator.c_str(), &st) != 0) return "";
  char name[256];
  std::snprintf(name, sizeof name, "/tmp/vko01_standin_%lld_%lld",
                static_cast<long long>(st.st_mtime), static_cast<long long>(st.st_size));
  std::string shared = name;
  struct stat ds;
  if (stat((shared + "/vko01").c_str(), &ds) == 0) return shared;
  std::string mine = shared + ".tmp" + std::to_string(getpid());
  std::string cmd = "rm -rf '" + mine + "' && mkdir -p '" + mine + "' && '" + generator + "' '" +
                    mine + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return "";
  if (rename(mine.c_str(), shared.c_str()) != 0) {
    std::string rm = "rm -rf '" + mine + "'";
    if (std::system(rm.c_str()) != 0) return "";
  }
  return stat((shared + "/vko01").c_str(), &ds) == 0 ? shared : "";
}

// Packs one folder of the shared stand-in data into "<name>.dat" beside it,
// once: packed under a private name, then renamed into place.
std::string PackedArchive(const std::string& data, const char* name) {
  std::string archive = data + "/" + name + ".dat";
  struct stat st;
  if (stat(archive.c_str(), &st) == 0) return archive;
  std::string packer = StartFolder() + "/tsapack";
  if (stat(packer.c_str(), &st) != 0) return "";
  std::string mine = archive + ".tmp" + std::to_string(getpid());
  std::string cmd = "'" + packer + "' '" + mine + "' '" + data + "/" + name + "' dorvask >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return "";
  if (rename(mine.c_str(), archive.c_str()) != 0) unlink(mine.c_str());
  return stat(archive.c_str(), &st) == 0 ? archive : "";
}

}  // namespace

GameDriver::GameDriver() {
  StartFolder();
  char tmpl[] = "/tmp/vko01_gameXXXXXX";
  if (mkdtemp(tmpl)) folder_ = tmpl;
  char buf[4096];
  previous_ = getcwd(buf, sizeof buf) ? buf : ".";
  if (!folder_.empty() && chdir(folder_.c_str()) != 0) folder_.clear();
  PlatformUseBackend(PlatformBackend::Headless);
  HeadlessReset();
  HeadlessSetFrameClockRate(60);
  HeadlessSetDefaultMessageBoxAnswer(1);
  SetSoundBackend(AudioBackend::Null);  // sounds play on a device without output
  std::memset(&g_gameState, 0, sizeof g_gameState);
}

GameDriver::~GameDriver() {
  Finish();
  HeadlessReset();
  if (chdir(previous_.c_str()) != 0) std::perror("chdir");
  if (!folder_.empty()) {
    std::string cmd = "rm -rf '" + folder_ + "'";
    if (std::system(cmd.c_str()) != 0) std::perror("rm");
  }
}

bool GameDriver::UseStandInData() {
  std::string data = StandInDataFolder();
  if (data.empty()) return false;
  for (const char* sub : {"vko01", "vkobgm"}) {
    std::string target = data + "/" + sub;
    struct stat st;
    if (stat(target.c_str(), &st) != 0) continue;
    if (symlink(target.c_str(), sub) != 0) return false;
  }
  return true;
}

bool GameDriver::UseStandInArchives() {
  std::string data = StandInDataFolder();
  if (data.empty()) return false;
  for (const char* sub : {"vko01", "vkobgm"}) {
    std::string archive = PackedArchive(data, sub);
    if (archive.empty()) return false;
    if (symlink(archive.c_str(), (std::string(sub) + ".dat").c_str()) != 0) return false;
  }
  return true;
}

StartUpResult GameDriver::Start() {
  StartUpResult r = GameStartUp(g_gameState);
  started_ = r == StartUpResult::Ready;
  return r;
}

void GameDriver::Tap(int scanCode) {
  Key(scanCode, true);
  tapped_.push_back(scanCode);
}

int GameDriver::Run(int count) {
  int ran = 0;
  while (ran < count && started_ && !ended_) {
    ++passes_;
    if (script_) script_(passes_);
    if (!GameRunPass(g_gameState)) ended_ = true;
    for (int code : tapped_) Key(code, false);
    tapped_.clear();
    ++ran;
  }
  return ran;
}

void GameDriver::Finish() {
  if (heldStage_) {
    g_gameState.stage = heldStage_;
    heldStage_ = nullptr;
  }
  if (!started_) return;
  GameShutDown(g_gameState);
  started_ = false;
}

void GameDriver::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void GameDriver::WriteWindowedSettings(uint32_t firstPadButton) {
  auto s = std::make_unique<GameState>();
  s->screenMode = 0;
  s->color32 = 1;
  s->livesSetting = 2;
  s->bombsSetting = 3;
  s->bgmVolume = 100;
  s->seVolume = 100;
  if (firstPadButton != 0)
    for (uint32_t k = 0; k < 4; ++k) s->padButton[k] = firstPadButton + k;
  uint8_t image[kConfigFileSize];
  EncodeConfigFile(*s, image);
  WriteFile("vko01.cfg", std::vector<uint8_t>(image, image + kConfigFileSize));
}

std::vector<uint8_t> GameDriver::ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool GameDriver::Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// ---- Play field -------------------------------------------------------------------

std::string GameDriver::StartFolderPath() { return StartFolder(); }

void GameDriver::StartPlay(const PlayStart& start) {
  GameState& s = g_gameState;
  if (heldStage_) {
    s.stage = heldStage_;
    heldStage_ = nullptr;
  }
  patternFrame_ = 0;
  s.character = start.character;
  s.difficulty = start.difficulty;
  s.route = start.route;
  s.stageNumber = start.stageNumber;
  s.practice = start.practice ? 1 : 0;
  s.livesSetting = start.livesSetting;
  s.bombsSetting = start.bombsSetting;
  s.playSeed = start.seed & 255u;
  s.scene = ScenePlaying;
  if (s.player) s.player->Reset(s);
  if (start.practice) {
    s.lives = 9;
    s.power = 128;
  }
  ResetStage(s);
  if (start.sandbox) {
    heldStage_ = s.stage;
    s.stage = nullptr;
  }
  // The menu update that starts a play counts its frame.
  ++s.frameCount;
}

bool GameDriver::StartReplay(std::vector<uint8_t> image, bool sandbox) {
  GameState& s = g_gameState;
  if (image.size() > kFileBufferSize) return false;
  if (!DecodeReplayFile(s, image.data(), static_cast<uint32_t>(image.size()))) return false;
  const ReplayHeader& h = s.replayHeader;
  PlayStart start;
  start.character = h.character;
  start.difficulty = h.difficulty;
  start.route = h.character == 4 ? h.route : h.character;
  start.stageNumber = h.difficulty == 4 ? 12 : start.route;
  if (h.practice) start.stageNumber = h.stage;
  start.practice = h.practice != 0;
  start.livesSetting = h.livesSetting;
  start.bombsSetting = h.bombsSetting;
  start.seed = h.seed;
  start.sandbox = sandbox;
  StartPlay(start);
  s.playback = 1;
  return true;
}

std::vector<uint8_t> GameDriver::RecordedReplay() {
  std::vector<uint8_t> image(kFileBufferSize + 1);
  uint32_t n = EncodeReplayFile(g_gameState, image.data());
  image.resize(n);
  return image;
}

void GameDriver::UpdateWithHooks(GameState& s) {
  if (pattern_ && s.scene == ScenePlaying && (!s.player || s.player->hitCounter == 0))
    pattern_(s, patternFrame_++);
  UpdateScene(s);
  if (updateHook_) updateHook_(s);
}

int GameDriver::RunPlay(int count) {
  GameState& s = g_gameState;
  int ran = 0;
  while (ran < count && started_ && !ended_) {
    ++passes_;
    if (script_) script_(passes_);
    ++g_mainLoop.passCounter;
    if (s.input) s.input->Poll();
    int updates = 1;
    if (s.playback && s.input) updates = PlaybackUpdateCount(*s.input, g_mainLoop.passCounter);
    g_mainLoop.updatesLastPass = updates;
    for (int i = 0; i < updates; ++i) UpdateWithHooks(s);
    g_mainLoop.drewLastPass = PassDraws(s.frameSkip, g_mainLoop.passCounter) ? 1 : 0;
    if (g_mainLoop.drewLastPass) DrawScene(s);
    ApiPresentBackScreen();
    if (s.quit || ApiProcessMessage() == -1) ended_ = true;
    for (int code : tapped_) Key(code, false);
    tapped_.clear();
    ++ran;
  }
  return ran;
}

bool GameDriver::SaveFrameBmp(const std::string& path) {
  HeadlessFrame f = HeadlessLastFrame();
  if (f.width <= 0 || f.height <= 0 || (f.bits != 32 && f.bits != 16)) return false;
  const int bpp = f.bits / 8;
  const int rowBytes = (f.width * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(rowBytes) * static_cast<uint32_t>(f.height);
  std::vector<uint8_t> out(54 + dataSize, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(f.width));
  put32(22, static_cast<uint32_t>(f.height));
  out[26] = 1;
  out[28] = 24;
  put32(34, dataSize);
  for (int y = 0; y < f.height; ++y) {
    const uint8_t* src = f.pixels.data() + static_cast<size_t>(y) * f.width * bpp;
    uint8_t* dst = out.data() + 54 + static_cast<size_t>(f.height - 1 - y) * rowBytes;
    for (int x = 0; x < f.width; ++x) {
      if (bpp == 4) {
        dst[3 * x] = src[4 * x];
        dst[3 * x + 1] = src[4 * x + 1];
        dst[3 * x + 2] = src[4 * x + 2];
      } else {
        uint16_t v = static_cast<uint16_t>(src[2 * x] | (src[2 * x + 1] << 8));
        dst[3 * x] = static_cast<uint8_t>((v & 31) * 255 / 31);
        dst[3 * x + 1] = static_cast<uint8_t>(((v >> 5) & 63) * 255 / 63);
        dst[3 * x + 2] = static_cast<uint8_t>((v >> 11) * 255 / 31);
      }
    }
  }
  WriteFile(path, out);
  return true;
}
