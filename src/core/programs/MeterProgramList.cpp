#include "programs/MeterProgramList.h"

#include <algorithm>

void MeterProgramList::Reset() {
    m_entries.fill(MeterProgramEntry{});
    m_count = 0;
}

void MeterProgramList::SetNumbers(const QStringList& numbers) {
    Reset();
    const auto n = std::min<qsizetype>(numbers.size(), kCapacity);
    for (qsizetype i = 0; i < n; ++i) {
        m_entries[i].fields[0] = numbers[i];
    }
    m_count = static_cast<short>(n);
}

int MeterProgramList::Find(const QString& strProgNum) const {
    for (int i = 0; i < m_count; ++i) {
        if (m_entries[i].No() == strProgNum) {
            return i;
        }
    }
    return -1;
}

bool MeterProgramList::Insert(const MeterProgramEntry& entry) {
    if (m_count >= kCapacity) {
        return false;
    }
    int position = 0;
    while (position < m_count && m_entries[position].No() < entry.No()) {
        ++position;
    }
    if (position < m_count && m_entries[position].No() == entry.No()) {
        return false;
    }
    std::move_backward(m_entries.begin() + position, m_entries.begin() + m_count,
                       m_entries.begin() + m_count + 1);
    m_entries[position] = entry;
    ++m_count;
    return true;
}

bool MeterProgramList::Replace(const MeterProgramEntry& entry) {
    const int index = Find(entry.No());
    if (index < 0) {
        return false;
    }
    m_entries[index] = entry;
    return true;
}

bool MeterProgramList::Remove(const QString& strProgNum) {
    const int index = Find(strProgNum);
    if (index < 0) {
        return false;
    }
    std::move(m_entries.begin() + index + 1, m_entries.begin() + m_count,
              m_entries.begin() + index);
    --m_count;
    m_entries[m_count] = MeterProgramEntry{};
    return true;
}
