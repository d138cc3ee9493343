// Title: scene 0, a picture that builds up in four timed steps and then the
// eight-entry menu leading to every other part of the game.
#pragma once
#include <cstdint>

struct GameState;

enum TitleEntry : int32_t {
  TitleStart = 0, TitleExtraStart = 1, TitlePracticeStart = 2, TitleReplay = 3,
  TitleRecords = 4, TitleMusicRoom = 5, TitleOptions = 6, TitleQuit = 7,
};

constexpr int32_t kTitleBuildUpFrames = 256;

class Title {
 public:
  explicit Title(GameState& state);  // cuts "vko01\title.tga"
  virtual ~Title();

  void Reset(GameState& state);  // cursor and timer 0, the title music
  void Update(GameState& state);
  void Draw(GameState& state);

  int32_t backdrop;
  int32_t banner;
  int32_t logo;
  int32_t entries[8];
  int32_t cursor;
  int32_t timer;
};

// True when some character has cleared one of the four main difficulties.
bool ExtraStartUnlocked(const GameState& state);
