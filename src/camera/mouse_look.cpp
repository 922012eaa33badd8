#include "camera/mouse_look.h"

#include "core/platform.h"
#include "game/state.h"

constexpr int kEdgeMargin = 10;  // pixels from a window edge that trigger re-centring

static bool nearEdge(int x, int y)
{
    return x >= game.windowWidth - kEdgeMargin || y >= game.windowHeight - kEdgeMargin
        || x <= kEdgeMargin || y <= kEdgeMargin;
}

void mouseMoved(int x, int y)
{
    if (game.titleScreen)
        return;

    if (nearEdge(x, y))
        sysWarpPointer(game.windowWidth / 2, game.windowHeight / 2);

    // The angle becomes the pointer minus the angle, and only every second
    // event looks: the view turns by the pointer's movement between the
    // event before an update and the update itself.
    game.yaw = static_cast<float>(x) - game.yaw;
    game.pitch = static_cast<float>(y) - game.pitch;

    if (!game.applyLook) {
        game.applyLook = true;
        return;
    }
    game.applyLook = false;
    game.camera.updateView(game.yaw, game.pitch);
    sysPostRedisplay();
}
