// replaycheck: plays replay files headless, as fast as the machine allows,
// and checks that each one ends with the score it recorded.
//
//   replaycheck [--hashes] [--draw] FILE...
//
// Run it in a folder that holds the game's data. Each file is played as in a
// fresh game from its header and inputs to the end of its inputs or of the
// play, in a private copy of the folder (the game's data linked, the settings
// and score files copied), so nothing the play writes reaches the user's
// files. One line is printed per file:
//   FILE: frames=N inputs=N score=S recorded=S digest=<16 hex> ok|MISMATCH <ms> ms
// --hashes adds "frame N <digest>" for every frame, --draw also draws every
// frame as the game would. Exit 0 when every score matches, 1 when one
// differs, 2 when a file cannot be read or is refused (reason on stderr).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "library/platform/platform.h"
#include "library/sound/sound_internal.h"
#include "library/tesra.h"
#include "playfield/digest.h"
#include "playfield/player.h"
#include "scenes/menu.h"
#include "scenes/scene.h"
#include "scenes/stageresult.h"
#include "scenes/winmain.h"
#include "shell/gamestate.h"
#include "shell/input.h"
#include "shell/savefile.h"

namespace {

struct Options {
  bool hashes = false;
  bool draw = false;
  std::vector<std::string> files;
};

// An update that no longer consumes input (a stage that cannot go on) ends
// the play after this many frames.
constexpr uint32_t kStallFrames = 60 * 60 * 10;

// The whole file, refusing (with the reason) one that is not a regular file
// (opened without blocking, so a FIFO cannot hang the check), is empty or is
// larger than a replay can be.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string& why) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    why = "cannot open: not a regular file";
    return false;
  }
  out.clear();
  uint8_t buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
    if (n < 0) continue;
    out.insert(out.end(), buf, buf + n);
    if (out.size() > kFileBufferSize) {
      close(fd);
      why = "larger than a replay can be";
      return false;
    }
  }
  const int readError = n < 0 ? errno : 0;
  close(fd);
  if (readError) {
    why = std::string("read error: ") + std::strerror(readError);
    return false;
  }
  if (out.empty()) {
    why = "empty file, not a replay (refused)";
    return false;
  }
  return true;
}

// The replay in replayHeader starts playing from its first frame, as the
// replay menu starts it; the menu update that starts it counts its own frame.
void StartPlayback(GameState& s) {
  StartReplayPlay(s);
  ++s.frameCount;
}

// The play's last recorded input, taken live as it was recorded: playback
// stops one input short of the end, and the frame it leaves out can be the
// one that ends the run with its bonus. A tally that follows adds its own
// bonus before the player could have saved the replay.
void PlayLastInputLive(GameState& s, uint32_t inputs) {
  static const struct { uint8_t bit; int button; } kButtons[8] = {
      {FrameUp, ButtonUp},     {FrameRight, ButtonRight}, {FrameDown, ButtonDown},
      {FrameLeft, ButtonLeft}, {FrameShot, ButtonShot},   {FrameBomb, ButtonBomb},
      {FrameSlow, ButtonSlow}, {FrameSkip, ButtonSkip}};
  const uint8_t now = s.playbackInputs[inputs - 1];
  const uint8_t before = inputs >= 2 ? s.playbackInputs[inputs - 2] : 0;
  if (s.input) {
    Input& in = *s.input;
    for (int p = 0; p < 4; ++p)
      for (int b = 0; b < 16; ++b) in.pressed[p][b] = in.previous[p][b] = 0, in.hold[p][b] = 0;
    for (const auto& k : kButtons) {
      in.pressed[0][k.button] = (now & k.bit) ? 1 : 0;
      in.previous[0][k.button] = (before & k.bit) ? 1 : 0;
      in.hold[0][k.button] = (now & k.bit) ? ((before & k.bit) ? 2 : 1) : 0;
    }
  }
  s.playback = 0;
  UpdateScene(s);
  while (s.scene == SceneStageResult && s.stageResult &&
         s.stageResult->frame < kStageResultWaitFrame)
    UpdateScene(s);
}

// A private folder to play in: the game's data linked from here, the
// settings and score files copied. Empty when it cannot be made.
std::filesystem::path MakePlayFolder() {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/replaycheck.XXXXXX";
  if (!mkdtemp(pattern)) return {};
  const fs::path folder = pattern, here = fs::current_path();
  std::error_code e;
  for (const char* name : {"vko01", "vko01.dat", "vkobgm", "vkobgm.dat", "replace"})
    if (fs::exists(here / name, e)) fs::create_symlink(here / name, folder / name, e);
  for (const char* name : {"vko01.cfg", "score.dat"})
    if (fs::is_regular_file(here / name, e)) fs::copy_file(here / name, folder / name, e);
  return folder;
}

bool InPlay(const GameState& s) {
  return s.playback && (s.scene == ScenePlaying || s.scene == SceneStageResult);
}

// 0 ok, 1 mismatch, 2 refused.
int CheckFile(const std::string& path, const Options& o) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadWholeFile(path, bytes, why)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
    return 2;
  }

  // Refused files are told before a game is started for them.
  static GameState probe;
  static uint8_t probeBytes[kFileBufferSize];
  std::memset(&probe, 0, sizeof probe);
  std::memcpy(probeBytes, bytes.data(), bytes.size());
  if (!DecodeReplayFile(probe, probeBytes, static_cast<uint32_t>(bytes.size()))) {
    std::fprintf(stderr, "%s: not a replay this game can play (refused)\n", path.c_str());
    return 2;
  }

  namespace fs = std::filesystem;
  const fs::path home = fs::current_path();
  const fs::path folder = MakePlayFolder();
  std::error_code e;
  if (folder.empty() || (fs::current_path(folder, e), e)) {
    std::fprintf(stderr, "%s: no private folder to play in\n", path.c_str());
    return 2;
  }
  struct Leave {
    fs::path home, folder;
    ~Leave() {
      std::error_code e;
      fs::current_path(home, e);
      fs::remove_all(folder, e);
    }
  } leave{home, folder};

  GameState& s = g_gameState;
  std::memset(&s, 0, sizeof s);
  HeadlessReset();
  if (GameStartUp(s) != StartUpResult::Ready) {
    std::fprintf(stderr, "%s: the game did not start (is the game's data here?)\n", path.c_str());
    return 2;
  }
  std::memcpy(s.fileBuffer, bytes.data(), bytes.size());
  if (!DecodeReplayFile(s, s.fileBuffer, static_cast<uint32_t>(bytes.size()))) {
    std::fprintf(stderr, "%s: not a replay this game can play (refused)\n", path.c_str());
    GameShutDown(s);
    return 2;
  }
  const uint32_t inputs = s.replayHeader.inputCount;
  const uint32_t recorded = s.replayHeader.score;

  const auto start = std::chrono::steady_clock::now();
  StartPlayback(s);
  uint64_t frames = 0;
  uint32_t lastIndex = s.inputIndex, stall = 0;
  // Every recorded input is played: the last one live, as it was recorded.
  s.replayHeader.inputCount = inputs + 1;
  while (InPlay(s) && stall < kStallFrames) {
    if (s.scene == ScenePlaying && inputs > 0 && s.inputIndex + 1 == inputs) {
      PlayLastInputLive(s, inputs);
      ++frames;
      break;
    }
    UpdateScene(s);
    ++frames;
    if (o.hashes)
      std::printf("frame %" PRIu64 " %016" PRIx64 "\n", frames, ComputeFrameDigest(s).Combined());
    if (o.draw) DrawScene(s);
    stall = s.inputIndex == lastIndex ? stall + 1 : 0;
    lastIndex = s.inputIndex;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  const uint64_t digest = ComputeFrameDigest(s).Combined();
  const uint32_t score = s.score;
  const bool ok = score == recorded;
  std::printf("%s: frames=%" PRIu64 " inputs=%u score=%u recorded=%u digest=%016" PRIx64
              " %s %lld ms\n",
              path.c_str(), frames, inputs, score, recorded, digest, ok ? "ok" : "MISMATCH",
              static_cast<long long>(ms));
  std::fflush(stdout);
  GameShutDown(s);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--hashes")
      o.hashes = true;
    else if (a == "--draw")
      o.draw = true;
    else if (a.size() > 1 && a[0] == '-' && a != "--") {
      std::fprintf(stderr, "replaycheck: unknown option %s\n", a.c_str());
      return 2;
    } else
      o.files.push_back(a);
  }
  if (o.files.empty()) {
    std::fprintf(stderr, "usage: replaycheck [--hashes] [--draw] FILE...\n");
    return 2;
  }
  PlatformUseBackend(PlatformBackend::Headless);
  SetSoundBackend(AudioBackend::Null);
  int worst = 0;
  for (const std::string& f : o.files) {
    const int r = CheckFile(f, o);
    if (r > worst) worst = r;
  }
  return worst;
}
