// medialist: builds media list files from text and shows what the scheduler would offer from one.
#include "tools/medialist/MediaListSource.h"

#include "base/FileSystem.h"
#include "schedule/MediaListFile.h"
#include "schedule/TextField.h"
#include "base/UniqueHandle.h"

#include <cerrno>
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
    "       medialist dump [--raw] FILE\n"
    "       medialist --help\n"
    "\n"
    "build   writes a media list file (header values 1 and 64) with one record per line of IN.tsv:\n"
    "          title<TAB>pageUrl<TAB>streamUrl[<TAB>entryKind]\n"
    "        IN.tsv is UTF-8 (a byte-order mark and CR LF line ends are fine; empty lines are skipped).\n"
    "        Texts are converted to code page 1252, in which the files hold them: a character outside\n"
    "        code page 1252, a missing field or a field of 260 bytes or more once converted is an error.\n"
    "        entryKind is 0 to 65535, 0 when left out. Every bad line is reported (FILE:LINE: field:\n"
    "        reason); then nothing is written and the exit status is 2. Entries the scheduler will not\n"
    "        offer (entryKind 2, an empty title or stream address) are written, each with a warning.\n"
    "dump    prints the entries the scheduler would offer, in file order, one per line:\n"
    "          title<TAB>pageUrl<TAB>streamUrl\n"
    "        in UTF-8, or with --raw as the file's own code page 1252 bytes. Exit status 0 when the\n"
    "        file loads (even with no entries), 1 when it cannot be opened, 2 when it is not a valid\n"
    "        media list.\n";

// A command line that makes no sense: what was wrong, then the usage.
int WrongCommandLine(const std::string& what)
{
    std::fprintf(stderr, "medialist: %s\n\n%s", what.c_str(), Usage);
    return ExitBad;
}

// The system's reason for the last failed file operation.
const char* Reason()
{
    return errno != 0 ? std::strerror(errno) : "unknown reason";
}

const char* Entries(std::size_t count)
{
    return count == 1 ? "entry" : "entries";
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    UniqueFile file(OpenFile(path, "rb"));
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
    UniqueFile file(OpenFile(temporary, "wb"));
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
    errno = 0;
    if (!ReadWholeFile(in, text))
    {
        std::fprintf(stderr, "medialist: cannot read %s: %s\n", in.c_str(), Reason());
        return ExitFailed;
    }
    std::vector<SourceEntry> entries;
    SourceReport report;
    const bool parsed = ParseMediaListSource(text, entries, report);
    for (const SourceError& error : report.errors)
        std::fprintf(stderr, "%s:%lu: %s\n", in.c_str(), static_cast<unsigned long>(error.line),
                     error.message.c_str());
    if (!parsed)
    {
        std::fprintf(stderr, "medialist: %lu bad line%s in %s; nothing written\n",
                     static_cast<unsigned long>(report.errors.size()), report.errors.size() == 1 ? "" : "s",
                     in.c_str());
        return ExitBad;
    }
    for (const SourceError& warning : report.warnings)
        std::fprintf(stderr, "%s:%lu: warning: %s\n", in.c_str(), static_cast<unsigned long>(warning.line),
                     warning.message.c_str());
    errno = 0;
    if (!WriteWholeFile(out, MediaListImage(entries)))
    {
        std::fprintf(stderr, "medialist: cannot write %s: %s\n", out.c_str(), Reason());
        return ExitFailed;
    }
    std::fprintf(stderr, "medialist: %s: %lu %s written\n", out.c_str(),
                 static_cast<unsigned long>(entries.size()), Entries(entries.size()));
    return ExitOk;
}

void PrintField(const char (&field)[TextFieldSize], bool raw)
{
    const std::string_view text = FieldText(field);
    const std::string shown = raw ? std::string(text) : Cp1252ToUtf8(text);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
}

int Dump(const std::string& path, bool raw)
{
    errno = 0;
    const MediaListResult result = ReadMediaListFile(path);
    switch (result.outcome)
    {
    case MediaListRead::NotOpened:
        std::fprintf(stderr, "medialist: cannot open %s: %s\n", path.c_str(), Reason());
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
        PrintField(entry.title, raw);
        std::fputc('\t', stdout);
        PrintField(entry.pageUrl, raw);
        std::fputc('\t', stdout);
        PrintField(entry.streamUrl, raw);
        std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0)
    {
        std::fprintf(stderr, "medialist: cannot write the entries\n");
        return ExitFailed;
    }
    std::fprintf(stderr, "medialist: %s: %lu %s\n", path.c_str(),
                 static_cast<unsigned long>(result.entries.size()), Entries(result.entries.size()));
    return ExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args = PathArguments(argc, argv);
    if (args.empty())
        return WrongCommandLine("no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h")
    {
        std::fputs(Usage, stdout);
        return ExitOk;
    }
    if (command == "build")
    {
        if (args.size() != 3)
            return WrongCommandLine("build takes two files, IN.tsv and OUT.slv");
        return Build(args[1], args[2]);
    }
    if (command == "dump")
    {
        const bool raw = args.size() == 3 && args[1] == "--raw";
        if (args.size() != (raw ? 3u : 2u))
            return WrongCommandLine("dump takes one file, after --raw if given");
        return Dump(args.back(), raw);
    }
    return WrongCommandLine("unknown command \"" + command + "\"");
}
