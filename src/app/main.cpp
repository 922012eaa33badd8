// Quorvane: defend the planet from the missiles that fly at it.
#include "app/app.h"
#include "app/options.h"
#include "replay/playback.h"
#include "replay/recorder.h"
#include "replay/recording.h"
#include "replay/screenshots.h"
#include "assets/texture_root.h"
#include "core/platform.h"
#include "sound/openal_out.h"
#include "sound/soundtrack.h"
#include "sound/wav.h"

#include <GL/glut.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

// ---- state -----------------------------------------------------------------

static Recording recording;  // replayed from start-up to exit

// ---- functions -------------------------------------------------------------

// The demo that ships with the game lies beside its images.
static std::string shippedDemo()
{
    std::error_code error;
    const std::filesystem::path root =
        findTextureRoot(std::filesystem::current_path(error), std::filesystem::read_symlink("/proc/self/exe", error));
    return (root.empty() ? std::filesystem::path("textures") : root / "textures") / "demo.qvr";
}

// Reads and checks the recording to replay, before any window opens.
static bool loadReplay(Options& options)
{
    if (options.file.empty())
        options.file = options.path = shippedDemo();
    RecordingError error;
    if (!loadRecording(options.path, options.file, recording, error)) {
        std::cerr << "quorvane: " << describeError(options.file, error) << '\n';
        return false;
    }
    if (recording.gameVersion != QUORVANE_VERSION)
        std::cerr << "quorvane: " << options.file << " was recorded by quorvane " << recording.gameVersion
                  << ", this is " << QUORVANE_VERSION << "; playing it anyway\n";
    if (!recording.complete)
        std::cerr << options.file << " ends early at line " << recording.endsAt << '\n';
    return true;
}

// The largest window the recording asks for.
static void largestWindow(int& width, int& height)
{
    width = recording.largestWidth;
    height = recording.largestHeight;
}

// --shots saves into the folder the game was started from: it must still
// be there, and writable, before the window opens.
static bool shotsFolder(std::string& dir)
{
    std::error_code error;
    dir = std::filesystem::current_path(error).string();
    if (error) {
        std::cerr << "quorvane: cannot save frames: the folder the game was started from is gone\n";
        return false;
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        std::cerr << "quorvane: cannot save frames in " << dir << ": " << std::strerror(errno) << '\n';
        return false;
    }
    return true;
}

// A rendered soundtrack, the sound device, or (muted, or no device) silence.
static void startSound(const Options& options)
{
    const bool opened = options.soundOut.empty() ? !options.mute && openSoundDevice() : openSoundLoopback();
    if (opened)
        std::atexit(closeSound);
    startSoundtrack(options.mute);
}

static const GameCallbacks& callbacksFor(const Options& options)
{
    switch (options.mode) {
    case Mode::Record:
        return recordingCallbacks();
    case Mode::Replay:
    case Mode::Timedemo:
        return startPlayback(recording, kGameCallbacks,
                             options.mode == Mode::Replay ? Pace::Recorded : Pace::Fastest,
                             options.mode == Mode::Timedemo);
    case Mode::Play:
        break;
    }
    return kGameCallbacks;
}

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::cerr << "quorvane: " << error << " (see quorvane --help)\n";
        return 2;
    }
    if (options.help || options.version) {
        std::cout << (options.help ? usageText() : "quorvane " QUORVANE_VERSION "\n");
        return 0;
    }
    // Every file before the display, so a bad one is named without one.
    const bool replaying = options.mode == Mode::Replay || options.mode == Mode::Timedemo;
    if (replaying && !loadReplay(options))
        return 1;
    if (options.mode == Mode::Record) {
        if (!openRecording(options.path, options.file, kGameCallbacks, error)) {
            std::cerr << "quorvane: cannot create " << error << '\n';
            return 1;
        }
        std::atexit(finishRecording);
    }
    if (!options.soundOut.empty() && !createWavOut(options.soundOut, kLoopbackRate, error)) {
        std::cerr << "quorvane: cannot create " << error << '\n';
        return 1;
    }
    std::string shotsDir;
    if (options.saveShots && !shotsFolder(shotsDir))
        return 1;
    if (!platform.haveDisplay(static_cast<int>(options.glutArgs.size()), options.glutArgs.data())) {
        std::cerr << "quorvane: no X display (DISPLAY is not set); run it on a desktop, "
                     "or without one: xvfb-run -a -s '-screen 0 1280x1024x24' " << argv[0] << '\n';
        return 1;
    }
    if (options.saveShots) {
        int width = kWindowWidth, height = kWindowHeight;
        if (replaying)
            largestWindow(width, height);
        startScreenshots(options.shots, shotsDir, width, height);
        std::atexit(finishScreenshots);
    }

    enterTextureRoot();  // none found: the loader names the missing file
    startSound(options);
    const GameCallbacks& callbacks = callbacksFor(options);
    options.glutArgs.push_back(nullptr);
    startGame(static_cast<int>(options.glutArgs.size()) - 1, options.glutArgs.data(), callbacks);
    beginRecording(kWindowWidth, kWindowHeight);  // the window is open: only now is the file emptied
    glutMainLoop();
    return 0;
}
