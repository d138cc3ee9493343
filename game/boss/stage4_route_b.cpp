// Stage 4 route B boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript13(BossScriptContext&) {}
