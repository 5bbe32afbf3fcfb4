// Prints how the game's built-in 8x8 font draws each argument, one row of '#' and '.' per pixel row,
// so the end-to-end suite can look for exact texts on screenshots without keeping copies of them.
#include <allegro.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char **argv) {
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
  set_uformat(U_ASCII);
  for (int i = 1; i < argc; ++i) {
    const int width = text_length(font, argv[i]);
    const int height = text_height(font);
    BITMAP *bmp = create_bitmap_ex(8, width > 0 ? width : 1, height);
    if (!bmp) return 1;
    clear_bitmap(bmp);
    textout_ex(bmp, font, argv[i], 0, 0, 1, 0);
    std::printf("%d %d\n", width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) std::putchar(getpixel(bmp, x, y) ? '#' : '.');
      std::putchar('\n');
    }
    destroy_bitmap(bmp);
  }
  return 0;
}
END_OF_MAIN()
