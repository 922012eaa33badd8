// Pictures of the real game for the README: the title screen, play with
// missiles, trails, shots and an explosion, and game over. The real start-up
// and callbacks run on a scripted clock, one idle tick and one frame every
// 11 ms, so every run draws the same pictures. Run it from the directory
// that holds textures/; the PNG files go to the directory given.
#include "app/app.h"
#include "camera/mouse_look.h"
#include "core/platform.h"
#include "core/vec3.h"
#include "game/missiles.h"
#include "game/state.h"
#include "render/frame.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

// ---- state -----------------------------------------------------------------

constexpr int kTickMs = 11;           // just over the missiles' 10 ms step
constexpr int kMaxTicks = 20000;      // about 220 s of game time

static int clockMs = 0;

// ---- platform ----------------------------------------------------------------

static int  scriptedClock() { return clockMs; }
static void noWarp(int, int) {}
static void noRedisplay() {}
static void noSwap() {}  // frames are read from the back buffer
static void quit(int status) { std::exit(status); }

// ---- pictures ----------------------------------------------------------------

static bool writePng(const std::string& path, int width, int height, const std::vector<png_byte>& rgb)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = height - 1; y >= 0; --y)  // GL rows run bottom-up
        png_write_row(png, &rgb[static_cast<std::size_t>(y) * width * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

static void shoot(const std::string& directory, const std::string& name)
{
    const int width = game.windowWidth;
    const int height = game.windowHeight;
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = directory + "/" + name;
    if (!writePng(path, width, height, rgb)) {
        std::cerr << "cannot write " << path << '\n';
        std::exit(1);
    }
    std::cerr << path << " at " << clockMs << " ms\n";
}

// ---- script ------------------------------------------------------------------

static int ticks = 0;

static void tick()
{
    if (++ticks > kMaxTicks) {
        std::cerr << "the script ran out of time\n";
        std::exit(1);
    }
    clockMs += kTickMs;
    idleUpdate();
    displayFrame();
}

template <typename Done>
static void runUntil(Done done)
{
    while (!done())
        tick();
}

static void runFor(int ms)
{
    const int end = clockMs + ms;
    runUntil([&] { return clockMs >= end; });
}

// Missiles near enough to show their model, inside the middle of the view.
static int missilesInView()
{
    const Camera& camera = game.camera;
    const Vec3 view = camera.center - camera.eye;
    const float viewLength = distance(camera.center, camera.eye);
    int seen = 0;
    for (const Missile& missile : game.missiles) {
        const Vec3 to = missile.position - camera.eye;
        const float length = distance(missile.position, camera.eye);
        const float cosine = (to.x * view.x + to.y * view.y + to.z * view.z) / (length * viewLength);
        seen += length < 400 && cosine > 0.9f;
    }
    return seen;
}

// Fires along the current view: the play camera's back is only set by the
// first mouse-look update, so it is taken from the view as it stands.
static void fireAlongTheView()
{
    game.camera.back = game.camera.eye - game.camera.center;
    keyPressed(' ', 0, 0);
}

int main(int argc, char** argv)
{
    const std::string directory = argc > 1 ? argv[1] : ".";
    std::cout.setstate(std::ios::failbit);  // the game's progress lines are not wanted here
    platform = Platform{scriptedClock, noWarp, noRedisplay, noSwap, quit};
    startGame(argc > 0 ? 1 : 0, argv);

    runFor(3000);  // missiles already fly behind the title
    shoot(directory, "title.png");

    keyPressed(' ', 0, 0);
    // After the first impact, a volley every half second until two missiles
    // close in while the explosion still burns.
    runUntil([] { return game.population < 100; });
    int nextShot = clockMs;
    runUntil([&] {
        if (clockMs >= nextShot) {
            fireAlongTheView();
            nextShot += 500;
        }
        return !game.explosions.empty() && missilesInView() >= 2;
    });
    shoot(directory, "play.png");

    runUntil([] { return game.population <= 0; });
    runFor(1500);
    shoot(directory, "gameover.png");
    return 0;
}
