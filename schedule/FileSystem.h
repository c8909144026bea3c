#pragma once

#include <cstdio>
#include <string>

// The few file-system operations whose portable forms differ between Windows and POSIX.

// Pushes what was written to f down to the disk (fflush and _commit / fsync).
bool FlushToDisk(std::FILE* f);

// Moves the file `from` over `to` in one step, replacing `to` if it exists; false when it could not.
bool MoveFileOver(const std::string& from, const std::string& to);

// Deletes a file; false when it was not there or could not be deleted.
bool DeleteFileAt(const std::string& path);
