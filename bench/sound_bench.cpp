// What sound costs a heavy frame outside the mixer: the soundtrack's own
// work with every mixer call a no-op, as the frame benchmark's "outside
// OpenGL" leaves out the drawing. Compare with its heavy frame.
#include "game/events.h"
#include "game/shots.h"
#include "game/state.h"
#include "sound/audio.h"
#include "sound/soundtrack.h"

#include <benchmark/benchmark.h>

namespace {

// Play with the heavy scene's seven missiles, engines running.
void heavyPlay()
{
    game = GameState{};
    audio = silentAudio();
    startSoundtrack(false);
    for (int i = 0; i < 7; ++i) {
        game.missiles.emplace_back(Vec3{800, 10.0f * i, 0}, nullptr);
        gameEvents.missileSpawned(game.missiles.back().id, game.missiles.back().start);
    }
    game.currentTime = 1000;
    soundtrackFrame();
}

// A frame of seven engines moving and the listener following the camera.
void BM_SoundtrackFrame(benchmark::State& state)
{
    heavyPlay();
    for (auto _ : state) {
        game.currentTime += 16;
        soundtrackFrame();
    }
}

// The worst frame the pool is built for: 100 shots and 6 explosions at once.
void BM_SoundtrackFrameWithABurst(benchmark::State& state)
{
    heavyPlay();
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            gameEvents.shotFired(game.camera.eye);
        for (int i = 0; i < 6; ++i)
            gameEvents.missileShot(99, Vec3{10.0f * i, 0, 300});
        game.currentTime += 16;
        soundtrackFrame();
    }
}

}  // namespace

BENCHMARK(BM_SoundtrackFrame);
BENCHMARK(BM_SoundtrackFrameWithABurst);
BENCHMARK_MAIN();
