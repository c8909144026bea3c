// Fuzzes the media list reader: any bytes give an outcome and entries that match a plain reading of the
// layout, from memory and through a stream alike, without reading past anything.
#include "schedule/MediaListFile.h"
#include "schedule/TextField.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::uint32_t U32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The records a reader must accept, straight from the layout.
std::vector<const std::uint8_t*> AcceptedRecords(const std::uint8_t* data, std::size_t size)
{
    std::vector<const std::uint8_t*> accepted;
    for (std::size_t at = 64; size >= at + 9264; at += 9264)
    {
        const std::uint8_t* record = data + at;
        const unsigned kind = record[0] | record[1] << 8;
        if (kind != 2 && record[2] != 0 && record[522] != 0)
            accepted.push_back(record);
    }
    return accepted;
}

void CheckAgainstLayout(const MediaListResult& result, const std::uint8_t* data, std::size_t size)
{
    const bool valid = size >= 8 && U32(data) != 0 && U32(data + 4) == 64;
    Require(result.outcome == (valid ? MediaListRead::Loaded : MediaListRead::NotValid));
    if (!valid)
    {
        Require(result.entries.empty());
        return;
    }
    const std::vector<const std::uint8_t*> accepted = AcceptedRecords(data, size);
    Require(result.entries.size() == accepted.size());
    for (std::size_t i = 0; i < accepted.size(); ++i)
    {
        const MediaEntry& entry = result.entries[i];
        Require(std::memcmp(entry.title, accepted[i] + 2, 260) == 0);
        Require(std::memcmp(entry.streamUrl, accepted[i] + 522, 260) == 0);
        Require(std::memcmp(entry.pageUrl, accepted[i] + 782, 260) == 0);
        Require(FieldText(entry.title).size() < 260 && !FieldText(entry.title).empty());
        Require(FieldText(entry.pageUrl).size() < 260);
        Require(FieldText(entry.streamUrl).size() < 260 && !FieldText(entry.streamUrl).empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The reader gets its own exact copy, so a read past the end is caught.
    const std::vector<std::uint8_t> copy(data, data + size);
    const MediaListResult fromMemory = ReadMediaListBytes(copy.data(), copy.size());
    CheckAgainstLayout(fromMemory, data, size);

    if (size > 0)
    {
        std::FILE* stream = fmemopen(const_cast<std::uint8_t*>(copy.data()), copy.size(), "rb");
        Require(stream != nullptr);
        const MediaListResult fromStream = ReadMediaList(stream);
        std::fclose(stream);
        CheckAgainstLayout(fromStream, data, size);
    }
    return 0;
}
