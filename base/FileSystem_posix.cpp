#include "base/FileSystem.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenFile(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

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

bool CreateFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0;
}

bool ParentFolderExists(const std::string& path)
{
    const std::string::size_type separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return true;
    struct stat status = {};
    return stat(path.substr(0, separator == 0 ? 1 : separator).c_str(), &status) == 0 &&
           S_ISDIR(status.st_mode);
}

std::FILE* OpenDiskFileForReading(const std::string& path)
{
    // Without O_NONBLOCK the open itself of a FIFO with no writer would wait.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (descriptor == -1)
        return nullptr;
    struct stat status = {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    {
        close(descriptor);
        return nullptr;
    }
    // Reads of a regular file never block; the flag is cleared all the same.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(descriptor, "rb");
    if (!file)
        close(descriptor);
    return file;
}

std::vector<std::string> PathArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
