// The attack table: the Boss::StartSpell arguments of every attack of every
// boss (spell id, hit points, time limit, bonus), by boss id, attack index and
// difficulty, and how many attacks each boss has.
#pragma once
#include <cstdint>

// Difficulty sets a row applies at (bit n = difficulty n).
enum AttackRunsAt : uint8_t {
  kRunsMainRun = 0x0F,    // Easy to Lunatic
  kRunsHardUp = 0x0C,     // Hard, Lunatic
  kRunsBelowLunatic = 0x07,  // Easy, Normal, Hard
  kRunsLunatic = 0x08,
  kRunsExtra = 0x10,
};

// One attack start.
struct AttackRow {
  int8_t bossId;        // 0-22
  int8_t attack;        // attack index of that boss
  uint8_t runsAt;       // AttackRunsAt set of difficulties
  int16_t spellBase;    // spell id, or the base that the difficulty is added to
  bool perDifficulty;   // spell id = spellBase + difficulty (else spellBase as it stands)
  int32_t hp;           // hit points
  int32_t seconds;      // time limit
  int32_t bonus;        // capture bonus; 0 with spell id 0 for a non-spell attack
  // The spell id at difficulty d (0 for a non-spell attack).
  int32_t SpellId(int32_t d) const { return perDifficulty ? spellBase + d : spellBase; }
};

inline constexpr int kBossCount = 23;
inline constexpr int kAttackRowCount = 108;

// Every row, in boss id and attack order.
extern const AttackRow kAttackTable[kAttackRowCount];

// How many attacks boss `bossId` has (attack indices 0 .. count - 1); 0 for
// an id outside 0-22.
int32_t AttackCount(int32_t bossId);

// The row that starts attack `attack` of boss `bossId` at difficulty `d`, or
// nullptr when there is none (an index past the boss's last attack, a
// difficulty the attack does not run at, an id outside 0-22).
const AttackRow* FindAttackRow(int32_t bossId, int32_t attack, int32_t d);
