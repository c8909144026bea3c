#include "schedule/FileSystem.h"

#include "base/Handles_win.h"

#include <fcntl.h>
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

bool ParentFolderExists(const std::string& path)
{
    const std::string::size_type separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return true;
    // "C:\" keeps its separator: "C:" alone would name the drive's current folder.
    const std::string folder =
        path.substr(0, separator == 0 || path[separator - 1] == ':' ? separator + 1 : separator);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::FILE* OpenDiskFileForReading(const std::string& path)
{
    // The kind is asked of the open handle before anything is read: "COM1", "AUX" or "C:\any\COM1.slv" (a
    // device in any folder before Windows 11) open as character devices, "\\.\pipe\..." as a pipe.
    UniqueFileHandle handle{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!handle || GetFileType(handle.Get()) != FILE_TYPE_DISK)
        return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle.Get()), _O_RDONLY | _O_BINARY);
    if (descriptor == -1)
        return nullptr;
    // The descriptor owns the handle now.
    handle.Release();
    std::FILE* file = _fdopen(descriptor, "rb");
    if (!file)
        _close(descriptor);
    return file;
}
