#include "frame/tga.h"

#include <algorithm>
#include <random>
#include <vector>

#include "allegro_fixture.h"
#include "images.h"
#include "pictures.h"

namespace {

using bytes = std::vector<unsigned char>;

// A complete TGA file: the accepted header for the given size, depth and descriptor, the pixel
// bytes as given (stored rows, bottom row first), and the 2.0 footer.
bytes makeTga(int w, int h, int depth, int descriptor, const bytes &pixels) {
  bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int v : {w & 255, w >> 8, h & 255, h >> 8, depth & 255, descriptor})
    out.push_back(static_cast<unsigned char>(v));
  out.insert(out.end(), pixels.begin(), pixels.end());
  const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
  out.insert(out.end(), footer, footer + sizeof footer);
  return out;
}

bytes pixels16(std::initializer_list<int> values) {
  bytes out;
  for (int v : values) out.insert(out.end(), {static_cast<unsigned char>(v & 255), static_cast<unsigned char>(v >> 8)});
  return out;
}

// Deterministic noise, so every pixel value of every depth gets exercised.
bytes noise(std::size_t n, unsigned seed) {
  std::independent_bits_engine<std::minstd_rand, 8, unsigned> bits(seed);
  bytes out(n);
  std::generate(out.begin(), out.end(), bits);
  return out;
}

ownedBitmap decode(const bytes &file, std::size_t length) {
  return ownedBitmap(HeaderTGA::tga_from_char(file.data(), length));
}
ownedBitmap decode(const bytes &file) { return decode(file, file.size()); }
ownedBitmap decodeForScreen(const unsigned char *data, std::size_t length) {
  return ownedBitmap(HeaderTGA::tga_from_char_ex(data, length));
}

int colour16(int v) { return makecol16(((v >> 10) & 31) * 8, ((v >> 5) & 31) * 8, (v & 31) * 8); }

// The straightforward decoder the fast one must match: every pixel converted on its own with the
// library's colour makers and put one at a time.
ownedBitmap referenceDecode(int w, int h, int depth, const unsigned char *src) {
  ownedBitmap bmp(create_bitmap_ex(depth, w, h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x, src += depth / 8) {
      const int c = depth == 16   ? colour16(src[0] | src[1] << 8)
                    : depth == 24 ? makecol24(src[2], src[1], src[0])
                                  : makeacol32(src[2], src[1], src[0], src[3]);
      putpixel(bmp.get(), x, h - 1 - y, c);
    }
  }
  return bmp;
}

// How many pixels of the rectangle's one-pixel outline differ from its top-left corner.
int rimBreaks(BITMAP *bmp, int x1, int y1, int x2, int y2) {
  const int rim = getpixel(bmp, x1, y1);
  int off = 0;
  for (int x = x1; x <= x2; ++x) off += (getpixel(bmp, x, y1) != rim) + (getpixel(bmp, x, y2) != rim);
  for (int y = y1; y <= y2; ++y) off += (getpixel(bmp, x1, y) != rim) + (getpixel(bmp, x2, y) != rim);
  return off;
}

using tgaTest = allegroTest;

TEST_F(tgaTest, embeddedPicturesAreCompleteFilesThatDecodeBottomUp) {
  for (const embeddedPicture &p : PICTURES) {
    SCOPED_TRACE(p.name);
    ASSERT_EQ(p.length, 18u + std::size_t(p.w) * p.h * 2 + 26);
    // The accepted header with the picture's size, 16 bits and one attribute bit; the footer.
    const bytes frame = makeTga(p.w, p.h, 16, 1, {});
    EXPECT_TRUE(std::equal(frame.begin(), frame.begin() + 18, p.data));
    EXPECT_TRUE(std::equal(frame.begin() + 18, frame.end(), p.data + p.length - 26));
    const ownedBitmap bmp = decodeForScreen(p.data, p.length);
    ASSERT_TRUE(bmp);
    EXPECT_TRUE(samePixels(bmp.get(), referenceDecode(p.w, p.h, 16, p.data + 18).get()));
    EXPECT_EQ(getpixel(bmp.get(), 0, p.h - 1),
              colour16(p.data[18] | p.data[19] << 8));  // first stored row at the bottom
  }
}

TEST_F(tgaTest, pixelsOfEachDepthConvertThroughTheColourShifts) {
  // Stored bottom row first. Top line: 0x7C00 pure red, 0x03E0 green 62 of 63 (the 5-bit value
  // doubled), 0. Bottom line: 0x7FFF, 0xFFFF the same (bit 15 is an attribute), 0x001F pure blue.
  const bytes file = makeTga(3, 2, 16, 1, pixels16({0x7FFF, 0xFFFF, 0x001F, 0x7C00, 0x03E0, 0x0000}));
  const int want[2][3] = {{0xF800, 0x07C0, 0}, {makecol16(248, 248, 248), makecol16(248, 248, 248), 0x001F}};
  ownedBitmap bmp = decode(file);
  ASSERT_TRUE(bmp);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(getpixel(bmp.get(), x, y), want[y][x]) << x << ',' << y;
  // Another pixel layout of the library puts red where blue was.
  _rgb_r_shift_16 = 0;
  _rgb_b_shift_16 = 11;
  bmp = decode(file);
  EXPECT_EQ(std::pair(getpixel(bmp.get(), 0, 0), getpixel(bmp.get(), 2, 1)), std::pair(0x001F, 0xF800));

  // 24 bits: blue, green, red; 32 bits: blue, green, red, alpha.
  const ownedBitmap deep = decode(makeTga(2, 1, 24, 0, {30, 20, 10, 3, 2, 1}));
  const ownedBitmap alpha = decode(makeTga(2, 1, 32, 8, {30, 20, 10, 200, 0, 255, 7, 0}));
  ASSERT_TRUE(deep && alpha);
  EXPECT_EQ(std::pair(getpixel(deep.get(), 0, 0), getpixel(deep.get(), 1, 0)),
            std::pair(makecol24(10, 20, 30), makecol24(1, 2, 3)));
  EXPECT_EQ(std::pair(getpixel(alpha.get(), 0, 0), getpixel(alpha.get(), 1, 0)),
            std::pair(makeacol32(10, 20, 30, 200), makeacol32(7, 255, 0, 0)));
}

TEST_F(tgaTest, rowAtATimeDecodeMatchesPixelAtATimeOnEveryDepth) {
  const int formats[][2] = {{16, 1}, {24, 0}, {32, 8}};
  for (const auto &[depth, descriptor] : formats) {
    const int w = 37, h = 23;  // odd sizes: no row lines up with a word boundary by luck
    const bytes pixels = noise(std::size_t(w) * h * depth / 8, depth);
    const ownedBitmap fast = decode(makeTga(w, h, depth, descriptor, pixels));
    ASSERT_TRUE(fast) << depth;
    EXPECT_TRUE(samePixels(fast.get(), referenceDecode(w, h, depth, pixels.data()).get())) << depth;
  }
}

TEST_F(tgaTest, headersOutsideTheSubsetAreRefused) {
  // Any of the first twelve bytes changed: an ID field, a colour map, another image type
  // (1 colour-mapped, 10 run-length encoded) or an origin other than 0,0.
  const bytes valid = makeTga(2, 2, 16, 1, pixels16({1, 2, 3, 4}));
  const int changes[][2] = {{0, 1}, {1, 1}, {2, 1}, {2, 10}, {3, 1}, {5, 4}, {7, 24}, {8, 1}, {9, 1}, {10, 1}, {11, 1}};
  for (const auto &[offset, value] : changes) {
    bytes file = valid;
    file[offset] = static_cast<unsigned char>(value);
    EXPECT_FALSE(decode(file)) << "byte " << offset << " = " << value;
  }
  // Each accepted depth has its own descriptor; 144 is negative as a signed byte.
  const int formats[][3] = {{16, 1, true},  {24, 0, true},    {32, 8, true},   {15, 1, false},    {8, 1, false},
                            {17, 1, false}, {64, 1, false},   {144, 1, false}, {16, 0, false},    {16, 0x21, false},
                            {16, 8, false}, {24, 1, false},   {24, 8, false},  {24, 0x20, false}, {32, 0, false},
                            {32, 1, false}, {32, 0x28, false}};
  for (const auto &[depth, descriptor, accepted] : formats) {
    EXPECT_EQ(bool(decode(makeTga(1, 1, depth, descriptor, bytes(8, 0)))), accepted)
        << "depth " << depth << " descriptor " << descriptor;
  }
}

TEST_F(tgaTest, dataShorterThanItsHeaderPromisesIsRefused) {
  EXPECT_FALSE(HeaderTGA::tga_from_char(nullptr, 100));
  EXPECT_FALSE(decodeForScreen(nullptr, 100));
  const bytes file = makeTga(3, 2, 16, 1, pixels16({1, 2, 3, 4, 5, 6}));
  const std::size_t needed = 18 + 3 * 2 * 2;
  const ownedBitmap complete = decode(file, needed);  // no footer: still complete
  ASSERT_TRUE(complete);
  EXPECT_EQ(getpixel(complete.get(), 2, 0), 6);
  for (std::size_t length : {needed - 1, std::size_t(17), std::size_t(0)}) EXPECT_FALSE(decode(file, length)) << length;
  EXPECT_FALSE(decode(makeTga(2, 1, 32, 8, bytes(8, 9)), 18 + 7));
  EXPECT_FALSE(decodeForScreen(imgFight, sizeof imgFight - 27));
  // 32768 x 32768 x 4 bytes is exactly 2^32: a 32-bit size would wrap to 0 and accept 18 bytes.
  EXPECT_FALSE(decode(makeTga(32768, 32768, 32, 8, {}), 18));
  EXPECT_FALSE(decode(makeTga(65535, 65535, 32, 8, {})));
}

TEST_F(tgaTest, zeroWidthOrHeightPassesAndReadsNoPixel) {
  for (auto [w, h] : {std::pair{0, 3}, std::pair{4, 0}}) {
    const ownedBitmap bmp = decode(makeTga(w, h, 16, 1, {}), 18);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(std::pair(bmp->w, bmp->h), std::pair(w, h));
  }
}

TEST_F(tgaTest, adaptsToAnotherColourDepth) {
  const bytes file = makeTga(2, 1, 16, 1, pixels16({0x7C00, 0x03FF}));
  set_color_depth(32);
  ownedBitmap bmp = decodeForScreen(file.data(), file.size());
  ASSERT_TRUE(bmp);
  EXPECT_EQ(std::pair(bitmap_color_depth(bmp.get()), bmp->w), std::pair(32, 2));
  // The library's blit stretches 5 bits to 8 its own way: full red comes out at 248 or more.
  const int red = getpixel(bmp.get(), 0, 0), cyan = getpixel(bmp.get(), 1, 0);
  EXPECT_TRUE(getr32(red) >= 248 && getg32(red) == 0 && getb32(red) == 0) << std::hex << red;
  EXPECT_TRUE(getr32(cyan) == 0 && getg32(cyan) >= 248 && getb32(cyan) >= 248) << std::hex << cyan;
  // The 24-bit source meets a 16-bit target the other way round.
  set_color_depth(16);
  const bytes deep = makeTga(1, 1, 24, 0, {0, 0, 255});
  bmp = decodeForScreen(deep.data(), deep.size());
  ASSERT_TRUE(bmp);
  EXPECT_EQ(std::pair(bitmap_color_depth(bmp.get()), getpixel(bmp.get(), 0, 0)), std::pair(16, 0xF800));
  // No bitmap can be made in a depth the library lacks: the decoded one is released, null returned.
  set_color_depth(17);
  EXPECT_FALSE(decodeForScreen(file.data(), file.size()));
}

TEST_F(tgaTest, battlePictureKeepsTheZonesTheBattleDrawsOn) {
  const ownedBitmap picture = decodeForScreen(imgFight, sizeof imgFight);
  ASSERT_TRUE(picture);
  BITMAP *bmp = picture.get();
  // The bar troughs: red behind both life bars, black behind the mana bar, each ending at its edge.
  const int red = makecol16(248, 0, 0);
  int wrong = 0;
  for (int y = 155; y <= 169; ++y) {
    for (int x = 20; x <= 149; ++x) wrong += getpixel(bmp, x, y) != red;
    for (int x = 491; x <= 619; ++x) wrong += getpixel(bmp, x, y) != red;
    for (int x = 255; x <= 384; ++x) wrong += getpixel(bmp, x, y) != 0;
  }
  EXPECT_EQ(wrong, 0) << "pixels of the bar troughs off their colour";
  for (int x : {19, 150, 490, 620}) EXPECT_NE(getpixel(bmp, x, 160), red) << x;
  EXPECT_NE(getpixel(bmp, 320, 154), 0);
  EXPECT_NE(getpixel(bmp, 320, 170), 0);
  // The four button placeholders: a square whose one-pixel rim is exactly the button's 50x50.
  for (int y0 : {200, 260, 320, 380}) {
    EXPECT_EQ(rimBreaks(bmp, 570, y0, 619, y0 + 49), 0) << y0;
    EXPECT_NE(getpixel(bmp, 595, y0 + 25), getpixel(bmp, 570, y0)) << y0;
    EXPECT_NE(getpixel(bmp, 569, y0 + 25), getpixel(bmp, 570, y0)) << y0;
  }
}

}  // namespace
