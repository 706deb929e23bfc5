#include "engine/ProgramStore.h"

namespace {

enum Field {
    NO,
    MODEL,
    CUV,
    LAMBDA,
    MRB,
    MRE,
    E0,
    SLOPE,
    RES,
    FORM,
    UNIT,
    BLANKREQ,
    CALPSB,
    CALREQ
};

bool IsNumber(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

bool IsFlag(const QString& text) {
    return text == QLatin1String("0") || text == QLatin1String("1");
}

} // namespace

std::optional<int> ProgramStore::Accepted(const QString& number) const {
    bool ok = false;
    const int value = number.toInt(&ok);
    // Only the plain decimal form names a program: "0905" or " 905" is not 905.
    if (!ok || QString::number(value) != number || value < kFirst || value > m_highest) {
        return std::nullopt;
    }
    return value;
}

// What the meter's own display and parser can take; anything else it refuses rather than
// store a program it could not show or send back intact.
bool ProgramStore::Valid(const QStringList& entry) const {
    if (entry.size() != kFieldCount || !Accepted(entry[NO])) {
        return false;
    }
    for (const QString& field : entry) {
        if (field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('\r')) ||
            field.contains(QLatin1Char('\n'))) {
            return false;
        }
    }
    for (int numeric : {CUV, LAMBDA, MRB, MRE, E0, SLOPE, RES}) {
        if (!IsNumber(entry[numeric])) {
            return false;
        }
    }
    return entry[MODEL].size() <= 5 && entry[FORM].size() <= 9 && entry[UNIT].size() <= 7 &&
           IsFlag(entry[BLANKREQ]) && IsFlag(entry[CALPSB]) && IsFlag(entry[CALREQ]);
}

bool ProgramStore::Add(const QStringList& entry) {
    if (!Valid(entry)) {
        return false;
    }
    return m_programs.emplace(*Accepted(entry[NO]), entry).second;
}

bool ProgramStore::Replace(const QStringList& entry) {
    if (!Valid(entry)) {
        return false;
    }
    const auto found = m_programs.find(*Accepted(entry[NO]));
    if (found == m_programs.end()) {
        return false;
    }
    found->second = entry;
    return true;
}

bool ProgramStore::Remove(const QString& number) {
    const std::optional<int> value = Accepted(number);
    return value && m_programs.erase(*value) == 1;
}

QStringList ProgramStore::Numbers() const {
    QStringList numbers;
    for (const auto& [number, entry] : m_programs) {
        numbers << QString::number(number);
    }
    return numbers;
}

std::optional<QStringList> ProgramStore::Find(const QString& number) const {
    const std::optional<int> value = Accepted(number);
    if (!value) {
        return std::nullopt;
    }
    const auto found = m_programs.find(*value);
    if (found == m_programs.end()) {
        return std::nullopt;
    }
    return found->second;
}

void ProgramStore::Seed(int count) {
    // A few typical lab methods: cuvette, wavelength, range, zero point, slope, resolution,
    // citation form and unit.
    static const QStringList examples[] = {
        {"Nit1", "16", "436", "0.5", "20.0", "0.012", "8.41", "0.1", "NO3", "mg/l"},
        {"Pho2", "28", "690", "0.05", "3.00", "0.004", "1.92", "0.01", "PO4", "mg/l"},
        {"Amm1", "16", "690", "0.02", "2.50", "0.008", "1.37", "0.01", "NH4-N", "mg/l"},
        {"Fe", "28", "517", "0.05", "4.00", "0.002", "2.66", "0.01", "Fe", "mg/l"},
        {"Hard", "16", "610", "1", "30", "0.031", "24.9", "1", "Ca", "mg/l"},
    };
    const int examplesCount = static_cast<int>(std::size(examples));
    for (int i = 0; i < count && kFirst + i <= m_highest; ++i) {
        QStringList entry{QString::number(kFirst + i)};
        entry << examples[i % examplesCount];
        entry << QString::number(i % 2) << QStringLiteral("1") << QStringLiteral("0");
        Add(entry);
    }
}
