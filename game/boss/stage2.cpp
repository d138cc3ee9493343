// Stage 2: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript08(BossScriptContext&) {}
void BossScript09(BossScriptContext&) {}
