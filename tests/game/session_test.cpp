// The scripted session in a real window (run under Xvfb): the title screen,
// a kill, impacts, a crash into the planet while people are left (the
// impacts after it leave 0%), r and a new game, played back from
// tests/game/session.qvr. Its standard output must be
// tests/game/session_expected.txt byte for byte, every line flushed as it is
// written, and every checksum of the recording must agree.
//
// Every random draw is part of the game's behaviour: a change that draws
// differently changes the lines. After checking that the change is meant,
// `cmake --build build --target recordings` writes both files again.
#include "app/app.h"
#include "replay/playback.h"
#include "fake_platform.h"
#include "files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

const std::string kDir = QUORVANE_SOURCE_DIR "/tests/game/";

TEST(Session, ReplaysToTheExpectedOutputWithEveryLineFlushed)
{
    Recording recording;
    RecordingError error;
    ASSERT_TRUE(loadRecording(kDir + "session.qvr", "session.qvr", recording, error)) << error.message;
    ASSERT_TRUE(recording.complete);

    FlushRecorder out;
    std::streambuf* const saved = std::cout.rdbuf(&out);
    const PlaybackResult result = playRecording(recording, kGameCallbacks);
    std::cout.rdbuf(saved);

    EXPECT_FALSE(result.diverged) << "at tick " << result.ticks << " (clock " << result.clock << " ms)";
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(out.str(), fileText(kDir + "session_expected.txt"));
    int unflushed = 0;
    for (std::size_t i = 0; i < out.str().size(); ++i)
        unflushed += out.str()[i] == '\n' && std::count(out.flushedAt.begin(), out.flushedAt.end(), i + 1) == 0;
    EXPECT_EQ(unflushed, 0) << "lines written without a flush";
}
