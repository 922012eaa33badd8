// A rendered soundtrack read back from its WAV file: 16-bit stereo after a
// 44-byte header.
#pragma once

#include "files.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Stereo {
    std::uint32_t headerFrames = 0;  // what the header's data size says
    std::vector<std::int16_t> left, right;
};

inline Stereo readStereo(const std::string& path)
{
    const std::string bytes = fileText(path);
    Stereo s;
    if (bytes.size() < 44)
        return s;
    std::memcpy(&s.headerFrames, bytes.data() + 40, 4);
    s.headerFrames /= 4;
    for (std::size_t at = 44; at + 4 <= bytes.size(); at += 4) {
        std::int16_t lr[2];
        std::memcpy(lr, bytes.data() + at, 4);
        s.left.push_back(lr[0]);
        s.right.push_back(lr[1]);
    }
    return s;
}
