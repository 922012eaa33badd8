// Writing PNG pictures: the frames a recording or a replay saves, and the
// game's icons.
#pragma once

// ---- functions -------------------------------------------------------------

// Writes an 8-bit RGB (3 channels) or RGBA (4) picture to `path`. Rows are
// packed; `bottomUp` says the first row in `pixels` is the picture's bottom
// one (as OpenGL reads them). The zlib stream uses stored blocks only, so the
// bytes depend on this code alone. Allocates nothing. Returns false, with
// errno set, when the file cannot be written.
bool writePng(const char* path, int width, int height, int channels, const unsigned char* pixels,
              bool bottomUp);
