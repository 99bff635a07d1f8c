// Included by platform/win32.h in the browser build only, after <GL/gl.h>: the game's OpenGL
// calls reach our own GL 1.1 subset over WebGL (gl_subset.cpp) under their usual names.
#pragma once

#include "platform/web/gl_subset_calls.h"

#define glMatrixMode ZeluMatrixMode
#define glLoadIdentity ZeluLoadIdentity
#define glOrtho ZeluOrtho
#define glTranslated ZeluTranslated
#define glScalef ZeluScalef
#define glBegin ZeluBegin
#define glEnd ZeluEnd
#define glVertex2d ZeluVertex2d
#define glVertex2i ZeluVertex2i
#define glTexCoord2f ZeluTexCoord2f
#define glColor3f ZeluColor3f
#define glColor3ub ZeluColor3ub
#define glGenLists ZeluGenLists
#define glNewList ZeluNewList
#define glEndList ZeluEndList
#define glListBase ZeluListBase
#define glCallLists ZeluCallLists
#define glDeleteLists ZeluDeleteLists
#define glGenTextures ZeluGenTextures
#define glBindTexture ZeluBindTexture
#define glTexImage2D ZeluTexImage2D
#define glTexParameteri ZeluTexParameteri
#define glPixelStorei ZeluPixelStorei
#define glEnable ZeluEnable
#define glDisable ZeluDisable
#define glBlendFunc ZeluBlendFunc
#define glClear ZeluClear
#define glClearColor ZeluClearColor
#define glClearDepth ZeluClearDepth
#define glViewport ZeluViewport
#define glShadeModel ZeluShadeModel
#define glHint ZeluHint
#define glGetString ZeluGetString
