#include "schedule/MediaEntries.h"

#include <cstring>

namespace
{

// How many bytes of a 260-byte field matter: up to its last non-zero byte. The usual field is a text and
// zeros, found with one search for the first zero and one comparison of the rest with zeros.
std::uint16_t KeptLength(const char* field)
{
    static const char zeros[TextFieldSize] = {};
    const void* zero = std::memchr(field, 0, TextFieldSize);
    if (!zero)
        return static_cast<std::uint16_t>(TextFieldSize);
    const std::size_t text = static_cast<std::size_t>(static_cast<const char*>(zero) - field);
    if (std::memcmp(field + text, zeros, TextFieldSize - text) == 0)
        return static_cast<std::uint16_t>(text);
    std::size_t length = TextFieldSize;
    while (field[length - 1] == 0)
        --length;
    return static_cast<std::uint16_t>(length);
}

} // namespace

const char* MediaEntries::FieldAt(const Slot& slot, Field field) const
{
    std::size_t at = slot.start;
    for (int before = TitleField; before < field; ++before)
        at += slot.length[before];
    return bytes.data() + at;
}

MediaEntry MediaEntries::operator[](std::size_t index) const
{
    const Slot& slot = slots[index];
    MediaEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.title, FieldAt(slot, TitleField), slot.length[TitleField]);
    std::memcpy(entry.pageUrl, FieldAt(slot, PageField), slot.length[PageField]);
    std::memcpy(entry.streamUrl, FieldAt(slot, StreamField), slot.length[StreamField]);
    return entry;
}

std::string_view MediaEntries::Title(std::size_t index) const
{
    const Slot& slot = slots[index];
    const char* title = FieldAt(slot, TitleField);
    const std::size_t bound =
        slot.length[TitleField] < TextFieldSize - 1 ? slot.length[TitleField] : TextFieldSize - 1;
    const void* zero = std::memchr(title, 0, bound);
    return {title, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - title) : bound};
}

void MediaEntries::Append(const char* title, const char* pageUrl, const char* streamUrl)
{
    Slot slot;
    slot.start = static_cast<std::uint32_t>(bytes.size());
    const char* const fields[FieldCount] = {title, pageUrl, streamUrl};
    for (int field = TitleField; field < FieldCount; ++field)
    {
        slot.length[field] = KeptLength(fields[field]);
        bytes.insert(bytes.end(), fields[field], fields[field] + slot.length[field]);
    }
    slots.push_back(slot);
}

void MediaEntries::shrink_to_fit()
{
    slots.shrink_to_fit();
    bytes.shrink_to_fit();
}
