#include "frame/files.h"

#include "file_fixture.h"

using filesTest = fileTest;

TEST_F(filesTest, existenceAndSizeOfReadableFiles) {
  EXPECT_FALSE(fileExists("missing"));
  EXPECT_EQ(fileSize("missing"), 0);

  writeFile("empty", {});
  EXPECT_TRUE(fileExists("empty"));
  EXPECT_EQ(fileSize("empty"), 0);

  writeFile("data", bytes(1234, '\n'));  // line ends must not be counted any differently
  EXPECT_TRUE(fileExists("data"));
  EXPECT_EQ(fileSize("data"), 1234);
}

TEST_F(filesTest, directoryIsNoReadableFile) {
  std::filesystem::create_directory("folder");
  for (int i = 0; i < 300; ++i) std::ofstream("folder/entry" + std::to_string(i)) << i;
  EXPECT_FALSE(fileExists("folder"));
  EXPECT_EQ(fileSize("folder"), 0);
}
