#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// The user programs kept in the meter: entries of 14 fields (NO, MODEL, CUV, LAMBDA, MRB,
// MRE, E0, SLOPE, RES, FORM, UNIT, BLANKREQ, CALPSB, CALREQ) under their numbers 900 up to
// the model's highest number. Every change is all or nothing.
class ProgramStore {
public:
    static constexpr int kFirst = 900;
    static constexpr int kFieldCount = 14;

    explicit ProgramStore(int highest = 999) : m_highest(highest) {}

    bool Add(const QStringList& entry);
    bool Replace(const QStringList& entry);
    bool Remove(const QString& number);
    void Clear() { m_programs.clear(); }

    // The stored numbers in ascending order.
    QStringList Numbers() const;
    std::optional<QStringList> Find(const QString& number) const;

    // Stores `count` example programs from 900 on (as many as the range holds).
    void Seed(int count);

private:
    // The number of a program text ("905"), when it is one this meter accepts.
    std::optional<int> Accepted(const QString& number) const;
    bool Valid(const QStringList& entry) const;

    std::map<int, QStringList> m_programs;
    int m_highest;
};
