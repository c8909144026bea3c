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

// True when the folder that holds `path` (up to its last separator) is there; a bare name is in the current
// folder, which is.
bool ParentFolderExists(const std::string& path);

// Opens a file for binary reading only when it is a file on a disk: a device (a serial line, a console,
// "NUL") or a pipe could block a read for ever or never end. Null otherwise, and when it cannot be opened.
std::FILE* OpenDiskFileForReading(const std::string& path);
