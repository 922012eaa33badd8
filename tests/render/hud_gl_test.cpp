// The overlay on its own over a black window: title images, crosshair, the
// two HUD lines and the game-over lines. The images are replaced by ones
// whose every texel is known, so edges, glyph cells and their orientation
// can be read back.
#include "render/hud.h"

#include "app/app.h"
#include "assets/textures.h"
#include "game/state.h"
#include "gl_scene.h"

#include <string>

namespace {

// Font cell i (counted from the image's top left) in its four quadrants: red
// tells the cell, so that lines drawn in red still do, green the quadrant.
Rgb fontTexel(int cell, int right, int top) { return {std::min(2 * cell + 8, 255), 32 + 64 * right + 128 * top, 0}; }
Rgb logo(int s, int t) { return {64 * (1 + s + 2 * t) - s * t, 0, 0}; }  // 64, 128 below, 192, 255 above
constexpr Rgb kTitleText{0, 0, 255}, kCrosshair{0, 255, 0}, kNone{};

class Overlay : public GlScene {
protected:
    void SetUp() override
    {
        GlScene::SetUp();
        texture(TEX_LOGO, 2, 2, logo);
        solidTexture(TEX_TITLE_TEXT, kTitleText);
        solidTexture(TEX_CROSSHAIR, kCrosshair);
        texture(TEX_FONT, 256, 256, [](int x, int y) {  // the image's top row is its last
            return fontTexel(16 * ((255 - y) / 16) + x / 16, x % 16 >= 8, (255 - y) % 16 < 8);
        });
    }
    static Frame drawAlone()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawOverlay();
        return readFrame();
    }
};

// Glyph k of a line starting at (x0, y0) pixels overlaps its neighbours (16
// units wide, 10 apart, times 1.55); only [9.3, 15.5) pixels into its advance
// is it alone. There its bottom left and top right quadrants show, plain or
// in red at 0.8.
void expectText(const Frame& f, double x0, double y0, const std::string& text, bool red = false)
{
    std::vector<Probe> probes;
    for (std::size_t k = 0; k < text.size(); ++k)
        for (int q : {0, 1}) {
            const Rgb texel = fontTexel(static_cast<unsigned char>(text[k]) - 32, q, q);
            probes.push_back({int(x0 + 15.5 * k + 10.5 + 4 * q), int(y0 + 6 + 12.5 * q), red ? crashTint(texel) : texel});
        }
    expectPixels(f, probes);
}

}  // namespace

// Logo x 244..756, y 194..706, mirrored left to right; title text x 244..756,
// y 86..214 after its 50-pixel drop; no crosshair, no text, even with no
// people left, as before the first game.
TEST_F(Overlay, TitleScreenShowsTheTwoImagesAndNothingElse)
{
    game.population = 0;
    expectPixels(drawAlone(), {{244, 400, logo(1, 0)}, {243, 400, kNone}, {755, 400, logo(0, 0)}, {756, 400, kNone},
                               {500, 194, logo(0, 0) + kTitleText}, {500, 193, kTitleText}, {500, 705, logo(0, 1)},
                               {500, 706, kNone}, {300, 650, logo(1, 1)}, {500, 86, kTitleText}, {500, 85, kNone},
                               {500, 214, logo(0, 0)}, {244, 150, kTitleText}, {243, 150, kNone},
                               {755, 150, kTitleText}, {756, 150, kNone}, {500, 400, logo(0, 0)}, {10, 10, kNone},
                               {800, 10, kNone}});
}

// Crosshair x 420..580, y 320..480; "Score: 1905" from (0, 0) and
// "Population: 37%" from x 728.5, nothing past their last glyphs; while
// people are left no game-over line. The score and population of the frame
// show, not those of an earlier one. With none left,
// "GAME OVER!" from (418.5, 279) and "'q' to Exit, 'r' to Restart" from
// (387.5, 248) in red at 0.8; this frame's HUD lines came before the red, the
// next frame's are red too. In a 1203 x 1003 window W/4 = 300 and H/4 = 250
// whole put them at (496, 356.5) and (465, 325.5); a real division would move
// both right and up by more than a pixel.
TEST_F(Overlay, HudShowsCrosshairAndLinesThenTheRedGameOver)
{
    game.titleScreen = false;
    game.population = 1;
    expectText(drawAlone(), 728.5, 0, "Population: 1%");
    game.score = 1905;
    game.population = 37;
    Frame f = drawAlone();
    expectPixels(f, {{420, 400, kCrosshair}, {419, 400, kNone}, {579, 400, kCrosshair}, {580, 400, kNone},
                     {500, 320, kCrosshair}, {500, 319, kNone}, {500, 479, kCrosshair}, {500, 480, kNone},
                     {181, 12, kNone}, {10, 25, kNone}, {727, 12, kNone}, {972, 12, kNone}, {500, 600, kNone},
                     {430, 290, kNone}});
    expectText(f, 0, 0, "Score: 1905");
    expectText(f, 728.5, 0, "Population: 37%");

    game.score = 0;
    game.population = 0;
    f = drawAlone();
    expectText(f, 0, 0, "Score: 0");
    expectText(f, 418.5, 279, "GAME OVER!", true);
    expectText(f, 387.5, 248, "'q' to Exit, 'r' to Restart", true);
    expectPixels(f, {{417, 290, kNone}, {430, 278, kNone}, {584, 290, kNone}, {386, 260, kNone}, {400, 247, kNone},
                     {816, 260, kNone}, {400, 275, kNone}});
    expectText(drawAlone(), 0, 0, "Score: 0", true);

    reshapeWindow(1203, 1003);
    f = drawAlone();
    expectText(f, 496, 356.5, "GAME OVER!", true);
    expectText(f, 465, 325.5, "'q' to Exit, 'r' to Restart", true);
    expectPixels(f, {{496, 370, crashTint(fontTexel('G' - 32, 0, 1))}, {495, 370, kNone},
                     {510, 357, crashTint(fontTexel('G' - 32, 1, 0))}, {510, 355, kNone},
                     {465, 340, crashTint(fontTexel('\'' - 32, 0, 1))}, {464, 340, kNone},
                     {475, 326, crashTint(fontTexel('\'' - 32, 0, 0))}, {475, 324, kNone}});
}
