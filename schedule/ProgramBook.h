#pragma once

#include "schedule/ProgramList.h"
#include "schedule/ProgramStore.h"

#include <cstddef>
#include <string>

// The programmes of this start and the file that keeps them, with the rules of when a save may write: never
// before this start has read its file (it has nothing of its own to write, and the file must not be replaced
// by an empty list), never after the quit's save (what it wrote stays). The dialog shows what it decides.
class ProgramBook
{
public:
    // Names this start's programme file; an empty path (no data folder) saves nothing and fails.
    void Open(std::string path, const FileCalls& calls = StandardFileCalls());
    // One try at reading the file. When it is there but cannot be read, the list stays as it was and the file
    // is read again at the next save.
    ProgramFileRead Load();
    // True while the file is there but has not been read.
    bool Unread() const { return store.Pending(); }

    struct SaveOutcome
    {
        bool saved;  // the programmes are safe (or this start had none of its own to write)
        bool tell;   // the user is to be told that the save failed
        bool relist; // the file's records came in before the list's own: every list position moved...
        std::size_t reselect; // ...and the selected programme now stands here (Size() for none)
    };
    // Writes the list; `selected` is the selected position (Size() for none). A `quiet` save tells nothing.
    SaveOutcome Save(std::size_t selected, bool quiet = false);
    // The save after a change of the list: while saving keeps failing the user is told once, not at every
    // change.
    SaveOutcome SaveChange(std::size_t selected) { return Save(selected, lastSaveFailed); }

    // The quit has made its last save: from then on nothing is written.
    void BeginQuit() { quitBegun = true; }
    bool QuitBegun() const { return quitBegun; }

    ProgramList& Programs() { return programs; }
    const ProgramList& Programs() const { return programs; }
    const std::string& Path() const { return store.Path(); }

private:
    ProgramStore store;
    ProgramList programs;
    bool loaded = false;
    bool quitBegun = false;
    bool lastSaveFailed = false;
};
