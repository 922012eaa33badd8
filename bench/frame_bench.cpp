// Frame benchmark: the real displayFrame at 1000 x 800 for a heavy scene
// (7 missiles with their trails, 20 explosions, 20 shots, the HUD) and a
// light one (title screen, 7 missiles), built by playing the game through its
// own functions on a scripted clock. For each it prints the frame rate, the
// same with every particle drawn on its own (a bind and a strip each, as the
// game once drew them), and the time a frame spends outside OpenGL.
//
// Run under X (xvfb-run when there is no display), from anywhere:
//   frame_bench [--runs N] [--frames N] [--warmup N]
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
    int runs = 5;     // timed runs; the median is reported
    int frames = 20;  // frames per run
    int warmup = 3;   // untimed frames first
};

// ---- state -----------------------------------------------------------------

static int clockMs = 0;       // the scripted clock the game reads
static int builtDirectly = 0; // scene parts the game's rules did not make

// ---- the game on a scripted clock ------------------------------------------

static int  scriptedClock() { return clockMs; }
static void noRedisplay() {}

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

// Play from the title screen: 7 missiles fly while 20 shots are fired two
// frames apart; then 20 missiles are blown up at points along their paths,
// each the newest one, so that the older trails stay. The explosions are
// two frames old when the scene is taken: whole, and just spreading.
static void playHeavyScene()
{
    if (!game.titleScreen)
        newGame();
    keyPressed(' ', 0, 0);
    fillMissiles();
    for (int i = 0; i < 20; i++) {
        keyPressed(' ', 0, 0);
        playFrame();
        playFrame();
    }
    for (int i = 0; i < 20; i++)
        playFrame();
    for (int i = 0; i < 20 && !game.missiles.empty(); i++) {
        const std::size_t newest = game.missiles.size() - 1;
        flyMissile(game.missiles[newest], 50 + 90 * i);
        explodeMissileAt(newest);
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

// Processor time of this thread: the game's own work runs on it alone, and
// other programs on a busy machine do not count against it.
static double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Seconds of one whole frame, finished by the renderer too. A stubbed frame
// is timed in processor time, a drawn one in real time (the renderer has
// threads of its own).
static double timeFrame(const Scene& s)
{
    restore(s);
    if (nullGl) {
        const double start = threadSeconds();
        displayFrame();
        return threadSeconds() - start;
    }
    glFinish();
    const double start = seconds();
    displayFrame();
    glFinish();
    return seconds() - start;
}

static double runSeconds(const Scene& s, int frames)
{
    double total = 0;
    for (int f = 0; f < frames; f++)
        total += timeFrame(s);
    return total / frames;
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
    double batched;      // s per frame, the game's drawing
    double oneByOne;     // s per frame, particle by particle
    double speedUp;      // median of the runs' ratios
    double outsideGl;    // processor s per frame with every drawing call stubbed
    double glCalls;      // stubbed calls per frame
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
    std::vector<double> batched, oneByOne, ratios, stubbed;
    for (int i = 0; i < settings.warmup; i++) {
        spriteDrawer = drawSpritesOneByOne;
        timeFrame(s);
        spriteDrawer = drawSpritesByTexture;
        timeFrame(s);
    }
    for (int r = 0; r < settings.runs; r++) {
        spriteDrawer = drawSpritesByTexture;
        batched.push_back(runSeconds(s, settings.frames));
        spriteDrawer = drawSpritesOneByOne;
        oneByOne.push_back(runSeconds(s, settings.frames));
        ratios.push_back(oneByOne.back() / batched.back());
    }
    spriteDrawer = drawSpritesByTexture;
    m.batched = median(batched);
    m.oneByOne = median(oneByOne);
    m.speedUp = median(ratios);

    nullGl = true;
    for (int i = 0; i < settings.warmup; i++)
        timeFrame(s);
    for (int r = 0; r < settings.runs; r++)
        stubbed.push_back(runSeconds(s, 10 * settings.frames));
    m.outsideGl = median(stubbed);
    m.glCalls = stubbedCallsPerFrame(s);
    nullGl = false;
    return m;
}

static void report(const char* title, const Measured& m, bool heavy)
{
    const double speedUp = m.speedUp;
    std::printf("%s\n", title);
    std::printf("  grouped by texture (game)  %7.1f fps  %8.2f ms/frame\n", 1 / m.batched, 1000 * m.batched);
    std::printf("  one by one (reference)     %7.1f fps  %8.2f ms/frame\n", 1 / m.oneByOne, 1000 * m.oneByOne);
    std::printf("  speed-up                   %7.2fx", speedUp);
    if (heavy)
        std::printf("  (target 3x: %s)", speedUp >= 3 ? "met" : "MISSED");
    std::printf("\n  outside OpenGL             %7.3f ms/frame", 1000 * m.outsideGl);
    if (heavy)
        std::printf("  (target under 1 ms: %s)", m.outsideGl < 0.001 ? "met" : "MISSED");
    std::printf("\n    (the frame with its %.0f drawing calls stubbed, the stubs' own cost included)\n",
                m.glCalls);
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
        std::fprintf(stderr, "usage: %s [--runs N] [--frames N] [--warmup N]\n", argv[0]);
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

    std::cout.rdbuf(devNull.rdbuf());
    nullGl = true;
    playLightScene();
    const Scene light = capture();
    nullGl = false;
    std::cout.rdbuf(savedCout);
    std::snprintf(title, sizeof title, "light: title screen, %zu missiles (%zu trail particles)",
                  light.trails.size(), particleCount(light.trails));
    report(title, measure(light, settings), false);

    if (builtDirectly > 0)
        std::printf("\nnote: %d missiles or explosions were made by the benchmark, not by the game's rules\n",
                    builtDirectly);
    return 0;
}
