#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The file-system operations of the program, on paths in UTF-8 (base/Text.h). On Windows each goes through
// the wide function with the path in UTF-16, so that a folder or a user name outside the system's ANSI code
// page is reached as it is named; elsewhere the path is passed as it is.

// std::fopen with a UTF-8 path.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Pushes what was written to f down to the disk (fflush and _commit / fsync).
bool FlushToDisk(std::FILE* f);

// Moves the file `from` over `to` in one step, replacing `to` if it exists; false when it could not.
bool MoveFileOver(const std::string& from, const std::string& to);

// Deletes a file; false when it was not there or could not be deleted.
bool DeleteFileAt(const std::string& path);

// Creates a folder; false when it could not (one that exists already included).
bool CreateFolder(const std::string& path);

// True when the folder that holds `path` (up to its last separator) is there; a bare name is in the current
// folder, which is.
bool ParentFolderExists(const std::string& path);

// Opens a file for binary reading only when it is a file on a disk: a device (a serial line, a console,
// "NUL") or a pipe could block a read for ever or never end. Null otherwise, and when it cannot be opened.
std::FILE* OpenDiskFileForReading(const std::string& path);

// The program's arguments (without its own name) as UTF-8: on Windows read from the wide command line, as
// Windows programs split it, since `argv` holds them in the ANSI code page, in which a name may not exist.
std::vector<std::string> PathArguments(int argc, char** argv);
