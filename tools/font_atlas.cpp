// Rasterises the two character sets of the font texture. Each glyph's ink is centred on the
// 15-pixel advance so that fixed-pitch text reads evenly, and kept clear of the cell edges that
// the next glyph overdraws or that linear filtering blends with the neighbouring cell.
#include "tools/font_atlas.h"

#include <algorithm>
#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

namespace {

// Where a character set's glyphs go within their cells, in cell pixels (y down).
struct GlyphStyle {
  const char *fontFile;
  double emWidth;  // horizontal size of the em square
  double emHeight; // vertical size of the em square
  int baseline;    // pixel row boundary the glyphs stand on
  double inkLeft, inkRight, inkTop, inkBottom;
};

// Shown at 24 × 32: the em is squeezed by 1.5 across and 2 down so that it looks right stretched.
const GlyphStyle DisplayStyle{"DejaVuSans-Bold.ttf", 17.5, 14.0, 12, 1.0, 14.0, 1.0, 15.0};
// Shown at 16 × 16 with a 15-pixel advance: column 15 is covered by the next glyph.
const GlyphStyle PlainStyle{"DejaVuSans-Bold.ttf", 18.0, 15.5, 13, 0.5, 14.5, 0.0, 16.0};

constexpr double InkCentre = 7.5;

double ToPixels(FT_Pos value) {
  return static_cast<double>(value) / 64.0;
}
FT_Pos ToUnits(double pixels) {
  return static_cast<FT_Pos>(std::lround(pixels * 64.0));
}
FT_Fixed ToFixed(double value) {
  return static_cast<FT_Fixed>(std::lround(value * 65536.0));
}

// Shrinks an outline that would leave the ink box, about the pen origin on the baseline.
void FitOutline(FT_Outline *outline, const GlyphStyle &style) {
  FT_BBox box;
  FT_Outline_Get_BBox(outline, &box);
  const double width = ToPixels(box.xMax - box.xMin);
  const double above = ToPixels(box.yMax), below = -ToPixels(box.yMin);
  double sx = 1.0, sy = 1.0;
  if (width > style.inkRight - style.inkLeft)
    sx = (style.inkRight - style.inkLeft) / width;
  if (above > style.baseline - style.inkTop)
    sy = std::min(sy, (style.baseline - style.inkTop) / above);
  if (below > style.inkBottom - style.baseline)
    sy = std::min(sy, (style.inkBottom - style.baseline) / below);
  if (sx == 1.0 && sy == 1.0)
    return;
  FT_Matrix matrix{ToFixed(sx), 0, 0, ToFixed(sy)};
  FT_Outline_Transform(outline, &matrix);
}

void CentreOutline(FT_Outline *outline) {
  FT_BBox box;
  FT_Outline_Get_BBox(outline, &box);
  const double middle = ToPixels(box.xMin + box.xMax) / 2.0;
  FT_Outline_Translate(outline, ToUnits(InkCentre - middle), 0);
}

void BlitGlyph(const FT_GlyphSlot slot, int baseline, Picture &picture, int cellX, int cellY) {
  const FT_Bitmap &bitmap = slot->bitmap;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = baseline - slot->bitmap_top + static_cast<int>(row);
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const int x = slot->bitmap_left + static_cast<int>(column);
      if (x < 0 || x >= FontCellSize || y < 0 || y >= FontCellSize)
        continue;
      const std::uint8_t grey = bitmap.buffer[row * bitmap.pitch + static_cast<int>(column)];
      std::uint8_t *pixel = PixelAt(picture, cellX + x, cellY + y);
      pixel[0] = pixel[1] = pixel[2] = grey;
    }
  }
}

bool DrawGlyph(FT_Face face, const GlyphStyle &style, unsigned character, Picture &picture,
               int glyph) {
  const FT_UInt index = FT_Get_Char_Index(face, character);
  if (index == 0)
    return true; // the face lacks it: the cell stays blank
  // Light hinting snaps horizontal strokes to the pixel rows and leaves x free for centring.
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
    return false;
  FT_Outline *outline = &face->glyph->outline;
  if (outline->n_points == 0)
    return true; // a blank character such as the no-break space
  FitOutline(outline, style);
  CentreOutline(outline);
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
    return false;
  BlitGlyph(face->glyph, style.baseline, picture, (glyph % FontGridSize) * FontCellSize,
            (glyph / FontGridSize) * FontCellSize);
  return true;
}

bool DrawCharacterSet(FT_Library library, const std::string &fontDir, const GlyphStyle &style,
                      int firstGlyph, Picture &picture, std::string &error) {
  const std::string path = fontDir + "/" + style.fontFile;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    error = "cannot load the font face " + path;
    return false;
  }
  bool ok = FT_Set_Char_Size(face, ToUnits(style.emWidth), ToUnits(style.emHeight), 72, 72) == 0;
  for (unsigned byte = 32; ok && byte < 160; ++byte) {
    const unsigned character = Cp1252ToUnicode(byte);
    if (character > 32 && character != 127)
      ok = DrawGlyph(face, style, character, picture, firstGlyph + static_cast<int>(byte) - 32);
  }
  if (!ok)
    error = "cannot rasterise the glyphs of " + path;
  FT_Done_Face(face);
  return ok;
}

} // namespace

unsigned Cp1252ToUnicode(unsigned byte) {
  // 0x80 to 0x9F differ from Latin-1; 0 marks the five unassigned bytes.
  static const unsigned high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (byte >= 0x80 && byte < 0xA0)
    return high[byte - 0x80];
  return byte < 0x100 ? byte : 0;
}

bool BuildFontPicture(const std::string &fontDir, Picture &picture, std::string &error) {
  picture = MakePicture(FontGridSize * FontCellSize, FontGridSize * FontCellSize);
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    error = "cannot start FreeType";
    return false;
  }
  const bool ok = DrawCharacterSet(library, fontDir, DisplayStyle, 0, picture, error) &&
                  DrawCharacterSet(library, fontDir, PlainStyle, 128, picture, error);
  FT_Done_FreeType(library);
  return ok;
}
