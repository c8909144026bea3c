#include "schedule/MediaListFile.h"

#include "base/FileSystem.h"
#include "base/UniqueHandle.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{

using namespace MediaListLayout;

std::uint32_t U32At(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

unsigned U16At(const unsigned char* bytes)
{
    return static_cast<unsigned>(bytes[0]) | static_cast<unsigned>(bytes[1]) << 8;
}

// Whether a record is offered, tested in this order: its kind, then an empty title, then an empty stream
// address. An empty page address is fine.
bool IsOffered(const unsigned char* record)
{
    return U16At(record + EntryKindOffset) != SkippedEntryKind && record[TitleOffset] != 0 &&
           record[StreamUrlOffset] != 0;
}

// Whole fields are kept, tail bytes included; a field without a zero stays 260 bytes long and is bounded
// wherever it is read as text.
void KeepEntry(const unsigned char* record, MediaEntries& entries)
{
    const char* bytes = reinterpret_cast<const char*>(record);
    entries.Append(bytes + TitleOffset, bytes + PageUrlOffset, bytes + StreamUrlOffset);
}

// Records are read this many at a time: few calls into the system for a list of thousands, and a buffer
// small enough to come and go.
constexpr std::size_t RecordsPerRead = 16;

// `read(buffer, size)` fills the buffer as far as the source allows and returns how many bytes it gave.
// One buffer serves the whole file, so memory grows only with the accepted entries.
template <typename Read> MediaListResult ReadWith(Read read)
{
    MediaListResult result{MediaListRead::NotValid, {}};

    unsigned char header[HeaderSize] = {};
    const std::size_t headerBytes = read(header, HeaderSize);
    if (headerBytes < HeaderCheckedSize || U32At(header) == 0 || U32At(header + 4) != HeaderSize)
        return result;

    result.outcome = MediaListRead::Loaded;
    if (headerBytes < HeaderSize)
        return result;

    static_assert(PageUrlOffset + TextFieldSize <= RecordSize);
    std::vector<unsigned char> block(RecordsPerRead * RecordSize);
    std::size_t given = block.size();
    // A short read ends the file; a fragment shorter than a record after the last whole one is dropped.
    while (given == block.size())
    {
        given = read(block.data(), block.size());
        for (std::size_t at = 0; at + RecordSize <= given; at += RecordSize)
            if (IsOffered(block.data() + at))
                KeepEntry(block.data() + at, result.entries);
    }
    result.entries.shrink_to_fit();
    return result;
}

} // namespace

MediaListResult ReadMediaList(std::FILE* file)
{
    return ReadWith(
        [file](unsigned char* buffer, std::size_t size) { return std::fread(buffer, 1, size, file); });
}

MediaListResult ReadMediaListBytes(const unsigned char* data, std::size_t size)
{
    std::size_t position = 0;
    return ReadWith([&](unsigned char* buffer, std::size_t wanted) {
        const std::size_t given = std::min(wanted, size - position);
        if (given > 0)
            std::memcpy(buffer, data + position, given);
        position += given;
        return given;
    });
}

MediaListResult ReadMediaListFile(const std::string& path)
{
    if (path.empty())
        return {MediaListRead::NotOpened, {}};
    // Only a file on a disk: a device or a pipe named as the list could keep the first read waiting for ever.
    UniqueFile file(OpenDiskFileForReading(path));
    if (!file)
        return {MediaListRead::NotOpened, {}};
    MediaListResult result = ReadMediaList(file.Get());
    // A read that fails (a file on a share that went away) is a file that cannot be opened, not an invalid
    // one.
    if (result.outcome == MediaListRead::NotValid && std::ferror(file.Get()))
        result.outcome = MediaListRead::NotOpened;
    return result;
}
