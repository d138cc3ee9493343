// Attack script frame: dispatch on boss id and attack index, the attack
// start at phaseFrame 120 with the steps some attacks take before it, and the
// skipped spells of the stage 1 mid-bosses.
#include "boss/attack_table.h"
#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

void RunAttackScript(BossScriptContext& ctx) {
  Boss& boss = ctx.boss();
  const int32_t id = boss.id;
  if (id < 0 || id >= kBossCount) return;
  const int32_t attack = boss.attackIndex;
  if (attack < 0 || attack >= AttackCount(id)) return;

  if (IsSkippedSpell(id, attack, ctx.Difficulty())) {
    // The fight ends here: the stage boss takes over.
    boss.attackIndex = 2;
    if (boss.barsLeft > 0) --boss.barsLeft;
    return;
  }
  if (boss.phaseFrame == kAttackStartFrame) {
    for (const BeforeStartStep& before : kBeforeStartSteps)
      if (before.bossId == id && before.attack == attack) before.step(ctx);
    StartAttackRow(ctx);
  }
  kBossScripts[id](ctx);
}
