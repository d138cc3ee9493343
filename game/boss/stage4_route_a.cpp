// Stage 4 route A boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript12(BossScriptContext&) {}
