// GameState: the one game-wide record. It lives in zero-initialised static
// storage and every per-frame operation of the game receives it.
#pragma once
#include <cstdint>

class Input;
class Sound;
class BGM;
class Title;
class Menu;
class Talk;
class Bullet;
class Item;
class Player;
class Enemy;
class Maho;
class Boss;
class Stage;
class Ending;
class BackgroundFrame;
class Background;
class StageResult;

// Scene numbers of the dispatchers.
enum Scene : uint32_t {
  SceneTitle = 0,
  SceneDifficulty = 1,
  SceneExtraDifficulty = 2,
  SceneCharacter = 3,
  ScenePracticeStage = 4,
  SceneRoute = 5,
  SceneReplaySelect = 6,
  SceneRecords = 7,
  SceneMusicRoom = 8,
  SceneOptions = 9,
  SceneKeyConfig = 10,
  ScenePlaying = 11,
  SceneStageResult = 12,
  SceneEnding = 13,
  SceneNothing = 14,
  SceneContinue = 15,
  SceneNameEntry = 16,
  SceneReplaySave = 17,
  ScenePause = 18,
};

constexpr uint32_t kFileBufferSize = 256000;
constexpr uint32_t kPlaybackBufferSize = 256000;
constexpr uint32_t kRecordBufferSize = 283740;
// A replay image is 80 header bytes, one byte per frame and one trailing byte,
// and must fit the file buffer.
constexpr uint32_t kReplayHeaderSize = 80;
constexpr uint32_t kMaxReplayFrames = kFileBufferSize - kReplayHeaderSize - 1;  // 255,919
constexpr int kReplaySlotCount = 20;
constexpr int kBgmEntryCount = 32;
constexpr int kBgmPathSize = 256;

// Header of the last replay read; the two reserved fields travel from a read
// replay into the next one written.
struct ReplayHeader {
  uint32_t inputCount;
  uint32_t score;
  uint32_t reserved14;
  uint32_t reservedWords[12];
  uint32_t difficulty;
  uint32_t character;
  uint32_t route;
  uint32_t livesSetting;
  uint32_t bombsSetting;
  uint32_t seed;
  uint8_t practice;
  uint32_t stage;
};

// What the replay menus show of one slot. `valid` is 1 only when the slot's
// file was read and decoded; a slot without it shows as empty.
struct ReplaySlotInfo {
  uint32_t name[8];
  uint32_t inputCount;
  uint32_t score;
  uint32_t unused;
  uint32_t reservedWords[12];
  uint32_t difficulty;
  uint32_t character;
  uint8_t practice;
  uint32_t stage;
  uint8_t valid;
};

struct GameState {
  // 1. The 17 game objects, in slot order.
  Input* input;
  Sound* sound;
  BGM* bgm;
  Title* title;
  Menu* menu;
  Talk* talk;
  Bullet* bullet;
  Item* item;
  Player* player;
  Enemy* enemy;
  Maho* maho;
  Boss* boss;
  Stage* stage;
  Ending* ending;
  BackgroundFrame* backgroundFrame;
  Background* background;
  StageResult* stageResult;

  // 2-3.
  uint32_t playSeed;
  uint32_t hiScoreShown;

  // 4. High scores, index difficulty * 5 + place.
  uint32_t hiScore[25];
  uint8_t hiName[25][8];
  uint32_t hiCharacter[25];
  uint32_t hiYear[25];
  uint32_t hiMonth[25];
  uint32_t hiDay[25];

  // 5. Settings.
  uint8_t color32;
  uint32_t frameSkip;
  uint32_t padButton[4];
  uint32_t padMask[8];
  uint32_t livesSetting;
  uint32_t bombsSetting;
  uint32_t screenMode;
  uint32_t bgmVolume;
  uint32_t seVolume;

  // 6. The running play.
  uint32_t score;
  int32_t lives;
  int32_t bombs;
  int32_t power;
  int32_t graze;
  int32_t pointItems;
  int32_t extends;
  int32_t gauge;
  uint8_t gaugeActive;

  // 7. Stage tally.
  int32_t stageClearBonus;
  int32_t stageGraze;
  int32_t stagePointItems;
  int32_t stageKind7Items;
  int32_t stageBonus;

  // 8.
  uint32_t difficulty;
  uint32_t character;
  uint32_t route;
  uint32_t continues;

  // 9. Spell-card history by spell id.
  uint32_t spellAttempts[256];
  uint32_t spellCaptures[256];

  // 10.
  uint8_t clearFlags[5][5];  // [character][difficulty]
  uint32_t clearValue[5];

  // 11-12.
  uint32_t stageNumber;
  uint8_t fileBuffer[kFileBufferSize];

  // 13.
  uint8_t practice;
  uint8_t playback;
  uint8_t freeze;

  // 14-17.
  uint32_t replayName[8];
  uint8_t playbackInputs[kPlaybackBufferSize];
  ReplayHeader replayHeader;
  uint8_t recordInputs[kRecordBufferSize];

  // 18-19.
  ReplaySlotInfo replaySlots[kReplaySlotCount];
  uint32_t inputIndex;

  // 20-25.
  int32_t fonts[3];
  int32_t frameCount;
  int32_t whiteFade;
  uint32_t fps;
  char bgmPath[kBgmEntryCount][kBgmPathSize];
  int32_t bgmLoop[kBgmEntryCount];
  uint32_t scene;

  // 26-27. Shared sheets and loading-screen pieces.
  int32_t spellSheet;
  int32_t otherSheet;
  int32_t zakoSheet;
  int32_t cutinSheet;
  int32_t cutinPlayerSheet;
  int32_t playerSheet;
  int32_t loadingLabel;
  int32_t loadingLabel2;

  // 28.
  uint8_t quit;

  // The settings and score files when they were there at start-up but could
  // not be read: never written in this session, so what they hold is kept.
  uint8_t keepConfigFile;
  uint8_t keepScoreFile;
};

// The one record of the running program.
extern GameState g_gameState;

// Frame-by-frame helpers shared by several scenes.
inline bool IsStageNumberPlayable(uint32_t stageNumber) { return stageNumber <= 12; }
