// Menu: the game object that runs every menu scene except the title.
#pragma once
#include <cstdint>

struct GameState;

class Menu {
 public:
  explicit Menu(GameState& state);
  virtual ~Menu() = default;

  // cursor, subState and namePos 0; the difficulty or character select
  // start on the current choice.
  void ResetCursor(GameState& state);
  void Update(GameState& state);
  void Draw(GameState& state);

  int32_t cursor;
  int32_t subState;
  int32_t saveSlot;
  int32_t namePos;
  int32_t place;
};

// Leaves any scene for the title: scene 0 and the title reset.
void ReturnToTitle(GameState& state);
