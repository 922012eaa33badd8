#include "fake_platform.h"

#include "app/app.h"
#include "core/random.h"

#include <iostream>

FakePlatform fake;

static int fakeElapsedMs() { return fake.clockMs; }
static void fakeWarpPointer(int x, int y) { fake.warps.emplace_back(x, y); }
static void fakePostRedisplay() { ++fake.redisplays; }
static void fakeSwapBuffers() { ++fake.swaps; }
static void fakeExit(int status)
{
    fake.exits.push_back(status);
    throw ExitCalled{status};
}

void GameTest::SetUp()
{
    savedPlatform_ = platform;
    platform = Platform{fakeElapsedMs, fakeWarpPointer, fakePostRedisplay, fakeSwapBuffers, fakeExit};
    fake = FakePlatform{};
    game = GameState{};
    savedRandom_ = randomState();
    setRandomState(1);
    savedCout_ = std::cout.rdbuf(captured_.rdbuf());
}

void GameTest::TearDown()
{
    std::cout.rdbuf(savedCout_);
    setRandomState(savedRandom_);
    platform = savedPlatform_;
}

void tickAt(int ms)
{
    fake.clockMs = ms;
    idleUpdate();
}
