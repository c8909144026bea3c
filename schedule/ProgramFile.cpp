#include "schedule/ProgramFile.h"

#include "schedule/FileSystem.h"
#include "schedule/UniqueHandle.h"

ProgramFileRead ReadProgramFile(const std::string& path, std::vector<ProgramRecord>& records)
{
    if (path.empty())
        return ProgramFileRead::NotOpened;
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return ProgramFileRead::NotOpened;

    records.clear();
    // Room for every whole record at once: a large file would otherwise be copied again at each growth.
    if (std::fseek(file.Get(), 0, SEEK_END) == 0)
    {
        const long size = std::ftell(file.Get());
        if (size > 0)
            records.reserve(static_cast<std::size_t>(size) / sizeof(ProgramRecord));
        std::fseek(file.Get(), 0, SEEK_SET);
    }
    ProgramRecord record;
    while (std::fread(&record, sizeof record, 1, file.Get()) == 1)
        records.push_back(record);
    return ProgramFileRead::Read;
}

bool WriteProgramFile(const std::string& path, const ProgramRecord* records, std::size_t count,
                      ReplaceFileFn replace)
{
    if (path.empty())
        return false;
    if (!replace)
        replace = MoveFileOver;

    const std::string temporary = path + ".tmp";
    UniqueFile file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        return false;

    bool written = count == 0 || std::fwrite(records, sizeof(ProgramRecord), count, file.Get()) == count;
    written = written && FlushToDisk(file.Get());
    written = std::fclose(file.Release()) == 0 && written;
    if (written && replace(temporary, path))
        return true;

    DeleteFileAt(temporary);
    return false;
}
