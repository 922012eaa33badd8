// GLU's quadrics, gluLookAt, GLUT's solid cube and GL's lighting, for the
// game's own sources in the web build. The page's GL (web/gl/) draws
// vertices and colours; these stand-ins make the vertices and light them
// (positional lights, flat shading) as the desktop's GL does. The web build
// includes this header before every game source; the names below then reach
// these stand-ins, and the rest of the game's GL goes to web/gl/ or WebGL.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

// ---- functions -------------------------------------------------------------

// the enable bits, kept by the page's GL (web/gl/)
bool qvEnabled(GLenum cap);

// lighting: evaluated here for what the quadrics and the cube draw
// (compat/lighting.cpp), which hands web/gl/ the lit colours
void qvLightfv(GLenum light, GLenum pname, const GLfloat* params);
void qvMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void qvShadeModel(GLenum mode);

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

// The stand-ins themselves reach the names they stand in for.
#ifndef QUORVANE_GL_COMPAT_SOURCE

#define glLightfv qvLightfv
#define glMaterialfv qvMaterialfv
#define glShadeModel qvShadeModel
#define gluNewQuadric qvNewQuadric
#define gluQuadricDrawStyle qvQuadricDrawStyle
#define gluQuadricNormals qvQuadricNormals
#define gluQuadricTexture qvQuadricTexture
#define gluSphere qvSphere
#define gluCylinder qvCylinder
#define gluLookAt qvLookAt
#define glutSolidCube qvSolidCube

#endif
