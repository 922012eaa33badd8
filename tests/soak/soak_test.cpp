// Soak: a long heavy game (seven missiles with their trails, explosions, a
// stream of aimed shots, flights and restarts) written by make_recordings at
// test time and played back in a small real window (run under Xvfb). Every
// frame checks the limits that must hold however long the game runs; at the
// end memory must not have grown, whatever the length. make_recordings fails
// a game that misses its goals (spawns, missiles alive at once, kills,
// impacts), and the replay follows that game checksum by checksum.
#include "replay/playback.h"
#include "fake_platform.h"
#include "small_window.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

namespace {

// ---- constants ---------------------------------------------------------------

// An explosion particle lives at most 1 / 0.0001 frames, is reborn once and
// lives at most 1 / 0.001 frames more; float rounding adds a few frames.
constexpr long kExplosionMaxFrames = 10000 + 1000 + 100;
// Memory is sampled every ten seconds of clock after a warm-up of a quarter
// of the game, ten minutes at most. Besides the game's lists, whose size is
// taken out, the heap holds llvmpipe's caches, which vary by some megabytes
// from sample to sample and fill up during the first minutes. A leak of a
// kilobyte a frame would add 15 MB per half hour.
constexpr int  kSampleMs = 10 * 1000;
constexpr int  kMostWarmUpMs = 10 * 60 * 1000;
constexpr long kHeapSlackBytes = 12L * 1024 * 1024;
constexpr long kRssSlackBytes = 32L * 1024 * 1024;

// ---- checks ------------------------------------------------------------------

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool emitterFinite(const ParticleEmitter& emitter)
{
    return std::all_of(emitter.particles.begin(), emitter.particles.end(),
                       [](const Particle& p) { return finite(p.position) && finite(p.velocity) && std::isfinite(p.life); });
}

bool allFinite()
{
    return finite(game.camera.eye) && finite(game.camera.back)
        && std::all_of(game.missiles.begin(), game.missiles.end(),
                       [](const Missile& m) { return finite(m.position) && emitterFinite(*m.trail); })
        && std::all_of(game.shots.begin(), game.shots.end(), [](const Shot& s) { return finite(s.position); })
        && std::all_of(game.explosions.begin(), game.explosions.end(), emitterFinite);
}

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

// ---- every frame -------------------------------------------------------------

struct Watch {
    long frame = 0;
    std::vector<std::pair<Vec3, long>> born;  // each explosion's position and first frame
    long oldest = 0;                          // frames, the longest an explosion lived
    std::size_t mostMissiles = 0;
    bool finite = true;
    int warmUpMs = kMostWarmUpMs;
    int lastSample = 0;                       // clock / kSampleMs
    std::vector<long> heap, rss;              // one sample every kSampleMs after the warm-up
} watch;

// An explosion keeps its position, which tells them apart from frame to frame.
void ageExplosions()
{
    std::vector<std::pair<Vec3, long>> born;
    for (const ParticleEmitter& e : game.explosions) {
        const auto was = std::find_if(watch.born.begin(), watch.born.end(),
                                      [&](const auto& b) { return b.first == e.position; });
        born.emplace_back(e.position, was == watch.born.end() ? watch.frame : was->second);
        watch.oldest = std::max(watch.oldest, watch.frame - born.back().second);
    }
    watch.born = std::move(born);
}

void checkFrame()
{
    ++watch.frame;
    watch.mostMissiles = std::max(watch.mostMissiles, game.missiles.size());
    watch.finite = watch.finite && allFinite();
    ageExplosions();
    if (game.currentTime / kSampleMs > watch.lastSample && game.currentTime > watch.warmUpMs) {
        watch.lastSample = game.currentTime / kSampleMs;
        glFinish();
        watch.heap.push_back(heapBesideLists());
        watch.rss.push_back(residentBytes());
    }
    glutSwapBuffers();
}

// The goals make_recordings reached writing the game, beside the recording.
std::map<std::string, long> goals()
{
    std::map<std::string, long> goals;
    std::ifstream file(QUORVANE_SOAK_RECORDING ".goals");
    std::string name;
    for (long count = 0; file >> name >> count;)
        goals[name] = count;
    return goals;
}

}  // namespace

TEST(Soak, ALongHeavyGameKeepsEveryLimit)
{
    static char name[] = "test_soak";
    startInSmallWindow(name);
    std::map<std::string, long> goal = goals();
    ASSERT_EQ(goal.size(), 6u) << "no goals beside the recording";
    watch.warmUpMs = static_cast<int>(std::min<long>(kMostWarmUpMs, goal["minutes"] * 60000 / 4));
    Recording recording;
    RecordingError error;
    ASSERT_TRUE(loadRecording(QUORVANE_SOAK_RECORDING, "soak.qvr", recording, error)) << error.message;
    std::ostringstream out;
    std::streambuf* const saved = std::cout.rdbuf(out.rdbuf());
    platform.swapBuffers = checkFrame;
    const PlaybackResult result = playRecording(recording, kGameCallbacks);
    std::cout.rdbuf(saved);

    EXPECT_FALSE(result.diverged);
    EXPECT_LE(watch.mostMissiles, 7u);
    EXPECT_TRUE(watch.finite) << "a position became infinite or not a number";
    EXPECT_LE(watch.oldest, kExplosionMaxFrames) << "an explosion never drains";
    ASSERT_GE(watch.heap.size(), 4u) << "too few memory samples";
    EXPECT_LE(growth(watch.heap), kHeapSlackBytes) << "the heap grows";
    EXPECT_LE(growth(watch.rss), kRssSlackBytes) << "resident memory grows";
}
