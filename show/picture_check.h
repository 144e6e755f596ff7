#pragma once

#include <irrlicht.h>

// Loads a picture as a texture only once it has been decoded whole: the
// engine's own JPEG reader runs past the end of a file that is cut short.
// A picture that is missing or damaged gives no texture.
irr::video::ITexture* loadCheckedPicture(const char* name);

// The largest side of a picture the show loads, in pixels, whatever larger
// textures the driver would take.
inline constexpr unsigned kMaxPictureSide = 8192;

// Whether the bytes hold one complete JPEG picture no wider and no higher
// than maxSide pixels.
bool isWholeJpeg(const unsigned char* bytes, unsigned long size, unsigned maxSide = kMaxPictureSide);

