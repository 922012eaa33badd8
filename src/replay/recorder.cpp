#include "replay/recorder.h"

#include "replay/recording.h"
#include "core/output_file.h"
#include "core/platform.h"
#include "game/checksum.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

// ---- constants -------------------------------------------------------------

constexpr int kCheckEveryMs = 1000;  // a checksum, and a flush, per second of clock

// ---- state -----------------------------------------------------------------

// The file is written in whole lines from this buffer, so a file cut short
// by a kill, a full disk or the size limit stays readable up to its last
// complete line.
struct Recorder {
    int          fd = -1;
    bool         created = false;   // the file is ours: removed when the game never starts
    bool         begun = false;     // the window is open and the header written
    bool         failed = false;    // writing stopped (a write error or the size limit)
    std::string  name;              // as the user gave it
    std::string  path;              // absolute
    std::int64_t written = 0;       // bytes in the file
    char         buffer[65536];
    std::size_t  used = 0;

    int  (*clockSource)() = nullptr;  // the real clock
    int  clock = 0;                  // ms, read by the latest tick; what the game sees
    int  runClock = 0;               // ms, of the ticks not yet written
    int  runCount = 0;               // ticks in a row at runClock, not yet written
    int  nextCheck = kCheckEveryMs;  // ms of clock that arms the next checksum
    bool checkArmed = false;         // after the next frame
    int  lastFlush = 0;              // ms of clock

    GameCallbacks game{};            // where the events go once written
};
static Recorder rec;
static std::int64_t sizeLimit = kMaxRecordingBytes;  // bytes; smaller only in tests

// ---- functions -------------------------------------------------------------

static void flushBuffer()
{
    std::size_t done = 0;
    while (!rec.failed && done < rec.used) {
        const ssize_t n = ::write(rec.fd, rec.buffer + done, rec.used - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            rec.failed = true;
            std::fprintf(stderr, "quorvane: could not write %s: %s; the recording stops here\n",
                         rec.name.c_str(), std::strerror(errno));
        } else {
            done += static_cast<std::size_t>(n);
            rec.written += n;
        }
    }
    rec.used = 0;
}

// The reader refuses a file past the limit, so the writer stops short of it.
static bool roomFor(std::size_t bytes)
{
    if (rec.written + static_cast<std::int64_t>(rec.used + bytes) <= sizeLimit)
        return true;
    flushBuffer();
    if (!rec.failed)
        std::fprintf(stderr, "quorvane: %s reached the largest size a recording may have (%" PRId64
                     " bytes); the recording stops here\n", rec.name.c_str(), sizeLimit);
    rec.failed = true;
    return false;
}

static void writeLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
static void writeLine(const char* format, ...)
{
    if (!rec.begun || rec.failed)
        return;
    char line[kMaxLineBytes];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    const int n = std::clamp(written, 0, static_cast<int>(sizeof line) - 2);  // never a line too long
    if (!roomFor(static_cast<std::size_t>(n) + 1))
        return;
    if (rec.used + static_cast<std::size_t>(n) + 1 > sizeof rec.buffer)
        flushBuffer();
    std::memcpy(rec.buffer + rec.used, line, static_cast<std::size_t>(n));
    rec.used += static_cast<std::size_t>(n);
    rec.buffer[rec.used++] = '\n';
}

// The lines writeTickRun and writeChecksum would write, for a copy.
// The line of the ticks not yet written: empty when there are none.
static std::string tickRunLine()
{
    char line[48];
    if (rec.runCount == 1)
        std::snprintf(line, sizeof line, "t %d\n", rec.runClock);
    else if (rec.runCount > 1)
        std::snprintf(line, sizeof line, "t %d %d\n", rec.runClock, rec.runCount);
    else
        line[0] = '\0';
    return line;
}

static void writeTickRun()
{
    if (rec.runCount == 1)
        writeLine("t %d", rec.runClock);
    else if (rec.runCount > 1)
        writeLine("t %d %d", rec.runClock, rec.runCount);
    rec.runCount = 0;
}

static std::string checksumLine()
{
    char line[32];
    std::snprintf(line, sizeof line, "c %016" PRIx64 "\n", stateChecksum());
    return line;
}

static void flushAll()
{
    writeTickRun();
    flushBuffer();
    rec.lastFlush = rec.clock;
}

static void writeChecksum()
{
    writeTickRun();
    writeLine("c %016" PRIx64, stateChecksum());
}

static int recordedClock() { return rec.clock; }

// Nothing is emptied here: that waits for the window.
bool openRecording(const std::string& path, const std::string& name, const GameCallbacks& game,
                   std::string& error)
{
    finishRecording();
    rec = Recorder{};
    rec.name = name;
    rec.path = path;
    rec.game = game;
    rec.fd = openOutputFile(path, name, rec.created, error);
    if (rec.fd < 0)
        return false;
    rec.clockSource = platform.elapsedMs;
    platform.elapsedMs = recordedClock;
    return true;
}

void beginRecording(int width, int height)
{
    if (rec.fd < 0 || rec.begun)
        return;
    rec.begun = true;
    if (::ftruncate(rec.fd, 0) != 0) {
        rec.failed = true;
        std::fprintf(stderr, "quorvane: could not write %s: %s; the recording stops here\n", rec.name.c_str(),
                     std::strerror(errno));
    }
    writeLine("%s", recordingHeader(QUORVANE_VERSION, width, height).c_str());
    flushBuffer();
}

bool startRecording(const std::string& path, const std::string& name, int width, int height,
                    const GameCallbacks& game, std::string& error)
{
    if (!openRecording(path, name, game, error))
        return false;
    beginRecording(width, height);
    return true;
}

void setRecordingLimit(std::int64_t bytes) { sizeLimit = bytes; }

void recordTick()
{
    rec.clock = rec.clockSource();
    if (rec.runCount > 0 && (rec.runClock != rec.clock || rec.runCount >= kMaxTicksPerLine))
        writeTickRun();
    rec.runClock = rec.clock;
    ++rec.runCount;
    if (rec.clock >= rec.nextCheck) {
        rec.checkArmed = true;
        rec.nextCheck = (rec.clock / kCheckEveryMs + 1) * kCheckEveryMs;
    }
    if (rec.clock - rec.lastFlush >= kCheckEveryMs)
        flushAll();  // a window that draws nothing still flushes once a second
    rec.game.idle();
}

// Any event but a tick ends a run of ticks.
void recordFrame()
{
    writeTickRun();
    writeLine("f");
    rec.game.display();
    if (!rec.checkArmed)
        return;
    rec.checkArmed = false;
    writeChecksum();
    flushAll();
}

void recordKey(unsigned char key, int x, int y)
{
    writeTickRun();
    writeLine("k %d %d %d", key, x, y);
    rec.game.keyboard(key, x, y);
}

void recordMotion(int x, int y)
{
    writeTickRun();
    writeLine("m %d %d", x, y);
    rec.game.motion(x, y);
}

void recordReshape(int width, int height)
{
    writeTickRun();
    writeLine("r %d %d", width, height);
    rec.game.reshape(width, height);
}

const GameCallbacks& recordingCallbacks()
{
    static constexpr GameCallbacks kRecording = {recordFrame, recordReshape, recordKey, recordMotion, recordTick};
    return kRecording;
}

void finishRecording()
{
    if (rec.fd < 0)
        return;
    if (rec.begun) {
        writeChecksum();
        writeLine("end");
        flushBuffer();
    } else if (rec.created) {
        ::unlink(rec.path.c_str());  // a game that never started leaves nothing
    }
    ::close(rec.fd);
    rec.fd = -1;
    platform.elapsedMs = rec.clockSource;
}

// The file as written, what waits in the buffer, the pending ticks, then
// the ending: the same bytes finishRecording would leave, were the game to
// end now.
std::string recordingSoFar(std::string& error)
{
    if (rec.fd < 0 || !rec.begun || rec.failed) {
        error = rec.failed ? "the recording stopped early" : "nothing is being recorded";
        return "";
    }
    std::string text(static_cast<std::size_t>(rec.written), '\0');
    const int fd = ::open(rec.path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    ssize_t n = fd < 0 ? -1 : 1;
    while (n > 0 && done < text.size()) {
        n = ::read(fd, text.data() + done, text.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    if (fd >= 0)
        ::close(fd);
    if (done != text.size()) {
        error = "could not read " + rec.name + (n < 0 ? std::string(": ") + std::strerror(errno) : "");
        return "";
    }
    text.append(rec.buffer, rec.used);
    return text + tickRunLine() + checksumLine() + "end\n";
}
