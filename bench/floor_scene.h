// What the floor programs draw, the same in both: a 64 x 64 texture of two colours, and 200
// quads of it, 20 x 20 pixels each (about as many textured pixels as the game draws), spread over
// the window.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

#include <cstring>

inline void DrawQuads(int frame) {
  glClear(GL_COLOR_BUFFER_BIT);
  glBegin(GL_QUADS);
  for (int i = 0; i < 200; ++i) {
    float x = static_cast<float>((i * 37 + frame) % 600), y = static_cast<float>((i * 53) % 440);
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(1, 0);
    glVertex2f(x + 20, y);
    glTexCoord2f(1, 1);
    glVertex2f(x + 20, y + 20);
    glTexCoord2f(0, 1);
    glVertex2f(x, y + 20);
  }
  glEnd();
}

inline void MakeTexture() {
  static unsigned char pixels[64 * 64 * 3];
  for (int i = 0; i < 64 * 64; ++i)
    std::memset(pixels + 3 * i, ((i / 64 + i % 64) / 8) % 2 ? 255 : 40, 3);
  GLuint texture;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glOrtho(0, 640, 480, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
}
