// The game's entry: start-up, the fixed-step main loop and the end, split in
// steps so that a test driver can run them pass by pass.
#pragma once
#include <cstdint>

struct GameState;

enum class StartUpResult {
  Ready,          // the main loop may run
  Declined,       // the user declined to regenerate a bad file: end with 0
  LibraryFailed,  // the library did not start: end with -1
};

// Main-loop bookkeeping that lives across passes.
struct MainLoopState {
  uint32_t passCounter;
  uint32_t lastFpsTime;
  uint32_t framesCounted;
  uint8_t snapshotKeyWasDown;
  int32_t updatesLastPass;  // UpdateScene runs of the last pass
  uint8_t drewLastPass;
};
extern MainLoopState g_mainLoop;

StartUpResult GameStartUp(GameState& state);
// One pass of the main loop; false when the loop ends (quit, window gone).
bool GameRunPass(GameState& state);
// Deletes the 17 objects and ends the library.
void GameShutDown(GameState& state);

int WinMain(void* instance, void* previousInstance, char* commandLine, int showMode);

// Writes the next "snapshot\vko%03d.bmp"; false when it could not.
bool SaveSnapshot();
