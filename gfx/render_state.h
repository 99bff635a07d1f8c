// The two textures of the game and the fixed OpenGL state that every frame relies on, set up
// anew for every rendering context.
#pragma once

#include "platform/win32.h"

// Indexes into TextureNames.
enum TextureIndex { FontTexture = 0, SpriteTexture = 1 };

// The two texture names, made by one glGenTextures(2, ...) call: the font ("Data/Font.bmp") and
// the sprite atlas ("Data/Image.bmp"). Valid only in the context that made them; never deleted,
// they go with their context. Overwritten by the next successful LoadSpriteTextures.
extern GLuint TextureNames[2];

// Loads both images and uploads them into two new textures (one level, RGB, linear filtering).
// False when an image does not load; no texture name is made then, and with the font missing
// the sprite image is not even opened. Leaves the sprite texture bound.
bool LoadSpriteTextures();

// Prepares the current rendering context: the textures, the glyph lists, shading, clear values,
// the line hint and blending; the game is not touched. False, with nothing else done, when the
// textures could not be made.
bool InitRenderState();
