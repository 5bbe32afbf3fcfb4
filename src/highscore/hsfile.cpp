#include "highscore/hsfile.h"

#if defined(__unix__) || defined(__APPLE__)
#define MIRVANES_POSIX 1
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

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

// Whether the bytes written so far are on the disk, where the system can tell.
bool synced([[maybe_unused]] std::FILE *file) {
#ifdef MIRVANES_POSIX
  return fsync(fileno(file)) == 0;
#else
  return true;
#endif
}

// Writes the record and closes the file; no file (it could not be opened) is a failure too. Short
// writes, failed flushes, syncs and closes all count: a half-written temporary file must never be
// renamed over a good one.
bool writeWhole(std::FILE *file, const unsigned char *bytes) {
  if (!file) return false;
  const bool written =
      std::fwrite(bytes, 1, RECORD_BYTES, file) == RECORD_BYTES && std::fflush(file) == 0 && synced(file);
  return std::fclose(file) == 0 && written;
}

// Writes the record beside the existing `file` under a name no leftover can hold, with the file's
// permission bits, and renames it over the file, so the old record stays whole until the new one
// is. Says whether that worked; nothing where no temporary file can be made there.
std::optional<bool> replaceBeside(const std::string &file, const unsigned char *bytes) {
#ifdef MIRVANES_POSIX
  struct stat old;
  std::string temporary = file + ".XXXXXX";
  const int fd = stat(file.c_str(), &old) == 0 ? mkstemp(temporary.data()) : -1;
  if (fd < 0) return std::nullopt;
  const bool kept = fchmod(fd, old.st_mode & 07777) == 0;
  std::FILE *out = fdopen(fd, "wb");
  if (!out) close(fd);
  const bool replaced = writeWhole(out, bytes) && kept && std::rename(temporary.c_str(), file.c_str()) == 0;
  if (!replaced) std::remove(temporary.c_str());
  return replaced;
#else
  return std::nullopt;  // no temporary files with permission bits here
#endif
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
  // A symbolic link stays and its target gets the record. A file not there yet, or in a directory
  // where nothing can be made beside it, is written in place.
  std::error_code missing;
  const std::string target = std::filesystem::canonical(hsFilename, missing).string();
  const std::optional<bool> replaced = missing ? std::nullopt : replaceBeside(target, bytes);
  const bool written = replaced ? *replaced : writeWhole(std::fopen(hsFilename.c_str(), "wb"), bytes);
  if (!written) error::fatal("Unable to write to highscore file");
}
