// Fuzz target for the highscore file reader: every input becomes the whole highscore file, and
// load_hs must take exactly the bytes the file has into the record and leave the rest alone.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "highscore/hsfile.h"

namespace {
constexpr unsigned char UNTOUCHED = 0xA5;

std::string privateDir;

void removePrivateDir() {
  std::error_code ignored;
  std::filesystem::remove_all(privateDir, ignored);
}
}  // namespace

// The file goes to a private temporary directory under its usual name. The working directory
// stays where it is, so libFuzzer's relative corpus and crash paths keep meaning what they say.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "mirvanes-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  privateDir = pattern;
  std::atexit(removePrivateDir);
  hsFilename = (std::filesystem::path(privateDir) / "highscore.mhs").string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  {
    // A fresh file rather than a truncated one: ext4 flushes a file truncated and rewritten at
    // close, which would make each input cost a disk write.
    std::remove(hsFilename.c_str());
    std::ofstream out(hsFilename, std::ios::binary);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!out) std::abort();
  }
  struct highscore record;
  std::memset(&record, UNTOUCHED, sizeof record);
  load_hs(&record);
  // Byte i of the file is byte i % 4, lowest first, of score[i / 4]; past the file's end the
  // record keeps what it had.
  for (std::size_t i = 0; i < 16; ++i) {
    const unsigned char got = (static_cast<std::uint32_t>(record.score[i / 4]) >> (8 * (i % 4))) & 0xFF;
    if (got != (i < size ? data[i] : UNTOUCHED)) std::abort();
  }
  return 0;
}
