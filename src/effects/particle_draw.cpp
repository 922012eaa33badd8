// Drawing of particle emitters: additive, unlit, textured squares that
// neither test nor write depth.
#include "effects/particles.h"

#include <GL/gl.h>

#include <array>
#include <cassert>

// ---- state -----------------------------------------------------------------

constexpr unsigned kMaxSlots = 32;  // texture slots a sprite may name

SpriteDrawer spriteDrawer = drawSpritesByTexture;

static std::vector<ParticleSprite> frameSprites;  // reused frame after frame

// ---- functions -------------------------------------------------------------

// The square as the two triangles of its strip (1,1) (0,1) (1,0) (0,0),
// wound as the strip winds them; the last corner is texture coordinate (0, 0).
static void emitSquare(const Vec3& c, float h)
{
    const float left = c.x - h;
    const float right = c.x + h;
    const float bottom = c.y - h;
    const float top = c.y + h;
    glTexCoord2f(1, 1); glVertex3f(right, top, c.z);
    glTexCoord2f(0, 1); glVertex3f(left, top, c.z);
    glTexCoord2f(1, 0); glVertex3f(right, bottom, c.z);
    glTexCoord2f(1, 0); glVertex3f(right, bottom, c.z);
    glTexCoord2f(0, 1); glVertex3f(left, top, c.z);
    glTexCoord2f(0, 0); glVertex3f(left, bottom, c.z);
}

static void drawBatch(const std::vector<ParticleSprite>& sprites, unsigned slot, float halfSize)
{
    glBindTexture(GL_TEXTURE_2D, slot);
    glBegin(GL_TRIANGLES);
    for (const ParticleSprite& s : sprites) {
        if (s.slot == slot) {
            emitSquare(s.center, halfSize);
        }
    }
    glEnd();
}

// Blending is additive and depth is off, so the order of the squares within
// an emitter cannot change the picture; what each texture bind costs can.
void drawSpritesByTexture(const std::vector<ParticleSprite>& sprites, float halfSize)
{
    if (sprites.empty()) {
        return;
    }
    std::array<int, kMaxSlots> count{};
    for (const ParticleSprite& s : sprites) {
        assert(s.slot < kMaxSlots);
        count[s.slot]++;
    }
    const unsigned last = sprites.back().slot;
    for (unsigned slot = 0; slot < kMaxSlots; slot++) {
        if (slot != last && count[slot] > 0) {
            drawBatch(sprites, slot, halfSize);
        }
    }
    drawBatch(sprites, last, halfSize);
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
