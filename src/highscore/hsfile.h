#pragma once

#include <cstdint>
#include <string>

// One value per wizard type, indexed by CT. The highscore screen function bears the same name,
// so code that sees both names the record `struct highscore`.
struct highscore {
  std::int32_t score[4];
};

// "highscore.mhs": no directory part, so the file lives in the working directory.
extern std::string hsFilename;

// Reads up to 16 bytes into the record; bytes the file does not have keep the caller's values.
void load_hs(struct highscore *record);
// Replaces the file with the record's 16 bytes, all at once or not at all, or, where nothing can be made beside it,
// writes them over its start before cutting it to 16 bytes. A link is followed only to a regular file or to a name
// that is not there yet.
void write_hs(struct highscore *record);
