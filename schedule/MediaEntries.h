#pragma once

#include "schedule/ProgramRecord.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

// The entries of a loaded media list, kept compactly: each 260-byte field without its trailing zero bytes,
// all of them in one block. An entry comes back as the same 780 bytes the file held, bytes after the text
// included, so a programme built from it is the same record byte for byte; a long list costs what its texts
// hold, not 780 bytes an entry.
class MediaEntries
{
public:
    std::size_t size() const { return slots.size(); }
    bool empty() const { return slots.empty(); }
    // The entry as the file held it.
    MediaEntry operator[](std::size_t index) const;
    // The title as it is shown and compared: never past its field, at most 259 characters.
    std::string_view Title(std::size_t index) const;

    void push_back(const MediaEntry& entry) { Append(entry.title, entry.pageUrl, entry.streamUrl); }
    // Appends the entry whose three 260-byte fields start at these addresses.
    void Append(const char* title, const char* pageUrl, const char* streamUrl);
    // Empties the list and gives its memory back.
    void clear()
    {
        slots = {};
        bytes = {};
    }
    // Gives back the room kept for further entries.
    void shrink_to_fit();

    class const_iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = MediaEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = MediaEntry;

        const_iterator(const MediaEntries& entries, std::size_t index) : entries(&entries), index(index) {}
        MediaEntry operator*() const { return (*entries)[index]; }
        const_iterator& operator++()
        {
            ++index;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return index == other.index; }
        bool operator!=(const const_iterator& other) const { return index != other.index; }

    private:
        const MediaEntries* entries;
        std::size_t index;
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

private:
    enum Field
    {
        TitleField,
        PageField,
        StreamField,
        FieldCount
    };
    struct Slot
    {
        std::uint32_t start;              // of the title in `bytes`; the two addresses follow it
        std::uint16_t length[FieldCount]; // bytes kept of each field: up to its last non-zero byte
    };
    const char* FieldAt(const Slot& slot, Field field) const;

    std::vector<Slot> slots;
    std::vector<char> bytes;
};
