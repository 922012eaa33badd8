// What recording costs a heavy frame: the lines written for it (a tick, the
// frame, a pointer move) and, once a second of clock, a checksum of the whole
// game state. Compare with the frame benchmark's heavy frame.
#include "app/app.h"
#include "replay/recorder.h"
#include "core/platform.h"
#include "game/checksum.h"
#include "game/state.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// The heavy scene's lists: 7 missiles with full trails, 20 explosions of
// 1,500 particles and 20 shots.
void heavyState()
{
    game = GameState{};
    for (int i = 0; i < 7; ++i)
        game.missiles.emplace_back(Vec3{800, 10.0f * i, 0},
                                   std::make_unique<ParticleEmitter>(800, Vec3{800, 10.0f * i, 0}, Vec3{0, 0, -100}));
    for (int i = 0; i < 20; ++i)
        game.explosions.emplace_back(1500, Vec3{10.0f * i, 0, 0}, Vec3{0, -0.3f, 0});
    for (int i = 0; i < 20; ++i)
        game.shots.push_back(Shot{0.5f, Vec3{0, 0, float(i)}, Vec3{1, 0, 0}});
}

void BM_ChecksumOfAHeavyState(benchmark::State& state)
{
    heavyState();
    for (auto _ : state)
        benchmark::DoNotOptimize(stateChecksum());
    state.SetLabel(std::to_string(7 * 800 + 20 * 1500) + " particles");
}

// A key the game ignores: what is left is writing its line.
void BM_OneRecordedLine(benchmark::State& state)
{
    platform.postRedisplay = [] {};
    // A recording goes to a regular file only: a temporary one, gone when
    // the benchmark ends (its name goes at once, the open file stays).
    char path[] = "/tmp/quorvane-bench-XXXXXX";
    const int fd = ::mkstemp(path);
    std::string error;
    if (fd < 0 || !startRecording(path, path, 1000, 800, kGameCallbacks, error))
        std::abort();
    ::close(fd);
    ::unlink(path);
    for (auto _ : state)
        recordKey('x', 500, 400);
}

}  // namespace

BENCHMARK(BM_ChecksumOfAHeavyState);
BENCHMARK(BM_OneRecordedLine);
BENCHMARK_MAIN();
