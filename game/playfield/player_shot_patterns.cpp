// Shot patterns and gauge-mode options of the five characters.
#include "playfield/player.h"

#include "shell/gamestate.h"

void Player::FireShotPattern(GameState&) {}
void Player::UpdateGaugeMode(GameState&) {}
