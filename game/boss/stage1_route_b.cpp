// Stage 1 route B: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript02(BossScriptContext&) {}
void BossScript03(BossScriptContext&) {}
