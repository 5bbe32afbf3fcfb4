#pragma once

#include <allegro.h>

#include <cstddef>

// Decoder for the pictures the game carries as complete TGA files in byte arrays. It accepts only
// uncompressed true-colour images with no ID field, no colour map and origin 0,0, stored bottom-up:
// 16 bits with one attribute bit, 24 bits, or 32 bits with eight attribute bits.
namespace HeaderTGA {

// Decodes `length` bytes at `data` into a new memory bitmap of the file's own depth. Null for null
// data, a header outside the accepted subset, data shorter than the header promises, or when the
// bitmap cannot be created. The caller owns the result.
BITMAP *tga_from_char(const unsigned char *data, std::size_t length);

// The same, then converted to the screen's depth where that differs. Every screen decodes through
// this one; the caller releases the result with destroy_bitmap.
BITMAP *tga_from_char_ex(const unsigned char *data, std::size_t length);

// Copies src[0..n-1] to dst[0..n-1]; nothing for n of 0 or less.
void read(const unsigned char *src, char *dst, int n);

}  // namespace HeaderTGA
