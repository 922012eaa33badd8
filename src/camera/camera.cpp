#include "camera/camera.h"

#include "core/platform.h"
#include "game/state.h"

#include <cmath>

constexpr double kDegToRad = 0.017453292519943295;
constexpr int    kEdgeMargin = 10;  // pixels from a window edge that trigger re-centring

Camera::Camera(float eyeX, float eyeY, float eyeZ, float lookX, float lookY, float lookZ)
    : eye{eyeX, eyeY, eyeZ}, center{lookX, lookY, lookZ}
{
    // back stays zero: a new camera cannot fly until its first view update
}

void Camera::updateView(float yaw, float pitch)
{
    const double b = pitch * kDegToRad;
    const double h = std::cos(b) * lookRadius;
    const float sx = static_cast<float>(std::cos(yaw * kDegToRad) * h);
    const float sy = static_cast<float>(std::sin(b) * lookRadius);
    const float sz = static_cast<float>(std::cos((90.0 - yaw) * kDegToRad) * h);
    center = {-sx, -sy, -sz};
    back = eye - center;
}

void Camera::move(float s)
{
    eye = eye + s * back;
    center = {center.x + s, center.y + s, center.z + s};
}

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
