#include "gl_scene.h"

#include "app/app.h"
#include "assets/textures.h"
#include "core/platform.h"
#include "game/state.h"

#include <GL/glu.h>

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

constexpr GLenum kFlags[] = {GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_NORMALIZE,
                             GL_CULL_FACE, GL_LIGHT0, GL_LIGHT1, GL_COLOR_MATERIAL, GL_POINT_SMOOTH};

Platform savedPlatform;

void noSwap() {}

}  // namespace

Rgb Frame::at(int x, int y) const
{
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * width + x);
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool Frame::allBlack(int step) const
{
    for (int y = 0; y < height; y += step)
        for (int x = 0; x < width; x += step)
            if (!at(x, y).black())
                return false;
    return true;
}

void GlScene::SetUp()
{
    savedPlatform = platform;
    platform.swapBuffers = noSwap;
    reshapeWindow(1000, 800);
    game.missiles.clear();
    game.shots.clear();
    game.explosions.clear();
    glColor4f(1, 1, 1, 1);
    enableFramesFlags();
}

void GlScene::TearDown()
{
    loadAllTextures();
    game.missiles.clear();
    platform = savedPlatform;
}

void expectChannel(const Frame& f, int Rgb::*channel, std::initializer_list<Probe> probes)
{
    for (const Probe& p : probes)
        EXPECT_EQ(f.at(p.x, p.y).*channel, p.value) << "at " << p.x << ", " << p.y;
}

void expectLit(const Frame& f, Pixels lit, Pixels black)
{
    for (auto [x, y] : lit)
        EXPECT_FALSE(f.at(x, y).black()) << "lit at " << x << ", " << y;
    for (auto [x, y] : black)
        EXPECT_TRUE(f.at(x, y).black()) << "black at " << x << ", " << y;
}

void FlatView::SetUp()
{
    GlScene::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -8, 8, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat front[] = {0, 0, 100, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, front);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GLint integer(GLenum name)
{
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

std::array<float, 4> floats4(GLenum name)
{
    std::array<float, 4> v{};
    glGetFloatv(name, v.data());
    return v;
}

std::array<float, 4> material(GLenum face, GLenum parameter)
{
    std::array<float, 4> v{};
    glGetMaterialfv(face, parameter, v.data());
    return v;
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
    Frame f;
    f.width = 1000;
    f.height = 800;
    f.rgb.resize(3u * f.width * f.height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glFinish();
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, f.width, f.height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

void enableFramesFlags()
{
    for (GLenum on : {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_NORMALIZE, GL_LIGHT0, GL_LIGHT1})
        glEnable(on);
    for (GLenum off : {GL_BLEND, GL_CULL_FACE, GL_COLOR_MATERIAL, GL_POINT_SMOOTH})
        glDisable(off);
}

void enableOppositeFlags()
{
    for (GLenum off : {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_NORMALIZE})
        glDisable(off);
    for (GLenum on : {GL_BLEND, GL_CULL_FACE, GL_POINT_SMOOTH})
        glEnable(on);
}

void uploadTexture(GLuint slot, int width, int height, const std::vector<std::uint8_t>& rgb)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, slot);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void solidTexture(GLuint slot, int width, int height, Rgb colour)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(colour.r), static_cast<std::uint8_t>(colour.g),
                               static_cast<std::uint8_t>(colour.b)});
    uploadTexture(slot, width, height, rgb);
}

void expectRestored(const std::function<void()>& prepare, const std::function<void()>& draw)
{
    for (auto setFlags : {enableFramesFlags, enableOppositeFlags}) {
        setFlags();
        prepare();
        glPushMatrix();  // a pop too many then shows as a shallower stack
        const GlSnapshot before = snapshot();
        draw();
        EXPECT_TRUE(snapshot() == before) << (setFlags == enableFramesFlags ? "frame's flags" : "opposite flags");
        glPopMatrix();
    }
}

void expectMaterial(const std::array<float, 4>& diffuse, const std::array<float, 4>& specular)
{
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        EXPECT_EQ(material(face, GL_AMBIENT), (std::array<float, 4>{0, 0, 0, 1}));
        EXPECT_EQ(material(face, GL_DIFFUSE), diffuse);
        EXPECT_EQ(material(face, GL_SPECULAR), specular);
        EXPECT_EQ(material(face, GL_SHININESS)[0], 0.25f);
    }
}

void lookAt(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, atX, atY, atZ, 0, 1, 0);
}
