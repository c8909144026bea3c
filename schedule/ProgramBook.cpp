#include "schedule/ProgramBook.h"

void ProgramBook::Open(std::string path, const FileCalls& calls)
{
    store = ProgramStore(std::move(path), calls);
}

ProgramFileRead ProgramBook::Load()
{
    loaded = true;
    return store.Load(programs);
}

ProgramBook::SaveOutcome ProgramBook::Save(std::size_t selected, bool quiet)
{
    if (quitBegun)
        return {!lastSaveFailed, false, false, programs.Size()};
    if (!loaded)
        return {true, false, false, programs.Size()};
    const ProgramStore::SaveResult result = store.Save(programs);
    lastSaveFailed = result.outcome != ProgramStore::Outcome::Saved;
    bool relist = result.merged && result.moved.size() != programs.Size();
    for (std::size_t i = 0; i < result.moved.size(); ++i)
        relist = relist || result.moved[i] != i;
    const std::size_t reselect = selected < result.moved.size() ? result.moved[selected] : programs.Size();
    return {!lastSaveFailed, lastSaveFailed && !quiet, relist, reselect};
}
