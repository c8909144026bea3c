#pragma once

#include "schedule/ProgramRecord.h"

#include <string>
#include <vector>

// The programme file: a bare sequence of 1054-byte records in list order, no header.

enum class ProgramFileRead
{
    NotOpened, // missing or unreadable: the caller keeps its list as it is
    Read,
};

// Reads every whole record of the file at `path` into `records` (replacing its content); a trailing fragment
// shorter than a record is dropped.
ProgramFileRead ReadProgramFile(const std::string& path, std::vector<ProgramRecord>& records);

using ReplaceFileFn = bool (*)(const std::string& from, const std::string& to);

// Writes the records to `path` without ever losing the earlier file: the records go to a temporary file
// beside it, which is flushed to disk and then moved over `path` in one step. Returns false when any step
// fails (no path, create, write, flush, replace); the earlier file is then left as it was.
// `replace` is the final move; tests substitute it to simulate an interruption.
[[nodiscard]] bool WriteProgramFile(const std::string& path, const ProgramRecord* records, std::size_t count,
                                    ReplaceFileFn replace = nullptr);
