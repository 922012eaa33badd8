// Writes the game's recordings from short scripts of inputs. The scripts aim
// from the game's own state, so after a change to the rules they still reach
// their kills, impacts and crash: run this again and review the diffs.
//
//   make_recordings session FILE        the session test's game: a flight
//                                       toward the planet, impacts, a kill, a
//                                       crash into it with people left, game
//                                       over, r, a new game
//   make_recordings demo FILE           about a minute of play for --replay
//   make_recordings heavy MINUTES FILE  seven missiles, explosions and a
//                                       stream of shots, for the soak; its
//                                       goals go to FILE.goals
//
// A goal a script does not reach within its limit ends the program with
// status 1 and a line naming it. It draws every frame, so it needs an X
// display (xvfb-run).
#include "app/app.h"
#include "replay/recorder.h"
#include "assets/texture_root.h"
#include "core/platform.h"
#include "game/state.h"
#include "small_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- types -----------------------------------------------------------------

// The game's lines on their way to standard output, counted by kind.
class LineCounter : public std::streambuf {
public:
    explicit LineCounter(std::streambuf* out) : out_(out) {}
    long spawned = 0, kills = 0, impacts = 0;

protected:
    int overflow(int c) override
    {
        if (c == EOF)
            return 0;
        if (c == '\n') {
            spawned += line_.starts_with("Spawning Missile at: ");
            kills += line_.starts_with("Score: ");
            impacts += line_.ends_with("% of the planet's population remains.");
            line_.clear();
        } else {
            line_ += static_cast<char>(c);
        }
        return out_->sputc(static_cast<char>(c));
    }
    int sync() override { return out_->pubsync(); }

private:
    std::streambuf* out_;
    std::string     line_;
};

// ---- state -----------------------------------------------------------------

int clockMs = 0;  // the scripted clock
LineCounter* lines = nullptr;
std::size_t mostMissiles = 0;  // alive at once

// ---- inputs ------------------------------------------------------------------

int scriptedClock() { return clockMs; }

// GLUT's loop as the game sees it: an idle tick, then the frame it asked for.
void run(int ticks, int msPerTick)
{
    for (int i = 0; i < ticks; ++i) {
        clockMs += msPerTick;
        recordTick();
        recordFrame();
        mostMissiles = std::max(mostMissiles, game.missiles.size());
    }
}

void press(unsigned char key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        recordKey(key, 500, 400);
}

// Moves the pointer so that the view updates with these whole-degree angles.
// The updating event sets each angle to the pointer minus the angle the event
// before it left, so it takes one event that does not look, then one that does.
void lookWith(int yaw, int pitch)
{
    if (game.applyLook)
        recordMotion(500, 400);
    const int dx = yaw - static_cast<int>(game.yaw);
    const int dy = pitch - static_cast<int>(game.pitch);
    const int x = 500 - dx / 2;
    const int y = 400 - dy / 2;
    recordMotion(x, y);
    recordMotion(x + dx, y + dy);
}

double dot(const Vec3& a, const Vec3& b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }

// Whole-degree look angles whose look point (on the sphere of radius 180
// about the origin) lies on the line from the eye through `at`.
void lookToward(const Vec3& at)
{
    const Vec3 eye = game.camera.eye;
    const Vec3 d = at - eye;
    const double a = dot(d, d);
    const double b = 2 * dot(eye, d);
    const double c = dot(eye, eye) - 180.0 * 180.0;  // the eye is inside the sphere
    const double t = (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
    const Vec3 look = eye + float(t) * d;
    const double toDegrees = 180.0 / M_PI;
    const int yaw = static_cast<int>(std::lround(std::atan2(-look.z, -look.x) * toDegrees));
    const int pitch = static_cast<int>(std::lround(std::asin(std::clamp(-look.y / 180.0, -1.0, 1.0)) * toDegrees));
    lookWith(yaw, pitch);
}

// Aims at a missile near the point of its path closest to the eye, or
// early in its flight, then fires a burst of five shots timed to meet it there.
void shootDown(std::size_t index, int msPerTick, bool early = false)
{
    const Missile& m = game.missiles.at(index);
    const Vec3 start = m.start;
    const Vec3 path = m.direction;
    const Vec3 eye = game.camera.eye;
    const double closest = dot(eye - start, path) / dot(path, path);
    const double aimProgress = std::clamp(early ? 0.0 : closest, double(m.progress) + 0.2, 0.9);
    lookToward(start + float(aimProgress) * path);

    // Shot after n frames: eye + n v. Missile after n frames:
    // start + (progress + (n - 1) * 0.0005) * path.
    const Vec3 v = -0.01f * game.camera.back;
    const Vec3 w = eye - start;
    const double a = dot(v, v), b = dot(v, path), c = dot(path, path);
    const double dv = dot(v, w), dp = dot(path, w);
    const double den = a * c - b * b;
    const double shotFrames = (b * dp - c * dv) / den;
    const double meet = (a * dp - b * dv) / den;
    const double missileFrames = (meet - m.progress) / 0.0005 + 1;
    run(static_cast<int>(std::lround(missileFrames - shotFrames)) - 2, msPerTick);
    for (int i = 0; i < 5; ++i) {
        press(' ');
        run(1, msPerTick);
    }
}

// Runs until `done` or `limit` ticks, whichever comes first; true when done.
template <typename Done>
bool runUntil(const Done& done, int limit, int msPerTick)
{
    for (int tick = 0; !done() && tick < limit; ++tick)
        run(1, msPerTick);
    return done();
}

// A recording that silently missed its kill or its crash would pass for a
// good one, so a goal not reached ends the program.
void require(bool reached, const std::string& goal)
{
    if (reached)
        return;
    std::cerr << "make_recordings: " << goal << " not reached\n";
    std::exit(1);
}

// Where a missile will be when a shot fired now reaches it.
Vec3 leadTarget(const Missile& m)
{
    Vec3 at = m.position;
    for (int i = 0; i < 4; ++i) {
        const float frames = distance(game.camera.eye, at) / std::max(0.01f * distance(game.camera.eye, at), 0.01f);
        at = m.position + (0.0005f * frames) * m.direction;
    }
    return at;
}

// ---- scripts -----------------------------------------------------------------

// The planet's centre is reached with the speed keys after a look toward it;
// the game crashes the eye within this distance of it.
constexpr float kCrashDistance = 25.5f;
float planetDistance() { return distance(game.camera.eye, kPlanetCentre); }

void session()
{
    // Title screen at 50 frames a second; the pointer does nothing here.
    run(30, 20);
    recordMotion(700, 300);
    run(30, 20);

    // Space starts the game; a look around, then a flight toward the planet
    // that stops short of it, at 60 ms a tick (a combat pass every tick).
    press(' ');
    recordMotion(520, 410);
    recordMotion(530, 412);
    recordMotion(545, 415);
    run(10, 60);
    lookToward(kPlanetCentre);
    press('w', 100);
    require(runUntil([] { return planetDistance() < 35; }, 4000, 60) && game.population == 100,
            "the session's approach to the planet");
    press('s', 100);

    // The newest missile shot down, an impact, then on into the planet while
    // people are left: the crash takes the rest at once. Backing out of it,
    // the impacts that follow leave 0%, and nothing stops at game over.
    require(runUntil([] { return !game.missiles.empty(); }, 200, 60), "the session's first missile");
    shootDown(game.missiles.size() - 1, 60);
    require(runUntil([] { return game.score > 0; }, 2000, 60), "the session's kill");
    require(runUntil([] { return game.population < 100; }, 4000, 60), "the session's first impact");
    press('w', 100);
    int peopleLeft = 0;  // before the tick that reaches the planet
    const auto atPlanet = [&peopleLeft] {
        if (planetDistance() <= kCrashDistance)
            return true;
        peopleLeft = game.population;
        return false;
    };
    require(runUntil(atPlanet, 4000, 60) && peopleLeft > 0 && game.population == 0,
            "the session's crash with people left");
    press('s', 200);
    require(runUntil([] { return planetDistance() > 40; }, 4000, 60), "the session's way out of the planet");
    press('w', 100);
    const long impacts = lines->impacts;
    require(runUntil([impacts] { return lines->impacts > impacts; }, 4000, 60),
            "the session's impact after the crash");

    // `r` brings back the title screen; space starts a new game.
    press('r');
    run(60, 20);
    press(' ');
    run(60, 20);
}

// Three kills, each of the newest missile, while an older one flies on to
// the planet; a flight toward the planet, then a restart.
void demo()
{
    constexpr int kMs = 20;
    run(100, kMs);
    press(' ');
    press('l');
    for (int tries = 0; game.score < 15 && tries < 5; ++tries) {
        require(runUntil([] { return !game.missiles.empty(); }, 1000, kMs), "a missile for the demo");
        const int score = game.score;
        shootDown(game.missiles.size() - 1, kMs, true);
        runUntil([score] { return game.score > score; }, 300, kMs);
    }
    require(runUntil([] { return game.population < 100; }, 2000, kMs), "the demo's impact");
    run(50, kMs);
    require(game.score >= 15, "the demo's three kills");
    lookToward(kPlanetCentre);
    press('w', 60);
    run(150, kMs);
    press('s', 60);
    press('r');
    run(100, kMs);
    press(' ');
    run(100, kMs);
}

// Aims at the missile nearest the planet every 24 frames and fires three
// shots; flies now and then, and restarts every 25 minutes.
void heavy(int minutes)
{
    constexpr int kMs = 120;
    press(' ');
    for (long frame = 1; clockMs < minutes * 60000; ++frame) {
        run(1, kMs);
        const auto next = std::max_element(game.missiles.begin(), game.missiles.end(),
                                           [](const Missile& a, const Missile& b) { return a.progress < b.progress; });
        if (frame % 24 == 0 && next != game.missiles.end())
            lookToward(leadTarget(*next));
        else if (frame % 24 <= 3)
            press(' ');
        if (clockMs % 180000 == 60000)
            press('w', 20);
        if (clockMs % 180000 == 80040) {
            press('s', 20);
            press('l');
        }
        if (clockMs % (25 * 60000) == 0) {
            press('r');
            run(1, kMs);
            press(' ');
        }
    }
}

// What the heavy game reaches in so many minutes, at the least: a spawn
// every six seconds, seven missiles alive at once within the first minute;
// from the fifth minute, when missiles first come within the shots' range, a
// kill a minute and, as a missile flies four minutes, an impact every ten.
// Each death leaves an explosion. The soak checks its replay against these.
std::vector<std::pair<std::string, long>> heavyGoals(int minutes)
{
    const long late = std::max(0, minutes - 4);
    return {{"spawned", 10L * minutes}, {"alive", minutes > 0 ? 7 : 0}, {"kills", late},
            {"impacts", (late + 9) / 10}, {"explosions", late + (late + 9) / 10}};
}

// Fails on the first goal missed; writes them all to FILE.goals for the soak.
void checkHeavyGoals(int minutes, const std::string& file)
{
    const long reached[] = {lines->spawned, static_cast<long>(mostMissiles), lines->kills, lines->impacts,
                            lines->kills + lines->impacts};
    std::ofstream goals(file + ".goals");
    goals << "minutes " << minutes << '\n';
    int i = 0;
    for (const auto& [name, count] : heavyGoals(minutes)) {
        require(reached[i++] >= count, "the heavy game's goal '" + name + ' ' + std::to_string(count) + "'");
        goals << name << ' ' << count << '\n';
    }
    require(goals.flush().good(), "writing " + file + ".goals");
}

int usage()
{
    std::cerr << "usage: make_recordings session FILE | demo FILE | heavy MINUTES FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string script = argc > 1 ? argv[1] : "";
    const bool isHeavy = script == "heavy";
    if (argc != (isHeavy ? 4 : 3) || (script != "session" && script != "demo" && !isHeavy))
        return usage();
    const std::string file = std::filesystem::absolute(argv[argc - 1]).string();
    enterTextureRoot();
    startInSmallWindow(argv[0]);
    platform.elapsedMs = scriptedClock;
    std::string error;
    if (!startRecording(file, argv[argc - 1], kWindowWidth, kWindowHeight, kGameCallbacks, error)) {
        std::cerr << "make_recordings: cannot create " << error << '\n';
        return 1;
    }
    recordReshape(kWindowWidth, kWindowHeight);  // as GLUT's first event
    LineCounter counter(std::cout.rdbuf());
    lines = &counter;
    std::streambuf* const standardOutput = std::cout.rdbuf(&counter);
    if (script == "session")
        session();
    else if (script == "demo")
        demo();
    else {
        std::filesystem::remove(file + ".goals");
        heavy(std::atoi(argv[2]));
    }
    finishRecording();
    if (isHeavy)
        checkHeavyGoals(std::atoi(argv[2]), file);
    std::cout.rdbuf(standardOutput);
    return 0;
}
