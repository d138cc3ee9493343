// Extra stage boss, first half of its attacks.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript21(BossScriptContext&) {}
