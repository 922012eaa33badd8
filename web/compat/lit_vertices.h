// The quadrics' and the cube's vertices, lit here: the page's GL draws
// colours as given. Included by the stand-ins that draw lit geometry, on the web only:
// their plain GL names then reach these.
#pragma once

#include <GL/gl.h>

// ---- functions -------------------------------------------------------------

void qvLitBegin(GLenum mode);
void qvLitEnd();
void qvLitNormal3f(GLfloat x, GLfloat y, GLfloat z);
void qvLitNormal3fv(const GLfloat* v);
void qvLitTexCoord2f(GLfloat s, GLfloat t);
void qvLitVertex3f(GLfloat x, GLfloat y, GLfloat z);
void qvLitVertex3fv(const GLfloat* v);

// ---- the names -------------------------------------------------------------

// The lighting itself draws with the page's GL.
#ifndef QUORVANE_LIGHTING_SOURCE

#define glBegin qvLitBegin
#define glEnd qvLitEnd
#define glNormal3f qvLitNormal3f
#define glNormal3fv qvLitNormal3fv
#define glTexCoord2f qvLitTexCoord2f
#define glVertex3f qvLitVertex3f
#define glVertex3fv qvLitVertex3fv

#endif
