// The session's soundtrack, rendered by the real game with --sound-out from
// tests/game/session.qvr: zaps at the recorded presses, loud enough and never
// clipping, silence when muted, the same bytes every time, and the game's
// output unchanged with sound on and with no sound device at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

const std::string kSession = QUORVANE_SOURCE_DIR "/tests/game/session.qvr";
const std::string kExpected = QUORVANE_SOURCE_DIR "/tests/game/session_expected.txt";
const std::string kGame = QUORVANE_BINARY;
constexpr int kRate = 44100;

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::size_t frameOf(int ms) { return static_cast<std::size_t>(ms) * kRate / 1000; }

// Left and right summed: every check here is about time and level.
std::vector<double> monoOf(const std::string& wav)
{
    std::vector<double> mono;
    for (std::size_t at = 44; at + 4 <= wav.size(); at += 4) {
        std::int16_t lr[2];
        std::memcpy(lr, wav.data() + at, 4);
        mono.push_back((lr[0] + lr[1]) / 2.0);
    }
    return mono;
}

// What the session's inputs say: its space presses during play (the first
// on each title screen starts a game instead), each with the clock of the
// frame after it; when its first game starts and ends (r); its last clock.
struct Press {
    int clock, frame;  // ms
};
struct Script {
    std::vector<Press> presses;
    int firstPlay = -1, firstRestart = -1, lastClock = 0;  // ms
};
Script sessionScript()
{
    std::istringstream lines(fileText(kSession));
    Script script;
    bool title = true, waiting = false;
    int clock = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string kind;
        int value = 0;
        fields >> kind >> value;
        if (kind == "t")
            clock = script.lastClock = value;
        if (kind == "f" && waiting) {
            script.presses.back().frame = clock;
            waiting = false;
        }
        if (kind == "k" && value == 'r') {
            title = true;
            if (script.firstRestart < 0)
                script.firstRestart = clock;
        }
        if (kind == "k" && value == ' ') {
            if (!title) {
                script.presses.push_back({clock, 0});
                waiting = true;
            } else if (script.firstPlay < 0) {
                script.firstPlay = clock;
            }
            title = false;
        }
    }
    return script;
}

// Energy of the first difference (which favours the zap's high sweep) over
// 10 ms from `ms`.
double sharpness(const std::vector<double>& x, int ms)
{
    double sum = 0;
    for (std::size_t i = frameOf(ms); i < frameOf(ms + 10); ++i)
        sum += (x[i] - x[i - 1]) * (x[i] - x[i - 1]);
    return sum;
}

double dbfs(double level) { return 20 * std::log10(level / 32768.0); }

class SessionSound : public ::testing::Test {
protected:
    static inline std::string dir;
    static inline int status = -1;

    // Four runs side by side: the soundtrack twice, muted, and on the sound
    // device (there is none on a test machine).
    static void SetUpTestSuite()
    {
        dir = ::testing::TempDir() + "session_sound";
        const std::string run = "'" + kGame + "' --timedemo '" + kSession + "' ";
        const std::string into = " > '" + dir;
        const std::string command = "mkdir -p '" + dir + "' && cd '" + dir + "' && (" +
            run + "--sound-out a.wav" + into + "/a.out' 2>" + dir + "/a.err & " +
            run + "--sound-out b.wav" + into + "/b.out' 2>/dev/null & " +
            run + "--sound-out m.wav --mute" + into + "/m.out' 2>/dev/null & " +
            run + into + "/d.out' 2>" + dir + "/d.err; echo $? > d.status; wait)";
        status = std::system(command.c_str());
    }
    static std::string file(const char* name) { return fileText(dir + "/" + name); }
};

}  // namespace

TEST_F(SessionSound, GameOutputUnchangedWithSoundAndWithoutADevice)
{
    ASSERT_EQ(status, 0);
    for (const char* out : {"a.out", "b.out", "m.out", "d.out"})
        EXPECT_EQ(file(out), fileText(kExpected)) << out;
    EXPECT_EQ(file("d.status"), "0\n");
    // the timedemo's own line, and at most one about sound
    const std::string said = file("d.err");
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 2) << said;
    const std::string rendering = file("a.err");
    EXPECT_EQ(std::count(rendering.begin(), rendering.end(), '\n'), 1) << rendering;
}

TEST_F(SessionSound, RenderedTwiceTheSameAndMutedIsSilenceOfTheSameLength)
{
    const std::string a = file("a.wav"), muted = file("m.wav");
    ASSERT_EQ(a.size(), 44 + 4 * frameOf(sessionScript().lastClock));
    EXPECT_TRUE(a == file("b.wav")) << "two renderings differ";
    ASSERT_EQ(muted.size(), a.size());
    EXPECT_EQ(muted.compare(0, 44, a, 0, 44), 0);
    EXPECT_EQ(muted.find_first_not_of('\0', 44), std::string::npos) << "the muted file is not silent";
}

// Peak at or below -1 dBFS over the whole file; RMS at least -35 dBFS over
// the first game's play.
TEST_F(SessionSound, LevelsNeitherClipNorFadeAway)
{
    const Script script = sessionScript();
    const std::vector<double> x = monoOf(file("a.wav"));
    ASSERT_EQ(x.size(), frameOf(script.lastClock));
    ASSERT_LT(script.firstPlay, script.firstRestart);
    const std::string wav = file("a.wav");
    int peak = 0;
    for (std::size_t at = 44; at + 2 <= wav.size(); at += 2) {
        std::int16_t v;
        std::memcpy(&v, wav.data() + at, 2);
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
    double sum = 0;
    const std::size_t from = frameOf(script.firstPlay), to = frameOf(script.firstRestart);
    for (std::size_t i = from; i < to; ++i)
        sum += x[i] * x[i];
    const double rms = std::sqrt(sum / static_cast<double>(to - from));
    EXPECT_LE(dbfs(peak), -1.0);
    EXPECT_GE(dbfs(rms), -35.0);
}

// Every space press in play has a zap starting by the next frame: the sound
// turns sharp there, far sharper than just before.
TEST_F(SessionSound, ZapsStartAtTheRecordedPresses)
{
    const Script script = sessionScript();
    const std::vector<double> x = monoOf(file("a.wav"));
    ASSERT_EQ(x.size(), frameOf(script.lastClock));
    ASSERT_GE(script.presses.size(), 5u);
    for (const Press& press : script.presses) {
        double best = 0;
        for (int ms = press.clock; ms <= press.frame; ++ms)
            best = std::max(best, sharpness(x, ms) / (sharpness(x, ms - 10) + 1));
        EXPECT_GT(best, 4) << "no zap for the press at " << press.clock << " ms";
    }
}

// --sound-out goes with a replay; a file that can't be created is refused
// with one line and status 1 before the game starts.
TEST(SoundOut, NeedsAReplayAndACreatableFile)
{
    const std::string dir = ::testing::TempDir();
    const std::string run = "'" + kGame + "' ";
    EXPECT_EQ(std::system((run + "--sound-out x.wav 2>/dev/null").c_str()), 2 << 8);
    const std::string refused = run + "--timedemo '" + kSession + "' --sound-out /nonexistent/x.wav > '" + dir +
                                "refused.out' 2> '" + dir + "refused.err'";
    EXPECT_EQ(std::system(refused.c_str()), 1 << 8);
    const std::string said = fileText(dir + "refused.err");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("/nonexistent/x.wav"), std::string::npos) << said;
    EXPECT_EQ(fileText(dir + "refused.out"), "");
    // a pipe nothing reads would block the open for ever
    const std::string fifo = dir + "sound.fifo";
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string piped = "timeout 20 " + run + "--timedemo '" + kSession + "' --sound-out '" + fifo + "' 2> '" +
                              dir + "fifo.err'";
    EXPECT_EQ(std::system(piped.c_str()), 1 << 8);
    EXPECT_NE(fileText(dir + "fifo.err").find("is not a regular file"), std::string::npos);
}
