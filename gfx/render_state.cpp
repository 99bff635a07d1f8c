// The two textures of the game and the fixed OpenGL state that every frame relies on, set up
// anew for every rendering context.
#include "gfx/render_state.h"

#include "gfx/bitmap_loader.h"
#include "gfx/glyph_text.h"

#include <cstdlib>

GLuint TextureNames[2];

namespace {

// Image files by texture index.
const char *const ImagePaths[2] = {"Data/Font.bmp", "Data/Image.bmp"};

// Releases an image as the loader hands it over: the pixel block, then the record.
void ReleaseImage(RgbImage *image) {
  if (image == nullptr)
    return;
  free(image->pixels);
  free(image);
}

// Uploads one image as level 0 of the bound texture, filtered linearly both ways.
void UploadTexture(GLuint name, const RgbImage *image) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image->pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// The state that never changes afterwards: smooth shading, a black clear, the nicest lines and
// blending by source alpha. Depth test, culling, lighting and texturing stay off.
void SetFixedState() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

} // namespace

bool LoadSpriteTextures() {
  RgbImage *images[2] = {nullptr, nullptr};
  // The font comes first; without it the sprites are not even opened.
  images[FontTexture] = LoadBitmapImage(ImagePaths[FontTexture]);
  if (images[FontTexture] == nullptr)
    return false;
  images[SpriteTexture] = LoadBitmapImage(ImagePaths[SpriteTexture]);
  if (images[SpriteTexture] == nullptr) {
    ReleaseImage(images[FontTexture]);
    return false;
  }

  glGenTextures(2, TextureNames);
  // The loader packs rows tightly; with GL's default 4-byte row alignment an image whose width
  // is not a multiple of 4 would upload skewed.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int i = 0; i < 2; ++i)
    UploadTexture(TextureNames[i], images[i]);
  for (int i = 0; i < 2; ++i)
    ReleaseImage(images[i]);
  return true;
}

bool InitRenderState() {
  if (!LoadSpriteTextures())
    return false;
  BuildGlyphLists();
  SetFixedState();
  return true;
}
