// Stage 4 route C boss.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript14(BossScriptContext&) {}
