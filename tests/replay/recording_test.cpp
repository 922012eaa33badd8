// Reading recordings: every bad one is refused with the line that is wrong,
// a file cut off mid-line plays up to its last complete line, and nothing
// can make the reader hang or read past the text.
#include "replay/recording.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHeader = "quorvane-recording 1 game 0.1 window 1000 800\n";

std::string parseError(const std::string& text)
{
    Recording recording;
    std::string error;
    return parseRecording(text, recording, error) ? "" : error;
}

}  // namespace

TEST(Recording, RefusesEveryMalformedLineByItsNumber)
{
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "is empty"},
        {"\x89PNG\r\n\x1a\n", "line 1: holds the byte 0x89, which is not text"},
        {"quorvane-recording 1 game 0.1 window 1000", "line 1: the header line is incomplete"},
        {"quorvane-recording 1 game 0.1 window 1000 800 x\n", "line 1: not a quorvane recording"},
        {"quorvane-recording 2 game 0.1 window 1000 800\n", "line 1: recording format 2 is not 1, which this game reads"},
        {"quorvane-recording 1 game 0.1 window 0 800\n", "line 1: the window size is out of range"},
        {kHeader + "x 1\n", "line 2: unknown event 'x 1'"},
        {kHeader + "f \n", "line 2: malformed event 'f '"},
        {kHeader + "k 256 1 1\n", "line 2: malformed event 'k 256 1 1'"},
        {kHeader + "m 1 32768\n", "line 2: malformed event 'm 1 32768'"},
        {kHeader + "r -1 5\n", "line 2: malformed event 'r -1 5'"},
        {kHeader + "t 5 0\n", "line 2: malformed event 't 5 0'"},
        {kHeader + "t 2147483648\n", "line 2: malformed event 't 2147483648'"},
        {kHeader + "c 00000000000000fg\n", "line 2: malformed event 'c 00000000000000fg'"},
        {kHeader + "t 10\nf\nt 9\n", "line 4: the clock goes back from 10 to 9 ms"},
        {kHeader + "f\n" + std::string(256, 'f') + "\n", "line 3: longer than 256 bytes"},
        {kHeader + std::string("f\0\n", 3), "line 2: holds a NUL byte"},
        {kHeader + "f\r\n", "line 2: holds the byte 0x0d, which is not text"},
        {kHeader + "end\nf\n", "line 3: nothing may follow the end line"},
        {kHeader + "end\nf", "line 3: nothing may follow the end line"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseError(c.text), c.error) << c.text;
}

TEST(Recording, ReadsEveryEventAndKnowsWhereACutFileEnds)
{
    Recording r;
    std::string error;
    ASSERT_TRUE(parseRecording(kHeader + "t 5 3\nf\nk 32 1 2\nm 3 4\nr 10 0\nc 00000000000000ff\nend\n", r, error));
    EXPECT_EQ(r.gameVersion, "0.1");
    EXPECT_EQ(r.width * 10000 + r.height, 10000800);
    ASSERT_EQ(r.events.size(), 6u);
    const Event& tick = r.events[0];
    EXPECT_TRUE(tick.type == EventType::Tick && tick.a == 5 && tick.b == 3);
    const Event& key = r.events[2];
    EXPECT_TRUE(key.type == EventType::Key && key.a == 32 && key.b == 1 && key.c == 2);
    EXPECT_TRUE(r.events[4].type == EventType::Reshape && r.events[4].a == 10 && r.events[4].b == 0);
    EXPECT_EQ(r.events[5].hash, 0xffu);
    EXPECT_TRUE(r.complete);

    // Killed while writing line 3: plays what is whole and says where it broke off.
    ASSERT_TRUE(parseRecording(kHeader + "f\nt 12", r, error));
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.endsAt, 3);
    EXPECT_EQ(r.events.size(), 1u);
    ASSERT_TRUE(parseRecording(kHeader + "f\n", r, error));
    EXPECT_EQ(r.endsAt, 3);
}

TEST(Recording, FilesAreNamedAsGivenAndEndlessOnesStop)
{
    Recording r;
    std::string error;
    EXPECT_FALSE(loadRecording("/dev/zero", "zeros", r, error));
    EXPECT_EQ(error, "zeros:1: longer than 256 bytes");
    EXPECT_FALSE(loadRecording("/nonexistent/demo.qvr", "demo.qvr", r, error));
    EXPECT_EQ(error, "demo.qvr: No such file or directory");
    EXPECT_FALSE(loadRecording("/", "root", r, error));
    EXPECT_EQ(error, "root: is a directory");
}
