// The Camera record: the player's viewpoint and its pure maths (no GLUT, no
// game state). Mouse look lives in camera/, flight steps come from the idle
// update.
#pragma once

#include "core/vec3.h"

// ---- types -----------------------------------------------------------------

struct Camera {
    Vec3  up{0, 1, 0};        // never changes
    float lookRadius = 180;   // world units; the look point lies on this sphere about the origin
    Vec3  back;               // eye minus look point as of the last view update; zero until then
    Vec3  eye;
    Vec3  center;             // look point

    Camera() = default;
    Camera(float eyeX, float eyeY, float eyeZ, float lookX, float lookY, float lookZ);

    // Puts the look point on the look sphere opposite the direction that yaw
    // and pitch (degrees) give, and takes back from it.
    void updateView(float yaw, float pitch);

    // One flight step: the eye moves by s times back, the look point creeps
    // by s on every axis, back stays.
    void move(float s);
};
