// Extra stage boss, second half of its attacks, and the last attack.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript22(BossScriptContext&) {}
