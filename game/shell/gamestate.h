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
struct SceneCalls;

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
  uint32_t inputCount;         // frames recorded; playback stops before the last one
  uint32_t score;              // the score when the replay was saved
  uint32_t reserved14;         // file byte 14, carried unread into the next replay written
  uint32_t reservedWords[12];  // the twelve words after the score, carried likewise
  uint32_t difficulty;         // 0-4 (Easy, Normal, Hard, Lunatic, Extra)
  uint32_t character;          // 0-4
  uint32_t route;              // 0-3: route A-D of stages 1 and 4
  uint32_t livesSetting;       // spare lives at the start, 0-3
  uint32_t bombsSetting;       // bombs at the start, 0-3
  uint32_t seed;               // the play's generator seed, 0-255 (playSeed)
  uint8_t practice;            // 1 for a practice play
  uint32_t stage;              // a practice play's stage number 0-11; 0 for a whole game
};

// What the replay menus show of one slot. `valid` is 1 only when the slot's
// file was read and decoded; a slot without it shows as empty, or as damaged
// when its file is there.
struct ReplaySlotInfo {
  uint32_t name[8];            // name glyphs, as hiName
  uint32_t inputCount;         // frames recorded
  uint32_t score;              // the score when the replay was saved
  uint32_t unused;             // always 0
  uint32_t reservedWords[12];  // as in the replay's header; not shown
  uint32_t difficulty;         // 0-4
  uint32_t character;          // 0-4
  uint8_t practice;            // 1 for a practice replay
  uint32_t stage;              // a practice replay's stage number 0-11
  uint8_t valid;               // 1 once the slot's file was read and decoded
};

struct GameState {
  // The 17 game objects, owned, in the order start-up creates them (null where
  // one could not be made) and the end of the run deletes them.
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

  // The play's seed and the high score on show.
  uint32_t playSeed;      // 0-255: drawn at start-up or taken from a replay; reseeds every stage start
  uint32_t hiScoreShown;  // the status display's high score: the difficulty's best, set at a play start

  // High scores, index difficulty * 5 + place (place 0 the best); the score file keeps them.
  uint32_t hiScore[25];
  uint8_t hiName[25][8];     // name glyphs: 0-9 digits, 26-51 a-z, 52-77 A-Z, 101 blank
  uint32_t hiCharacter[25];  // 0-4
  uint32_t hiYear[25];       // date of the entry (0-2047 in the score file)
  uint32_t hiMonth[25];      // 1-12
  uint32_t hiDay[25];        // 1-31

  // Settings, kept in the settings file; the options and key-configuration menus change them.
  uint8_t color32;         // 1: 32-bit colour, 0: 16-bit
  uint32_t frameSkip;      // 0-2: one pass in frameSkip + 1 is drawn
  uint32_t padButton[4];   // pad button bits 4-31 for shot, bomb, slow and skip (4-7 until assigned)
  uint32_t padMask[8];     // pad masks of buttons 0-7: 4 directions, then padButton's (ApplyKeyConfig)
  uint32_t livesSetting;   // spare lives at a play start, 0-2
  uint32_t bombsSetting;   // bombs at a play start, 0-3
  uint32_t screenMode;     // 0 window, 1 full screen, any other value asks at start-up
  uint32_t bgmVolume;      // music volume 0-100; at 0 no music is loaded
  uint32_t seVolume;       // effect volume 0-100

  // The running play.
  uint32_t score;          // points this play; 0 at a play start
  int32_t lives;           // spare lives, at most 9; below 0 at game over
  int32_t bombs;           // bombs in hand, at most 9
  int32_t power;           // shot power 0-128; reaching 128 turns the field's bullets into items
  int32_t graze;           // grazes this play; a cancel item scores it, up to 5000
  int32_t pointItems;      // point items this play; extra lives come at its thresholds
  int32_t extends;         // extra lives awarded by point items so far
  int32_t gauge;           // 0-1000; at 1000 gauge mode starts and drains it by 2 a frame
  uint8_t gaugeActive;     // 1 from the gauge filling to 1000 until it has run down to 0

  // Stage tally: during a stage the middle three count grazes, point items
  // and gauge items; the stage result turns each into its bonus in points.
  int32_t stageClearBonus;  // the stage's clear bonus, set when the stage is tallied
  int32_t stageGraze;
  int32_t stagePointItems;
  int32_t stageKind7Items;  // gauge items (ItemGauge)
  int32_t stageBonus;       // the sum of the four bonuses, added to the score

  // The play's choices.
  uint32_t difficulty;  // 0 Easy, 1 Normal, 2 Hard, 3 Lunatic, 4 Extra
  uint32_t character;   // 0-4
  uint32_t route;       // 0-3: route A-D of stages 1 and 4
  uint32_t continues;   // continues used this play; a clear with none sets clearFlags

  // Spell-card history by spell id, counted outside replays; the score file keeps it.
  uint32_t spellAttempts[256];  // times the spell card began
  uint32_t spellCaptures[256];  // times it was captured

  // Clears.
  uint8_t clearFlags[5][5];  // [character][difficulty]: 1 once cleared without a continue
  uint32_t clearValue[5];    // a 3-bit value per character the score file carries; nothing else reads it

  // The stage, and the one image buffer of every save file read or written.
  // 0-3 stage 1 (routes A-D), 4-5 stages 2-3, 6-9 stage 4 (A-D), 10 stage 5, 11 final, 12 extra; 65535 done
  uint32_t stageNumber;
  uint8_t fileBuffer[kFileBufferSize];

  // What kind of play runs.
  uint8_t practice;  // 1 while a practice play runs
  uint8_t playback;  // 1 while a replay plays back; cleared when its inputs run out or its play ends
  uint8_t freeze;    // 1 while bullets only drift; a boss attack sets it, the attack's end clears it

  // Replays.
  uint32_t replayName[8];  // name glyphs of the replay being saved (101 blank); also set by a replay read
  uint8_t playbackInputs[kPlaybackBufferSize];  // one FrameInput per frame of the replay played
  ReplayHeader replayHeader;
  uint8_t recordInputs[kRecordBufferSize];  // one FrameInput per player update of this play

  // The replay list, and the frame the recording or playback is at.
  ReplaySlotInfo replaySlots[kReplaySlotCount];  // filled by ScanReplaySlots
  uint32_t inputIndex;  // frames recorded or played back this play: 0 at its start, +1 per player update

  // Fonts, frame counting, music overrides and the scene.
  int32_t fonts[3];    // font handles: gothic 14, gothic 18, mincho 24
  int32_t frameCount;  // +1 per scene update, not in a live pause or tally wait; 0 at each stage start
  int32_t whiteFade;   // 0-255: frames of white fade-out left (255 starts one), -1 per drawn frame
  uint32_t fps;        // main-loop passes in the last full second, shown on the status display
  char bgmPath[kBgmEntryCount][kBgmPathSize];  // "replace\bgm.ini" music overrides; entry i is section i + 1
  int32_t bgmLoop[kBgmEntryCount];             // each override's loop point, milliseconds
  uint32_t scene;      // the running Scene, 0-18

  // Shared sheets and loading-screen pieces (graph handles), kept to the end of the run.
  int32_t spellSheet;        // spell-card name strips, 256 x 16 each
  int32_t otherSheet;        // bursts, the spell-card circle and the barrier
  int32_t zakoSheet;         // enemies and familiars
  int32_t cutinSheet;        // boss cut-ins and portraits, 200 x 300 each; "replace\cutin" may override it
  int32_t cutinPlayerSheet;  // the characters' portraits, 200 x 300 each; "replace\cutin_player" may too
  int32_t playerSheet;       // the characters, their shots and options
  int32_t loadingLabel;      // 256 x 192 label, drawn at each stage start
  int32_t loadingLabel2;     // 256 x 64 label drawn half transparent with it

  // Set by the title's last entry: the main loop ends after that frame.
  uint8_t quit;

  // The scenes' side of the scene changes the play field starts (see
  // scene_calls.h); filled in with the objects, null for a field alone.
  const SceneCalls* sceneCalls;

  // The settings and score files when they were there at start-up but could
  // not be read: never written in this session, so what they hold is kept.
  uint8_t keepConfigFile;
  uint8_t keepScoreFile;
};

// The one record of the running program.
extern GameState g_gameState;

// Frame-by-frame helpers shared by several scenes.
inline bool IsStageNumberPlayable(uint32_t stageNumber) { return stageNumber <= 12; }
