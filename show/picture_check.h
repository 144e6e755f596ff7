#pragma once

#include <irrlicht.h>

// Loads a picture as a texture only once it has been decoded whole: the
// engine's own JPEG reader runs past the end of a file that is cut short.
// A picture that is missing or damaged gives no texture.
irr::video::ITexture* loadCheckedPicture(const char* name);

// Whether the bytes hold one complete JPEG picture.
bool isWholeJpeg(const unsigned char* bytes, unsigned long size);
