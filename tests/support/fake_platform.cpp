#include "fake_platform.h"

#include "app/app.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string_view>

FakePlatform fake;

void GameTest::SetUp()
{
    platform.elapsedMs = [] { return fake.clockMs; };
    platform.warpPointer = [](int x, int y) { fake.warps.emplace_back(x, y); };
    platform.postRedisplay = [] { ++fake.redisplays; };
    platform.swapBuffers = [] {};
    platform.exitProcess = [](int status) {
        fake.exits.push_back(status);
        throw ExitCalled{status};
    };
    fake = FakePlatform{};
    game = GameState{};
    setRandomState(1);
    savedCout_ = std::cout.rdbuf(&captured_);
}

void GameTest::TearDown()
{
    clearOutput();
    std::cout.rdbuf(savedCout_);
    platform = savedPlatform_;
    setRandomState(savedRandom_);
}

void GameTest::clearOutput()
{
    const std::string text = captured_.str();
    const std::vector<std::size_t>& flushes = captured_.flushedAt;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end + 1))
        EXPECT_NE(std::find(flushes.begin(), flushes.end(), end + 1), flushes.end())
            << "the line ending at byte " << end << " was not flushed:\n" << text;
    captured_.str("");
    captured_.flushedAt.clear();
}

void tickAt(int ms)
{
    fake.clockMs = ms;
    idleUpdate();
}

bool ciForbidsSkips()
{
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string_view(ci) != "false" && std::string_view(ci) != "0";
}
