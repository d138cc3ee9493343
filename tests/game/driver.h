// Headless test driver of the game: runs the real start-up, main-loop passes
// and end on the headless platform back end in a scratch folder, with a script
// of keys and pads per pass and queued answers to the question boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/platform/platform.h"
#include "playfield/digest.h"
#include "scenes/winmain.h"
#include "shell/gamestate.h"

class GameDriver {
 public:
  // Enters a fresh empty scratch folder, selects the headless back end and the
  // null sound device, resets the headless controls (virtual clock at 60
  // frames a second, no pads, Yes answers) and zeroes the game record.
  GameDriver();
  ~GameDriver();  // ends the game if it still runs, leaves and removes the folder

  // Links the stand-in pictures and sounds ("vko01", "vkobgm") into the folder.
  // False when the data generator is not built.
  bool UseStandInData();
  // Links only the packed archives "vko01.dat" and "vkobgm.dat" of the same
  // data into the folder, as a shipped game holds them. False when the data
  // generator or the packer is not built.
  bool UseStandInArchives();

  StartUpResult Start();
  // Runs up to count passes; the script runs before each pass with its number
  // (1 = the first pass after start-up). Returns the passes run; fewer when
  // the loop ended.
  int Run(int count);
  void Finish();

  void SetScript(std::function<void(int pass)> script) { script_ = std::move(script); }
  // Holds a key (DirectInput scan code) down or lets it go.
  static void Key(int scanCode, bool down) { HeadlessSetKey(scanCode, down ? 1 : 0); }
  // Presses a key for exactly one pass: call before a pass, release after.
  void Tap(int scanCode);

  GameState& State() { return g_gameState; }
  const std::string& Folder() const { return folder_; }
  int PassesRun() const { return passes_; }
  bool LoopEnded() const { return ended_; }
  bool Started() const { return started_; }

  // File helpers relative to the scratch folder.
  static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
  // A settings file that starts in a window at 32 bits without a question:
  // lives 2, bombs 3, both volumes 100, the joypad buttons given.
  static void WriteWindowedSettings(uint32_t firstPadButton = 0);
  static std::vector<uint8_t> ReadFile(const std::string& path);
  static bool Exists(const std::string& path);

  // ---- Play field ------------------------------------------------------------
  // How a play starts, as the menus start one.
  struct PlayStart {
    uint32_t character = 0;
    uint32_t difficulty = 1;
    uint32_t stageNumber = 0;
    uint32_t route = 0;
    uint32_t seed = 0;  // the play seed 0-255
    uint32_t livesSetting = 2;
    uint32_t bombsSetting = 3;
    bool practice = false;
    // The stage's own timeline is taken out of play; the pattern source (if
    // any) is the only thing that spawns.
    bool sandbox = true;
  };
  // Enters scene 11: Player::Reset, the lives and bombs, the seed and
  // ResetStage, counting the starting frame as a menu update does.
  void StartPlay(const PlayStart& start);
  // Starts the playback of a replay file image as the replay menu does; false
  // (nothing started) when the image is refused.
  bool StartReplay(std::vector<uint8_t> image, bool sandbox = true);
  // The replay file image of the play recorded so far (empty when too long).
  std::vector<uint8_t> RecordedReplay();
  // The sandbox timeline: runs at the start of each play update in which the
  // stage would run, with its own frame number from 0.
  void SetPattern(std::function<void(GameState&, int frame)> pattern) { pattern_ = std::move(pattern); }
  // Runs after every scene update (for digests).
  void SetUpdateHook(std::function<void(GameState&)> hook) { updateHook_ = std::move(hook); }
  // Runs up to count main-loop passes like Run, with the pattern and the
  // update hook inside each pass's updates. Returns the passes run.
  int RunPlay(int count);
  // Writes the last presented frame as a 24-bit BMP; false when none.
  static bool SaveFrameBmp(const std::string& path);
  // The folder the test program started in (where the build keeps datagen).
  static std::string StartFolderPath();

 private:
  std::function<void(GameState&, int)> pattern_;
  std::function<void(GameState&)> updateHook_;
  int patternFrame_ = 0;
  Stage* heldStage_ = nullptr;  // the stage object while a sandbox play runs
  void UpdateWithHooks(GameState& s);
  std::string folder_;
  std::string previous_;
  std::function<void(int)> script_;
  int passes_ = 0;
  bool started_ = false;
  bool ended_ = false;
  std::vector<int> tapped_;
};
