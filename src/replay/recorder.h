// Recording a game (--record): every input that reaches the game is written
// down just before it is delivered, so the game can be replayed from them.
#pragma once

#include "core/callbacks.h"

#include <string>

// ---- functions -------------------------------------------------------------

// Creates `path` (overwriting it) and writes the header for a window of
// width x height. False, with `error` naming `name`, when it can't be made.
// From here the clock the game reads is the one the tick wrote down, and
// each event, once written, goes on to `game`.
bool startRecording(const std::string& path, const std::string& name, int width, int height,
                    const GameCallbacks& game, std::string& error);

// The callbacks start-up registers while recording.
const GameCallbacks& recordingCallbacks();

// The callbacks GLUT calls while recording: each writes its event, then
// hands it to the game. A tool that scripts a game calls them directly.
void recordTick();   // idle: reads the clock once and writes it
void recordFrame();  // display
void recordKey(unsigned char key, int x, int y);
void recordMotion(int x, int y);
void recordReshape(int width, int height);

// Writes the final checksum and the end line, and closes the file. Runs on
// every orderly exit (registered with atexit by the game); does nothing
// when no recording is open.
void finishRecording();
