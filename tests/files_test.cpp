#include "frame/files.h"

#include <stdlib.h>
#include <sys/file.h>
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
// that the child works in this folder; the run's own style comes back at the end.
class filesTest : public allegroTest {
 protected:
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::string deathTestStyle = GTEST_FLAG_GET(death_test_style);
  std::string dir = (std::filesystem::temp_directory_path() / "mirvanes-test-XXXXXX").string();

  void SetUp() override {
    allegroTest::SetUp();
    std::filesystem::current_path(mkdtemp(dir.data()));
    GTEST_FLAG_SET(death_test_style, "fast");
  }
  void TearDown() override {
    GTEST_FLAG_SET(death_test_style, deathTestStyle);
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

TEST_F(filesTest, theHighscoreFileHoldsFourLittleEndianValuesReadOverTheCallersOnes) {
  struct highscore r = {{-1, INT32_MIN, 0x01020304, 7}};
  write_hs(&r);
  EXPECT_EQ(read(), "\xFF\xFF\xFF\xFF\0\0\0\x80\4\3\2\1\7\0\0\0"sv);
  // Whole, longer (the rest ignored), six bytes (Summer's two high bytes stay), empty.
  const std::pair<std::string_view, std::array<std::int32_t, 4>> files[] = {
      {"\xFF\xFF\xFF\xFF\0\0\0\x80\4\3\2\1\7\0\0\0"sv, {-1, INT32_MIN, 0x01020304, 7}},
      {"\5\0\0\0\6\0\0\0\7\0\0\0\x08\0\0\0\x09"sv, {5, 6, 7, 8}},
      {"\1\0\0\0\2\1"sv, {1, 0x55660102, 9, 9}},
      {""sv, {9, 0x55667788, 9, 9}}};
  for (const auto &[file, values] : files) {
    struct highscore back = {{9, 0x55667788, 9, 9}};
    write("highscore.mhs", file);
    load_hs(&back);
    EXPECT_EQ(std::to_array(back.score), values) << file.size() << " bytes";
  }
  // The screen shows a run beside the stored value and keeps each type's best; Enter at its first rest leaves it.
  write("highscore.mhs", "\5\0\0\0\2"sv);  // short: Spring's value and the low byte of Summer's
  for (const std::array<int, 2> &visit : {std::array{3, 2}, std::array{1, 3}}) {  // the run's wins, the old value
    script = [&] {
      EXPECT_TRUE(pixel(0, 0) == 0xFFC0 && textAt("Highscore for Mirvane of Summer:", 320, 100, 0, true) &&
                  textAt("-Press Enter to return to main menu-", 320, 380, 0, true));
      EXPECT_TRUE(textAt("Your score: " + std::to_string(visit[0]) + " wins", 100, 200, 0) &&
                  textAt("Old highscore: " + std::to_string(visit[1]) + " wins", 100, 300, 0));
      key[KEY_ENTER] = 1;
    };
    highscore(visit[0], Summer);
    EXPECT_EQ(pixel(0, 0), 0xFFC0);  // the frame stays up until Enter; black text alone would prove nothing
    key[KEY_ENTER] = 0;
  }
  EXPECT_EQ(read(), "\5\0\0\0\3\0\0\0\0\0\0\0\0\0\0\0"sv);
}

// A write that cannot finish leaves the old file whole. A write goes through a link, keeps the permission bits, removes
// what a game that died in its write left and, in a locked folder, cuts the file only after the record is in it.
TEST_F(filesTest, aHighscoreFileIsReplacedWholeOrNotAtAll) {
  struct highscore r = {{7, 7, 7, 7}};
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");
  write("highscore.mhs", "old");
  EXPECT_EXIT({ noFileBeyond(8); write_hs(&r); }, testing::ExitedWithCode(1), "");
  EXPECT_EQ(read(), "old");
  EXPECT_EQ(names(), std::set{"highscore.mhs"s});
  std::filesystem::remove("highscore.mhs");
  std::filesystem::create_directory("highscore.mhs");
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");  // a directory opens but cannot be read
  std::filesystem::remove("highscore.mhs");
  write("real", "old");
  std::filesystem::permissions("real", perms(0646));  // writable by others: nobody writes it below
  write("real.Ab12Cd.tmp", SEVENS);                    // a dead game's temporary file
  std::filesystem::last_write_time("real.Ab12Cd.tmp", std::filesystem::file_time_type::clock::now() - 1h);
  write("real.backup", SEVENS);                       // the player's own, by the name temporary files once had
  std::filesystem::create_symlink("real", "highscore.mhs");
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
  const std::string stored = "\5\0\0\0\7\0\0\0\x09\0\0\0\x0b\0\0\0"s;
  write("highscore.mhs", stored);
  std::filesystem::permissions("highscore.mhs", perms::owner_write);  // its owner may write it but not read it
  std::filesystem::permissions(".", perms(0755));                      // nobody may look in
  EXPECT_EXIT({ reportsToStderr(); asNobody(); storeBest(9, Spring); }, testing::ExitedWithCode(1),
              "^Unable to read highscore file$");
  std::filesystem::permissions("highscore.mhs", perms::owner_read | perms::owner_write);
  EXPECT_EQ(read(), stored);
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
    for (const pid_t game : {gameEnding(3, Spring), gameEnding(4, Summer)}) {
      int status = -1;
      waitpid(game, &status, 0);
      EXPECT_EQ(status, 0);
    }
    ASSERT_EQ(read(), "\3\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0"s) << "trial " << trial;
  }
}

// At start-up a file that could not keep a run's result ends the game before it is played, naming the file and why;
// the launcher's reason comes the same way. The check makes and changes nothing.
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
  EXPECT_TRUE(names().empty());
  EXPECT_EXIT({ setenv("MIRVANES_NO_DATA_DIR", "The launcher's sentence.", 1); checkAsNobody(); }, failed,
              testing::Eq("The launcher's sentence."));
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
  // Four samples of 8-bit mono PCM, and a MIDI song whose one track holds only its end.
  for (const char *name : {"x.wav", "x.WAV", "x.mp3"})
    write(name,
          "RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1F\0\0\x40\x1F\0\0\1\0\x08\0data\4\0\0\0\x80\xC8\x80\x32"sv);
  for (const char *name : {"x.mid", "x.midi", "x.MID", "mid"})
    write(name, "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0"sv);
  // The kind: 1 a sample, 2 a song, 0 nothing; the dot is no part of an ending.
  const std::pair<const char *, int> cases[] = {{"x.wav", 1},    {"x.mid", 2},   {"x.midi", 2}, {"mid", 2},
                                                {"x.mp3", 0},    {"x.MID", 0},   {"x.WAV", 0},  {"id", 0},
                                                {"none.wav", 0}, {"none.mid", 0}};
  sound s;
  for (auto [name, kind] : cases) {
    ASSERT_TRUE(s.load("x.mid", false));  // each load releases this song first
    EXPECT_EQ((std::tuple{s.load(name, true), s.isActive(), s.sample != nullptr, s.midi != nullptr}),
              std::tuple(kind != 0, kind, kind == 1, kind == 2))
        << name;
  }
  s.destroy();
  // Nothing to play once released.
  s.play(0, 255, 128, 1000);
  s.adjust(1, 128, 0, 2000);
  s.stop();
  EXPECT_EQ(std::tuple(s.isActive(), s.sample, s.midi), std::tuple(0, nullptr, nullptr));
}
