// The soundtrack without OpenAL: the game's real events and state in, a log
// of what reaches the mixer out.
#include "fake_platform.h"

#include "app/app.h"
#include "game/combat.h"
#include "game/events.h"
#include "game/missiles.h"
#include "game/shots.h"
#include "sound/audio.h"
#include "sound/soundtrack.h"
#include "sound/voices.h"

#include <set>

// ---- a mixer that writes down what it is asked ----------------------------

enum class Call { Listener, Once, Loop, Move, Stop, StopAll };

struct Logged {
    Call    call;
    int     voice = -1;
    SoundId sound = SoundId::Count;
    Vec3    at;
    Vec3    velocity;
    bool    atListener = false;
};

static std::vector<Logged> calls;

static AudioOut loggingAudio()
{
    return {
        [](const Vec3& eye, const Vec3&, const Vec3&) { calls.push_back({Call::Listener, -1, SoundId::Count, eye, {}, false}); },
        [](int v, SoundId s, const Vec3& at, bool l) { calls.push_back({Call::Once, v, s, at, {}, l}); },
        [](int v, SoundId s, const Vec3& at, const Vec3& vel, bool l) { calls.push_back({Call::Loop, v, s, at, vel, l}); },
        [](int v, const Vec3& at, const Vec3& vel) { calls.push_back({Call::Move, v, SoundId::Count, at, vel, false}); },
        [](int v) { calls.push_back({Call::Stop, v, SoundId::Count, {}, {}, false}); },
        [] { calls.push_back({Call::StopAll, -1, SoundId::Count, {}, {}, false}); },
        [](int) {},
    };
}

static std::vector<Logged> callsOf(Call kind, SoundId sound = SoundId::Count)
{
    std::vector<Logged> found;
    for (const Logged& c : calls)
        if (c.call == kind && (sound == SoundId::Count || c.sound == sound))
            found.push_back(c);
    return found;
}

class SoundtrackTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        audio = loggingAudio();
        startSoundtrack(false);
        restartGame();  // play
        frameAt(1);
    }
    void TearDown() override
    {
        stopSoundtrack();
        audio = silentAudio();
        GameTest::TearDown();
    }
    // A frame's sound at the clock; the log starts afresh.
    void frameAt(int ms)
    {
        calls.clear();
        game.currentTime = ms;
        soundtrackFrame();
    }
    // A missile from the game's own spawn timer.
    static Missile& spawn()
    {
        game.lastSpawnTime = game.currentTime - 6000;
        spawnTick();
        return game.missiles.back();
    }
    static void shoot(std::size_t missile)
    {
        game.shots.push_back(Shot{0.5f, game.missiles[missile].position, {}});
        combatUpdate();
        game.shots.clear();
    }
};

// ---- tests -----------------------------------------------------------------

// A shot's zap sits on the listener; a kill's explosion and an impact sit
// where the missile died; the launch where it was born.
TEST_F(SoundtrackTest, EventsPlayTheirSoundsWhereTheyHappen)
{
    const Vec3 born = spawn().start;
    spawn().position = {30, -40, 200};
    game.missiles[0].position = {-50, 60, 45};  // inside the planet
    fireShot();
    shoot(1);
    ASSERT_TRUE(checkPlanetImpact(0));
    frameAt(100);
    const auto launches = callsOf(Call::Once, SoundId::Launch);
    const auto zaps = callsOf(Call::Once, SoundId::Zap);
    const auto explosions = callsOf(Call::Once, SoundId::Explosion);
    const auto impacts = callsOf(Call::Once, SoundId::Impact);
    ASSERT_EQ(std::tuple(launches.size(), zaps.size(), explosions.size(), impacts.size()), std::tuple(2u, 1u, 1u, 1u));
    EXPECT_EQ(std::tuple(launches[0].at, launches[0].atListener), std::tuple(born, false));
    EXPECT_TRUE(zaps[0].atListener);
    EXPECT_EQ(std::tuple(explosions[0].at, explosions[0].atListener), std::tuple(Vec3{30, -40, 200}, false));
    EXPECT_EQ(std::tuple(impacts[0].at, impacts[0].atListener), std::tuple(Vec3{-50, 60, 45}, false));
    std::set<int> voices;
    for (const Logged& c : calls)
        if (c.call == Call::Once)
            voices.insert(c.voice);
    EXPECT_EQ(voices.size(), 5u);
}

// Engines start with their missiles, move with them at their velocity, stop
// the frame after they die to a shot or the planet (the right ones as the
// list closes up), and `r` silences everything but the title.
TEST_F(SoundtrackTest, EnginesFollowTheirMissilesAndStopOnDeathAndRestart)
{
    for (int i = 0; i < 4; ++i)
        spawn();
    frameAt(100);
    const auto started = callsOf(Call::Loop, SoundId::Engine);
    ASSERT_EQ(started.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::tuple(started[i].at, started[i].atListener), std::tuple(game.missiles[i].start, false));

    for (Missile& m : game.missiles)
        m.position = m.start + 0.01f * m.direction;  // 1 % of the way in 2 s
    shoot(1);
    game.missiles[2].position = kPlanetCentre;  // the fourth, now third
    ASSERT_TRUE(checkPlanetImpact(2));
    frameAt(2000);
    const auto stops = callsOf(Call::Stop);
    const auto moves = callsOf(Call::Move);
    ASSERT_EQ(std::tuple(stops.size(), moves.size()), std::tuple(2u, 2u));
    EXPECT_EQ(std::tuple(stops[0].voice, stops[1].voice), std::tuple(started[1].voice, started[3].voice));
    EXPECT_EQ(std::tuple(moves[0].voice, moves[1].voice), std::tuple(started[0].voice, started[2].voice));
    EXPECT_EQ(moves[1].at, game.missiles[1].position);
    const Vec3 expected = (1000.0f / 1999) * (0.01f * game.missiles[1].direction);  // spawned at 1 ms
    EXPECT_NEAR(moves[1].velocity.x, expected.x, 1e-3);
    EXPECT_NEAR(moves[1].velocity.z, expected.z, 1e-3);

    keyPressed('r', 0, 0);
    frameAt(2100);
    spawn();
    frameAt(2200);
    EXPECT_EQ(callsOf(Call::Loop).size(), 0u);  // the title loop started at the `r` frame
    EXPECT_EQ(callsOf(Call::Move).size(), 0u);
    EXPECT_EQ(callsOf(Call::Once).size(), 0u);
}

// The title loop plays, unattenuated, on the title screen only; at `r`
// everything else stops first.
TEST_F(SoundtrackTest, TitleLoopOnlyOnTheTitleScreen)
{
    spawn();
    frameAt(100);
    keyPressed('r', 0, 0);
    frameAt(200);
    ASSERT_EQ(callsOf(Call::Loop).size(), 1u);
    EXPECT_EQ(calls[0].call, Call::StopAll);
    EXPECT_EQ(std::tuple(callsOf(Call::Loop)[0].sound, callsOf(Call::Loop)[0].atListener),
              std::tuple(SoundId::Title, true));
    keyPressed(' ', 0, 0);
    frameAt(300);
    EXPECT_EQ(callsOf(Call::StopAll).size(), 1u);
}

// Flying into the planet: the crash once, then the game-over sound when the
// crash has played; impacts that empty the planet play it at once.
TEST_F(SoundtrackTest, CrashThenGameOver)
{
    game.camera.eye = {-40, 60, 60};
    checkPlanetCrash([] {});
    frameAt(100);
    ASSERT_EQ(callsOf(Call::Once).size(), 1u);
    EXPECT_EQ(std::tuple(calls[0].sound, calls[0].atListener), std::tuple(SoundId::Crash, true));
    checkPlanetCrash([] {});
    frameAt(1099);
    EXPECT_EQ(callsOf(Call::Once).size(), 0u);
    checkPlanetCrash([] {});
    frameAt(1100);
    ASSERT_EQ(callsOf(Call::Once).size(), 1u);
    EXPECT_EQ(callsOf(Call::Once)[0].sound, SoundId::GameOver);

    restartGame();
    frameAt(1200);
    game.population = 3;
    spawn().position = kPlanetCentre;
    checkPlanetImpact(0);
    frameAt(1300);
    EXPECT_EQ(callsOf(Call::Once, SoundId::GameOver).size(), 1u);
}

// Muted, the events and frames reach nothing that sounds.
TEST_F(SoundtrackTest, MutedPlaysNothing)
{
    startSoundtrack(true);
    keyPressed('r', 0, 0);
    frameAt(100);
    keyPressed(' ', 0, 0);
    frameAt(150);
    spawn();
    spawn().position = {1, 2, 300};
    fireShot();
    shoot(1);
    game.camera.eye = kPlanetCentre;
    checkPlanetCrash([] {});
    for (int ms : {200, 1300}) {
        frameAt(ms);
        EXPECT_EQ(callsOf(Call::Once).size() + callsOf(Call::Loop).size(), 0u) << ms << " ms";
    }
}

// Seven engines, then 100 shots and 6 explosions in one frame: every engine
// keeps its voice and every explosion gets one.
TEST_F(SoundtrackTest, PoolHoldsSevenEnginesAHundredShotsAndExplosions)
{
    for (int i = 0; i < 7; ++i)
        spawn();
    frameAt(100);
    std::set<int> engines;
    for (const Logged& c : callsOf(Call::Loop, SoundId::Engine))
        engines.insert(c.voice);
    ASSERT_EQ(engines.size(), 7u);
    for (int i = 0; i < 100; ++i)
        fireShot();
    for (int i = 0; i < 6; ++i)
        gameEvents.missileShot(99, Vec3{10.0f * i, 0, 300});
    frameAt(200);
    for (const Logged& c : callsOf(Call::Once))
        EXPECT_FALSE(engines.count(c.voice)) << "an engine gave way";
    EXPECT_EQ(callsOf(Call::Once, SoundId::Zap).size(), 100u);
    EXPECT_EQ(callsOf(Call::Once, SoundId::Explosion).size(), 6u);
    EXPECT_EQ(callsOf(Call::Move).size(), 7u);
}

// With every voice busy, a new sound takes the least important one, however
// new; among the least important the oldest gives way first; nothing gives
// way to a less important sound.
TEST(VoicePool, TheLeastImportantGiveWayOldestFirst)
{
    VoicePool pool;
    for (int v = 0; v < kVoiceCount; ++v)  // zaps started in a shuffled order, the oldest on voice 17
        pool.voices[v] = Voice{true, SoundId::Zap, 100 + (v + 15) * 7 % kVoiceCount * 10, 1 << 30};
    pool.voices[5] = Voice{true, SoundId::Launch, 5000, 1 << 30};
    pool.voices[9] = Voice{true, SoundId::Engine, 0, 1 << 30};
    EXPECT_EQ(claimVoice(pool, SoundId::Zap, 6000), 5);
    EXPECT_EQ(claimVoice(pool, SoundId::Zap, 6000), 17);
    EXPECT_EQ(claimVoice(pool, SoundId::Explosion, 6000), 8);  // the oldest zap left
    EXPECT_EQ(claimVoice(pool, SoundId::Launch, 6000), -1);
    EXPECT_EQ(pool.voices[9].sound, SoundId::Engine);
}
