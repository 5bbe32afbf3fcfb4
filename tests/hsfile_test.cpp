#include "highscore/hsfile.h"

#include <array>
#include <climits>

#include "file_fixture.h"

namespace {
const std::string TEMPORARY = "highscore.mhs.tmp";

std::array<std::int32_t, 4> values(const struct highscore &r) { return std::to_array(r.score); }
}  // namespace

// Fatal reports end the child; forking keeps the child in the parent's directory, so what it did
// to the files can be checked afterwards.
class hsFileTest : public fileTest {
 protected:
  void SetUp() override {
    fileTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "fast");
  }
};

TEST_F(hsFileTest, writesFourLittleEndianValuesAndReadsThemBack) {
  EXPECT_EQ(hsFilename, "highscore.mhs");
  writeFile(TEMPORARY, bytes(40, 0xAB));  // left over from an earlier failure: overwritten
  struct highscore r = {{3, 0, 7, 0}};
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), (bytes{3, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(std::filesystem::exists(TEMPORARY));

  r = {{-1, INT32_MIN, INT32_MAX, 0x01020304}};
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), (bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80,  //
                                              0xFF, 0xFF, 0xFF, 0x7F, 0x04, 0x03, 0x02, 0x01}));
  struct highscore back = {{5, 5, 5, 5}};
  load_hs(&back);
  EXPECT_EQ(values(back), values(r));
}

TEST_F(hsFileTest, filesAreReadUpToSixteenBytesOverTheCallersValues) {
  // Empty, four bytes, six bytes ending inside Summer's value (its two high bytes stay), and
  // longer than the record, whose rest the next write cuts off.
  bytes longer = littleEndian({1, 2, 3, 4});
  longer.resize(24, 0xEE);
  const struct {
    bytes file;
    struct highscore before, after;
  } cases[] = {{{}, {{9, 9, 9, 9}}, {{9, 9, 9, 9}}},
               {{5, 0, 0, 0}, {{9, 9, 9, 9}}, {{5, 9, 9, 9}}},
               {{1, 0, 0, 0, 0x02, 0x01}, {{0, 0x55667788, 0, 0}}, {{1, 0x55660102, 0, 0}}},
               {{1, 0, 0, 0, 0x02, 0x01}, {{0, -1, 0, 0}}, {{1, static_cast<std::int32_t>(0xFFFF0102u), 0, 0}}},
               {longer, {{0, 0, 0, 0}}, {{1, 2, 3, 4}}}};
  for (const auto &c : cases) {
    writeFile("highscore.mhs", c.file);
    struct highscore r = c.before;
    load_hs(&r);
    EXPECT_EQ(values(r), values(c.after)) << c.file.size() << " bytes";
  }
  struct highscore r = {{1, 2, 3, 4}};
  write_hs(&r);
  EXPECT_EQ(readFile("highscore.mhs"), bytes(longer.begin(), longer.begin() + 16));
}

TEST_F(hsFileTest, aFileThatCannotBeReadOrReplacedEndsTheProgramAndStaysAsItWas) {
  struct highscore r = {{7, 7, 7, 7}};
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");  // there is none yet
  const bytes old = littleEndian({1, 2, 3, 4});
  // The temporary file cannot be created: someone else's directory is in its way and stays.
  writeFile("highscore.mhs", old);
  std::filesystem::create_directory(TEMPORARY);
  EXPECT_REPORT(write_hs(&r), "Unable to write to highscore file");
  EXPECT_EQ(readFile("highscore.mhs"), old);
  EXPECT_TRUE(std::filesystem::is_directory(TEMPORARY));
  std::filesystem::remove(TEMPORARY);

  // The bytes do not fit: the temporary file leads to a full device, so the flush fails.
  ASSERT_TRUE(std::filesystem::exists("/dev/full"));
  std::filesystem::create_symlink("/dev/full", TEMPORARY);
  EXPECT_REPORT(write_hs(&r), "Unable to write to highscore file");
  EXPECT_EQ(readFile("highscore.mhs"), old);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(TEMPORARY)));

  // The rename fails: the target is a directory, so even root cannot replace it.
  std::filesystem::remove("highscore.mhs");
  std::filesystem::create_directory("highscore.mhs");
  EXPECT_REPORT(write_hs(&r), "Unable to write to highscore file");
  EXPECT_REPORT(load_hs(&r), "Unable to read highscore file");  // a directory opens but cannot be read
  EXPECT_TRUE(std::filesystem::is_directory("highscore.mhs"));
  EXPECT_FALSE(std::filesystem::exists(TEMPORARY));
}
