#pragma once

#include "programs/ProgramRecord.h"

#include <array>

// The in-memory copy of the meter's programs: a fixed table of 100 entries of which the
// first Count() are in use, kept sorted by number by the insertions.
class MeterProgramList {
public:
    static constexpr int kCapacity = 100;

    short Count() const { return m_count; }
    const MeterProgramEntry& Entry(int index) const { return m_entries[index]; }
    MeterProgramEntry& Entry(int index) { return m_entries[index]; }

    // Every entry free, count 0.
    void Reset();
    // Numbers taken from the meter's list: entries 0 .. n-1 get them, count n.
    void SetNumbers(const QStringList& numbers);
    // The index of the entry in use with exactly this number, or -1.
    int Find(const QString& strProgNum) const;
    // Before the first entry whose number compares greater or equal (text order); false
    // for a duplicate number or a full table.
    bool Insert(const MeterProgramEntry& entry);
    // Overwrites the entry with the same number; false when there is none.
    bool Replace(const MeterProgramEntry& entry);
    // Removes the entry and closes the gap; false when the number is not in use.
    bool Remove(const QString& strProgNum);

private:
    std::array<MeterProgramEntry, kCapacity> m_entries{};
    short m_count = 0;
};
