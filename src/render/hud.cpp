#include "render/hud.h"

#include "assets/textures.h"
#include "game/state.h"

#include <array>
#include <sstream>

// ---- constants -------------------------------------------------------------

constexpr int     kGlyphCells = 256;       // a 16 x 16 grid of cells
constexpr GLfloat kCellSize = 0.0625f;     // one cell in texture coordinates
constexpr GLfloat kGlyphSize = 16;         // text units
constexpr GLfloat kGlyphAdvance = 10;      // text units; neighbours overlap
constexpr GLfloat kTextScale = 1.55f;      // pixels per text unit
constexpr int     kFirstCode = 32;         // cell 0 holds the space


// ---- state -----------------------------------------------------------------

GLuint fontListBase = 0;

// ---- font ------------------------------------------------------------------

// Cell i: column i mod 16 from the left, row i div 16 from the top. The
// image is stored bottom row first, so t = 1 is its top edge.
static void compileGlyph(int i)
{
    const GLfloat cx = static_cast<GLfloat>(i % 16) * kCellSize;
    const GLfloat cy = static_cast<GLfloat>(i / 16) * kCellSize;
    glNewList(fontListBase + i, GL_COMPILE);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(cx + kCellSize, 1 - cy);
    glVertex2f(kGlyphSize, kGlyphSize);
    glTexCoord2f(cx, 1 - cy);
    glVertex2f(0, kGlyphSize);
    glTexCoord2f(cx + kCellSize, 1 - cy - kCellSize);
    glVertex2f(kGlyphSize, 0);
    glTexCoord2f(cx, 1 - cy - kCellSize);
    glVertex2f(0, 0);
    glEnd();
    glTranslatef(kGlyphAdvance, 0, 0);
    glEndList();
}

// Needs no image yet: binding the font's slot creates the texture object the
// loader fills later.
void buildFont()
{
    fontListBase = glGenLists(kGlyphCells);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TEX_FONT);
    for (int i = 0; i < kGlyphCells; ++i)
        compileGlyph(i);
}

void drawText(const std::string& text, float x, float y)
{
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TEX_FONT);
    glLoadIdentity();
    glScalef(kTextScale, kTextScale, kTextScale);
    glTranslatef(x, y, 0);
    glListBase(fontListBase - kFirstCode);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopMatrix();
}

// ---- overlay ---------------------------------------------------------------

// One textured rectangle in pixels. The corners take the texture mirrored
// left to right, so images that must read correctly are stored mirrored.
static void drawImage(TextureId texture, int left, int right, int bottom, int top)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2d(1, 1);
    glVertex2d(left, top);
    glTexCoord2d(0, 1);
    glVertex2d(right, top);
    glTexCoord2d(1, 0);
    glVertex2d(left, bottom);
    glTexCoord2d(0, 0);
    glVertex2d(right, bottom);
    glEnd();
}

static void drawTitle(int w, int h)
{
    drawImage(TEX_LOGO, w / 2 - 256, w / 2 + 256, h / 2 - 206, h / 2 + 306);
    glTranslatef(0, -50, 0);
    drawImage(TEX_TITLE_TEXT, w / 2 - 256, w / 2 + 256, h / 4 - 64, h / 4 + 64);
}

static void drawHud(int w, int h)
{
    drawImage(TEX_CROSSHAIR, w / 2 - 80, w / 2 + 80, h / 2 - 80, h / 2 + 80);

    std::ostringstream score;
    score << "Score: " << game.score;
    drawText(score.str(), 0, 0);
    std::ostringstream population;
    population << "Population: " << game.population << "%";
    drawText(population.str(), 470, 0);

    if (game.population > 0)
        return;
    // Never set back: the red stays for the rest of the run, restarts included.
    glColor4f(1, 0, 0, 0.8f);
    drawText("GAME OVER!", static_cast<float>(w / 4 + 20), static_cast<float>(h / 4 - 20));
    drawText("'q' to Exit, 'r' to Restart", static_cast<float>(w / 4), static_cast<float>(h / 4 - 40));
}

// Additive and flat over the scene, one unit per pixel from the bottom-left
// corner; leaves the matrices and enable flags as it found them.
void drawOverlay()
{
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    if (game.titleScreen)
        drawTitle(game.windowWidth, game.windowHeight);
    else
        drawHud(game.windowWidth, game.windowHeight);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
