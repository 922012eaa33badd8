// Test seam: a scripted clock, a log of platform calls, captured output and
// a fresh game state for every test.
#pragma once

#include "core/platform.h"
#include "core/random.h"
#include "game/state.h"
#include "vec3_print.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

// Thrown by the fake exitProcess, so a call to exit leaves the callback just
// as the real one leaves the process.
struct ExitCalled {
    int status;
};

// A string buffer that notes where the stream was flushed.
class FlushRecorder : public std::stringbuf {
public:
    std::vector<std::size_t> flushedAt;  // length of the text at each flush

protected:
    int sync() override
    {
        flushedAt.push_back(str().size());
        return 0;
    }
};

struct FakePlatform {
    int clockMs = 0;
    int redisplays = 0;
    std::vector<std::pair<int, int>> warps;
    std::vector<int> exits;
};

extern FakePlatform fake;

// Installs the fake platform, a fresh game state and the generator at its
// first value (state 1: 16838, 5758, 10113, 17515, ...), and captures
// std::cout; everything is put back afterwards. Every line the game prints
// must be flushed as it ends: checked whenever the output is cleared, and at
// the end of the test.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string output() const { return captured_.str(); }
    void clearOutput();

private:
    FlushRecorder       captured_;
    std::streambuf*     savedCout_ = nullptr;
    const Platform      savedPlatform_ = platform;
    const std::uint32_t savedRandom_ = randomState();
};

// Sets the clock and runs one idle tick.
void tickAt(int ms);

// Whether skipping is forbidden here: under CI (CI set, and not "false" or
// "0") a test that can't run fails, so that a green CI means every test ran.
bool ciForbidsSkips();
