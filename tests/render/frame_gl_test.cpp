// Whole frames through the display callback, with the backdrop and overlay
// images replaced by plain colours: what a crash leaves on screen.
#include "render/frame.h"

#include "app/app.h"
#include "assets/textures.h"
#include "game/state.h"
#include "gl_scene.h"

#include <iostream>
#include <sstream>
#include <utility>

namespace {

// Unlit layers grey (stars, planet surface), overlay images white; lit
// additive layers black, so they add nothing whatever the material.
constexpr std::pair<GLuint, Rgb> kImages[] = {
    {TEX_STARS, {100, 100, 100}}, {TEX_PLANET, {200, 200, 200}},  {TEX_CLOUDS, {}},         {TEX_NEBULA, {}},
    {TEX_ATM, {}},                {TEX_GASPLANET, {}},            {TEX_FONT, {255, 255, 255}}, {TEX_CROSSHAIR, {255, 255, 255}},
    {TEX_LOGO, {255, 255, 255}},  {TEX_TITLE_TEXT, {255, 255, 255}},
};

class WholeFrame : public GlScene {
protected:
    void SetUp() override
    {
        GlScene::SetUp();
        for (auto [slot, colour] : kImages)
            solidTexture(slot, 2, 2, colour);
        savedCamera_ = game.camera;
        saved_ = std::cout.rdbuf(quiet_.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(saved_);
        game.camera = savedCamera_;
        game.titleScreen = true;
        GlScene::TearDown();
    }

private:
    Camera             savedCamera_;
    std::ostringstream quiet_;
    std::streambuf*    saved_ = nullptr;
};

struct Tally {
    int lit = 0;         // pixels with any colour
    int greenOrBlue = 0; // pixels with green or blue
};

Tally tally(const Frame& f)
{
    Tally t;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const Rgb c = f.at(x, y);
            t.lit += !c.black();
            t.greenOrBlue += c.g != 0 || c.b != 0;
        }
    return t;
}

}  // namespace

TEST_F(WholeFrame, CrashTintsSkyPlanetAndOverlayRedForTheRestOfTheRun)
{
    game.titleScreen = true;
    keyPressed(' ', 0, 0);  // play
    displayFrame();
    Frame f = readFrame();
    EXPECT_GT(tally(f).greenOrBlue, 400000) << "grey sky before the crash";

    // Inside the planet, facing its far side: its unlit inner surface fills
    // the window. The crash comes after the scene, before the overlay.
    game.camera.eye = {-50, 50, 70};
    game.camera.center = {-50, 50, -100};
    displayFrame();
    EXPECT_EQ(game.population, 0);
    f = readFrame();
    EXPECT_EQ(f.at(100, 600), (Rgb{200, 200, 200})) << "planet surface, drawn before the crash";
    EXPECT_EQ(f.at(430, 290), (Rgb{255, 200, 200})) << "red game-over line over it";

    displayFrame();
    f = readFrame();
    EXPECT_EQ(tally(f).greenOrBlue, 0);
    EXPECT_EQ(f.at(100, 600), (Rgb{200, 0, 0})) << "planet surface";
    EXPECT_EQ(f.at(10, 12).r, 255) << "score line over the planet";

    keyPressed('r', 0, 0);  // title
    displayFrame();
    f = readFrame();
    EXPECT_EQ(tally(f).greenOrBlue, 0);
    EXPECT_EQ(f.at(500, 600).r, 255) << "logo over the sky";

    keyPressed(' ', 0, 0);  // play again
    displayFrame();
    EXPECT_EQ(game.population, 100);
    f = readFrame();
    const Tally again = tally(f);
    EXPECT_EQ(again.greenOrBlue, 0);
    EXPECT_GT(again.lit, 400000) << "sky and planet, in red";
    EXPECT_EQ(f.at(10, 12).r, 255) << "score line";
}
