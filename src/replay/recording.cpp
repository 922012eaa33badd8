#include "replay/recording.h"

#include "core/output_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>

// ---- types -----------------------------------------------------------------

namespace {

// One line split at single spaces.
struct Fields {
    std::array<std::string_view, 8> items;
    int count = 0;  // more than the array holds is counted but not kept
};

// How a line was read.
enum class Raw {
    None,    // nothing left
    Whole,   // a line and its newline, or the longest a line may be
    Cut,     // a last line without its newline: a killed writer
    Failed,  // the file could not be read
};

// What reading one event line found.
enum class Next {
    Event,       // an event
    EndLine,     // the end line the writer closes a finished game with
    OutOfLines,  // no whole line left: the end of the file, or a last line cut short
    Failed,
};

constexpr std::int64_t kMaxClock = std::numeric_limits<std::int32_t>::max();

}  // namespace

// ---- functions -------------------------------------------------------------

static Fields split(std::string_view line)
{
    Fields fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t space = line.find(' ', start);
        const std::string_view item = line.substr(start, space - start);
        if (fields.count < static_cast<int>(fields.items.size()))
            fields.items[static_cast<std::size_t>(fields.count)] = item;
        ++fields.count;
        if (space == std::string_view::npos)
            return fields;
        start = space + 1;
    }
}

// A plain decimal number from low to high: a minus sign only where low is
// below zero, no plus, no leading junk.
static bool number(std::string_view text, std::int64_t low, std::int64_t high, std::int32_t& value)
{
    if (text.empty() || text.size() > 11 || (text[0] == '-' && low >= 0))
        return false;
    std::int64_t parsed = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (status != std::errc() || end != text.data() + text.size())
        return false;
    if (parsed < low || parsed > high)
        return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

static bool hexHash(std::string_view text, std::uint64_t& hash)
{
    if (text.size() != 16)
        return false;
    for (char ch : text)
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f')))
            return false;
    std::from_chars(text.data(), text.data() + text.size(), hash, 16);
    return true;
}

static RecordingError lineError(std::int64_t line, const std::string& what)
{
    return {line, what};
}

static RecordingError fileError(const std::string& what)
{
    return {0, what};
}

// The first byte that has no place in a recording's text, or -1.
static int badByte(std::string_view line)
{
    for (char ch : line) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte > 0x7e)
            return byte;
    }
    return -1;
}

static bool parseHeader(std::string_view line, Recording& recording, RecordingError& error)
{
    const Fields f = split(line);
    if (f.count != 7 || f.items[0] != "quorvane-recording" || f.items[2] != "game"
        || f.items[4] != "window" || f.items[3].empty()) {
        error = lineError(1, "not a quorvane recording");
        return false;
    }
    std::int32_t format = 0;
    if (!number(f.items[1], 0, kMaxClock, format) || format != kRecordingFormat) {
        error = lineError(1, "recording format " + std::string(f.items[1]) + " is not "
                                 + std::to_string(kRecordingFormat) + ", which this game reads");
        return false;
    }
    std::int32_t width = 0, height = 0;
    if (!number(f.items[5], 1, kMaxCoordinate, width) || !number(f.items[6], 1, kMaxCoordinate, height)) {
        error = lineError(1, "the window size is out of range");
        return false;
    }
    recording.gameVersion = std::string(f.items[3]);
    recording.width = width;
    recording.height = height;
    return true;
}

// Where one argument of an event goes, and its range.
struct Argument {
    std::int32_t* field;
    std::int64_t  low;
    std::int64_t  high;
};

// Reads exactly these arguments of an event, each within its range.
static bool arguments(const Fields& f, std::initializer_list<Argument> expected)
{
    if (f.count != static_cast<int>(expected.size()) + 1)
        return false;
    int i = 1;
    for (const Argument& argument : expected)
        if (!number(f.items[static_cast<std::size_t>(i++)], argument.low, argument.high, *argument.field))
            return false;
    return true;
}

static bool parseEvent(std::string_view line, Event& event)
{
    const Fields f = split(line);
    const std::string_view name = f.items[0];
    if (name == "t") {
        event.type = EventType::Tick;
        event.count = 1;
        return arguments(f, {{&event.clock, 0, kMaxClock}})
            || arguments(f, {{&event.clock, 0, kMaxClock}, {&event.count, 1, kMaxClock}});
    }
    if (name == "f") {
        event.type = EventType::Frame;
        return f.count == 1;
    }
    if (name == "k") {
        event.type = EventType::Key;
        return arguments(f, {{&event.key, 0, 255}, {&event.x, kMinCoordinate, kMaxCoordinate},
                             {&event.y, kMinCoordinate, kMaxCoordinate}});
    }
    if (name == "m") {
        event.type = EventType::Motion;
        return arguments(f, {{&event.x, kMinCoordinate, kMaxCoordinate}, {&event.y, kMinCoordinate, kMaxCoordinate}});
    }
    if (name == "r") {
        event.type = EventType::Reshape;
        return arguments(f, {{&event.width, 0, kMaxCoordinate}, {&event.height, 0, kMaxCoordinate}});
    }
    if (name == "c") {
        event.type = EventType::Check;
        return f.count == 2 && hexHash(f.items[1], event.hash);
    }
    return false;
}

static bool knownEvent(std::string_view line)
{
    const std::string_view name = line.substr(0, line.find(' '));
    return name == "t" || name == "f" || name == "k" || name == "m" || name == "r" || name == "c";
}

static bool checkText(std::string_view line, std::int64_t number, RecordingError& error)
{
    if (line.size() + 1 > static_cast<std::size_t>(kMaxLineBytes)) {
        error = lineError(number, "longer than " + std::to_string(kMaxLineBytes) + " bytes");
        return false;
    }
    const int bad = badByte(line);
    if (bad == 0) {
        error = lineError(number, "holds a NUL byte");
        return false;
    }
    if (bad > 0) {
        char hex[12];
        std::snprintf(hex, sizeof hex, "0x%02x", bad);
        error = lineError(number, std::string("holds the byte ") + hex + ", which is not text");
        return false;
    }
    return true;
}

// Reads one line, without its newline, into `text`.
static Raw readRaw(Recording& r, std::array<char, kMaxLineBytes>& text, std::size_t& length)
{
    std::FILE* const file = r.file.get();
    length = 0;
    while (length < text.size()) {
        const int ch = getc_unlocked(file);
        if (ch == EOF) {
            if (std::ferror(file))
                return Raw::Failed;
            return length == 0 ? Raw::None : Raw::Cut;
        }
        ++r.bytes;
        if (ch == '\n')
            return Raw::Whole;
        text[length++] = static_cast<char>(ch);
    }
    return Raw::Whole;  // too long: checkText names it
}

static std::string tooLarge()
{
    return "is larger than " + std::to_string(kMaxRecordingBytes) + " bytes, more than any game records";
}

// Checks the event on one complete line against what came before it.
static bool checkEvent(Recording& r, std::string_view line, Event& event, RecordingError& error)
{
    if (!parseEvent(line, event)) {
        const std::string shown(line.substr(0, 40));
        error = lineError(r.line, knownEvent(line) ? "malformed event '" + shown + "'"
                                                   : "unknown event '" + shown + "'");
        return false;
    }
    if (event.type == EventType::Tick && event.count > kMaxTicksPerLine) {
        error = lineError(r.line, "'" + std::string(line) + "' counts more than "
                                      + std::to_string(kMaxTicksPerLine) + " ticks");
        return false;
    }
    if (event.type == EventType::Tick) {
        if (event.clock < r.clock) {
            error = lineError(r.line, "the clock goes back from " + std::to_string(r.clock) + " to "
                                          + std::to_string(event.clock) + " ms");
            return false;
        }
        r.clock = event.clock;
    }
    r.afterCheck = event.type == EventType::Check;
    return true;
}

// Reads the line after the header's, or the one after that, and so on.
static Next readEvent(Recording& r, Event& event, RecordingError& error)
{
    std::array<char, kMaxLineBytes> text;
    std::size_t length = 0;
    const Raw raw = readRaw(r, text, length);
    if (raw == Raw::Failed) {
        error = fileError("could not be read");
        return Next::Failed;
    }
    if (raw == Raw::None)
        return Next::OutOfLines;
    ++r.line;
    const std::string_view line(text.data(), length);
    if (r.bytes > kMaxRecordingBytes) {
        error = fileError(tooLarge());
        return Next::Failed;
    }
    if (!checkText(line, r.line, error))
        return Next::Failed;
    if (r.sawEnd) {
        error = lineError(r.line, "nothing may follow the end line");
        return Next::Failed;
    }
    if (raw == Raw::Cut)
        return Next::OutOfLines;  // what the writer wrote of it is text, but not a whole event
    if (line == "end") {
        if (!r.afterCheck) {
            error = lineError(r.line, "the end line must follow the final checksum");
            return Next::Failed;
        }
        r.sawEnd = true;
        return Next::EndLine;
    }
    return checkEvent(r, line, event, error) ? Next::Event : Next::Failed;
}

static bool readHeader(Recording& r, RecordingError& error)
{
    std::array<char, kMaxLineBytes> text;
    std::size_t length = 0;
    const Raw raw = readRaw(r, text, length);
    if (raw == Raw::Failed) {
        error = fileError("could not be read");
        return false;
    }
    if (raw == Raw::None) {
        error = fileError("is empty");
        return false;
    }
    r.line = 1;
    const std::string_view line(text.data(), length);
    if (!checkText(line, 1, error))
        return false;
    if (raw == Raw::Cut) {
        error = lineError(1, "the header line is incomplete");
        return false;
    }
    return parseHeader(line, r, error);
}

// Back to the first event, as the checking pass found it.
static bool rewind(Recording& r)
{
    if (std::fseek(r.file.get(), r.eventsAt, SEEK_SET) != 0)
        return false;
    r.line = 1;
    r.bytes = r.eventsAt;
    r.clock = 0;
    r.sawEnd = false;
    r.afterCheck = false;
    return true;
}

// The checking pass: every line, and what start-up needs to know.
static bool checkAll(Recording& r, RecordingError& error)
{
    if (!readHeader(r, error))
        return false;
    r.eventsAt = std::ftell(r.file.get());
    r.largestWidth = r.width;
    r.largestHeight = r.height;
    bool ticked = false;
    Event event;
    while (true) {
        const Next next = readEvent(r, event, error);
        if (next == Next::Failed)
            return false;
        if (next == Next::OutOfLines)
            break;
        if (next == Next::EndLine)
            continue;  // to see that nothing follows
        if (event.type == EventType::Reshape) {
            r.largestWidth = std::max(r.largestWidth, event.width);
            r.largestHeight = std::max(r.largestHeight, event.height);
        }
        if (event.type == EventType::Tick && !ticked) {
            ticked = true;
            r.firstClock = event.clock;
        }
    }
    r.complete = r.sawEnd;
    r.endsAt = r.complete ? 0 : r.line;
    if (!rewind(r)) {
        error = fileError("could not be read");
        return false;
    }
    return true;
}

bool loadRecording(const std::string& path, const std::string& name, Recording& recording,
                   RecordingError& error)
{
    recording = Recording{};
    recording.name = name;
    error = {};
    std::string reason;
    recording.file.reset(openInputFile(path, reason));
    if (!recording.file) {
        error = fileError(reason);
        return false;
    }
    struct stat info{};
    if (fstat(fileno(recording.file.get()), &info) == 0 && info.st_size > kMaxRecordingBytes)
        error = fileError(tooLarge());
    if (!error.message.empty() || !checkAll(recording, error)) {
        recording.file.reset();
        return false;
    }
    return true;
}

bool parseRecording(std::string_view text, Recording& recording, RecordingError& error)
{
    recording = Recording{};
    recording.name = "text";
    if (text.empty()) {
        error = fileError("is empty");
        return false;
    }
    recording.file.reset(fmemopen(const_cast<char*>(text.data()), text.size(), "r"));
    if (!recording.file || !checkAll(recording, error)) {
        if (!recording.file)
            error = fileError(std::strerror(errno));
        recording.file.reset();
        return false;
    }
    return true;
}

bool nextEvent(Recording& recording, Event& event, RecordingError& error)
{
    error = {};
    if (!recording.file || recording.sawEnd)
        return false;
    return readEvent(recording, event, error) == Next::Event;
}

std::string recordingHeader(const std::string& gameVersion, int width, int height)
{
    return "quorvane-recording " + std::to_string(kRecordingFormat) + " game " + gameVersion + " window "
         + std::to_string(width) + " " + std::to_string(height);
}

std::string describeError(const std::string& name, const RecordingError& error)
{
    if (error.line > 0)
        return name + ":" + std::to_string(error.line) + ": " + error.message;
    return name + ": " + error.message;
}
