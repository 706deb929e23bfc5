#pragma once

#include "archive/ArchiveIdentity.h"
#include "qc/LimitValue.h"
#include "qc/QcControl.h"

#include <QList>
#include <QString>
#include <utility>

class ArchiveDatabase;

// Quality control's data in the archive: the controls and their versions, the limit values
// per program, and the records a control reads. Every PC on a lab's database shares them.
// Each version records who made it (the operating-system account) and when (UTC).
class QcStore {
public:
    // `userName`: the login name the versions this store adds record beside the account.
    explicit QcStore(ArchiveDatabase& database, QString userName = {})
        : m_db(database), m_user(std::move(userName)) {}

    // Adds `version` to the control `control.name`, made on first use; the recognition (program,
    // citation form, sample ID) is the control's as given, kept with the version. A version
    // without a date holds from the control's earliest archived point on (today when there
    // is none). False with the database's Error().
    bool Define(const QcControl& control, QcVersion version);
    // Every control with all its versions, by name; a control is recognised as its latest
    // version says.
    bool Controls(QList<QcControl>& controls);
    // The archived records the control recognises (its points and those that are none).
    bool Records(const QcControl& control, QList<QcRecord>& records);
    // The archive's last record id (0 when empty), and the earliest instant of a dated record
    // the control recognises among those added after `afterRecordId` (none when there is
    // none): what an import brought is found by its ids.
    bool LastRecordId(qint64& id);
    bool FirstAfter(const QcControl& control, qint64 afterRecordId,
                    std::optional<QDateTime>& first);
    // The part of the control's series that judges its points from `from` on: its records
    // from then, and before it the `lookBack` latest points of each meter that has some.
    bool Series(const QcControl& control, const QDateTime& from, int lookBack,
                QList<QcRecord>& records);
    // The lines of the records `ids`, as the meter sent them, in the order of `ids`.
    bool RecordLines(const QList<qint64>& ids, QStringList& lines);
    bool AddLimit(LimitValue limit);
    // Every limit version, by program and date.
    bool Limits(QList<LimitValue>& limits);

private:
    QDate FirstPointDate(const QcControl& control);
    // The WHERE clause recognising the control's records, and its values; `programIndex`
    // false keeps the program's index out of the plan, for a query whose own range is
    // narrower (the records of one import among years of the same program).
    static QString Recognising(const QcControl& control, QVariantList& values,
                               bool programIndex = true);
    // Appends the control's records that `where` (after the recognition) selects.
    void Select(const QcControl& control, const QString& where, QVariantList values,
                QList<QcRecord>& records);

    ArchiveDatabase& m_db;
    QString m_user;
};
