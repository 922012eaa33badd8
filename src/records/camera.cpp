#include "records/camera.h"

#include "core/trig.h"

#include <cmath>

constexpr double kDegToRad = 0.017453292519943295;

Camera::Camera(float eyeX, float eyeY, float eyeZ, float lookX, float lookY, float lookZ)
    : eye{eyeX, eyeY, eyeZ}, center{lookX, lookY, lookZ}
{
    // back stays zero: a new camera cannot fly until its first view update
}

void Camera::updateView(float yaw, float pitch)
{
    const double b = pitch * kDegToRad;
    const double h = exactCos(b) * lookRadius;
    const float sx = static_cast<float>(exactCos(yaw * kDegToRad) * h);
    const float sy = static_cast<float>(exactSin(b) * lookRadius);
    const float sz = static_cast<float>(exactCos((90.0 - yaw) * kDegToRad) * h);
    center = {-sx, -sy, -sz};
    back = eye - center;
}

void Camera::move(float s)
{
    eye = eye + s * back;
    center = {center.x + s, center.y + s, center.z + s};
}
