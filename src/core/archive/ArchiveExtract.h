#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct ArchivedRecord;

// Where the records of a document opened from the archive come from. Its header says so in
// place of an import's date and time: such a document was not imported now, and a date of
// today would pass it off as a fresh import.
struct ArchiveExtract {
    QString archive;       // the archive's file or address, as messages name it
    QDateTime first, last; // the first and last measurement; invalid when none has a time
    qsizetype count = 0;   // records
    QStringList serials;   // the meters' serial numbers, each once, in the records' order
    QStringList users;     // who imported them, likewise

    // "05/03/2024 – 07/03/2024", a single date for one day, empty without times.
    QString PeriodText() const;

    static ArchiveExtract Of(const QString& archive, const QList<ArchivedRecord>& records);
};
