// Stage 1 route D: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript06(BossScriptContext&) {}
void BossScript07(BossScriptContext&) {}
