// libFuzzer entry for the recording reader: whatever it accepts must keep
// the promises playback relies on.
#include "replay/recording.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Recording recording;
    RecordingError error;
    if (!parseRecording(text, recording, error)) {
        if (error.message.empty())
            std::abort();
        return 0;
    }
    if (recording.width < 1 || recording.height < 1 || (recording.complete && !text.ends_with("end\n")))
        std::abort();
    int clock = 0;
    int width = recording.width, height = recording.height;
    Event e;
    bool checked = false;  // the latest event was a checksum
    while (nextEvent(recording, e, error)) {
        const auto outside = [](int v) { return v < kMinCoordinate || v > kMaxCoordinate; };
        const bool bad = (e.type == EventType::Tick && (e.clock < clock || e.count < 1 || e.count > kMaxTicksPerLine))
                      || (e.type == EventType::Key && (e.key < 0 || e.key > 255))
                      || (e.type == EventType::Key && (outside(e.x) || outside(e.y)))
                      || (e.type == EventType::Motion && (outside(e.x) || outside(e.y)))
                      || (e.type == EventType::Reshape
                          && (std::min(e.width, e.height) < 0 || std::max(e.width, e.height) > kMaxCoordinate));
        if (bad)
            std::abort();
        if (e.type == EventType::Tick)
            clock = e.clock;
        if (e.type == EventType::Reshape) {
            width = std::max(width, e.width);
            height = std::max(height, e.height);
        }
        checked = e.type == EventType::Check;
    }
    // the second pass agrees with the first
    if (!error.message.empty() || width != recording.largestWidth || height != recording.largestHeight
        || (recording.complete && !checked))
        std::abort();
    return 0;
}
