#include "fake_platform.h"

#include "app/app.h"
#include "core/random.h"

#include <algorithm>
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
    RandomFromOne::SetUp();
    savedPlatform_ = platform;
    platform = Platform{fakeElapsedMs, fakeWarpPointer, fakePostRedisplay, fakeSwapBuffers, fakeExit};
    fake = FakePlatform{};
    game = GameState{};
    savedCout_ = std::cout.rdbuf(&captured_);
}

void GameTest::TearDown()
{
    std::cout.rdbuf(savedCout_);
    platform = savedPlatform_;
    RandomFromOne::TearDown();
}

bool GameTest::everyLineFlushed() const
{
    const std::string text = captured_.str();
    const std::vector<std::size_t>& flushes = captured_.flushedAt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && std::find(flushes.begin(), flushes.end(), i + 1) == flushes.end())
            return false;
    return true;
}

void tickAt(int ms)
{
    fake.clockMs = ms;
    idleUpdate();
}
