#include "base/FileSystem.h"

#include "base/Handles_win.h"
#include "base/Text.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <windows.h>

std::FILE* OpenFile(const std::string& path, const char* mode)
{
    return _wfopen(PathToWide(path).c_str(), TextToWide(mode).c_str());
}

bool FlushToDisk(std::FILE* f)
{
    return std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to)
{
    return MoveFileExW(PathToWide(from).c_str(), PathToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool DeleteFileAt(const std::string& path)
{
    return DeleteFileW(PathToWide(path).c_str()) != 0;
}

bool CreateFolder(const std::string& path)
{
    return CreateDirectoryW(PathToWide(path).c_str(), nullptr) != 0;
}

bool ParentFolderExists(const std::string& path)
{
    const std::string::size_type separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return true;
    // "C:\" keeps its separator: "C:" alone would name the drive's current folder.
    const std::string folder =
        path.substr(0, separator == 0 || path[separator - 1] == ':' ? separator + 1 : separator);
    const DWORD attributes = GetFileAttributesW(PathToWide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::FILE* OpenDiskFileForReading(const std::string& path)
{
    // The kind is asked of the open handle before anything is read: "COM1", "AUX" or "C:\any\COM1.slv" (a
    // device in any folder before Windows 11) open as character devices, "\\.\pipe\..." as a pipe.
    UniqueFileHandle handle{CreateFileW(PathToWide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr)};
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

std::vector<std::string> PathArguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(PathFromWide(words[i]));
    LocalFree(words);
    return arguments;
}
