// The backdrop: the star and nebula spheres, the planet with its clouds and
// the gas giant with its atmosphere.
#pragma once

// ---- functions -------------------------------------------------------------

void drawSky();

// The planet of the given radius at (x, y, z); the gas giant hangs at
// (x + 100, y + 150, z + 250).
void drawPlanet(float radius, float x, float y, float z);
