// The command line: the game's own options, taken out before GLUT sees the
// rest, and GLUT's own options passed on in order.
#pragma once

#include "replay/screenshots.h"

#include <string>
#include <vector>

// ---- types -----------------------------------------------------------------

enum class Mode { Play, Record, Replay, Timedemo };

struct Options {
    Mode        mode = Mode::Play;
    std::string file;        // as given; empty with --replay alone: the shipped demo
    std::string path;        // the file made absolute from the starting directory
    ShotList    shots;
    bool        saveShots = false;
    bool        mute = false;     // no sound; a rendered soundtrack is silence
    std::string soundOut;    // --sound-out FILE as given, made absolute; empty: the sound device
    bool        help = false;
    bool        version = false;
    std::vector<char*> glutArgs;  // the program name, then GLUT's options and values in order
};

// ---- functions -------------------------------------------------------------

// Reads argv. On a usage error returns false with `error` naming the
// problem (one line, without the program name).
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

// The text --help prints.
const char* usageText();
