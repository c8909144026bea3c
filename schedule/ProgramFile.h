#pragma once

#include "schedule/ProgramRecord.h"

#include <cstdio>
#include <string>
#include <vector>

// The programme file: a bare sequence of 1054-byte records in list order, no header.

enum class ProgramFileRead
{
    Missing,    // no such file in a folder that is there (or no path): an empty list
    Unreadable, // the file could not be opened, measured or read, or its folder cannot be reached: it must
                // not be written over
    Read,
};

// The C library calls the reader makes, each checked; tests substitute failing ones.
struct FileCalls
{
    std::FILE* (*open)(const char* path, const char* mode);
    int (*seek)(std::FILE* file, long offset, int origin);
    long (*tell)(std::FILE* file);
    std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
};
const FileCalls& StandardFileCalls();

// Reads every whole record of the file at `path` into `records` (replacing its content); a trailing fragment
// shorter than a record is dropped. Unless it returns Read, `records` is left as it was.
ProgramFileRead ReadProgramFile(const std::string& path, std::vector<ProgramRecord>& records,
                                const FileCalls& calls = StandardFileCalls());

using ReplaceFileFn = bool (*)(const std::string& from, const std::string& to);

// Writes the records to `path` without ever losing the earlier file: the records go to a temporary file
// beside it, which is flushed to disk and then moved over `path` in one step. Returns false when any step
// fails (no path, create, write, flush, replace); the earlier file is then left as it was.
// `replace` is the final move; tests substitute it to simulate an interruption.
[[nodiscard]] bool WriteProgramFile(const std::string& path, const ProgramRecord* records, std::size_t count,
                                    ReplaceFileFn replace = nullptr);
