#include "highscore/hsfile.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "frame/error.h"

std::string hsFilename = "highscore.mhs";

namespace {
// Four signed 32-bit values, little-endian, in CT order; nothing else in the file.
constexpr int RECORD_BYTES = 16;

// Byte i of the file is byte i % 4 (lowest first) of score[i / 4], on any machine.
unsigned char byteOf(const struct highscore &record, int i) {
  return (static_cast<std::uint32_t>(record.score[i / 4]) >> (8 * (i % 4))) & 0xFF;
}

void setByte(struct highscore &record, int i, unsigned char byte) {
  const int shift = 8 * (i % 4);
  std::uint32_t value = static_cast<std::uint32_t>(record.score[i / 4]);
  value = (value & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(byte) << shift);
  record.score[i / 4] = static_cast<std::int32_t>(value);
}

// Short writes, failed flushes, syncs and closes all count: a half-written temporary file must
// never be renamed over a good one.
bool writeWhole(std::FILE *file, const unsigned char *bytes) {
  const bool written =
      std::fwrite(bytes, 1, RECORD_BYTES, file) == RECORD_BYTES && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  return std::fclose(file) == 0 && written;
}
}  // namespace

void load_hs(struct highscore *record) {
  std::ifstream in(hsFilename, std::ios::binary);
  if (!in.is_open()) error::fatal("Unable to read highscore file");
  unsigned char bytes[RECORD_BYTES];
  in.read(reinterpret_cast<char *>(bytes), RECORD_BYTES);
  // A directory opens but cannot be read; a short file is no failure.
  if (in.bad()) error::fatal("Unable to read highscore file");
  for (int i = 0; i < in.gcount(); ++i) setByte(*record, i, bytes[i]);
}

void write_hs(struct highscore *record) {
  unsigned char bytes[RECORD_BYTES];
  for (int i = 0; i < RECORD_BYTES; ++i) bytes[i] = byteOf(*record, i);
  // Written beside the target and renamed over it, so the old file stays whole until the new one is.
  const std::string temporary = hsFilename + ".tmp";
  std::FILE *file = std::fopen(temporary.c_str(), "wb");
  if (!file) error::fatal("Unable to write to highscore file");
  if (!writeWhole(file, bytes) || std::rename(temporary.c_str(), hsFilename.c_str()) != 0) {
    std::remove(temporary.c_str());
    error::fatal("Unable to write to highscore file");
  }
}
