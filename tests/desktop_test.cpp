#include "allegro_fixture.h"
#include "frame/enlarge.h"
#include "frame/options.h"

std::string parsed(std::vector<const char *> args) {  // the mode's letter and the scale (A: auto), help, version, or
  args.insert(args.begin(), "mirvanes");                 // the error
  const options o = parseOptions(static_cast<int>(args.size()), args.data());
  if (o.help) return "help";
  if (o.version) return "version";
  if (!o.error.empty()) return o.error;
  return "awf"[o.mode] + (o.scale == autoScale ? "A" : std::to_string(o.scale));
}

TEST(desktopOptions, commandLines) {
  const std::pair<std::vector<const char *>, std::string> table[] = {
      {{}, "a1"},
      {{"-s2", "-w"}, "w2"},
      {{"-w", "--scale=auto"}, "wA"},
      {{"-f", "--help", "-x"}, "help"},  // help ends the reading
      {{"-x", "-h"}, "unknown option '-x'"},
      {{"-V"}, "version"},
      {{"score"}, "unexpected argument 'score'"},
      {{"-w", "-s"}, "option '-s' needs a value"},
      {{"-w", "-s", "5"}, "invalid scale '5': use 1 to 4 or auto"},
      {{"-s3"}, "--scale works only with --window"},
      {{"-w", "-f"}, "--window and --fullscreen exclude each other"},
  };
  for (const auto &[args, want] : table) EXPECT_EQ(parsed(args), want) << args.size() << " arguments";
  // A window fits with 96 pixels to spare across and down: 1376x1056 holds 2x, one pixel less either way 1x.
  EXPECT_EQ(fittingScale(1376, 1056), 2);
  EXPECT_EQ(fittingScale(1375, 1056), 1);
  EXPECT_EQ(fittingScale(1376, 1055), 1);
  EXPECT_EQ(fittingScale(3840, 2160), 4);  // the largest
}

// Each pixel of the 16-bit picture becomes a square of the scale, in the same colour on a 32-bit screen.
TEST_F(allegroTest, enlargedPixelsBecomeWholeSquares) {
  const auto pure = [](int d, int i) { return makecol_depth(d, i & 1 ? 255 : 0, i & 2 ? 255 : 0, i & 4 ? 255 : 0); };
  const ownedBitmap small(create_bitmap_ex(16, 4, 2));
  for (int i = 0; i < 8; ++i) putpixel(small.get(), i % 4, i / 4, pure(16, i));  // the eight pure colours
  for (int scale = 1; scale <= 4; ++scale) {
    const ownedBitmap big(create_bitmap_ex(32, 4 * scale, 2 * scale));
    clear_to_color(big.get(), 12345);
    enlarge(small.get(), big.get(), scale);
    for (int y = 0; y < 2 * scale; ++y)
      for (int x = 0; x < 4 * scale; ++x)
        ASSERT_EQ(getpixel(big.get(), x, y), pure(32, y / scale * 4 + x / scale)) << "x" << scale << " at " << x;
  }
}
