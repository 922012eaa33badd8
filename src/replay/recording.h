// Recordings: a game kept as its inputs alone, one event a line.
//
//   quorvane-recording 1 game 0.1 window 1000 800   header: format, game version, window
//   t 1234        a tick (one idle call) that read the clock at 1234 ms
//   t 1234 5      five ticks in a row, nothing between them, all at 1234 ms
//   f             a frame (one display call)
//   k 32 500 400  a key, with the pointer position GLUT gave
//   m 512 400     pointer motion without a button
//   r 1000 800    a reshape
//   c 0123456789abcdef   checksum of the whole game state at this point
//   end           the game ended in order; nothing may follow
//
// This file reads and checks them; it needs nothing from GL or GLUT, so a
// fuzzer can drive it alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ---- types -----------------------------------------------------------------

enum class EventType : std::uint8_t { Tick, Frame, Key, Motion, Reshape, Check };

struct Event {
    EventType     type = EventType::Frame;
    std::int32_t  a = 0;  // tick: clock, ms; key: code; motion: x; reshape: width
    std::int32_t  b = 0;  // tick: count; key: x; motion: y; reshape: height
    std::int32_t  c = 0;  // key: y
    std::uint64_t hash = 0;  // check
};

struct Recording {
    std::string        gameVersion;    // the game that wrote it
    int                width = 0;      // window at start, pixels
    int                height = 0;
    std::vector<Event> events;
    bool               complete = false;  // ends with its end line
    int                endsAt = 0;        // without it: the line where it broke off
};

// ---- constants -------------------------------------------------------------

constexpr int kRecordingFormat = 1;
constexpr int kMaxLineBytes = 256;  // newline included
constexpr int kMaxCoordinate = 32767;
// Ticks one `t` line may count: no game runs this many idle calls in one
// millisecond (an unthrottled loop manages about 2,000); the writer starts
// a new line past it.
constexpr std::int64_t kMaxTicksPerLine = 100000;
// The largest recording the reader takes, and so the most the writer writes.
constexpr std::int64_t kMaxRecordingBytes = std::int64_t{1} << 30;

// ---- functions -------------------------------------------------------------

// Parses a whole recording. Every complete line must be well formed; a last
// line without its newline is dropped, as is everything when the header is
// wrong. On failure `error` says what is wrong, starting with "line N: "
// where there is a line, and false comes back.
bool parseRecording(std::string_view text, Recording& recording, std::string& error);

// Reads and parses the file at `path`; errors start with `name`, the file
// as the user gave it ("demo.qvr:12: unknown event 'x'").
bool loadRecording(const std::string& path, const std::string& name, Recording& recording,
                   std::string& error);

// The header line for this game, without its newline.
std::string recordingHeader(const std::string& gameVersion, int width, int height);
