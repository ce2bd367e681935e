#pragma once

#include <cstdio>
#include <string>

namespace varelo {

// A file descriptor for reading a file as bytes, opened without waiting (a named pipe
// nobody writes would otherwise hold the opener) and not passed to child programs;
// -1 when it cannot be opened.
int OpenForReadingBytes(const std::string& path);

// A stream that writes a new (or emptied) file as bytes, not passed to child programs;
// nullptr when it cannot be created.
std::FILE* CreateForWritingBytes(const std::string& path);

// True for the error numbers that mean the disk (or the user's share of it) is full.
bool IsDiskFullError(int errnoValue);

}  // namespace varelo
