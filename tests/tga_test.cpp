#include "allegro_fixture.h"
#include "pictures.h"

using bytes = std::vector<unsigned char>;
using tgaTest = allegroTest;

// A file with the accepted header for the size, depth and descriptor, then these pixel bytes.
static bytes tga(int w, int h, int depth, int descriptor, const bytes &pixels) {
  bytes file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int v : {w & 255, w >> 8, h & 255, h >> 8, depth, descriptor}) file.push_back(static_cast<unsigned char>(v));
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}
static ownedBitmap decode(const bytes &f, size_t n) { return ownedBitmap(HeaderTGA::tga_from_char(f.data(), n)); }
static ownedBitmap adapt(const unsigned char *d, size_t n) { return ownedBitmap(HeaderTGA::tga_from_char_ex(d, n)); }

TEST_F(tgaTest, pixelsLandBottomUpInTheScreensFormat) {
  // Stored first, so at the bottom: 0x7FFF, 0xFFFF (bit 15 ignored), 0x001F; then 0x7C00, 0x03E0, 0.
  const bytes file = tga(3, 2, 16, 1, {0xFF, 0x7F, 0xFF, 0xFF, 0x1F, 0x00, 0x00, 0x7C, 0xE0, 0x03, 0, 0});
  ownedBitmap bmp = decode(file, 30);
  const int want[6] = {0xF800, 0x07C0, 0, 0xFFDF, 0xFFDF, 0x001F};  // a green of 31 is 62 in the 6-bit field
  for (int i = 0; i < 6; ++i) EXPECT_EQ(getpixel(bmp.get(), i % 3, i / 3), want[i]) << i;
  // The second of two pixels: 24 bits are blue, green, red; 32 bits blue, green, red, alpha.
  bmp = decode(tga(2, 1, 24, 0, {0, 0, 0, 3, 2, 1}), 24);
  EXPECT_EQ(getpixel(bmp.get(), 1, 0), makecol24(1, 2, 3));
  bmp = decode(tga(2, 1, 32, 8, {0, 0, 0, 0, 3, 2, 1, 200}), 26);
  EXPECT_EQ(getpixel(bmp.get(), 1, 0), makeacol32(1, 2, 3, 200));
  // On a screen of another depth the picture is converted; where that fails there is none.
  set_color_depth(32);
  const int blue = getpixel(adapt(file.data(), 30).get(), 2, 1);
  EXPECT_TRUE(getr32(blue) == 0 && getg32(blue) == 0 && getb32(blue) >= 248) << blue;
  set_color_depth(17);
  EXPECT_FALSE(adapt(file.data(), 30));
  set_color_depth(16);
  for (const embeddedPicture &p : PICTURES) {  // each of the game's pictures, at its own size
    bmp = adapt(p.data, p.length);
    EXPECT_EQ(p.length, p.w == 640 ? 614444u : 5044u) << p.name;
    EXPECT_EQ(std::pair(bmp->w, bmp->h), std::pair(p.w, p.h)) << p.name;
  }
}

TEST_F(tgaTest, refusesHeadersOutsideTheSubsetAndDataShorterThanItsHeaderSays) {
  // An ID field, a colour map, run-length pixels (image type 10), an x or a y origin: the byte and its new value.
  const std::pair<int, int> byteAndValue[] = {{0, 1}, {1, 1}, {2, 10}, {8, 1}, {11, 1}};
  for (const auto &[at, value] : byteAndValue) {
    bytes file = tga(1, 1, 16, 1, bytes(2));
    file[at] = static_cast<unsigned char>(value);
    EXPECT_FALSE(decode(file, 20)) << "byte " << at;
  }
  // Depth 15, and descriptors other than 1 for 16 bits, 0 for 24 and 8 for 32.
  const std::pair<int, int> depthAndDescriptor[] = {{15, 1}, {16, 0}, {16, 0x21}, {24, 1}, {32, 0}};
  for (const auto &[depth, descriptor] : depthAndDescriptor)
    EXPECT_FALSE(decode(tga(1, 1, depth, descriptor, bytes(4)), 22)) << depth << '/' << descriptor;
  const bytes file = tga(1, 2, 16, 1, bytes(4));  // one column: its length is width times height, not a ratio
  EXPECT_TRUE(decode(file, 22));
  EXPECT_TRUE(decode(tga(0, 0, 16, 1, {}), 18));  // a header alone holds an empty picture
  for (std::size_t n : {21, 17, 0}) EXPECT_FALSE(decode(file, n)) << n;
  EXPECT_FALSE(adapt(nullptr, 100));
  EXPECT_FALSE(decode(tga(32768, 32768, 32, 8, {}), 18));  // 2^32 bytes, which 32 bits would wrap to 0
}

// The battle draws on fixed places of its background: a red trough behind each life bar and a black one behind
// the mana bar, ending where the bars end; the one-pixel rims of the four button squares; and a light panel for
// the log's twelve rows (y 262 to 379) and the spell's name and description (y 385 to 436), whose rim and middle
// rule stand two pixels clear of the text.
TEST_F(tgaTest, battlePictureKeepsThePlacesTheBattleDrawsOn) {
  blit(adapt(imgFight, sizeof imgFight).get(), global::dbuffer, 0, 0, 0, 0, 640, 480);
  const int red = 0xF800, black = 0, rim = makecol16(200, 176, 112), bar = 130 * 15;
  EXPECT_EQ(count(20, 155, 149, 169, red), bar);
  EXPECT_EQ(count(19, 154, 150, 170, red), bar);
  EXPECT_EQ(count(491, 155, 619, 169, red), bar - 15);
  EXPECT_EQ(count(490, 154, 620, 170, red), bar - 15);
  EXPECT_EQ(count(255, 155, 384, 169, black), bar);
  EXPECT_EQ(count(254, 154, 385, 170, black), bar);
  for (int top : {200, 260, 320, 380}) {
    EXPECT_EQ(count(570, top, 619, top + 49, rim), 4 * 49) << top;
    EXPECT_EQ(count(569, top - 1, 620, top + 50, rim), 4 * 49) << top;
  }
  const auto light = [](int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += getr16(pixel(x, y)) + getg16(pixel(x, y)) + getb16(pixel(x, y)) >= 600;
    return n;
  };
  const int left = 18, right = 560, width = right - left + 1;
  EXPECT_EQ(light(left, 260, right, 381), width * 122) << "the log's rows with two pixels above and below";
  EXPECT_EQ(light(left, 383, right, 438), width * 56) << "the description with two pixels above and below";
  for (int y : {259, 382}) EXPECT_EQ(light(left, y, right, y), 0) << "the rim or the rule at y = " << y;
}
