// Recordings: a game kept as its inputs alone, one event a line.
//
//   quorvane-recording 1 game 0.1 window 1000 800   header: format, game version, window
//   t 1234        a tick (one idle call) that read the clock at 1234 ms
//   t 1234 5      five ticks in a row, nothing between them, all at 1234 ms
//   f             a frame (one display call)
//   k 32 500 400  a key, with the pointer position GLUT gave (may lie outside the window)
//   m 512 400     pointer motion without a button (likewise)
//   r 1000 800    a reshape
//   c 0123456789abcdef   checksum of the whole game state at this point
//   end           the game ended in order, after its final checksum; nothing may follow
//
// This file reads and checks them; it needs nothing from GL or GLUT, so a
// fuzzer can drive it alone. A recording is never held in memory: one pass
// checks every line and finds what start-up needs, a second one hands the
// events out a line at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// ---- types -----------------------------------------------------------------

enum class EventType : std::uint8_t { Tick, Frame, Key, Motion, Reshape, Check };

// One event line; only the fields of its type are read.
struct Event {
    EventType     type = EventType::Frame;
    std::int32_t  clock = 0;   // tick: ms
    std::int32_t  count = 0;   // tick: idle calls in a row at that clock
    std::int32_t  key = 0;     // key: the character's code
    std::int32_t  x = 0;       // key, motion: pointer, window pixels
    std::int32_t  y = 0;
    std::int32_t  width = 0;   // reshape: pixels
    std::int32_t  height = 0;
    std::uint64_t hash = 0;    // check
};

// What is wrong with a recording: where, and what.
struct RecordingError {
    std::int64_t line = 0;  // 1 for the header; 0 where the file as a whole is at fault
    std::string  message;
};

// Closes the recording's file.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open recording: what its checking pass found, and where its events are
// read from.
struct Recording {
    std::string  name;             // as the user gave it, for messages
    std::string  gameVersion;      // the game that wrote it
    int          width = 0;        // window at start, pixels
    int          height = 0;
    int          largestWidth = 0;   // the largest window it asks for, pixels
    int          largestHeight = 0;
    int          firstClock = 0;   // ms, read by its first tick
    bool         complete = false; // ends with its end line
    std::int64_t endsAt = 0;       // without it: the last line read

    // the reader
    std::unique_ptr<std::FILE, FileCloser> file;
    long         eventsAt = 0;     // offset of the first event line
    std::int64_t line = 0;         // lines read so far
    std::int64_t bytes = 0;        // bytes read so far
    int          clock = 0;        // ms, of the latest tick read
    bool         sawEnd = false;
    bool         afterCheck = false;  // the latest event was a checksum
};

// ---- constants -------------------------------------------------------------

constexpr int kRecordingFormat = 1;
constexpr int kMaxLineBytes = 256;  // newline included
constexpr int kMinCoordinate = -32768;  // pointer positions: what X can report
constexpr int kMaxCoordinate = 32767;   // and the largest window side
// Ticks one `t` line may count: no game runs this many idle calls in one
// millisecond (an unthrottled loop manages about 2,000); the writer starts
// a new line past it.
constexpr std::int64_t kMaxTicksPerLine = 100000;
// The largest recording the reader takes, and so the most the writer writes.
constexpr std::int64_t kMaxRecordingBytes = std::int64_t{1} << 30;

// ---- functions -------------------------------------------------------------

// Opens the file at `path` (a regular file only: a pipe or a device is
// refused before anything can block on it), checks every line and leaves
// the recording ready to hand out its first event. Every complete line must
// be well formed; a last line without its newline is dropped. On failure
// `error` says what is wrong and where, and false comes back.
bool loadRecording(const std::string& path, const std::string& name, Recording& recording,
                   RecordingError& error);

// The same over text in memory, which must outlive the recording.
bool parseRecording(std::string_view text, Recording& recording, RecordingError& error);

// The next event, in order. False at the end: the end line, where a cut
// file breaks off, or, with `error` set, a line that changed since the
// check.
bool nextEvent(Recording& recording, Event& event, RecordingError& error);

// The error as the game prints it, after the file's name as the user gave
// it: "demo.qvr:12: unknown event 'x'", or "demo.qvr: is empty".
std::string describeError(const std::string& name, const RecordingError& error);

// The header line for this game, without its newline.
std::string recordingHeader(const std::string& gameVersion, int width, int height);
