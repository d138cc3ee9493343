// The ten bomb kinds: one frame of the running bomb's effect.
#include "playfield/player.h"

#include "shell/gamestate.h"

void Player::RunBombEffect(GameState&) {}
