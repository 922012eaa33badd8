// Saved frames (--shots) read back with libpng: the PNG holds the window's
// pixels as they are, top row first, red, green and blue in their places.
#include "replay/screenshots.h"

#include "core/platform.h"
#include "gl_scene.h"

#include <png.h>

#include <unistd.h>

#include <filesystem>

namespace {

// An unlit rectangle in window pixels from the bottom left.
void paint(int x, int y, int w, int h, const Rgb& c)
{
    glScissor(x, y, w, h);
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

// Two frames drawn, the second saved: an uneven picture with no channel
// alike, so a flip, a mirror, a shift or a swapped channel shows.
TEST_F(GlScene, SavedFrameIsTheWindowUpright)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("shots-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    ShotList list;
    ASSERT_TRUE(parseShotList("2", list));
    startScreenshots(list, dir.string(), 1000, 800);
    glEnable(GL_SCISSOR_TEST);
    paint(0, 0, 1000, 800, {40, 70, 110});
    paint(60, 520, 300, 200, {230, 20, 90});  // near the top left
    paint(700, 30, 250, 120, {10, 200, 60});  // near the bottom right
    paint(998, 0, 2, 800, {250, 250, 5});     // the last two columns
    glDisable(GL_SCISSOR_TEST);
    sysSwapBuffers();
    EXPECT_FALSE(std::filesystem::exists(dir / "shot-1.png"));
    sysSwapBuffers();
    const Frame window = readFrame();
    finishScreenshots();

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "shot-2.png").c_str())) << image.message;
    ASSERT_EQ(image.width, 1000u);
    ASSERT_EQ(image.height, 800u);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    std::filesystem::remove_all(dir);

    EXPECT_EQ((Rgb{rgb[3 * (100 * 1000 + 100)], rgb[3 * (100 * 1000 + 100) + 1], rgb[3 * (100 * 1000 + 100) + 2]}),
              (Rgb{230, 20, 90}));
    int wrong = 0;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1000; ++x) {
            const std::uint8_t* p = &rgb[3 * ((799 - y) * 1000 + x)];
            wrong += Rgb{p[0], p[1], p[2]} != window.at(x, y);
        }
    EXPECT_EQ(wrong, 0) << "pixels of the saved frame that differ from the window's";
}
