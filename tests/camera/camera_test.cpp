#include "fake_platform.h"

#include "camera/camera.h"

// ---- view and flight -------------------------------------------------------

TEST(CameraTest, NewCameraHasNoBackVectorAndTheFixedUpAndRadius)
{
    const Camera camera(1, 2, 3, 4, 5, 6);
    EXPECT_EQ(camera.eye, (Vec3{1, 2, 3}));
    EXPECT_EQ(camera.center, (Vec3{4, 5, 6}));
    EXPECT_EQ(camera.back, (Vec3{}));
    EXPECT_EQ(camera.up, (Vec3{0, 1, 0}));
    EXPECT_EQ(camera.lookRadius, 180.0f);
}

TEST(CameraTest, ViewUpdatePutsTheLookPointOppositeTheAngles)
{
    Camera camera(10, 20, 30, 0, 0, 0);

    camera.updateView(0, 0);
    EXPECT_TRUE(vecNear(camera.center, {-180, 0, 0}, 1e-5f));
    EXPECT_EQ(camera.back, camera.eye - camera.center);
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

TEST_F(MouseTest, AngleIsPointerMinusAngleAndEverySecondEventLooks)
{
    const Vec3 playCenter = game.camera.center;

    mouseMoved(600, 400);
    EXPECT_EQ(game.yaw, 600.0f);
    EXPECT_EQ(game.pitch, 400.0f);
    EXPECT_EQ(fake.redisplays, 1);
    EXPECT_NE(game.camera.center, playCenter);
    Camera expected = game.camera;
    expected.updateView(600, 400);
    EXPECT_EQ(game.camera.center, expected.center);

    const Vec3 afterFirst = game.camera.center;
    mouseMoved(610, 400);
    EXPECT_EQ(game.yaw, 10.0f);
    EXPECT_EQ(game.pitch, 0.0f);
    EXPECT_EQ(fake.redisplays, 1);
    EXPECT_EQ(game.camera.center, afterFirst);

    mouseMoved(620, 400);
    EXPECT_EQ(game.yaw, 610.0f);
    EXPECT_EQ(game.pitch, 400.0f);
    EXPECT_EQ(fake.redisplays, 2);
    expected.updateView(610, 400);
    EXPECT_EQ(game.camera.center, expected.center);
    EXPECT_EQ(game.camera.back, game.camera.eye - expected.center);
}

TEST_F(MouseTest, PointerIsRecentredWithinTenPixelsOfAnEdge)
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
}

TEST_F(MouseTest, RecentringUsesTheCurrentWindowSizeTruncated)
{
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
