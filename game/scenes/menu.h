// Menu: the game object that runs and draws every menu scene except the
// title: the selects before a play, replays, records, music room, options,
// key configuration, the continue prompt, the pause, name entry and replay save.
#pragma once
#include <cstdint>

struct GameState;
class Input;
class Sound;

constexpr int kGlyphCells = 104;
constexpr int kGlyphEndCell = 103;   // the grid's last place: finishes a name
constexpr int kGlyphBlank = 101;
constexpr int kGlyphEndMark = 102;
constexpr int kGlyphColumns = 26;

// Words spelled in name glyphs, each glyph kGlyphPitch pixels right of the
// previous: the difficulty words and the characters' words of the Type column.
constexpr int kGlyphPitch = 12;
extern const char* const kDifficultyWords[5];
extern const char* const kCharacterWords[5];
// The Type column of the high-score table and of the replay list, and the
// column after it (the date, the score).
constexpr int kTypeColumnX = 360;
constexpr int kColumnAfterTypeX = 450;

class Menu {
 public:
  explicit Menu(GameState& state);  // cuts the menu pictures and sheets
  virtual ~Menu();

  // cursor, subState and namePos 0; the difficulty or character select
  // start on the current choice.
  void ResetCursor(GameState& state);
  void Update(GameState& state);
  void Draw(GameState& state);
  // Switches to a menu scene with its cursor reset.
  void Enter(GameState& state, uint32_t scene);

  int32_t cursor;    // highlighted entry, or the highlighted cell of a name grid
  int32_t subState;  // step within records, name entry and replay save
  int32_t saveSlot;  // replay slot 0-19 chosen in the replay save
  int32_t namePos;   // next name position 0-7
  int32_t place;     // high-score place 0-4 taken in the name entry
  int32_t watchedSlot;  // the replay slot last started, highlighted when it ends
  // Set by an update that started a play (a restart from the pause counts
  // its frame as every play start does).
  uint8_t startedPlay;

  // Pictures, all owned; -1 where a file was missing.
  int32_t backdrop;
  int32_t labels[6];
  int32_t plates[5];
  int32_t characterPictures[6];  // 0-3, 4, 4 locked
  int32_t glyphs[kGlyphCells];
  int32_t spellNames[256];

 private:
  void UpdateDifficulty(GameState& state);
  void UpdateExtraDifficulty(GameState& state);
  void UpdateCharacter(GameState& state);
  void UpdatePracticeStage(GameState& state);
  void UpdateRoute(GameState& state);
  void UpdateReplaySelect(GameState& state);
  void UpdateRecords(GameState& state);
  void UpdateMusicRoom(GameState& state);
  void UpdateOptions(GameState& state);
  void UpdateKeyConfig(GameState& state);
  void UpdateContinue(GameState& state);
  void UpdatePause(GameState& state);
  void UpdateNameEntry(GameState& state);
  void UpdateReplaySave(GameState& state);
  // One frame of name typing into name[0..7]; true when the end cell is chosen.
  template <typename Cell>
  bool WalkGrid(GameState& state, Cell* name);
  void StartPlay(GameState& state, bool practiceStart);
  void StartReplay(GameState& state);

  void DrawSlotList(GameState& state);
  void DrawScoreTable(GameState& state, uint32_t difficulty);
  void DrawSpellPage(GameState& state);
  void DrawGrid();
  void DrawGlyphWord(int x, int y, const char* word);
  void DrawDigits(int digits, int x, int y, uint32_t value);
};


// The replay in state.replayHeader (just read) plays back from its first
// frame: its character, route, difficulty, stage, lives, bombs and seed.
void StartReplayPlay(GameState& state);

// Leaves any scene for the title: scene 0 and the title reset.
void ReturnToTitle(GameState& state);

// The menu cursor rule: moves on a fresh press of dec (-1) or inc (+1) and
// while held, on hold counts above 20 that are multiples of repeatEvery; each
// move plays the cursor effect (sound may be null). Then the result is
// wrapped into 0..count-1, or clamped when clamp is set.
int32_t MoveMenuCursor(const Input& in, Sound* sound, int32_t cursor, int32_t count,
                       int decButton, int incButton, bool clamp = false, int repeatEvery = 5);

// The name grid's walk: up/down by a row (26 cells) with wrap through the
// four rows, left/right within the row with wrap inside it.
int32_t GridStep(int32_t cell, int dx, int dy);

// Character 4 is open once characters 0-3 have cleared Hard or Lunatic.
bool LastCharacterUnlocked(const GameState& state);

// A new high score for difficulty d: the place 0-4 it takes (the first entry
// not above it), moving the lower places down; -1 when it takes none.
int InsertHighScore(GameState& state, uint32_t difficulty, uint32_t score, uint32_t character,
                    const int32_t date[3]);
