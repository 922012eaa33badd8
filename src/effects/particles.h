// Particle emitters: the smoke trail behind every missile and the explosion
// where one is destroyed. Motion counts in displayed frames, not time.
//
// A frame of an emitter is two steps: stepParticles runs the rules (random
// images, motion, rebirth, removal) without touching OpenGL and lists what
// to draw; the drawing then puts those squares on screen.
#pragma once

#include "core/random.h"
#include "core/vec3.h"
#include "records/particles.h"

#include <vector>

// ---- types -----------------------------------------------------------------

// What sets a trail apart from an explosion.
struct ParticleKind {
    unsigned firstSlot;         // texture slot of the set's first image
    int      slotCount;         // images in the set; each frame picks one per particle
    float    halfSize;          // half the side of the drawn square, world units
    float    divisor;           // velocity / divisor is the motion per frame
    float    rebirthLife;       // life of every later life
    float    rebirthFade;       // added to (r mod 100) / 1000 for a later life's fade
    bool     diesAfterRebirth;  // explosion: the second life is the last
    bool     rebirthAtEmitter;  // explosion: reborn at its own point; trail: at the missile
};

// One particle as drawn in a frame: its image and its centre before the move.
struct ParticleSprite {
    unsigned slot;    // texture slot
    Vec3     center;  // world units
};

// ---- state -----------------------------------------------------------------

extern const ParticleKind kExplosionParticles;
extern const ParticleKind kTrailParticles;

// Draws one emitter's sprites of a frame, blending and texturing already set
// up. drawSpritesByTexture unless a benchmark swaps in another drawing.
using SpriteDrawer = void (*)(const std::vector<ParticleSprite>& sprites, float halfSize);
extern SpriteDrawer spriteDrawer;

// ---- functions -------------------------------------------------------------

// The rules of one frame, for every particle in list order: pick its image,
// list its sprite in `drawn`, move it, age it, and at the end of a life
// rebirth it (a trail's at `missileAt`) or remove it. The removed leave in
// one pass that keeps the order of the rest. Every random value comes from
// `random`, in the game's order.
void stepParticles(ParticleEmitter& emitter, const ParticleKind& kind, const Vec3& missileAt,
                   std::vector<ParticleSprite>& drawn, int (*random)() = gameRand);

// Draw every particle and advance it one frame. An explosion particle dies at
// the end of its second life; a trail particle is reborn at `at` for ever.
void drawExplosion(ParticleEmitter& emitter);
void drawTrail(ParticleEmitter& emitter, const Vec3& at);

// One triangle batch per texture, the last sprite's texture last, so the
// picture and the state left behind (the last sprite's texture bound, texture
// coordinate (0, 0)) are those of drawing the sprites one by one.
void drawSpritesByTexture(const std::vector<ParticleSprite>& sprites, float halfSize);
