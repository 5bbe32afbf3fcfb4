// Writes the fuzz targets' seed corpus: small valid TGA files of each accepted depth behind each
// depth selector byte, the starts of the embedded pictures and one whole button, headers just
// outside the accepted subset, and valid, short, long and negative highscore records.
//
// Usage: mirvanes_fuzz_seeds CORPUSDIR   (writes CORPUSDIR/tga/ and CORPUSDIR/hsfile/)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "images.h"

namespace {

using bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

// An accepted header, w x h pixels of a fixed byte pattern, and the 2.0 footer.
bytes tga(int w, int h, int depth, int descriptor) {
  bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int v : {w & 255, w >> 8, h & 255, h >> 8, depth, descriptor}) out.push_back(static_cast<unsigned char>(v));
  for (int i = 0; i < w * h * depth / 8; ++i) out.push_back(static_cast<unsigned char>(i * 37 + 11));
  const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
  out.insert(out.end(), footer, footer + sizeof footer);
  return out;
}

void write(const fs::path &file, const bytes &content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(content.data()), static_cast<std::streamsize>(content.size()));
  if (!out) std::fprintf(stderr, "cannot write %s\n", file.c_str());
}

// A TGA seed behind its depth selector byte (0 to 3: 15, 16, 24, 32 bits).
void writeTga(const fs::path &dir, const std::string &name, int selector, bytes file) {
  file.insert(file.begin(), static_cast<unsigned char>(selector));
  write(dir / name, file);
}

bytes record(std::initializer_list<unsigned> values) {
  bytes out;
  for (unsigned v : values) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUSDIR\n", argv[0]);
    return 2;
  }
  const fs::path tgaDir = fs::path(argv[1]) / "tga", hsDir = fs::path(argv[1]) / "hsfile";
  fs::create_directories(tgaDir);
  fs::create_directories(hsDir);

  const struct { int depth, descriptor; } kinds[] = {{16, 1}, {24, 0}, {32, 8}};
  for (int selector = 0; selector < 4; ++selector) {
    for (auto k : kinds) {
      const std::string stem = "d" + std::to_string(k.depth) + "-s" + std::to_string(selector);
      writeTga(tgaDir, stem + "-5x3", selector, tga(5, 3, k.depth, k.descriptor));
    }
  }
  writeTga(tgaDir, "d16-0x3", 1, tga(0, 3, 16, 1));
  writeTga(tgaDir, "d16-4x0", 1, tga(4, 0, 16, 1));
  writeTga(tgaDir, "button-attack", 1, bytes(imgButtonAttack, imgButtonAttack + sizeof imgButtonAttack));
  writeTga(tgaDir, "button-special-s3", 3, bytes(imgButtonSpecial, imgButtonSpecial + sizeof imgButtonSpecial));
  writeTga(tgaDir, "fight-start", 1, bytes(imgFight, imgFight + 512));
  writeTga(tgaDir, "menu-main-start", 0, bytes(imgMenuMainPic, imgMenuMainPic + 512));

  bytes broken = tga(2, 2, 16, 1);
  broken[2] = 10;  // run-length encoded
  writeTga(tgaDir, "broken-rle", 1, broken);
  broken = tga(2, 2, 16, 1);
  broken[17] = 0x21;  // top-left origin
  writeTga(tgaDir, "broken-top-left", 1, broken);
  broken = tga(2, 2, 16, 1);
  broken[16] = 15;
  writeTga(tgaDir, "broken-depth15", 1, broken);
  broken = tga(4, 4, 32, 8);
  broken.resize(18 + 4 * 4 * 4 - 1);  // one byte short of its pixels
  writeTga(tgaDir, "broken-short", 3, broken);

  write(hsDir / "record-3-0-7-0", record({3, 0, 7, 0}));
  write(hsDir / "record-negative", record({0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x01020304u}));
  write(hsDir / "empty", {});
  write(hsDir / "spring-only", record({5}));
  write(hsDir / "six-bytes", {1, 0, 0, 0, 2, 1});
  bytes longer = record({1, 2, 3, 4, 0xEEEEEEEEu, 0xEEEEEEEEu});
  write(hsDir / "longer", longer);
  longer.resize(15);
  write(hsDir / "fifteen-bytes", longer);
  return 0;
}
