#include "schedule/FileSystem.h"

#include <cstdio>
#include <unistd.h>

bool FlushToDisk(std::FILE* f)
{
    return std::fflush(f) == 0 && fsync(fileno(f)) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool DeleteFileAt(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
}
