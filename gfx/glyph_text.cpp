// The bitmap font: one display list per glyph cell of the font texture, text drawn in one of two
// character sets, and the "label + number" texts of the score and speed display.
#include "gfx/glyph_text.h"

#include "gfx/render_state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

GLuint glyphListBase = 0;
char labelBuffer[LabelBufferSize];

namespace {

const int GlyphCount = 256;
const int GlyphsPerRow = 16;
const float GlyphCellSpan = 0.0625f; // 1/16 of the texture in each direction
const int PrintBufferSize = 256;

// One glyph: the square of its font cell, the same way up as in the picture (the square's
// bottom edge, y = 16, takes the smaller t), then the pen moves on by 15.
void CompileGlyph(GLuint list, int glyph) {
  float cx = static_cast<float>(glyph % GlyphsPerRow) / GlyphsPerRow;
  float cy = static_cast<float>(glyph / GlyphsPerRow) / GlyphsPerRow;
  glNewList(list, GL_COMPILE);
  glBegin(GL_QUADS);
  glTexCoord2f(cx, 1.0f - cy - GlyphCellSpan);
  glVertex2i(0, 16);
  glTexCoord2f(cx + GlyphCellSpan, 1.0f - cy - GlyphCellSpan);
  glVertex2i(16, 16);
  glTexCoord2f(cx + GlyphCellSpan, 1.0f - cy);
  glVertex2i(16, 0);
  glTexCoord2f(cx, 1.0f - cy);
  glVertex2i(0, 0);
  glEnd();
  glTranslated(15.0, 0.0, 0.0);
  glEndList();
}

// True when this thread has a current rendering context: without one GL answers no queries.
bool ContextIsCurrent() {
  return glGetString(GL_VERSION) != nullptr;
}

// Digits of a positive value, most significant first, into `digits`; returns their count.
// A value of 0 or below has none.
int DecimalDigits(int32_t value, char digits[10]) {
  int count = 0;
  for (int32_t rest = value; rest > 0; rest /= 10)
    ++count;
  for (int position = count - 1; position >= 0; --position) {
    digits[position] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return count;
}

} // namespace

void BuildGlyphLists() {
  glyphListBase = glGenLists(GlyphCount);
  // Bound outside the lists, so that the binding is not recorded in them.
  glBindTexture(GL_TEXTURE_2D, TextureNames[FontTexture]);
  for (int glyph = 0; glyph < GlyphCount; ++glyph)
    CompileGlyph(glyphListBase + glyph, glyph);
}

void DeleteGlyphLists() {
  if (glyphListBase == 0 || !ContextIsCurrent())
    return;
  glDeleteLists(glyphListBase, GlyphCount);
  glyphListBase = 0;
}

void PrintText(int32_t x, int32_t y, int set, const char *format, ...) {
  if (format == nullptr)
    return;
  char text[PrintBufferSize];
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  // Some C runtimes leave a cut-off text unterminated.
  text[PrintBufferSize - 1] = '\0';
  if (set > 1)
    set = 1;

  glEnable(GL_TEXTURE_2D);
  glLoadIdentity();
  glTranslated(x, y, 0.0);
  // Byte c of set k calls glyph c - 32 + 128 k; unsigned wrap-around keeps this exact.
  glListBase(glyphListBase + 128 * set - 32);
  if (set == 0)
    glScalef(1.5f, 2.0f, 1.0f); // after the translation: scales glyphs and advance, not position
  glCallLists(static_cast<GLsizei>(strlen(text)), GL_UNSIGNED_BYTE, text);
  glDisable(GL_TEXTURE_2D);
}

char *NumberLabel(const char *label, int32_t value) {
  const int room = LabelBufferSize - 1;
  int length = 0;
  while (length < room && label[length] != '\0') {
    labelBuffer[length] = label[length];
    ++length;
  }
  char digits[10];
  int count = DecimalDigits(value, digits);
  // Digits that do not fit are cut off from the end, like the label's own characters.
  for (int i = 0; i < count && length < room; ++i)
    labelBuffer[length++] = digits[i];
  labelBuffer[length] = '\0';
  return labelBuffer;
}
