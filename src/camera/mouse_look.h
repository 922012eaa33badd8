// Mouse look: the pointer turns the current camera and is kept away from
// the window's edges.
#pragma once

// ---- functions -------------------------------------------------------------

// GLUT passive-motion callback: pointer re-centring and mouse look.
void mouseMoved(int x, int y);
