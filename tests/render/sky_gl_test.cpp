// The backdrop seen through the game's own perspective (60 degrees, 1.25),
// with its images replaced by plain colours.
#include "render/sky.h"

#include "assets/textures.h"
#include "effects/particles.h"
#include "effects/shot_sprite.h"
#include "game/shots.h"
#include "game/state.h"
#include "gl_scene.h"

namespace {

// Stars grey, the planet's surface red, everything additive black (adds
// nothing) unless a test says otherwise. Lit layers get a material that
// lights them fully, so an additive layer adds exactly its texel.
class Backdrop : public GlScene {
protected:
    void SetUp() override
    {
        GlScene::SetUp();
        solidTexture(TEX_STARS, 2, 2, {0, 40, 0});
        solidTexture(TEX_PLANET, 2, 2, {200, 0, 0});
        for (GLuint slot : {TEX_CLOUDS, TEX_NEBULA, TEX_ATM, TEX_GASPLANET})
            solidTexture(slot, 2, 2, {0, 0, 0});
        solidTexture(TEX_BLAST_0, 2, 2, {255, 255, 255});
        const GLfloat white[] = {1, 1, 1, 1};
        const GLfloat none[] = {0, 0, 0, 1};
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, white);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, none);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
        game.planet.spin = 0;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

// 100 units in front of the planet's centre (-50, 50, 50), on the +z side:
// the surface (radius 25) shows 178.9 pixels around the window's centre.
void lookAtThePlanet() { lookAt(-50, 50, 150, -50, 50, 50); }

void drawThePlanetWithItsSky()
{
    lookAtThePlanet();
    drawSky();
    drawPlanet(25, -50, 50, 50);
}

constexpr Rgb kSurface{200, 0, 0};
constexpr Rgb kStars{0, 40, 0};

}  // namespace

TEST_F(Backdrop, PlanetSurfaceIsUnlitAtItsCentreAndRadius)
{
    drawThePlanetWithItsSky();
    const Frame f = readFrame();
    EXPECT_EQ(f.at(500, 400), kSurface);
    EXPECT_EQ(f.at(500 + 172, 400), kSurface);
    EXPECT_EQ(f.at(500 + 186, 400), kStars);
    EXPECT_EQ(f.at(500, 400 - 172), kSurface);
    EXPECT_EQ(f.at(500, 400 - 186), kStars);
}

// Texture t runs from 0 at the sphere's -z pole to 1 at its +z pole. The
// surface is tilted 50 degrees about x and then spun: with a spin of 90 its
// +z pole points along (0.643, -0.766, 0), so of the two surface points
// (-0.3, -0.8, 0.52) and (0.3, 0.8, 0.52) (in pixels (440, 241) and
// (560, 559)) the first lies in the +z half and the second in the -z half.
TEST_F(Backdrop, PlanetIsTiltedThenSpun)
{
    uploadTexture(TEX_PLANET, 2, 2, {0, 0, 200, 0, 0, 200, 200, 0, 0, 200, 0, 0});
    game.planet.spin = 90;
    lookAtThePlanet();
    drawPlanet(25, -50, 50, 50);
    const Frame f = readFrame();
    EXPECT_EQ(f.at(440, 241), (Rgb{200, 0, 0}));
    EXPECT_EQ(f.at(560, 559), (Rgb{0, 0, 200}));
}

// From 300 units beside the gas giant's centre (50, 200, 300), still inside
// the nebula sphere, its radius of 125 shows 317.5 pixels out and the
// atmosphere's 127 323.8.
TEST_F(Backdrop, GasGiantAndAtmosphereHangBeyondThePlanet)
{
    solidTexture(TEX_GASPLANET, 2, 2, {0, 0, 100});
    solidTexture(TEX_ATM, 2, 2, {0, 100, 0});
    solidTexture(TEX_STARS, 2, 2, {0, 0, 0});
    lookAt(-250, 200, 300, 50, 200, 300);
    drawSky();
    drawPlanet(25, -50, 50, 50);
    const Frame f = readFrame();
    EXPECT_EQ(f.at(500, 400), (Rgb{0, 100, 100}));
    EXPECT_EQ(f.at(500, 400 + 312), (Rgb{0, 100, 100}));
    EXPECT_EQ(f.at(500, 400 + 321), (Rgb{0, 100, 0}));
    EXPECT_EQ(f.at(500, 400 + 327), (Rgb{0, 0, 0}));
}

TEST_F(Backdrop, ShotBehindThePlanetIsHidden)
{
    drawThePlanetWithItsSky();
    drawShot(Shot{0.5f, {-50, 50, 0}, {-50, 50, -10}});
    EXPECT_EQ(readFrame().at(500, 400), kSurface);

    drawShot(Shot{0.5f, {-50, 50, 100}, {-50, 50, 90}});
    EXPECT_EQ(readFrame().at(500, 400), (Rgb{255, 255, 255}));
}

// Particles draw without the depth test: an explosion and a trail 50 units
// behind the planet's far side still show over its middle.
TEST_F(Backdrop, ParticlesShowOverThePlanet)
{
    for (GLuint slot = TEX_TRAIL_0; slot <= TEX_BLAST_2; ++slot)
        solidTexture(slot, 2, 2, {255, 255, 255});
    drawThePlanetWithItsSky();
    ParticleEmitter explosion(10, {-50, 50, -25}, {0, -0.3f, 0});
    drawExplosion(explosion);
    EXPECT_EQ(readFrame().at(500, 400), (Rgb{255, 255, 255}));

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPlanet(25, -50, 50, 50);
    EXPECT_EQ(readFrame().at(500, 400), kSurface);
    ParticleEmitter trail(10, {-50, 50, -25}, {0, 0, -100});
    drawTrail(trail, {-50, 50, -25});
    EXPECT_EQ(readFrame().at(500, 400), (Rgb{255, 255, 255}));
}

TEST_F(Backdrop, RestoresMatricesAndFlags)
{
    for (auto draw : {drawSky, +[] { drawPlanet(25, -50, 50, 50); }})
        expectRestored(lookAtThePlanet, draw);
}

TEST_F(Backdrop, LeavesBlendingTextureAndShadingBehind)
{
    glShadeModel(GL_FLAT);
    glBlendFunc(GL_ONE, GL_ZERO);
    drawSky();
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_FLAT) << "the sky leaves the first frame's flat shading";
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(TEX_NEBULA));

    drawPlanet(25, -50, 50, 50);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(TEX_ATM));
}
