#include "frame/tga.h"

#include <cstdint>

namespace {

constexpr std::size_t headerSize = 18;

// Image type 2 with every field before the size zero: no ID, no colour map, origin 0,0.
constexpr unsigned char acceptedStart[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

int descriptorFor(int depth) {
  switch (depth) {
    case 16:
      return 1;
    case 24:
      return 0;
    case 32:
      return 8;
    default:
      return -1;
  }
}

// Each row looks its line up once; the pixels of the row are then written straight into it.
void decode16(BITMAP *bmp, const unsigned char *src) {
  for (int y = 0; y < bmp->h; ++y) {
    uintptr_t line = bmp_write_line(bmp, bmp->h - 1 - y);
    for (int x = 0; x < bmp->w; ++x, src += 2) {
      const int v = src[0] | src[1] << 8;
      const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      // The 5-bit green fills the 6-bit field with a low bit of 0; bit 15 is an attribute, ignored.
      bmp_write16(line + x * 2, r << _rgb_r_shift_16 | (g * 2) << _rgb_g_shift_16 | b << _rgb_b_shift_16);
    }
  }
  bmp_unwrite_line(bmp);
}

void decode24(BITMAP *bmp, const unsigned char *src) {
  for (int y = 0; y < bmp->h; ++y) {
    uintptr_t line = bmp_write_line(bmp, bmp->h - 1 - y);
    for (int x = 0; x < bmp->w; ++x, src += 3) bmp_write24(line + x * 3, makecol24(src[2], src[1], src[0]));
  }
  bmp_unwrite_line(bmp);
}

void decode32(BITMAP *bmp, const unsigned char *src) {
  for (int y = 0; y < bmp->h; ++y) {
    uintptr_t line = bmp_write_line(bmp, bmp->h - 1 - y);
    for (int x = 0; x < bmp->w; ++x, src += 4) {
      bmp_write32(line + x * 4, makeacol32(src[2], src[1], src[0], src[3]));
    }
  }
  bmp_unwrite_line(bmp);
}

}  // namespace

namespace HeaderTGA {

void read(const unsigned char *src, char *dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = static_cast<char>(src[i]);
}

BITMAP *tga_from_char(const unsigned char *data, std::size_t length) {
  if (data == nullptr || length < headerSize) return nullptr;
  char header[headerSize];
  read(data, header, headerSize);
  for (int i = 0; i < 12; ++i) {
    if (static_cast<unsigned char>(header[i]) != acceptedStart[i]) return nullptr;
  }
  const int width = static_cast<unsigned char>(header[12]) | static_cast<unsigned char>(header[13]) << 8;
  const int height = static_cast<unsigned char>(header[14]) | static_cast<unsigned char>(header[15]) << 8;
  const int depth = static_cast<signed char>(header[16]);
  const int descriptor = static_cast<unsigned char>(header[17]);
  // Only 16, 24 and 32 bits have a pixel layout here. The library has no other depth of 16 or
  // more either, so refusing the rest gives the same null it would.
  if (depth < 16 || descriptorFor(depth) != descriptor) return nullptr;

  // Up to 65535 x 65535 x 4 bytes: 64 bits hold the product where 32 would wrap round.
  const std::uint64_t pixelBytes = std::uint64_t(width) * std::uint64_t(height) * std::uint64_t(depth / 8);
  if (std::uint64_t(length) - headerSize < pixelBytes) return nullptr;

  BITMAP *bmp = create_bitmap_ex(depth, width, height);
  if (bmp == nullptr) return nullptr;
  const unsigned char *pixels = data + headerSize;
  if (depth == 16)
    decode16(bmp, pixels);
  else if (depth == 24)
    decode24(bmp, pixels);
  else
    decode32(bmp, pixels);
  return bmp;
}

BITMAP *tga_from_char_ex(const unsigned char *data, std::size_t length) {
  BITMAP *decoded = tga_from_char(data, length);
  if (decoded == nullptr) return nullptr;
  // Without a graphics mode (the headless system driver) there is no screen; the depth new
  // bitmaps get is then the one the pictures must match.
  const int target = screen != nullptr ? bitmap_color_depth(screen) : get_color_depth();
  if (bitmap_color_depth(decoded) == target) return decoded;

  BITMAP *converted = create_bitmap(decoded->w, decoded->h);
  if (converted != nullptr) blit(decoded, converted, 0, 0, 0, 0, decoded->w, decoded->h);
  destroy_bitmap(decoded);
  return converted;
}

}  // namespace HeaderTGA
