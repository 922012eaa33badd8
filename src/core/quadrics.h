// The two GLU quadrics, made once at start-up and used for the whole run.
#pragma once

#include <GL/glu.h>

extern GLUquadric* sphereQuadric;   // sky and planet spheres: filled, smooth, textured
extern GLUquadric* missileQuadric;  // missile body and nose: smooth, textured
