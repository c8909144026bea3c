#pragma once

#include "schedule/MediaEntries.h"
#include "schedule/ProgramRecord.h"

#include <cstddef>
#include <cstdio>
#include <string>

// Media list files ("*.slv", "*.tsl"): a 64-byte header, then 9264-byte records until fewer remain.
// All integers little-endian. Only the first 8 header bytes and four fields of each record are read.
namespace MediaListLayout
{
constexpr std::size_t HeaderSize = 64;
constexpr std::size_t HeaderCheckedSize = 8; // first value (at least 1), then the header size (64)
constexpr std::size_t RecordSize = 9264;
constexpr std::size_t EntryKindOffset = 0; // 16-bit; kind 2 is never offered
constexpr std::size_t TitleOffset = 2;
constexpr std::size_t StreamUrlOffset = 522; // the stream comes before the page in the file
constexpr std::size_t PageUrlOffset = 782;
constexpr unsigned SkippedEntryKind = 2;
} // namespace MediaListLayout

enum class MediaListRead
{
    NotOpened, // no such file, no access, empty path, not a file on a disk (a device, a pipe)
    NotValid,  // fewer than 8 bytes, first value 0 or second value not 64
    Loaded,    // header passed; `entries` holds the accepted records (possibly none)
};

struct MediaListResult
{
    MediaListRead outcome;
    MediaEntries entries; // in file order; each entry gives back the file's 3 x 260 bytes as they are
};

MediaListResult ReadMediaListFile(const std::string& path);

// The same reading over a stream opened for binary reading, from its current position; never NotOpened.
MediaListResult ReadMediaList(std::FILE* file);

// The same reading over bytes in memory; never NotOpened.
MediaListResult ReadMediaListBytes(const unsigned char* data, std::size_t size);
