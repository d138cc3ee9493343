// Headless test driver of the game: runs the real start-up, main-loop passes
// and end on the headless platform back end in a scratch folder, with a script
// of keys and pads per pass and queued answers to the question boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/platform/platform.h"
#include "shell/gamestate.h"
#include "shell/winmain.h"

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
  static std::vector<uint8_t> ReadFile(const std::string& path);
  static bool Exists(const std::string& path);

 private:
  std::string folder_;
  std::string previous_;
  std::function<void(int)> script_;
  int passes_ = 0;
  bool started_ = false;
  bool ended_ = false;
  std::vector<int> tapped_;
};
