#include "highscore/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "frame/error.h"
#include "highscore/hsfile.h"

namespace fs = std::filesystem;

namespace {
// Another game holds the lock for a few milliseconds; one that holds it this long is stuck.
constexpr auto LOCK_WAIT = std::chrono::seconds(3);
constexpr auto LOCK_RETRY = std::chrono::milliseconds(2);

[[noreturn]] void unwritable() { error::fatal("Unable to write to highscore file"); }

// Opens the highscore file to lock it, creating it empty (a record of zeros) when there is none yet. A name that
// is there but no regular file, nor a link to one, is refused before it is opened: opening a device acts on it.
int openForLock() {
  struct stat named, opened;
  if (stat(hsFilename.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) unwritable();
  int fd = open(hsFilename.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0 && errno != ENOENT) error::fatal("Unable to read highscore file");
  if (fd < 0) fd = open(hsFilename.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0 || fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) unwritable();
  return fd;
}

// The open highscore file, locked. The lock is on the file itself rather than on a lock file beside it: the data
// folder holds nothing but the record, and a folder the game may not write, where the file is written in place,
// locks the same way. A write renames a new file over the name, so a game that waited on the old file finds the
// name on another one once it has the lock, and starts over on that.
int lockRecord() {
  const auto giveUp = std::chrono::steady_clock::now() + LOCK_WAIT;
  for (;;) {
    const int fd = openForLock();
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > giveUp) unwritable();
      std::this_thread::sleep_for(LOCK_RETRY);
    }
    struct stat locked, named;
    if (fstat(fd, &locked) == 0 && stat(hsFilename.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
        locked.st_ino == named.st_ino)
      return fd;
    close(fd);
  }
}

// Where a write of `name` lands: the end of its chain of links, which need not exist yet.
fs::path landing(fs::path name) {
  std::error_code broken;
  for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(name, broken)); ++hop)
    name = name.parent_path() / fs::read_symlink(name, broken);
  return name;
}

bool writable(const fs::path &path, int mode = W_OK) { return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0; }

std::string why() { return std::string(" (") + std::strerror(errno) + ")"; }

// The reason a run's result could not be kept in the file, or nothing.
std::string trouble() {
  struct stat named;
  if (stat(hsFilename.c_str(), &named) != 0) {
    if (errno != ENOENT) return "the file cannot be read" + why();
    const fs::path folder = fs::absolute(landing(hsFilename)).parent_path();
    return writable(folder, W_OK | X_OK) ? "" : "its folder " + folder.string() + " cannot be written" + why();
  }
  if (!S_ISREG(named.st_mode)) return "it is neither a regular file nor a link to one";
  const int fd = open(hsFilename.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return "the file cannot be read" + why();
  close(fd);
  const fs::path folder = fs::absolute(landing(hsFilename)).parent_path();
  return writable(hsFilename) || writable(folder, W_OK | X_OK) ? "" : "neither the file nor its folder may be written";
}
}  // namespace

int storeBest(int wins, CT type) {
  const int fd = lockRecord();
  struct highscore stored = {};
  load_hs(&stored);
  // The file keeps every type's best run; a weaker run leaves it as it was.
  struct highscore best = stored;
  if (wins > best.score[type]) best.score[type] = wins;
  write_hs(&best);
  close(fd);
  return stored.score[type];
}

void checkHighscoreFile() {
  // The launcher could not make the data folder; its sentence says why, and the game is what a desktop user sees.
  if (const char *launcher = std::getenv("MIRVANES_NO_DATA_DIR")) error::fatal(launcher);
  const std::string reason = trouble();
  if (!reason.empty())
    error::fatal("Mirvanes cannot keep its highscores in " + fs::absolute(hsFilename).string() + ": " + reason + ".");
}
