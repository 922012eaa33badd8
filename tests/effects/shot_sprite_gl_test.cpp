// The shot sprite: a textured, additive, depth-tested square facing along
// the shot.
#include "effects/shot_sprite.h"

#include "assets/textures.h"
#include "game/shots.h"
#include "gl_scene.h"

namespace {

// The sprite image replaced by plain white, so the square's edges show.
class ShotSprite : public FlatView {
protected:
    void SetUp() override
    {
        FlatView::SetUp();
        solidTexture(TEX_BLAST_0, 2, 2, {255, 255, 255});
    }
};

}  // namespace

// direction - position = (0, 0, -10): the unit square faces the viewer.
TEST_F(ShotSprite, LevelShotIsAUnitSquare)
{
    drawShot(Shot{0.5f, {0, 0, 0}, {0, 0, -10}});
    const Frame f = readFrame();
    EXPECT_EQ(f.at(px(0), py(0)), (Rgb{255, 255, 255}));
    expectLit(f, {{px(-0.45f), py(0)}, {px(0.45f), py(0.45f)}},
              {{px(-0.55f), py(0)}, {px(0.55f), py(0)}, {px(0), py(0.55f)}});
}

// direction - position = (0, -10, -10): d.x^2 + d.z^2 = 1/2, so the square
// is sqrt(1/2) wide, and tilted 45 degrees it shows half that high.
TEST_F(ShotSprite, SteepShotIsSmaller)
{
    drawShot(Shot{0.5f, {2, 0, 0}, {2, -10, -10}});
    expectLit(readFrame(), {{px(2.3f), py(0)}, {px(2), py(0.2f)}}, {{px(2.4f), py(0)}, {px(2), py(0.3f)}});
}

TEST_F(ShotSprite, VerticalOrZeroDirectionDrawsNothing)
{
    drawShot(Shot{0.5f, {0, 0, 0}, {0, 10, 0}});
    drawShot(Shot{0.5f, {1, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(readFrame().allBlack(2));
}

TEST_F(ShotSprite, RestoresMatricesAndFlagsAndLeavesItsState)
{
    for (Vec3 direction : {Vec3{3, 4, -10}, Vec3{0, 0, 0}}) {
        const auto prepare = [] {
            glShadeModel(GL_FLAT);
            glBlendFunc(GL_ONE, GL_ZERO);
            glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
            glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
            glBindTexture(GL_TEXTURE_2D, TEX_FONT);
            glTranslatef(1, 2, 3);
        };
        expectRestored(prepare, [&] { drawShot(Shot{0.5f, {0, 0, 0}, direction}); });
        for (auto [name, value] : {std::pair{GL_SHADE_MODEL, GL_SMOOTH}, {GL_BLEND_SRC, GL_SRC_ALPHA},
                                   {GL_BLEND_DST, GL_ONE}, {GL_TEXTURE_BINDING_2D, 12},
                                   {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}, {GL_POINT_SMOOTH_HINT, GL_NICEST}})
            EXPECT_EQ(integer(name), GLint(value)) << name;
        expectMaterial({0.5f, 0.5f, 0, 1}, {0.6f, 0.6f, 0.5f, 1});
    }
}
