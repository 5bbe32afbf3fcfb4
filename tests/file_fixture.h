#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "allegro_fixture.h"

using bytes = std::vector<unsigned char>;

// Every file test runs in a fresh temporary directory, so nothing lands in the source tree, and
// goes back to where it was afterwards.
class fileTest : public allegroTest {
 protected:
  void SetUp() override {
    allegroTest::SetUp();
    previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "mirvanes-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    std::filesystem::current_path(dir);
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    allegroTest::TearDown();
  }

  static void writeFile(const std::string &name, const bytes &content) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char *>(content.data()), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << name;
  }

  static bytes readFile(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path previous;
  std::filesystem::path dir;
};

// Without a system driver Allegro's message box prints to stdout, while a death test matches
// what the child wrote to stderr: call this first inside the death test's statement.
inline void reportsToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
}
