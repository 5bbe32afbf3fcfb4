#include "highscore/hsfile.h"

#include <climits>

#include "file_fixture.h"

namespace {
const std::string TEMPORARY = "highscore.mhs.tmp";

// Fatal reports end the child; forking keeps the child in the parent's directory, so what it did
// to the files can be checked afterwards.
void forkForDeath() { GTEST_FLAG_SET(death_test_style, "fast"); }

struct highscore record(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  return {{a, b, c, d}};
}

void expectRecord(const struct highscore &r, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  EXPECT_EQ(r.score[0], a);
  EXPECT_EQ(r.score[1], b);
  EXPECT_EQ(r.score[2], c);
  EXPECT_EQ(r.score[3], d);
}
}  // namespace

using hsFileTest = fileTest;

TEST_F(hsFileTest, writesFourLittleEndianValuesAndReadsThemBack) {
  EXPECT_EQ(hsFilename, "highscore.mhs");
  struct highscore r = record(3, 0, 7, 0);
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), (bytes{3, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));

  r = record(-1, INT32_MIN, INT32_MAX, 0x01020304);
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), (bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80,  //
                                              0xFF, 0xFF, 0xFF, 0x7F, 0x04, 0x03, 0x02, 0x01}));
  struct highscore back = record(5, 5, 5, 5);
  load_hs(&back);
  expectRecord(back, -1, INT32_MIN, INT32_MAX, 0x01020304);
  EXPECT_FALSE(std::filesystem::exists(TEMPORARY));
}

TEST_F(hsFileTest, shortFilesReplaceOnlyTheBytesTheyHold) {
  writeFile("highscore.mhs", {});
  struct highscore r = record(9, 9, 9, 9);
  load_hs(&r);
  expectRecord(r, 9, 9, 9, 9);

  writeFile("highscore.mhs", {5, 0, 0, 0});
  load_hs(&r);
  expectRecord(r, 5, 9, 9, 9);

  // Six bytes end inside Summer's value: its two low bytes are replaced, the two high ones stay.
  writeFile("highscore.mhs", {1, 0, 0, 0, 0x02, 0x01});
  r = record(0, 0x55667788, 0, 0);
  load_hs(&r);
  expectRecord(r, 1, 0x55660102, 0, 0);
  r = record(0, -1, 0, 0);
  load_hs(&r);
  expectRecord(r, 1, static_cast<std::int32_t>(0xFFFF0102u), 0, 0);
}

TEST_F(hsFileTest, longFilesAreReadToSixteenBytesAndCutByTheNextWrite) {
  bytes longer(24, 0xEE);
  for (int i = 0; i < 16; ++i) longer[i] = static_cast<unsigned char>(i % 4 == 0 ? i / 4 + 1 : 0);
  writeFile("highscore.mhs", longer);
  struct highscore r = record(0, 0, 0, 0);
  load_hs(&r);
  expectRecord(r, 1, 2, 3, 4);
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), bytes(longer.begin(), longer.begin() + 16));
}

TEST_F(hsFileTest, staleTemporaryFileIsOverwritten) {
  writeFile(TEMPORARY, bytes(40, 0xAB));
  struct highscore r = record(0, 2, 0, 0);
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), (bytes{0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(std::filesystem::exists(TEMPORARY));
}

TEST_F(hsFileTest, fileThatCannotBeReadEndsTheProgram) {
  forkForDeath();
  struct highscore r = record(0, 0, 0, 0);
  EXPECT_EXIT((reportsToStderr(), load_hs(&r)), ::testing::ExitedWithCode(1), "^Unable to read highscore file$");
  std::filesystem::create_directory("highscore.mhs");
  EXPECT_EXIT((reportsToStderr(), load_hs(&r)), ::testing::ExitedWithCode(1), "^Unable to read highscore file$");
}

TEST_F(hsFileTest, failedWriteLeavesTheOldFileAndNoTemporaryFile) {
  forkForDeath();
  const bytes old{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
  struct highscore r = record(7, 7, 7, 7);

  // The temporary file cannot be created: someone else's directory is in its way and stays.
  writeFile("highscore.mhs", old);
  std::filesystem::create_directory(TEMPORARY);
  EXPECT_EXIT((reportsToStderr(), write_hs(&r)), ::testing::ExitedWithCode(1), "^Unable to write to highscore file$");
  EXPECT_EQ(readFile("highscore.mhs"), old);
  EXPECT_TRUE(std::filesystem::is_directory(TEMPORARY));
  std::filesystem::remove(TEMPORARY);

  // The bytes do not fit: the temporary file leads to a full device, so the flush fails.
  if (std::filesystem::exists("/dev/full")) {
    std::filesystem::create_symlink("/dev/full", TEMPORARY);
    EXPECT_EXIT((reportsToStderr(), write_hs(&r)), ::testing::ExitedWithCode(1), "^Unable to write to highscore file$");
    EXPECT_EQ(readFile("highscore.mhs"), old);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(TEMPORARY)));
  } else {
    ADD_FAILURE() << "/dev/full is missing; the failed flush went untested";
  }

  // The rename fails: the target is a directory, so even root cannot replace it.
  std::filesystem::remove("highscore.mhs");
  std::filesystem::create_directory("highscore.mhs");
  EXPECT_EXIT((reportsToStderr(), write_hs(&r)), ::testing::ExitedWithCode(1), "^Unable to write to highscore file$");
  EXPECT_TRUE(std::filesystem::is_directory("highscore.mhs"));
  EXPECT_FALSE(std::filesystem::exists(TEMPORARY));
}
