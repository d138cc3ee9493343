// Stage 1 route A: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript00(BossScriptContext&) {}
void BossScript01(BossScriptContext&) {}
