#pragma once

#include "schedule/ProgramRecord.h"

#include <cstdint>
#include <vector>

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
    // Puts `loaded` before the records already here, which keep their serials.
    void InsertFront(const std::vector<ProgramRecord>& loaded);
    void Clear();

private:
    std::vector<ProgramRecord> records;
    std::vector<Serial> serials;
    Serial nextSerial = 1;
};
