// The per-boss attack scripts, one function per boss id (0-22), each
// dispatching on the boss's attack index, and the few steps an attack takes
// before its start. RunAttackScript picks the function.
#pragma once

class BossScriptContext;

void BossScript00(BossScriptContext& ctx);
void BossScript01(BossScriptContext& ctx);
void BossScript02(BossScriptContext& ctx);
void BossScript03(BossScriptContext& ctx);
void BossScript04(BossScriptContext& ctx);
void BossScript05(BossScriptContext& ctx);
void BossScript06(BossScriptContext& ctx);
void BossScript07(BossScriptContext& ctx);
void BossScript08(BossScriptContext& ctx);
void BossScript09(BossScriptContext& ctx);
void BossScript10(BossScriptContext& ctx);
void BossScript11(BossScriptContext& ctx);
void BossScript12(BossScriptContext& ctx);
void BossScript13(BossScriptContext& ctx);
void BossScript14(BossScriptContext& ctx);
void BossScript15(BossScriptContext& ctx);
void BossScript16(BossScriptContext& ctx);
void BossScript17(BossScriptContext& ctx);
void BossScript18(BossScriptContext& ctx);
void BossScript19(BossScriptContext& ctx);
void BossScript20(BossScriptContext& ctx);
void BossScript21(BossScriptContext& ctx);
void BossScript22(BossScriptContext& ctx);

using BossScriptFn = void (*)(BossScriptContext&);
// Indexed by boss id.
inline constexpr BossScriptFn kBossScripts[23] = {
    BossScript00, BossScript01, BossScript02, BossScript03, BossScript04, BossScript05, BossScript06, BossScript07, BossScript08, BossScript09, BossScript10, BossScript11, BossScript12, BossScript13, BossScript14, BossScript15, BossScript16, BossScript17, BossScript18, BossScript19, BossScript20, BossScript21, BossScript22,
};

// Steps taken at the start frame before the attack's start (its row of the
// attack table): the extra fight turns the play to Extra, the final stage's
// closing card starts its music.
void TurnPlayToExtra(BossScriptContext& ctx);    // boss 21, attack 0
void StartClosingMusic(BossScriptContext& ctx);  // boss 20, attack 0

struct BeforeStartStep {
  int bossId, attack;
  BossScriptFn step;
};
inline constexpr BeforeStartStep kBeforeStartSteps[] = {
    {20, 0, StartClosingMusic},
    {21, 0, TurnPlayToExtra},
};
