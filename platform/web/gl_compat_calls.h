// The web build's own versions of the OpenGL calls that WebGL's fixed-function emulation lacks
// or takes differently, by their own names: gl_compat.h maps the game's calls onto them.
#pragma once

#include <GL/gl.h>

GLuint ZeluGenLists(GLsizei range);
void ZeluNewList(GLuint list, GLenum mode);
void ZeluEndList(void);
void ZeluCallList(GLuint list);
void ZeluCallLists(GLsizei count, GLenum type, const GLvoid *lists);
void ZeluListBase(GLuint base);
void ZeluDeleteLists(GLuint list, GLsizei range);
GLboolean ZeluIsList(GLuint list);

// Calls that a display list records instead of running while it is being compiled.
void ZeluBegin(GLenum mode);
void ZeluEnd(void);
void ZeluVertex2i(GLint x, GLint y);
void ZeluVertex2f(GLfloat x, GLfloat y);
void ZeluVertex2d(GLdouble x, GLdouble y);
void ZeluTexCoord2f(GLfloat s, GLfloat t);
void ZeluColor3f(GLfloat red, GLfloat green, GLfloat blue);
void ZeluColor3ub(GLubyte red, GLubyte green, GLubyte blue);
void ZeluTranslated(GLdouble x, GLdouble y, GLdouble z);
void ZeluTranslatef(GLfloat x, GLfloat y, GLfloat z);
void ZeluScalef(GLfloat x, GLfloat y, GLfloat z);

void ZeluTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const GLvoid *pixels);
const GLubyte *ZeluGetString(GLenum name);
// Calls that a window's WM_SIZE makes (ResizeScene), which may come before its context exists.
void ZeluViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void ZeluMatrixMode(GLenum mode);
void ZeluLoadIdentity(void);
void ZeluOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
               GLdouble zFar);
void ZeluHint(GLenum target, GLenum mode);
void ZeluShadeModel(GLenum mode);

// Called by the web wgl when the page's last rendering context goes: its lists go with it.
void ForgetDisplayLists(void);
