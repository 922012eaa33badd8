// A header may claim any size; the reader must not believe it before it
// knows the file holds that many bytes.
#include "assets/bmp.h"

#include "bmp_writer.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// ---- state -----------------------------------------------------------------

static bool        tracking = false;
static std::size_t largest = 0;  // bytes, the largest request while tracking

// ---- functions -------------------------------------------------------------

void* operator new(std::size_t size)
{
    if (tracking && size > largest)
        largest = size;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

class BmpAllocationTest : public GameTest {
protected:
    // The largest single allocation made while loading `file`.
    std::size_t largestWhileLoading(const Bytes& file, bool& loaded)
    {
        writeFile(name, file);
        Image image;
        largest = 0;
        tracking = true;
        loaded = loadBMP(name, image);
        tracking = false;
        return largest;
    }

    TempDir           dir;
    const std::string name = dir.file("claims.bmp");
};

TEST_F(BmpAllocationTest, HugeClaimsAreRefusedBeforeAllocating)
{
    struct Claim {
        std::uint32_t width, height;
    };
    for (const Claim claim : {Claim{65536, 65536}, Claim{3000000, 2000000}, Claim{10000, 10000},
                              Claim{0x55555555, 1}, Claim{1, 0x7FFFFFFF}}) {
        bool loaded = true;
        const std::size_t bytes =
            largestWhileLoading(bmpFile({.width = claim.width, .height = claim.height}, Bytes(64)), loaded);
        EXPECT_FALSE(loaded);
        EXPECT_LT(bytes, std::size_t{1} << 20) << claim.width << " x " << claim.height;
    }
}
