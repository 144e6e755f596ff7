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

// Whether the file ends the way a zip archive does: with an end-of-central-
// directory record, followed by nothing but its comment. The engine's zip
// reader never returns from a file without one whose first entry asks for
// a data descriptor, so only such a file is mounted.
bool endsLikeZipArchive(const char* path);
