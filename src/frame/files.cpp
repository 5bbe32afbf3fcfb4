#include "frame/files.h"

#include <filesystem>
#include <fstream>

namespace {
// On Linux an input stream opens a directory too, so a directory is turned away here.
std::ifstream openReadable(const std::string &name) {
  std::ifstream in(name, std::ios::binary);
  std::error_code ignored;
  if (in.is_open() && std::filesystem::is_directory(name, ignored)) in.close();
  return in;
}
}  // namespace

bool fileExists(std::string name) { return openReadable(name).is_open(); }

int fileSize(std::string name) {
  std::ifstream in = openReadable(name);
  if (!in.is_open()) return 0;
  in.seekg(0, std::ios::end);
  return static_cast<int>(in.tellg());
}
