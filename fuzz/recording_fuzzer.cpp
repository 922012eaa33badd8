// libFuzzer entry for the recording reader: whatever it accepts must keep
// the promises playback relies on.
#include "replay/recording.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Recording recording;
    std::string error;
    if (!parseRecording(text, recording, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (recording.width < 1 || recording.height < 1 || (recording.complete && !text.ends_with("end\n")))
        std::abort();
    int clock = 0;
    for (const Event& e : recording.events) {
        const bool bad = (e.type == EventType::Tick && (e.a < clock || e.b < 1))
                      || (e.type == EventType::Key && (e.a < 0 || e.a > 255))
                      || (e.type != EventType::Tick && e.type != EventType::Check
                          && (e.a < 0 || e.b < 0 || e.c < 0 || e.a > kMaxCoordinate || e.b > kMaxCoordinate));
        if (bad)
            std::abort();
        if (e.type == EventType::Tick)
            clock = e.a;
    }
    return 0;
}
