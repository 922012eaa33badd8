// Saved frames (--shots) read back with libpng: the PNG holds the window's
// pixels as they are, top row first, red, green and blue in their places.
#include "replay/screenshots.h"

#include "core/platform.h"
#include "files.h"
#include "gl_scene.h"
#include "game/state.h"

#include <png.h>

namespace {

// An unlit rectangle in window pixels from the bottom left.
void paint(int x, int y, int w, int h, const Rgb& c)
{
    glScissor(x, y, w, h);
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Reads `file` as RGB rows, top row first, and counts the pixels that
// differ from the window's bottom left width x height.
void expectWindowPixels(const std::filesystem::path& file, const Frame& window, unsigned width, unsigned height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str())) << image.message;
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(width, height)) << file;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    int wrong = 0;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgb[3 * ((height - 1 - y) * width + x)];
            wrong += Rgb{p[0], p[1], p[2]} != window.at(static_cast<int>(x), static_cast<int>(y));
        }
    EXPECT_EQ(wrong, 0) << "pixels of " << file << " that differ from the window's";
}

}  // namespace

// Frames 2 and 4 saved: an uneven picture with no channel alike, so a flip,
// a mirror, a shift or a swapped channel shows; frame 4 from a game 333
// pixels wide, whose rows of 999 bytes are not a multiple of 4.
TEST_F(GlScene, SavedFrameIsTheWindowUpright)
{
    const TempDir dir;
    ShotList list;
    ASSERT_TRUE(parseShotList("2,4", list));
    startScreenshots(list, dir.path.string(), 1000, 800);
    glEnable(GL_SCISSOR_TEST);
    paint(0, 0, 1000, 800, {40, 70, 110});
    paint(60, 520, 300, 200, {230, 20, 90});  // near the top left
    paint(700, 30, 250, 120, {10, 200, 60});  // near the bottom right
    paint(998, 0, 2, 800, {250, 250, 5});     // the last two columns
    paint(20, 150, 80, 40, {120, 230, 15});   // near the top left of 333 x 201
    paint(331, 0, 2, 201, {5, 90, 250});      // and its last two columns
    glDisable(GL_SCISSOR_TEST);
    sysSwapBuffers();
    EXPECT_FALSE(std::filesystem::exists(dir.path / "shot-1.png"));
    sysSwapBuffers();
    const Frame window = readFrame();
    EXPECT_EQ(std::pair(window.at(100, 699), window.at(40, 160)), std::pair(Rgb{230, 20, 90}, Rgb{120, 230, 15}));
    game.windowWidth = 333;
    game.windowHeight = 201;
    sysSwapBuffers();
    sysSwapBuffers();
    finishScreenshots();

    expectWindowPixels(dir.path / "shot-2.png", window, 1000, 800);
    expectWindowPixels(dir.path / "shot-4.png", window, 333, 201);
}
