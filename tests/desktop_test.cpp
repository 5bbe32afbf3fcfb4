#include <memory>

#include "allegro_fixture.h"
#include "frame/enlarge.h"
#include "frame/options.h"

std::string parsed(std::vector<const char *> args) {  // mode letter and scale (A: auto), help, version, or the error
  args.insert(args.begin(), "mirvanes");
  const options o = parseOptions(static_cast<int>(args.size()), args.data());
  if (!o.error.empty() || o.help || o.version) return o.help ? "help" : o.version ? "version" : o.error;
  return "awf"[o.mode] + (o.scale == autoScale ? "A" : std::to_string(o.scale));
}

TEST(desktopOptions, commandLines) {
  const std::pair<std::vector<const char *>, std::string> table[] = {
      // clang-format off
      {{}, "a1"}, {{"--window", "--scale", "3"}, "w3"}, {{"-s2", "-w"}, "w2"}, {{"-w", "--scale=auto"}, "wA"},
      {{"-w", "--scale=1"}, "w1"}, {{"-f"}, "f1"}, {{"-f", "--help", "-x"}, "help"}, {{"-V"}, "version"},
      {{"-x", "-h"}, "unknown option '-x'"}, {{"score"}, "unexpected argument 'score'"},
      {{"-w", "-s"}, "option '-s' needs a value"}, {{"-w", "-s", "5"}, "invalid scale '5': use 1 to 4 or auto"},
      {{"-s3"}, "--scale works only with --window"}, {{"-w", "-f"}, "--window and --fullscreen exclude each other"}};
  // clang-format on
  for (const auto &[args, want] : table) EXPECT_EQ(parsed(args), want) << args.size() << " arguments";
  // A window fits with 96 pixels to spare across and down: 1376x1056 holds 2x, one pixel less holds 1x.
  EXPECT_EQ(std::tuple(fittingScale(2560, 1440), fittingScale(1376, 1056), fittingScale(1375, 1056),
                       fittingScale(1376, 1055), fittingScale(3840, 2160)),
            std::tuple(2, 2, 1, 1, 4));
}

TEST_F(allegroTest, enlargedPixelsBecomeWholeSquares) {
  const auto pure = [](int d, int i) { return makecol_depth(d, i & 1 ? 255 : 0, i & 2 ? 255 : 0, i & 4 ? 255 : 0); };
  std::unique_ptr<BITMAP, decltype(&destroy_bitmap)> small(create_bitmap_ex(16, 4, 2), destroy_bitmap);
  for (int i = 0; i < 8; ++i) putpixel(small.get(), i % 4, i / 4, pure(16, i));  // the eight pure colours
  for (int depthScale = 0; depthScale < 8; ++depthScale) {                       // 16 and 32 bits, scales 1 to 4
    const int depth = depthScale < 4 ? 16 : 32, s = depthScale % 4 + 1, w = 4 * s;
    std::unique_ptr<BITMAP, decltype(&destroy_bitmap)> big(create_bitmap_ex(depth, w, 2 * s), destroy_bitmap);
    clear_to_color(big.get(), 12345);
    enlarge(small.get(), big.get(), s);
    for (int i = 0; i < w * 2 * s; ++i)
      ASSERT_EQ(getpixel(big.get(), i % w, i / w), pure(depth, i / w / s * 4 + i % w / s)) << depth << " bits x" << s;
  }
}
