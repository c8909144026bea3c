#include "schedule/ProgramFile.h"

#include "base/FileSystem.h"
#include "base/UniqueHandle.h"

#include <cerrno>
#include <new>

const FileCalls& StandardFileCalls()
{
    static const FileCalls calls = {
        [](const char* path, const char* mode) { return OpenFile(path, mode); },
        [](std::FILE* file, long offset, int origin) { return std::fseek(file, offset, origin); },
        [](std::FILE* file) { return std::ftell(file); },
        [](void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
            return std::fread(buffer, size, count, file);
        },
    };
    return calls;
}

ProgramFileRead ReadProgramFile(const std::string& path, std::vector<ProgramRecord>& records,
                                const FileCalls& calls)
{
    if (path.empty())
        return ProgramFileRead::Missing;
    errno = 0;
    UniqueFile file(calls.open(path.c_str(), "rb"));
    if (!file)
        // Only a file that is not there, in a folder that is, is an empty list. One that is there but held
        // by another program (or refused), or whose folder cannot be reached (a share not connected yet: the
        // same "no such file" to the C library), must be read later, never replaced by what this start has.
        return errno == ENOENT && ParentFolderExists(path) ? ProgramFileRead::Missing
                                                           : ProgramFileRead::Unreadable;

    // The whole records in one read: proportionate for a file of any size, and any short read is a failure.
    if (calls.seek(file.Get(), 0, SEEK_END) != 0)
        return ProgramFileRead::Unreadable;
    const long size = calls.tell(file.Get());
    if (size < 0 || calls.seek(file.Get(), 0, SEEK_SET) != 0)
        return ProgramFileRead::Unreadable;
    const std::size_t count = static_cast<std::size_t>(size) / sizeof(ProgramRecord);

    std::vector<ProgramRecord> loaded;
    try
    {
        loaded.resize(count);
    }
    catch (const std::bad_alloc&)
    {
        // More records than this process can hold: the file is kept as it is.
        return ProgramFileRead::Unreadable;
    }
    if (count > 0 && calls.read(loaded.data(), sizeof(ProgramRecord), count, file.Get()) != count)
        return ProgramFileRead::Unreadable;
    records = std::move(loaded);
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
    UniqueFile file(OpenFile(temporary, "wb"));
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
