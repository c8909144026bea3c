#include "schedule/FileSystem.h"

#include <io.h>
#include <windows.h>

bool FlushToDisk(std::FILE* f)
{
    return std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool DeleteFileAt(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}
