// Saving chosen frames as PNG pictures while recording or replaying
// (--shots): the back buffer's RGB, read just before the swap.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// ---- types -----------------------------------------------------------------

// Frames numbered from 1: single numbers, ranges and the last frame.
struct ShotList {
    struct Range {
        int first = 0;
        int last = 0;
    };
    std::vector<Range> ranges;
    bool lastFrame = false;  // "last": the final frame, whatever its number
};

// ---- functions -------------------------------------------------------------

// "3,10-20,last": false when the text is not such a list.
bool parseShotList(std::string_view text, ShotList& list);

// From now on every swap counts a frame and, just before it, saves the
// frame when it is listed (`dir`/shot-N.png) and keeps it when it may be
// the last. Room for a window up to maxWidth x maxHeight, within the
// screen, is made at the first frame kept, so nothing is allocated frame by
// frame (a larger window grows it). Frames are read at most the window's
// size.
void startScreenshots(const ShotList& list, const std::string& dir, int maxWidth, int maxHeight);

// Saves the last frame kept as `dir`/shot-last.png, when the list asks for
// it. Once only; later calls do nothing.
void finishScreenshots();
