// Micro-benchmark of the particle rules (no drawing): a frame's cost must
// grow linearly with the particle count, also when many particles die in
// the same frame.
#include "core/random.h"
#include "effects/particles.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

namespace {

// An explosion in which every other particle ends its second life in the
// next frame: the worst case for removal.
ParticleEmitter dyingExplosion(int count)
{
    setRandomState(1);
    ParticleEmitter e(count, Vec3{-50, 50, 50}, Vec3{0, -0.3f, 0});
    for (std::size_t i = 0; i < e.particles.size(); i += 2) {
        e.particles[i].reborn = true;
        e.particles[i].life = 0.0001f;
    }
    return e;
}

// The removal as one erase per dying particle, for comparison: every erase
// moves the whole rest of the list down one place.
void eraseOneAtATime(ParticleEmitter& e)
{
    for (std::size_t i = 0; i < e.particles.size();) {
        Particle& p = e.particles[i];
        p.life -= p.fade;
        if (p.life < 0 && p.reborn) {
            e.particles.erase(e.particles.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}

// A trail: its particles are reborn, never removed, so the count holds.
void BM_TrailFrame(benchmark::State& state)
{
    setRandomState(1);
    ParticleEmitter trail(static_cast<int>(state.range(0)), Vec3{0, 0, 800}, Vec3{0, 0, -100});
    std::vector<ParticleSprite> drawn;
    drawn.reserve(trail.particles.size());
    for (auto _ : state) {
        drawn.clear();
        stepParticles(trail, kTrailParticles, Vec3{0, 0, 700}, drawn);
        benchmark::DoNotOptimize(drawn.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ExplosionFrameHalfDying(benchmark::State& state)
{
    const ParticleEmitter start = dyingExplosion(static_cast<int>(state.range(0)));
    std::vector<ParticleSprite> drawn;
    drawn.reserve(start.particles.size());
    for (auto _ : state) {
        state.PauseTiming();
        ParticleEmitter e = start;
        drawn.clear();
        state.ResumeTiming();
        stepParticles(e, kExplosionParticles, Vec3{}, drawn);
        benchmark::DoNotOptimize(e.particles.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EraseOneAtATimeHalfDying(benchmark::State& state)
{
    const ParticleEmitter start = dyingExplosion(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ParticleEmitter e = start;
        state.ResumeTiming();
        eraseOneAtATime(e);
        benchmark::DoNotOptimize(e.particles.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_TrailFrame)->Arg(1500)->Arg(15000)->Arg(150000);
BENCHMARK(BM_ExplosionFrameHalfDying)->Arg(1500)->Arg(15000)->Arg(150000);
// Quadratic: 150,000 would take minutes per frame.
BENCHMARK(BM_EraseOneAtATimeHalfDying)->Arg(1500)->Arg(15000);

BENCHMARK_MAIN();
