#include "frame/files.h"

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "allegro_fixture.h"
#include "frame/sound.h"
#include "highscore/hsfile.h"
#include "highscore/screen.h"
#include "highscore/store.h"

using namespace std::literals;
using std::filesystem::perms;

// Every file test runs in a fresh temporary folder, and goes back where it was afterwards. Its death tests fork, so
// that the child works in this folder; GoogleTest puts the run's own style back when the test ends, as every flag.
class filesTest : public allegroTest {
 protected:
  const std::filesystem::path previous = std::filesystem::current_path();
  std::string dir = (std::filesystem::temp_directory_path() / "mirvanes-test-XXXXXX").string();

  void SetUp() override {
    allegroTest::SetUp();
    std::filesystem::current_path(mkdtemp(dir.data()));
    GTEST_FLAG_SET(death_test_style, "fast");
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    allegroTest::TearDown();
  }
  static void write(const char *name, std::string_view content) { std::ofstream(name) << content; }
  static std::string read(const char *name = "highscore.mhs") {
    return {std::istreambuf_iterator<char>(std::ifstream(name).rdbuf()), {}};
  }
  static std::set<std::string> names() {
    std::set<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(".")) found.insert(entry.path().filename());
    return found;
  }
  // The tests may run as root, whom no permission bits stop: a child that must meet them becomes the user nobody.
  static void asNobody() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) exit(9);
  }
  // No file may grow beyond `bytes`; the report would be cut off by the same limit, so it goes nowhere.
  static void noFileBeyond(rlim_t bytes) {
    const rlimit limit = {bytes, bytes};
    std::freopen("/dev/null", "w", stdout);
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
};

const std::string SEVENS = "\7\0\0\0\7\0\0\0\7\0\0\0\7\0\0\0"s;  // a record of 7 for every type

TEST_F(filesTest, aRunIsStoredAsItsTypesBestInFourLittleEndianValues) {
  struct highscore r = {{-1, INT32_MIN, 0x01020304, 7}};
  write_hs(&r);
  EXPECT_EQ(read(), "\xFF\xFF\xFF\xFF\0\0\0\x80\4\3\2\1\7\0\0\0"sv);
  // The screen shows the run beside the stored value, which a weaker run later leaves as it is.
  write("highscore.mhs", "\5\0\0\0\2"sv);  // short: Spring's value and the low byte of Summer's
  script = [] {
    EXPECT_TRUE(textAt("Your score: 3 wins", 100, 200, 0));
    EXPECT_TRUE(textAt("Old highscore: 2 wins", 100, 300, 0));
    EXPECT_TRUE(textAt("-Press Enter to return to main menu-", 320, 380, 0, true));
    key[KEY_ENTER] = 1;
  };
  highscore(3, Summer);
  EXPECT_EQ(pixel(0, 0), 0xFFC0);  // the yellow frame stays up until Enter; black text alone would prove nothing
  const auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto before = openFiles();
  EXPECT_EQ(storeBest(1, Summer), 3);
  EXPECT_EQ(read(), "\5\0\0\0\3\0\0\0\0\0\0\0\0\0\0\0"sv);
  EXPECT_EQ(openFiles(), before) << "the file is closed again";
  // Started with its standard input closed, the game gets descriptor 0 for the file, and keeps the run all the same.
  const auto storeWithoutStandardInput = [] {
    close(0);
    storeBest(4, Summer);
    exit(read() == "\5\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0"sv ? 0 : 2);
  };
  EXPECT_EXIT(storeWithoutStandardInput(), testing::ExitedWithCode(0), "");
}

// A write that cannot finish leaves the old file whole. A write goes through a link, keeps the permission bits, removes
// what a game that died in its write left and, in a locked folder, cuts the file only after the record is in it.
TEST_F(filesTest, aHighscoreFileIsReplacedWholeOrNotAtAll) {
  struct highscore r = {{7, 7, 7, 7}};
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");
  write("real", "old");
  std::filesystem::create_symlink("real", "highscore.mhs");
  EXPECT_EXIT({ noFileBeyond(8); write_hs(&r); }, testing::ExitedWithCode(1), "");
  EXPECT_EQ(read("real"), "old");
  EXPECT_EQ(names(), (std::set{"highscore.mhs"s, "real"s}));
  std::filesystem::permissions("real", perms(0646));  // writable by others: nobody writes it below
  write("real.Ab12Cd.tmp", SEVENS);                   // a dead game's temporary file
  std::filesystem::last_write_time("real.Ab12Cd.tmp", std::filesystem::file_time_type::clock::now() - 1h);
  write("real.backup", SEVENS);  // the player's own, by the name temporary files once had
  write_hs(&r);
  EXPECT_EQ(std::pair(read("real"), std::filesystem::status("real").permissions()), std::pair(SEVENS, perms(0646)));
  EXPECT_EQ(names(), (std::set{"highscore.mhs"s, "real"s, "real.backup"s}));
  const std::string old = "twenty bytes of old.";
  write("real", old);
  std::filesystem::permissions(".", perms(0555));  // locked; root gives up its rights below
  EXPECT_EXIT({ asNobody(); noFileBeyond(0); write_hs(&r); }, testing::ExitedWithCode(1), "");
  EXPECT_EQ(read("real"), old);
  EXPECT_EXIT({ asNobody(); write_hs(&r); exit(0); }, testing::ExitedWithCode(0), "");
  std::filesystem::permissions(".", perms::owner_all);
  EXPECT_EQ(read("real"), SEVENS);
}

// The screen and a plain write refuse, unopened, a link to anything but a regular file; the link and its target stay.
TEST_F(filesTest, aLinkToAFifoOrADeviceIsLeftAlone) {
  struct highscore r = {{7, 7, 7, 7}};
  ASSERT_EQ(mkfifo("fifo", 0666), 0);
  // A node with /dev/null's numbers in this folder where the test may make one; else /dev/null, which a user who
  // cannot make one cannot replace either.
  const std::string device = mknod("null", S_IFCHR | 0666, makedev(1, 3)) == 0 ? "null" : "/dev/null";
  for (const std::string &target : {"fifo"s, device}) {
    const std::filesystem::file_type type = std::filesystem::status(target).type();
    std::filesystem::remove("highscore.mhs");
    std::filesystem::create_symlink(target, "highscore.mhs");
    EXPECT_REPORT(storeBest(1, Spring), "Unable to write to highscore file");
    EXPECT_REPORT(write_hs(&r), "Unable to write to highscore file");
    EXPECT_EQ(std::pair(std::filesystem::read_symlink("highscore.mhs").string(), std::filesystem::status(target).type()),
              std::pair(target, type));
  }
}

// The screen's read-compare-write leaves a file it cannot read as it was, and games that end together both keep their best.
TEST_F(filesTest, storingABestKeepsAFileItCannotReadAndTheResultOfEveryGame) {
  write("highscore.mhs", SEVENS);
  std::filesystem::permissions("highscore.mhs", perms::owner_write);  // its owner may write it but not read it
  std::filesystem::permissions(".", perms(0755));                     // nobody may look in
  EXPECT_EXIT({ reportsToStderr(); asNobody(); storeBest(9, Spring); }, testing::ExitedWithCode(1),
              "^Unable to read highscore file$");
  std::filesystem::permissions("highscore.mhs", perms::owner_read | perms::owner_write);
  EXPECT_EQ(read(), SEVENS);
  const auto gameEnding = [](int wins, CT type) {  // in a process of its own
    const pid_t game = fork();
    if (game == 0) {
      storeBest(wins, type);
      _exit(0);
    }
    return game;
  };
  for (int trial = 0; trial < 50; ++trial) {
    std::filesystem::remove("highscore.mhs");
    for (const pid_t game : {gameEnding(3, Spring), gameEnding(4, Summer)}) waitpid(game, nullptr, 0);
    ASSERT_EQ(read(), "\3\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0"s) << "trial " << trial;
  }
}

// At start-up a file that could not keep a run's result ends the game before it is played, naming the file and why.
// The check makes and changes nothing.
TEST_F(filesTest, theStartUpCheckNamesTheFileAndWhyNoResultCouldBeKept) {
  const std::string file = (std::filesystem::current_path() / "highscore.mhs").string();
  const auto cannotKeep = [&](const std::string &reason) {
    return testing::Eq("Mirvanes cannot keep its highscores in " + file + ": " + reason + ".");
  };
  const auto checkAsNobody = [] {
    reportsToStderr();
    asNobody();
    checkHighscoreFile();
    exit(0);
  };
  const testing::ExitedWithCode failed(1);
  std::filesystem::permissions(".", perms::all);
  EXPECT_EXIT(checkAsNobody(), testing::ExitedWithCode(0), "");  // no file yet, in a folder anyone may write
  std::filesystem::create_symlink(file + ".gone/highscore.mhs", "highscore.mhs");
  EXPECT_EXIT(checkAsNobody(), failed,
              cannotKeep("its folder " + file + ".gone cannot be written (No such file or directory)"));
  std::filesystem::remove("highscore.mhs");
  ASSERT_EQ(mkfifo("fifo", 0666), 0);
  std::filesystem::create_symlink("fifo", "highscore.mhs");
  EXPECT_EXIT(checkAsNobody(), failed, cannotKeep("it is neither a regular file nor a link to one"));
  std::filesystem::remove("highscore.mhs");
  write("highscore.mhs", "");
  std::filesystem::permissions("highscore.mhs", perms::owner_write);
  EXPECT_EXIT(checkAsNobody(), failed, cannotKeep("the file cannot be read (Permission denied)"));
  std::filesystem::permissions("highscore.mhs", perms(0444));
  std::filesystem::permissions(".", perms(0555));
  EXPECT_EXIT(checkAsNobody(), failed, cannotKeep("neither the file nor its folder may be written"));
  std::filesystem::permissions(".", perms::owner_all);
  EXPECT_EQ(std::pair(names(), read()), std::pair(std::set{"fifo"s, "highscore.mhs"s}, ""s));
}

TEST_F(filesTest, aFileIsThereWhenItCanBeReadAndASoundLoadsByTheEndingOfItsName) {
  write("data", std::string(1234, '\n'));
  std::filesystem::create_directory("folder");
  EXPECT_EQ((std::tuple{fileExists("data"), fileSize("data"), fileExists("folder"), fileSize("folder"),
                        fileExists("none"), fileSize("none")}),
            std::tuple(true, 1234, false, 0, false, 0));
  // Samples of 8-bit mono PCM, and MIDI songs whose one track holds only its end.
  for (const char *name : {"x.wav", "x.mp3"})
    write(name,
          "RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1F\0\0\x40\x1F\0\0\1\0\x08\0data\4\0\0\0\x80\xC8\x80\x32"sv);
  for (const char *name : {"x.mid", "x.midi", "x.MID", "mid"})
    write(name, "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0"sv);
  // The kind: 1 a sample, 2 a song, 0 nothing; the case counts, the dot is no part of an ending.
  const std::pair<const char *, int> cases[] = {{"x.wav", 1}, {"x.midi", 2}, {"mid", 2},      {"x.mp3", 0},
                                                {"x.MID", 0}, {"id", 0},     {"none.wav", 0}, {"none.mid", 0}};
  sound s;
  for (auto [name, kind] : cases) {
    ASSERT_TRUE(s.load("x.mid", false));  // each load releases this song first
    EXPECT_EQ((std::tuple{s.load(name, true), s.isActive(), s.sample != nullptr, s.midi != nullptr}),
              std::tuple(kind != 0, kind, kind == 1, kind == 2))
        << name;
  }
  // The last load left it empty: nothing to play, adjust or stop.
  s.play(0, 255, 128, 1000);
  s.adjust(1, 128, 0, 2000);
  s.stop();
}
