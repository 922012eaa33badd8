// Files the game reads (a recording) and writes (a recording, a rendered
// soundtrack): only regular ones, opened so that nothing can block or touch
// hardware.
#pragma once

#include <cstdio>
#include <string>

// ---- functions -------------------------------------------------------------

// Opens `path` for writing without emptying it: a regular file, or none yet
// (then it is made and `created` is set). A FIFO, a device or a folder is
// refused from its status, and the open itself cannot block (a FIFO swapped
// in meanwhile is caught after it). -1, with `error` naming `name` and the
// reason, when it can't be had.
int openOutputFile(const std::string& path, const std::string& name, bool& created, std::string& error);

// Opens `path` for reading: a regular file only. A FIFO, a device or a folder
// is refused from its status, and the open itself cannot block (a FIFO that
// takes the path's place between the two looks is caught after it). Null,
// with `error` giving the reason alone (no name), when it can't be had.
std::FILE* openInputFile(const std::string& path, std::string& error);
