// The missile model and the orientation it shares with the shot sprite.
#include "effects/missile_model.h"

#include "game/missiles.h"
#include "game/state.h"
#include "gl_scene.h"
#include "vec3_print.h"

#include <cmath>

namespace {

// The first three columns of the modelview after faceToward(d) from the
// identity.
std::array<Vec3, 3> faceTowardColumns(Vec3 d, bool faced = true)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    EXPECT_EQ(faceToward(d), faced) << ::testing::PrintToString(d);
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return {Vec3{m[0], m[1], m[2]}, Vec3{m[4], m[5], m[6]}, Vec3{m[8], m[9], m[10]}};
}

float length(const Vec3& v) { return distance(v, Vec3{}); }

Missile missileAt(Vec3 position, Vec3 target)
{
    Missile m;
    m.position = position;
    m.target = target;
    return m;
}

void expectBodyMaterial() { expectMaterial({0.5f, 0, 0.5f, 1}, {0.7f, 0.7f, 0.6f, 1}); }

}  // namespace

using FaceToward = GlScene;

// Model -z turns along the direction; the matrix scales by the length |a| of
// its horizontal part across and by |a|^2 along.
TEST_F(FaceToward, TurnsModelMinusZAlongTheDirectionScaledByItsHorizontalPart)
{
    auto c = faceTowardColumns({0, 0, -10});  // straight ahead: x and z kept, y reversed
    EXPECT_TRUE(vecNear(c[0], {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(vecNear(c[1], {0, -1, 0}, 1e-6f));
    EXPECT_TRUE(vecNear(c[2], {0, 0, 1}, 1e-6f));

    c = faceTowardColumns({3, 0, 4});  // level: |a| = 1, a rotation
    EXPECT_TRUE(vecNear(c[2], {-0.6f, 0, -0.8f}, 1e-6f));
    for (const Vec3& column : c)
        EXPECT_NEAR(length(column), 1.0f, 1e-6);

    c = faceTowardColumns({1, 1, 0});  // 45 degrees up: |a| = sqrt(1/2)
    EXPECT_NEAR(length(c[0]), std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(length(c[1]), std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(length(c[2]), 0.5f, 1e-6);

    c = faceTowardColumns({0, 5, 0});  // straight up: everything collapses
    EXPECT_EQ(c, (std::array<Vec3, 3>{}));
    c = faceTowardColumns({0, 0, 0}, false);  // no direction: the matrix is left alone
    EXPECT_EQ(c, (std::array<Vec3, 3>{Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}}));
}

using MissileModel = FlatView;

// Nose toward +x: in the flat view the missile runs from x = -7.5 (tail) to
// 1.5 (nose tip), body radius 0.75, the vertical fin 1.5 up and down over the
// tail's last 3 units.
TEST_F(MissileModel, LevelMissileShowsAtFullSizeNoseFirst)
{
    Missile m = missileAt({0, 0, 0}, {100, 0, 0});
    drawMissile(m);
    // Nose, body, fin and tail, and just beyond each; ahead of the fins.
    expectLit(readFrame(), {{px(1.2f), py(0)}, {px(-3), py(0.6f)}, {px(-6), py(1.3f)}, {px(-7.35f), py(0)}},
              {{px(1.8f), py(0)}, {px(-3), py(0.9f)}, {px(-6), py(1.6f)}, {px(-4), py(1.3f)}, {px(-7.7f), py(0)}});
}

// 45 degrees up: half as long (tip 0.75 ahead, tail 3.75 behind along the
// diagonal), thinner by sqrt(1/2).
TEST_F(MissileModel, ClimbingMissileShrinks)
{
    Missile m = missileAt({0, 0, 0}, {100, 100, 0});
    drawMissile(m);
    const float s = std::sqrt(0.5f);
    // Nose and tail, and beyond the shortened nose and tail.
    expectLit(readFrame(), {{px(0.3f * s), py(0.3f * s)}, {px(-3.4f * s), py(-3.4f * s)}},
              {{px(1.0f * s), py(1.0f * s)}, {px(-4.2f * s), py(-4.2f * s)}});
}

TEST_F(MissileModel, VerticalMissileShowsOnlyItsAimLine)
{
    glDisable(GL_TEXTURE_2D);  // the line takes the plain current colour
    Missile m = missileAt({0.11f, 0, 0}, {0.11f, 100, 0});  // through pixel centres
    drawMissile(m);
    expectLit(readFrame(), {}, {{px(0.11f), py(0.3f)}, {px(0.11f), py(5)}});  // no model, no line

    game.showAimLines = true;
    drawMissile(m);
    game.showAimLines = false;
    // The aim line; beside it and behind the missile nothing.
    expectLit(readFrame(), {{px(0.11f), py(5)}}, {{px(0.3f), py(5)}, {px(0.11f), py(-0.3f)}});
}

TEST_F(MissileModel, MissileAtItsTargetDrawsNothing)
{
    Missile m = missileAt({1, 1, 0}, {1, 1, 0});
    drawMissile(m);
    EXPECT_TRUE(readFrame().allBlack(4));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    expectBodyMaterial();
}

TEST_F(MissileModel, RestoresMatricesAndFlagsAndLeavesTheBodyMaterial)
{
    const GLfloat grey[] = {0.3f, 0.3f, 0.3f, 1};
    for (bool aimLines : {false, true}) {
        game.showAimLines = aimLines;
        const auto prepare = [&] {
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
            glShadeModel(GL_FLAT);
            glTranslatef(1, 2, 3);
        };
        Missile m = missileAt({0, 0, 0}, {100, 20, 30});
        expectRestored(prepare, [&] { drawMissile(m); });
        expectBodyMaterial();
        EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    }
    game.showAimLines = false;
}
