// The texture table in the game's real window (run under Xvfb).
#include "assets/textures.h"

#include "bmp_writer.h"
#include "fake_platform.h"
#include "gl_scene.h"

#include <map>

namespace fs = std::filesystem;

// ---- types -----------------------------------------------------------------

struct SlotFile {
    TextureId   slot;
    const char* name;
};

struct Picture {
    std::uint32_t width, height;
    Bytes         rgb;
};

// ---- state -----------------------------------------------------------------

constexpr SlotFile kTable[] = {
    {1, "stars.bmp"},          {2, "Planet.bmp"},    {4, "clouds.bmp"},     {5, "nebula.bmp"},
    {6, "atm.bmp"},            {7, "gasplanet.bmp"}, {8, "particlewhite.bmp"}, {9, "smoke2.bmp"},
    {10, "smoke3.bmp"},        {11, "smoke.bmp"},    {12, "particlewhite.bmp"}, {13, "portal1.bmp"},
    {14, "portal2.bmp"},       {15, "Font.bmp"},     {16, "crosshair7.bmp"}, {17, "logo.bmp"},
    {18, "text.bmp"},
};

// ---- functions -------------------------------------------------------------

// A parameter of the texture in `slot`, or of its level 0.
static GLint parameter(TextureId slot, GLenum name, bool level = true)
{
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, slot);
    if (level)
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    else
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

// The texture's level 0, row t = 0 first, packed.
static Bytes texturePixels(TextureId slot)
{
    Bytes rgb(std::size_t(parameter(slot, GL_TEXTURE_WIDTH)) * parameter(slot, GL_TEXTURE_HEIGHT) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return rgb;
}

// Each test runs in a temp folder holding its own textures, with slots
// 1 to 40 emptied first: texture objects outlive a test.
class TextureTableTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        GLuint names[40];
        for (GLuint i = 0; i < 40; ++i)
            names[i] = i + 1;
        glDeleteTextures(40, names);
        fs::create_directory(dir.path() / "textures");
        savedDir = fs::current_path();
        fs::current_path(dir.path());
    }

    void TearDown() override
    {
        fs::current_path(savedDir);
        GameTest::TearDown();
    }

    // Every picture of the table, each its own size and pattern; widths
    // that are not multiples of four included.
    void writeTable(const std::string& except = "")
    {
        unsigned seed = 0;
        for (const SlotFile& entry : kTable) {
            if (pictures.count(entry.name))
                continue;
            ++seed;
            Picture picture{3 + seed, 2 + seed % 3, {}};
            picture.rgb = patternRgb(picture.width, picture.height, seed);
            pictures[entry.name] = picture;
            if (entry.name != except)
                writeFile(dir.path() / "textures" / entry.name,
                          bmpPicture(picture.width, picture.height, picture.rgb));
        }
    }

    TempDir                        dir;
    fs::path                       savedDir;
    std::map<std::string, Picture> pictures;
};

TEST_F(TextureTableTest, EverySlotHoldsItsPicture)
{
    writeTable();
    loadAllTextures();
    EXPECT_EQ(output(), "");

    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 18);
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 4);
    EXPECT_FALSE(glIsTexture(3));

    for (const SlotFile& entry : kTable) {
        SCOPED_TRACE(testing::Message() << "slot " << entry.slot << " " << entry.name);
        const Picture& picture = pictures[entry.name];
        ASSERT_TRUE(glIsTexture(entry.slot));
        const GLint format = parameter(entry.slot, GL_TEXTURE_INTERNAL_FORMAT);
        EXPECT_TRUE(format == 3 || format == GL_RGB) << format;
        EXPECT_EQ(parameter(entry.slot, GL_TEXTURE_MAG_FILTER, false), GL_NEAREST);
        EXPECT_EQ(parameter(entry.slot, GL_TEXTURE_MIN_FILTER, false), GL_NEAREST);
        EXPECT_TRUE(texturePixels(entry.slot) == picture.rgb);  // its size, the bottom row at t = 0, unskewed
    }
}

TEST_F(TextureTableTest, MissingCloudsEndsTheProgramAfterTwoSlots)
{
    writeTable("clouds.bmp");
    EXPECT_THROW(loadAllTextures(), ExitCalled);
    EXPECT_EQ(fake.exits, std::vector<int>{1});
    EXPECT_EQ(output(), "File Not Found : textures/clouds.bmp\n");
    EXPECT_TRUE(glIsTexture(1));
    EXPECT_TRUE(glIsTexture(2));
    for (TextureId slot = 4; slot <= 18; ++slot)
        EXPECT_FALSE(glIsTexture(slot)) << "slot " << slot;
}
