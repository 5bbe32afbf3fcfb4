// Highscore reader: every input is the whole file, and load_hs takes exactly the bytes the file
// has, lowest first, and leaves the rest of the record alone.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "highscore/hsfile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // A private directory keeps the working directory, so libFuzzer's relative paths hold.
  std::string dir = (std::filesystem::temp_directory_path() / "mirvanes-fuzz-XXXXXX").string();
  if (!mkdtemp(dir.data())) std::abort();
  hsFilename = dir + "/highscore.mhs";
  std::atexit([] { std::filesystem::remove_all(std::filesystem::path(hsFilename).parent_path()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::filesystem::remove(hsFilename);  // a fresh file: a truncated one costs a disk flush at close
  std::ofstream(hsFilename, std::ios::binary).write(reinterpret_cast<const char *>(data), size);
  struct highscore record;
  std::memset(&record, 0xA5, sizeof record);
  load_hs(&record);
  for (std::size_t i = 0; i < 16; ++i)
    if (((std::uint32_t(record.score[i / 4]) >> (8 * (i % 4))) & 0xFF) != (i < size ? data[i] : 0xA5)) std::abort();
  return 0;
}
