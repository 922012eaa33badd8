// Recording a game (--record): every input that reaches the game is written
// down just before it is delivered, so the game can be replayed from them.
#pragma once

#include "core/callbacks.h"

#include <cstdint>
#include <string>

// ---- functions -------------------------------------------------------------

// Opens `path` for a recording without touching what it holds: it must be
// a regular file, or none yet. False, with `error` naming `name`, when it
// can't be written or is a FIFO, a device or a folder. From here the clock
// the game reads is the one the tick wrote down, and each event, once
// written, goes on to `game`.
bool openRecording(const std::string& path, const std::string& name, const GameCallbacks& game,
                   std::string& error);

// Once the game's window is open: empties the file and writes the header
// for a window of width x height. Events before it are not written.
void beginRecording(int width, int height);

// Both at once, for tools that script a game in a window already open.
bool startRecording(const std::string& path, const std::string& name, int width, int height,
                    const GameCallbacks& game, std::string& error);

// The most the file may hold, in bytes (kMaxRecordingBytes): the writer
// stops short of it, as on a full disk. Tests set a smaller one.
void setRecordingLimit(std::int64_t bytes);

// The callbacks start-up registers while recording.
const GameCallbacks& recordingCallbacks();

// The callbacks GLUT calls while recording: each writes its event, then
// hands it to the game. A tool that scripts a game calls them directly.
void recordTick();   // idle: reads the clock once and writes it
void recordFrame();  // display
void recordKey(unsigned char key, int x, int y);
void recordMotion(int x, int y);
void recordReshape(int width, int height);

// Writes the final checksum and the end line, and closes the file; a file
// never begun is left as it was (removed when it was made here). Runs on
// every orderly exit (registered with atexit by the game); does nothing
// when no recording is open.
void finishRecording();

// Everything recorded so far, ended as finishRecording would end it (the
// checksum of the game as it is now, then `end`), while the game and its
// file go on untouched. Empty, with `error`, when nothing complete can be
// had: no recording begun, or its writing stopped.
std::string recordingSoFar(std::string& error);
