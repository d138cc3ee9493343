// FakeContext: the recording stand-in of the boss scripts' play field.
#include "boss/fake_context.h"

#include "boss/idioms.h"
#include "library/tesra.h"
#include "shell/gamestate.h"

namespace {
// The Boss constructor only needs a record to look at; it keeps nothing of it.
GameState& ZeroState() {
  static GameState state{};
  return state;
}
}  // namespace

FakeContext::FakeContext(int32_t bossId, int32_t d, uint32_t seed)
    : difficulty(d), boss_(std::make_unique<Boss>(ZeroState())) {
  ApiSeedRandom(seed);
  Boss& b = *boss_;
  b.id = bossId;
  b.active = 1;
  b.x = 208.0f;
  b.y = 128.0f;
  b.attackIndex = 0;
  b.phaseFrame = 0;
  b.barsLeft = 1;
}

FakeContext::~FakeContext() = default;

void FakeContext::BeginAttack(int32_t index) {
  boss_->attackIndex = index;
  boss_->phaseFrame = 0;
}

void FakeContext::RunFrame() {
  RunAttackScript(*this);
  Boss& b = *boss_;
  ++b.phaseFrame;
  if (b.poseFrames > 0) --b.poseFrames;
  b.timeLeft -= 1.0f / 60.0f;
  ++frameCount;
}

void FakeContext::RunFrames(int count) {
  for (int i = 0; i < count; ++i) RunFrame();
}

void FakeContext::RunAt(int32_t phaseFrame) {
  log.clear();
  boss_->phaseFrame = phaseFrame;
  RunAttackScript(*this);
}

std::vector<FakeCall> FakeContext::Calls(std::string_view op) const {
  std::vector<FakeCall> out;
  for (const FakeCall& c : log)
    if (c.op == op) out.push_back(c);
  return out;
}

int FakeContext::Count(std::string_view op) const {
  int n = 0;
  for (const FakeCall& c : log) n += c.op == op;
  return n;
}

std::vector<std::string> FakeContext::Ops() const {
  std::vector<std::string> out;
  for (const FakeCall& c : log) out.push_back(c.op);
  return out;
}

std::vector<int32_t> FakeContext::Draws() const {
  std::vector<int32_t> out;
  for (const FakeCall& c : log)
    if (c.op == "Rnd") out.push_back(static_cast<int32_t>(c.result));
  return out;
}

int64_t FakeContext::BulletsAsked() const {
  int64_t n = 0;
  for (const FakeCall& c : log) {
    if (c.op == "Spawn" || c.op == "SpawnLaser") n += 1;
    if (c.op == "Ring" && c[4] > 0) n += static_cast<int64_t>(c[4]);
    if (c.op == "Fan" && c[5] > 0) n += static_cast<int64_t>(c[5]);
    if (c.op == "LaserChain" && c[8] > 0) n += (int64_t{1} << static_cast<int>(c[8])) - 1;
  }
  return n;
}

void FakeContext::Cancel(int32_t slot) {
  if (FakeBullet* b = Live(slot)) {
    b->active = false;
    b->hittable = false;
  }
}

double FakeContext::Record(const char* op, std::initializer_list<double> args, double result) {
  ++callCount;
  if (recording) log.push_back(FakeCall{op, std::vector<double>(args), result, boss_->phaseFrame});
  return result;
}

FakeBullet* FakeContext::Live(int32_t slot) {
  if (slot < 0 || slot >= static_cast<int32_t>(bullets.size()) || !bullets[slot].active)
    return nullptr;
  return &bullets[slot];
}

int32_t FakeContext::NewBullet(const FakeBullet& b) {
  if (bulletRoom <= 0) return -1;
  --bulletRoom;
  bullets.push_back(b);
  return static_cast<int32_t>(bullets.size() - 1);
}

int32_t FakeContext::Difficulty() { return difficulty; }
int32_t FakeContext::FrameCount() { return frameCount; }
void FakeContext::SetDifficulty(int32_t d) {
  Record("SetDifficulty", {double(d)});
  difficulty = d;
}
void FakeContext::SetFreeze(bool on) {
  Record("SetFreeze", {double(on)});
  freeze = on;
}
float FakeContext::PlayerX() { return playerX; }
float FakeContext::PlayerY() { return playerY; }
void FakeContext::SetPlayerPosition(float x, float y) {
  Record("SetPlayerPosition", {x, y});
  playerX = x;
  playerY = y;
}

int32_t FakeContext::Rnd(int32_t n) {
  int32_t v;
  if (!forcedRnd.empty()) {
    v = forcedRnd.front();
    forcedRnd.pop_front();
  } else {
    v = DrawInRange(n);
  }
  Record("Rnd", {double(n)}, v);
  return v;
}

void FakeContext::PlaySound(int32_t effect) { Record("PlaySound", {double(effect)}); }
void FakeContext::PlayMusic(int32_t slot) { Record("PlayMusic", {double(slot)}); }

void FakeContext::StartSpell(int32_t spellId, int32_t hp, int32_t seconds, int32_t bonus) {
  Record("StartSpell", {double(spellId), double(hp), double(seconds), double(bonus)});
  ++spellStarts;
  Boss& b = *boss_;
  b.hp = b.maxHp = hp;
  b.timeLeft = static_cast<float>(seconds);
  b.bonus = bonus;
  b.spellId = spellId > 0 ? spellId : 0;
  b.spellActive = spellId > 0;
  if (spellId > 0) b.capturable = 1;
  familiarX.clear();
  familiarY.clear();
}

void FakeContext::MoveTo(float x, float y, int32_t frames) {
  Record("MoveTo", {x, y, double(frames)});
}
void FakeContext::MoveBy(float dx, float dy, int32_t frames) {
  Record("MoveBy", {dx, dy, double(frames)});
}
void FakeContext::MoveRandom() {
  Record("MoveRandom", {});
  const int32_t rx = Rnd(60);
  const int32_t ry = Rnd(8);
  (void)rx;
  (void)ry;
}
void FakeContext::MoveTowardPlayer(int32_t stepX, int32_t yRange, int32_t frames) {
  Record("MoveTowardPlayer", {double(stepX), double(yRange), double(frames)});
  Rnd(2 * yRange);
}
void FakeContext::PlaceBoss(float x, float y) {
  Record("PlaceBoss", {x, y});
  boss_->x = x;
  boss_->y = y;
}

int32_t FakeContext::Spawn(int32_t type, float x, float y, float speed, float angle,
                           int32_t delay, int32_t wait) {
  FakeBullet b;
  b.x = x, b.y = y, b.speed = speed, b.angle = angle, b.type = type;
  const int32_t slot = NewBullet(b);
  Record("Spawn", {double(type), x, y, speed, angle, double(delay), double(wait)}, slot);
  return slot;
}

int32_t FakeContext::SpawnLaser(float x, float y, float speed, float angle, int32_t type,
                                int32_t length, int32_t width, int32_t delay, int32_t wait) {
  FakeBullet b;
  b.x = x, b.y = y, b.speed = speed, b.angle = angle, b.type = type, b.laser = true;
  const int32_t slot = NewBullet(b);
  Record("SpawnLaser",
         {x, y, speed, angle, double(type), double(length), double(width), double(delay),
          double(wait)},
         slot);
  return slot;
}

bool FakeContext::QueueChange(int32_t slot, int32_t frame, float x, float y, float speed,
                              float accel, float angle, float angularSpeed, int32_t type) {
  FakeBullet* b = Live(slot);
  if (b) ++b->changes;
  Record("QueueChange",
         {double(slot), double(frame), x, y, speed, accel, angle, angularSpeed, double(type)},
         b != nullptr);
  return b != nullptr;
}

bool FakeContext::QueueLaserChange(int32_t slot, int32_t frame, float x, float y, float speed,
                                   float accel, float angle, float angularSpeed,
                                   int32_t lengthGrowth) {
  FakeBullet* b = Live(slot);
  if (b) ++b->changes;
  Record("QueueLaserChange",
         {double(slot), double(frame), x, y, speed, accel, angle, angularSpeed,
          double(lengthGrowth)},
         b != nullptr);
  return b != nullptr;
}

void FakeContext::Ring(float x, float y, float speed, float baseAngle, int32_t count,
                       int32_t type, int32_t wait, int32_t delay) {
  Record("Ring", {x, y, speed, baseAngle, double(count), double(type), double(wait),
                  double(delay)});
}

void FakeContext::Fan(float x, float y, float speed, float centreAngle, float arc,
                      int32_t count, int32_t type, int32_t wait, int32_t delay) {
  Record("Fan", {x, y, speed, centreAngle, arc, double(count), double(type), double(wait),
                 double(delay)});
}

void FakeContext::LaserChain(float x, float y, float angle, int32_t type, float length,
                             float width, int32_t wait, int32_t removeFrame, int32_t depth) {
  Record("LaserChain", {x, y, angle, double(type), length, width, double(wait),
                        double(removeFrame), double(depth)});
}

float FakeContext::GetX(int32_t slot) {
  FakeBullet* b = Live(slot);
  return static_cast<float>(Record("GetX", {double(slot)}, b ? b->x : 0.0f));
}
float FakeContext::GetY(int32_t slot) {
  FakeBullet* b = Live(slot);
  return static_cast<float>(Record("GetY", {double(slot)}, b ? b->y : 0.0f));
}
int32_t FakeContext::GetType(int32_t slot) {
  FakeBullet* b = Live(slot);
  return static_cast<int32_t>(Record("GetType", {double(slot)}, b ? b->type : 0));
}
float FakeContext::GetFacing(int32_t slot) {
  FakeBullet* b = Live(slot);
  return static_cast<float>(Record("GetFacing", {double(slot)}, b ? b->angle : 0.0f));
}
bool FakeContext::IsHittable(int32_t slot) {
  FakeBullet* b = Live(slot);
  return Record("IsHittable", {double(slot)}, b && b->hittable) != 0;
}
int32_t FakeContext::GetLaserState(int32_t slot) {
  FakeBullet* b = Live(slot);
  return static_cast<int32_t>(Record("GetLaserState", {double(slot)}, b && b->laser ? 1 : 0));
}

bool FakeContext::SetAngle(int32_t slot, float angle) {
  FakeBullet* b = Live(slot);
  if (b) b->angle = angle;
  return Record("SetAngle", {double(slot), angle}, b != nullptr) != 0;
}
bool FakeContext::SetBounce(int32_t slot, int32_t count, bool top, bool right, bool bottom,
                            bool left) {
  return Record("SetBounce",
                {double(slot), double(count), double(top), double(right), double(bottom),
                 double(left)},
                Live(slot) != nullptr) != 0;
}
bool FakeContext::SetEraseProof(int32_t slot) {
  return Record("SetEraseProof", {double(slot)}, Live(slot) != nullptr) != 0;
}
bool FakeContext::SetFacing(int32_t slot, bool on, float angle) {
  return Record("SetFacing", {double(slot), double(on), angle}, Live(slot) != nullptr) != 0;
}
bool FakeContext::SetSpin(int32_t slot, float degreesPerFrame, int32_t frames) {
  return Record("SetSpin", {double(slot), degreesPerFrame, double(frames)},
                Live(slot) != nullptr) != 0;
}
bool FakeContext::SetAltMotion(int32_t slot, float speed, float angle) {
  return Record("SetAltMotion", {double(slot), speed, angle}, Live(slot) != nullptr) != 0;
}
bool FakeContext::SetHarmless(int32_t slot) {
  return Record("SetHarmless", {double(slot)}, Live(slot) != nullptr) != 0;
}
bool FakeContext::SetColor(int32_t slot, uint32_t rgb) {
  return Record("SetColor", {double(slot), double(rgb)}, Live(slot) != nullptr) != 0;
}

int32_t FakeContext::SpawnFamiliar(int32_t kind, int32_t x, int32_t y, int32_t owner,
                                   float damageFactor, int32_t sprite, int32_t subKind) {
  int32_t slot = -1;
  if (familiarRoom > 0 && familiarX.size() < 256) {
    --familiarRoom;
    slot = static_cast<int32_t>(familiarX.size());
    familiarX.push_back(static_cast<float>(x));
    familiarY.push_back(static_cast<float>(y));
  }
  Record("SpawnFamiliar",
         {double(kind), double(x), double(y), double(owner), damageFactor, double(sprite),
          double(subKind)},
         slot);
  return slot;
}
bool FakeContext::FamiliarActive(int32_t slot) {
  return Record("FamiliarActive", {double(slot)},
                slot >= 0 && slot < static_cast<int32_t>(familiarX.size())) != 0;
}
float FakeContext::FamiliarX(int32_t slot) {
  const bool ok = slot >= 0 && slot < static_cast<int32_t>(familiarX.size());
  return static_cast<float>(Record("FamiliarX", {double(slot)}, ok ? familiarX[slot] : 0.0f));
}
float FakeContext::FamiliarY(int32_t slot) {
  const bool ok = slot >= 0 && slot < static_cast<int32_t>(familiarY.size());
  return static_cast<float>(Record("FamiliarY", {double(slot)}, ok ? familiarY[slot] : 0.0f));
}
int32_t FakeContext::SpawnItem(float x, float y, int32_t kind, int32_t speed, int32_t angle) {
  const int32_t slot = itemsSpawned < 256 ? itemsSpawned++ : -1;
  return static_cast<int32_t>(
      Record("SpawnItem", {x, y, double(kind), double(speed), double(angle)}, slot));
}
