// Drawing of particle emitters: additive, unlit, textured squares that
// neither test nor write depth.
#include "effects/particles.h"

#include <GL/gl.h>

#include <array>
#include <cassert>

// ---- state -----------------------------------------------------------------

constexpr unsigned kMaxSlots = 32;  // texture slots a sprite may name

SpriteDrawer spriteDrawer = drawSpritesByTexture;

// Reused frame after frame, so a frame allocates nothing once they have grown.
static std::vector<ParticleSprite> frameSprites;  // one emitter's sprites, in particle order
static std::vector<Vec3>           sortedCenters; // the same centres, grouped by texture

// ---- functions -------------------------------------------------------------

// The square as the two triangles of its strip (1,1) (0,1) (1,0) (0,0),
// wound as the strip winds them; the last corner is texture coordinate (0, 0).
constexpr GLfloat kCornerTexCoords[6][2] = {{1, 1}, {0, 1}, {1, 0}, {1, 0}, {0, 1}, {0, 0}};

static void emitSquare(const Vec3& c, float h)
{
    const float left = c.x - h;
    const float right = c.x + h;
    const float bottom = c.y - h;
    const float top = c.y + h;
    const GLfloat corners[6][3] = {
        {right, top, c.z}, {left, top, c.z}, {right, bottom, c.z},
        {right, bottom, c.z}, {left, top, c.z}, {left, bottom, c.z},
    };
    for (int k = 0; k < 6; k++) {
        glTexCoord2fv(kCornerTexCoords[k]);
        glVertex3fv(corners[k]);
    }
}

static void drawBatch(unsigned slot, std::size_t first, std::size_t count, float halfSize)
{
    glBindTexture(GL_TEXTURE_2D, slot);
    glBegin(GL_TRIANGLES);
    for (std::size_t i = first; i < first + count; i++) {
        emitSquare(sortedCenters[i], halfSize);
    }
    glEnd();
}

// Blending is additive and depth is off, so the order of the squares within
// an emitter cannot change the picture; what each texture bind costs can.
// The sprites are sorted by texture in one counting pass, keeping their
// order within a texture, with the last sprite's texture put last.
void drawSpritesByTexture(const std::vector<ParticleSprite>& sprites, float halfSize)
{
    if (sprites.empty()) {
        return;
    }
    std::array<std::size_t, kMaxSlots> count{};
    for (const ParticleSprite& s : sprites) {
        assert(s.slot < kMaxSlots);
        count[s.slot]++;
    }
    const unsigned last = sprites.back().slot;
    std::array<std::size_t, kMaxSlots> begin{};
    std::size_t at = 0;
    for (unsigned slot = 0; slot < kMaxSlots; slot++) {
        if (slot != last) {
            begin[slot] = at;
            at += count[slot];
        }
    }
    begin[last] = at;

    std::array<std::size_t, kMaxSlots> next = begin;
    sortedCenters.resize(sprites.size());
    for (const ParticleSprite& s : sprites) {
        sortedCenters[next[s.slot]++] = s.center;
    }

    for (unsigned slot = 0; slot < kMaxSlots; slot++) {
        if (slot != last && count[slot] > 0) {
            drawBatch(slot, begin[slot], count[slot], halfSize);
        }
    }
    drawBatch(last, begin[last], count[last], halfSize);
}

// The blend function, hints, shade model and texture binding set here stay
// set after the call; only the enable flags and the matrix are restored.
static void drawEmitter(ParticleEmitter& emitter, const ParticleKind& kind, const Vec3& missileAt)
{
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);

    frameSprites.clear();
    stepParticles(emitter, kind, missileAt, frameSprites);
    spriteDrawer(frameSprites, kind.halfSize);

    glPopMatrix();
    glPopAttrib();
}

void drawExplosion(ParticleEmitter& emitter)
{
    drawEmitter(emitter, kExplosionParticles, Vec3{});
}

void drawTrail(ParticleEmitter& emitter, const Vec3& at)
{
    drawEmitter(emitter, kTrailParticles, at);
}
