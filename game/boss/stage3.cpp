// Stage 3: the freezing mid-boss and the stage boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript10(BossScriptContext&) {}
void BossScript11(BossScriptContext&) {}
