// Writing recordings: a checksum once a second of clock and at the end,
// long runs of ticks split, and a file that stops at its size limit while
// the game plays on.
#include "fake_platform.h"
#include "files.h"

#include "replay/recorder.h"
#include "replay/recording.h"
#include "game/checksum.h"

#include <cstdio>
#include <sstream>
#include <string>

namespace {

int delivered = 0;  // events handed on to the game
constexpr GameCallbacks kCounting = {[] { ++delivered; }, [](int, int) { ++delivered; },
                                     [](unsigned char, int, int) { ++delivered; }, [](int, int) { ++delivered; },
                                     [] { ++delivered; }};

// A game recorded into a file of its own, read back as text.
class RecorderTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        delivered = 0;
        std::string error;
        ASSERT_TRUE(startRecording(path_, "rec.qvr", 1000, 800, kCounting, error)) << error;
    }
    void TearDown() override
    {
        finishRecording();
        setRecordingLimit(kMaxRecordingBytes);
        GameTest::TearDown();
    }
    std::string written() const { return fileText(path_); }
    const TempDir dir_;
    const std::string path_ = (dir_.path / "rec.qvr").string();
};

// The tick line before each checksum, joined by '|': the clock that armed it.
std::string ticksBeforeChecksums(const std::string& text)
{
    std::string found;
    std::string lastTick;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line[0] == 't')
            lastTick = line;
        else if (line[0] == 'c')
            found += lastTick + "|";
    }
    return found;
}

}  // namespace

TEST_F(RecorderTest, AChecksumFollowsTheFrameAfterEachSecondOfClockAndEndsTheFile)
{
    for (fake.clockMs = 100; fake.clockMs <= 3500; fake.clockMs += 100) {
        recordTick();
        recordFrame();
    }
    game.score = 35;  // the final checksum is taken at the end, of the state then
    const std::uint64_t last = stateChecksum();
    finishRecording();
    const std::string text = written();
    EXPECT_EQ(ticksBeforeChecksums(text), "t 1000|t 2000|t 3000|t 3500|");
    char tail[40];
    std::snprintf(tail, sizeof tail, "f\nc %016llx\nend\n", static_cast<unsigned long long>(last));
    EXPECT_EQ(text.substr(text.size() - std::string(tail).size()), tail);
    EXPECT_EQ(delivered, 70);
    Recording r;
    RecordingError error;
    ASSERT_TRUE(parseRecording(text, r, error)) << error.message;
    EXPECT_TRUE(r.complete);
}

TEST_F(RecorderTest, ARunOfTicksLongerThanALineAllowsGoesOnTheNextLine)
{
    fake.clockMs = 7;
    for (std::int64_t i = 0; i < kMaxTicksPerLine + 2; ++i)
        recordTick();
    recordFrame();
    finishRecording();
    EXPECT_NE(written().find("\nt 7 " + std::to_string(kMaxTicksPerLine) + "\nt 7 2\nf\n"), std::string::npos);
}

TEST_F(RecorderTest, TheWriterStopsAtTheSizeLimitOnceAndTheGamePlaysOn)
{
    const std::int64_t header = static_cast<std::int64_t>(written().size());
    setRecordingLimit(header + 100);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 40; ++i)
        recordKey('x', 500, 400);  // 14 bytes a line: 7 fit
    finishRecording();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quorvane: rec.qvr reached the largest size a recording may have (" + std::to_string(header + 100) +
                  " bytes); the recording stops here\n");
    EXPECT_EQ(written().size(), static_cast<std::size_t>(header + 7 * 14));
    EXPECT_EQ(delivered, 40);
}

TEST_F(RecorderTest, ACopyMidGameHoldsWhatTheFileWouldHoldWereTheGameToEndNowAndLeavesItAlone)
{
    for (fake.clockMs = 100; fake.clockMs <= 1500; fake.clockMs += 100) {
        recordTick();
        recordFrame();
        recordKey('w', 500, 400);
    }
    recordTick();
    recordTick();  // a run of ticks not yet written
    game.score = 12;
    const std::string before = written();
    std::string error;
    const std::string copy = recordingSoFar(error);
    EXPECT_EQ(written(), before);
    finishRecording();
    EXPECT_EQ(copy, written());
    EXPECT_NE(copy.find("\nt 1600 2\nc "), std::string::npos);
    EXPECT_TRUE(recordingSoFar(error).empty());
    EXPECT_EQ(error, "nothing is being recorded");
}
