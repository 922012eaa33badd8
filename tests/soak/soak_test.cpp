// Soak: an hour of play on the scripted clock in a real GL context (run
// under Xvfb). A scripted player aims at missiles with the mouse, fires,
// flies, toggles the aim lines and restarts; every frame checks the limits
// that must hold however long the game runs.
//
// QUORVANE_SOAK_MINUTES shortens or lengthens the simulated time (60).
#include "app/app.h"
#include "camera/mouse_look.h"
#include "fake_platform.h"
#include "game/state.h"
#include "render/frame.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// ---- constants ---------------------------------------------------------------

constexpr int kTickMs = 120;          // one idle tick and one frame per 120 ms of clock
constexpr int kWindowWidth = 160;     // pixels: filling few pixels keeps the hour short
constexpr int kWindowHeight = 128;
// A restart empties the explosions; between two, an explosion must have the
// time to drain by itself: 12,500 frames.
constexpr long kRestartEveryMs = 25 * 60 * 1000;
// An explosion particle lives at most 1 / 0.0001 frames, is reborn once and
// lives at most 1 / 0.001 frames more; float rounding adds a few frames.
constexpr long kExplosionMaxFrames = 10000 + 1000 + 100;
// Memory is sampled once a simulated minute. Besides the game's lists,
// whose size is taken out, the heap holds llvmpipe's caches, which vary by
// some megabytes from sample to sample and fill up during the first
// minutes. A leak of a kilobyte a frame would add 15 MB per half hour.
constexpr long kWarmUpMs = 10 * 60 * 1000;
constexpr long kHeapSlackBytes = 12L * 1024 * 1024;
constexpr long kRssSlackBytes = 32L * 1024 * 1024;

// ---- the window -------------------------------------------------------------

class SmallWindow : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "test_soak";
        static char* argv[] = {name, nullptr};
        startGame(1, argv);
        glutReshapeWindow(kWindowWidth, kWindowHeight);
        for (int i = 0; i < 20; ++i)
            glutMainLoopEvent();
    }
};

const auto* const smallWindow = ::testing::AddGlobalTestEnvironment(new SmallWindow);

// ---- checks ------------------------------------------------------------------

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool emitterFinite(const ParticleEmitter& emitter)
{
    for (const Particle& p : emitter.particles)
        if (!finite(p.position) || !finite(p.velocity) || !std::isfinite(p.life))
            return false;
    return finite(emitter.position);
}

// Every position the game holds, checked each frame.
std::string firstNonFinite()
{
    if (!finite(game.camera.eye) || !finite(game.camera.center) || !finite(game.camera.back))
        return "camera";
    for (const Missile& m : game.missiles)
        if (!finite(m.position) || !finite(m.start) || !std::isfinite(m.progress) || !emitterFinite(*m.trail))
            return "missile";
    for (const Shot& s : game.shots)
        if (!finite(s.position) || !finite(s.direction))
            return "shot";
    for (const ParticleEmitter& e : game.explosions)
        if (!emitterFinite(e))
            return "explosion";
    return {};
}

// Each explosion from the frame it appears to the frame it leaves the list;
// an explosion keeps its position, which tells them apart.
struct Tracked {
    Vec3   position;
    long   bornFrame;
    size_t particles;
};

struct ExplosionWatch {
    std::vector<Tracked> tracked;
    long oldestFrames = 0;  // largest age seen
    long drained = 0;       // explosions that left the list by themselves
    bool particlesGrew = false;

    void update(long frame)
    {
        std::vector<Tracked> now;
        for (const ParticleEmitter& e : game.explosions) {
            auto was = std::find_if(tracked.begin(), tracked.end(),
                                    [&](const Tracked& t) { return t.position == e.position; });
            Tracked t = was != tracked.end() ? *was : Tracked{e.position, frame, e.particles.size()};
            particlesGrew = particlesGrew || e.particles.size() > t.particles;
            t.particles = e.particles.size();
            oldestFrames = std::max(oldestFrames, frame - t.bornFrame);
            drained -= was != tracked.end();
            now.push_back(t);
        }
        drained += static_cast<long>(tracked.size());
        tracked = std::move(now);
    }
};

// Heap bytes in use beside the game's own lists.
long heapBesideLists()
{
    const struct mallinfo2 info = mallinfo2();
    long bytes = static_cast<long>(info.uordblks + info.hblkhd);
    bytes -= static_cast<long>(game.shots.capacity() * sizeof(Shot) + game.missiles.capacity() * sizeof(Missile)
                               + game.explosions.capacity() * sizeof(ParticleEmitter));
    for (const Missile& m : game.missiles)
        bytes -= static_cast<long>(sizeof(ParticleEmitter) + m.trail->particles.capacity() * sizeof(Particle));
    for (const ParticleEmitter& e : game.explosions)
        bytes -= static_cast<long>(e.particles.capacity() * sizeof(Particle));
    return bytes;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * 4096;
}

// The largest of the later half of the samples less the largest of the earlier half.
long growth(const std::vector<long>& samples)
{
    const auto half = samples.begin() + static_cast<long>(samples.size() / 2);
    return *std::max_element(half, samples.end()) - *std::max_element(samples.begin(), half);
}

// ---- the scripted player --------------------------------------------------------

// Angles (whole degrees, as the pointer gives them) that put the look point
// where the ray from the eye through `target` meets the look sphere. The
// eye must be inside the sphere.
bool aimAngles(const Vec3& target, int& yaw, int& pitch)
{
    const Vec3 eye = game.camera.eye;
    const Vec3 d = target - eye;
    const double a = double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z;
    const double b = 2 * (double(eye.x) * d.x + double(eye.y) * d.y + double(eye.z) * d.z);
    const double c = double(eye.x) * eye.x + double(eye.y) * eye.y + double(eye.z) * eye.z - 180.0 * 180.0;
    if (a == 0 || c >= 0)
        return false;
    const double s = (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
    const double cx = eye.x + s * d.x, cy = eye.y + s * d.y, cz = eye.z + s * d.z;
    pitch = static_cast<int>(std::lround(std::asin(std::clamp(-cy / 180.0, -1.0, 1.0)) * 180.0 / M_PI));
    yaw = static_cast<int>(std::lround(std::atan2(-cz, -cx) * 180.0 / M_PI));
    return true;
}

// Where a missile will be when a shot fired now reaches it: shots cover a
// hundredth of `back` per frame, missiles 0.0005 of their path.
Vec3 leadTarget(const Missile& m)
{
    Vec3 at = m.position;
    for (int i = 0; i < 4; ++i) {
        const float shotStep = 0.01f * distance(game.camera.eye, at + (180.0f / std::max(1.0f, distance(game.camera.eye, at))) * (at - game.camera.eye));
        const float frames = distance(game.camera.eye, at) / std::max(shotStep, 0.01f);
        at = m.position + (0.0005f * frames) * m.direction;
    }
    return at;
}

// Aims at the missile nearest the planet (the next to strike) with pointer
// events: the event that updates the view sets each angle to the pointer
// coordinate minus the angle before it.
void aimAtNextToStrike()
{
    const Missile* next = nullptr;
    for (const Missile& m : game.missiles)
        if (next == nullptr || m.progress > next->progress)
            next = &m;
    int yaw = 0, pitch = 0;
    if (next == nullptr || !aimAngles(leadTarget(*next), yaw, pitch))
        return;
    if (!game.applyLook)
        mouseMoved(500, 400);
    mouseMoved(yaw + static_cast<int>(game.yaw), pitch + static_cast<int>(game.pitch));
}

// Occurrences of `needle`: "Score: " once per kill, the population line once
// per missile that reached the planet.
int count(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (size_t at = 0; (at = text.find(needle, at)) != std::string::npos; at += needle.size())
        ++n;
    return n;
}

class SoakTest : public GameTest {};

TEST_F(SoakTest, AnHourOfPlayKeepsEveryLimit)
{
    const char* minutesText = std::getenv("QUORVANE_SOAK_MINUTES");
    const int minutes = minutesText != nullptr ? std::atoi(minutesText) : 60;
    const long endMs = static_cast<long>(minutes) * 60 * 1000;
    platform.swapBuffers = glutSwapBuffers;  // frames reach the window, as in play
    game.windowWidth = kWindowWidth;
    game.windowHeight = kWindowHeight;
    reshapeWindow(kWindowWidth, kWindowHeight);
    newGame();
    keyPressed(' ', 0, 0);

    ExplosionWatch explosions;
    int kills = 0, impacts = 0, restarts = 0;
    size_t mostMissiles = 0;
    std::vector<long> heap, rss;  // one sample a minute after the warm-up

    for (long nowMs = kTickMs, frame = 0; nowMs <= endMs; nowMs += kTickMs, ++frame) {
        tickAt(static_cast<int>(nowMs));
        displayFrame();

        ASSERT_LE(game.missiles.size(), 7u) << "at " << nowMs << " ms";
        mostMissiles = std::max(mostMissiles, game.missiles.size());
        const std::string bad = firstNonFinite();
        ASSERT_TRUE(bad.empty()) << "a " << bad << " position is not finite at " << nowMs << " ms";
        explosions.update(frame);
        ASSERT_LE(explosions.oldestFrames, kExplosionMaxFrames) << "an explosion never drains";
        ASSERT_FALSE(explosions.particlesGrew) << "an explosion gained particles";

        // the player: aim at the next missile to strike and fire three shots
        if (frame % 24 == 0)
            aimAtNextToStrike();
        else if (frame % 24 <= 3)
            keyPressed(' ', 0, 0);
        // every three minutes fly forward for 20 s and stop again; the aim
        // lines go on and off
        for (int i = 0; i < 20 && nowMs % 180000 == 60000; ++i)
            keyPressed('w', 0, 0);
        for (int i = 0; i < 20 && nowMs % 180000 == 80040; ++i)
            keyPressed('s', 0, 0);
        if (nowMs % 180000 == 80040)
            keyPressed('l', 0, 0);

        // game over stops nothing: play on until the next restart
        if (nowMs % kRestartEveryMs == 0) {
            keyPressed('r', 0, 0);
            tickAt(static_cast<int>(nowMs + 1));
            displayFrame();
            keyPressed(' ', 0, 0);
            explosions.tracked.clear();
            ++restarts;
        }
        if (nowMs % 60000 == 0 && nowMs > kWarmUpMs) {
            glFinish();
            heap.push_back(heapBesideLists());
            rss.push_back(residentBytes());
        }
        if (frame % 1000 == 0 || nowMs == endMs) {  // keep the captured output short
            kills += count(output(), "Score: ");
            impacts += count(output(), "% of the planet's population remains.");
            clearOutput();
        }
    }

    EXPECT_GE(minutes, 60) << "shorter than an hour (QUORVANE_SOAK_MINUTES)";
    EXPECT_EQ(mostMissiles, 7u);
    EXPECT_GT(kills, 0);
    EXPECT_GT(impacts, 0);
    EXPECT_GT(explosions.drained, 0);
    EXPECT_EQ(restarts, minutes * 60 * 1000 / kRestartEveryMs);
    ASSERT_GE(heap.size(), 4u);
    EXPECT_LE(growth(heap), kHeapSlackBytes) << "the heap grows";
    EXPECT_LE(growth(rss), kRssSlackBytes) << "resident memory grows";
}

}  // namespace
