#include "render/sky.h"

#include "assets/textures.h"
#include "core/quadrics.h"
#include "game/state.h"

#include <GL/glu.h>

// ---- constants -------------------------------------------------------------

constexpr double kStarsRadius = 800.0;   // world units, about the origin
constexpr double kNebulaRadius = 600.0;  // world units, about the origin
constexpr int    kSkySlices = 20;
constexpr int    kPlanetSlices = 40;
constexpr float  kTilt = 50;             // degrees about every sphere's own x axis

// The gas giant hangs this far from the planet and trails its spin.
constexpr float  kGiantOffsetX = 100;
constexpr float  kGiantOffsetY = 150;
constexpr float  kGiantOffsetZ = 250;
constexpr double kGiantSpinLag = 0.05;   // degrees

// ---- sky -------------------------------------------------------------------

// Spheres about the world origin, turned so their poles lie on z.
static void drawSkySphere(double radius)
{
    glPushMatrix();
    glRotatef(90, 1, 0, 0);
    gluSphere(sphereQuadric, radius, kSkySlices, kSkySlices);
    glPopMatrix();
}

// Fixed to the world, not the camera; both layers write depth.
void drawSky()
{
    glPushMatrix();

    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, TEX_STARS);
    drawSkySphere(kStarsRadius);
    glPopAttrib();

    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, TEX_NEBULA);
    drawSkySphere(kNebulaRadius);
    glPopAttrib();

    glPopMatrix();
}

// ---- planet ------------------------------------------------------------------

// Tilted first, then spun about `axis`, so the poles circle the axis.
static void drawSpinningSphere(float x, float y, float z, float spin, const float axis[3], double radius)
{
    glTranslatef(x, y, z);
    glRotatef(spin, axis[0], axis[1], axis[2]);
    glRotatef(kTilt, 1, 0, 0);
    gluSphere(sphereQuadric, radius, kPlanetSlices, kPlanetSlices);
}

// Lit by the current material, added onto what lies behind: black texels
// add nothing.
static void drawGlowLayer(TextureId texture, float x, float y, float z, float spin, const float axis[3],
                          double radius)
{
    glPushAttrib(GL_ENABLE_BIT);
    glPushMatrix();
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
    drawSpinningSphere(x, y, z, spin, axis, radius);
    glPopMatrix();
    glPopAttrib();
}

void drawPlanet(float radius, float x, float y, float z)
{
    static constexpr float kVertical[3] = {0, 1, 0};
    static constexpr float kGiantAxis[3] = {0.15f, 1, 0};
    const float spin = game.planet.spin;

    // The surface is unlit: the current colour tints it (red after a crash).
    glPushAttrib(GL_ENABLE_BIT);
    glPushMatrix();
    glShadeModel(GL_SMOOTH);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TEX_PLANET);
    drawSpinningSphere(x, y, z, spin, kVertical, radius);
    glPopMatrix();
    glPopAttrib();

    drawGlowLayer(TEX_CLOUDS, x, y, z, spin, kVertical, radius + 0.1);

    x += kGiantOffsetX;
    y += kGiantOffsetY;
    z += kGiantOffsetZ;
    const float giantSpin = static_cast<float>(spin - kGiantSpinLag);
    drawGlowLayer(TEX_GASPLANET, x, y, z, giantSpin, kGiantAxis, radius + 100.0);
    drawGlowLayer(TEX_ATM, x, y, z, giantSpin, kGiantAxis, radius + 102.0);
}
