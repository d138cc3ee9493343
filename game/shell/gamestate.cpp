// The one GameState of the program, zero-initialised static storage.
#include "shell/gamestate.h"

GameState g_gameState;
