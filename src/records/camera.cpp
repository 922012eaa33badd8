#include "records/camera.h"

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
