// The session's soundtrack, rendered by the real game with --sound-out from
// tests/game/session.qvr: zaps at the recorded presses, loud enough and never
// clipping, silence when muted, the same bytes every time, and the game's
// output, tests/game/session_expected.txt, unchanged with sound on and with
// no sound device at all.
#include "stereo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const std::string kSession = QUORVANE_SOURCE_DIR "/tests/game/session.qvr";
const std::string kExpected = QUORVANE_SOURCE_DIR "/tests/game/session_expected.txt";
const std::string kGame = QUORVANE_BINARY;
constexpr int kRate = 44100;
constexpr int kPrefixMs = 18000;  // of clock: the runs other than the reference one stop there

std::size_t frameOf(int ms) { return static_cast<std::size_t>(ms) * kRate / 1000; }

// Left and right summed: every check here is about time and level.
std::vector<double> monoOf(const Stereo& s)
{
    std::vector<double> mono;
    for (std::size_t i = 0; i < s.left.size(); ++i)
        mono.push_back((s.left[i] + s.right[i]) / 2.0);
    return mono;
}

// What the session's inputs say: its space presses during play (the first
// on each title screen starts a game instead), each with the clock of the
// frame after it; when its first game starts and ends (r); its last clock;
// its lines up to the first checksum at kPrefixMs, with an end line.
struct Press {
    int clock, frame;  // ms
};
struct Script {
    std::vector<Press> presses;
    int firstPlay = -1, firstRestart = -1, lastClock = 0;  // ms
    std::string prefix;
};
Script sessionScript()
{
    std::istringstream lines(fileText(kSession));
    Script script;
    bool title = true, waiting = false, prefixDone = false;
    int clock = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string kind;
        int value = 0;
        fields >> kind >> value;
        if (!prefixDone)
            script.prefix += line + "\n";
        prefixDone = prefixDone || (kind == "c" && clock >= kPrefixMs);
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

// One run of the game in the current folder under a deadline, its output,
// standard error and status in NAME.out, NAME.err and NAME.status.
std::string run(const std::string& name, int seconds, const std::string& recording, const std::string& options)
{
    return "(timeout -k 5 " + std::to_string(seconds) + " '" + kGame + "' --timedemo '" + recording + "' " +
           options + " > " + name + ".out 2> " + name + ".err; echo $? > " + name + ".status)";
}

class SessionSound : public ::testing::Test {
protected:
    static inline TempDir* scratch = nullptr;
    static inline std::string dir;

    // Four runs side by side: the whole session's soundtrack; its first
    // 18 s again, muted, and on a sound device where OpenAL Soft is
    // allowed no driver at all. The deadlines end before ctest's.
    static void SetUpTestSuite()
    {
        scratch = new TempDir;
        dir = scratch->path.string() + "/";
        std::ofstream(dir + "prefix.qvr") << sessionScript().prefix << "end\n";
        const std::string command = "cd '" + dir + "' || exit; " + run("a", 840, kSession, "--sound-out a.wav") + " & " +
                                    run("b", 300, "prefix.qvr", "--sound-out b.wav") + " & " +
                                    run("m", 300, "prefix.qvr", "--sound-out m.wav --mute") + " & " +
                                    "export ALSOFT_DRIVERS=none && " + run("d", 300, "prefix.qvr", "") + "; wait";
        std::system(command.c_str());
    }
    static void TearDownTestSuite() { delete scratch; }
    static std::string file(const std::string& name) { return fileText(dir + name); }
    static std::size_t lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }
};

}  // namespace

// Every run ends well (124: its deadline passed) and says only the
// timedemo's line; without a device the game says so in one line first.
// The prefix's output is the session's up to there.
TEST_F(SessionSound, GameOutputUnchangedWithSoundAndWithoutADevice)
{
    for (const std::string run : {"a", "b", "m", "d"}) {
        EXPECT_EQ(file(run + ".status"), "0\n") << run << ": " << file(run + ".err");
        EXPECT_EQ(lines(file(run + ".err")), run == "d" ? 2u : 1u) << run << ": " << file(run + ".err");
    }
    EXPECT_EQ(file("d.err").rfind("quorvane: no sound device; playing without sound\n", 0), 0u) << file("d.err");
    EXPECT_EQ(file("a.out"), fileText(kExpected));
    const std::string prefix = file("d.out");
    EXPECT_GE(lines(prefix), 3u);
    EXPECT_EQ(fileText(kExpected).compare(0, prefix.size(), prefix), 0) << prefix;
    EXPECT_EQ(file("b.out"), prefix);
    EXPECT_EQ(file("m.out"), prefix);
}

// The prefix rendered again is the session's file up to there.
TEST_F(SessionSound, RenderedTwiceTheSameAndMutedIsSilenceOfTheSameLength)
{
    const std::string a = file("a.wav"), b = file("b.wav"), muted = file("m.wav");
    ASSERT_EQ(a.size(), 44 + 4 * frameOf(sessionScript().lastClock));
    ASSERT_EQ(b.size(), 44 + 4 * frameOf(kPrefixMs));
    EXPECT_TRUE(a.compare(44, b.size() - 44, b, 44) == 0) << "two renderings differ";
    ASSERT_EQ(muted.size(), b.size());
    EXPECT_EQ(muted.compare(0, 44, b, 0, 44), 0);
    EXPECT_EQ(muted.find_first_not_of('\0', 44), std::string::npos) << "the muted file is not silent";
}

// Peak at or below -1 dBFS over the whole file; RMS at least -35 dBFS over
// the first game's play.
TEST_F(SessionSound, LevelsNeitherClipNorFadeAway)
{
    const Script script = sessionScript();
    const Stereo s = readStereo(dir + "a.wav");
    const std::vector<double> x = monoOf(s);
    ASSERT_EQ(x.size(), frameOf(script.lastClock));
    ASSERT_LT(script.firstPlay, script.firstRestart);
    int peak = 0;
    for (std::size_t i = 0; i < s.left.size(); ++i)
        peak = std::max({peak, std::abs(int{s.left[i]}), std::abs(int{s.right[i]})});
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
    const std::vector<double> x = monoOf(readStereo(dir + "a.wav"));
    ASSERT_EQ(x.size(), frameOf(script.lastClock));
    ASSERT_GE(script.presses.size(), 5u);
    for (const Press& press : script.presses) {
        double best = 0;
        for (int ms = press.clock; ms <= press.frame; ++ms)
            best = std::max(best, sharpness(x, ms) / (sharpness(x, ms - 10) + 1));
        EXPECT_GT(best, 4) << "no zap for the press at " << press.clock << " ms";
    }
}

// A --sound-out file that can't be created is refused with one line and
// status 1 before the game starts (without a replay it is a usage error:
// command_line.sh).
TEST(SoundOut, NeedsACreatableFile)
{
    const TempDir scratch;
    const std::string dir = scratch.path.string() + "/";
    const std::string run = "timeout -k 5 60 '" + kGame + "' ";
    const std::string refused = run + "--timedemo '" + kSession + "' --sound-out /nonexistent/x.wav > '" + dir +
                                "refused.out' 2> '" + dir + "refused.err'";
    EXPECT_EQ(std::system(refused.c_str()), 1 << 8);
    const std::string said = fileText(dir + "refused.err");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("/nonexistent/x.wav"), std::string::npos) << said;
    EXPECT_EQ(fileText(dir + "refused.out"), "");
    // a pipe nothing reads would block the open for ever
    const std::string fifo = dir + "sound.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string piped = run + "--timedemo '" + kSession + "' --sound-out '" + fifo + "' 2> '" +
                              dir + "fifo.err'";
    EXPECT_EQ(std::system(piped.c_str()), 1 << 8);
    EXPECT_NE(fileText(dir + "fifo.err").find("is not a regular file"), std::string::npos);
}
