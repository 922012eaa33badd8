#include "replay/recording.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

// ---- types -----------------------------------------------------------------

namespace {

// One line split at single spaces.
struct Fields {
    std::array<std::string_view, 8> items;
    int count = 0;  // more than the array holds is counted but not kept
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

// A plain decimal number from low to high, no sign, no leading junk.
static bool number(std::string_view text, std::int64_t low, std::int64_t high, std::int32_t& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    std::int64_t parsed = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (status != std::errc() || end != text.data() + text.size() || text[0] == '-' || text[0] == '+')
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

static std::string lineError(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
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

static bool parseHeader(std::string_view line, Recording& recording, std::string& error)
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

// Reads the arguments of an event into a, b and c within their ranges.
static bool arguments(const Fields& f, std::initializer_list<std::pair<std::int64_t, std::int64_t>> ranges,
                      Event& event)
{
    if (f.count != static_cast<int>(ranges.size()) + 1)
        return false;
    std::int32_t* slots[] = {&event.a, &event.b, &event.c};
    std::size_t i = 0;
    for (const auto& [low, high] : ranges) {
        if (!number(f.items[i + 1], low, high, *slots[i]))
            return false;
        ++i;
    }
    return true;
}

static bool parseEvent(std::string_view line, Event& event)
{
    const Fields f = split(line);
    const std::string_view name = f.items[0];
    if (name == "t") {
        event.type = EventType::Tick;
        event.b = 1;
        return arguments(f, {{0, kMaxClock}}, event) || arguments(f, {{0, kMaxClock}, {1, kMaxClock}}, event);
    }
    if (name == "f") {
        event.type = EventType::Frame;
        return f.count == 1;
    }
    if (name == "k") {
        event.type = EventType::Key;
        return arguments(f, {{0, 255}, {0, kMaxCoordinate}, {0, kMaxCoordinate}}, event);
    }
    if (name == "m") {
        event.type = EventType::Motion;
        return arguments(f, {{0, kMaxCoordinate}, {0, kMaxCoordinate}}, event);
    }
    if (name == "r") {
        event.type = EventType::Reshape;
        return arguments(f, {{0, kMaxCoordinate}, {0, kMaxCoordinate}}, event);
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

// Checks one complete line after the header and appends its event.
static bool parseLine(std::string_view line, int number, Recording& recording, int& lastClock,
                      std::string& error)
{
    if (recording.complete) {
        error = lineError(number, "nothing may follow the end line");
        return false;
    }
    if (line == "end") {
        recording.complete = true;
        return true;
    }
    Event event;
    if (!parseEvent(line, event)) {
        const std::string shown(line.substr(0, 40));
        error = lineError(number, knownEvent(line) ? "malformed event '" + shown + "'"
                                                   : "unknown event '" + shown + "'");
        return false;
    }
    if (event.type == EventType::Tick) {
        if (event.a < lastClock) {
            error = lineError(number, "the clock goes back from " + std::to_string(lastClock) + " to "
                                          + std::to_string(event.a) + " ms");
            return false;
        }
        lastClock = event.a;
    }
    recording.events.push_back(event);
    return true;
}

static bool checkText(std::string_view line, int number, std::string& error)
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
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", bad);
        error = lineError(number, std::string("holds the byte ") + hex + ", which is not text");
        return false;
    }
    return true;
}

bool parseRecording(std::string_view text, Recording& recording, std::string& error)
{
    recording = Recording{};
    if (text.empty()) {
        error = "is empty";
        return false;
    }
    int number = 0;
    int lastClock = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::string_view line = text.substr(start, newline - start);
        ++number;
        if (!checkText(line, number, error))
            return false;
        if (newline == std::string_view::npos && recording.complete) {
            error = lineError(number, "nothing may follow the end line");
            return false;
        }
        if (newline == std::string_view::npos)
            break;  // cut off mid-line: a killed writer; what it wrote is text
        if (number == 1 ? !parseHeader(line, recording, error)
                        : !parseLine(line, number, recording, lastClock, error))
            return false;
        start = newline + 1;
    }
    if (recording.width == 0) {
        error = lineError(1, "the header line is incomplete");
        return false;
    }
    if (!recording.complete)
        recording.endsAt = number + (start == text.size() ? 1 : 0);
    return true;
}

// Reads until the end, or until the text can no longer be a recording (a
// byte that is not text, a line too long, more than any game writes), so
// that a device or a pipe without end cannot hang the game.
static bool readText(std::FILE* file, std::string& text)
{
    constexpr std::size_t kMaxBytes = std::size_t{1} << 30;
    char chunk[65536];
    std::size_t lineLength = 0;
    while (text.size() < kMaxBytes) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        text.append(chunk, got);
        for (std::size_t i = 0; i < got; ++i) {
            if (chunk[i] == '\n') {
                lineLength = 0;
                continue;
            }
            if (++lineLength >= static_cast<std::size_t>(kMaxLineBytes) || badByte({&chunk[i], 1}) >= 0)
                return true;  // the parser names the line
        }
        if (got < sizeof chunk)
            return !std::ferror(file);
    }
    return true;
}

bool loadRecording(const std::string& path, const std::string& name, Recording& recording,
                   std::string& error)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = name + ": is a directory";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = name + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    const bool read = readText(file, text);
    std::fclose(file);
    if (!read) {
        error = name + ": could not be read";
        return false;
    }
    if (!parseRecording(text, recording, error)) {
        error = name + (error.rfind("line ", 0) == 0 ? ":" + error.substr(5) : ": " + error);
        return false;
    }
    return true;
}

std::string recordingHeader(const std::string& gameVersion, int width, int height)
{
    return "quorvane-recording " + std::to_string(kRecordingFormat) + " game " + gameVersion + " window "
         + std::to_string(width) + " " + std::to_string(height);
}
