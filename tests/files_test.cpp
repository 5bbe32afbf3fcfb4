#include "frame/files.h"

#include "file_fixture.h"

using filesTest = fileTest;

TEST_F(filesTest, existenceAndSizeOfReadableFiles) {
  writeFile("empty", {});
  writeFile("data", bytes(1234, '\n'));  // line ends must not be counted any differently
  std::filesystem::create_directory("folder");
  for (int i = 0; i < 300; ++i) std::ofstream("folder/entry" + std::to_string(i)) << i;
  const struct {
    const char *name;
    bool exists;
    int size;
  } cases[] = {{"missing", false, 0}, {"empty", true, 0}, {"data", true, 1234}, {"folder", false, 0}};
  for (auto c : cases) {
    EXPECT_EQ(fileExists(c.name), c.exists) << c.name;
    EXPECT_EQ(fileSize(c.name), c.size) << c.name;
  }
}
