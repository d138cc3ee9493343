// Stage 5: the mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript16(BossScriptContext&) {}
void BossScript17(BossScriptContext&) {}
