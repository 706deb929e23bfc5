#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTimeZone>
#include <optional>

class RecordLayout;

// One record of a dataset as the archive keeps it: the line as the meter sent it and the
// fields a query filters on or a statistics program reads as numbers. Fields a layout does
// not have stay empty. Times are the meter's wall clock.
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

    // Splits a record line by its meter's record layout.
    static ArchiveRecord FromLine(QStringView line, const RecordLayout& layout);
    // What the archive knows a record by among its meter's: the SHA-256 of the line's UTF-8
    // in hexadecimal. The line holds the record's number, date and time as the meter sent
    // them, so no reading of them (a year window, a time zone) can change the key.
    static QString KeyOf(QStringView line);
    // A text as the archive's searches compare it, the same on both engines: Unicode case
    // folding ("ÉCOLE" and "école", "Œ" and "œ"), which SQLite's lower() does for ASCII only.
    static QString Folded(const QString& text);
    // The instant (UTC) a meter's wall-clock time names where its clock shows `zone`'s time:
    // the offset in force at that time, so that records of both sides of a daylight-saving
    // change, or of labs in other zones, sort as they were measured. A time the clocks
    // skipped takes the offset in force before the change.
    // `text` for a LIKE pattern with ESCAPE '!': its own wildcards taken literally.
    static QString LikeEscaped(QString text);
    // A meter's column kinds as the archive keeps them with the meter ("0,2,2,0,1,...") and
    // back.
    static QString KindsText(const QList<int>& kinds);
    static QList<int> KindsOf(const QString& text);
    // The layout of the kinds `text` names, made once per text in `layouts`.
    static const RecordLayout& LayoutOf(const QString& text, QHash<QString, RecordLayout>& layouts);
    static QDateTime InstantOf(const QDateTime& wallClock, const QTimeZone& zone);
};

// A record as the archive returns it: the record and what the archive knows beyond its
// line, the meter that measured it, who imported it and whether it was set aside.
struct ArchivedRecord {
    ArchiveRecord record;
    QString model, serial, user;
    qint64 recordId = 0;                 // the archive's own id of the record, never reused
    std::optional<QDateTime> archivedAt; // when it entered the archive (the PC's clock)
    qint64 importId = 0;                 // the import that brought it
    bool valid = true;                   // false once invalidated (and not restored since)
    QString invalidReason;               // why, for an invalid record
};

// ISO 8601 ("YYYY-MM-DDTHH:MM:SS") of a wall-clock time; empty for none.
QString ArchiveIsoTime(const std::optional<QDateTime>& time);
