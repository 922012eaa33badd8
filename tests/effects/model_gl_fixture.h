// A flat view for drawing one object: orthographic, 50 pixels per world
// unit, the world origin at window pixel (500, 400), looking down -z, one
// light in front of the viewer.
#pragma once

#include "gl_scene.h"

#include <GL/gl.h>

#include <array>

class FlatView : public GlScene {
protected:
    void SetUp() override
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
};

// Window pixel of a world point in the flat view.
inline int px(float worldX) { return 500 + static_cast<int>(worldX * 50); }
inline int py(float worldY) { return 400 + static_cast<int>(worldY * 50); }

inline std::array<float, 4> material(GLenum face, GLenum parameter)
{
    std::array<float, 4> v{};
    glGetMaterialfv(face, parameter, v.data());
    return v;
}
