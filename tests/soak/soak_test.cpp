// Soak: an hour of play on the scripted clock in a real GL context (run
// under Xvfb). A scripted player aims at missiles with the mouse, fires,
// flies, toggles the aim lines and restarts; every frame checks the limits
// that must hold however long the game runs.
//
// QUORVANE_SOAK_MINUTES shortens or lengthens the simulated time (60).
#include "app/app.h"
#include "camera/camera.h"
#include "fake_platform.h"
#include "game/state.h"
#include "render/frame.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// ---- constants ---------------------------------------------------------------

constexpr int kTickMs = 120;          // one idle tick and one frame per 120 ms of clock
constexpr int kWindowWidth = 160;     // pixels: filling few pixels keeps the hour short
constexpr int kWindowHeight = 128;
// A restart empties the explosions; between two, an explosion must have the
// time to drain by itself (see below): 12,500 frames.
constexpr int kRestartEveryMs = 25 * 60 * 1000;
// Every three minutes the player flies forward for 20 s (both multiples of
// the tick).
constexpr long kFlyCycleMs = 180000;
constexpr long kFlyFromMs = 60000;
constexpr long kFlyToMs = 80040;

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

// Follows each explosion from the frame it appears to the frame it leaves
// the list. The list only grows at its end and keeps its order on removal,
// and an explosion keeps its position, so the lists can be matched in order.
struct TrackedExplosion {
    Vec3   position;
    long   bornFrame;
    size_t particles;
};

struct ExplosionWatch {
    std::vector<TrackedExplosion> tracked;
    long   oldestFrames = 0;   // largest age seen
    long   drained = 0;        // explosions that left the list by themselves
    bool   particlesGrew = false;

    void restart() { tracked.clear(); }

    void update(long frame)
    {
        std::vector<TrackedExplosion> now;
        size_t j = 0;
        for (const ParticleEmitter& e : game.explosions) {
            while (j < tracked.size() && !(tracked[j].position == e.position)) {
                ++drained;
                ++j;
            }
            if (j < tracked.size()) {
                TrackedExplosion t = tracked[j++];
                particlesGrew = particlesGrew || e.particles.size() > t.particles;
                t.particles = e.particles.size();
                oldestFrames = std::max(oldestFrames, frame - t.bornFrame);
                now.push_back(t);
            } else {
                now.push_back({e.position, frame, e.particles.size()});
            }
        }
        drained += static_cast<long>(tracked.size() - j);
        tracked = std::move(now);
    }
};

long heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

// Bytes the game's lists hold right now.
long listBytes()
{
    long bytes = static_cast<long>(game.shots.capacity() * sizeof(Shot) + game.missiles.capacity() * sizeof(Missile)
                                   + game.explosions.capacity() * sizeof(ParticleEmitter));
    for (const Missile& m : game.missiles)
        bytes += static_cast<long>(sizeof(ParticleEmitter) + m.trail->particles.capacity() * sizeof(Particle));
    for (const ParticleEmitter& e : game.explosions)
        bytes += static_cast<long>(e.particles.capacity() * sizeof(Particle));
    return bytes;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4096;
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

// Turns the view with pointer events: the event that updates the view sets
// each angle to the pointer coordinate minus the angle before it.
void lookAt(int yaw, int pitch)
{
    if (!game.applyLook)
        mouseMoved(500, 400);
    mouseMoved(yaw + static_cast<int>(game.yaw), pitch + static_cast<int>(game.pitch));
}

// The missile nearest the planet: the next to strike.
const Missile* nextToStrike()
{
    const Missile* best = nullptr;
    for (const Missile& m : game.missiles)
        if (best == nullptr || m.progress > best->progress)
            best = &m;
    return best;
}

// Lines that start with `start`.
int countLines(const std::string& text, const std::string& start)
{
    int n = 0;
    for (size_t at = 0; (at = text.find(start, at)) != std::string::npos; at += start.size())
        if (at == 0 || text[at - 1] == '\n')
            ++n;
    return n;
}

// Population lines: one per missile that reached the planet.
int countImpacts(const std::string& text)
{
    const std::string line = "% of the planet's population remains.";
    int n = 0;
    for (size_t at = 0; (at = text.find(line, at)) != std::string::npos; at += line.size())
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
    int kills = 0, impacts = 0, restarts = 0, shots = 0;
    size_t mostMissiles = 0;
    long frame = 0, lastRestartMs = 0;
    std::vector<long> heap, rss;  // one sample a minute after the warm-up

    auto restart = [&](long nowMs) {
        keyPressed('r', 0, 0);
        tickAt(static_cast<int>(nowMs + 1));
        displayFrame();
        keyPressed(' ', 0, 0);
        explosions.restart();
        lastRestartMs = nowMs;
        ++restarts;
    };

    for (long nowMs = kTickMs; nowMs <= endMs; nowMs += kTickMs, ++frame) {
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
        const long step = frame % 24;
        if (step == 0) {
            int yaw = 0, pitch = 0;
            if (const Missile* m = nextToStrike(); m != nullptr && aimAngles(leadTarget(*m), yaw, pitch))
                lookAt(yaw, pitch);
        } else if (step <= 3) {
            keyPressed(' ', 0, 0);
            ++shots;
        }
        // now and then fly forward a while and stop again; the aim lines go on
        // and off
        if (nowMs % kFlyCycleMs == kFlyFromMs)
            for (int i = 0; i < 20; ++i) keyPressed('w', 0, 0);
        if (nowMs % kFlyCycleMs == kFlyToMs) {
            for (int i = 0; i < 20; ++i) keyPressed('s', 0, 0);
            keyPressed('l', 0, 0);
        }

        // game over stops nothing: play on until the next restart
        if (nowMs - lastRestartMs >= kRestartEveryMs)
            restart(nowMs);

        if (nowMs % 60000 == 0 && nowMs > kWarmUpMs) {
            glFinish();
            heap.push_back(heapInUse() - listBytes());
            rss.push_back(residentBytes());
        }

        if (frame % 1000 == 0) {  // keep the captured output short
            const std::string text = output();
            kills += countLines(text, "Score: ");
            impacts += countImpacts(text);
            clearOutput();
        }
    }
    const std::string text = output();
    kills += countLines(text, "Score: ");
    impacts += countImpacts(text);

    std::printf("soak: %ld simulated s, %ld frames, %d shots, %d kills, %d impacts, %d restarts, "
                "at most %zu missiles, %ld explosions drained (oldest %ld frames)\n",
                endMs / 1000, frame, shots, kills, impacts, restarts, mostMissiles, explosions.drained,
                explosions.oldestFrames);
    std::printf("soak: heap beside the lists per minute (KiB):");
    for (long bytes : heap)
        std::printf(" %ld", bytes / 1024);
    std::printf("\n");
    // the later half of the samples must not rise above the earlier half
    ASSERT_GE(heap.size(), 4u);
    const size_t half = heap.size() / 2;
    const long heapBefore = *std::max_element(heap.begin(), heap.begin() + half);
    const long rssBefore = *std::max_element(rss.begin(), rss.begin() + half);
    const long heapAfter = *std::max_element(heap.begin() + half, heap.end());
    const long rssAfter = *std::max_element(rss.begin() + half, rss.end());
    std::printf("soak: heap beside the lists at most %ld KiB, then %ld KiB; resident at most %ld KiB, then %ld KiB\n",
                heapBefore / 1024, heapAfter / 1024, rssBefore / 1024, rssAfter / 1024);

    EXPECT_GE(endMs, 60L * 60 * 1000) << "shorter than an hour (QUORVANE_SOAK_MINUTES)";
    EXPECT_EQ(mostMissiles, 7u);
    EXPECT_GT(kills, 0);
    EXPECT_GT(impacts, 0);
    EXPECT_GT(explosions.drained, 0);
    EXPECT_GE(restarts, minutes / 25);
    EXPECT_LE(heapAfter, heapBefore + kHeapSlackBytes) << "the heap grows";
    EXPECT_LE(rssAfter, rssBefore + kRssSlackBytes) << "resident memory grows";
}

}  // namespace
