// The attack table and its look-ups.
#include "boss/attack_table.h"

// boss, attack, runs at, spell id (base), + difficulty, hit points, seconds, bonus
const AttackRow kAttackTable[kAttackRowCount] = {
    {0, 0, kRunsMainRun, 0, false, 3000, 30, 0},
    {0, 1, kRunsHardUp, -1, true, 5000, 35, 2000000},
    {1, 0, kRunsMainRun, 0, false, 4000, 40, 0},
    {1, 1, kRunsMainRun, 3, true, 6000, 45, 2400000},
    {1, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {1, 3, kRunsMainRun, 7, true, 6500, 55, 2400000},
    {2, 0, kRunsMainRun, 0, false, 3000, 30, 0},
    {2, 1, kRunsHardUp, 9, true, 5000, 35, 2000000},
    {3, 0, kRunsMainRun, 0, false, 1500, 40, 0},
    {3, 1, kRunsMainRun, 13, true, 6000, 45, 2400000},
    {3, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {3, 3, kRunsMainRun, 17, true, 6500, 55, 2400000},
    {4, 0, kRunsMainRun, 0, false, 3000, 30, 0},
    {4, 1, kRunsHardUp, 19, true, 5000, 35, 2000000},
    {5, 0, kRunsMainRun, 0, false, 4000, 40, 0},
    {5, 1, kRunsMainRun, 23, true, 6000, 45, 2400000},
    {5, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {5, 3, kRunsMainRun, 27, true, 6500, 55, 2400000},
    {6, 0, kRunsMainRun, 0, false, 3000, 30, 0},
    {6, 1, kRunsHardUp, 29, true, 5000, 35, 2000000},
    {7, 0, kRunsMainRun, 0, false, 4000, 40, 0},
    {7, 1, kRunsMainRun, 33, true, 6000, 45, 2400000},
    {7, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {7, 3, kRunsMainRun, 37, true, 6500, 45, 2400000},
    {8, 0, kRunsMainRun, 0, false, 4500, 35, 0},
    {8, 1, kRunsMainRun, 41, true, 6500, 45, 2500000},
    {9, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {9, 1, kRunsMainRun, 45, true, 6500, 50, 2800000},
    {9, 2, kRunsMainRun, 0, false, 4500, 40, 0},
    {9, 3, kRunsMainRun, 49, true, 8000, 50, 2800000},
    {9, 4, kRunsMainRun, 53, true, 9000, 65, 3200000},
    {10, 0, kRunsMainRun, 0, false, 3500, 35, 0},
    {10, 1, kRunsBelowLunatic, 57, true, 6000, 50, 2800000},
    {10, 1, kRunsLunatic, 60, false, 65535, 10, 1500000},
    {11, 0, kRunsMainRun, 0, false, 3500, 40, 0},
    {11, 1, kRunsMainRun, 61, true, 5000, 60, 4000000},
    {11, 2, kRunsMainRun, 0, false, 3500, 40, 0},
    {11, 3, kRunsMainRun, 65, true, 7000, 45, 3500000},
    {11, 4, kRunsMainRun, 0, false, 3500, 40, 0},
    {11, 5, kRunsMainRun, 69, true, 6500, 45, 3500000},
    {11, 6, kRunsMainRun, 73, true, 7000, 50, 4000000},
    {12, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {12, 1, kRunsMainRun, 77, true, 8000, 55, 4600000},
    {12, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {12, 3, kRunsMainRun, 81, true, 7000, 50, 5000000},
    {12, 4, kRunsMainRun, 0, false, 4700, 40, 0},
    {12, 5, kRunsMainRun, 85, true, 4500, 55, 4800000},
    {12, 6, kRunsMainRun, 89, true, 10000, 70, 5500000},
    {13, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {13, 1, kRunsMainRun, 93, true, 8000, 55, 4600000},
    {13, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {13, 3, kRunsMainRun, 97, true, 7000, 50, 5000000},
    {13, 4, kRunsMainRun, 0, false, 4700, 40, 0},
    {13, 5, kRunsMainRun, 101, true, 8500, 55, 4800000},
    {13, 6, kRunsMainRun, 105, true, 10000, 70, 5500000},
    {14, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {14, 1, kRunsMainRun, 109, true, 8000, 55, 4600000},
    {14, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {14, 3, kRunsMainRun, 113, true, 7000, 50, 5000000},
    {14, 4, kRunsMainRun, 0, false, 4700, 40, 0},
    {14, 5, kRunsMainRun, 117, true, 8500, 55, 4800000},
    {14, 6, kRunsMainRun, 121, true, 10000, 70, 5500000},
    {15, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {15, 1, kRunsMainRun, 125, true, 8000, 55, 4600000},
    {15, 2, kRunsMainRun, 0, false, 4000, 40, 0},
    {15, 3, kRunsMainRun, 129, true, 7000, 50, 5000000},
    {15, 4, kRunsMainRun, 0, false, 4700, 40, 0},
    {15, 5, kRunsMainRun, 133, true, 8500, 55, 4800000},
    {15, 6, kRunsMainRun, 137, true, 10000, 70, 5500000},
    {16, 0, kRunsMainRun, 0, false, 4500, 40, 0},
    {16, 1, kRunsMainRun, 141, true, 9000, 55, 6000000},
    {17, 0, kRunsMainRun, 0, false, 5500, 45, 0},
    {17, 1, kRunsMainRun, 145, true, 7500, 50, 6000000},
    {17, 2, kRunsMainRun, 0, false, 5500, 45, 0},
    {17, 3, kRunsMainRun, 149, true, 8500, 55, 6400000},
    {17, 4, kRunsMainRun, 0, false, 5500, 50, 0},
    {17, 5, kRunsMainRun, 153, true, 5000, 65, 6500000},
    {17, 6, kRunsMainRun, 157, true, 12000, 70, 7500000},
    {18, 0, kRunsMainRun, 161, true, 65535, 25, 5000000},
    {19, 0, kRunsMainRun, 0, false, 6500, 55, 0},
    {19, 1, kRunsMainRun, 165, true, 8500, 65, 7500000},
    {19, 2, kRunsMainRun, 0, false, 7000, 60, 0},
    {19, 3, kRunsMainRun, 169, true, 9000, 65, 8000000},
    {19, 4, kRunsMainRun, 0, false, 7500, 60, 0},
    {19, 5, kRunsMainRun, 173, true, 10500, 70, 8500000},
    {19, 6, kRunsMainRun, 0, false, 7500, 60, 0},
    {19, 7, kRunsMainRun, 177, true, 11000, 70, 9000000},
    {19, 8, kRunsMainRun, 181, true, 13000, 99, 10000000},
    {20, 0, kRunsMainRun, 185, true, 65535, 55, 10000000},
    {21, 0, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 1, kRunsExtra, 189, false, 6000, 60, 7500000},
    {21, 2, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 3, kRunsExtra, 190, false, 9000, 60, 8500000},
    {21, 4, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 5, kRunsExtra, 191, false, 7500, 60, 8500000},
    {21, 6, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 7, kRunsExtra, 192, false, 12000, 70, 10000000},
    {21, 8, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 9, kRunsExtra, 193, false, 9000, 70, 10000000},
    {21, 10, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 11, kRunsExtra, 194, false, 6000, 70, 12000000},
    {21, 12, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 13, kRunsExtra, 195, false, 13000, 80, 12000000},
    {21, 14, kRunsExtra, 0, false, 5000, 60, 0},
    {21, 15, kRunsExtra, 196, false, 12000, 75, 14000000},
    {21, 16, kRunsExtra, 197, false, 65535, 80, 15000000},
    {21, 17, kRunsExtra, 198, false, 20000, 99, 20000000},
    {22, 0, kRunsExtra, 199, false, 10000, 99, 30000000},
};

namespace {
struct AttackCounts {
  int32_t count[kBossCount] = {};
  AttackCounts() {
    for (const AttackRow& row : kAttackTable)
      if (row.attack + 1 > count[row.bossId]) count[row.bossId] = row.attack + 1;
  }
};
}  // namespace

int32_t AttackCount(int32_t bossId) {
  static const AttackCounts counts;
  if (bossId < 0 || bossId >= kBossCount) return 0;
  return counts.count[bossId];
}

const AttackRow* FindAttackRow(int32_t bossId, int32_t attack, int32_t d) {
  if (d < 0 || d > 4) return nullptr;
  for (const AttackRow& row : kAttackTable)
    if (row.bossId == bossId && row.attack == attack && (row.runsAt >> d & 1u)) return &row;
  return nullptr;
}
