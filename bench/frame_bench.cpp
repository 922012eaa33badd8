// Frame benchmark: the real displayFrame at 1000 x 800 for a heavy scene
// (7 missiles with their trails, 20 explosions, 20 shots, the HUD) and a
// light one (title screen, 7 missiles), built by playing the game through its
// own functions on a scripted clock. For each it prints the frame rate, the
// same with every particle drawn on its own (a bind and a strip each, as the
// game once drew them), and the time a frame spends outside OpenGL.
//
// Run under X (xvfb-run when there is no display), from anywhere:
//   frame_bench [--runs N] [--frames N] [--warmup N] [--shots DIR] [--near]
// --near puts the heavy scene's explosions around the planet instead of far
// out: close enough to fill many pixels, which costs both drawings alike.
#include "core/platform.h"
#include "effects/particles.h"
#include "game/state.h"
#include "null_gl.h"
#include "render/frame.h"
#include "scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

// ---- types -----------------------------------------------------------------

struct Settings {
    int         runs = 7;     // timed runs; the median is reported
    int         frames = 20;  // frames per run
    int         warmup = 3;   // untimed frames first
    const char* shots = nullptr;  // folder for a picture of each scene, if given
    bool        nearPlanet = false; // the heavy scene's explosions around the planet
};

static void noSwap() {}

static std::size_t particleCount(const std::vector<ParticleEmitter>& emitters)
{
    std::size_t n = 0;
    for (const ParticleEmitter& e : emitters)
        n += e.particles.size();
    return n;
}

// ---- timing ----------------------------------------------------------------

static double seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Processor time of this thread (the game's own work runs on it alone) or
// of the whole process (the renderer's threads too). Other programs on a
// busy machine do not count against either.
static double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

static double threadSeconds() { return cpuSeconds(CLOCK_THREAD_CPUTIME_ID); }
static double processSeconds() { return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

struct FrameTime {
    double real = 0;       // s
    double processor = 0;  // s of processor time, all threads together
};

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Seconds of one whole frame, finished by the renderer too. A stubbed frame
// is timed in processor time, a drawn one in real time (the renderer has
// threads of its own).
static FrameTime timeFrame(const Scene& s)
{
    restore(s);
    if (nullGl) {
        const double start = threadSeconds();
        displayFrame();
        const double t = threadSeconds() - start;
        return {t, t};
    }
    glFinish();
    const double start = seconds();
    const double startProcessor = processSeconds();
    displayFrame();
    glFinish();
    return {seconds() - start, processSeconds() - startProcessor};
}

// The mean of a run of frames.
static FrameTime runFrames(const Scene& s, int frames)
{
    FrameTime total;
    for (int f = 0; f < frames; f++) {
        const FrameTime t = timeFrame(s);
        total.real += t.real / frames;
        total.processor += t.processor / frames;
    }
    return total;
}

// The drawing the game had before batching: one bind and one strip per
// particle.
static void drawSpritesOneByOne(const std::vector<ParticleSprite>& sprites, float h)
{
    for (const ParticleSprite& s : sprites) {
        const Vec3& c = s.center;
        glBindTexture(GL_TEXTURE_2D, s.slot);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(1, 1); glVertex3f(c.x + h, c.y + h, c.z);
        glTexCoord2f(0, 1); glVertex3f(c.x - h, c.y + h, c.z);
        glTexCoord2f(1, 0); glVertex3f(c.x + h, c.y - h, c.z);
        glTexCoord2f(0, 0); glVertex3f(c.x - h, c.y - h, c.z);
        glEnd();
    }
}

// The frame with the particles moved but not drawn: what is left is the
// cost of everything else.
static void drawNoSprites(const std::vector<ParticleSprite>&, float) {}

struct Measured {
    FrameTime batched;     // per frame, the game's drawing
    FrameTime oneByOne;    // per frame, particle by particle
    FrameTime undrawn;     // per frame, particles not drawn
    double    batchedAlone;   // s per frame the game's particle drawing adds
    double    oneByOneAlone;  // the same for the reference
    double    speedUp;     // median of the runs' ratios of real time
    double    workRatio;   // the same for processor time
    double    stubbed;     // processor s per frame with every drawing call stubbed
    double    outsideGl;   // the same less the stubs' own cost
    double    glCalls;     // stubbed calls per frame
};

static double stubbedCallsPerFrame(const Scene& s)
{
    countStubs = true;
    stubbedCalls = 0;
    timeFrame(s);
    countStubs = false;
    return double(stubbedCalls);
}

// The two drawings run by run in turn, so that a busy machine slows both
// alike; then the frame with OpenGL stubbed, ten times as many frames.
static Measured measure(const Scene& s, const Settings& settings)
{
    Measured m{};
    std::vector<double> batched, oneByOne, undrawn, ratios, batchedWork, oneByOneWork, undrawnWork,
        workRatios, stubbed, batchedAlone, oneByOneAlone;
    for (int i = 0; i < settings.warmup; i++) {
        spriteDrawer = drawSpritesOneByOne;
        timeFrame(s);
        spriteDrawer = drawSpritesByTexture;
        timeFrame(s);
    }
    for (int r = 0; r < settings.runs; r++) {
        spriteDrawer = drawSpritesByTexture;
        const FrameTime b = runFrames(s, settings.frames);
        spriteDrawer = drawSpritesOneByOne;
        const FrameTime o = runFrames(s, settings.frames);
        spriteDrawer = drawNoSprites;
        const FrameTime u = runFrames(s, settings.frames);
        undrawn.push_back(u.real);
        batchedAlone.push_back(b.real - u.real);
        oneByOneAlone.push_back(o.real - u.real);
        undrawnWork.push_back(u.processor);
        batched.push_back(b.real);
        oneByOne.push_back(o.real);
        ratios.push_back(o.real / b.real);
        batchedWork.push_back(b.processor);
        oneByOneWork.push_back(o.processor);
        workRatios.push_back(o.processor / b.processor);
    }
    spriteDrawer = drawSpritesByTexture;
    m.batched = {median(batched), median(batchedWork)};
    m.oneByOne = {median(oneByOne), median(oneByOneWork)};
    m.undrawn = {median(undrawn), median(undrawnWork)};
    m.batchedAlone = median(batchedAlone);
    m.oneByOneAlone = median(oneByOneAlone);
    m.speedUp = median(ratios);
    m.workRatio = median(workRatios);

    // Stubbed frames with single and doubled stubs in turn: the stubs cost
    // what doubling adds.
    std::vector<double> doubled;
    nullGl = true;
    for (int i = 0; i < settings.warmup; i++)
        timeFrame(s);
    for (int r = 0; r < settings.runs; r++) {
        stubbed.push_back(runFrames(s, 10 * settings.frames).real);
        doubleStubs = true;
        doubled.push_back(runFrames(s, 10 * settings.frames).real);
        doubleStubs = false;
    }
    m.stubbed = median(stubbed);
    m.outsideGl = std::max(0.0, 2 * m.stubbed - median(doubled));
    m.glCalls = stubbedCallsPerFrame(s);
    nullGl = false;
    return m;
}

// One frame of the scene, kept as DIR/<name>.ppm before it is shown.
static void keepPicture(const Scene& s, const char* dir, const char* name)
{
    const int w = game.windowWidth;
    const int h = game.windowHeight;
    const auto swap = platform.swapBuffers;
    platform.swapBuffers = noSwap;
    timeFrame(s);
    platform.swapBuffers = swap;
    std::vector<unsigned char> rgb(std::size_t(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = std::string(dir) + "/" + name + ".ppm";
    std::ofstream out(path, std::ios::binary);
    out << "P6 " << w << ' ' << h << " 255\n";
    for (int y = h - 1; y >= 0; y--)
        out.write(reinterpret_cast<const char*>(&rgb[std::size_t(y) * w * 3]), std::streamsize(w) * 3);
    std::printf("  picture: %s\n", path.c_str());
}

static void report(const char* title, const Measured& m, bool heavy)
{
    const FrameTime& b = m.batched;
    const FrameTime& o = m.oneByOne;
    std::printf("%s\n", title);
    std::printf("                             frames/s   ms/frame   processor ms/frame\n");
    std::printf("  grouped by texture (game)  %8.1f   %8.2f   %8.2f\n", 1 / b.real, 1000 * b.real, 1000 * b.processor);
    std::printf("  one by one (reference)     %8.1f   %8.2f   %8.2f\n", 1 / o.real, 1000 * o.real, 1000 * o.processor);
    std::printf("  speed-up                   %7.2fx", m.speedUp);
    if (heavy)
        std::printf("  (target 3x: %s)", m.speedUp >= 3 ? "met" : "MISSED");
    std::printf("; in processor time %.2fx\n", m.workRatio);
    const double rest = m.undrawn.real;
    std::printf("  particles not drawn        %8.1f   %8.2f   %8.2f\n", 1 / rest, 1000 * rest,
                1000 * m.undrawn.processor);
    std::printf("  the particles' drawing alone: %.2f ms/frame against %.2f", 1000 * m.batchedAlone,
                1000 * m.oneByOneAlone);
    if (m.batchedAlone > 0.0002)
        std::printf(" (%.1fx)", m.oneByOneAlone / m.batchedAlone);
    std::printf("\n");
    std::printf("  outside OpenGL             %8.3f ms/frame", 1000 * m.outsideGl);
    if (heavy)
        std::printf("  (target under 1 ms: %s)", m.outsideGl < 0.001 ? "met" : "MISSED");
    std::printf("\n    (%.3f ms/frame with its %.0f drawing calls stubbed, less what the stubs cost)\n",
                1000 * m.stubbed, m.glCalls);
}

// ---- start-up --------------------------------------------------------------

static std::string cpuName()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown CPU";
}

static bool parseSettings(int argc, char** argv, Settings& s)
{
    for (int i = 1; i < argc; i++) {
        const char* option = argv[i];
        if (std::strcmp(option, "--near") == 0) {
            s.nearPlanet = true;
            continue;
        }
        if (++i == argc)
            return false;
        const char* value = argv[i];
        if (std::strcmp(option, "--shots") == 0)
            s.shots = value;
        else if (std::strcmp(option, "--runs") == 0)
            s.runs = std::atoi(value);
        else if (std::strcmp(option, "--frames") == 0)
            s.frames = std::atoi(value);
        else if (std::strcmp(option, "--warmup") == 0)
            s.warmup = std::atoi(value);
        else
            return false;
    }
    return s.runs > 0 && s.frames > 0 && s.warmup >= 0;
}

int main(int argc, char** argv)
{
    Settings settings;
    if (!parseSettings(argc, argv, settings)) {
        std::fprintf(stderr, "usage: %s [--runs N] [--frames N] [--warmup N] [--shots DIR] [--near]\n", argv[0]);
        return 2;
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "frame_bench: no X display; try: xvfb-run -a -s '-screen 0 1280x1024x24' %s\n", argv[0]);
        return 1;
    }
    startTheGame(argv[0]);
    std::printf("Quorvane frame benchmark, %dx%d window\n", game.windowWidth, game.windowHeight);
    std::printf("  %s, %u hardware threads\n", cpuName().c_str(), std::thread::hardware_concurrency());
    std::printf("  %s, OpenGL %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    std::printf("  median of %d runs of %d frames after %d warm-up frames\n\n", settings.runs,
                settings.frames, settings.warmup);

    std::ofstream devNull("/dev/null");
    std::streambuf* savedCout = std::cout.rdbuf(devNull.rdbuf());  // the game's progress lines
    nullGl = true;  // building the scenes needs no pictures
    playHeavyScene(settings.nearPlanet);
    const Scene heavy = capture();
    nullGl = false;
    std::cout.rdbuf(savedCout);
    char title[256];
    std::snprintf(title, sizeof title,
                  "heavy: %zu missiles (%zu trail particles), %zu explosions %s (%zu particles), %zu shots, HUD",
                  heavy.trails.size(), particleCount(heavy.trails), heavy.explosions.size(),
                  settings.nearPlanet ? "around the planet" : "far out", particleCount(heavy.explosions),
                  heavy.shots.size());
    report(title, measure(heavy, settings), true);
    if (settings.shots)
        keepPicture(heavy, settings.shots, "heavy");

    std::cout.rdbuf(devNull.rdbuf());
    nullGl = true;
    playLightScene();
    const Scene light = capture();
    nullGl = false;
    std::cout.rdbuf(savedCout);
    std::snprintf(title, sizeof title, "light: title screen, %zu missiles (%zu trail particles)",
                  light.trails.size(), particleCount(light.trails));
    report(title, measure(light, settings), false);
    if (settings.shots)
        keepPicture(light, settings.shots, "light");

    if (builtDirectly > 0)
        std::printf("\nnote: %d missiles or explosions were made by the benchmark, not by the game's rules\n",
                    builtDirectly);
    return 0;
}
