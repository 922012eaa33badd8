#include "scene.h"

#include "app/app.h"
#include "assets/texture_root.h"
#include "camera/mouse_look.h"
#include "core/platform.h"
#include "core/random.h"
#include "game/missiles.h"
#include "game/state.h"
#include "render/frame.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

// ---- state -----------------------------------------------------------------

static int clockMs = 0;        // the scripted clock the game reads
int        builtDirectly = 0; // scene parts the game's rules did not make

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

// A busy moment of play, looking at the planet: 7 missiles on their way in,
// 200 frames of flight that fill their trails while 20 shots are fired, then
// 20 missiles blown up one a frame, each time the newest, so that the older
// trails stay. Far out, the explosions come where the missiles were shot
// down on their way in (a tenth to nearly three fifths of the way); near the
// planet, where they strike it or are caught just before (four fifths of
// the way on, the older missiles closing in too). The explosions are 1 to 20
// frames old: whole, for no particle ends its second life that soon.
void playHeavyScene(bool nearPlanet)
{
    if (!game.titleScreen)
        newGame();
    keyPressed(' ', 0, 0);
    lookAtPlanet();
    fillMissiles();
    if (nearPlanet) {
        for (std::size_t i = 0; i < game.missiles.size(); i++)
            flyMissile(game.missiles[i], 1400 + 60 * int(i));
    }
    for (int i = 0; i < 200; i++) {
        if (i % 10 == 0)
            keyPressed(' ', 0, 0);
        playFrame();
    }
    for (int i = 0; i < 20 && !game.missiles.empty(); i++) {
        Missile& newest = game.missiles.back();
        if (newest.progress < 0.05f)
            flyMissile(newest, nearPlanet ? 1600 + 16 * i : 200 + 50 * i);
        explodeMissileAt(game.missiles.size() - 1);
        fillMissiles();
        playFrame();
    }
}

// The title screen after a restart, with 7 missiles flying.
void playLightScene()
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

Scene capture()
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

void restore(const Scene& s)
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

void startTheGame(char* name)
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
