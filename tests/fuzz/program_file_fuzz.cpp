// Fuzzes the programme file reader and writer and what the scheduler makes of any record: whole records only,
// a byte-exact round trip, texts bounded to their fields, a well-formed playlist and at most one firing per
// check.
#include "schedule/ProgramFile.h"
#include "schedule/ProgramList.h"
#include "schedule/TextField.h"
#include "scheduler/Playlist.h"
#include "scheduler/Tick.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A private folder, on a memory file system when there is one: the writer flushes every save to disk.
const std::string& WorkFolder()
{
    static const std::string folder = [] {
        std::string pattern =
            (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/chronel-fuzz-XXXXXX");
        Require(mkdtemp(pattern.data()) != nullptr);
        return pattern;
    }();
    static const bool cleanUpAtExit = [] {
        std::atexit([] {
            std::remove((folder + "/programs.chronel").c_str());
            rmdir(folder.c_str());
        });
        return true;
    }();
    (void)cleanUpAtExit;
    return folder;
}

std::vector<std::uint8_t> ReadAll(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb"))
    {
        std::uint8_t buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
        std::fclose(f);
    }
    return bytes;
}

std::string Bounded(const char (&field)[TextFieldSize])
{
    return std::string(field, strnlen(field, TextFieldSize - 1));
}

std::size_t Count(const std::string& text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

void CheckTexts(const ProgramRecord& record)
{
    const std::string question = ConfirmationQuestion(record);
    Require(question == "Souhaitez vous \xC3\xA9"
                        "couter [" +
                            Bounded(record.name) + "] sur [" + Bounded(record.media.title) + "] ?" ||
            question == "Souhaitez vous \xE9"
                        "couter [" +
                            Bounded(record.name) + "] sur [" + Bounded(record.media.title) + "] ?");

    // Whatever the texts hold, the markup stays the template's: 10 tags and 8 attribute quotes, and every
    // ampersand starts an entity.
    const std::string playlist = PlaylistText(record);
    Require(Count(playlist, '<') == 10 && Count(playlist, '>') == 10 && Count(playlist, '"') == 8);
    for (std::size_t at = playlist.find('&'); at != std::string::npos; at = playlist.find('&', at + 1))
    {
        const std::string rest = playlist.substr(at, 6);
        Require(rest.rfind("&amp;", 0) == 0 || rest.rfind("&lt;", 0) == 0 || rest.rfind("&gt;", 0) == 0 ||
                rest.rfind("&quot;", 0) == 0);
    }
    Require(playlist.size() <= 179 + 4 * 259 * 6);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = WorkFolder() + "/programs.chronel";
    if (std::FILE* f = std::fopen(path.c_str(), "wb"))
    {
        Require(std::fwrite(data, 1, size, f) == size);
        std::fclose(f);
    }

    std::vector<ProgramRecord> records;
    Require(ReadProgramFile(path, records) == ProgramFileRead::Read);
    Require(records.size() == size / sizeof(ProgramRecord));
    Require(records.empty() ||
            std::memcmp(records.data(), data, records.size() * sizeof(ProgramRecord)) == 0);

    Require(WriteProgramFile(path, records.data(), records.size()));
    const std::vector<std::uint8_t> written = ReadAll(path);
    Require(written.size() == records.size() * sizeof(ProgramRecord));
    Require(written.empty() || std::memcmp(written.data(), data, written.size()) == 0);

    for (const ProgramRecord& record : records)
    {
        // Each record alone in an allocation of its own size, so that reading past it is caught.
        const auto alone = std::make_unique<ProgramRecord>(record);
        CheckTexts(*alone);
    }

    // Each record's own time is checked on every day: at most one programme fires per check, and only a
    // non-repeating one leaves the list.
    ProgramList programs;
    programs.Replace(records);
    SchedulerTick tick;
    struct Hooks : TickHooks
    {
        int launches = 0;
        void ShowClock(const std::string&) override {}
        LaunchResult Launch(const ProgramRecord&) override
        {
            ++launches;
            return LaunchResult::Started;
        }
        void ProgramRemoved(std::size_t) override {}
    } hooks;
    for (const ProgramRecord& record : records)
    {
        for (int day = 0; day < 7; ++day)
        {
            const std::size_t before = programs.Size();
            const int launchesBefore = hooks.launches;
            const int fired = tick.OnTimer(1, 1, true, {day, record.hour, record.minute}, programs, hooks);
            Require(hooks.launches - launchesBefore == fired);
            Require(programs.Size() == before || (fired == 1 && programs.Size() == before - 1));
            tick.OnTimer(1, 1, true, {day, 99, 99}, programs,
                         hooks); // leave the minute so the next is checked
        }
    }
    return 0;
}
