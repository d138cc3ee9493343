// Final stage: the timed opening card, the stage boss and the closing card.
#include "boss/boss_scripts.h"
#include "boss/script_context.h"

void BossScript18(BossScriptContext&) {}
void BossScript19(BossScriptContext&) {}
void BossScript20(BossScriptContext&) {}
