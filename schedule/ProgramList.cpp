#include "schedule/ProgramList.h"

#include <algorithm>

ProgramList::Serial ProgramList::Append(const ProgramRecord& record)
{
    records.push_back(record);
    serials.push_back(nextSerial);
    return nextSerial++;
}

void ProgramList::RemoveAt(std::size_t index)
{
    if (index >= records.size())
        return;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
    serials.erase(serials.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t ProgramList::Find(Serial serial) const
{
    return static_cast<std::size_t>(std::find(serials.begin(), serials.end(), serial) - serials.begin());
}

void ProgramList::Replace(std::vector<ProgramRecord> loaded)
{
    records = std::move(loaded);
    serials.clear();
    for (std::size_t i = 0; i < records.size(); ++i)
        serials.push_back(nextSerial++);
}

void ProgramList::InsertFront(const std::vector<ProgramRecord>& loaded)
{
    records.insert(records.begin(), loaded.begin(), loaded.end());
    std::vector<Serial> front;
    for (std::size_t i = 0; i < loaded.size(); ++i)
        front.push_back(nextSerial++);
    serials.insert(serials.begin(), front.begin(), front.end());
}

void ProgramList::Clear()
{
    records.clear();
    serials.clear();
}
