// Mouse look through the passive-motion callback: the angles, the view
// update it applies on every second event, and pointer re-centring.
#include "fake_platform.h"

#include "camera/mouse_look.h"

#include <tuple>

class MouseTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game.windowWidth = 1000;
        game.windowHeight = 800;
        restartGame();  // play: mouse look is on; the eye is (43, 31.75, -83)
    }
};

// Yaw 600 and 610 are 240 and 250 degrees and pitch 360 is level, so the
// look points are 180 (-cos, 0, -sin) of the yaw: a turn of 10 degrees over
// 20 pixels. The warp's echo at the centre is an event like any other, here
// the updating one: yaw 5 - 610 = -605, then 500 + 605 = 1105 (25 degrees)
// and pitch 400 (40 degrees, lowering the look point) put it at
// -180 (cos 25 cos 40, sin 40, sin 25 cos 40).
TEST_F(MouseTest, AngleIsPointerMinusAngleAndEverySecondEventLooksButNotOnTheTitle)
{
    using Event = std::tuple<int, int, float, float, int, Vec3>;  // x, y, yaw, pitch, redisplays, look point
    for (auto [x, y, yaw, pitch, redisplays, center] :
         {Event{600, 360, 600, 360, 1, {90, 0, 155.885f}}, Event{610, 360, 10, 0, 1, {90, 0, 155.885f}},
          Event{620, 360, 610, 360, 2, {61.564f, 0, 169.145f}}, Event{5, 360, -605, 0, 2, {61.564f, 0, 169.145f}},
          Event{500, 400, 1105, 400, 3, {-124.969f, -115.702f, -58.274f}}}) {
        mouseMoved(x, y);
        EXPECT_EQ(std::tuple(game.yaw, game.pitch, fake.redisplays), std::tuple(yaw, pitch, redisplays)) << x;
        EXPECT_TRUE(vecNear(game.camera.center, center, 1e-3f)) << x;
        EXPECT_EQ(game.camera.back, game.camera.eye - game.camera.center) << x;
    }
    // The title screen ignores the pointer, the look flag included, which
    // outlives games: a restart does not reset it.
    newGame();
    mouseMoved(5, 5);
    EXPECT_EQ(std::tuple(game.yaw, game.pitch, game.applyLook, fake.warps.size(), fake.redisplays),
              std::tuple(1105.0f, 400.0f, false, 1u, 3));
    game.titleScreen = false;
    restartGame();
    mouseMoved(300, 300);  // the second event of a pair: no look
    EXPECT_EQ(std::tuple(game.yaw, fake.redisplays, game.camera.back), std::tuple(300.0f, 3, Vec3{}));
}

TEST_F(MouseTest, PointerIsRecentredWithinTenPixelsOfTheCurrentWindowsEdge)
{
    for (auto [x, y] : {std::pair{10, 400}, {990, 400}, {500, 10}, {500, 790}, {11, 400}, {989, 400}, {500, 11},
                        {500, 789}})
        mouseMoved(x, y);
    EXPECT_EQ(fake.warps, (std::vector<std::pair<int, int>>(4, {500, 400})));
    game.windowWidth = 801;  // the current size, halved and truncated
    game.windowHeight = 401;
    mouseMoved(791, 200);
    EXPECT_EQ(fake.warps.back(), (std::pair{400, 200}));
}
