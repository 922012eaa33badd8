#include "sound/soundtrack.h"

#include "game/events.h"
#include "game/state.h"
#include "sound/audio.h"
#include "sound/voices.h"

#include <vector>

// ---- types -----------------------------------------------------------------

// A one-shot heard since the last frame, played at the next one, after the
// mixer has rendered up to that frame's clock: in a rendered file it starts
// on the frame's own sample.
struct PendingSound {
    SoundId sound;
    Vec3    at;
    bool    atListener;
};

// One per missile, found by the missile's id.
struct Engine {
    int missileId = 0;
    int voice = -1;      // -1: silent (title screen, or no voice to be had)
    int spawnedAt = 0;   // ms of game clock
};

// ---- constants -------------------------------------------------------------

constexpr std::size_t kMaxPending = 256;  // one-shots between two frames; more are dropped
constexpr int kEngineSettleMs = 500;      // an engine's velocity, its average so far, is zero until then

// ---- state -----------------------------------------------------------------

static struct {
    bool muted = false;
    VoicePool pool;
    std::vector<PendingSound> pending;
    std::vector<Engine> engines;
    std::vector<int> dyingEngines;    // voices to stop at the next frame
    bool onTitle = false;             // the title loop is playing
    bool crashedThisFrame = false;
    bool insidePlanet = false;        // the crash sounded and the eye has not left
    int  lastPopulation = 0;          // percent, at the last frame
    int  gameOverAt = -1;             // ms of clock to play the game-over sound at
} sound;

// ---- functions -------------------------------------------------------------

static bool playing() { return !game.titleScreen; }

static void queue(SoundId id, const Vec3& at, bool atListener)
{
    if (sound.muted || sound.pending.size() >= kMaxPending)
        return;
    sound.pending.push_back({id, at, atListener});
}

static Engine* engineOf(int missileId)
{
    for (Engine& engine : sound.engines)
        if (engine.missileId == missileId)
            return &engine;
    return nullptr;
}

// Its voice stops at the next frame.
static void silence(const Engine& engine)
{
    if (engine.voice >= 0)
        sound.dyingEngines.push_back(engine.voice);
}

static void dropEngine(int missileId)
{
    std::erase_if(sound.engines, [&](const Engine& engine) {
        if (engine.missileId != missileId)
            return false;
        silence(engine);
        return true;
    });
}

static void onSpawned(int missileId, const Vec3& at)
{
    sound.engines.push_back({missileId, -1, game.currentTime});
    if (playing())
        queue(SoundId::Launch, at, false);
}

static void onShot(int missileId, const Vec3& at)
{
    dropEngine(missileId);
    if (playing())
        queue(SoundId::Explosion, at, false);
}

static void onImpact(int missileId, const Vec3& at)
{
    dropEngine(missileId);
    if (playing())
        queue(SoundId::Impact, at, false);
}

static void onCleared()
{
    for (const Engine& engine : sound.engines)
        silence(engine);
    sound.engines.clear();
}

static void onFired(const Vec3& eye) { queue(SoundId::Zap, eye, true); }
static void onCrashed() { sound.crashedThisFrame = true; }

// A stolen engine voice goes silent; its missile asks again next frame.
static void forgetVoice(int voice)
{
    for (Engine& engine : sound.engines)
        if (engine.voice == voice)
            engine.voice = -1;
}

static int claim(SoundId id)
{
    const int voice = claimVoice(sound.pool, id, game.currentTime);
    if (voice >= 0)
        forgetVoice(voice);
    return voice;
}

static void playNow(SoundId id, const Vec3& at, bool atListener)
{
    const int voice = claim(id);
    if (voice >= 0)
        audio.playOnce(voice, id, at, atListener);
}

static void stopEverything()
{
    audio.stopAll();
    sound.pool = VoicePool{};
    sound.pending.clear();
    sound.dyingEngines.clear();
    for (Engine& engine : sound.engines)
        engine.voice = -1;
    sound.onTitle = false;
    sound.gameOverAt = -1;
}

// `r` and the first frame bring the title: everything stops, its loop plays.
static void followPhase()
{
    if (game.titleScreen == sound.onTitle)
        return;
    const bool toTitle = game.titleScreen;
    stopEverything();
    sound.onTitle = toTitle;
    sound.lastPopulation = game.population;
    sound.insidePlanet = false;
    if (toTitle && !sound.muted) {
        const int voice = claim(SoundId::Title);
        if (voice >= 0)
            audio.startLoop(voice, SoundId::Title, Vec3{}, Vec3{}, true);
    }
}

// The crash as the eye enters the planet, and the end of the game when the
// population runs out: after the crash's own sound when that ended it.
static void followCrashAndGameOver()
{
    const bool crashNow = sound.crashedThisFrame && !sound.insidePlanet;
    sound.insidePlanet = sound.crashedThisFrame;
    sound.crashedThisFrame = false;
    if (crashNow && !sound.muted)
        playNow(SoundId::Crash, Vec3{}, true);
    if (sound.lastPopulation > 0 && game.population <= 0 && !sound.muted)
        sound.gameOverAt = game.currentTime + (crashNow ? soundInfo(SoundId::Crash).lengthMs : 0);
    sound.lastPopulation = game.population;
    if (sound.gameOverAt >= 0 && game.currentTime >= sound.gameOverAt) {
        sound.gameOverAt = -1;
        playNow(SoundId::GameOver, Vec3{}, true);
    }
}

// Average velocity since spawn: missiles fly straight at a steady pace, and
// the average does not jitter with the frames that take no flight step.
static Vec3 engineVelocity(const Missile& missile, const Engine& engine)
{
    const int flown = game.currentTime - engine.spawnedAt;
    if (flown < kEngineSettleMs)
        return {};
    return (1000.0f / static_cast<float>(flown)) * (missile.position - missile.start);
}

// The engine of a missile that came without an event (a test, a new
// state), made now.
static Engine& engineFor(const Missile& missile)
{
    if (Engine* engine = engineOf(missile.id))
        return *engine;
    return sound.engines.emplace_back(Engine{missile.id, -1, game.currentTime});
}

// An engine whose missile left without an event goes silent too.
static void dropOrphanEngines()
{
    std::erase_if(sound.engines, [](const Engine& engine) {
        for (const Missile& missile : game.missiles)
            if (missile.id == engine.missileId)
                return false;
        silence(engine);
        return true;
    });
}

static void followEngines()
{
    dropOrphanEngines();
    for (const Missile& missile : game.missiles) {
        Engine& engine = engineFor(missile);
        const Vec3 velocity = engineVelocity(missile, engine);
        if (engine.voice >= 0) {
            audio.moveLoop(engine.voice, missile.position, velocity);
        } else if (playing() && !sound.muted) {
            engine.voice = claim(SoundId::Engine);
            if (engine.voice >= 0)
                audio.startLoop(engine.voice, SoundId::Engine, missile.position, velocity, false);
        }
    }
}

static void placeListener()
{
    const Camera& camera = game.camera;
    audio.listener(camera.eye, camera.center - camera.eye, camera.up);
}

void startSoundtrack(bool muted)
{
    sound = {};
    sound.muted = muted;
    gameEvents = {onSpawned, onShot, onImpact, onCleared, onFired, onCrashed};
}

void soundtrackFrame()
{
    audio.advanceTo(game.currentTime);  // what was already playing, up to now
    releaseFinished(sound.pool, game.currentTime);
    for (int voice : sound.dyingEngines) {
        audio.stop(voice);
        sound.pool.voices[voice].busy = false;
    }
    sound.dyingEngines.clear();
    followPhase();
    for (const PendingSound& p : sound.pending)
        playNow(p.sound, p.at, p.atListener);
    sound.pending.clear();
    followCrashAndGameOver();
    placeListener();
    followEngines();
}

void stopSoundtrack()
{
    stopEverything();
    sound.engines.clear();
    gameEvents = silentGameEvents();
}
