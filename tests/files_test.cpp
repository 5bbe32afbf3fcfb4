#include "frame/files.h"

#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "allegro_fixture.h"
#include "frame/sound.h"
#include "highscore/hsfile.h"
#include "highscore/screen.h"

using namespace std::literals;

// Every file test runs in a fresh temporary folder, and goes back where it was afterwards.
class filesTest : public allegroTest {
 protected:
  const std::filesystem::path previous = std::filesystem::current_path();
  std::string dir = (std::filesystem::temp_directory_path() / "mirvanes-test-XXXXXX").string();

  void SetUp() override { allegroTest::SetUp(), std::filesystem::current_path(mkdtemp(dir.data())); }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
    allegroTest::TearDown();
  }
  static void write(const char *name, std::string_view content) { std::ofstream(name) << content; }
  static std::string read(const char *name = "highscore.mhs") {
    return {std::istreambuf_iterator<char>(std::ifstream(name).rdbuf()), {}};
  }
};

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

// A file that cannot be read or written ends the program and stays as it was; a write goes through a link, keeps the
// file's permission bits, passes leftovers and, in a directory the player may not write, rewrites the file in place.
TEST_F(filesTest, aHighscoreFileIsReplacedWholeOrNotAtAll) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child works in this folder
  struct highscore r = {{7, 7, 7, 7}};
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");
  write("highscore.mhs", "old");
  // With no file allowed beyond 8 bytes the record cannot be written whole. The report would be cut off by the
  // same limit, so only the status is checked here.
  const rlimit eight = {8, 8};
  EXPECT_EXIT(
      (std::freopen("/dev/null", "w", stdout), signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &eight), write_hs(&r)),
      testing::ExitedWithCode(1), "");
  EXPECT_EQ(std::pair(read(), std::distance(std::filesystem::directory_iterator("."), {})), std::pair("old"s, 1L));
  std::filesystem::remove("highscore.mhs");
  std::filesystem::create_directory("highscore.mhs");
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");  // a directory opens but cannot be read
  std::filesystem::remove("highscore.mhs");
  const std::string record = "\7\0\0\0\7\0\0\0\7\0\0\0\7\0\0\0"s;
  write("real", "old");
  std::filesystem::permissions("real", std::filesystem::perms(0646));  // writable by others: nobody writes it below
  std::filesystem::create_directory("highscore.mhs.tmp");               // the fixed name a temporary once had
  std::filesystem::create_symlink("real", "highscore.mhs");
  write_hs(&r);
  EXPECT_EQ(std::pair(read("real"), std::filesystem::status("real").permissions()),
            std::pair(record, std::filesystem::perms(0646)));
  write("real", "old");
  std::filesystem::permissions(".", std::filesystem::perms(0555));  // locked; root gives up its rights below
  const auto asNobody = [] { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); };
  EXPECT_EXIT((asNobody() ? write_hs(&r) : exit(9), exit(0)), ::testing::ExitedWithCode(0), "");
  std::filesystem::permissions(".", std::filesystem::perms::owner_all);
  EXPECT_EQ(read("real"), record);
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
  s.play(0, 255, 128, 1000), s.adjust(1, 128, 0, 2000), s.stop();  // nothing to play once released
  EXPECT_EQ(std::tuple(s.isActive(), s.sample, s.midi), std::tuple(0, nullptr, nullptr));
}
