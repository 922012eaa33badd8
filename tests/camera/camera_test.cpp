#include "fake_platform.h"

#include "camera/mouse_look.h"

// ---- view and flight -------------------------------------------------------

TEST(CameraTest, ViewUpdatePutsTheLookPointOppositeTheAngles)
{
    Camera camera(10, 20, 30, 0, 0, 0);

    camera.updateView(0, 0);
    EXPECT_TRUE(vecNear(camera.center, {-180, 0, 0}, 1e-5f));
    EXPECT_TRUE(vecNear(camera.back, {190, 20, 30}, 1e-5f));

    camera.updateView(90, 0);  // a turn to the right, toward -z
    EXPECT_TRUE(vecNear(camera.center, {0, 0, -180}, 1e-4f));

    camera.updateView(0, 90);  // growing pitch lowers the look point
    EXPECT_TRUE(vecNear(camera.center, {0, -180, 0}, 1e-4f));

    camera.updateView(30, -20);
    const float d2 = camera.center.x * camera.center.x + camera.center.y * camera.center.y
                   + camera.center.z * camera.center.z;
    EXPECT_NEAR(d2, 180.0f * 180.0f, 0.05f);
    EXPECT_GT(camera.center.y, 0.0f);
}

TEST(CameraTest, FlightMovesTheEyeAlongBackAndTheLookPointBySOnEveryAxis)
{
    Camera camera(0, 0, 0, 0, 0, 0);
    camera.updateView(0, 0);  // back is about (180, 0, 0)
    const Vec3 back = camera.back;
    const Vec3 center = camera.center;

    camera.move(-0.5f);
    EXPECT_EQ(camera.eye, -0.5f * back);
    EXPECT_EQ(camera.center, (Vec3{center.x - 0.5f, center.y - 0.5f, center.z - 0.5f}));
    EXPECT_EQ(camera.back, back);

    // equal steps on one line, through the look point and beyond
    camera.move(-0.5f);
    camera.move(-0.5f);
    EXPECT_TRUE(vecNear(camera.eye, {-270, 0, 0}, 1e-4f));
    EXPECT_EQ(camera.back, back);
}

// ---- pointer events --------------------------------------------------------

class MouseTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game.windowWidth = 1000;
        game.windowHeight = 800;
        restartGame();  // play: mouse look is on
    }
};

// Yaw 600 and 610 are 240 and 250 degrees and pitch 360 is level, so the
// look points are 180 (-cos, 0, -sin) of the yaw: (90, 0, 155.885) and
// (61.564, 0, 169.145), a turn of 10 degrees over 20 pixels. The play eye is
// (43, 31.75, -83).
TEST_F(MouseTest, AngleIsPointerMinusAngleAndEverySecondEventLooks)
{
    mouseMoved(600, 360);
    EXPECT_EQ(game.yaw, 600.0f);
    EXPECT_EQ(game.pitch, 360.0f);
    EXPECT_EQ(fake.redisplays, 1);
    EXPECT_TRUE(vecNear(game.camera.center, {90, 0, 155.885f}, 1e-3f));
    EXPECT_TRUE(vecNear(game.camera.back, {-47, 31.75f, -238.885f}, 1e-3f));

    mouseMoved(610, 360);
    EXPECT_EQ(game.yaw, 10.0f);
    EXPECT_EQ(game.pitch, 0.0f);
    EXPECT_EQ(fake.redisplays, 1);
    EXPECT_TRUE(vecNear(game.camera.center, {90, 0, 155.885f}, 1e-3f));

    mouseMoved(620, 360);
    EXPECT_EQ(game.yaw, 610.0f);
    EXPECT_EQ(fake.redisplays, 2);
    EXPECT_TRUE(vecNear(game.camera.center, {61.564f, 0, 169.145f}, 1e-3f));
}

// Re-centring from the edge; the warp's echo at the centre is an event like
// any other, here the updating one: yaw 5 - 610 = -605, then 500 + 605 = 1105
// (25 degrees) and pitch 400 (40 degrees) put the look point at
// -180 (cos 25 cos 40, sin 40, sin 25 cos 40) = (-124.969, -115.702, -58.274).
TEST_F(MouseTest, TheWarpsEchoAtTheCentreCountsLikeAnyEvent)
{
    mouseMoved(600, 360);
    mouseMoved(610, 360);
    mouseMoved(620, 360);
    mouseMoved(5, 360);
    EXPECT_EQ(fake.warps, (std::vector<std::pair<int, int>>{{500, 400}}));
    EXPECT_EQ(game.yaw, -605.0f);
    mouseMoved(500, 400);
    EXPECT_EQ(game.yaw, 1105.0f);
    EXPECT_EQ(game.pitch, 400.0f);
    EXPECT_EQ(fake.redisplays, 3);
    EXPECT_TRUE(vecNear(game.camera.center, {-124.969f, -115.702f, -58.274f}, 1e-3f));
}

TEST_F(MouseTest, PointerIsRecentredWithinTenPixelsOfTheCurrentWindowsEdge)
{
    const std::pair<int, int> centre{500, 400};
    for (auto [x, y] : {std::pair{10, 400}, {990, 400}, {500, 10}, {500, 790}, {0, 0}, {1200, 900}}) {
        fake.warps.clear();
        mouseMoved(x, y);
        ASSERT_EQ(fake.warps.size(), 1u) << x << "," << y;
        EXPECT_EQ(fake.warps[0], centre);
    }
    fake.warps.clear();
    for (auto [x, y] : {std::pair{11, 400}, {989, 400}, {500, 11}, {500, 789}})
        mouseMoved(x, y);
    EXPECT_TRUE(fake.warps.empty());

    // The current window size, halved and truncated.
    game.yaw = 0;
    game.windowWidth = 801;
    game.windowHeight = 401;
    mouseMoved(791, 200);
    ASSERT_EQ(fake.warps.size(), 1u);
    EXPECT_EQ(fake.warps[0], (std::pair{400, 200}));
    EXPECT_EQ(game.yaw, 791.0f);  // the event's own coordinates still count
}

TEST_F(MouseTest, TitleScreenIgnoresThePointer)
{
    newGame();
    const Camera before = game.camera;
    mouseMoved(5, 5);
    mouseMoved(600, 400);
    EXPECT_EQ(game.yaw, 0.0f);
    EXPECT_EQ(game.pitch, 0.0f);
    EXPECT_TRUE(game.applyLook);
    EXPECT_TRUE(fake.warps.empty());
    EXPECT_EQ(fake.redisplays, 0);
    EXPECT_EQ(game.camera.center, before.center);
}

TEST_F(MouseTest, LookFlagSurvivesARestart)
{
    mouseMoved(600, 400);
    EXPECT_FALSE(game.applyLook);
    restartGame();
    mouseMoved(300, 300);  // the non-updating event of the pair
    EXPECT_EQ(game.yaw, 300.0f);
    EXPECT_EQ(fake.redisplays, 1);
    EXPECT_EQ(game.camera.back, (Vec3{}));
}
