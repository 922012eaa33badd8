#include "game/checksum.h"

#include "core/random.h"
#include "game/state.h"

#include <bit>

// ---- types -----------------------------------------------------------------

namespace {

// FNV-1a over 64-bit words, each two fields of 32 bits: fast enough to hash
// tens of thousands of particles once a second, the same on every machine,
// and any one field that differs changes the result (every step is a
// bijection of the running value).
struct Hash {
    std::uint64_t value = 14695981039346656037ull;
    std::uint64_t pending = 0;
    bool          half = false;  // pending holds one field

    void add(std::uint32_t word)
    {
        if (!half) {
            pending = word;
            half = true;
            return;
        }
        value = (value ^ (pending << 32 | word)) * 1099511628211ull;
        half = false;
    }
    std::uint64_t result() const { return half ? (value ^ pending) * 1099511628211ull : value; }
    void add(int v) { add(static_cast<std::uint32_t>(v)); }
    void add(bool v) { add(v ? 1u : 0u); }
    void add(float v) { add(std::bit_cast<std::uint32_t>(v)); }
    void add(std::size_t v) { add(static_cast<std::uint32_t>(v)); }
    void add(const Vec3& v)
    {
        add(v.x);
        add(v.y);
        add(v.z);
    }
};

}  // namespace

// ---- functions -------------------------------------------------------------

static void addCamera(Hash& h, const Camera& camera)
{
    h.add(camera.up);
    h.add(camera.lookRadius);
    h.add(camera.back);
    h.add(camera.eye);
    h.add(camera.center);
}

static void addEmitter(Hash& h, const ParticleEmitter& emitter)
{
    h.add(emitter.position);
    h.add(emitter.particles.size());
    for (const Particle& p : emitter.particles) {
        h.add(p.life);
        h.add(p.fade);
        h.add(p.position);
        h.add(p.velocity);
        h.add(p.acceleration);
        h.add(p.reborn);
    }
}

static void addMissile(Hash& h, const Missile& missile)
{
    h.add(missile.start);
    h.add(missile.lastStepTime);
    h.add(missile.progress);
    h.add(missile.trail != nullptr);
    if (missile.trail)
        addEmitter(h, *missile.trail);
    h.add(missile.target);
    h.add(missile.radius);
    h.add(missile.position);
    h.add(missile.direction);
}

static void addShot(Hash& h, const Shot& shot)
{
    h.add(shot.radius);
    h.add(shot.position);
    h.add(shot.direction);
}

std::uint64_t stateChecksum()
{
    Hash h;
    h.add(game.windowWidth);
    h.add(game.windowHeight);
    h.add(game.titleScreen);
    h.add(game.showAimLines);
    h.add(game.applyLook);
    addCamera(h, game.camera);
    h.add(game.flightSpeed);
    h.add(game.yaw);
    h.add(game.pitch);
    h.add(game.planet.spin);
    h.add(game.score);
    h.add(game.population);
    h.add(game.spawnInterval);
    h.add(game.spawnStep);
    h.add(game.currentTime);
    h.add(game.lastMoveTime);
    h.add(game.lastCombatTime);
    h.add(game.lastSpawnTime);
    h.add(game.shots.size());
    for (const Shot& shot : game.shots)
        addShot(h, shot);
    h.add(game.explosions.size());
    for (const ParticleEmitter& explosion : game.explosions)
        addEmitter(h, explosion);
    h.add(game.missiles.size());
    for (const Missile& missile : game.missiles)
        addMissile(h, missile);
    h.add(randomState());
    return h.result();
}
