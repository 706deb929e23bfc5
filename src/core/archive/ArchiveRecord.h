#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// One record of a dataset as the archive keeps it: the line as the meter sent it and the
// fields a query filters on or a statistics program reads as numbers. Fields a layout does
// not have stay empty.
struct ArchiveRecord {
    QString rawLine;
    std::optional<qint64> recordNumber;
    std::optional<QDateTime> measuredAt;
    std::optional<qint64> programNumber;
    QString citation, sampleId, referenceMark, dilution;
    std::optional<double> value1, value2; // nothing where the text is no number ("<0.01")
    QString value1Text, value2Text;       // the texts as sent
    QString unit1, state1, unit2, state2, flags;
    std::optional<QDateTime> calibratedAt;

    // Splits a record line by the meter's table layout: `kinds` holds the ColumnKind of
    // each column (10 for a turbidimeter, 16 for a photometer), which says what is a
    // number.
    static ArchiveRecord FromLine(QStringView line, const QList<int>& kinds);
};

// ISO 8601 ("YYYY-MM-DDTHH:MM:SS") of a timestamp in that form; empty for none.
QString ArchiveIsoTime(const QString& stored);
