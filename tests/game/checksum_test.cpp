// The checksum a replay compares sees every part of the game state: a
// change anywhere, down to one particle of one trail, changes it.
#include "core/random.h"
#include "game/checksum.h"
#include "game/state.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(Checksum, EveryPartOfTheStateCounts)
{
    const auto fill = [] {
        game = GameState{};
        setRandomState(1);
        game.missiles.emplace_back(Vec3{800, 0, 0}, std::make_unique<ParticleEmitter>(3, Vec3{800, 0, 0}, Vec3{}));
        game.explosions.emplace_back(3, Vec3{1, 2, 3}, Vec3{});
        game.shots.push_back(Shot{0.5f, Vec3{4, 5, 6}, Vec3{1, 0, 0}});
    };
    const std::function<void()> changes[] = {
        [] { game.windowHeight = 1; },         [] { game.applyLook = false; },
        [] { game.camera.back.z = 1; },        [] { game.camera.center.x = 1; },
        [] { game.flightSpeed = 1e-5f; },      [] { game.pitch = 1; },
        [] { game.planet.spin = 0.05f; },      [] { game.score = 5; },
        [] { game.spawnInterval = 498.75f; },  [] { game.lastCombatTime = 51; },
        [] { game.lastSpawnTime = 501; },      [] { game.shots[0].direction.y = 1; },
        [] { game.explosions[0].particles[2].reborn = true; },
        [] { game.missiles[0].trail->particles[1].velocity.x += 1; },
        [] { game.missiles[0].progress = 0.0005f; }, [] { game.missiles[0].lastStepTime = 11; },
        [] { game.shots.push_back(game.shots[0]); }, [] { gameRand(); },
    };
    fill();
    const std::uint64_t before = stateChecksum();
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        fill();
        changes[i]();
        EXPECT_NE(stateChecksum(), before) << "change " << i;
    }
    fill();
    EXPECT_EQ(stateChecksum(), before);
}
