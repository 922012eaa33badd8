// What the browser's GL lacks, put back for the game's own sources.
//
// emscripten's fixed-function emulation misses display lists, attribute
// stacks, GLU's quadrics, a working gluLookAt, quad strips, a few
// double-precision entry points, GLUT's solid cube, and lighting as the
// desktop's (positional lights, flat shading); WebGL wants texture
// names it made itself and sized formats. The web build includes this header
// before every game source; the names below then reach these stand-ins, and
// the rest of the game's GL goes to emscripten unchanged.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

// ---- functions -------------------------------------------------------------

// display lists: the font's glyphs
GLuint qvGenLists(GLsizei range);
void   qvNewList(GLuint list, GLenum mode);
void   qvEndList();
void   qvListBase(GLuint base);
void   qvCallLists(GLsizei count, GLenum type, const GLvoid* lists);

// calls a list may hold: recorded while one is open, else passed on
void qvBegin(GLenum mode);
void qvEnd();
void qvTexCoord2f(GLfloat s, GLfloat t);
void qvVertex2f(GLfloat x, GLfloat y);
void qvTranslatef(GLfloat x, GLfloat y, GLfloat z);
inline void qvTexCoord2d(GLdouble s, GLdouble t) { qvTexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t)); }
inline void qvVertex2d(GLdouble x, GLdouble y) { qvVertex2f(static_cast<GLfloat>(x), static_cast<GLfloat>(y)); }

// the enable bits, tracked so that glPopAttrib can restore them
void qvEnable(GLenum cap);
void qvDisable(GLenum cap);
void qvPushAttrib(GLbitfield mask);
void qvPopAttrib();
bool qvEnabled(GLenum cap);

// lighting: evaluated here for what the quadrics and the cube draw
// (compat/lighting.cpp); the emulation's own stays off
void qvLightfv(GLenum light, GLenum pname, const GLfloat* params);
void qvMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void qvShadeModel(GLenum mode);

// textures: the game's fixed names mapped to names WebGL made
void qvBindTexture(GLenum target, GLuint name);
void qvTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels);

// reading the frame: WebGL reads RGBA from the back buffer only
void qvReadBuffer(GLenum mode);
void qvReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels);
void qvHint(GLenum target, GLenum mode);

// GLU and GLUT
GLUquadric* qvNewQuadric();
void qvQuadricDrawStyle(GLUquadric* quadric, GLenum style);
void qvQuadricNormals(GLUquadric* quadric, GLenum normals);
void qvQuadricTexture(GLUquadric* quadric, GLboolean texture);
void qvSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
void qvCylinder(GLUquadric* quadric, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks);
void qvLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,
              GLdouble upX, GLdouble upY, GLdouble upZ);
void qvSolidCube(GLdouble size);

// ---- the game's names ------------------------------------------------------

// The stand-ins themselves reach emscripten's own functions.
#ifndef QUORVANE_GL_COMPAT_SOURCE

#define glGenLists qvGenLists
#define glNewList qvNewList
#define glEndList qvEndList
#define glListBase qvListBase
#define glCallLists qvCallLists
#define glBegin qvBegin
#define glEnd qvEnd
#define glTexCoord2f qvTexCoord2f
#define glVertex2f qvVertex2f
#define glTranslatef qvTranslatef
#define glTexCoord2d qvTexCoord2d
#define glVertex2d qvVertex2d
#define glEnable qvEnable
#define glDisable qvDisable
#define glPushAttrib qvPushAttrib
#define glPopAttrib qvPopAttrib
#define glLightfv qvLightfv
#define glMaterialfv qvMaterialfv
#define glShadeModel qvShadeModel
#define glBindTexture qvBindTexture
#define glTexImage2D qvTexImage2D
#define glReadBuffer qvReadBuffer
#define glReadPixels qvReadPixels
#define glHint qvHint
#define gluNewQuadric qvNewQuadric
#define gluQuadricDrawStyle qvQuadricDrawStyle
#define gluQuadricNormals qvQuadricNormals
#define gluQuadricTexture qvQuadricTexture
#define gluSphere qvSphere
#define gluCylinder qvCylinder
#define gluLookAt qvLookAt
#define glutSolidCube qvSolidCube

#endif
