// Reading recordings: every bad one is refused with the line that is wrong,
// a file cut off mid-line plays up to its last complete line, and nothing
// can make the reader hang, read past the text or hold the file in memory.
#include "replay/recording.h"

#include "files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <tuple>
#include <vector>

namespace {

const std::string kHeader = "quorvane-recording 1 game 0.1 window 1000 800\n";

// The error as the game prints it for a file named "text".
std::string parseError(const std::string& text)
{
    Recording recording;
    RecordingError error;
    return parseRecording(text, recording, error) ? "" : describeError("text", error);
}

}  // namespace

TEST(Recording, RefusesEveryMalformedLineByItsNumber)
{
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "text: is empty"},
        {"\x89PNG\r\n\x1a\n", "text:1: holds the byte 0x89, which is not text"},
        {"quorvane-recording 1 game 0.1 window 1000", "text:1: the header line is incomplete"},
        {"quorvane-recording 1 game 0.1 window 1000 800 x\n", "text:1: not a quorvane recording"},
        {"quorvane-recording 2 game 0.1 window 1000 800\n", "text:1: recording format 2 is not 1, which this game reads"},
        {"quorvane-recording 1 game 0.1 window 0 800\n", "text:1: the window size is out of range"},
        {kHeader + "x 1\n", "text:2: unknown event 'x 1'"},
        {kHeader + "f \n", "text:2: malformed event 'f '"},
        {kHeader + "k 256 1 1\n", "text:2: malformed event 'k 256 1 1'"},
        {kHeader + "m 1 32768\n", "text:2: malformed event 'm 1 32768'"},
        {kHeader + "k 32 -32769 0\n", "text:2: malformed event 'k 32 -32769 0'"},
        {kHeader + "m +1 1\n", "text:2: malformed event 'm +1 1'"},
        {kHeader + "r -1 5\n", "text:2: malformed event 'r -1 5'"},
        {kHeader + "t 5 0\n", "text:2: malformed event 't 5 0'"},
        {kHeader + "t -5\n", "text:2: malformed event 't -5'"},
        {kHeader + "t 0 100001\n", "text:2: 't 0 100001' counts more than 100000 ticks"},
        {kHeader + "t 2147483648\n", "text:2: malformed event 't 2147483648'"},
        {kHeader + "c 00000000000000fg\n", "text:2: malformed event 'c 00000000000000fg'"},
        {kHeader + "t 10\nf\nt 9\n", "text:4: the clock goes back from 10 to 9 ms"},
        {kHeader + "f\n" + std::string(256, 'f') + "\n", "text:3: longer than 256 bytes"},
        {kHeader + std::string("f\0\n", 3), "text:2: holds a NUL byte"},
        {kHeader + "f\r\n", "text:2: holds the byte 0x0d, which is not text"},
        {kHeader + "f\nend\n", "text:3: the end line must follow the final checksum"},
        {kHeader + "c 00000000000000ff\nend\nf\n", "text:4: nothing may follow the end line"},
        {kHeader + "c 00000000000000ff\nend\nf", "text:4: nothing may follow the end line"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseError(c.text), c.error) << c.text;
}

TEST(Recording, ReadsEveryValueGlutCanGiveAndKnowsWhereACutFileEnds)
{
    Recording r;
    RecordingError error;
    const std::string text = kHeader + "t 5 100000\nf\nk 32 -32768 32767\nm -180 -1\nr 32767 0\nr 10 32767\n"
                                       "c 00000000000000ff\nend\n";
    ASSERT_TRUE(parseRecording(text, r, error)) << error.message;
    EXPECT_EQ(r.gameVersion, "0.1");
    EXPECT_EQ(r.width * 10000 + r.height, 10000800);
    EXPECT_TRUE(r.largestWidth == 32767 && r.largestHeight == 32767);
    EXPECT_EQ(r.firstClock, 5);
    EXPECT_TRUE(r.complete);
    std::vector<Event> events;
    for (Event e; nextEvent(r, e, error);)
        events.push_back(e);
    EXPECT_EQ(std::tuple(error.line, error.message), std::tuple(0, ""));
    ASSERT_EQ(events.size(), 7u);
    EXPECT_TRUE(events[0].type == EventType::Tick && events[0].clock == 5 && events[0].count == 100000);
    EXPECT_TRUE(events[2].type == EventType::Key && events[2].key == 32 && events[2].x == -32768 && events[2].y == 32767);
    EXPECT_TRUE(events[3].type == EventType::Motion && events[3].x == -180 && events[3].y == -1);
    EXPECT_TRUE(events[4].type == EventType::Reshape && events[4].width == 32767 && events[4].height == 0);
    EXPECT_EQ(events[6].hash, 0xffu);

    // Killed while writing line 3: plays what is whole and says where it broke off.
    const std::string cut = kHeader + "f\nt 12";
    ASSERT_TRUE(parseRecording(cut, r, error));
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.endsAt, 3);
    Event e;
    EXPECT_TRUE(nextEvent(r, e, error) && e.type == EventType::Frame);
    EXPECT_FALSE(nextEvent(r, e, error));
    // Killed between lines: line 2 was the last one read.
    ASSERT_TRUE(parseRecording(kHeader + "f\n", r, error));
    EXPECT_EQ(r.endsAt, 2);
}

namespace {

// Bytes malloc has handed out, mapped blocks included.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::string loadError(const std::string& path, const std::string& name)
{
    Recording r;
    RecordingError error;
    return loadRecording(path, name, r, error) ? "" : describeError(name, error);
}

}  // namespace

TEST(Recording, OnlyRegularFilesOfARecordingsSizeAreRead)
{
    TempDir dir;
    const std::string notRegular = ": is not a regular file (a pipe, a device or a socket holds no recording)";
    EXPECT_EQ(loadError("/dev/zero", "zeros"), "zeros" + notRegular);
    EXPECT_EQ(loadError("/nonexistent/demo.qvr", "demo.qvr"), "demo.qvr: No such file or directory");
    EXPECT_EQ(loadError("/", "root"), "root: is a directory");

    const std::string big = (dir.path / "big.qvr").string();
    std::ofstream(big) << kHeader;
    std::filesystem::resize_file(big, kMaxRecordingBytes + 1);  // sparse: no disk used
    EXPECT_EQ(loadError(big, "big.qvr"), "big.qvr: is larger than 1073741824 bytes, more than any game records");

    // A FIFO nobody writes to: refused at once, not waited on. Should the
    // open block, a writer comes after a give-up limit to end the test.
    const std::string fifo = (dir.path / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto refused = std::async(std::launch::async, loadError, fifo, "fifo");
    if (refused.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    EXPECT_EQ(refused.get(), "fifo" + notRegular);
}

// Reading holds a line at a time: neither checking nor playing a file keeps
// anything that grows with it.
TEST(Recording, MemoryDoesNotGrowWithTheFile)
{
    TempDir dir;
    const std::string path = (dir.path / "long.qvr").string();
    {
        std::ofstream out(path);
        out << kHeader;
        for (int i = 0; i < 200000; ++i)
            out << "t " << i << " 3\nf\nk 32 -1 " << i % 900 << "\nm 5 -6\nr 900 700\nc 00000000000000ff\n";
        out << "end\n";
    }
    const std::size_t before = heapInUse();
    Recording r;
    RecordingError error;
    ASSERT_TRUE(loadRecording(path, "long.qvr", r, error)) << error.message;
    std::size_t most = heapInUse();
    std::size_t events = 0;
    for (Event e; nextEvent(r, e, error); ++events)
        if (events % 1000 == 0)
            most = std::max(most, heapInUse());
    EXPECT_EQ(events, 1200000u);
    EXPECT_LT(most - before, std::size_t{1} << 20) << "bytes held while reading";
}
