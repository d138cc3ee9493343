// Stage 1 route C: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript04(BossScriptContext&) {}
void BossScript05(BossScriptContext&) {}
