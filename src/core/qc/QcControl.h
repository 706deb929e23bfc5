#pragma once

#include "qc/QcRules.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// A record of the archive as quality control reads it.
struct QcRecord {
    qint64 recordId = 0;
    qint64 importId = 0;
    QString serial;                      // the meter: a series never looks across meters
    std::optional<QDateTime> measuredAt; // the meter's wall clock; its date picks the version
    std::optional<QDateTime> instant;    // UTC, which orders a series
    std::optional<qint64> program;
    QString citation, sampleId;
    std::optional<double> value1;
    QString value1Text, state1;
    bool valid = true; // false once the record was invalidated
    QString invalidReason;
};

// What a control's values are from a date on: its target and standard deviation (from a
// certificate or estimated from a period), its unit and the rules that apply. A change of
// lot or limits is a new version; none is ever overwritten.
struct QcVersion {
    QDate validFrom;
    QDateTime createdAt; // orders versions of the same date: the later one holds
    QString createdBy;
    double target = 0.0;
    double sd = 0.0;
    QString unit;
    QcRules rules;
};

// A control sample (a standard of known concentration measured like any sample) and how its
// records are recognised among the archive's.
struct QcControl {
    enum class Match { Equals, Prefix };

    QString name;
    std::optional<qint64> program; // none: any program (turbidimeters have none)
    QString citation;              // empty: any citation form
    Match match = Match::Equals;
    QString matchText; // compared with the trimmed sample ID, case folded
    QList<QcVersion> versions;

    // Whether `record` is one of this control's measurements (a point or not).
    bool Recognises(const QcRecord& record) const;
    // The version in force on `date`: the latest from that date or before, the later made
    // on the same date; none before the first.
    const QcVersion* VersionAt(const QDate& date) const;
    QDate FirstDate() const;
};
