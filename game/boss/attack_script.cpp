// Attack script frame: dispatch on boss id and attack index.
#include "boss/script_context.h"

void RunAttackScript(BossScriptContext&) {}
