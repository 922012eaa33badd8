// Everything flat over the scene: the bitmap font, the title images, the
// crosshair, the score and population lines and the game-over lines.
#pragma once

#include <GL/gl.h>

#include <string>

// ---- state -----------------------------------------------------------------

extern GLuint fontListBase;  // first of 256 glyph display lists

// ---- functions -------------------------------------------------------------

// 256 glyph lists; leaves 2D texturing on with the font's texture bound.
void buildFont();

// One line of text starting at (x, y) in units of 1.55 pixels from the
// bottom-left corner.
void drawText(const std::string& text, float x, float y);

// Title images on the title screen, otherwise the heads-up display.
void drawOverlay();
