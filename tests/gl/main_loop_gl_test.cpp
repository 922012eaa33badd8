// One run of GLUT's real main loop in a real window (run under Xvfb): the
// idle callback drives frames, every frame is swapped, and pointer motion
// without a button reaches the mouse look.
#include "app/app.h"
#include "core/platform.h"
#include "game/state.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

// ---- state -----------------------------------------------------------------

// ms; only a loop whose callbacks never come ends here. The test itself
// counts frames and pointer events, however slowly the machine runs.
constexpr int kGiveUpMs = 120000;

Platform real;
int ticks = 0;   // idle ticks: each reads the clock once
int frames = 0;  // frames swapped

// ---- functions -------------------------------------------------------------

int countedClock()
{
    ++ticks;
    return real.elapsedMs();
}

// Moves the pointer now and then until the look has seen it, then leaves the
// loop a few frames later.
void countedSwap()
{
    ++frames;
    real.swapBuffers();
    if (game.yaw == 0 && frames % 10 == 3)
        glutWarpPointer(600 + frames % 50, 450);
    if (game.yaw != 0 && frames >= 20)
        glutLeaveMainLoop();
}

void giveUp(int) { glutLeaveMainLoop(); }

}  // namespace

TEST(MainLoopGL, IdleDrivesSwappedFramesAndThePointerTurnsTheView)
{
    static char name[] = "test_gl_loop";
    static char* argv[] = {name, nullptr};
    startGame(1, argv);
    game.titleScreen = false;  // as after the space bar: mouse look is on
    restartGame();

    real = platform;
    platform.elapsedMs = countedClock;
    platform.swapBuffers = countedSwap;
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutTimerFunc(kGiveUpMs, giveUp, 0);
    glutMainLoop();
    platform = real;

    EXPECT_GE(ticks, 10);
    EXPECT_GE(frames, 20);
    EXPECT_NE(game.yaw, 0.0f) << "no pointer motion reached the look";
}
