// The overlay on its own over a black window: title images, crosshair, the
// two HUD lines and the game-over lines. The images are replaced by ones
// whose every texel is known, so edges and glyph cells can be read back.
#include "render/hud.h"

#include "app/app.h"
#include "assets/textures.h"
#include "game/state.h"
#include "gl_scene.h"

#include <string>

namespace {

// Logo: four quadrants told apart by red alone (bottom row first: 64, 128
// below, 192, 255 above). Title text: plain green. Crosshair: plain blue.
// Font: each 16 x 16 cell i has red 16 (i mod 16) + 8 and green
// 16 (i div 16) + 8, cells counted from the image's top-left.
class Overlay : public GlScene {
protected:
    void SetUp() override
    {
        GlScene::SetUp();
        uploadTexture(TEX_LOGO, 2, 2, {64, 0, 0, 128, 0, 0, 192, 0, 0, 255, 0, 0});
        solidTexture(TEX_TITLE_TEXT, 2, 2, {0, 255, 0});
        solidTexture(TEX_CROSSHAIR, 2, 2, {0, 0, 255});
        std::vector<std::uint8_t> font;
        for (int row = 0; row < 256; ++row) {
            const int cellRow = (255 - row) / 16;  // row 0 is the image's bottom
            for (int column = 0; column < 256; ++column)
                font.insert(font.end(), {static_cast<std::uint8_t>(16 * (column / 16) + 8),
                                         static_cast<std::uint8_t>(16 * cellRow + 8), 0});
        }
        uploadTexture(TEX_FONT, 256, 256, font);
        game.score = 0;
        game.population = 100;
    }
    static Frame drawAlone()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        drawOverlay();
        return readFrame();
    }
};

// Glyph k of a line starting at x0 pixels overlaps its neighbours (16 units
// wide, 10 apart, times 1.55); only [9.3, 15.5) pixels into its advance is
// it alone. Returns the character code that cell shows.
int codeAt(const Frame& f, double x0, int k)
{
    const Rgb c = f.at(static_cast<int>(x0 + 15.5 * k + 12.4), 12);
    return 32 + 16 * ((c.g - 8) / 16) + (c.r - 8) / 16;
}

void expectLine(const Frame& f, double x0, const std::string& text)
{
    for (std::size_t k = 0; k < text.size(); ++k)
        EXPECT_EQ(codeAt(f, x0, static_cast<int>(k)), static_cast<unsigned char>(text[k]))
            << "glyph " << k << " of \"" << text << '"';
}

bool noBlueAnywhere(const Frame& f)
{
    for (std::size_t i = 2; i < f.rgb.size(); i += 3)
        if (f.rgb[i] != 0)
            return false;
    return true;
}

}  // namespace

// Logo x 244..756, y 194..706, mirrored left to right; title text x 244..756,
// y 86..214 after its 50-pixel drop.
TEST_F(Overlay, TitleScreenShowsTheTwoImagesAndNoHud)
{
    game.titleScreen = true;
    game.population = 0;  // as before the first game: still no game-over lines
    const Frame f = drawAlone();

    // The top left shows the image's top right quadrant (255).
    expectChannel(f, &Rgb::r, {{244, 400, 128}, {243, 400, 0}, {755, 400, 64}, {756, 400, 0},
                               {500, 194, 64}, {500, 193, 0}, {500, 705, 192}, {500, 706, 0},
                               {300, 650, 255}, {700, 650, 192}, {300, 250, 128}, {700, 250, 64}});
    expectChannel(f, &Rgb::g, {{500, 86, 255}, {500, 85, 0}, {500, 213, 255}, {500, 214, 0},
                               {244, 150, 255}, {243, 150, 0}, {755, 150, 255}, {756, 150, 0}});
    EXPECT_TRUE(noBlueAnywhere(f)) << "no crosshair";
    expectLit(f, {}, {{10, 10}, {800, 10}});  // no score or population line
}

// Crosshair x 420..580, y 320..480; "Score: 0" from (0, 0); "Population:
// 100%" from x 728.5; both 24.8 pixels high.
TEST_F(Overlay, PlayShowsCrosshairScoreAndPopulation)
{
    game.titleScreen = false;
    const Frame f = drawAlone();

    expectChannel(f, &Rgb::b, {{420, 400, 255}, {419, 400, 0}, {579, 400, 255}, {580, 400, 0},
                               {500, 320, 255}, {500, 319, 0}, {500, 479, 255}, {500, 480, 0}});
    expectLine(f, 0, "Score: 0");
    expectLine(f, 728.5, "Population: 100%");
    // Both lines' edges; no title image, no game-over line.
    expectLit(f, {{0, 0}, {132, 24}, {729, 12}, {985, 12}},
              {{134, 12}, {10, 25}, {727, 12}, {986, 12}, {500, 600}, {430, 290}});
}

// "GAME OVER!" from (418.5, 279), "'q' to Exit, 'r' to Restart" from
// (387.5, 248), in red at 0.8: a red channel only. The red stays for the
// next frame's HUD lines too.
TEST_F(Overlay, EmptyPlanetShowsTheRedGameOverLines)
{
    game.titleScreen = false;
    game.population = 1;
    EXPECT_TRUE(drawAlone().at(430, 290).black()) << "population 1 is still playing";

    game.population = 0;
    Frame f = drawAlone();
    const Rgb first = f.at(419, 290);
    EXPECT_GT(first.r, 0);
    EXPECT_EQ(first.g, 0);
    EXPECT_EQ(first.b, 0);
    // Each line's left, bottom and right edges; nothing between the lines.
    expectLit(f, {{430, 280}, {582, 290}, {389, 260}, {400, 249}, {814, 260}},
              {{417, 290}, {430, 278}, {584, 290}, {386, 260}, {400, 247}, {816, 260}, {400, 275}});
    EXPECT_GT(f.at(10, 12).g, 0) << "this frame's HUD lines came before the red";

    f = drawAlone();
    EXPECT_EQ(f.at(10, 12).g, 0) << "the next frame's HUD lines are red";
    EXPECT_GT(f.at(10, 12).r, 0);
}

// 1203 x 1003: W/4 = 300 and H/4 = 250 whole, so "GAME OVER!" starts at
// (496, 356.5) and the exit line at (465, 325.5); a real division would
// move both right and up by more than a pixel.
TEST_F(Overlay, GameOverLinesFollowTheWholeQuarterOfTheWindow)
{
    reshapeWindow(1203, 1003);
    game.titleScreen = false;
    game.population = 0;
    const Frame f = drawAlone();
    expectLit(f, {{496, 370}, {510, 357}, {465, 340}, {480, 326}}, {{495, 370}, {510, 355}, {464, 340}, {480, 324}});
}

TEST_F(Overlay, RestoresMatricesAndFlags)
{
    for (bool title : {true, false}) {
        game.titleScreen = title;
        expectRestored([] { glMatrixMode(GL_MODELVIEW); glLoadIdentity(); }, drawOverlay);
    }
}
