#pragma once

#include "schedule/ProgramFile.h"
#include "schedule/ProgramList.h"

#include <string>
#include <vector>

// The programme file of this start, kept so that no programme is ever lost. A file that is there but cannot
// be read (another program holds it, a read fails) is never written over: until a read of it succeeds,
// saves write nothing; the save whose read succeeds puts the file's records before the programmes added
// meanwhile (a programme added again meanwhile is kept once), and writes them all.
class ProgramStore
{
public:
    explicit ProgramStore(std::string path = std::string(), const FileCalls& calls = StandardFileCalls())
        : path(std::move(path)), calls(&calls)
    {
    }

    // Replaces the list with the file's records; a missing file is an empty list. When the file cannot be
    // read, the list stays as it was and the file is left pending.
    ProgramFileRead Load(ProgramList& programs);

    enum class Outcome
    {
        Saved,
        NotRead,     // the file is still unreadable: nothing was written
        WriteFailed, // the earlier file is left as it was
    };
    struct SaveResult
    {
        Outcome outcome;
        // Whether this save read the pending file, and then where each record of the list now stands.
        bool merged;
        std::vector<std::size_t> moved;
    };
    SaveResult Save(ProgramList& programs, ReplaceFileFn replace = nullptr);

    const std::string& Path() const { return path; }
    // True while the file is there but has not been read.
    bool Pending() const { return pending; }

private:
    std::string path;
    const FileCalls* calls;
    bool pending = false;
};
