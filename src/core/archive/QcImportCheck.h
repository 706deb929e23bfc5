#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ArchiveDatabase;
struct QcJudgement;

// What quality control says of the control points an import brought, judged at once with
// every earlier point of their series.
struct QcImportVerdict {
    // A control one of whose new points fired a rejection rule.
    struct Rejection {
        QString control;
        QStringList rules;   // the rejection rules that fired on the new points, fixed order
        QString what;        // "2 valeurs au-delà de +2s"
        qint64 recordId = 0; // the last new point that fired one
    };

    int points = 0;     // the import's points, every control
    QStringList warned; // controls whose new points only warned (1-2s)
    QList<Rejection> rejections;
    QList<qint64> rejectedRecords; // every new point that fired a rejection rule
    QStringList rejectedLines;     // their lines as the meter sent them, for the table to mark

    // "Contrôle KS-PO4 : règle 2-2s violée — 2 valeurs au-delà de +2s", one per control.
    QStringList BannerLines() const;
    // For the status bar: the warnings, or that every value lies within the limits; empty
    // when the import brought no control point.
    QString Summary() const;
};

// Judges the control points of an import as soon as it is archived: note the archive's last
// record before the add, then Judge after it. Only controls that recognise a new record read
// their series, so an import without control samples costs one query per control.
class QcImportCheck {
public:
    explicit QcImportCheck(ArchiveDatabase& database) : m_db(database) {}

    bool Begin();
    // The points among the records of `imports` added since Begin. False with the
    // database's Error(); the archiving stands either way.
    bool Judge(const QList<qint64>& imports, QcImportVerdict& verdict);

    // How the rejection of `judgement`'s point `index` reads: the values of its worst rule
    // beyond their line, e.g. "2 valeurs au-delà de +2s".
    static QString Describe(const QcJudgement& judgement, int index);

private:
    ArchiveDatabase& m_db;
    qint64 m_lastRecord = 0;
};
