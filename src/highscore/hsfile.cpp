#include "highscore/hsfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "frame/error.h"

std::string hsFilename = "highscore.mhs";

namespace fs = std::filesystem;

namespace {
// Four signed 32-bit values, little-endian, in CT order; nothing else in the file.
constexpr int RECORD_BYTES = 16;
// A temporary file is the file's name, a dot, six letters or digits that mkstemps picks and ".tmp": the
// suffix keeps a player's own "highscore.mhs.backup" out of the leftovers removed below.
constexpr char TEMPORARY_TAIL[] = ".XXXXXX.tmp";
constexpr int PICKED = 6, SUFFIX = 4;

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

// Writes the record over the start of the open file, then cuts the file to its length and syncs it, and closes it;
// no file (it could not be opened) is a failure too. A file written in place never holds less than it did before
// the new bytes are in it.
bool writeWhole(int fd, const unsigned char *bytes) {
  if (fd < 0) return false;
  const bool written = pwrite(fd, bytes, RECORD_BYTES, 0) == RECORD_BYTES && ftruncate(fd, RECORD_BYTES) == 0 &&
                       fsync(fd) == 0;
  return close(fd) == 0 && written;
}

fs::path folderOf(const fs::path &file) { return file.has_parent_path() ? file.parent_path() : "."; }

// A rename is on the disk only once the folder that holds the name is.
bool folderSynced(const fs::path &file) {
  const int fd = open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = fd >= 0 && fsync(fd) == 0;
  if (fd >= 0) close(fd);
  return synced;
}

// Removes the temporary files that a game which died before its rename left beside `file`: regular files named
// as ours are, older than this write. Anything else by a similar name stays.
void removeLeftovers(const fs::path &file) {
  const std::string head = file.filename().string() + ".";
  const auto now = fs::file_time_type::clock::now();
  std::error_code failed, skipped;  // the listing's own failures end it, one entry's are passed over
  for (fs::directory_iterator it(folderOf(file), failed); !failed && it != fs::directory_iterator(); it.increment(failed)) {
    const std::string name = it->path().filename().string();
    const bool ours = name.size() == head.size() + PICKED + SUFFIX && name.starts_with(head) && name.ends_with(".tmp") &&
                      std::all_of(name.begin() + head.size(), name.end() - SUFFIX, [](unsigned char c) { return std::isalnum(c); });
    if (ours && it->symlink_status(skipped).type() == fs::file_type::regular && it->last_write_time(skipped) < now)
      fs::remove(it->path(), skipped);
  }
}

// Writes the record beside the existing `file` under a name no leftover can hold, with the file's permission bits,
// renames it over the file and syncs the folder, so the old record stays whole until the new one is, also across a
// power cut. Says whether that worked; nothing where no temporary file can be made there.
std::optional<bool> replaceBeside(const fs::path &file, const unsigned char *bytes) {
  struct stat old;
  if (stat(file.c_str(), &old) != 0) return std::nullopt;
  removeLeftovers(file);
  std::string temporary = file.string() + TEMPORARY_TAIL;
  const int fd = mkstemps(temporary.data(), SUFFIX);
  if (fd < 0) return std::nullopt;
  const bool kept = fchmod(fd, old.st_mode & 07777) == 0;
  const bool replaced = writeWhole(fd, bytes) && kept && std::rename(temporary.c_str(), file.c_str()) == 0;
  if (!replaced) std::remove(temporary.c_str());
  return replaced && folderSynced(file);
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
  // A symbolic link stays and its target gets the record, when that is a regular file or not there yet; a device,
  // a FIFO or a folder is not even opened. A file not there yet, or in a folder where nothing can be made beside it,
  // is written in place.
  struct stat target;
  const bool exists = stat(hsFilename.c_str(), &target) == 0;
  if (exists && !S_ISREG(target.st_mode)) error::fatal("Unable to write to highscore file");
  std::error_code unresolved;
  const std::optional<bool> replaced =
      exists ? replaceBeside(fs::canonical(hsFilename, unresolved), bytes) : std::nullopt;
  const bool written =
      replaced ? *replaced : writeWhole(open(hsFilename.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666), bytes);
  if (!written) error::fatal("Unable to write to highscore file");
}
