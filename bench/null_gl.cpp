// Stubs for the drawing calls the game makes in a frame. Linked with
// --wrap=<name>, the game's call to <name> reaches __wrap_<name>, which
// passes it on to the library's own <name> (__real_<name>) unless nullGl is
// set. Only calls that return nothing are stubbed; queries stay real.
//
// CMake reads the STUB lines of this file to build the --wrap list, so one
// line here is all it takes to stub another call.
#include "null_gl.h"

#include <GL/glu.h>
#include <GL/glut.h>

bool          nullGl = false;
bool          countStubs = false;
unsigned long stubbedCalls = 0;

#define STUB(name, params, args)                  \
    extern "C" void __real_##name params;         \
    extern "C" void __wrap_##name params          \
    {                                             \
        if (!nullGl)                              \
            __real_##name args;                   \
        else if (countStubs)                      \
            stubbedCalls++;                       \
    }

// clang-format off
STUB(glBegin, (GLenum a), (a))
STUB(glEnd, (), ())
STUB(glVertex2f, (GLfloat a, GLfloat b), (a, b))
STUB(glVertex2i, (GLint a, GLint b), (a, b))
STUB(glVertex2d, (GLdouble a, GLdouble b), (a, b))
STUB(glVertex3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
STUB(glVertex3d, (GLdouble a, GLdouble b, GLdouble c), (a, b, c))
STUB(glVertex3fv, (const GLfloat* a), (a))
STUB(glTexCoord2f, (GLfloat a, GLfloat b), (a, b))
STUB(glTexCoord2i, (GLint a, GLint b), (a, b))
STUB(glTexCoord2fv, (const GLfloat* a), (a))
STUB(glTexCoord2d, (GLdouble a, GLdouble b), (a, b))
STUB(glNormal3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
STUB(glNormal3fv, (const GLfloat* a), (a))
STUB(glColor3f, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
STUB(glColor4f, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))
STUB(glColor4fv, (const GLfloat* a), (a))
STUB(glBindTexture, (GLenum a, GLuint b), (a, b))
STUB(glEnable, (GLenum a), (a))
STUB(glDisable, (GLenum a), (a))
STUB(glPushMatrix, (), ())
STUB(glPopMatrix, (), ())
STUB(glPushAttrib, (GLbitfield a), (a))
STUB(glPopAttrib, (), ())
STUB(glBlendFunc, (GLenum a, GLenum b), (a, b))
STUB(glHint, (GLenum a, GLenum b), (a, b))
STUB(glShadeModel, (GLenum a), (a))
STUB(glDepthMask, (GLboolean a), (a))
STUB(glLineWidth, (GLfloat a), (a))
STUB(glTranslatef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
STUB(glTranslated, (GLdouble a, GLdouble b, GLdouble c), (a, b, c))
STUB(glRotatef, (GLfloat a, GLfloat b, GLfloat c, GLfloat d), (a, b, c, d))
STUB(glRotated, (GLdouble a, GLdouble b, GLdouble c, GLdouble d), (a, b, c, d))
STUB(glScalef, (GLfloat a, GLfloat b, GLfloat c), (a, b, c))
STUB(glScaled, (GLdouble a, GLdouble b, GLdouble c), (a, b, c))
STUB(glMultMatrixf, (const GLfloat* a), (a))
STUB(glLoadIdentity, (), ())
STUB(glMatrixMode, (GLenum a), (a))
STUB(glOrtho, (GLdouble a, GLdouble b, GLdouble c, GLdouble d, GLdouble e, GLdouble f), (a, b, c, d, e, f))
STUB(glViewport, (GLint a, GLint b, GLsizei c, GLsizei d), (a, b, c, d))
STUB(glClear, (GLbitfield a), (a))
STUB(glLightfv, (GLenum a, GLenum b, const GLfloat* c), (a, b, c))
STUB(glMaterialfv, (GLenum a, GLenum b, const GLfloat* c), (a, b, c))
STUB(glMaterialf, (GLenum a, GLenum b, GLfloat c), (a, b, c))
STUB(glCallList, (GLuint a), (a))
STUB(glCallLists, (GLsizei a, GLenum b, const GLvoid* c), (a, b, c))
STUB(glListBase, (GLuint a), (a))
STUB(glRasterPos2f, (GLfloat a, GLfloat b), (a, b))
STUB(glRasterPos2i, (GLint a, GLint b), (a, b))
STUB(gluLookAt, (GLdouble a, GLdouble b, GLdouble c, GLdouble d, GLdouble e, GLdouble f, GLdouble g, GLdouble h, GLdouble i), (a, b, c, d, e, f, g, h, i))
STUB(gluPerspective, (GLdouble a, GLdouble b, GLdouble c, GLdouble d), (a, b, c, d))
STUB(gluOrtho2D, (GLdouble a, GLdouble b, GLdouble c, GLdouble d), (a, b, c, d))
STUB(gluSphere, (GLUquadric* q, GLdouble a, GLint b, GLint c), (q, a, b, c))
STUB(gluCylinder, (GLUquadric* q, GLdouble a, GLdouble b, GLdouble c, GLint d, GLint e), (q, a, b, c, d, e))
STUB(gluDisk, (GLUquadric* q, GLdouble a, GLdouble b, GLint c, GLint d), (q, a, b, c, d))
STUB(glutSolidCube, (GLdouble a), (a))
STUB(glutSolidSphere, (GLdouble a, GLint b, GLint c), (a, b, c))
STUB(glutSolidCone, (GLdouble a, GLdouble b, GLint c, GLint d), (a, b, c, d))
STUB(glutSwapBuffers, (), ())
// clang-format on
