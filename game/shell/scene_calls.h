// The scene changes that the play field starts and the scenes above it
// finish. The play field sets the scene number and the running play's state
// itself; the scene being entered sets itself up through the table of calls
// that the start-up fills in (a play field built without its scenes leaves
// it null, and only the numbers change).
#pragma once
#include <cstdint>

struct GameState;

struct SceneCalls {
  void (*menuEntered)(GameState&);               // the menu's cursor reset for the new scene
  void (*titleEntered)(GameState&);              // the title's cursor, timer and music
  void (*replayListShown)(GameState&);           // the replay list, the watched slot highlighted
  void (*tallyStarted)(GameState&);              // the stage-result tally from its first frame
  void (*endingPrepared)(GameState&);            // the ending's pictures loaded
  void (*endingStarted)(GameState&, int32_t ending);  // ending 53-60 from its first line
  void (*endingReleased)(GameState&);            // the ending's pictures freed unused
};

// Each sets the scene number (where it has one) and asks the scene above.
void EnterMenuScene(GameState& state, uint32_t scene);
void EnterTitle(GameState& state);
void StartTally(GameState& state);
void PrepareEnding(GameState& state);
void StartEnding(GameState& state, int32_t ending);
void ReleaseEnding(GameState& state);
// A replay's end, wherever the play stops: playback off, the music stopped,
// back to the replay list with the watched slot highlighted.
void EndReplay(GameState& state);
