// Frame benchmark: the real displayFrame at 1000 x 800 for a heavy scene
// (7 missiles with their trails, 20 explosions, 20 shots, the HUD) and a
// light one (title screen, 7 missiles), built by playing the game through its
// own functions on a scripted clock. For each it prints the frame rate, the
// same with every particle drawn on its own (a bind and a strip each, as the
// game once drew them), and the time a frame spends outside OpenGL.
//
// Run under X (xvfb-run when there is no display), from anywhere:
//   frame_bench [--runs N] [--frames N] [--warmup N] [--shots DIR]
#include "app/app.h"
#include "assets/texture_root.h"
#include "core/platform.h"
#include "core/random.h"
#include "effects/particles.h"
#include "game/missiles.h"
#include "game/shots.h"
#include "game/state.h"
#include "null_gl.h"
#include "render/frame.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <ctime>
#include <thread>
#include <vector>

// ---- types -----------------------------------------------------------------

// What a frame changes, saved once, put back before every timed frame: every
// frame then draws the same scene. The clock stands still, so missiles keep
// their places.
struct Scene {
    std::vector<ParticleEmitter> trails;  // one per missile, in list order
    std::vector<ParticleEmitter> explosions;
    std::vector<Shot>            shots;
    Camera                       camera;
    std::uint32_t                random = 1;
    int                          population = 0;
    int                          score = 0;
};

struct Settings {
    int         runs = 5;     // timed runs; the median is reported
    int         frames = 20;  // frames per run
    int         warmup = 3;   // untimed frames first
    const char* shots = nullptr;  // folder for a picture of each scene, if given
};

// ---- state -----------------------------------------------------------------

static int clockMs = 0;       // the scripted clock the game reads
static int builtDirectly = 0; // scene parts the game's rules did not make

// ---- the game on a scripted clock ------------------------------------------

static int  scriptedClock() { return clockMs; }
static void noRedisplay() {}
static void noSwap() {}

// One idle tick and one frame, 11 ms after the last: enough for a flight step.
static void playFrame()
{
    clockMs += 11;
    idleUpdate();
    displayFrame();
}

// A point far out on the spawn ellipsoid, for when the spawn rule is missing.
static Vec3 farPoint(int k)
{
    const double a = 0.9 * k;
    const double b = 0.4 + 0.3 * std::sin(1.7 * k);
    return {float(825 * std::cos(a) * std::sin(b + 1.0)), float(825 * std::cos(b + 1.0)),
            float(800 * std::sin(a) * std::sin(b + 1.0))};
}

// The spawn tick once its interval has passed; a missile made here as the
// game would make it when the rule does not.
static void spawnMissile()
{
    const std::size_t before = game.missiles.size();
    clockMs = std::max(clockMs + 1, game.lastSpawnTime + int(game.spawnInterval) + 1);
    idleUpdate();
    if (game.missiles.size() > before || before >= 7)
        return;
    const Vec3 at = farPoint(builtDirectly++);
    game.missiles.emplace_back(at, std::make_unique<ParticleEmitter>(800, at, Vec3{0, 0, -100}));
}

// Flight steps of one missile, 11 ms of clock apart. When the flight rule
// does not move it, it is put where those steps would take it.
static void flyMissile(Missile& m, int steps)
{
    const Vec3 before = m.position;
    for (int i = 0; i < steps; i++) {
        clockMs += 11;
        game.currentTime = clockMs;
        advanceMissile(m);
    }
    if (steps > 0 && m.position == before)
        m.position = m.start + (0.0005f * float(steps - 1)) * m.direction;
}

static void explodeMissileAt(std::size_t i)
{
    const std::size_t before = game.explosions.size();
    const Vec3 at = game.missiles[i].position;
    explodeMissile(i);
    if (game.explosions.size() > before)
        return;
    builtDirectly++;
    game.explosions.emplace_back(1500, at, Vec3{0, -0.3f, 0});
}

static void fillMissiles()
{
    for (int tries = 0; game.missiles.size() < 7 && tries < 100; tries++)
        spawnMissile();
}

// Mouse look toward the planet: yaw 308 and pitch 338 degrees put the look
// point where the play camera's is. Every second pointer event looks, and
// the angle becomes the pointer minus the angle, so a second event may be
// needed.
static void lookAtPlanet()
{
    const bool looksNow = game.applyLook;
    mouseMoved(308, 338);
    if (!looksNow)
        mouseMoved(616, 676);
}

// A busy moment of play, looking at the planet: 7 missiles closing in on
// it, 20 shots fired two frames apart, then 20 missiles blown up around the
// planet (four fifths to nineteen twentieths of the way in) one after
// another, each time the newest, so that the older trails stay. The
// explosions are two frames old when the scene is taken: whole, and just
// spreading.
static void playHeavyScene()
{
    if (!game.titleScreen)
        newGame();
    keyPressed(' ', 0, 0);
    lookAtPlanet();
    fillMissiles();
    for (std::size_t i = 0; i < game.missiles.size(); i++)
        flyMissile(game.missiles[i], 1400 + 60 * int(i));
    for (int i = 0; i < 20; i++) {
        keyPressed(' ', 0, 0);
        playFrame();
        playFrame();
    }
    for (int i = 0; i < 20; i++)
        playFrame();
    for (int i = 0; i < 20 && !game.missiles.empty(); i++) {
        Missile& newest = game.missiles.back();
        if (newest.progress < 0.5f)
            flyMissile(newest, 1600 + 16 * i);
        explodeMissileAt(game.missiles.size() - 1);
        fillMissiles();
    }
    playFrame();
    playFrame();
}

// The title screen after a restart, with 7 missiles flying.
static void playLightScene()
{
    restartGame();
    newGame();
    game.shots.clear();
    fillMissiles();
    for (int i = 0; i < 60; i++)
        playFrame();
    fillMissiles();
}

// ---- a fixed scene ---------------------------------------------------------

static Scene capture()
{
    Scene s;
    for (const Missile& m : game.missiles)
        s.trails.push_back(m.trail ? *m.trail : ParticleEmitter{});
    s.explosions = game.explosions;
    s.shots = game.shots;
    s.camera = game.camera;
    s.random = randomState();
    s.population = game.population;
    s.score = game.score;
    return s;
}

static void restore(const Scene& s)
{
    if (game.missiles.size() != s.trails.size()) {
        std::fprintf(stderr, "frame_bench: a missile left the scene while the clock stood still\n");
        std::exit(1);
    }
    for (std::size_t i = 0; i < s.trails.size(); i++)
        if (game.missiles[i].trail)
            *game.missiles[i].trail = s.trails[i];
    game.explosions = s.explosions;
    game.shots = s.shots;
    game.camera = s.camera;
    setRandomState(s.random);
    game.population = s.population;
    game.score = s.score;
}

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

struct Measured {
    FrameTime batched;     // per frame, the game's drawing
    FrameTime oneByOne;    // per frame, particle by particle
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
    std::vector<double> batched, oneByOne, ratios, batchedWork, oneByOneWork, workRatios, stubbed;
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
    platform.swapBuffers = noSwap;
    timeFrame(s);
    platform.swapBuffers = glutPlatform().swapBuffers;
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
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--shots") == 0) {
            s.shots = argv[i + 1];
            continue;
        }
        const int value = std::atoi(argv[i + 1]);
        if (value < 1 && std::strcmp(argv[i], "--warmup") != 0)
            return false;
        if (std::strcmp(argv[i], "--runs") == 0)
            s.runs = value;
        else if (std::strcmp(argv[i], "--frames") == 0)
            s.frames = value;
        else if (std::strcmp(argv[i], "--warmup") == 0)
            s.warmup = std::max(0, value);
        else
            return false;
    }
    return argc % 2 == 1;
}

static void startTheGame(char* name)
{
    if (!enterTextureRoot())
        std::filesystem::current_path(QUORVANE_SOURCE_DIR);
    platform.elapsedMs = scriptedClock;
    platform.postRedisplay = noRedisplay;
    char* argv[] = {name, nullptr};
    startGame(1, argv);
    for (int i = 0; i < 10; i++)
        glutMainLoopEvent();  // let the window be mapped before drawing
}

int main(int argc, char** argv)
{
    Settings settings;
    if (!parseSettings(argc, argv, settings)) {
        std::fprintf(stderr, "usage: %s [--runs N] [--frames N] [--warmup N] [--shots DIR]\n", argv[0]);
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
    playHeavyScene();
    const Scene heavy = capture();
    nullGl = false;
    std::cout.rdbuf(savedCout);
    char title[256];
    std::snprintf(title, sizeof title,
                  "heavy: %zu missiles (%zu trail particles), %zu explosions (%zu particles), %zu shots, HUD",
                  heavy.trails.size(), particleCount(heavy.trails), heavy.explosions.size(),
                  particleCount(heavy.explosions), heavy.shots.size());
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
