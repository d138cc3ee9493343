// Extra stage, the last attack (boss 22): one spell card that ends the moment
// its capture is lost, with rings about the boss and, as time passes or the
// boss weakens, aimed fans and a double spiral of rings.
#include "boss/boss_scripts.h"
#include "boss/idioms.h"
#include "boss/script_context.h"

namespace {

using Ctx = BossScriptContext;

void LastAttack(Ctx& ctx) {
  Boss& b = ctx.boss();
  const int32_t f = b.phaseFrame;
  if (f < kSpellFrame) return;
  // A hit or a bomb since the card began ends it, without a capture.
  if (b.capturable == 0) b.hp = 0;
  const int32_t c = f % 100;
  if (f % 10 == 0) {
    ctx.PlaySound(0);
    for (int32_t k = 0; k < 360; k += 90) {
      const FieldPoint p = OnCircle(b.x, b.y, 48.0, f + k);
      ctx.Ring(p.x, p.y, 1.5f, AimFromBoss(ctx), 16, 12, 0, 20);
    }
  }
  if ((f >= 900 || b.hp < 5000) && c < 60 && f % 5 == 0) {
    ctx.PlaySound(0);
    ctx.Fan(b.x, b.y, c / 12.0 + 1.0, AimFromBoss(ctx), 120.0f, 9, 11, 0, 20);
  }
  if (f >= 1500 || b.hp < 3000) {
    // Joining mid-cycle uses whatever aim is stored (0 before the first).
    if (c == 40) b.SetScratchInt(2000, Trunc(AimFromBoss(ctx)));
    if (c >= 40 && f % 5 == 0) {
      ctx.PlaySound(0);
      const int32_t q = c - 40;
      const int32_t a = b.ScratchInt(2000);
      ctx.Ring(b.x, b.y, q / 12.0 + 1.0, a + q, 6, 13, 0, 20);
      ctx.Ring(b.x, b.y, q / 12.0 + 1.0, a - q, 6, 13, 0, 20);
    }
  }
}

}  // namespace

void BossScript22(BossScriptContext& ctx) {
  if (ctx.boss().attackIndex == 0) LastAttack(ctx);
}
