#pragma once

#include "schedule/ProgramRecord.h"

#include <cstdint>
#include <vector>

// The editor's rule against duplicates: two programmes with the same name, or due at the same hour and minute
// on a day they share, are never both in the list.
bool SameName(const ProgramRecord& a, const ProgramRecord& b);
bool SameSchedule(const ProgramRecord& a, const ProgramRecord& b);
inline bool DuplicateOf(const ProgramRecord& a, const ProgramRecord& b)
{
    return SameName(a, b) || SameSchedule(a, b);
}

// The programmes in insertion order. Besides its position, each record carries a serial number of its own so
// that code holding on to a record across a nested message loop can find it again (or learn it is gone)
// after other records were removed in between.
class ProgramList
{
public:
    using Serial = std::uint64_t;

    std::size_t Size() const { return records.size(); }
    bool Empty() const { return records.empty(); }
    const ProgramRecord& operator[](std::size_t index) const { return records[index]; }
    const ProgramRecord* Data() const { return records.data(); }
    const std::vector<ProgramRecord>& Records() const { return records; }
    Serial SerialAt(std::size_t index) const { return serials[index]; }

    Serial Append(const ProgramRecord& record);
    void RemoveAt(std::size_t index);
    // Position of the record with this serial, or Size() when it is no longer in the list.
    std::size_t Find(Serial serial) const;
    // Takes the loaded records.
    void Replace(std::vector<ProgramRecord> loaded);
    // Puts the file's `loaded` records before the records already here, which keep their serials. A record
    // already here that the editor would have refused beside a loaded one (DuplicateOf) gives way to it, so
    // that a programme added again while the file could not be read is kept once. Returns where each record
    // that was here now stands: one that gave way, at the loaded record it matched.
    std::vector<std::size_t> MergeFront(const std::vector<ProgramRecord>& loaded);
    void Clear();

private:
    std::vector<ProgramRecord> records;
    std::vector<Serial> serials;
    Serial nextSerial = 1;
};
