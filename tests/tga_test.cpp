#include "frame/tga.h"

#include <cstdint>
#include <cstring>
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
  out.push_back(w & 255);
  out.push_back(w >> 8);
  out.push_back(h & 255);
  out.push_back(h >> 8);
  out.push_back(depth & 255);
  out.push_back(descriptor);
  out.insert(out.end(), pixels.begin(), pixels.end());
  const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
  out.insert(out.end(), footer, footer + sizeof footer);
  return out;
}

bytes pixels16(std::initializer_list<int> values) {
  bytes out;
  for (int v : values) {
    out.push_back(v & 255);
    out.push_back(v >> 8);
  }
  return out;
}

// Deterministic noise, so every pixel value of every depth gets exercised.
bytes noise(std::size_t n, unsigned seed) {
  bytes out(n);
  for (auto &b : out) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<unsigned char>(seed >> 16);
  }
  return out;
}

BITMAP *decode(const bytes &file) { return HeaderTGA::tga_from_char(file.data(), file.size()); }

// The straightforward decoder the fast one must match: every pixel converted on its own with the
// library's colour makers and put one at a time.
BITMAP *referenceDecode(int w, int h, int depth, const unsigned char *src) {
  BITMAP *bmp = create_bitmap_ex(depth, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x, src += depth / 8) {
      int c;
      if (depth == 16) {
        const int v = src[0] | src[1] << 8;
        c = makecol16(((v >> 10) & 31) * 8, ((v >> 5) & 31) * 8, (v & 31) * 8);
      } else if (depth == 24) {
        c = makecol24(src[2], src[1], src[0]);
      } else {
        c = makeacol32(src[2], src[1], src[0], src[3]);
      }
      putpixel(bmp, x, h - 1 - y, c);
    }
  }
  return bmp;
}

bool sameBitmaps(BITMAP *a, BITMAP *b) {
  if (a->w != b->w || a->h != b->h || bitmap_color_depth(a) != bitmap_color_depth(b)) return false;
  const std::size_t rowBytes = std::size_t(a->w) * ((bitmap_color_depth(a) + 7) / 8);
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(a->line[y], b->line[y], rowBytes) != 0) return false;
  }
  return true;
}

int luminance16(int c) { return (299 * getr16(c) + 587 * getg16(c) + 114 * getb16(c)) / 1000; }

class tgaTest : public allegroTest {
 protected:
  void TearDown() override {
    set_color_depth(16);
    allegroTest::TearDown();
  }
};

TEST_F(tgaTest, embeddedPicturesAreCompleteFilesThatDecodeBottomUp) {
  const unsigned char header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
  for (const embeddedPicture &p : PICTURES) {
    SCOPED_TRACE(p.name);
    ASSERT_EQ(p.length, 18u + std::size_t(p.w) * p.h * 2 + 26);
    EXPECT_EQ(std::memcmp(p.data, header, 12), 0);
    EXPECT_EQ(p.data[12] | p.data[13] << 8, p.w);
    EXPECT_EQ(p.data[14] | p.data[15] << 8, p.h);
    EXPECT_EQ(p.data[16], 16);
    EXPECT_EQ(p.data[17], 1);
    EXPECT_EQ(std::memcmp(p.data + p.length - 26, footer, 26), 0);

    BITMAP *bmp = HeaderTGA::tga_from_char_ex(p.data, p.length);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->w, p.w);
    EXPECT_EQ(bmp->h, p.h);
    EXPECT_EQ(bitmap_color_depth(bmp), 16);
    BITMAP *ref = referenceDecode(p.w, p.h, 16, p.data + 18);
    EXPECT_TRUE(sameBitmaps(bmp, ref));
    // The first stored row is the picture's bottom line.
    const int first = p.data[18] | p.data[19] << 8;
    EXPECT_EQ(getpixel(bmp, 0, p.h - 1),
              makecol16(((first >> 10) & 31) * 8, ((first >> 5) & 31) * 8, (first & 31) * 8));
    destroy_bitmap(ref);
    destroy_bitmap(bmp);
  }
}

TEST_F(tgaTest, sixteenBitPixelsConvertThroughTheColourShifts) {
  // Stored bottom row first: the bottom line holds 0x7FFF 0xFFFF 0x001F, the top 0x7C00 0x03E0 0.
  const bytes file = makeTga(3, 2, 16, 1, pixels16({0x7FFF, 0xFFFF, 0x001F, 0x7C00, 0x03E0, 0x0000}));
  BITMAP *bmp = decode(file);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bitmap_color_depth(bmp), 16);
  EXPECT_EQ(getpixel(bmp, 0, 1), makecol16(248, 248, 248));
  EXPECT_EQ(getpixel(bmp, 0, 1), 0xFFDF);  // green 62 of 63: the 5-bit value doubled
  EXPECT_EQ(getpixel(bmp, 1, 1), 0xFFDF);  // bit 15 is an attribute, not colour
  EXPECT_EQ(getpixel(bmp, 2, 1), 0x001F);  // pure blue
  EXPECT_EQ(getpixel(bmp, 0, 0), 0xF800);  // pure red
  EXPECT_EQ(getpixel(bmp, 1, 0), 0x07C0);  // pure green, 62 in the 6-bit field
  EXPECT_EQ(getpixel(bmp, 2, 0), 0);
  destroy_bitmap(bmp);

  // Another pixel layout of the library puts red where blue was.
  _rgb_r_shift_16 = 0;
  _rgb_b_shift_16 = 11;
  bmp = decode(file);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(getpixel(bmp, 0, 0), 0x001F);
  EXPECT_EQ(getpixel(bmp, 2, 1), 0xF800);
  destroy_bitmap(bmp);
}

TEST_F(tgaTest, twentyFourAndThirtyTwoBitPixels) {
  // 24 bits: blue, green, red. Bottom line (10,20,30) (40,50,60), top line (255,0,128) (1,2,3).
  BITMAP *bmp = decode(makeTga(2, 2, 24, 0, {30, 20, 10, 60, 50, 40, 128, 0, 255, 3, 2, 1}));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bitmap_color_depth(bmp), 24);
  EXPECT_EQ(getpixel(bmp, 0, 1), makecol24(10, 20, 30));
  EXPECT_EQ(getpixel(bmp, 1, 1), makecol24(40, 50, 60));
  EXPECT_EQ(getpixel(bmp, 0, 0), makecol24(255, 0, 128));
  EXPECT_EQ(getr24(getpixel(bmp, 1, 0)), 1);
  EXPECT_EQ(getb24(getpixel(bmp, 1, 0)), 3);
  destroy_bitmap(bmp);

  // 32 bits: blue, green, red, alpha.
  bmp = decode(makeTga(2, 1, 32, 8, {30, 20, 10, 200, 0, 255, 7, 0}));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bitmap_color_depth(bmp), 32);
  EXPECT_EQ(getpixel(bmp, 0, 0), makeacol32(10, 20, 30, 200));
  EXPECT_EQ(geta32(getpixel(bmp, 0, 0)), 200);
  EXPECT_EQ(getr32(getpixel(bmp, 1, 0)), 7);
  EXPECT_EQ(getg32(getpixel(bmp, 1, 0)), 255);
  EXPECT_EQ(geta32(getpixel(bmp, 1, 0)), 0);
  destroy_bitmap(bmp);
}

TEST_F(tgaTest, rowAtATimeDecodeMatchesPixelAtATimeOnEveryDepth) {
  const struct { int depth, descriptor; } kinds[] = {{16, 1}, {24, 0}, {32, 8}};
  for (auto kind : kinds) {
    SCOPED_TRACE(kind.depth);
    const int w = 37, h = 23;  // odd sizes: no row lines up with a word boundary by luck
    const bytes pixels = noise(std::size_t(w) * h * kind.depth / 8, kind.depth);
    BITMAP *fast = decode(makeTga(w, h, kind.depth, kind.descriptor, pixels));
    BITMAP *ref = referenceDecode(w, h, kind.depth, pixels.data());
    ASSERT_NE(fast, nullptr);
    EXPECT_TRUE(sameBitmaps(fast, ref));
    destroy_bitmap(fast);
    destroy_bitmap(ref);
  }
}

TEST_F(tgaTest, headersOutsideTheSubsetAreRefused) {
  const bytes valid = makeTga(2, 2, 16, 1, pixels16({1, 2, 3, 4}));
  BITMAP *control = decode(valid);
  ASSERT_NE(control, nullptr);  // the mutations below are what makes each one fail
  destroy_bitmap(control);

  const struct { const char *what; int offset, value; } changes[] = {
      {"ID length 1", 0, 1},
      {"colour map present", 1, 1},
      {"run-length encoded", 2, 10},
      {"colour-mapped", 2, 1},
      {"colour map first entry", 3, 1},
      {"colour map length", 5, 4},
      {"colour map entry size", 7, 24},
      {"x origin", 8, 1},
      {"x origin high byte", 9, 1},
      {"y origin", 10, 1},
      {"y origin high byte", 11, 1},
      {"depth 15", 16, 15},
      {"depth 8", 16, 8},
      {"depth 17", 16, 17},
      {"depth 64", 16, 64},
      {"depth 144, negative as a signed byte", 16, 144},
      {"16 bits, descriptor 0", 17, 0},
      {"16 bits, top-left origin", 17, 0x21},
      {"16 bits, descriptor 8", 17, 8},
  };
  for (auto c : changes) {
    bytes file = valid;
    file[c.offset] = static_cast<unsigned char>(c.value);
    EXPECT_EQ(decode(file), nullptr) << c.what;
  }

  const struct { int depth, descriptor; } wrong[] = {{24, 1}, {24, 8}, {24, 0x20}, {32, 0}, {32, 1}, {32, 0x28}};
  for (auto c : wrong) {
    const bytes file = makeTga(1, 1, c.depth, c.descriptor, bytes(c.depth / 8, 0));
    EXPECT_EQ(decode(file), nullptr) << "depth " << c.depth << " descriptor " << c.descriptor;
  }
}

TEST_F(tgaTest, dataShorterThanItsHeaderPromisesIsRefused) {
  EXPECT_EQ(HeaderTGA::tga_from_char(nullptr, 100), nullptr);
  EXPECT_EQ(HeaderTGA::tga_from_char_ex(nullptr, 100), nullptr);

  const bytes file = makeTga(3, 2, 16, 1, pixels16({1, 2, 3, 4, 5, 6}));
  const std::size_t needed = 18 + 3 * 2 * 2;
  BITMAP *bmp = HeaderTGA::tga_from_char(file.data(), needed);  // no footer: still complete
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(getpixel(bmp, 2, 0), 6);
  destroy_bitmap(bmp);
  EXPECT_EQ(HeaderTGA::tga_from_char(file.data(), needed - 1), nullptr);
  EXPECT_EQ(HeaderTGA::tga_from_char(file.data(), 17), nullptr);
  EXPECT_EQ(HeaderTGA::tga_from_char(file.data(), 0), nullptr);

  const bytes wide = makeTga(2, 1, 32, 8, bytes(8, 9));
  EXPECT_EQ(HeaderTGA::tga_from_char(wide.data(), 18 + 7), nullptr);
  EXPECT_EQ(HeaderTGA::tga_from_char(imgFight, sizeof imgFight - 27), nullptr);

  // 32768 x 32768 x 4 bytes is exactly 2^32: a 32-bit size would wrap to 0 and accept 18 bytes.
  const bytes huge = makeTga(32768, 32768, 32, 8, {});
  EXPECT_EQ(HeaderTGA::tga_from_char(huge.data(), 18), nullptr);
  const bytes largest = makeTga(65535, 65535, 32, 8, {});
  EXPECT_EQ(HeaderTGA::tga_from_char(largest.data(), largest.size()), nullptr);
}

TEST_F(tgaTest, zeroWidthOrHeightPassesAndReadsNoPixel) {
  for (auto [w, h] : {std::pair{0, 3}, std::pair{4, 0}}) {
    const bytes file = makeTga(w, h, 16, 1, {});
    BITMAP *bmp = HeaderTGA::tga_from_char(file.data(), 18);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->w, w);
    EXPECT_EQ(bmp->h, h);
    destroy_bitmap(bmp);
  }
}

TEST_F(tgaTest, adaptsToAnotherColourDepth) {
  const bytes file = makeTga(2, 1, 16, 1, pixels16({0x7C00, 0x03FF}));
  set_color_depth(32);
  BITMAP *bmp = HeaderTGA::tga_from_char_ex(file.data(), file.size());
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bitmap_color_depth(bmp), 32);
  EXPECT_EQ(bmp->w, 2);
  // The library's blit stretches 5 bits to 8 its own way: full red comes out at 248 or more.
  EXPECT_GE(getr32(getpixel(bmp, 0, 0)), 248);
  EXPECT_EQ(getg32(getpixel(bmp, 0, 0)), 0);
  EXPECT_EQ(getb32(getpixel(bmp, 0, 0)), 0);
  EXPECT_EQ(getr32(getpixel(bmp, 1, 0)), 0);
  EXPECT_GE(getg32(getpixel(bmp, 1, 0)), 248);
  EXPECT_GE(getb32(getpixel(bmp, 1, 0)), 248);
  destroy_bitmap(bmp);

  // The 24-bit source meets a 16-bit target the other way round.
  set_color_depth(16);
  const bytes deep = makeTga(1, 1, 24, 0, {0, 0, 255});
  bmp = HeaderTGA::tga_from_char_ex(deep.data(), deep.size());
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bitmap_color_depth(bmp), 16);
  EXPECT_EQ(getpixel(bmp, 0, 0), 0xF800);
  destroy_bitmap(bmp);

  // No bitmap can be made in a depth the library lacks: the decoded one is released, null returned.
  set_color_depth(17);
  EXPECT_EQ(HeaderTGA::tga_from_char_ex(file.data(), file.size()), nullptr);
}

TEST_F(tgaTest, readCopiesExactlyNBytes) {
  const unsigned char src[4] = {1, 200, 0, 255};
  char dst[5] = {9, 9, 9, 9, 9};
  HeaderTGA::read(src, dst, 0);
  HeaderTGA::read(src, dst, -3);
  EXPECT_EQ(dst[0], 9);
  HeaderTGA::read(src, dst, 4);
  EXPECT_EQ(static_cast<unsigned char>(dst[1]), 200);
  EXPECT_EQ(static_cast<unsigned char>(dst[3]), 255);
  EXPECT_EQ(dst[4], 9);
}

TEST_F(tgaTest, battlePictureKeepsTheZonesTheBattleDrawsOn) {
  BITMAP *bmp = HeaderTGA::tga_from_char_ex(imgFight, sizeof imgFight);
  ASSERT_NE(bmp, nullptr);
  const int red = makecol16(248, 0, 0);
  int wrong = 0;
  for (int y = 155; y <= 169; ++y) {
    for (int x = 20; x <= 149; ++x) wrong += getpixel(bmp, x, y) != red;
    for (int x = 491; x <= 619; ++x) wrong += getpixel(bmp, x, y) != red;
    for (int x = 255; x <= 384; ++x) wrong += getpixel(bmp, x, y) != 0;
  }
  EXPECT_EQ(wrong, 0) << "pixels of the bar troughs off their colour";
  // Each trough is a distinct shape: its colour stops at its edge.
  EXPECT_NE(getpixel(bmp, 19, 160), red);
  EXPECT_NE(getpixel(bmp, 150, 160), red);
  EXPECT_NE(getpixel(bmp, 490, 160), red);
  EXPECT_NE(getpixel(bmp, 620, 160), red);
  EXPECT_NE(getpixel(bmp, 320, 154), 0);
  EXPECT_NE(getpixel(bmp, 320, 170), 0);

  // The four button placeholders: a square whose one-pixel rim is exactly the button's 50x50.
  for (int y0 : {200, 260, 320, 380}) {
    const int rim = getpixel(bmp, 570, y0);
    int off = 0;
    for (int i = 0; i < 50; ++i) {
      off += getpixel(bmp, 570 + i, y0) != rim;
      off += getpixel(bmp, 570 + i, y0 + 49) != rim;
      off += getpixel(bmp, 570, y0 + i) != rim;
      off += getpixel(bmp, 619, y0 + i) != rim;
    }
    EXPECT_EQ(off, 0) << "rim of the placeholder at y = " << y0;
    EXPECT_NE(getpixel(bmp, 595, y0 + 25), rim);
    EXPECT_NE(getpixel(bmp, 569, y0 + 25), rim);
    EXPECT_NE(getpixel(bmp, 595, y0 - 1), rim);
  }

  // Black text must read on the title ribbon and on both panels; white on the mana amount's spot.
  const struct { int x1, y1, x2, y2; bool light; const char *what; } areas[] = {
      {224, 25, 416, 32, true, "title"},
      {20, 262, 560, 379, true, "message log"},
      {25, 385, 560, 436, true, "spell description"},
      {338, 228, 362, 239, false, "mana amount"},
  };
  for (auto a : areas) {
    int bad = 0;
    for (int y = a.y1; y <= a.y2; ++y) {
      for (int x = a.x1; x <= a.x2; ++x) {
        const int l = luminance16(getpixel(bmp, x, y));
        bad += a.light ? l < 180 : l > 60;
      }
    }
    EXPECT_EQ(bad, 0) << a.what;
  }
  destroy_bitmap(bmp);
}

TEST_F(tgaTest, menuPicturesOutlineTheEntriesTheMenuFrames) {
  // The menu draws a red frame on these rectangles; the art gives each one a uniform outline
  // exactly there, so the frame sits on the button's own edge.
  const struct { const unsigned char *data; std::size_t length; int x1, y1, x2, y2; } boxes[] = {
      {imgMenuMainPic, sizeof imgMenuMainPic, 100, 370, 300, 430},
      {imgMenuMainPic, sizeof imgMenuMainPic, 340, 370, 540, 430},
      {imgMenuCCPic, sizeof imgMenuCCPic, 20, 190, 155, 220},
      {imgMenuCCPic, sizeof imgMenuCCPic, 165, 190, 310, 220},
      {imgMenuCCPic, sizeof imgMenuCCPic, 330, 190, 465, 220},
      {imgMenuCCPic, sizeof imgMenuCCPic, 475, 190, 620, 220},
  };
  for (auto b : boxes) {
    SCOPED_TRACE(b.x1);
    BITMAP *bmp = HeaderTGA::tga_from_char_ex(b.data, b.length);
    ASSERT_NE(bmp, nullptr);
    const int edge = getpixel(bmp, b.x1, b.y1);
    int off = 0;
    for (int x = b.x1; x <= b.x2; ++x) off += (getpixel(bmp, x, b.y1) != edge) + (getpixel(bmp, x, b.y2) != edge);
    for (int y = b.y1; y <= b.y2; ++y) off += (getpixel(bmp, b.x1, y) != edge) + (getpixel(bmp, b.x2, y) != edge);
    EXPECT_EQ(off, 0);
    EXPECT_NE(edge, makecol16(255, 0, 0));  // the red frame must show on it
    destroy_bitmap(bmp);
  }
}

}  // namespace
