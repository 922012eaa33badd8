// The texture table in the game's real window (run under Xvfb).
#include "assets/textures.h"

#include "bmp_writer.h"
#include "fake_platform.h"
#include "gl_scene.h"

#include <map>

namespace fs = std::filesystem;

// A slot's level 0 as uploaded, row t = 0 first, packed (the pack alignment
// stays 1).
static Bytes texture(TextureId slot)
{
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, slot);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    Bytes rgb(std::size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Loads from a temp folder; the game's own images are loaded back after.
class TextureTable : public GameTest {
protected:
    void TearDown() override
    {
        fs::current_path(savedDir);
        loadAllTextures();
        GameTest::TearDown();
    }

    TempDir dir;
    const fs::path savedDir = fs::current_path();
};

// Every image the game ships is written with its own size (widths that are
// not multiples of four included) and pattern. Loading stops at a missing
// one with status 1, the slots before it filled. With all present, slots 1
// to 18 but 3 each hold one of them whole (its size, bottom row at t = 0,
// rows unskewed) with nearest filtering, every image in one slot at least.
TEST_F(TextureTable, EverySlotHoldsAnImageUnskewedAndAMissingOneEndsTheProgram)
{
    std::map<Bytes, std::string> written;  // picture, file name
    fs::create_directory(dir.path / "textures");
    for (const fs::directory_entry& entry : fs::directory_iterator("textures")) {
        const std::uint32_t width = 5 + written.size(), height = 2 + width % 3;
        const Bytes rgb = patternRgb(width, height, width);
        written[rgb] = entry.path().filename().string();
        writeFile(dir.path / "textures" / written[rgb], bmpFile({width, height}, bmpRows(width, rgb)));
    }
    fs::current_path(dir.path);
    for (GLuint slot = 1; slot <= 40; ++slot)
        glDeleteTextures(1, &slot);
    fs::rename("textures/clouds.bmp", "clouds.bmp");
    EXPECT_THROW(loadAllTextures(), ExitCalled);
    EXPECT_EQ(fake.exits, std::vector<int>{1});
    EXPECT_EQ(output(), "File Not Found : textures/clouds.bmp\n");
    for (TextureId slot = 1; slot <= 18; ++slot)
        EXPECT_EQ(glIsTexture(slot) == GL_TRUE, slot < 3) << "slot " << slot;

    fs::rename("clouds.bmp", "textures/clouds.bmp");
    loadAllTextures();
    std::map<std::string, int> slotsOf;
    for (TextureId slot : {1u, 2u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 14u, 15u, 16u, 17u, 18u}) {
        const auto found = written.find(texture(slot));
        ASSERT_NE(found, written.end()) << "slot " << slot;
        ++slotsOf[found->second];
        GLint mag = 0, min = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        EXPECT_EQ(std::pair(mag, min), std::pair(GL_NEAREST, GL_NEAREST)) << "slot " << slot;
    }
    EXPECT_EQ(slotsOf.size(), written.size());
    EXPECT_EQ(texture(8), texture(12));
}
