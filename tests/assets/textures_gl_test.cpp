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
// to 18 but 3 each hold their own image whole (its size, bottom row at
// t = 0, rows unskewed) with nearest filtering; particlewhite.bmp fills two.
TEST_F(TextureTable, EverySlotHoldsAnImageUnskewedAndAMissingOneEndsTheProgram)
{
    std::map<Bytes, std::string> written;  // picture, file name
    fs::create_directory(dir.path / "textures");
    for (const fs::directory_entry& entry : fs::directory_iterator("textures")) {
        if (entry.path().extension() != ".bmp")
            continue;  // the demo recording lies beside the images
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
    const std::pair<TextureId, const char*> table[] = {
        {1, "stars.bmp"}, {2, "Planet.bmp"}, {4, "clouds.bmp"}, {5, "nebula.bmp"}, {6, "atm.bmp"},
        {7, "gasplanet.bmp"}, {8, "particlewhite.bmp"}, {9, "smoke2.bmp"}, {10, "smoke3.bmp"},
        {11, "smoke.bmp"}, {12, "particlewhite.bmp"}, {13, "portal1.bmp"}, {14, "portal2.bmp"},
        {15, "Font.bmp"}, {16, "crosshair7.bmp"}, {17, "logo.bmp"}, {18, "text.bmp"},
    };
    for (const auto& [slot, file] : table) {
        const auto found = written.find(texture(slot));
        ASSERT_NE(found, written.end()) << "slot " << slot;
        EXPECT_EQ(found->second, file) << "slot " << slot;
        GLint mag = 0, min = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        EXPECT_EQ(std::pair(mag, min), std::pair(GL_NEAREST, GL_NEAREST)) << "slot " << slot;
    }
}
