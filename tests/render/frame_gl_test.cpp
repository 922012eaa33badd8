// The backdrop and whole frames through the display callback, with the
// game's images replaced by ones whose every texel is known; and every drawing
// routine handing back the matrices and flags it found.
#include "render/frame.h"

#include "assets/textures.h"
#include "effects/missile_model.h"
#include "effects/particles.h"
#include "effects/shot_sprite.h"
#include "game/planet.h"
#include "game/state.h"
#include "gl_scene.h"
#include "render/hud.h"
#include "render/sky.h"

#include <GL/glu.h>

#include <map>
#include <memory>
#include <tuple>
#include <utility>

namespace {

// Images of slots 1 to 18, one colour each.
void images(const std::function<Rgb(GLuint slot)>& colour)
{
    for (GLuint slot = TEX_STARS; slot <= TEX_TITLE_TEXT; ++slot)
        solidTexture(slot, colour(slot));
}

// The camera 20 units inside the planet looking +z at its unlit inner
// surface; the window's right is world -x. A point `d` ahead and (x, y) off
// the view's axis shows at window pixel (500 + 692.8 x/d, 400 + 692.8 y/d).
Vec3 ahead(float x, float y, float d) { return {-50 - x, 50 + y, 30 + d}; }

}  // namespace

// Every sphere's (s, t) = (1/2, 1/2) corner, where the quadrants of its image
// meet, looked at from 3 units away at 45 degrees off the surface, north of
// it, so that a sphere turned otherwise, placed or sized otherwise, or hidden
// behind another shows other quadrants around the window's centre (mirrored
// when seen from within). A sphere's image runs round its z axis with s and
// from its -z pole to its +z pole with t; it is tilted about its x axis, then
// spun: the planet by 100 degrees about y, the gas giant 0.05 behind it about
// its slanted axis, the sky 0 after its 90-degree turn. The stars lie behind
// the nebula; the lit layers' material shows their texels as they are.
TEST_F(GlScene, EveryBackdropLayerShowsItsImageWhereItsTurnsPutIt)
{
    constexpr Vec3 kGiant{50, 200, 300};  // 100, 150, 250 beyond the planet
    constexpr Rgb kStars{0, 0, 60}, kBase{100, 0, 100};
    const std::tuple<GLuint, Vec3, float, float, float, Vec3, Rgb> layers[] = {
        {TEX_STARS, {}, 800, 90, 0, {0, 1, 0}, {}},
        {TEX_NEBULA, {}, 600, 90, 0, {0, 1, 0}, kStars},
        {TEX_PLANET, kPlanetCentre, 25, 50, 100, {0, 1, 0}, {}},
        {TEX_CLOUDS, kPlanetCentre, 25.1f, 50, 100, {0, 1, 0}, {}},
        {TEX_GASPLANET, kGiant, 125, 50, 99.95f, {0.15f, 1, 0}, kStars},
        {TEX_ATM, kGiant, 127, 50, 99.95f, {0.15f, 1, 0}, kStars},
    };
    game.planet.spin = 100;
    setMaterial({{1, 1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0});
    for (const auto& [slot, centre, radius, tilt, spin, axis, behind] : layers) {  // behind: what it adds onto
        SCOPED_TRACE(slot);
        images([&](GLuint other) { return other == TEX_STARS ? kStars : Rgb{}; });
        markedTexture(slot, kBase);
        glLoadIdentity();
        glRotatef(spin, axis.x, axis.y, axis.z);
        glRotatef(tilt, 1, 0, 0);
        const auto m = snapshot().modelview;  // the sphere's y and z axes in the world
        const Vec3 y{m[4], m[5], m[6]}, pole{m[8], m[9], m[10]};
        const bool inside = radius > 500;
        const Vec3 corner = centre - radius * y;
        const Vec3 eye = corner + 2.12f * ((inside ? 1.0f : -1.0f) * y + pole);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, corner.x, corner.y, corner.z, pole.x, pole.y, pole.z);
        drawSky();
        drawPlanet(kPlanetRadius, kPlanetCentre.x, kPlanetCentre.y, kPlanetCentre.z);
        const auto quadrant = [&](int right, int top) {
            return Probe{494 + 12 * right, 394 + 12 * top, behind + marked(kBase, inside ? 1 - right : right, top)};
        };
        expectPixels(readFrame(), {quadrant(0, 0), quadrant(0, 1), quadrant(1, 0), quadrant(1, 1)});
    }
}

// From 100 units off the planet's centre, square to the lights: the right half
// of the planet faces them, the left half is dark. The surface shows its image
// unlit on both, as the sky does around it; the white clouds add theirs where
// lit, by the material the last missile or shot drawn left: the body's adds
// more blue than green, the nose's more green than blue.
TEST_F(GlScene, CloudsAreLitByWhatTheLastMissileOrShotDrawnLeft)
{
    const std::map<GLuint, Rgb> kImages{{TEX_STARS, {0, 30, 0}}, {TEX_NEBULA, {30, 0, 0}}, {TEX_PLANET, {0, 0, 40}},
                                        {TEX_CLOUDS, {100, 100, 100}}};
    images([&](GLuint slot) { return kImages.count(slot) ? kImages.at(slot) : Rgb{}; });
    game.camera.eye = {20.71f, 50, 120.71f};
    game.camera.center = kPlanetCentre;
    const Vec3 behind{41.9f, 50, 141.9f};  // out of sight behind the camera
    game.missiles.emplace_back(behind, nullptr);
    for (bool shot : {false, true}) {
        if (shot)
            game.shots.push_back(Shot{0.5f, behind, behind + Vec3{0, 0, -10}});
        displayFrame();  // leaves the material
        displayFrame();  // lit by it
        const Frame f = readFrame();
        const Rgb lit = f.at(650, 400);
        EXPECT_EQ(f.at(380, 400), (Rgb{0, 0, 40}));
        EXPECT_EQ(f.at(100, 700), (Rgb{30, 30, 0})) << "the sky, unlit";
        EXPECT_GT(shot ? lit.g : lit.b - 40, shot ? lit.b - 40 : lit.g) << lit << (shot ? " after a shot" : "");
    }
}

// The crash frame: a missile (nose to the right, its trail's particle above
// it), a shot in front of its body, an explosion below it. The missile and
// the shot come before the crash, untinted; the explosion and the overlay
// after it, in red at alpha 0.8. The next frame, without shot and explosion,
// shows the missile alone, the surface red, and the crosshair over a fresh
// shot 1.5 units before the eye. The shots have no direction: they stay put,
// their squares turned toward the world's origin about their centres.
TEST_F(GlScene, CrashTintsWhatTheFrameDrawsAfterIt)
{
    constexpr Rgb kSurface{60, 60, 60}, kRed{60, 0, 0}, kGlow{100, 100, 100};  // kGlow: particles, shots, overlay
    images([&](GLuint slot) {
        return slot == TEX_PLANET ? kSurface : slot >= TEX_TRAIL_0 && slot <= TEX_CROSSHAIR ? kGlow : Rgb{};
    });
    game.titleScreen = false;
    game.camera.eye = ahead(0, 0, 0);
    game.camera.center = ahead(0, 0, 10);
    Missile m;
    m.position = m.start = ahead(-3, 3, 20);
    m.target = ahead(97, 3, 20);
    m.trail = std::make_unique<ParticleEmitter>(1, ahead(-6, 6, 20), Vec3{});
    game.missiles.push_back(std::move(m));
    game.shots.push_back(Shot{0.5f, ahead(-3.75f, 2.625f, 15), {}});
    game.explosions.emplace_back(1, ahead(-9, -3, 20), Vec3{});
    displayFrame();
    const Frame crash = readFrame();

    game.shots = {Shot{0.5f, ahead(-0.1516f, -0.1516f, 1.5f), {}}};
    game.explosions.clear();
    displayFrame();
    const Frame next = readFrame();
    expectPixels(crash, {{327, 521, next.at(327, 521) + kGlow},  // shot over missile
                         {188, 296, kSurface + crashTint(kGlow)},  // explosion
                         {292, 608, kSurface + kGlow},             // trail
                         {800, 650, kSurface},
                         {430, 330, kSurface + crashTint(kGlow)},  // crosshair
                         {5, 12, kSurface + crashTint(kGlow)}});   // score line
    expectPixels(next, {{800, 650, kRed}, {430, 330, kRed + crashTint(kGlow) + crashTint(kGlow)}});
}

// From the frame's flags and from their opposite.
TEST_F(GlScene, EveryDrawingRoutineRestoresMatricesAndFlags)
{
    Missile missile, atTarget;
    missile.target = {100, 20, 30};
    missile.trail = std::make_unique<ParticleEmitter>(5, Vec3{}, Vec3{});
    ParticleEmitter blast(5, {}, {}), trail(5, {}, {});
    game.showAimLines = true;
    const std::pair<const char*, std::function<void()>> routines[] = {
        {"sky", drawSky}, {"planet", [] { drawPlanet(25, -50, 50, 50); }},
        {"missile", [&] { drawMissile(missile); }}, {"missile at its target", [&] { drawMissile(atTarget); }},
        {"shot", [] { drawShot(Shot{0.5f, {}, {3, 4, -10}}); }}, {"shot without direction", [] { drawShot(Shot{}); }},
        {"explosion", [&] { drawExplosion(blast); }}, {"trail", [&] { drawTrail(trail, {1, 2, 3}); }},
        {"title", drawOverlay}, {"hud", [] { game.titleScreen = false; game.population = 0; drawOverlay(); }},
    };
    for (const auto& [name, draw] : routines) {
        SCOPED_TRACE(name);
        expectRestored(draw);
    }
}
