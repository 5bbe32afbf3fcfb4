// Build-time tool: turns the picture files into C++ byte arrays.
//
// Usage: embed OUTDIR NAME=FILE...
// Writes OUTDIR/images.h, declaring each array with its length in the type (so sizeof gives the
// length), and OUTDIR/images.cpp, defining them. Both are rewritten only when their text changes.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool readFile(const std::string &path, std::vector<unsigned char> &bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Leaves an unchanged file alone, so a rebuilt tool does not force the arrays to recompile.
bool writeIfChanged(const std::string &path, const std::string &text) {
  std::ifstream old(path, std::ios::binary);
  if (old) {
    std::string current((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
    if (current == text) return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTDIR NAME=FILE...\n", argv[0]);
    return 2;
  }
  const std::string outDir = argv[1];
  std::ostringstream header, source;
  header << "#pragma once\n// Generated at build time by tools/embed from the picture files.\n\n";
  source << "// Generated at build time by tools/embed from the picture files.\n#include \"images.h\"\n";
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) {
      std::fprintf(stderr, "embed: expected NAME=FILE, got %s\n", arg.c_str());
      return 2;
    }
    const std::string name = arg.substr(0, eq), path = arg.substr(eq + 1);
    std::vector<unsigned char> bytes;
    if (!readFile(path, bytes) || bytes.empty()) {
      std::fprintf(stderr, "embed: cannot read %s\n", path.c_str());
      return 1;
    }
    header << "extern const unsigned char " << name << "[" << bytes.size() << "];\n";
    source << "\nconst unsigned char " << name << "[" << bytes.size() << "] = {";
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      source << (k % 24 == 0 ? "\n" : "") << static_cast<unsigned>(bytes[k]) << ',';
    }
    source << "\n};\n";
  }
  if (!writeIfChanged(outDir + "/images.h", header.str()) || !writeIfChanged(outDir + "/images.cpp", source.str())) {
    std::fprintf(stderr, "embed: cannot write into %s\n", outDir.c_str());
    return 1;
  }
  return 0;
}
