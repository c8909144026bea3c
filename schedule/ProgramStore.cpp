#include "schedule/ProgramStore.h"

ProgramFileRead ProgramStore::Load(ProgramList& programs)
{
    std::vector<ProgramRecord> records;
    const ProgramFileRead read = ReadProgramFile(path, records, *calls);
    pending = read == ProgramFileRead::Unreadable;
    if (!pending)
        programs.Replace(std::move(records));
    return read;
}

ProgramStore::SaveResult ProgramStore::Save(ProgramList& programs, ReplaceFileFn replace)
{
    std::vector<std::size_t> moved;
    const bool merged = pending;
    if (pending)
    {
        std::vector<ProgramRecord> records;
        if (ReadProgramFile(path, records, *calls) == ProgramFileRead::Unreadable)
            return {Outcome::NotRead, false, {}};
        pending = false;
        moved = programs.MergeFront(records);
    }
    const Outcome outcome = WriteProgramFile(path, programs.Data(), programs.Size(), replace)
                                ? Outcome::Saved
                                : Outcome::WriteFailed;
    return {outcome, merged, std::move(moved)};
}
