// The bitmap font: one display list per glyph cell of the font texture, text drawn in one of two
// character sets, and the "label + number" texts of the score and speed display.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// First of the 256 consecutive glyph lists of the current context; list glyphListBase + g draws
// glyph g (column g mod 16, row g div 16 of the font picture, row 0 at the top) as a 16 x 16
// square from the pen position and then moves the pen 15 units right. 0 when no lists are held.
extern GLuint glyphListBase;

// Holds the text that NumberLabel returns; every call overwrites it.
const int LabelBufferSize = 20;
extern char labelBuffer[LabelBufferSize];

// Compiles the 256 glyph lists. Needs a current context in which TextureNames[FontTexture]
// exists; leaves that texture bound.
void BuildGlyphLists();

// Deletes the 256 glyph lists. Does nothing when none were built or no context is current (a
// deleted context took its lists with it).
void DeleteGlyphLists();

// Formats `format` printf-style (at most 255 characters; the rest is cut off) and draws it with
// the top-left corner of its first glyph square at pixel (x, y), in the current colour with the
// bound texture. Set 0 (bytes 32 to 159) is drawn 24 x 32 per glyph with a 22.5-pixel advance,
// set 1 (bytes 32 to 159) 16 x 16 with a 15-pixel advance; a set above 1 draws as set 1. Bytes
// outside the set draw nothing and do not advance. Leaves texturing off and the modelview
// matrix at the end of the text. A null format draws nothing and touches no state.
void PrintText(int32_t x, int32_t y, int set, const char *format, ...);

// The label followed by the decimal digits of value (none for a value of 0 or below), in
// labelBuffer; a text longer than LabelBufferSize - 1 characters keeps only its beginning.
char *NumberLabel(const char *label, int32_t value);
