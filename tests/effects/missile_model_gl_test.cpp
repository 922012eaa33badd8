// The missile model and the orientation it shares with the shot sprite.
#include "effects/missile_model.h"

#include "game/missiles.h"
#include "game/state.h"
#include "gl_scene.h"
#include "vec3_print.h"

#include <cmath>

namespace {

std::array<float, 16> faceTowardMatrix(Vec3 d, bool* faced = nullptr)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const bool ok = faceToward(d);
    if (faced)
        *faced = ok;
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

float columnLength(const std::array<float, 16>& m, int column)
{
    const float* c = &m[4 * column];
    return std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

void expectColumn(const std::array<float, 16>& m, int column, Vec3 expected)
{
    EXPECT_TRUE(vecNear({m[4 * column], m[4 * column + 1], m[4 * column + 2]}, expected, 1e-6f)) << column;
    EXPECT_EQ(m[4 * column + 3], 0.0f) << "column " << column;
}

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

TEST_F(FaceToward, StraightAheadKeepsXAndZAndReversesY)
{
    const auto m = faceTowardMatrix({0, 0, -10});
    expectColumn(m, 0, {1, 0, 0});
    expectColumn(m, 1, {0, -1, 0});
    expectColumn(m, 2, {0, 0, 1});
    EXPECT_EQ(m[15], 1.0f);
}

TEST_F(FaceToward, ScalesByTheHorizontalPartOfTheDirection)
{
    // Level: d = (0.6, 0, 0.8), |a| = 1, a rotation; model -z goes along d.
    auto m = faceTowardMatrix({3, 0, 4});
    for (int column = 0; column < 3; ++column)
        EXPECT_NEAR(columnLength(m, column), 1.0f, 1e-6);
    expectColumn(m, 2, {-0.6f, 0, -0.8f});

    // 45 degrees up: |a| = sqrt(1/2) across, |a|^2 = 1/2 along.
    m = faceTowardMatrix({1, 1, 0});
    EXPECT_NEAR(columnLength(m, 0), std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(columnLength(m, 1), std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(columnLength(m, 2), 0.5f, 1e-6);

    // Straight up: everything collapses.
    m = faceTowardMatrix({0, 5, 0});
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(m[i], 0.0f) << i;
}

TEST_F(FaceToward, ZeroDirectionLeavesTheMatrixAlone)
{
    bool faced = true;
    const auto m = faceTowardMatrix({0, 0, 0}, &faced);
    EXPECT_FALSE(faced);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
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
