// The browser build's OpenGL 1.1: exactly the calls the game makes, by names of their own, over
// WebGL. gl_subset.h maps the game's calls onto them; gl_subset.cpp implements them. The GL
// types come from whichever GL header came first: <GL/gl.h> for the game, <GLES2/gl2.h> beneath.
#pragma once

// Matrices, kept here and applied to the vertices before they reach WebGL.
void ZeluMatrixMode(GLenum mode);
void ZeluLoadIdentity(void);
void ZeluOrtho(double left, double right, double bottom, double top, double zNear, double zFar);
void ZeluTranslated(double x, double y, double z);
void ZeluScalef(GLfloat x, GLfloat y, GLfloat z);

// Immediate mode: quads and lines, gathered into the frame's one vertex buffer.
void ZeluBegin(GLenum mode);
void ZeluEnd(void);
void ZeluVertex2d(double x, double y);
void ZeluVertex2i(GLint x, GLint y);
void ZeluTexCoord2f(GLfloat s, GLfloat t);
void ZeluColor3f(GLfloat red, GLfloat green, GLfloat blue);
void ZeluColor3ub(GLubyte red, GLubyte green, GLubyte blue);

// Display lists, recorded once and replayed from their stored vertices.
GLuint ZeluGenLists(GLsizei range);
void ZeluNewList(GLuint list, GLenum mode);
void ZeluEndList(void);
void ZeluListBase(GLuint base);
void ZeluCallLists(GLsizei count, GLenum type, const GLvoid *lists);
void ZeluDeleteLists(GLuint list, GLsizei range);

// Textures and the state a frame's draws depend on.
void ZeluGenTextures(GLsizei count, GLuint *names);
void ZeluBindTexture(GLenum target, GLuint name);
void ZeluTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                    GLint border, GLenum format, GLenum type, const GLvoid *pixels);
void ZeluTexParameteri(GLenum target, GLenum name, GLint value);
void ZeluPixelStorei(GLenum name, GLint value);
void ZeluEnable(GLenum capability);
void ZeluDisable(GLenum capability);
void ZeluBlendFunc(GLenum source, GLenum destination);
void ZeluClear(GLbitfield mask);
void ZeluClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void ZeluClearDepth(double depth);
void ZeluViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void ZeluShadeModel(GLenum mode);
void ZeluHint(GLenum target, GLenum mode);
const GLubyte *ZeluGetString(GLenum name);

// For the web wgl: starts compiling the subset's shaders as soon as the page's context is made
// (the browser compiles them while the game loads, and the first frame waits less), draws what
// the frame has gathered (SwapBuffers), and forgets the lists, the textures and the state when the
// page's last rendering context goes.
void PrepareGlSubset(void);
void FlushGlSubset(void);
void ForgetGlSubset(void);
