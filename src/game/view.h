// What the player sees of the world: the perspective the window shows.
#pragma once

#include <optional>

// ---- types -----------------------------------------------------------------

struct Projection {
    double fieldOfView = 60.0;  // degrees, vertical
    double aspect = 1.0;        // width over height
    double nearPlane = 1.0;     // world units
    double farPlane = 1500.0;   // world units
};

// ---- functions -------------------------------------------------------------

// The perspective for a window of width x height pixels. None for a
// minimised window (a side of 0 or less): the view stays as it was rather
// than dividing by zero.
std::optional<Projection> projectionFor(int width, int height);
