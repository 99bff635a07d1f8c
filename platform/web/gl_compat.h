// What WebGL's fixed-function emulation lacks and the game uses: display lists, double-precision
// vertices, the internal format "3", queries and a viewport without a context, and hints and
// shading modes that WebGL does not know. Included by platform/win32.h in the web build only, after
// <GL/gl.h>: the game's calls of these names reach gl_compat.cpp.
#pragma once

#include "platform/web/gl_compat_calls.h"

#define glGenLists ZeluGenLists
#define glNewList ZeluNewList
#define glEndList ZeluEndList
#define glCallList ZeluCallList
#define glCallLists ZeluCallLists
#define glListBase ZeluListBase
#define glDeleteLists ZeluDeleteLists
#define glIsList ZeluIsList
#define glBegin ZeluBegin
#define glEnd ZeluEnd
#define glVertex2i ZeluVertex2i
#define glVertex2f ZeluVertex2f
#define glVertex2d ZeluVertex2d
#define glTexCoord2f ZeluTexCoord2f
#define glColor3f ZeluColor3f
#define glColor3ub ZeluColor3ub
#define glTranslated ZeluTranslated
#define glTranslatef ZeluTranslatef
#define glScalef ZeluScalef
#define glTexImage2D ZeluTexImage2D
#define glGetString ZeluGetString
#define glViewport ZeluViewport
#define glMatrixMode ZeluMatrixMode
#define glLoadIdentity ZeluLoadIdentity
#define glOrtho ZeluOrtho
#define glHint ZeluHint
#define glShadeModel ZeluShadeModel
