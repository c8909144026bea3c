// Figures for the file formats and the due search at sizes far beyond normal use: a media list of 10 000
// records (beside a plain fread of the same file), the due search over 100 000 programmes, and reading and
// writing a programme file of 100 000 records.
#include "schedule/MediaListFile.h"
#include "schedule/ProgramFile.h"
#include "schedule/ProgramList.h"
#include "schedule/TextField.h"
#include "scheduler/Tick.h"
#include "tools/medialist/MediaListSource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

constexpr std::size_t MediaRecords = 10000;
constexpr std::size_t Programmes = 100000;

// The benchmark files live in one folder for the whole run, removed at exit.
class BenchFolder
{
public:
    BenchFolder()
        : path(std::filesystem::temp_directory_path() / ("chronel-bench-" + std::to_string(std::rand())))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const char* name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

BenchFolder& Folder()
{
    static BenchFolder folder;
    return folder;
}

const std::string& MediaListPath()
{
    static const std::string path = [] {
        std::vector<SourceEntry> entries(MediaRecords);
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            entries[i].title = "Radio Sylvane " + std::to_string(i);
            entries[i].pageUrl = "http://page.example/" + std::to_string(i);
            entries[i].streamUrl = "mms://stream.example/live/" + std::to_string(i);
            entries[i].entryKind = i % 10 == 9 ? 2 : 1;
        }
        const std::vector<unsigned char> image = MediaListImage(entries);
        const std::string file = Folder().File("list.slv");
        std::FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
        return file;
    }();
    return path;
}

std::vector<ProgramRecord> Records()
{
    std::vector<ProgramRecord> records(Programmes);
    for (std::size_t i = 0; i < records.size(); ++i)
    {
        ProgramRecord& r = records[i];
        std::memset(&r, 0, sizeof r);
        SetFieldText(r.name, "Programme " + std::to_string(i));
        SetFieldText(r.media.title, "Radio Sylvane");
        SetFieldText(r.media.streamUrl, "mms://stream.example/live");
        r.days[i % 7] = 1;
        r.hour = static_cast<std::int16_t>(i % 24);
        r.minute = static_cast<std::int16_t>(i % 60);
        r.repeat = 1;
    }
    return records;
}

void ReadMediaList10000(benchmark::State& state)
{
    const std::string& path = MediaListPath();
    for (auto _ : state)
    {
        MediaListResult result = ReadMediaListFile(path);
        benchmark::DoNotOptimize(result.entries.size());
        if (result.entries.size() != MediaRecords / 10 * 9)
            state.SkipWithError("wrong entry count");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * MediaRecords));
}
BENCHMARK(ReadMediaList10000)->Unit(benchmark::kMillisecond);

// The floor for the reader: the same file read with fread into one buffer of `range(0)` bytes, nothing kept.
void RawFreadOfTheMediaList(benchmark::State& state)
{
    const std::string& path = MediaListPath();
    std::vector<unsigned char> buffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
    {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t total = 0, got;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(RawFreadOfTheMediaList)->Arg(9264)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// The tick's search when nothing is due: a scan of the whole list.
void FindFirstDue100000(benchmark::State& state)
{
    ProgramList programs;
    programs.Replace(Records());
    for (auto _ : state)
    {
        std::size_t due = FindFirstDue(programs, 0, 25, 0);
        benchmark::DoNotOptimize(due);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Programmes));
}
BENCHMARK(FindFirstDue100000)->Unit(benchmark::kMicrosecond);

void ReadProgramFile100000(benchmark::State& state)
{
    const std::vector<ProgramRecord> records = Records();
    const std::string path = Folder().File("read.chronel");
    if (!WriteProgramFile(path, records.data(), records.size()))
        state.SkipWithError("cannot write the file");
    for (auto _ : state)
    {
        // Into an empty list each time, as at start-up.
        std::vector<ProgramRecord> loaded;
        ReadProgramFile(path, loaded);
        benchmark::DoNotOptimize(loaded.data());
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * Programmes * sizeof(ProgramRecord)));
}
BENCHMARK(ReadProgramFile100000)->MinTime(3)->Unit(benchmark::kMillisecond);

// Includes the flush to disk that every save makes before replacing the earlier file.
void WriteProgramFile100000(benchmark::State& state)
{
    const std::vector<ProgramRecord> records = Records();
    const std::string path = Folder().File("write.chronel");
    for (auto _ : state)
    {
        if (!WriteProgramFile(path, records.data(), records.size()))
            state.SkipWithError("cannot write the file");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * Programmes * sizeof(ProgramRecord)));
}
BENCHMARK(WriteProgramFile100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
