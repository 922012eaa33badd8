#include "render/sky.h"

// Placeholder bodies: the backdrop is being written.
void drawSky() {}

void drawPlanet(float, float, float, float) {}
