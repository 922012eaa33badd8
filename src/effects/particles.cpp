#include "effects/particles.h"

// Placeholder bodies: the emitter rules and their drawing are being written.
ParticleEmitter::ParticleEmitter(int, const Vec3& at, const Vec3&) : position(at) {}

void drawExplosion(ParticleEmitter& emitter) { emitter.particles.clear(); }

void drawTrail(ParticleEmitter&, const Vec3&) {}
