// libFuzzer entry for the BMP reader: every input becomes the content of an
// in-memory file that loadBMP opens by path.
#include "assets/bmp.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

// ---- state -----------------------------------------------------------------

static int         memoryFile = -1;
static std::string memoryPath;

// ---- functions -------------------------------------------------------------

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    memoryFile = memfd_create("fuzz.bmp", 0);
    if (memoryFile < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    memoryPath = "/proc/self/fd/" + std::to_string(memoryFile);
    std::cout.rdbuf(nullptr);  // one refusal line per input would swamp the run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (ftruncate(memoryFile, 0) != 0 ||
        pwrite(memoryFile, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    Image image;
    // Whatever loads must be exactly the picture its size claims.
    if (loadBMP(memoryPath, image) &&
        image.pixels.size() != std::size_t{image.width} * image.height * 3)
        std::abort();
    return 0;
}
