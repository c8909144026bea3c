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
    std::size_t merged = 0;
    if (pending)
    {
        std::vector<ProgramRecord> records;
        if (ReadProgramFile(path, records, *calls) == ProgramFileRead::Unreadable)
            return {Outcome::NotRead, 0};
        pending = false;
        merged = records.size();
        programs.InsertFront(records);
    }
    if (!WriteProgramFile(path, programs.Data(), programs.Size(), replace))
        return {Outcome::WriteFailed, merged};
    return {Outcome::Saved, merged};
}
