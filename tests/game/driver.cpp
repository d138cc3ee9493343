// Headless test driver.
#include "driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "library/sound/sound_internal.h"

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
  if (!started_) return;
  GameShutDown(g_gameState);
  started_ = false;
}

void GameDriver::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> GameDriver::ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool GameDriver::Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}
