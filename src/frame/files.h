#pragma once

#include <string>

// Whether the file can be opened for reading; a directory is no readable file.
bool fileExists(std::string name);

// The file's length in bytes; 0 for a file that cannot be opened, as for an empty one.
int fileSize(std::string name);
