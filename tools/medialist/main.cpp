// medialist: builds media list files from text and shows what the scheduler would offer from one.
#include "tools/medialist/MediaListSource.h"

#include "schedule/FileSystem.h"
#include "schedule/MediaListFile.h"
#include "schedule/TextField.h"
#include "schedule/UniqueHandle.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace
{

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1; // a file that cannot be opened, read or written
constexpr int ExitBad = 2;    // bad input, an invalid media list, or a wrong command line

const char* const Usage =
    "usage: medialist build IN.tsv OUT.slv\n"
    "       medialist dump FILE\n"
    "\n"
    "build   writes a media list file (header values 1 and 64) with one record per line of IN.tsv:\n"
    "          title<TAB>pageUrl<TAB>streamUrl[<TAB>entryKind]\n"
    "        IN.tsv is UTF-8 (a byte-order mark and CR LF line ends are fine; empty lines are skipped).\n"
    "        Texts are converted to code page 1252, in which the files hold them: a character outside\n"
    "        code page 1252, a missing field or a field of 260 bytes or more once converted is an error.\n"
    "        entryKind is 0 to 65535, 0 when left out; the scheduler never offers kind 2.\n"
    "        On any error nothing is written and the exit status is 2.\n"
    "dump    prints the entries the scheduler would offer, in file order, one per line:\n"
    "          title<TAB>pageUrl<TAB>streamUrl\n"
    "        as raw code page 1252 bytes. Exit status 0 when the file loads (even with no entries),\n"
    "        1 when it cannot be opened, 2 when it is not a valid media list.\n";

bool ReadWholeFile(const std::string& path, std::string& content)
{
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    content.clear();
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.Get())) > 0)
        content.append(buffer, got);
    return !std::ferror(file.Get());
}

// Writes beside the target and moves into place, so a failure never leaves a partial file at `path`.
bool WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    const std::string temporary = path + ".partial";
    UniqueFile file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
    written = std::fclose(file.Release()) == 0 && written;
    if (written && MoveFileOver(temporary, path))
        return true;
    DeleteFileAt(temporary);
    return false;
}

int Build(const std::string& in, const std::string& out)
{
    std::string text;
    if (!ReadWholeFile(in, text))
    {
        std::fprintf(stderr, "medialist: cannot read %s\n", in.c_str());
        return ExitFailed;
    }
    std::vector<SourceEntry> entries;
    SourceError error;
    if (!ParseMediaListSource(text, entries, error))
    {
        std::fprintf(stderr, "medialist: %s: line %lu: %s; nothing written\n", in.c_str(),
                     static_cast<unsigned long>(error.line), error.message.c_str());
        return ExitBad;
    }
    if (!WriteWholeFile(out, MediaListImage(entries)))
    {
        std::fprintf(stderr, "medialist: cannot write %s\n", out.c_str());
        return ExitFailed;
    }
    std::fprintf(stderr, "medialist: %s: %lu entries written\n", out.c_str(),
                 static_cast<unsigned long>(entries.size()));
    return ExitOk;
}

void PrintField(const char (&field)[TextFieldSize])
{
    const std::string_view text = FieldText(field);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Dump(const std::string& path)
{
    const MediaListResult result = ReadMediaListFile(path);
    switch (result.outcome)
    {
    case MediaListRead::NotOpened:
        std::fprintf(stderr, "medialist: cannot open %s\n", path.c_str());
        return ExitFailed;
    case MediaListRead::NotValid:
        std::fprintf(stderr, "medialist: %s is not a valid media list (header)\n", path.c_str());
        return ExitBad;
    case MediaListRead::Loaded: break;
    }
#if defined(_WIN32)
    // The same bytes on every platform: no CR added before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    for (const MediaEntry& entry : result.entries)
    {
        PrintField(entry.title);
        std::fputc('\t', stdout);
        PrintField(entry.pageUrl);
        std::fputc('\t', stdout);
        PrintField(entry.streamUrl);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0)
    {
        std::fprintf(stderr, "medialist: cannot write the entries\n");
        return ExitFailed;
    }
    std::fprintf(stderr, "medialist: %s: %lu entries\n", path.c_str(),
                 static_cast<unsigned long>(result.entries.size()));
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "build") == 0)
        return Build(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return Dump(argv[2]);
    std::fputs(Usage, stderr);
    return ExitBad;
}
