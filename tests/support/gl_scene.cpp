#include "gl_scene.h"

#include "app/app.h"
#include "assets/textures.h"
#include "core/platform.h"
#include "game/state.h"

#include <cstdlib>

namespace {

class StartedGame : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "quorvane_gl_test";
        static char* argv[] = {name, nullptr};
        startGame(1, argv);
    }
};

const auto* const startedGame = ::testing::AddGlobalTestEnvironment(new StartedGame);

// The frame turns the first six on, the rest off.
constexpr GLenum kFlags[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_NORMALIZE, GL_LIGHT0,
                             GL_LIGHT1,   GL_BLEND,      GL_CULL_FACE,  GL_COLOR_MATERIAL, GL_POINT_SMOOTH};

Platform savedPlatform;

// The frame's flags, or every one of them the other way.
void setFlags(bool frames)
{
    for (std::size_t i = 0; i < std::size(kFlags); ++i)
        (i < 6) == frames ? glEnable(kFlags[i]) : glDisable(kFlags[i]);
}

}  // namespace

void GlScene::SetUp()
{
    savedPlatform = platform;
    platform.swapBuffers = [] {};
    reshapeWindow(1000, 800);
    game.missiles.clear();
    game.shots.clear();
    game.explosions.clear();
    game.titleScreen = true;
    game.showAimLines = false;
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    setFlags(true);
}

void GlScene::TearDown()
{
    loadAllTextures();
    platform = savedPlatform;
}

void FlatView::SetUp()
{
    GlScene::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -8, 8, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, std::array<GLfloat, 4>{0, 0, 100, 1}.data());   // at the viewer
    glLightfv(GL_LIGHT1, GL_POSITION, std::array<GLfloat, 4>{0, 0, -100, 1}.data());  // behind the scene
    glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GlSnapshot snapshot()
{
    GlSnapshot s;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    for (GLenum flag : kFlags)
        s.flags.push_back(glIsEnabled(flag));
    return s;
}

Frame readFrame()
{
    Frame f{std::vector<std::uint8_t>(3u * 1000 * 800)};
    glReadPixels(0, 0, 1000, 800, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

void expectPixels(const Frame& f, const std::vector<Probe>& probes)
{
    for (const Probe& p : probes) {
        const Rgb c = f.at(p.x, p.y);
        const bool near = std::abs(c.r - p.colour.r) <= 1 && std::abs(c.g - p.colour.g) <= 1 &&
                          std::abs(c.b - p.colour.b) <= 1;
        EXPECT_TRUE(p.is ? p.is(c) : near) << c << " at " << p.x << ", " << p.y << ", expected " << p.colour;
    }
}

void texture(GLuint slot, int width, int height, const std::function<Rgb(int x, int y)>& texel)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i) {
        const Rgb c = texel(i % width, i / width);
        rgb.insert(rgb.end(), {std::uint8_t(c.r), std::uint8_t(c.g), std::uint8_t(c.b)});
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows of any width packed
    glBindTexture(GL_TEXTURE_2D, slot);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

void fillRect(float x0, float y0, float x1, float y1, float z, const Rgb& colour)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(GLubyte(colour.r), GLubyte(colour.g), GLubyte(colour.b));
    glPushMatrix();
    glTranslatef(0, 0, z);
    glRectf(x0, y0, x1, y1);
    glPopMatrix();
    glPopAttrib();
}

void expectRestored(const std::function<void()>& draw)
{
    for (bool frames : {true, false}) {
        setFlags(frames);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        glPushMatrix();  // a pop too many then shows as a shallower stack
        const GlSnapshot before = snapshot();
        draw();
        EXPECT_TRUE(snapshot() == before) << (frames ? "frame's flags" : "opposite flags");
        glPopMatrix();
    }
    setFlags(true);
}
