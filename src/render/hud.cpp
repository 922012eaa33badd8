#include "render/hud.h"

GLuint fontListBase = 0;

// Placeholder bodies: the font and overlay are being written.
void buildFont() {}

void drawText(const std::string&, float, float) {}

void drawOverlay() {}
