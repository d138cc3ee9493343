// Stage 4 route D boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript15(BossScriptContext&) {}
