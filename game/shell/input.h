// Input: the keyboard and four joypads as per-button states with edge and hold
// counts, polled once per main-loop pass; the key binding of pad 0 and the
// per-frame FrameInput byte that replays record.
#pragma once
#include <cstdint>

struct GameState;

// Buttons of pad 0 as ApplyKeyConfig binds them.
enum PadButton : int {
  ButtonDown = 0,
  ButtonLeft = 1,
  ButtonRight = 2,
  ButtonUp = 3,
  ButtonShot = 4,
  ButtonBomb = 5,
  ButtonSlow = 6,
  ButtonSkip = 7,
  ButtonEscape = 8,
};

// FrameInput bits.
constexpr uint8_t FrameUp = 0x01;
constexpr uint8_t FrameRight = 0x02;
constexpr uint8_t FrameDown = 0x04;
constexpr uint8_t FrameLeft = 0x08;
constexpr uint8_t FrameShot = 0x10;
constexpr uint8_t FrameBomb = 0x20;
constexpr uint8_t FrameSlow = 0x40;
constexpr uint8_t FrameSkip = 0x80;

class Input {
 public:
  Input();  // every key code and pad mask -1, the states 0
  virtual ~Input() = default;

  void Poll();

  // A fresh press: down now, up at the previous pass.
  bool FreshPress(int button, int pad = 0) const {
    return pressed[pad][button] && !previous[pad][button];
  }
  // The menu rule: a fresh press, or held with the hold count above 20 and a
  // multiple of repeatEvery (5 in the menus, 2 on the spell-card list).
  bool Repeats(int button, int repeatEvery = 5, int pad = 0) const;
  bool Held(int button, int pad = 0) const { return pressed[pad][button] != 0; }

  uint8_t pressed[4][16];
  uint8_t previous[4][16];
  int32_t hold[4][16];
  int32_t keyCode[4][16];
  uint32_t padBits[4][16];
};

// Binds pad 0's buttons 0-8 to the fixed keys and the pad masks of padButton.
void ApplyKeyConfig(GameState& state);

// The FrameInput byte of pad 0's held buttons.
uint8_t BuildFrameInput(const Input& input);

// Stores one recorded input at inputIndex. False (nothing stored) once the
// recording holds as many frames as a replay file can carry.
bool RecordFrameInput(GameState& state, uint8_t frameInput);
