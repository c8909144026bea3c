#include "schedule/ProgramList.h"

#include "schedule/TextField.h"

#include <algorithm>

bool SameName(const ProgramRecord& a, const ProgramRecord& b)
{
    return FieldText(a.name) == FieldText(b.name);
}

bool SameSchedule(const ProgramRecord& a, const ProgramRecord& b)
{
    if (a.hour != b.hour || a.minute != b.minute)
        return false;
    for (std::size_t day = 0; day < DaysPerWeek; ++day)
        if (a.days[day] != 0 && b.days[day] != 0)
            return true;
    return false;
}

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

std::vector<std::size_t> ProgramList::MergeFront(const std::vector<ProgramRecord>& loaded)
{
    std::vector<ProgramRecord> mergedRecords(loaded);
    std::vector<Serial> mergedSerials;
    for (std::size_t i = 0; i < loaded.size(); ++i)
        mergedSerials.push_back(nextSerial++);
    std::vector<std::size_t> moved;
    for (std::size_t own = 0; own < records.size(); ++own)
    {
        const auto match = std::find_if(loaded.begin(), loaded.end(), [&](const ProgramRecord& fromFile) {
            return DuplicateOf(fromFile, records[own]);
        });
        if (match != loaded.end())
        {
            moved.push_back(static_cast<std::size_t>(match - loaded.begin()));
            continue;
        }
        moved.push_back(mergedRecords.size());
        mergedRecords.push_back(records[own]);
        mergedSerials.push_back(serials[own]);
    }
    records = std::move(mergedRecords);
    serials = std::move(mergedSerials);
    return moved;
}

void ProgramList::Clear()
{
    records.clear();
    serials.clear();
}
