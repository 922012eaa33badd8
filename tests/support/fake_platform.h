// Test seam: a scripted clock, a log of platform calls, captured output and
// a fresh game state for every test.
#pragma once

#include "core/platform.h"
#include "core/random.h"
#include "game/state.h"
#include "vec3_print.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
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
    int swaps = 0;
    std::vector<std::pair<int, int>> warps;
    std::vector<int> exits;
};

extern FakePlatform fake;

// Starts from the generator's first value (state 1: 16838, 5758, 10113,
// 17515, 31051, 5627, 23010, 7419, ...) and puts its state back afterwards.
class RandomFromOne : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = randomState();
        setRandomState(1);
    }
    void TearDown() override { setRandomState(saved_); }

private:
    std::uint32_t saved_ = 1;
};

// Installs the fake platform, resets the game state and the random
// generator, and captures std::cout for the test's duration.
class GameTest : public RandomFromOne {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string output() const { return captured_.str(); }
    void clearOutput()
    {
        captured_.str("");
        captured_.flushedAt.clear();
    }
    // Whether the stream was flushed right after every end of line written.
    bool everyLineFlushed() const;

private:
    FlushRecorder      captured_;
    std::streambuf*    savedCout_ = nullptr;
    Platform           savedPlatform_{};
};

// Sets the clock and runs one idle tick.
void tickAt(int ms);
