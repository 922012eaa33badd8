// The page's fixed-function GL: what the game asks of GL 1.x, drawn through
// WebGL. The game's GL 1.x calls keep their own names and land here (an
// unimplemented one fails to link); the functions WebGL has as well are
// defined here too where the layer must see them, and reach WebGL through
// emscripten's emscripten_gl* copies of its bindings.
//
// Vertices are transformed to clip space as they arrive and gathered in
// WebAssembly memory for the whole frame; a run of vertices drawn under the
// same state goes to WebGL as one upload and one draw. Every call that
// changes what a draw looks like (a texture, a blend, a cap, the viewport)
// first draws what is pending.
#pragma once

#include <GL/gl.h>

// ---- functions -------------------------------------------------------------

// matrices.cpp: projection times modelview, kept up to date
const float* qvClipMatrix();

// immediate.cpp: draws every vertex gathered since the last draw
void qvFlush();
void qvCurrentColour(GLfloat colour[4]);

// caps.cpp: the caps the layer keeps itself (texturing, lighting, ...)
bool qvEnabled(GLenum cap);

// lists.cpp: records the call into the list being compiled, if one is
enum class ListOp : unsigned char { Begin, End, TexCoord, Vertex, Translate };
bool qvRecord(ListOp op, GLfloat a = 0, GLfloat b = 0, GLfloat c = 0);

// WebGL itself, under the names emscripten gives its own bindings
extern "C" {
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glBlendFunc(GLenum source, GLenum destination);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glClear(GLbitfield mask);
void emscripten_glGenTextures(GLsizei n, GLuint* names);
void emscripten_glBindTexture(GLenum target, GLuint name);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const void* pixels);
void emscripten_glTexParameteri(GLenum target, GLenum pname, GLint param);
void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                             void* pixels);
void emscripten_glGetIntegerv(GLenum pname, GLint* params);
void emscripten_glGetFloatv(GLenum pname, GLfloat* params);
GLuint emscripten_glCreateShader(GLenum type);
void emscripten_glShaderSource(GLuint shader, GLsizei count, const char* const* sources, const GLint* lengths);
void emscripten_glCompileShader(GLuint shader);
void emscripten_glGetShaderiv(GLuint shader, GLenum pname, GLint* params);
void emscripten_glGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, char* log);
GLuint emscripten_glCreateProgram();
void emscripten_glAttachShader(GLuint program, GLuint shader);
void emscripten_glBindAttribLocation(GLuint program, GLuint index, const char* name);
void emscripten_glLinkProgram(GLuint program);
void emscripten_glUseProgram(GLuint program);
GLint emscripten_glGetUniformLocation(GLuint program, const char* name);
void emscripten_glUniform1i(GLint location, GLint value);
void emscripten_glGenBuffers(GLsizei n, GLuint* buffers);
void emscripten_glBindBuffer(GLenum target, GLuint buffer);
void emscripten_glBufferData(GLenum target, long size, const void* data, GLenum usage);
void emscripten_glBufferSubData(GLenum target, long offset, long size, const void* data);
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                      const void* pointer);
void emscripten_glEnableVertexAttribArray(GLuint index);
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
}
